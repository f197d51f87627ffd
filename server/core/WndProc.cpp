#include "WndProc.h"

#include "ServerState.h"
#include "ServerWindow.h"
#include "TavikWindowProc.h"

namespace tavik {

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // The server window is the only one created with a creation parameter; it is not yet known
  // to Server() while its WM_CREATE runs.
  if (message == WM_NCCREATE || message == WM_CREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    if (create->lpCreateParams) return ServerWindowProc(window, message, wParam, lParam);
    return TavikWindowProc(window, message, wParam, lParam);
  }
  if (window == Server().window) return ServerWindowProc(window, message, wParam, lParam);
  return TavikWindowProc(window, message, wParam, lParam);
}

}  // namespace tavik
