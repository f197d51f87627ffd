#include "DialogProbe.h"

#include "DdeTestClient.h"

namespace tavik::test {
namespace {

HWND FindDialog(DWORD processId, const char* caption) {
  HWND candidate = nullptr;
  while ((candidate = FindWindowExA(nullptr, candidate, "#32770", caption)) != nullptr) {
    DWORD pid = 0;
    GetWindowThreadProcessId(candidate, &pid);
    if (pid == processId && IsWindowVisible(candidate)) return candidate;
  }
  return nullptr;
}

std::string TextOf(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

}  // namespace

std::optional<DialogSeen> WaitForDialog(DWORD processId, DWORD milliseconds, const char* caption) {
  const DWORD start = GetTickCount();
  do {
    if (HWND dialog = FindDialog(processId, caption)) {
      DialogSeen seen{dialog, TextOf(dialog), {}};
      // A message box's text is its static control 0xFFFF.
      if (HWND text = GetDlgItem(dialog, 0xFFFF)) seen.text = TextOf(text);
      return seen;
    }
    PumpMessages();
    Sleep(20);
  } while (GetTickCount() - start < milliseconds);
  return std::nullopt;
}

bool NoDialogWithin(DWORD processId, DWORD milliseconds) {
  return !WaitForDialog(processId, milliseconds).has_value();
}

bool WaitUntilClosed(HWND dialog, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (IsWindow(dialog) && IsWindowVisible(dialog)) {
    if (GetTickCount() - start > milliseconds) return false;
    PumpMessages();
    Sleep(10);
  }
  return true;
}

void CloseDialog(HWND dialog, int command) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
}

}  // namespace tavik::test
