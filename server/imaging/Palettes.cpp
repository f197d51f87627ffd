#include "Palettes.h"

#include "ImageRecord.h"

#include <algorithm>
#include <array>

namespace tavik {
namespace tables {
// MakePaletteTables.py writes these at build time.
extern const uint8_t kBlackWhite[6], kGray16[48], kGray256[768], kVga16[48], kDisplay256[768];
extern const uint8_t kMap228[32768], kMap229[32768], kMap270[32768], kMap259[32768],
    kMap260[32768], kMap261[32768];
}  // namespace tables

namespace {

static_assert(sizeof(Rgb) == 3, "palettes are read as packed triples");

std::span<const Rgb> AsPalette(const uint8_t* bytes, size_t entries) {
  return {reinterpret_cast<const Rgb*>(bytes), entries};
}

constexpr auto kSquares = [] {
  std::array<int, 511> squares{};
  for (int d = -255; d <= 255; ++d) squares[d + 255] = d * d;
  return squares;
}();

}  // namespace

std::span<const Rgb> BlackWhitePalette() { return AsPalette(tables::kBlackWhite, 2); }
std::span<const Rgb> Gray16Palette() { return AsPalette(tables::kGray16, 16); }
std::span<const Rgb> Gray256Palette() { return AsPalette(tables::kGray256, 256); }
std::span<const Rgb> Vga16Palette() { return AsPalette(tables::kVga16, 16); }
std::span<const Rgb> Display256Palette() { return AsPalette(tables::kDisplay256, 256); }
std::span<const Rgb> DisplayPalette(int count) {
  return count == 16 ? Vga16Palette() : Display256Palette();
}
std::span<const uint8_t> Gray256PaletteBytes() { return {tables::kGray256, 768}; }

std::span<const uint8_t> InverseColourMap(int id) {
  switch (id) {
    case kMapVga16: return {tables::kMap228, kInverseMapSize};
    case kMapDisplay256: return {tables::kMap229, kInverseMapSize};
    case kMapDisplayBasic: return {tables::kMap270, kInverseMapSize};
    case kMapBlackWhite: return {tables::kMap259, kInverseMapSize};
    case kMapGray16: return {tables::kMap260, kInverseMapSize};
    case kMapGray256: return {tables::kMap261, kInverseMapSize};
    default: return {};
  }
}

int NearestPaletteIndex(int red, int green, int blue, std::span<const Rgb> palette) {
  int best = -1;
  int bestDistance = 0;
  for (size_t i = 0; i < palette.size(); ++i) {
    const Rgb& e = palette[i];
    const int d = kSquares[red - e.r + 255] + kSquares[green - e.g + 255] +
                  kSquares[blue - e.b + 255];
    if (best < 0 || d < bestDistance) {
      best = static_cast<int>(i);
      bestDistance = d;
      if (d == 0) break;
    }
  }
  return best;
}

namespace {

// Entries the block really holds, at most the colour count; 0 for 24 bits.
int64_t HeldEntries(std::span<const uint8_t> dib, int& entrySize) {
  const uint32_t header = DIBHeaderSize(dib);
  if (header != kCoreHeaderSize && header != kInfoHeaderSize) return 0;
  if (DIBBitDepth(dib) > 8) return 0;
  entrySize = header == kCoreHeaderSize ? 3 : 4;
  const int64_t room = (static_cast<int64_t>(dib.size()) - header) / entrySize;
  return std::clamp<int64_t>(std::min<int64_t>(DIBColorCount(dib), 256), 0, std::max<int64_t>(room, 0));
}

}  // namespace

void AdjustPaletteForDisplay(uint32_t displayFlags, std::span<uint8_t> dib, uint32_t light,
                             uint32_t dark) {
  const bool twoTone = displayFlags & kFlagTwoTone;
  if (!twoTone && !(displayFlags & kFlagGray)) return;
  if (displayFlags & kFlagInvert) std::swap(light, dark);
  int entrySize = 4;
  const int64_t count = HeldEntries(dib, entrySize);
  uint8_t* entry = dib.data() + DIBHeaderSize(dib);
  for (int64_t i = 0; i < count; ++i, entry += entrySize) {
    const int l = Luminance(entry[2], entry[1], entry[0]);
    if (twoTone) {
      const uint32_t c = l >= 128 ? light : dark;
      entry[0] = static_cast<uint8_t>(c >> 16);  // blue
      entry[1] = static_cast<uint8_t>(c >> 8);
      entry[2] = static_cast<uint8_t>(c);
    } else {
      const auto level = static_cast<uint8_t>((displayFlags & kFlagInvert) ? 255 - l : l);
      entry[0] = entry[1] = entry[2] = level;
    }
  }
}

std::vector<Rgb> DIBPaletteEntries(std::span<const uint8_t> dib) {
  int entrySize = 4;
  const int64_t count = HeldEntries(dib, entrySize);
  std::vector<Rgb> out;
  out.reserve(static_cast<size_t>(count));
  const uint8_t* entry = dib.data() + DIBHeaderSize(dib);
  for (int64_t i = 0; i < count; ++i, entry += entrySize) out.push_back({entry[2], entry[1], entry[0]});
  return out;
}

std::vector<Rgb> InterleavePaletteEntries(const ImageRecord* head) {
  // Only images with a colour table take part, so a 24-bit image in the chain leaves no holes.
  std::vector<std::vector<Rgb>> tables;
  int64_t total = 0;
  for (const ImageRecord* r = head; r; r = r->next.get()) {
    auto entries = DIBPaletteEntries(r->pixels);
    if (entries.empty()) continue;
    total += static_cast<int64_t>(entries.size());
    tables.push_back(std::move(entries));
  }
  total = std::min<int64_t>(total, kMaxInterleavedColours);
  std::vector<Rgb> out(static_cast<size_t>(total));
  const size_t n = tables.size();
  for (size_t k = 0; k < n; ++k) {
    for (size_t i = 0; i < tables[k].size(); ++i) {
      const size_t position = k + i * n;
      if (position < out.size()) out[position] = tables[k][i];
    }
  }
  return out;
}

}  // namespace tavik
