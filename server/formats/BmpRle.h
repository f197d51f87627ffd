// Run-length coding of one BMP row, as the Windows RLE8 and RLE4 compressions define it. The
// end-of-line or end-of-bitmap code is the caller's.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tavik {

// `row` holds one byte per pixel.
void EncodeRle8Row(std::span<const uint8_t> row, std::vector<uint8_t>& out);
// `row` holds two pixels per byte, high nibble first; `width` says how many are real.
void EncodeRle4Row(std::span<const uint8_t> row, int32_t width, std::vector<uint8_t>& out);

}  // namespace tavik
