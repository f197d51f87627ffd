// BMP files built in code, so each test shows the bytes it feeds the reader.
#pragma once

#include "ByteOrder.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tavik::testing {

struct BmpSpec {
  uint32_t headerSize = 40;
  int32_t width = 0;
  int32_t height = 0;
  int bits = 8;
  uint32_t compression = 0;
  uint32_t colorsUsed = 0;
  std::vector<uint8_t> table;     // raw entries (4 bytes each, 3 for the 12-byte header)
  std::vector<uint32_t> masks;    // written after a 40-byte header, inside larger ones
  std::vector<uint8_t> pixels;    // raw pixel data as the file holds it
  std::optional<uint32_t> dataOffset;
  std::optional<uint32_t> fileSize;
};

inline std::vector<uint8_t> BuildBmp(const BmpSpec& s) {
  std::vector<uint8_t> f(14 + s.headerSize, 0);
  f[0] = 'B';
  f[1] = 'M';
  uint8_t* h = f.data() + 14;
  PutU32LE(h, s.headerSize);
  if (s.headerSize == 12) {
    PutU16LE(h + 4, static_cast<uint32_t>(s.width));
    PutU16LE(h + 6, static_cast<uint32_t>(s.height));
    PutU16LE(h + 8, 1);
    PutU16LE(h + 10, static_cast<uint32_t>(s.bits));
  } else {
    PutU32LE(h + 4, static_cast<uint32_t>(s.width));
    PutU32LE(h + 8, static_cast<uint32_t>(s.height));
    PutU16LE(h + 12, 1);
    PutU16LE(h + 14, static_cast<uint32_t>(s.bits));
    PutU32LE(h + 16, s.compression);
    PutU32LE(h + 32, s.colorsUsed);
    if (s.headerSize >= 52) {
      for (size_t i = 0; i < s.masks.size() && i < 3; ++i) PutU32LE(h + 40 + 4 * i, s.masks[i]);
    }
  }
  if (s.headerSize == 40) {
    for (uint32_t m : s.masks) {
      f.resize(f.size() + 4);
      PutU32LE(f.data() + f.size() - 4, m);
    }
  }
  f.insert(f.end(), s.table.begin(), s.table.end());
  PutU32LE(f.data() + 10, s.dataOffset.value_or(static_cast<uint32_t>(f.size())));
  f.insert(f.end(), s.pixels.begin(), s.pixels.end());
  PutU32LE(f.data() + 2, s.fileSize.value_or(static_cast<uint32_t>(f.size())));
  return f;
}

// A gray ramp table of n RGBQUAD entries: entry i is (i, i, i).
inline std::vector<uint8_t> GrayTable(int n, int entrySize = 4) {
  std::vector<uint8_t> t;
  for (int i = 0; i < n; ++i) {
    for (int k = 0; k < 3; ++k) t.push_back(static_cast<uint8_t>(i));
    if (entrySize == 4) t.push_back(0);
  }
  return t;
}

}  // namespace tavik::testing
