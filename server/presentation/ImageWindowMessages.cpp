#include "ImageWindowMessages.h"

#include "GdiObjects.h"
#include "ImageList.h"
#include "ImagePaint.h"
#include "ScrollBars.h"
#include "Zoom.h"

namespace tavik {
namespace {

LRESULT OnPaint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  if (dc) PaintImageWindow(window, dc, paint.rcPaint);
  EndPaint(window, &paint);
  return 0;
}

// Realises the window's palette in the foreground; repaints when colours changed.
LRESULT RealisePalette(HWND window, bool foreground) {
  const ImageList* list = GetImageList(window);
  if (!list || !list->palette) return 0;
  HDC dc = GetDC(window);
  if (!dc) return 0;
  HPALETTE old = SelectPalette(dc, list->palette, foreground ? FALSE : TRUE);
  const UINT changed = RealizePalette(dc);
  SelectPalette(dc, old, TRUE);
  ReleaseDC(window, dc);
  if (changed) InvalidateRect(window, nullptr, FALSE);
  return changed ? 1 : 0;
}

}  // namespace

bool HandleImageWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) {
  switch (message) {
    case WM_PAINT:
      result = OnPaint(window);
      return true;
    case WM_HSCROLL:
    case WM_VSCROLL:
      OnScroll(window, message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam),
               static_cast<short>(HIWORD(wParam)));
      result = 0;
      return true;
    case WM_QUERYNEWPALETTE:
      result = RealisePalette(window, true);
      return true;
    case WM_PALETTECHANGED:
      if (reinterpret_cast<HWND>(wParam) != window) RealisePalette(window, false);
      result = 0;
      return true;
    case WM_COMMAND:
      if (lParam == 0 && OnZoomCommand(window, LOWORD(wParam))) {
        result = 0;
        return true;
      }
      return false;
    case WM_SIZE:
      // The ranges depend on the client size; the window procedure still sees the message.
      if (GetImageList(window)) UpdateScrollRanges(window);
      return false;
    default:
      return false;
  }
}

}  // namespace tavik
