#include "PixelRows.h"

#include <cstring>

namespace tavik {

void ExtractPixels(const uint8_t* src, int bits, int32_t left, int32_t count, uint8_t* dst) {
  if (bits >= 8) {
    const size_t bytes = static_cast<size_t>(bits / 8);
    std::memcpy(dst, src + static_cast<size_t>(left) * bytes, static_cast<size_t>(count) * bytes);
    return;
  }
  const uint64_t firstBit = uint64_t(left) * bits;
  const size_t outBytes = static_cast<size_t>((uint64_t(count) * bits + 7) / 8);
  const uint8_t* p = src + firstBit / 8;
  const int shift = static_cast<int>(firstBit % 8);
  if (shift == 0) {
    std::memcpy(dst, p, outBytes);
  } else {
    // The byte after the last one is only read when the crop needs its bits.
    const uint64_t lastBit = firstBit + uint64_t(count) * bits;  // one past
    const size_t srcBytes = static_cast<size_t>((lastBit + 7) / 8 - firstBit / 8);
    for (size_t i = 0; i < outBytes; ++i) {
      uint8_t next = i + 1 < srcBytes ? p[i + 1] : 0;
      dst[i] = static_cast<uint8_t>((p[i] << shift) | (next >> (8 - shift)));
    }
  }
  // Bits past the last pixel are cleared so that rows compare equal.
  const int tail = static_cast<int>((uint64_t(count) * bits) % 8);
  if (tail) dst[outBytes - 1] &= static_cast<uint8_t>(0xFF << (8 - tail));
}

void WidenTwoBitRow(const uint8_t* src, uint32_t width, uint8_t* dst) {
  for (uint32_t x = 0; x < width; x += 2) {
    int a = PackedPixel(src, x, 2);
    int b = x + 1 < width ? PackedPixel(src, x + 1, 2) : 0;
    dst[x / 2] = static_cast<uint8_t>(a << 4 | b);
  }
}

}  // namespace tavik
