#include "Win32Link.h"

#include "KitLibrary.h"
#include "LibraryMessages.h"

#include <commdlg.h>

#include <cstdio>
#include <string>

namespace tavik::hostlib {
namespace {

constexpr UINT kServerGone = WM_APP + 2;
constexpr const char* kNotifyClass = "TavikFoxNotify";
// A started server needs a moment to register its service; under Wine more than the 200 ms
// the first wait allows, so the library keeps asking for a few seconds before it gives up.
constexpr DWORD kStartWait = 200;
constexpr DWORD kStartPatience = 15000;

HWND ToWindow(int32_t window) { return reinterpret_cast<HWND>(static_cast<intptr_t>(window)); }
int32_t FromWindow(HWND window) { return static_cast<int32_t>(reinterpret_cast<intptr_t>(window)); }

LRESULT CALLBACK NotifyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kServerGone) {
    const int32_t main = State().hostMainWindow;
    if (main) SetFocus(ToWindow(main));
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

Win32Link& TheLink() {
  static Win32Link link;
  return link;
}

bool Win32Link::FindHostWindows() {
  LibraryState& state = State();
  if (state.hostMainWindow) return true;
  const KitHostServices* host = kit::Host();
  if (!host) return false;
  const int32_t main = host->MainWindow();
  const int32_t client = host->MainClientWindow();
  state.hostMainWindow = main ? FromWindow(static_cast<HWND>(host->WindowHandle(main))) : 0;
  state.hostMainClientWindow = client ? FromWindow(static_cast<HWND>(host->WindowHandle(client))) : 0;
  return state.hostMainWindow != 0;
}

void Win32Link::Connect() {
  if (!FindHostWindows()) {
    ::MessageBoxA(nullptr, LibraryMessage(kMsgNoMainWindow), LibraryMessage(kMsgNotAvailable), MB_OK);
    return;
  }
  if (!notify_) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = NotifyProc;
    wc.hInstance = module_;
    wc.lpszClassName = kNotifyClass;
    RegisterClassA(&wc);
    notify_ = CreateWindowA(kNotifyClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module_, nullptr);
  }
  const HWND owner = ToWindow(State().hostMainWindow);
  if (!dde_.Start(notify_, kServerGone)) {
    ::MessageBoxA(owner, LibraryMessage(kMsgNoClient), kConnectCaption, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (dde_.Connect() || StartServer()) return;
  ::MessageBoxA(owner, LibraryMessage(kMsgCannotStart), kConnectCaption, MB_OK | MB_ICONEXCLAMATION);
}

bool Win32Link::ConnectAfterStart(HANDLE process, DWORD firstWait) {
  Sleep(firstWait);
  const DWORD start = GetTickCount();
  for (;;) {
    if (dde_.Connect()) return true;
    if (process && WaitForSingleObject(process, 0) == WAIT_OBJECT_0) return false;
    if (GetTickCount() - start > kStartPatience) return false;
    Sleep(kStartWait);
  }
}

bool Win32Link::RunMinimised(const char* commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWMINNOACTIVE;
  PROCESS_INFORMATION process{};
  std::string command = commandLine;
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return false;
  const bool connected = ConnectAfterStart(process.hProcess, kStartWait);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return connected;
}

bool Win32Link::StartServer() {
  bool connected = false;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, "TavikMediaServer\\shell\\open\\command", 0, KEY_READ, &key) ==
      ERROR_SUCCESS) {
    char command[256] = {};
    DWORD size = sizeof command - 1;  // room for the NUL a registry string may lack
    DWORD type = 0;
    if (RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(command), &size) ==
            ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ))
      connected = RunMinimised(command);
    RegCloseKey(key);
  }
  if (!connected) connected = RunMinimised("TAVIKW32");
  if (!connected) {
    MessageBeep(MB_OK);
    char file[256] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.lpstrFilter = "Tavik Media Server\0*.EXE\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrTitle = "Locate TAVIKW32.EXE";
    dialog.Flags = 0x180C;
    if (GetOpenFileNameA(&dialog)) {
      std::string command = std::string("\"") + file + "\"";
      connected = RunMinimised(command.c_str());
    }
  }
  if (State().hostMainWindow) SetFocus(ToWindow(State().hostMainWindow));
  return connected;
}

