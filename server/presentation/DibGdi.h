// GDI helpers over packed DIBs: palettes from colour tables, device-dependent bitmaps and back,
// and the fixed display palette.
#pragma once

#include <windows.h>

#include <span>

#include "Dib.h"
#include "ImageRecord.h"

namespace tavik {

// A logical palette from the DIB's colour table; nullptr for a DIB without one. Failures are
// reported as error 55 under `CreateDIBPalette`.
HPALETTE CreateDIBPalette(std::span<const uint8_t> dib);

// A device-dependent bitmap of the screen made from the DIB, with `palette` realised first when
// given; nullptr after reporting error 57 under `DIBToBitmap`.
HBITMAP DIBToBitmap(std::span<const uint8_t> dib, HPALETTE palette);

// A packed DIB (header, table, rows and a spare row) read back from a bitmap; empty when the
// bits cannot be read.
PackedDib DDBToDIB(HBITMAP bitmap, HPALETTE palette);

// The fixed display palette of `count` colours (16 or 256); nullptr after reporting error 55
// under `MakeVGAPal`.
HPALETTE MakeVGAPal(int count);

// One palette for every image of a chain (entries interleaved), or nullptr after reporting
// error 55 under `MakeInterleavePalette`.
HPALETTE MakeInterleavePalette(const ImageRecord* chain);

// BITMAPINFO and pixel pointer of a packed DIB for the GDI calls.
inline const BITMAPINFO* DibInfo(std::span<const uint8_t> dib) {
  return reinterpret_cast<const BITMAPINFO*>(dib.data());
}
inline const void* DibBits(std::span<const uint8_t> dib) { return dib.data() + DIBPixelBits(dib); }

}  // namespace tavik
