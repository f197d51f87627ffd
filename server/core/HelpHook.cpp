#include "HelpHook.h"

#include <windows.h>

#include "ServerState.h"
#include "WindowClasses.h"

namespace tavik {
namespace {

// The window whose help context applies: a dialog's owner, or for a menu the window that
// is active on this thread (the one that opened the menu).
HWND HelpOwner(int code, HWND messageWindow) {
  if (code == MSGF_DIALOGBOX) {
    HWND dialog = GetAncestor(messageWindow, GA_ROOT);
    return dialog ? GetWindow(dialog, GW_OWNER) : nullptr;
  }
  return GetActiveWindow();
}

LRESULT CALLBACK MessageFilter(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_DIALOGBOX || code == MSGF_MENU) {
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_F1) {
      HWND owner = HelpOwner(code, msg->hwnd);
      const LONG_PTR context = IsServerClassWindow(owner) ? GetSlot(owner, kSlotHelpContext) : 0;
      PostMessageA(Server().window, kMsgShowHelpContext, 0, context);
    }
  }
  return CallNextHookEx(Server().helpHook, code, wParam, lParam);
}

}  // namespace

void InstallHelpHook() {
  Server().helpHook = SetWindowsHookExA(WH_MSGFILTER, MessageFilter, nullptr, GetCurrentThreadId());
}

void RemoveHelpHook() {
  if (Server().helpHook) UnhookWindowsHookEx(Server().helpHook);
  Server().helpHook = nullptr;
}

}  // namespace tavik
