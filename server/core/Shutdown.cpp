#include "Shutdown.h"

#include "DdeServer.h"
#include "HelpHook.h"
#include "ServerResources.h"
#include "ServerSettings.h"
#include "ServerState.h"
#include "TavikWindow.h"
#include "WindowClasses.h"

namespace tavik {
namespace {

void DestroyClassIcons() {
  for (const char* name : {kServerClass, kViewerClass, kImageClass}) {
    WNDCLASSA wc{};
    if (GetClassInfoA(Server().instance, name, &wc) && wc.hIcon) DestroyIcon(wc.hIcon);
  }
}

}  // namespace

void BeginShutdown(HWND serverWindow) {
  WriteBackPaletteSetting(Server().platformFlags);
  DestroyClassIcons();
  // Each window frees its record and posts its DESTROY notification while the service is
  // still registered.
  BroadcastToWindowList(WM_DESTROY, 0, 0);
  UnregisterDdeNames();
  RemoveHelpHook();
  WinHelpA(serverWindow, kHelpFile, HELP_QUIT, 0);
  PostQuitMessage(0);
}

}  // namespace tavik
