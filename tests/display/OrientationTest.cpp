// The eight orientations on small fixtures, and the record's bookkeeping after one.
#include <gtest/gtest.h>

#include "DibBuilder.h"
#include "ImageRecord.h"
#include "Orientation.h"

namespace tavik {
namespace {

using testing::IndexAt;
using testing::IndexedDib;

// 3 wide, 2 high; each pixel names its place.
const std::vector<std::vector<int>> kSource = {{1, 2, 3}, {4, 5, 6}};

std::vector<Rgb> Table() {
  std::vector<Rgb> t(256);
  for (int i = 0; i < 256; ++i) t[i] = {uint8_t(i), 0, 0};
  return t;
}

std::vector<std::vector<int>> Pixels(const PackedDib& dib) {
  std::vector<std::vector<int>> rows(DIBPixelHeight(dib), std::vector<int>(DIBPixelWidth(dib)));
  for (size_t y = 0; y < rows.size(); ++y)
    for (size_t x = 0; x < rows[y].size(); ++x) rows[y][x] = IndexAt(dib, int32_t(x), int32_t(y));
  return rows;
}

TEST(Orientation, EightCornerOrders) {
  const struct {
    int k;
    uint32_t flags;
    std::vector<std::vector<int>> expect;
  } cases[] = {
      {0, 0, {{1, 2, 3}, {4, 5, 6}}},
      {1, 0x10, {{4, 5, 6}, {1, 2, 3}}},                      // rows reversed
      {2, 0x20, {{3, 6}, {2, 5}, {1, 4}}},                    // quarter turn anticlockwise
      {3, 0x30, {{1, 4}, {2, 5}, {3, 6}}},
      {4, 0x40000, {{3, 2, 1}, {6, 5, 4}}},                   // columns reversed
      {5, 0x40010, {{6, 5, 4}, {3, 2, 1}}},                   // half turn
      {6, 0x40020, {{6, 3}, {5, 2}, {4, 1}}},
      {7, 0x40030, {{4, 1}, {5, 2}, {6, 3}}},                 // quarter turn clockwise
  };
  for (int bits : {1, 4, 8}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(::testing::Message() << "bits " << bits << " k " << c.k);
      EXPECT_EQ(OrientationFlags(c.k), c.flags);
      EXPECT_EQ(OrientationIndex(c.flags), c.k);
      const int mask = (1 << bits) - 1;
      std::vector<std::vector<int>> source = kSource, expect = c.expect;
      for (auto& row : source) for (int& v : row) v &= mask;
      for (auto& row : expect) for (int& v : row) v &= mask;
      auto table = Table();
      table.resize(size_t{1} << bits);
      const PackedDib dib = IndexedDib(bits, source, table);
      const auto corners = CornerBytes(c.k);
      auto out = ReorientDib(dib, corners);
      ASSERT_TRUE(out);
      EXPECT_EQ(Pixels(*out), expect);
      EXPECT_EQ(DIBColorCount(*out), 1 << bits);
    }
  }
}

TEST(Orientation, TrueColourAndWideImages) {
  const PackedDib dib = testing::RgbDib({{{1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}, {5, 0, 0}}});
  auto out = ReorientDib(dib, CornerBytes(7));
  ASSERT_TRUE(out);
  ASSERT_EQ(DIBPixelWidth(*out), 1);
  ASSERT_EQ(DIBPixelHeight(*out), 5);
  for (int y = 0; y < 5; ++y) EXPECT_EQ(testing::At(*out, 0, y).r, y + 1);
}

TEST(Orientation, QuarterTurnTwiceIsAHalfTurn) {
  const PackedDib dib = IndexedDib(8, kSource, Table());
  auto once = ReorientDib(dib, CornerBytes(2));
  auto twice = ReorientDib(*once, CornerBytes(2));
  ASSERT_TRUE(twice);
  EXPECT_EQ(Pixels(*twice), Pixels(*ReorientDib(dib, CornerBytes(5))));
}

TEST(Orientation, RefusesOrdersThatAreNoOrientation) {
  const PackedDib dib = IndexedDib(8, kSource, Table());
  const std::array<uint8_t, 4> bad[] = {{0, 0, 0, 0}, {0, 2, 1, 3}, {0, 1, 3, 2}, {0, 1, 2, 4}};
  for (const auto& c : bad) EXPECT_FALSE(ReorientDib(dib, c));
  EXPECT_FALSE(ReorientDib(PackedDib(8, 0), CornerBytes(2)));
}

TEST(Orientation, AdoptingSetsTheNewSizeAndRunsTheDisplayTest) {
  ImageRecord r;
  r.displayFlags = 0x10000;
  r.placementTop = 10;
  r.placementRight = 1;  // placed smaller than it is: would smooth before the turn
  const PackedDib dib = IndexedDib(1, {{1, 0, 1}, {0, 1, 0}}, {{0, 0, 0}, {255, 255, 255}});
  AdoptReorientedDib(r, *ReorientDib(dib, CornerBytes(2)), 32);
  EXPECT_EQ(r.sourceWidth, 2);
  EXPECT_EQ(r.sourceHeight, 3);
  EXPECT_EQ(r.placementTop, 0);
  EXPECT_EQ(r.placementBottom, 2);
  EXPECT_EQ(r.placementRight, 1);
  EXPECT_EQ(r.placementRect.bottom, 2);
  EXPECT_EQ(r.cropRight, 1);
  EXPECT_EQ(r.cropBottom, 2);
  EXPECT_EQ(r.bitsPerPixel, 1);
  EXPECT_EQ(r.colorCount, 2);
  EXPECT_EQ(r.stride, 4u);
  EXPECT_EQ(r.displayFlags & 0xC000u, 0u);
}

TEST(Orientation, AutomaticDisplayTest) {
  const struct {
    const char* name;
    uint32_t flags;
    int bits, screenBits;
    int32_t placedWidth;
    uint32_t expect;
  } cases[] = {
      {"24 bits on 8", 0x10000, 24, 8, 4, 0x4000},
      {"24 bits on 16", 0x10000, 24, 16, 4, 0},
      {"8 bits on 4", 0x10000, 8, 4, 4, 0x4000},
      {"1 bit placed smaller", 0x10000, 1, 32, 2, 0x8000},
      {"1 bit at size", 0x10000 | 0x8000, 1, 32, 4, 0},
      {"8 bits placed smaller", 0x10000 | 0x8000, 8, 32, 2, 0},
      {"not asked", 0, 24, 8, 2, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ImageRecord r;
    r.displayFlags = c.flags;
    r.bitsPerPixel = static_cast<uint16_t>(c.bits);
    r.cropRight = 3;
    r.cropBottom = 3;
    r.placementRight = c.placedWidth - 1;
    r.placementBottom = 3;
    ApplyAutomaticDisplayTest(r, c.screenBits);
    EXPECT_EQ(r.displayFlags & 0xC000u, c.expect);
  }
}

}  // namespace
}  // namespace tavik

