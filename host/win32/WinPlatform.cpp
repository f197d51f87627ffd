#include "WinPlatform.h"

#include "WinForms.h"

#include <conio.h>

#include <cstdio>

namespace foxhost {
namespace {

constexpr const char* kMainClass = "FoxhostMain";
constexpr const char* kClientClass = "FoxhostClient";
constexpr const char* kWaitClass = "FoxhostWait";
WinPlatform* g_platform = nullptr;

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

LRESULT CALLBACK ClientProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK WinPlatform::MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      // The client area window fills the main window, as the host's own output area does.
      if (g_platform && g_platform->client_)
        MoveWindow(g_platform->client_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_CLOSE:
      if (g_platform) g_platform->closed_ = true;
      ShowWindow(window, SW_HIDE);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

WinPlatform::WinPlatform() {
  g_platform = this;
  WNDCLASSA wc{};
  wc.lpfnWndProc = MainProc;
  wc.hInstance = Instance();
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  wc.lpszClassName = kMainClass;
  RegisterClassA(&wc);
  wc.lpfnWndProc = ClientProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kClientClass;
  RegisterClassA(&wc);
  wc.lpfnWndProc = DefWindowProcA;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1);
  wc.lpszClassName = kWaitClass;
  RegisterClassA(&wc);
  RegisterFormClass(Instance());
  main_ = CreateWindowA(kMainClass, "Microsoft FoxPro", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                        20, 20, 800, 600, nullptr, nullptr, Instance(), nullptr);
  SetWindowTextA(main_, "FoxPro");
  RECT r{};
  GetClientRect(main_, &r);
  client_ = CreateWindowA(kClientClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, r.right,
                          r.bottom, main_, nullptr, Instance(), nullptr);
  ShowWindow(main_, SW_SHOWNOACTIVATE);
  UpdateWindow(main_);
  screen_ = std::make_shared<WindowObject>(main_, false, "SCREEN");
}

WinPlatform::~WinPlatform() {
  screen_.reset();
  if (IsWindow(main_)) DestroyWindow(main_);
  g_platform = nullptr;
}

void WinPlatform::Print(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

int WinPlatform::ShowMessageBox(const std::string& text, int flags, const std::string& title) {
  if (printDialogs_) {
    Print("\ndialog: " + title + ": " + text);
    return IDOK;
  }
  return ::MessageBoxA(main_, text.c_str(), title.c_str(), static_cast<UINT>(flags));
}

bool WinPlatform::Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      closed_ = true;
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return !closed_;
}

void WinPlatform::DoEvents() { Pump(); }

bool WinPlatform::WaitEvents(int milliseconds) {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(milliseconds), QS_ALLINPUT);
  return Pump();
}

int WinPlatform::Inkey(double seconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (_kbhit()) return _getch();
    if (!Pump()) return 0;
    if (seconds <= 0 || GetTickCount() - start >= static_cast<DWORD>(seconds * 1000)) return 0;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

void WinPlatform::WaitWindow(const std::string& text, double timeoutSeconds) {
  // A small window at the top right of the main window, as WAIT WINDOW shows.
  RECT r{};
  GetWindowRect(main_, &r);
  HWND box = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kWaitClass, text.c_str(),
                             WS_POPUP | WS_BORDER | WS_CAPTION, r.right - 320, r.top + 30, 300, 60,
                             main_, nullptr, Instance(), nullptr);
  if (box) ShowWindow(box, SW_SHOWNOACTIVATE);
  const DWORD start = GetTickCount();
  for (;;) {
    if (_kbhit()) {
      _getch();
      break;
    }
    if (!Pump()) break;
    if (interpreter_) interpreter_->RunIdle();
    if (timeoutSeconds > 0 && GetTickCount() - start >= static_cast<DWORD>(timeoutSeconds * 1000)) break;
    // Without a TIMEOUT and without a console to press a key in, the wait would never end.
    if (timeoutSeconds <= 0 && !GetConsoleWindow() && GetTickCount() - start > 1000) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  if (box) DestroyWindow(box);
}

std::shared_ptr<HostObject> WinPlatform::CreateObject(const std::string& className) {
  if (className == "FORM") return CreateForm(Instance());
  if (className == "_SCREEN") return screen_;
  return nullptr;
}

intptr_t WinPlatform::FindWindowByTitle(const std::string& title) {
  return reinterpret_cast<intptr_t>(FindWindowA(nullptr, title.c_str()));
}

void* WinPlatform::LoadLink(const std::string& path, KitDispatchEntry* entry) {
  HMODULE module = LoadLibraryA(path.c_str());
  if (!module && path.find_first_of("/\\") == std::string::npos) {
    // A bare name is also looked for beside foxhost, where the libraries are installed.
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string folder(self);
    folder = folder.substr(0, folder.find_last_of("\\/") + 1);
    module = LoadLibraryA((folder + path).c_str());
  }
  if (!module) return nullptr;
  *entry = reinterpret_cast<KitDispatchEntry>(reinterpret_cast<void*>(GetProcAddress(module, "DispatchAPI")));
  if (!*entry) {
    ::FreeLibrary(module);
    return nullptr;
  }
  return module;
}

void WinPlatform::FreeLink(void* module) { ::FreeLibrary(static_cast<HMODULE>(module)); }

}  // namespace foxhost
