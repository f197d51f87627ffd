// The image list of a window: its chain of images, the palette it realises, its zoom levels and
// scroll settings. It hangs in the window's extra bytes (slot kSlotImageList) from the first
// image on and goes with the window's images.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "Dither.h"
#include "GdiObjects.h"
#include "ImageRecord.h"

namespace tavik {

// One zoom level, in the order the levels were made. Factors are in hundredths.
struct ZoomLevel {
  bool enlarging = true;
  int32_t originX = 0, originY = 0;          // client point that becomes the view's corner
  int32_t clientWidth = 0, clientHeight = 0;  // at the time
  int32_t factorX = 100, factorY = 100;
};

// At most this many levels: commands 21..69 unzoom to levels 1..49.
inline constexpr int kMaxZoomLevels = 49;

enum ImageListFlag : uint32_t {
  kListShowsImages = 0x1,
  kListOwnsPalette = 0x2,
  kListPainting = 0x4,
};

struct ImageList {
  std::vector<ZoomLevel> levels;
  std::unique_ptr<ImageRecord> chain;
  HPALETTE palette = nullptr;  // deleted with the list when kListOwnsPalette is set
  int32_t baseClientHeight = 0, baseClientWidth = 0;
  int32_t baseScrollX = 0, baseScrollY = 0;
  int32_t scrollDivisorX = 4, scrollDivisorY = 4;
  uint32_t flags = 0;

  ImageList() = default;
  ImageList(const ImageList&) = delete;
  ImageList& operator=(const ImageList&) = delete;
  ~ImageList() { DropPalette(); }

  void SetOwnedPalette(HPALETTE owned) {
    DropPalette();
    palette = owned;
    if (owned) flags |= kListOwnsPalette;
  }
  void SetSharedPalette(HPALETTE shared) {
    DropPalette();
    palette = shared;
  }
  void DropPalette() {
    if (palette && (flags & kListOwnsPalette)) DeleteObject(palette);
    palette = nullptr;
    flags &= ~kListOwnsPalette;
  }
};

ImageList* GetImageList(HWND window);
// The window's list, made when it has none; nullptr after reporting error 119 under `SFD_Body`.
ImageList* EnsureImageList(HWND window);
// Frees the list with its images, palette and zoom levels (window destruction, command 37).
void FreeImageList(HWND window);
// Takes the list out of a window without freeing it (moving a list to another window).
std::unique_ptr<ImageList> DetachImageList(HWND window);
void AttachImageList(HWND window, std::unique_ptr<ImageList> list);

// What the screen can show, measured once per call: bits per pixel, the display colour count
// (256 above 7 bits, else 16) and the dithering method the settings chose.
struct ScreenInfo {
  int bits = 24;
  int displayColours = 256;
  DitherMethod method = DitherMethod::kFloydSteinberg;
};
ScreenInfo CurrentScreen();

}  // namespace tavik
