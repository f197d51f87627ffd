// Reading and writing one palette index in a packed row of 1, 4 or 8 bits per pixel, the most
// significant bit or the high nibble first.
#pragma once

#include <cstdint>

namespace tavik {

inline int GetPixelIndex(const uint8_t* row, int bits, int32_t x) {
  switch (bits) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (x & 1) ? row[x >> 1] & 0xF : row[x >> 1] >> 4;
    default: return row[x];
  }
}

inline void SetPixelIndex(uint8_t* row, int bits, int32_t x, int v) {
  switch (bits) {
    case 1: {
      const auto mask = static_cast<uint8_t>(0x80 >> (x & 7));
      row[x >> 3] = static_cast<uint8_t>(v ? row[x >> 3] | mask : row[x >> 3] & ~mask);
      break;
    }
    case 4:
      row[x >> 1] = static_cast<uint8_t>((x & 1) ? (row[x >> 1] & 0xF0) | v : (row[x >> 1] & 0x0F) | v << 4);
      break;
    default: row[x] = static_cast<uint8_t>(v);
  }
}

}  // namespace tavik
