#include "ErrorBox.h"

#include <windows.h>

#include "ServerState.h"

namespace tavik {
namespace {

class MessageBoxReporter final : public ErrorReporter {
public:
  int Report(int code, int routine, const char* detail) override {
    ErrorSettings& errors = Errors();
    ++errors.counter;
    if (errors.displaySwitch < 1) return 0;
    char message[81] = {};
    if (code >= kErrMinMarker && code <= 157)
      LoadStringA(Server().instance, static_cast<UINT>(code), message, sizeof message);
    const ErrorBoxText box = ComposeErrorBox(code, routine, detail, errors.displayMode, message);
    return MessageBoxA(GetFocus(), box.text.c_str(), box.caption.c_str(), MB_OK | MB_ICONERROR);
  }
};

MessageBoxReporter gReporter;

}  // namespace

ErrorSettings& Errors() {
  static ErrorSettings settings;
  return settings;
}

void InstallErrorBoxReporter() { SetErrorReporter(&gReporter); }

}  // namespace tavik
