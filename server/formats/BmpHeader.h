// The file and information headers of a BMP file, parsed from the header buffer and checked
// once, so the DIB and the device-dependent-bitmap readers start from the same facts.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace tavik {

inline constexpr size_t kBmpFileHeaderSize = 14;

enum BmpCompression : uint32_t {
  kBmpRGB = 0, kBmpRLE8 = 1, kBmpRLE4 = 2, kBmpBitFields = 3, kBmpAlphaBitFields = 6,
};

struct BmpHeader {
  uint32_t fileSize = 0;
  uint32_t dataOffset = 0;
  uint32_t headerSize = 0;     // 12 (OS/2), or 40 up to 124 (Windows, V4, V5)
  int32_t width = 0;
  int32_t height = 0;          // always positive; see topDown
  bool topDown = false;        // the file stored a negative height
  int bits = 0;
  uint32_t compression = kBmpRGB;
  uint32_t tableOffset = 0;    // where the colour table starts in the file
  int entrySize = 4;           // RGBQUAD, or RGBTRIPLE for OS/2
  int tableEntries = 0;        // entries the file really carries (at most 2^bits)
  std::array<uint32_t, 3> masks{};  // red, green, blue of 16- and 32-bit pixels
};

// Parses "BM" files from `head` (the first bytes of the image). Returns 0 on success, -1 when
// the bytes are not a BMP at all (no message), or 72 after reporting it under `routine` when
// the header is one no reader could trust.
int ParseBmpHeader(std::span<const uint8_t> head, int routine, BmpHeader& header);

}  // namespace tavik
