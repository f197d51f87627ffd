// Fixed palettes, the inverse colour maps over 15-bit colour, nearest-colour search, and the
// colour-table rewrites the display flags ask for. Palettes are red, green, blue triples.
#pragma once

#include "Dib.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tavik {

struct ImageRecord;

// The one luminance the server uses, on 8-bit components.
constexpr int Luminance(int red, int green, int blue) {
  return (30 * red + 59 * green + 11 * blue) / 100;
}

// Index of a colour in an inverse map: blue5 << 10 | green5 << 5 | red5.
constexpr uint32_t Index15(int red5, int green5, int blue5) {
  return static_cast<uint32_t>(blue5) << 10 | static_cast<uint32_t>(green5) << 5 |
         static_cast<uint32_t>(red5);
}
constexpr uint32_t Index15Of(Rgb c) { return Index15(c.r >> 3, c.g >> 3, c.b >> 3); }

std::span<const Rgb> BlackWhitePalette();
std::span<const Rgb> Gray16Palette();
std::span<const Rgb> Gray256Palette();
std::span<const Rgb> Vga16Palette();
std::span<const Rgb> Display256Palette();
// The display palette for a colour count of 16 or 256 (anything else: 256).
std::span<const Rgb> DisplayPalette(int count);

// The 256-gray palette as 768 bytes red, green, blue (resource 265).
std::span<const uint8_t> Gray256PaletteBytes();

// Inverse colour maps by resource number.
enum InverseMapId : int {
  kMapVga16 = 228,        // nearest of the 16-colour display palette
  kMapDisplay256 = 229,   // nearest of the 256-colour display palette
  kMapDisplayBasic = 270, // nearest of entries 0..7 and 248..255 of the 256-colour palette
  kMapBlackWhite = 259,   // 1 when the luminance is above 127
  kMapGray16 = 260,       // the 16 grays
  kMapGray256 = 261,      // the 256 grays
};
inline constexpr size_t kInverseMapSize = 32768;
// The map's 32768 bytes; empty for an unknown number.
std::span<const uint8_t> InverseColourMap(int id);

// Index of the entry with the smallest sum of squared differences, the lower index on a tie;
// an exact match ends the search. -1 for an empty palette.
int NearestPaletteIndex(int red, int green, int blue, std::span<const Rgb> palette);

// Colours are COLORREF values: 0x00BBGGRR.
constexpr uint32_t ColourRef(Rgb c) { return c.r | c.g << 8 | c.b << 16; }

// Rewrites a DIB's colour table for display flags 0x2 (two-tone, light entries take `light`,
// the others `dark`, swapped by 0x8) or 0x4 (gray, inverted by 0x8). 24-bit DIBs and DIBs
// without a table stay as they are. Works over the entries the block really holds.
void AdjustPaletteForDisplay(uint32_t displayFlags, std::span<uint8_t> dib, uint32_t light,
                             uint32_t dark);

// The colour table of a DIB as triples (the colour count's entries, 12- or 40-byte header).
std::vector<Rgb> DIBPaletteEntries(std::span<const uint8_t> dib);

// One palette for every record of a chain with a colour table: entry i of record k (0-based,
// counting only records with a table) goes to position k + i * n, n being the number of
// records counted; total capped at 16000 entries; unused positions stay black.
inline constexpr int kMaxInterleavedColours = 16000;
std::vector<Rgb> InterleavePaletteEntries(const ImageRecord* head);

}  // namespace tavik
