#include "TavikWindowProc.h"

#include <cstdio>

#include <shellapi.h>

#include "DdeServer.h"
#include "ServerState.h"
#include "ErrorReport.h"
#include "ImageList.h"
#include "ImageWindowMessages.h"
#include "TavikWindow.h"
#include "WindowClasses.h"

namespace tavik {
namespace {

LRESULT OnCreate(HWND window) {
  SetScrollRange(window, SB_HORZ, 0, 0, FALSE);
  SetScrollRange(window, SB_VERT, 0, 0, FALSE);
  SetSlot(window, kSlotImageList, 0);
  SetSlot(window, kSlotBackgroundBrush, 0);
  SetSlot(window, kSlotHelpContext, 0);
  if (!AllocTavikWindow(window)) {
    ReportError(kErrNoTavikMemory, kWndProc, "AllocTavikWindow");
    return -1;
  }
  AddToWindowList(window);
  DragAcceptFiles(window, TRUE);
  return 0;
}

void OnDestroy(HWND window) {
  if (auto brush = reinterpret_cast<HBRUSH>(GetSlot(window, kSlotBackgroundBrush))) {
    DeleteObject(brush);
    SetSlot(window, kSlotBackgroundBrush, 0);
  }
  char item[32];
  char text[16];
  std::snprintf(item, sizeof item, "DESTROY %d", HandleNumber(window));
  std::snprintf(text, sizeof text, "%d", HandleNumber(window));
  PostWindowNotification(window, kNotifyDestroy, item, text);
  if (CurrentWindow() == window) SetCurrentWindow(nullptr);
  DragAcceptFiles(window, FALSE);
  RemoveFromWindowList(window);
  FreeImageList(window);
  FreeTavikWindow(window);
}

// The system ended the rectangle tracking: the client learns it from the coordinates -1 -1,
// on IMAGE when the window shows images, else on GRAPH.
void NotifyMouseRectCancelled(HWND window) {
  char item[32];
  char text[48];
  std::snprintf(item, sizeof item, "MOUSERECT %d", HandleNumber(window));
  std::snprintf(text, sizeof text, "%d -1 -1", HandleNumber(window));
  const bool showsImages = GetSlot(window, kSlotImageList) != 0;
  PostNotificationOnTopic(!showsImages, item, text);
}

void KeepFirstChildSized(HWND window) {
  TavikWindow* record = LockTavikWindow(window);
  if (!record || !(record->flags & kWinSizeFirstChild)) return;
  if (HWND child = GetWindow(window, GW_CHILD)) {
    RECT client;
    GetClientRect(window, &client);
    MoveWindow(child, 0, 0, client.right, client.bottom, TRUE);
  }
}

}  // namespace

LRESULT TavikWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (LRESULT result = 0; HandleImageWindowMessage(window, message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_CREATE:
      return OnCreate(window);
    case WM_DESTROY:
      // Shutdown sends WM_DESTROY before the window really goes; the record goes once.
      if (LockTavikWindow(window)) OnDestroy(window);
      return 0;
    case kMsgMouseRectCancelled:
      NotifyMouseRectCancelled(window);
      return 0;
    case kMsgSizeFirstChild:
      if (TavikWindow* record = LockTavikWindow(window)) {
        if (lParam)
          record->flags |= kWinSizeFirstChild;
        else
          record->flags &= ~kWinSizeFirstChild;
      }
      return 0;
    case WM_SIZE:
      KeepFirstChildSized(window);
      return 0;
    case WM_ERASEBKGND:
      if (auto brush = reinterpret_cast<HBRUSH>(GetSlot(window, kSlotBackgroundBrush))) {
        RECT client;
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
        return 1;
      }
      return DefWindowProcA(window, message, wParam, lParam);
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace tavik
