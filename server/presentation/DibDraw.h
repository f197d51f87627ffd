// Drawing DIBs on devices that may refuse one large call: stretched with band and pixel-block
// fallbacks, or unscaled in bands.
#pragma once

#include <windows.h>

namespace tavik {

struct DibArea {
  int x = 0, y = 0, width = 0, height = 0;
};

// Stretches source (x, y from the top, width, height) of the DIB onto destination; returns the
// source rows drawn, 0 on failure (reported as error 81 when even the fallbacks draw nothing).
int DIBStretch(HDC dc, DibArea destination, DibArea source, const void* bits,
               const BITMAPINFO* header, UINT usage, DWORD rop, HPALETTE palette);

// Enlargement only: every source pixel as a filled block; the source rows drawn, or 0.
int DIBStretchBrush(HDC dc, DibArea destination, DibArea source, const void* bits,
                    const BITMAPINFO* header, UINT usage, DWORD rop, HPALETTE palette);

// Unscaled: rows firstRow .. firstRow + rowCount - 1 (from the bottom), from column sourceX,
// at destination x, y;
// bands of at most 64 KB on devices that cannot take more in one call.
void DrawDibInBands(HDC dc, int x, int y, int width, int height, int sourceX, int firstRow,
                    int rowCount, const void* bits, const BITMAPINFO* header, UINT usage);

}  // namespace tavik
