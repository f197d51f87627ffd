// The packed DIB every loader produces: a BITMAPINFOHEADER, the colour table, rows bottom-up
// padded to 4 bytes, then one spare zero row that row-wise transforms may read. DIBs from
// outside (pasted, poked, captured) may carry the 12-byte OS/2 core header instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tavik {

using PackedDib = std::vector<uint8_t>;

inline constexpr uint32_t kCoreHeaderSize = 12;
inline constexpr uint32_t kInfoHeaderSize = 40;
inline constexpr int32_t kPelsPerMeter = 2835;  // 72 dots per inch

// The header size field; 0 when the block is too short to hold a header at all.
uint32_t DIBHeaderSize(std::span<const uint8_t> dib);
// biClrUsed when an info header sets it, else 2, 16 or 256 by depth, else 0.
int64_t DIBColorCount(std::span<const uint8_t> dib);
// Colour count x 4 (info header) or x 3 (core header).
int64_t DIBPaletteBytes(std::span<const uint8_t> dib);
// Offset of the first pixel row: header size + palette bytes.
int64_t DIBPixelBits(std::span<const uint8_t> dib);
int32_t DIBPixelWidth(std::span<const uint8_t> dib);
int32_t DIBPixelHeight(std::span<const uint8_t> dib);
int DIBBitDepth(std::span<const uint8_t> dib);

// True when the header is one we know, the depth is 1, 4, 8 or 24, the size is positive and
// within the limits, and the block holds every row. Everything else here trusts a valid DIB.
bool DIBIsValid(std::span<const uint8_t> dib);

// Zeroes a 40-byte header and fills it for an uncompressed bottom-up DIB; bits are rounded up
// to 1, 4, 8 or 24. The caller has checked the size (stride x height fits 32 bits).
void FillDIBHeader(uint8_t* header, int32_t width, int32_t height, int bits);

// A zero-filled DIB of the given size with the spare row (and 44 header bytes for 24 bits),
// biClrUsed = colorsUsed, and resolution 2835. Nothing when the size is refused or memory runs
// out; nothing is reported, the caller names the routine.
std::optional<PackedDib> AllocateDib(int32_t width, int32_t height, int bits, int colorsUsed);

// Row `row` counted from the bottom of a valid DIB.
uint8_t* DIBRow(std::span<uint8_t> dib, int32_t row);
const uint8_t* DIBRow(std::span<const uint8_t> dib, int32_t row);
uint32_t DIBStride(std::span<const uint8_t> dib);

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The colour of pixel x of row `row` (from the bottom) of a valid DIB; an index past the colour
// table is black.
Rgb DIBPixelColor(std::span<const uint8_t> dib, int32_t x, int32_t row);

}  // namespace tavik
