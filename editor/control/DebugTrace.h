#pragma once
// The debug trace: internal errors of the HTML conversion as lines of "UlvaneDebug.txt" beside
// the control's module.

#include <string_view>

namespace lexivane::control {

// One line: short date, long time, " :", the routine left-justified in 32 characters, ": ",
// "Error!  " and the message. The first line of a process starts the file afresh.
void TraceError(std::string_view routine, std::string_view message);

}  // namespace lexivane::control
