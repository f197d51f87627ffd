#include "ServerProcess.h"

#include <windows.h>
#include <ddeml.h>

#include "DdeTestClient.h"

namespace tavik::test {
namespace {

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindServerWindow(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<WindowSearch*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  char name[32] = {};
  GetClassNameA(window, name, sizeof name);
  if (pid == search->processId && lstrcmpA(name, "TAVIKW32") == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HDDEDATA CALLBACK IgnoreAll(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
  return nullptr;
}

bool ServiceAnswers() {
  DWORD instance = 0;
  if (DdeInitializeA(&instance, IgnoreAll, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return false;
  HSZ service = DdeCreateStringHandleA(instance, "TAVIKW32", CP_WINANSI);
  HSZ topic = DdeCreateStringHandleA(instance, "IMAGE", CP_WINANSI);
  HCONV conversation = DdeConnect(instance, service, topic, nullptr);
  if (conversation) DdeDisconnect(conversation);
  DdeFreeStringHandle(instance, service);
  DdeFreeStringHandle(instance, topic);
  PumpMessages();
  DdeUninitialize(instance);
  return conversation != nullptr;
}

}  // namespace

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of("\\/") + 1);
}

ServerProcess::ServerProcess(const std::string& arguments) {
  std::string command = "\"" + ProgramFolder() + "TAVIKW32.exe\"";
  if (!arguments.empty()) command += " " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process_))
    return;
  for (int attempt = 0; attempt < 200; ++attempt) {
    WindowSearch search{process_.dwProcessId, nullptr};
    EnumWindows(FindServerWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found && ServiceAnswers()) {
      window_ = search.found;
      return;
    }
    if (WaitForSingleObject(process_.hProcess, 50) == WAIT_OBJECT_0) return;
  }
}

ServerProcess::~ServerProcess() { Stop(); }

int ServerProcess::Stop(DWORD milliseconds) {
  if (!process_.hProcess) return -1;
  if (window_) PostMessageA(window_, WM_CLOSE, 0, 0);
  window_ = nullptr;
  bool killed = false;
  const DWORD start = GetTickCount();
  while (WaitForSingleObject(process_.hProcess, 20) == WAIT_TIMEOUT) {
    PumpMessages();
    if (GetTickCount() - start > milliseconds) {
      TerminateProcess(process_.hProcess, 1);
      WaitForSingleObject(process_.hProcess, 5000);
      killed = true;
      break;
    }
  }
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  CloseHandle(process_.hProcess);
  CloseHandle(process_.hThread);
  process_ = {};
  return killed ? -1 : static_cast<int>(code);
}

}  // namespace tavik::test
