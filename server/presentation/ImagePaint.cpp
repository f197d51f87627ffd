#include "ImagePaint.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "DibDraw.h"
#include "DibGdi.h"
#include "Dither.h"
#include "ImageList.h"
#include "ImageView.h"
#include "TavikWindow.h"

namespace tavik {
namespace {

// The part of the image that falls into the client area, in DIB pixels (rows from the top)
// and in client pixels.
struct VisiblePart {
  int32_t x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  RECT client{0, 0, 0, 0};
  bool Empty() const { return x0 >= x1 || y0 >= y1; }
};

VisiblePart Visible(const ImageView& v, int32_t cw, int32_t ch) {
  VisiblePart p;
  // A minimised or zero-sized area stretches the image to nothing: nothing to draw.
  if (!(v.scaleX > 1e-9 && v.scaleY > 1e-9) || cw <= 0 || ch <= 0) return p;
  auto span = [](double offset, double scale, int32_t size, int32_t limit, int32_t& lo, int32_t& hi) {
    // Clamped as reals first: a deep zoom puts the edges far outside any int.
    lo = static_cast<int32_t>(std::clamp(std::floor((0 - offset) / scale), 0.0, double(size)));
    hi = static_cast<int32_t>(std::clamp(std::ceil((limit - offset) / scale), double(lo), double(size)));
  };
  span(v.offsetX, v.scaleX, v.width, cw, p.x0, p.x1);
  span(v.offsetY, v.scaleY, v.height, ch, p.y0, p.y1);
  p.client = {ClientEdge(v.offsetX + p.x0 * v.scaleX), ClientEdge(v.offsetY + p.y0 * v.scaleY),
              ClientEdge(v.offsetX + p.x1 * v.scaleX), ClientEdge(v.offsetY + p.y1 * v.scaleY)};
  return p;
}

// The display copy for this view, made again only when the part, its size or the flags changed.
// An enlarged part is copied at its own size and stretched when drawn (enlarging only repeats
// cells), so a deep zoom never asks for a copy larger than the image.
const PackedDib* DisplayCopy(ImageRecord& record, const VisiblePart& part, int32_t width,
                             int32_t height, const ScreenInfo& screen) {
  const RECT source{part.x0, part.y0, part.x1, part.y1};
  const RECT size{0, 0, width, height};
  auto* gdi = dynamic_cast<RecordGdi*>(record.displayCopyGdi.get());
  if (gdi && !record.displayCopy.empty() && EqualRect(&gdi->copySource, &source) &&
      EqualRect(&gdi->copyDestination, &size) && gdi->copyFlags == record.displayFlags) {
    return &record.displayCopy;
  }
  FreeDisplayCopy(record);
  auto copy = CreateSelDIB(record.displayFlags, record.pixels,
                           {part.y0, part.x0, part.y1 - 1, part.x1 - 1}, height, width,
                           screen.displayColours, screen.method);
  if (!copy) return nullptr;
  auto made = std::make_unique<RecordGdi>();
  made->palette.Reset(CreateDIBPalette(*copy));
  made->copySource = source;
  made->copyDestination = size;
  made->copyFlags = record.displayFlags;
  record.displayCopy = std::move(*copy);
  record.displayCopyGdi = std::move(made);
  return &record.displayCopy;
}

void DrawRecord(HWND window, HDC dc, const ImageList& list, ImageRecord& record, int32_t cw,
                int32_t ch, const ScreenInfo& screen) {
  const ImageView view = ViewOf(window, list, record, cw, ch);
  const RECT whole = view.Destination();
  record.drawnRect = {whole.left, whole.top, whole.right, whole.bottom};
  const VisiblePart part = Visible(view, cw, ch);
  if (part.Empty()) return;
  const int w = part.client.right - part.client.left, h = part.client.bottom - part.client.top;
  if (w <= 0 || h <= 0) return;
  if (record.displayFlags & (kFlagDither | kFlagAntialias)) {
    const int32_t copyW = std::min(w, part.x1 - part.x0), copyH = std::min(h, part.y1 - part.y0);
    if (const PackedDib* copy = DisplayCopy(record, part, copyW, copyH, screen)) {
      if (copyW == w && copyH == h) {
        DrawDibInBands(dc, part.client.left, part.client.top, w, h, 0, 0, h, DibBits(*copy),
                       DibInfo(*copy), DIB_RGB_COLORS);
      } else {
        DIBStretch(dc, {part.client.left, part.client.top, w, h}, {0, 0, copyW, copyH}, DibBits(*copy),
                   DibInfo(*copy), DIB_RGB_COLORS, SRCCOPY, nullptr);
      }
      return;
    }
  }
  const std::span<const uint8_t> dib(record.pixels);
  if (!view.scaled) {
    DrawDibInBands(dc, part.client.left, part.client.top, w, h, part.x0, view.height - part.y1,
                   part.y1 - part.y0, DibBits(dib), DibInfo(dib), DIB_RGB_COLORS);
  } else {
    DIBStretch(dc, {part.client.left, part.client.top, w, h},
               {part.x0, part.y0, part.x1 - part.x0, part.y1 - part.y0}, DibBits(dib), DibInfo(dib),
               DIB_RGB_COLORS, SRCCOPY, RecordPalette(record));
  }
}

}  // namespace

void PaintImages(HWND window, HDC dc) {
  ImageList* list = GetImageList(window);
  if (!list || !list->chain) return;
  RECT client{};
  GetClientRect(window, &client);
  const ScreenInfo screen = CurrentScreen();
  const SelectedPalette palette(dc, list->palette, true);
  SetMapMode(dc, MM_TEXT);
  const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  list->flags |= kListPainting;
  for (ImageRecord* r = list->chain.get(); r; r = r->next.get()) {
    if (!DIBIsValid(r->pixels)) continue;
    r->paintedClientWidth = client.right;
    r->paintedClientHeight = client.bottom;
    DrawRecord(window, dc, *list, *r, client.right, client.bottom, screen);
  }
  list->flags &= ~kListPainting;
  SetStretchBltMode(dc, oldMode);
}

namespace {

// The zoom levels' combined magnification, for drawings recorded at the unzoomed size.
double ZoomScale(const ImageList* list, bool horizontal) {
  double scale = 1;
  if (!list) return scale;
  for (const ZoomLevel& level : list->levels) {
    const double f = (horizontal ? level.factorX : level.factorY) / 100.0;
    scale = level.enlarging ? scale * f : scale / f;
  }
  return scale;
}

void PlayRecording(HWND window, HDC dc, const TavikWindow& record) {
  const ImageList* list = GetImageList(window);
  const int saved = SaveDC(dc);
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowExtEx(dc, std::max(1, static_cast<int>(record.frameWidth / ZoomScale(list, true))),
                 std::max(1, static_cast<int>(record.frameHeight / ZoomScale(list, false))), nullptr);
  SetViewportOrgEx(dc, 0, 0, nullptr);
  SetViewportExtEx(dc, std::max(1, record.frameWidth), std::max(1, record.frameHeight), nullptr);
  PlayMetaFile(dc, record.drawing.recordedMetafile);
  RestoreDC(dc, saved);
}

}  // namespace

void PaintImageWindow(HWND window, HDC dc, const RECT& paint) {
  const TavikWindow* record = LockTavikWindow(window);
  if (!record || (record->flags & kWinPaintImages)) PaintImages(window, dc);
  if (!record) return;
  const DrawingState& drawing = record->drawing;
  if (drawing.offscreenBitmap && drawing.offscreenDC && (record->flags & kWinPaintOffscreen)) {
    BitBlt(dc, paint.left, paint.top, paint.right - paint.left, paint.bottom - paint.top,
           drawing.offscreenDC, paint.left, paint.top, SRCCOPY);
  }
  if (drawing.recordedMetafile && !(record->flags & kWinRecording) && (record->flags & kWinPaintRecording)) {
    PlayRecording(window, dc, *record);
  }
}

}  // namespace tavik
