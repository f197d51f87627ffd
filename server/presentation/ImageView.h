// Where an image lands in its window: the placement or the stretched area, then the zoom levels,
// then the scroll positions. Painting, scroll ranges and zoom share this one mapping.
#pragma once

#include <windows.h>

#include "ImageList.h"
#include "ImageRecord.h"

namespace tavik {

// A client coordinate from a real one: deep zooms reach far outside the client area, so the
// value is kept inside what a RECT holds.
LONG ClientEdge(double v);

// client = scale * image + offset, per direction, in pixels of the DIB.
struct ImageView {
  bool scaled = false;
  double scaleX = 1, offsetX = 0;
  double scaleY = 1, offsetY = 0;
  int32_t width = 0, height = 0;  // of the DIB

  // The image's rectangle in the client area (may reach outside it).
  RECT Destination() const;
};

// The view of one image of `list` in a client area of cw x ch; `scrolled` subtracts the
// window's scroll positions.
ImageView ViewOf(HWND window, const ImageList& list, const ImageRecord& record, int32_t cw,
                 int32_t ch, bool scrolled = true);

// True when the image is drawn stretched rather than 1:1.
bool DrawnScaled(HWND window, const ImageList& list, const ImageRecord& record);

}  // namespace tavik
