#include "ImageView.h"

#include <algorithm>
#include <cmath>

namespace tavik {
namespace {

constexpr uint32_t kStretchX = 0x40, kStretchY = 0x80, kFillX = 0x100, kFillY = 0x200;
constexpr uint32_t kIsometric = 0x1000;

}  // namespace

LONG ClientEdge(double v) { return static_cast<LONG>(std::lround(std::clamp(v, -1e9, 1e9))); }

RECT ImageView::Destination() const {
  return {ClientEdge(offsetX), ClientEdge(offsetY), ClientEdge(offsetX + scaleX * width),
          ClientEdge(offsetY + scaleY * height)};
}

bool DrawnScaled(HWND window, const ImageList& list, const ImageRecord& record) {
  if (record.displayFlags & (kStretchX | kStretchY | kFillX | kFillY | kIsometric)) return true;
  const int64_t placedW = int64_t{record.placementRight} - record.placementLeft + 1;
  const int64_t placedH = int64_t{record.placementBottom} - record.placementTop + 1;
  if (placedW != CropWidth(record) || placedH != CropHeight(record)) return true;
  return !list.levels.empty() || IsIconic(window);
}

ImageView ViewOf(HWND window, const ImageList& list, const ImageRecord& record, int32_t cw,
                 int32_t ch, bool scrolled) {
  ImageView view;
  view.width = DIBPixelWidth(record.pixels);
  view.height = DIBPixelHeight(record.pixels);
  view.scaled = DrawnScaled(window, list, record);
  double left = record.placementLeft, top = record.placementTop;
  double right = static_cast<double>(record.placementRight) + 1;
  double bottom = static_cast<double>(record.placementBottom) + 1;
  if (!view.scaled) {
    right = left + view.width;
    bottom = top + view.height;
  } else {
    if (record.displayFlags & (kStretchX | kFillX)) left = 0, right = cw;
    if (record.displayFlags & (kStretchY | kFillY)) top = 0, bottom = ch;
    if ((record.displayFlags & kIsometric) && view.width > 0 && view.height > 0) {
      const double s = std::min((right - left) / view.width, (bottom - top) / view.height);
      right = left + s * view.width;
      bottom = top + s * view.height;
    }
  }
  view.scaleX = view.width > 0 ? (right - left) / view.width : 1;
  view.scaleY = view.height > 0 ? (bottom - top) / view.height : 1;
  view.offsetX = left;
  view.offsetY = top;
  if (!list.levels.empty()) {
    // The levels zoom what was on the screen when the first one was made.
    view.offsetX -= list.baseScrollX;
    view.offsetY -= list.baseScrollY;
    for (const ZoomLevel& level : list.levels) {
      const double fx = level.factorX / 100.0, fy = level.factorY / 100.0;
      if (level.enlarging) {
        view.offsetX = (view.offsetX - level.originX) * fx;
        view.offsetY = (view.offsetY - level.originY) * fy;
        view.scaleX *= fx;
        view.scaleY *= fy;
      } else {
        view.offsetX /= fx;
        view.offsetY /= fy;
        view.scaleX /= fx;
        view.scaleY /= fy;
      }
    }
  }
  if (scrolled) {
    view.offsetX -= GetScrollPos(window, SB_HORZ);
    view.offsetY -= GetScrollPos(window, SB_VERT);
  }
  return view;
}

}  // namespace tavik
