#include "CommandInterpreter.h"

#include "ServerCommands.h"
#include "TavikWindow.h"

namespace tavik {
namespace {

ServerCommands gCommands;

}  // namespace

int32_t ServerWindowLocks::CurrentWindow() const { return HandleNumber(tavik::CurrentWindow()); }

bool ServerWindowLocks::IsListed(int32_t window) const {
  return IsInWindowList(HandleFromNumber(window));
}

bool ServerWindowLocks::ExchangeLock(int32_t window) {
  const HWND handle = HandleFromNumber(window);
  if (window != -1 && !LockTavikWindow(handle)) return false;
  target_ = handle;
  return true;
}

int InterpretCommand(const char* text, HWND& target) {
  ServerWindowLocks locks(target);
  return RunCommandText(text, gCommands, locks);
}

bool AnswerRequest(int, const char* text, std::string& answer) {
  HWND target = CurrentWindow();
  ServerWindowLocks locks(target);
  auto served = ServeRequestItem(text, gCommands, locks);
  if (!served) return false;
  answer = std::move(*served);
  return true;
}

// Printing and converting image bytes come with the printing and saving work; showing them is
// in ImageCommands.cpp.
bool ShowBitmapFromData(HWND, HDDEDATA) { return false; }
bool PrintFromData(HDDEDATA) { return false; }
bool ConvertFromData(HDDEDATA) { return false; }

}  // namespace tavik
