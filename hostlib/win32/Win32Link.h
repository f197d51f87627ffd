// The library's link on Windows: the DDE conversation with the server and the desktop work of
// the command functions.
#pragma once

#include "DdeThread.h"
#include "LibraryState.h"

#include <windows.h>

#include <vector>

namespace tavik::hostlib {

class Win32Link final : public ServerLink {
public:
  void Connect() override;
  void Disconnect() override;
  bool Connected() const override { return dde_.Connected(); }
  bool Poke(const char* text) override;
  bool Request(char* buffer, std::size_t capacity, uint32_t timeout) override;
  bool Advise(int code, int32_t window) override;
  void ShowMessageBox(const char* text, const char* caption) override;
  intptr_t SendWindowMessage(int32_t window, uint32_t message, uintptr_t wParam,
                             intptr_t lParam) override;
  void MoveAndRepaint(int32_t window, int32_t x, int32_t y, int32_t width, int32_t height) override;
  void WatchParent(int32_t child, int32_t parent) override;
  void RestoreParents() override;
  void RightMenu(int32_t window, bool win32s) override;
  uint32_t VersionWord() override { return GetVersion(); }
  void RegisterDialogMessage() override;

  void SetModule(HINSTANCE module) { module_ = module; }
  // The subclass procedure of watched parents.
  static LRESULT CALLBACK ParentProc(HWND, UINT, WPARAM, LPARAM);

private:
  bool FindHostWindows();
  bool StartServer();
  bool RunMinimised(const char* commandLine);
  bool ConnectAfterStart(HANDLE process, DWORD firstWait);

  struct Watched {
    HWND child;
    HWND parent;
    WNDPROC previous;
    uint32_t flags;
  };
  std::vector<Watched> watched_;
  DdeThread dde_;
  HINSTANCE module_ = nullptr;
  HWND notify_ = nullptr;
  UINT dialogMessage_ = 0;
};

Win32Link& TheLink();

}  // namespace tavik::hostlib
