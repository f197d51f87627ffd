// The eight orientations of an image, named by the order of its corners A (top left),
// B (top right), C (bottom right), D (bottom left): which source corner ends up at the result's
// top-left, top-right, bottom-right and bottom-left. The pixel work (ReorientDib) is what the
// rotation library TAVROT32.DLL runs; the rest is the server's bookkeeping around it.
#pragma once

#include "Dib.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace tavik {

struct ImageRecord;

inline constexpr uint32_t kOrientationFlags = 0x10 | 0x20 | 0x40000;

// Orientation index 0..7 of a record's flags, and the flags of an index (0 for any other).
int OrientationIndex(uint32_t displayFlags);
uint32_t OrientationFlags(int k);
// The corner bytes (A = 0 .. D = 3) handed to the rotation library for index k.
std::array<uint8_t, 4> CornerBytes(int k);

// The DIB reoriented by a corner order; nothing when the order is not one of the eight, the DIB
// is not valid, or memory runs out. Any header in, a 40-byte header out.
std::optional<PackedDib> ReorientDib(std::span<const uint8_t> dib, std::span<const uint8_t, 4> corners);

// Puts a reoriented DIB into the record: placement, crop and source size become the new size,
// depth and stride follow it, and the automatic display test is run again against a screen of
// `screenBits` bits per pixel.
void AdoptReorientedDib(ImageRecord& record, PackedDib dib, int screenBits);

// The load-time display test, when flag 0x10000 asks for it: 0x4000 for a palette or 24-bit
// image on a screen with fewer bits (fewer than 15 for 24 bits); 0x8000 for a 1-bit image
// placed smaller than its crop, cleared for any other depth.
void ApplyAutomaticDisplayTest(ImageRecord& record, int screenBits);

}  // namespace tavik
