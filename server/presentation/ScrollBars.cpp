#include "ScrollBars.h"

#include <algorithm>
#include <cmath>

#include "ImageList.h"
#include "ImageView.h"

namespace tavik {
namespace {

constexpr uint32_t kScrollX = 0x400, kScrollY = 0x800, kFillY = 0x200;

void SetRange(HWND window, int bar, int32_t maximum) {
  SetScrollRange(window, bar, 0, std::max(maximum, 0), TRUE);
  int minimum = 0, top = 0;
  GetScrollRange(window, bar, &minimum, &top);
  if (GetScrollPos(window, bar) > top) SetScrollPos(window, bar, top, TRUE);
}

}  // namespace

void SetScrollRanges(HWND window, int32_t w, int32_t h, bool allowX, bool allowY) {
  RECT client{};
  GetClientRect(window, &client);
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  const int barWidth = GetSystemMetrics(SM_CXVSCROLL);
  const int barHeight = GetSystemMetrics(SM_CYHSCROLL);
  // The client area as it would be without bars.
  const int32_t fullW = client.right + ((style & WS_VSCROLL) ? barWidth : 0);
  const int32_t fullH = client.bottom + ((style & WS_HSCROLL) ? barHeight : 0);
  bool needX = allowX && w > fullW;
  bool needY = allowY && h > fullH;
  if (needX && !needY) needY = allowY && h > fullH - barHeight;
  if (needY && !needX) needX = allowX && w > fullW - barWidth;
  const int32_t cw = fullW - (needY ? barWidth : 0);
  const int32_t ch = fullH - (needX ? barHeight : 0);
  SetRange(window, SB_HORZ, needX ? w - cw : 0);
  SetRange(window, SB_VERT, needY ? h - ch : 0);
}

void UpdateScrollRanges(HWND window) {
  const ImageList* list = GetImageList(window);
  const ImageRecord* first = list ? list->chain.get() : nullptr;
  if (!first) {
    SetScrollRanges(window, 0, 0, false, false);
    return;
  }
  RECT client{};
  GetClientRect(window, &client);
  if (!list->levels.empty()) {
    const ImageView view = ViewOf(window, *list, *first, client.right, client.bottom, false);
    const RECT d = view.Destination();
    SetScrollRanges(window, d.right, d.bottom, true, true);
  } else if (!DrawnScaled(window, *list, *first) && (first->displayFlags & (kScrollX | kScrollY))) {
    SetScrollRanges(window, first->placementLeft + CropWidth(*first),
                    first->placementTop + CropHeight(*first), first->displayFlags & kScrollX,
                    first->displayFlags & kScrollY);
  } else {
    SetScrollRanges(window, 0, 0, false, false);
  }
}

void OnScroll(HWND window, int bar, int code, int position) {
  RECT client{};
  GetClientRect(window, &client);
  const ImageList* list = GetImageList(window);
  const int32_t size = bar == SB_HORZ ? client.right : client.bottom;
  const int32_t divisor = list ? (bar == SB_HORZ ? list->scrollDivisorX : list->scrollDivisorY) : 4;
  const int32_t line = std::max<int32_t>(1, size / std::max<int32_t>(divisor, 1));
  const int old = GetScrollPos(window, bar);
  int target = old;
  switch (code) {
    case SB_LINEUP: target = old - line; break;
    case SB_LINEDOWN: target = old + line; break;
    case SB_PAGEUP: target = old - size; break;
    case SB_PAGEDOWN: target = old + size; break;
    case SB_THUMBPOSITION: target = position; break;
    default: return;
  }
  int minimum = 0, maximum = 0;
  GetScrollRange(window, bar, &minimum, &maximum);
  target = std::clamp(target, minimum, maximum);
  if (target == old) return;
  SetScrollPos(window, bar, target, TRUE);
  const int delta = old - target;
  // A single image filling the height is drawn from its scroll position: erase what moves in.
  const bool erase = list && list->chain && !list->chain->next && (list->chain->displayFlags & kFillY) &&
                     DrawnScaled(window, *list, *list->chain);
  ScrollWindowEx(window, bar == SB_HORZ ? delta : 0, bar == SB_VERT ? delta : 0, nullptr, nullptr,
                 nullptr, nullptr, SW_INVALIDATE | (erase ? SW_ERASE : 0));
  UpdateWindow(window);
}

}  // namespace tavik
