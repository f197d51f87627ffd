// Program entry of the server: start-up, the message loop and the release of everything.
#pragma once

#include <windows.h>

namespace tavik {

// Returns the quit code, or 0 when start-up fails.
int RunServer(HINSTANCE instance, const char* commandLine);

// The command-line switches, found as plain substrings anywhere in the command line.
bool HasVisibleSwitch(const char* commandLine);
bool HasFixedCaptionSwitch(const char* commandLine);

}  // namespace tavik
