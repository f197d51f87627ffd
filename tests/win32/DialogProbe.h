// Finds the dialogs and message boxes a process shows, reads them and closes them.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace tavik::test {

struct DialogSeen {
  HWND window = nullptr;
  std::string caption;
  std::string text;  // a message box's text
};

// Waits up to `milliseconds` for a visible dialog of process `processId` (optionally with
// `caption`), pumping this thread's messages meanwhile.
std::optional<DialogSeen> WaitForDialog(DWORD processId, DWORD milliseconds,
                                        const char* caption = nullptr);
// True when no dialog of the process shows up within `milliseconds`.
bool NoDialogWithin(DWORD processId, DWORD milliseconds);
// True once `dialog` is gone (or hidden) within `milliseconds`.
bool WaitUntilClosed(HWND dialog, DWORD milliseconds);
// Closes a dialog as its button `command` would.
void CloseDialog(HWND dialog, int command = IDOK);

}  // namespace tavik::test
