// Fixed palettes, the generated inverse maps, nearest-colour search and the colour-table
// rewrites of the display flags.
#include <gtest/gtest.h>

#include "DibBuilder.h"
#include "ImageRecord.h"
#include "Palettes.h"

#include <memory>

namespace tavik {
namespace {

using testing::IndexedDib;

TEST(FixedPalettes, SizesAndLandmarkEntries) {
  EXPECT_EQ(BlackWhitePalette().size(), 2u);
  EXPECT_EQ(Gray16Palette()[3], (Rgb{64, 64, 64}));
  const auto g256 = Gray256Palette();
  ASSERT_EQ(g256.size(), 256u);
  EXPECT_EQ(g256[3], (Rgb{0, 0, 0}));
  EXPECT_EQ(g256[4], (Rgb{3, 3, 3}));
  EXPECT_EQ(g256[251], (Rgb{247, 247, 247}));
  EXPECT_EQ(g256[252], (Rgb{255, 255, 255}));
  EXPECT_EQ(Gray256PaletteBytes().size(), 768u);

  const auto d = Display256Palette();
  ASSERT_EQ(d.size(), 256u);
  const struct {
    int index;
    Rgb colour;
  } rows[] = {
      {9, {166, 202, 240}},  {10, {51, 0, 0}},       {14, {0, 51, 0}},   // cube skips black and red
      {217, {204, 255, 255}}, {218, {255, 95, 191}}, {219, {63, 127, 191}},
      {245, {223, 223, 191}}, {246, {255, 251, 240}}, {248, {128, 128, 128}},
      {249, {255, 0, 0}},    {255, {255, 255, 255}},
  };
  for (const auto& r : rows) EXPECT_EQ(d[r.index], r.colour) << r.index;
  // No cube corner appears between the system colours.
  for (int i = 10; i < 218; ++i) {
    const Rgb c = d[i];
    const bool corner = (c.r == 0 || c.r == 255) && (c.g == 0 || c.g == 255) && (c.b == 0 || c.b == 255);
    EXPECT_FALSE(corner) << i;
  }
}

TEST(InverseMaps, SampleRows) {
  const auto m228 = InverseColourMap(kMapVga16);
  ASSERT_EQ(m228.size(), kInverseMapSize);
  const struct {
    int r, g, b, index;
  } rows228[] = {{31, 0, 0, 9}, {0, 31, 0, 10}, {0, 0, 31, 12}, {31, 31, 31, 15},
                 {16, 16, 16, 8}, {24, 24, 24, 7}, {15, 0, 0, 1}, {0, 0, 0, 0}};
  for (const auto& r : rows228) EXPECT_EQ(m228[Index15(r.r, r.g, r.b)], r.index) << r.r << "," << r.g << "," << r.b;

  const int reds229[32] = {0,  0,  0,  0,  10, 10, 10, 10, 10, 10, 11,  11,  11,  11,  1,   1,
                           1,  1,  12, 12, 12, 12, 12, 13, 13, 13, 13, 13, 13, 249, 249, 249};
  const auto m229 = InverseColourMap(kMapDisplay256);
  for (int red = 0; red < 32; ++red) EXPECT_EQ(m229[Index15(red, 0, 0)], reds229[red]) << red;
}

// The generator and the server's own search must agree on every colour, in the 5-bit units
// the diffusion compares in.
TEST(InverseMaps, NearestMapsMatchTheSearch) {
  for (const auto& [id, palette] : {std::pair{kMapVga16, Vga16Palette()}, std::pair{kMapDisplay256, Display256Palette()}}) {
    std::vector<Rgb> five;
    for (Rgb c : palette) five.push_back({uint8_t(c.r >> 3), uint8_t(c.g >> 3), uint8_t(c.b >> 3)});
    const auto map = InverseColourMap(id);
    int mismatches = 0;
    for (int b = 0; b < 32; ++b)
      for (int g = 0; g < 32; ++g)
        for (int r = 0; r < 32; ++r)
          mismatches += map[Index15(r, g, b)] != NearestPaletteIndex(r, g, b, five);
    EXPECT_EQ(mismatches, 0) << id;
  }
}

TEST(InverseMaps, RestrictedAndGrayMaps) {
  for (uint8_t v : InverseColourMap(kMapDisplayBasic)) EXPECT_TRUE(v < 8 || v >= 248);
  const auto bw = InverseColourMap(kMapBlackWhite);
  EXPECT_EQ(bw[Index15(0, 0, 0)], 0);
  EXPECT_EQ(bw[Index15(31, 31, 31)], 1);
  EXPECT_EQ(bw[Index15(16, 16, 16)], 1);  // luminance 128
  EXPECT_EQ(bw[Index15(15, 15, 15)], 0);  // luminance 120
  const auto g256 = InverseColourMap(kMapGray256);
  EXPECT_EQ(g256[Index15(0, 0, 0)], 0);
  EXPECT_EQ(g256[Index15(31, 31, 31)], 255);
  const auto g16 = InverseColourMap(kMapGray16);
  EXPECT_EQ(g16[Index15(31, 31, 31)], 15);
  EXPECT_EQ(g16[Index15(16, 16, 16)], 7);  // luminance 128
  for (int v = 1; v < 32; ++v) EXPECT_GE(g256[Index15(v, v, v)], g256[Index15(v - 1, v - 1, v - 1)]);
  EXPECT_TRUE(InverseColourMap(1).empty());
}

TEST(NearestPaletteIndex, ExactTieAndEmpty) {
  EXPECT_EQ(NearestPaletteIndex(0, 0, 0, Vga16Palette()), 0);
  EXPECT_EQ(NearestPaletteIndex(255, 0, 0, Vga16Palette()), 9);
  const std::vector<Rgb> two = {{10, 0, 0}, {20, 0, 0}};
  EXPECT_EQ(NearestPaletteIndex(15, 0, 0, two), 0);  // a tie goes to the lower index
  EXPECT_EQ(NearestPaletteIndex(16, 0, 0, two), 1);
  EXPECT_EQ(NearestPaletteIndex(1, 2, 3, {}), -1);
}

TEST(AdjustPaletteForDisplay, TwoToneAndGray) {
  const uint32_t white = 0xFFFFFF, black = 0;
  const std::vector<Rgb> table = {{0, 0, 0}, {255, 255, 255}, {200, 200, 200}, {10, 200, 30}};
  const struct {
    const char* name;
    uint32_t flags, light, dark;
    Rgb expect[4];
  } cases[] = {
      {"no drawing state", 0x2, white, black, {{0, 0, 0}, {255, 255, 255}, {255, 255, 255}, {0, 0, 0}}},
      {"inverted", 0x2 | 0x8, white, black, {{255, 255, 255}, {0, 0, 0}, {0, 0, 0}, {255, 255, 255}}},
      {"initial drawing colours", 0x2, black, white, {{255, 255, 255}, {0, 0, 0}, {0, 0, 0}, {255, 255, 255}}},
      {"colours written red low", 0x2, 0x00FF0000, 0x000000FF, {{255, 0, 0}, {0, 0, 255}, {0, 0, 255}, {255, 0, 0}}},
      {"gray", 0x4, 0, 0, {{0, 0, 0}, {255, 255, 255}, {200, 200, 200}, {124, 124, 124}}},
      {"gray inverted", 0x4 | 0x8, 0, 0, {{255, 255, 255}, {0, 0, 0}, {55, 55, 55}, {131, 131, 131}}},
      {"two-tone wins over gray", 0x2 | 0x4, white, black, {{0, 0, 0}, {255, 255, 255}, {255, 255, 255}, {0, 0, 0}}},
      {"neither", 0x8, white, black, {{0, 0, 0}, {255, 255, 255}, {200, 200, 200}, {10, 200, 30}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PackedDib dib = IndexedDib(8, {{0, 1, 2, 3}}, table);
    AdjustPaletteForDisplay(c.flags, dib, c.light, c.dark);
    const auto entries = DIBPaletteEntries(dib);
    ASSERT_EQ(entries.size(), 4u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(entries[i], c.expect[i]) << i;
  }
}

TEST(AdjustPaletteForDisplay, LeavesPixelsAndTrueColourAlone) {
  // Four colours used of 256: the rows follow the fourth entry and must not be rewritten.
  PackedDib dib = IndexedDib(8, {{3, 2, 1, 0}}, {{9, 9, 9}, {9, 9, 9}, {9, 9, 9}, {9, 9, 9}});
  AdjustPaletteForDisplay(0x4, dib, 0, 0);
  EXPECT_EQ(testing::IndexAt(dib, 0, 0), 3);
  EXPECT_EQ(testing::IndexAt(dib, 3, 0), 0);

  PackedDib rgb = testing::RgbDib({{{200, 10, 10}}});
  const PackedDib before = rgb;
  AdjustPaletteForDisplay(0x4, rgb, 0, 0);
  EXPECT_EQ(rgb, before);

  // The 12-byte header carries three-byte entries.
  PackedDib core(12 + 6 + 8, 0);
  core[0] = 12;
  core[4] = 1;   // width
  core[6] = 1;   // height
  core[8] = 1;   // planes
  core[10] = 1;  // bits
  core[12 + 3] = core[12 + 4] = core[12 + 5] = 200;
  AdjustPaletteForDisplay(0x4 | 0x8, core, 0, 0);
  EXPECT_EQ(core[12 + 3], 55);
  EXPECT_EQ(core[12 + 5], 55);
  EXPECT_EQ(core[12], 255);
}

TEST(InterleavePalette, ImagesTakeTurns) {
  std::vector<Rgb> a(16), b(16);
  for (int i = 0; i < 16; ++i) {
    a[i] = {uint8_t(i), 0, 0};
    b[i] = {0, uint8_t(i), 0};
  }
  std::vector<std::vector<int>> row = {{0}};
  auto head = std::make_unique<ImageRecord>();
  head->pixels = IndexedDib(4, row, a);
  auto middle = std::make_unique<ImageRecord>();
  middle->pixels = testing::RgbDib({{{1, 2, 3}}});  // no table: takes no turn
  auto last = std::make_unique<ImageRecord>();
  last->pixels = IndexedDib(4, row, b);
  middle->next = std::move(last);
  head->next = std::move(middle);

  const auto entries = InterleavePaletteEntries(head.get());
  ASSERT_EQ(entries.size(), 32u);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(entries[2 * i], a[i]);
    EXPECT_EQ(entries[2 * i + 1], b[i]);
  }
  EXPECT_TRUE(InterleavePaletteEntries(nullptr).empty());
}

TEST(InterleavePalette, CappedAt16000) {
  std::vector<Rgb> table(256, Rgb{1, 1, 1});
  auto head = std::make_unique<ImageRecord>();
  head->pixels = IndexedDib(8, {{0}}, table);
  for (int i = 0; i < 70; ++i) {
    auto r = std::make_unique<ImageRecord>();
    r->pixels = head->pixels;
    r->next = std::move(head);
    head = std::move(r);
  }
  EXPECT_EQ(InterleavePaletteEntries(head.get()).size(), static_cast<size_t>(kMaxInterleavedColours));
}

}  // namespace
}  // namespace tavik
