#include "ServerWindow.h"

#include "DdeServer.h"
#include "Dialogs.h"
#include "HelpHook.h"
#include "ServerResources.h"
#include "ServerSettings.h"
#include "ServerState.h"
#include "Shutdown.h"
#include "WindowClasses.h"

namespace tavik {
namespace {

// Starts at 1: the item is greyed on the step from 1 to 0 and enabled on the step back.
int gSettingsItemCounter = 1;

void AppendSystemMenuItems(HWND window) {
  HMENU menu = GetSystemMenu(window, FALSE);
  if (!menu) return;
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  const struct {
    UINT string;
    UINT command;
  } items[] = {{IDS_MENU_HELP, kCmdHelpIndex}, {IDS_MENU_SETTINGS, kCmdSettings},
               {IDS_MENU_ABOUT, kCmdAbout}};
  for (const auto& item : items) {
    char text[41] = {};
    if (LoadStringA(Server().instance, item.string, text, sizeof text))
      AppendMenuA(menu, MF_STRING, item.command, text);
  }
}

int DitherColorsForScreen() {
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  return bits > 7 ? 256 : 16;
}

LRESULT OnCreate(HWND window) {
  AppendSystemMenuItems(window);
  Server().ditherColors = DitherColorsForScreen();
  ReadStartupSettings(Server().platformFlags);
  InstallHelpHook();
  return 0;
}

// System commands 1..5 are the server's own; Windows' own commands have the low four bits
// masked, ours are compared whole.
bool OnSystemCommand(HWND window, WPARAM command) {
  switch (command) {
    case kCmdHelpIndex:
      WinHelpA(window, kHelpFile, HELP_INDEX, 0);
      return true;
    case kCmdSettings:
      RunSettingsDialog(window);
      return true;
    case kCmdAbout:
      RunAboutDialog(window);
      return true;
    default:
      return false;
  }
}

}  // namespace

LRESULT ServerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      Server().window = window;
      break;
    case WM_CREATE:
      return OnCreate(window);
    case WM_SYSCOMMAND:
      if (OnSystemCommand(window, wParam)) return 0;
      break;
    case WM_COMMAND:  // the F1 accelerator
      if (LOWORD(wParam) == kCmdHelpIndex) {
        WinHelpA(window, kHelpFile, HELP_INDEX, 0);
        return 0;
      }
      break;
    case WM_QUERYOPEN:
      return FALSE;  // the server window stays minimized
    case kMsgRegisterDdeNames:
      RegisterDdeNames();
      return 0;
    case kMsgShowHelpContext:
      if (lParam) WinHelpA(window, kHelpFile, HELP_CONTEXT, static_cast<ULONG_PTR>(lParam));
      return 0;
    case WM_DESTROY:
      BeginShutdown(window);
      return 0;
    default:
      if (PostPendingNotifications(message)) return 0;
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void DisableSettingsItem() {
  if (--gSettingsItemCounter == 0 && Server().window)
    EnableMenuItem(GetSystemMenu(Server().window, FALSE), kCmdSettings, MF_BYCOMMAND | MF_GRAYED);
}

void EnableSettingsItem() {
  if (++gSettingsItemCounter == 1 && Server().window)
    EnableMenuItem(GetSystemMenu(Server().window, FALSE), kCmdSettings, MF_BYCOMMAND | MF_ENABLED);
}

}  // namespace tavik
