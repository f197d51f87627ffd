// The octree quantizer: the palettes it makes for images of few colours, the merge rule, and
// images far larger than its pool.
#include "CodecHelpers.h"
#include "OctreeQuantizer.h"

#include <gtest/gtest.h>

#include <set>

namespace tavik {
namespace {

std::vector<Rgb> Palette(const OctTable& table) {
  std::array<uint8_t, 768> raw{};
  const int n = table.ToPalette(raw);
  std::vector<Rgb> out;
  for (int i = 0; i < n; ++i) out.push_back({raw[3 * i], raw[3 * i + 1], raw[3 * i + 2]});
  return out;
}

TEST(Octree, SixteenColoursSavedToSixteenKeepAllOfThem) {
  // 16 distinct 15-bit colours, white among them.
  PackedDib dib = testing::MakeDib(16, 4, 24, {}, [](int32_t x, int32_t) {
    if (x == 15) return 0xFFFFFFu;
    return static_cast<uint32_t>((x * 16) << 16 | (255 - x * 8) << 8 | (x * 3));
  });
  OctTable table;
  ASSERT_TRUE(table.Init());
  UsedColors used{};
  ASSERT_EQ(AddImageToOctTable(table, dib, &used, Rect{0, 0, 15, 3}, 16), 0);
  table.Reduce(16);
  std::vector<Rgb> palette = Palette(table);
  ASSERT_EQ(palette.size(), 16u);
  std::set<uint32_t> want, got;
  for (int32_t x = 0; x < 16; ++x) {
    Rgb c = DIBPixelColor(dib, x, 0);
    // Each reproduced as 8 x its 5-bit value: pure white becomes 248.
    want.insert(uint32_t(c.r >> 3 << 3) << 16 | uint32_t(c.g >> 3 << 3) << 8 | (c.b >> 3 << 3));
  }
  for (const Rgb& c : palette) got.insert(uint32_t{c.r} << 16 | uint32_t{c.g} << 8 | c.b);
  EXPECT_EQ(got, want);
  EXPECT_TRUE(got.count(0xF8F8F8));
  int bits = 0;
  for (uint8_t b : used) bits += __builtin_popcount(b);
  EXPECT_EQ(bits, 16);
}

TEST(Octree, ABlackAndWhiteImageGivesTwoColours) {
  PackedDib dib = testing::MakeDib(40, 9, 1, {{0, 0, 0}, {255, 255, 255}}, testing::Pattern(1, 4));
  OctTable table;
  ASSERT_TRUE(table.Init());
  ASSERT_EQ(AddPaletteImageToOctTable(table, 256, dib, Rect{0, 0, 39, 8}), 0);
  table.Reduce(256);
  EXPECT_EQ(Palette(table), (std::vector<Rgb>{{0, 0, 0}, {248, 248, 248}}));
}

TEST(Octree, SiblingsMergeIntoTheirCountWeightedAverage) {
  // Red 2 (count 1) and red 10 (count 3) share every node down to the box [0, 15]: at
  // [0, 15] they split. Reducing to one leaf merges them into red low (2 x 1 + 10 x 3) / 4 = 8;
  // the keeper's high bound stays 2, so the palette shows ((8 + 2) & ~1) x 4 = 40.
  OctTable table;
  ASSERT_TRUE(table.Init());
  ASSERT_TRUE(table.AddColor(2, 0, 0, 1));
  ASSERT_TRUE(table.AddColor(10, 0, 0, 3));
  EXPECT_EQ(table.Leaves(), 2);
  table.Reduce(1);
  EXPECT_EQ(table.Leaves(), 1);
  std::vector<Rgb> palette = Palette(table);
  ASSERT_EQ(palette.size(), 1u);
  EXPECT_EQ(palette[0].r, 40);
}

TEST(Octree, LeavesWithoutPixelsStayOutOfThePalette) {
  OctTable table;
  ASSERT_TRUE(table.Init());
  ASSERT_TRUE(table.AddColor(31, 31, 31, 0));
  ASSERT_TRUE(table.AddColor(0, 0, 0, 5));
  EXPECT_EQ(Palette(table), (std::vector<Rgb>{{0, 0, 0}}));
}

TEST(Octree, AnyImageFitsThePool) {
  // Every 15-bit colour once: far more colours than the 1624 nodes could hold at once.
  PackedDib dib = testing::MakeDib(256, 128, 24, {}, [](int32_t x, int32_t y) {
    uint32_t v = static_cast<uint32_t>(y * 256 + x);
    return ((v & 31) << 3) << 16 | (((v >> 5) & 31) << 3) << 8 | (((v >> 10) & 31) << 3);
  });
  for (int target : {16, 256}) {
    OctTable table;
    ASSERT_TRUE(table.Init());
    ASSERT_EQ(AddImageToOctTable(table, dib, nullptr, Rect{0, 0, 255, 127}, target), 0);
    table.Reduce(target);
    EXPECT_LE(table.Leaves(), target);
    EXPECT_GT(static_cast<int>(Palette(table).size()), target / 2);
  }
}

}  // namespace
}  // namespace tavik