namespace tavik {
namespace {

// A 2 x 1, 1-bit DIB with the 12-byte core header and three-byte entries, as pasted from
// old programs: the pixels are 1, 0.
PackedDib CoreHeaderDib() {
  PackedDib dib(12 + 2 * 3 + 4 * 2, 0);
  dib[0] = 12;
  dib[4] = 2;   // width
  dib[6] = 1;   // height
  dib[8] = 1;   // planes
  dib[10] = 1;  // bits
  dib[12] = 10, dib[13] = 20, dib[14] = 30;  // entry 0: blue, green, red
  dib[15] = 40, dib[16] = 50, dib[17] = 60;
  dib[18] = 0x80;
  return dib;
}

TEST(CoreHeaderDibs, ReorientedAndScaledWithInfoHeaders) {
  const PackedDib core = CoreHeaderDib();
  ASSERT_TRUE(DIBIsValid(core));
  auto turned = ReorientDib(core, CornerBytes(2));
  ASSERT_TRUE(turned);
  EXPECT_EQ(DIBHeaderSize(*turned), kInfoHeaderSize);
  EXPECT_EQ(DIBPixelWidth(*turned), 1);
  EXPECT_EQ(DIBPixelHeight(*turned), 2);
  EXPECT_EQ(testing::At(*turned, 0, 0), (Rgb{30, 20, 10}));  // the right pixel comes to the top
  EXPECT_EQ(testing::At(*turned, 0, 1), (Rgb{60, 50, 40}));
}

}  // namespace
}  // namespace tavik
