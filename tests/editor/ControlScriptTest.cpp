// A script host with no container: cscript creates the control by its ProgID, reads its
// designer answers and checks a string with AutoHandleErrors off, and must never block.
#include "ControlTestKit.h"

#include <gtest/gtest.h>

#include <fstream>

namespace lexivane::test {
namespace {

DWORD RunScript(const std::string& script) {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  std::wstring path = std::wstring(folder) + L"lexivane-test.js";
  {
    std::ofstream file(path.c_str(), std::ios::binary);
    file << script;
  }
  std::wstring command = L"cscript.exe //nologo \"" + path + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return static_cast<DWORD>(-1);
  DWORD waited = WaitForSingleObject(process.hProcess, 60000);
  DWORD code = 1000;
  if (waited == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.hProcess, &code);
  } else {
    TerminateProcess(process.hProcess, 999);
    code = 999;  // blocked
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  DeleteFileW(path.c_str());
  return code;
}

TEST(LexivaneScript, JScriptCreatesTheControlReadsItsDesignerAnswersAndChecksAString) {
  RegisterControlOnce();
  const std::string script = R"js(
var code = 0;
try {
  var c = new ActiveXObject("UlvaneLexivane.Lexivane");
  if (c.StatusBarCaption != "Ready") code = 2;
  else if (c.SelBold != "Only valid at runtime") code = 3;
  else if (c.hWnd != 0) code = 4;
  else if (c.IgnoreAllCaps != true) code = 5;
  else if (c.FileName != "Only valid at runtime") code = 6;
  else {
    c.AutoHandleErrors = false;
    c.DoneAction = 2;
    var s = "teh wrold";
    c.CheckString(s);
    c.IgnoreCase = true;
    if (c.IgnoreAllCaps != false) code = 7;
  }
} catch (e) {
  code = 10;
}
WScript.Quit(code);
)js";
  EXPECT_EQ(RunScript(script), 0u);
}

}  // namespace
}  // namespace lexivane::test
