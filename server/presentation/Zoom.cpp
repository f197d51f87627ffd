#include "Zoom.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "ErrorReport.h"
#include "ImageList.h"
#include "ImageView.h"
#include "ImagingErrors.h"
#include "ScrollBars.h"
#include "TavikWindow.h"

namespace tavik {
namespace {

constexpr char kZoomText[] = "&Zoom";
constexpr char kUnzoomText[] = "&Unzoom";
constexpr char kOriginalSizeText[] = "&Original Size";
constexpr char kUnzoomToText[] = "Unzoom to";
constexpr int kMenuFactors[5] = {2, 4, 8, 16, 32};

void AddUnzoomEntry(TavikWindow& record, int level, int32_t hundredths) {
  if (!record.unzoomMenu) return;
  char text[64];
  std::snprintf(text, sizeof text, "%s %.2fx", kUnzoomToText, hundredths / 100.0);
  AppendMenuA(record.unzoomMenu, MF_STRING, kCmdUnzoomFirst - 1 + level, text);
  EnableMenuItem(record.unzoomMenu, kCmdOriginalSize, MF_BYCOMMAND | MF_ENABLED);
}


}  // namespace

HMENU ZoomPopupMenu(HWND window) {
  TavikWindow* record = LockTavikWindow(window);
  if (!record) return nullptr;
  if (!record->popupMenu) record->popupMenu = CreatePopupMenu();
  if (!record->popupMenu) return nullptr;
  if (!record->zoomMenu) {
    record->zoomMenu = CreatePopupMenu();
    char text[16];
    for (int i = 0; i < 5; ++i) {
      std::snprintf(text, sizeof text, "%dx", kMenuFactors[i]);
      AppendMenuA(record->zoomMenu, MF_STRING, kCmdZoomInFirst + i, text);
    }
    AppendMenuA(record->zoomMenu, MF_SEPARATOR, 0, nullptr);
    for (int i = 0; i < 5; ++i) {
      std::snprintf(text, sizeof text, "-%dx", kMenuFactors[i]);
      AppendMenuA(record->zoomMenu, MF_STRING, kCmdZoomOutFirst + i, text);
    }
    AppendMenuA(record->popupMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(record->zoomMenu), kZoomText);
  }
  if (!record->unzoomMenu) {
    record->unzoomMenu = CreatePopupMenu();
    AppendMenuA(record->unzoomMenu, MF_STRING | (record->zoomDepth ? 0 : MF_GRAYED), kCmdOriginalSize,
                kOriginalSizeText);
    if (const ImageList* list = GetImageList(window)) {
      for (size_t i = 0; i < list->levels.size(); ++i) {
        const ZoomLevel& level = list->levels[i];
        AddUnzoomEntry(*record, static_cast<int>(i + 1), level.enlarging ? level.factorX : -level.factorX);
      }
    }
    AppendMenuA(record->popupMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(record->unzoomMenu), kUnzoomText);
  }
  return record->popupMenu;
}

bool Zoom(HWND window, int32_t x, int32_t y, int32_t factorX, int32_t factorY) {
  TavikWindow* record = LockTavikWindow(window);
  ImageList* list = GetImageList(window);
  if (!record || !list || !list->chain || factorX == 0 || factorY == 0) return false;
  // Only while fewer than the maximum are in use, so every unzoom entry keeps a command number
  // of its own.
  if (record->zoomDepth >= kMaxZoomLevels || list->levels.size() >= kMaxZoomLevels) return false;
  RECT client{};
  GetClientRect(window, &client);
  ZoomLevel level;
  level.enlarging = factorX > 0;
  level.originX = x;
  level.originY = y;
  level.clientWidth = client.right;
  level.clientHeight = client.bottom;
  level.factorX = std::abs(factorX);
  level.factorY = std::abs(factorY);
  const bool firstEnlarging =
      level.enlarging && std::none_of(list->levels.begin(), list->levels.end(),
                                      [](const ZoomLevel& l) { return l.enlarging; });
  try {
    list->levels.push_back(level);
  } catch (const std::bad_alloc&) {
    ReportError(imaging::kErrLocalAlloc, kMouseAction, "Zoom");
    return false;
  }
  if (list->levels.size() == 1 || firstEnlarging) {
    list->baseClientWidth = client.right;
    list->baseClientHeight = client.bottom;
    if (list->levels.size() == 1) {
      list->baseScrollX = GetScrollPos(window, SB_HORZ);
      list->baseScrollY = GetScrollPos(window, SB_VERT);
    }
  }
  if (list->levels.size() == 1) {
    SetScrollPos(window, SB_HORZ, 0, FALSE);
    SetScrollPos(window, SB_VERT, 0, FALSE);
  }
  record->zoomDepth = static_cast<int16_t>(list->levels.size());
  AddUnzoomEntry(*record, record->zoomDepth, factorX);
  UpdateScrollRanges(window);
  InvalidateRect(window, nullptr, TRUE);
  return true;
}

bool Unzoom(HWND window, int n) {
  TavikWindow* record = LockTavikWindow(window);
  ImageList* list = GetImageList(window);
  const int depth = list ? static_cast<int>(list->levels.size()) : 0;
  if (!record || n < 0 || n > depth) return false;
  if (!list) return true;
  for (int level = depth; level > n; --level) {
    if (record->unzoomMenu) DeleteMenu(record->unzoomMenu, kCmdUnzoomFirst - 1 + level, MF_BYCOMMAND);
  }
  list->levels.resize(static_cast<size_t>(n));
  record->zoomDepth = static_cast<int16_t>(n);
  if (n == 0) {
    if (record->unzoomMenu) EnableMenuItem(record->unzoomMenu, kCmdOriginalSize, MF_BYCOMMAND | MF_GRAYED);
    UpdateScrollRanges(window);
    // Back where the view was before the first level.
    SetScrollPos(window, SB_HORZ, list->baseScrollX, TRUE);
    SetScrollPos(window, SB_VERT, list->baseScrollY, TRUE);
  } else {
    UpdateScrollRanges(window);
  }
  InvalidateRect(window, nullptr, TRUE);
  return true;
}

bool ZoomToRectangle(HWND window, const RECT& area) {
  RECT client{};
  GetClientRect(window, &client);
  const LONG w = area.right - area.left, h = area.bottom - area.top;
  if (w <= 0 || h <= 0 || client.right <= 0 || client.bottom <= 0) return false;
  const auto factor = static_cast<int32_t>(std::min(100LL * client.right / w, 100LL * client.bottom / h));
  if (factor <= 0) return false;
  return Zoom(window, area.left, area.top, factor, factor);
}

bool OnZoomCommand(HWND window, UINT command) {
  if (command == kCmdOriginalSize) return Unzoom(window, 0), true;
  if (command >= kCmdUnzoomFirst && command <= kCmdUnzoomLast) {
    Unzoom(window, static_cast<int>(command) - 20);
    return true;
  }
  if (command >= kCmdZoomInFirst && command < kCmdZoomOutFirst) {
    // The rectangle goes where the popup menu was opened; dragging it into place belongs to
    // the mouse tracking.
    const TavikWindow* record = LockTavikWindow(window);
    const POINT at = record ? record->popupPoint : POINT{0, 0};
    const int32_t f = kMenuFactors[command - kCmdZoomInFirst];
    Zoom(window, at.x, at.y, 100 * f, 100 * f);
    return true;
  }
  if (command >= kCmdZoomOutFirst && command <= kCmdZoomOutLast) {
    const int32_t f = kMenuFactors[command - kCmdZoomOutFirst];
    Zoom(window, 0, 0, -100 * f, -100 * f);
    return true;
  }
  return false;
}

}  // namespace tavik
