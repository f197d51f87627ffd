// The fixed palettes saves reduce to: black and white, 16 and 256 grays, and the 16- and
// 256-colour display palettes, as red-green-blue triples.
#pragma once

#include "Dib.h"

#include <span>

namespace tavik {

std::span<const Rgb> BlackWhitePalette();
std::span<const Rgb> Gray16Palette();
std::span<const Rgb> Gray256Palette();
std::span<const Rgb> Display16Palette();
std::span<const Rgb> Display256Palette();

// Luminance as the server computes it everywhere: (30 R + 59 G + 11 B) / 100.
inline int Luminance(Rgb c) { return (30 * c.r + 59 * c.g + 11 * c.b) / 100; }

}  // namespace tavik
