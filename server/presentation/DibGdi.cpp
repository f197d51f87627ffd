#include "DibGdi.h"

#include <vector>

#include "ErrorReport.h"
#include "GdiObjects.h"
#include "ImageLimits.h"
#include "Palettes.h"

namespace tavik {
namespace {

constexpr int kErrCreatingBitmap = 57;

HPALETTE PaletteFrom(std::span<const Rgb> colours) {
  if (colours.empty()) return nullptr;
  std::vector<uint8_t> block(sizeof(LOGPALETTE) + colours.size() * sizeof(PALETTEENTRY));
  auto* log = reinterpret_cast<LOGPALETTE*>(block.data());
  log->palVersion = 0x300;
  log->palNumEntries = static_cast<WORD>(colours.size());
  for (size_t i = 0; i < colours.size(); ++i) {
    log->palPalEntry[i] = {colours[i].r, colours[i].g, colours[i].b, 0};
  }
  return CreatePalette(log);
}

class ScreenDC {
public:
  ScreenDC() : dc_(GetDC(nullptr)) {}
  ~ScreenDC() {
    if (dc_) ReleaseDC(nullptr, dc_);
  }
  ScreenDC(const ScreenDC&) = delete;
  ScreenDC& operator=(const ScreenDC&) = delete;
  HDC Get() const { return dc_; }

private:
  HDC dc_;
};

}  // namespace

HPALETTE CreateDIBPalette(std::span<const uint8_t> dib) {
  if (DIBColorCount(dib) == 0 || DIBBitDepth(dib) > 8) return nullptr;
  const auto entries = DIBPaletteEntries(dib);
  HPALETTE palette = PaletteFrom(entries);
  if (!palette) ReportError(kErrCreatingPalette, kCreateDIBPalette);
  return palette;
}

HBITMAP DIBToBitmap(std::span<const uint8_t> dib, HPALETTE palette) {
  ScreenDC screen;
  HBITMAP bitmap = nullptr;
  if (screen.Get() && DIBIsValid(dib)) {
    const SelectedPalette selected(screen.Get(), palette, false);
    bitmap = CreateDIBitmap(screen.Get(), &DibInfo(dib)->bmiHeader, CBM_INIT, DibBits(dib),
                            DibInfo(dib), DIB_RGB_COLORS);
  }
  if (!bitmap) ReportError(kErrCreatingBitmap, kDIBToBitmap);
  return bitmap;
}

PackedDib DDBToDIB(HBITMAP bitmap, HPALETTE palette) {
  BITMAP info{};
  if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return {};
  const int bits = info.bmPlanes * info.bmBitsPixel;
  const int depth = bits < 2 ? 1 : bits <= 4 ? 4 : bits < 9 ? 8 : 24;
  auto dib = AllocateDib(info.bmWidth, info.bmHeight, depth, depth <= 8 ? 1 << depth : 0);
  if (!dib) return {};
  ScreenDC screen;
  if (!screen.Get()) return {};
  const SelectedPalette selected(screen.Get(), palette, false);
  // GetDIBits writes the colour table into the header block, so it gets the block itself.
  if (!GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(info.bmHeight),
                 dib->data() + DIBPixelBits(*dib), reinterpret_cast<BITMAPINFO*>(dib->data()),
                 DIB_RGB_COLORS)) {
    return {};
  }
  return std::move(*dib);
}

HPALETTE MakeVGAPal(int count) {
  HPALETTE palette = PaletteFrom(DisplayPalette(count));
  if (!palette) ReportError(kErrCreatingPalette, kMakeVGAPal);
  return palette;
}

HPALETTE MakeInterleavePalette(const ImageRecord* chain) {
  const auto entries = InterleavePaletteEntries(chain);
  if (entries.empty()) return nullptr;
  HPALETTE palette = PaletteFrom(entries);
  if (!palette) ReportError(kErrCreatingPalette, kMakeInterleavePalette, "CP");
  return palette;
}

}  // namespace tavik
