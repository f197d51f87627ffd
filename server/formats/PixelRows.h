// Packing and unpacking of pixel rows at 1, 2, 4 and 8 bits, most significant bits first, as
// DIB rows and the files that share their layout keep them.
#pragma once

#include <cstdint>

namespace tavik {

// Copies `count` pixels starting at pixel `left` of `src` (1, 4, 8 or 24 bits) to the start of
// `dst`, realigned to its first bit. `dst` holds at least the packed bytes of `count` pixels.
void ExtractPixels(const uint8_t* src, int bits, int32_t left, int32_t count, uint8_t* dst);

// Pixels of 2 bits to 4-bit nibbles: `dst` holds (width + 1) / 2 bytes.
void WidenTwoBitRow(const uint8_t* src, uint32_t width, uint8_t* dst);

// Pixel x of a packed row of 1, 2, 4 or 8 bits.
inline int PackedPixel(const uint8_t* row, int64_t x, int bits) {
  if (bits == 8) return row[x];
  const int perByte = 8 / bits;
  return (row[x / perByte] >> ((perByte - 1 - x % perByte) * bits)) & ((1 << bits) - 1);
}

// Stores `value` as pixel x of a packed row that was zeroed beforehand.
inline void OrPackedPixel(uint8_t* row, int64_t x, int bits, int value) {
  if (bits == 8) {
    row[x] = static_cast<uint8_t>(value);
    return;
  }
  const int perByte = 8 / bits;
  row[x / perByte] |= static_cast<uint8_t>(value << ((perByte - 1 - x % perByte) * bits));
}

}  // namespace tavik
