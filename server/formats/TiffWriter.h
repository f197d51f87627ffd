// Little-endian TIFF files with one IFD: uncompressed, PackBits, LZW, CCITT modified Huffman,
// Group 3 1-D or Group 4, by save subtype (1, 3, 2, 4, 5, 8).
#pragma once

#include "ImageWriter.h"

#include <memory>

namespace tavik {

std::unique_ptr<ImageWriter> MakeTiffWriter(int subtype);

// Appends the PackBits coding of `row` (runs of 2 to 128 equal bytes, literals up to 128).
void PackBitsRow(std::span<const uint8_t> row, std::vector<uint8_t>& out);

}  // namespace tavik