void Win32Link::Disconnect() { dde_.Stop(); }

bool Win32Link::Poke(const char* text) { return dde_.Poke(text, State().commandTimeout); }

bool Win32Link::Request(char* buffer, std::size_t capacity, uint32_t timeout) {
  return dde_.Request(buffer, capacity, timeout);
}

bool Win32Link::Advise(int code, int32_t window) {
  const int event = (code - 1) / 2;
  const char* name = EventName(event);
  if (!name || event == kEventMouseLine) return false;
  char item[128];
  std::snprintf(item, sizeof item, "%s %ld", name, static_cast<long>(window));
  return dde_.Advise(item, code % 2 == 1, State().commandTimeout);
}

void Win32Link::ShowMessageBox(const char* text, const char* caption) {
  ::MessageBoxA(nullptr, text, caption, MB_OK);
}

intptr_t Win32Link::SendWindowMessage(int32_t window, uint32_t message, uintptr_t wParam,
                                      intptr_t lParam) {
  return SendMessageA(ToWindow(window), message, wParam, lParam);
}

void Win32Link::MoveAndRepaint(int32_t window, int32_t x, int32_t y, int32_t width, int32_t height) {
  const HWND h = ToWindow(window);
  MoveWindow(h, x, y, width, height, TRUE);
  InvalidateRect(h, nullptr, TRUE);
  UpdateWindow(h);
}

void Win32Link::WatchParent(int32_t child, int32_t parent) {
  const HWND p = ToWindow(parent);
  char name[32] = {};
  GetClassNameA(p, name, sizeof name);
  if (lstrcmpiA(name, "TAVIKWDD") == 0 || lstrcmpiA(name, "TAVIKWIG") == 0) {
    SendMessageA(p, 0x410, 0, 1);
    return;
  }
  // A parent is subclassed once: a second subclass would record our own procedure as the
  // previous one and call itself for ever.
  WNDPROC previous = nullptr;
  for (const Watched& w : watched_) {
    if (w.parent == p) previous = w.previous;
  }
  if (!previous) {
    previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(p, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ParentProc)));
    if (!previous) return;
  }
  watched_.push_back({ToWindow(child), p, previous, 1});
}

LRESULT CALLBACK Win32Link::ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Win32Link& self = TheLink();
  const Watched* entry = nullptr;
  for (const Watched& w : self.watched_) {
    if (w.parent != window) continue;
    if (!entry) entry = &w;
    // A child the server has destroyed no longer needs its size kept.
    if (IsWindow(w.child)) {
      entry = &w;
      break;
    }
  }
  if (!entry) return DefWindowProcA(window, message, wParam, lParam);
  const Watched w = *entry;
  const LRESULT result = CallWindowProcA(w.previous, window, message, wParam, lParam);
  if (message == WM_SIZE && (w.flags & 1) && IsWindow(w.child)) {
    RECT parent{}, child{};
    GetClientRect(window, &parent);
    GetClientRect(w.child, &child);
    if (parent.right != child.right || parent.bottom != child.bottom) {
      MoveWindow(w.child, 0, 0, parent.right, parent.bottom, TRUE);
      InvalidateRect(w.child, nullptr, TRUE);
    }
  }
  return result;
}

void Win32Link::RestoreParents() {
  for (std::size_t i = 0; i < watched_.size(); ++i) {
    bool first = true;
    for (std::size_t j = 0; j < i; ++j) first = first && watched_[j].parent != watched_[i].parent;
    if (first && IsWindow(watched_[i].parent))
      SetWindowLongPtrA(watched_[i].parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watched_[i].previous));
  }
  watched_.clear();
}

void Win32Link::RightMenu(int32_t window, bool win32s) {
  const HWND h = ToWindow(window);
  POINT point{};
  GetCursorPos(&point);
  ScreenToClient(h, &point);
  if (!win32s) SetForegroundWindow(h);
  const LPARAM position = MAKELPARAM(point.x, point.y);
  SendMessageA(GetParent(h), WM_RBUTTONUP, 0, position);
  SendMessageA(h, WM_RBUTTONDOWN, 0, position);
}

void Win32Link::RegisterDialogMessage() {
  dialogMessage_ = RegisterWindowMessageA("commdlg_LBSelChangedNotify");
}

}  // namespace tavik::hostlib
