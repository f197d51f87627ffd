// Small DIBs built in code, named by the pixels they hold (rows top-down as written).
#pragma once

#include "Dib.h"

#include <functional>
#include <vector>

namespace tavik::testing {

// A palette DIB whose pixel (x, y), y counted from the top, is index(x, y).
inline PackedDib IndexedDib(int bits, int32_t w, int32_t h, const std::vector<Rgb>& table,
                            const std::function<int(int32_t, int32_t)>& index) {
  PackedDib dib = *AllocateDib(w, h, bits, static_cast<int>(table.size()));
  for (size_t i = 0; i < table.size(); ++i) {
    dib[40 + 4 * i] = table[i].b;
    dib[41 + 4 * i] = table[i].g;
    dib[42 + 4 * i] = table[i].r;
  }
  for (int32_t y = 0; y < h; ++y) {
    uint8_t* row = DIBRow(std::span<uint8_t>(dib), h - 1 - y);
    for (int32_t x = 0; x < w; ++x) {
      const int v = index(x, y);
      if (bits == 8) row[x] = static_cast<uint8_t>(v);
      if (bits == 4) row[x / 2] |= static_cast<uint8_t>((x & 1) ? v : v << 4);
      if (bits == 1 && v) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
  }
  return dib;
}

inline PackedDib IndexedDib(int bits, const std::vector<std::vector<int>>& rows,
                            const std::vector<Rgb>& table) {
  return IndexedDib(bits, static_cast<int32_t>(rows[0].size()), static_cast<int32_t>(rows.size()),
                    table, [&](int32_t x, int32_t y) { return rows[y][x]; });
}

inline PackedDib RgbDib(int32_t w, int32_t h, const std::function<Rgb(int32_t, int32_t)>& colour) {
  PackedDib dib = *AllocateDib(w, h, 24, 0);
  for (int32_t y = 0; y < h; ++y) {
    uint8_t* row = DIBRow(std::span<uint8_t>(dib), h - 1 - y);
    for (int32_t x = 0; x < w; ++x) {
      const Rgb c = colour(x, y);
      row[3 * x] = c.b;
      row[3 * x + 1] = c.g;
      row[3 * x + 2] = c.r;
    }
  }
  return dib;
}

inline PackedDib RgbDib(const std::vector<std::vector<Rgb>>& rows) {
  return RgbDib(static_cast<int32_t>(rows[0].size()), static_cast<int32_t>(rows.size()),
                [&](int32_t x, int32_t y) { return rows[y][x]; });
}

// Pixel (x, y) from the top as a colour.
inline Rgb At(const PackedDib& dib, int32_t x, int32_t y) {
  return DIBPixelColor(dib, x, DIBPixelHeight(dib) - 1 - y);
}

// The palette index of pixel (x, y) from the top.
inline int IndexAt(const PackedDib& dib, int32_t x, int32_t y) {
  const uint8_t* row = DIBRow(std::span<const uint8_t>(dib), DIBPixelHeight(dib) - 1 - y);
  switch (DIBBitDepth(dib)) {
    case 1: return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4: return (x & 1) ? row[x / 2] & 0xF : row[x / 2] >> 4;
    default: return row[x];
  }
}

}  // namespace tavik::testing
