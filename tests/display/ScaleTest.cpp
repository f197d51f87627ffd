// Scaling by percentages: replication, omission, every depth, and the record's bookkeeping.
#include <gtest/gtest.h>

#include "DibBuilder.h"
#include "ImageRecord.h"
#include "Palettes.h"
#include "ReportCollector.h"
#include "Scale.h"

namespace tavik {
namespace {

using testing::IndexAt;
using testing::IndexedDib;

std::vector<Rgb> Table(int n) {
  std::vector<Rgb> t(n);
  for (int i = 0; i < n; ++i) t[i] = {uint8_t(i), uint8_t(i), uint8_t(i)};
  return t;
}

// A 4 x 2 image whose pixel values name their position: row y, column x holds 4y + x (mod depth).
std::vector<std::vector<int>> Numbered(int bits) {
  std::vector<std::vector<int>> rows(2, std::vector<int>(4));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) rows[y][x] = (4 * y + x) % (1 << std::min(bits, 8));
  return rows;
}

std::unique_ptr<ImageRecord> RecordOf(PackedDib dib) {
  auto r = std::make_unique<ImageRecord>();
  const int32_t w = DIBPixelWidth(dib), h = DIBPixelHeight(dib);
  r->pixels = std::move(dib);
  r->sourceWidth = w;
  r->sourceHeight = h;
  r->placementBottom = h - 1;
  r->placementRight = w - 1;
  r->placementRect = {0, 0, w - 1, h - 1};
  r->cropBottom = h - 1;
  r->cropRight = w - 1;
  r->bitsPerPixel = static_cast<uint16_t>(DIBBitDepth(r->pixels));
  r->stride = DIBStride(r->pixels);
  return r;
}

TEST(ScaleRecordByPercent, EveryDepthDoublesAndHalves) {
  for (int bits : {1, 4, 8}) {
    SCOPED_TRACE(bits);
    const auto source = Numbered(bits);
    auto doubled = RecordOf(IndexedDib(bits, source, Table(1 << bits)));
    ASSERT_TRUE(ScaleRecordByPercent(*doubled, 200, 200));
    ASSERT_EQ(DIBPixelWidth(doubled->pixels), 8);
    ASSERT_EQ(DIBPixelHeight(doubled->pixels), 4);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 8; ++x) EXPECT_EQ(IndexAt(doubled->pixels, x, y), source[y / 2][x / 2]) << x << "," << y;
    EXPECT_EQ(DIBPaletteEntries(doubled->pixels), Table(1 << bits));

    auto halved = RecordOf(IndexedDib(bits, source, Table(1 << bits)));
    ASSERT_TRUE(ScaleRecordByPercent(*halved, 50, 50));
    ASSERT_EQ(DIBPixelWidth(halved->pixels), 2);
    ASSERT_EQ(DIBPixelHeight(halved->pixels), 1);
    // Rows go in storage order, so the bottom row is the one kept.
    EXPECT_EQ(IndexAt(halved->pixels, 0, 0), source[1][0]);
    EXPECT_EQ(IndexAt(halved->pixels, 1, 0), source[1][2]);
  }
  auto rgb = RecordOf(testing::RgbDib({{{1, 2, 3}, {4, 5, 6}}}));
  ASSERT_TRUE(ScaleRecordByPercent(*rgb, 200, 150));
  ASSERT_EQ(DIBPixelWidth(rgb->pixels), 3);
  EXPECT_EQ(testing::At(rgb->pixels, 0, 1), (Rgb{1, 2, 3}));
  EXPECT_EQ(testing::At(rgb->pixels, 1, 1), (Rgb{1, 2, 3}));
  EXPECT_EQ(testing::At(rgb->pixels, 2, 0), (Rgb{4, 5, 6}));
}

TEST(ScaleRecordByPercent, HundredLeavesTheDibUntouched) {
  auto r = RecordOf(IndexedDib(8, Numbered(8), Table(8)));
  const uint8_t* before = r->pixels.data();
  ASSERT_TRUE(ScaleRecordByPercent(*r, 100, 100));
  EXPECT_EQ(r->pixels.data(), before);
}

TEST(ScaleRecordByPercent, PlacementFollowsOnlyWhenItWasTheImageSize) {
  auto atOrigin = RecordOf(IndexedDib(8, Numbered(8), Table(8)));
  ScaleRecordByPercent(*atOrigin, 200, 200);
  EXPECT_EQ(atOrigin->placementRight, 7);
  EXPECT_EQ(atOrigin->placementBottom, 3);
  EXPECT_EQ(atOrigin->placementRect.right, 7);
  EXPECT_EQ(atOrigin->sourceWidth, 8);
  EXPECT_EQ(atOrigin->cropRight, 7);
  EXPECT_EQ(atOrigin->cropBottom, 3);
  EXPECT_EQ(atOrigin->stride, 8u);

  auto explicitSize = RecordOf(IndexedDib(8, Numbered(8), Table(8)));
  explicitSize->placementRight = 99;
  explicitSize->placementTop = 5;
  explicitSize->placementBottom = 6;
  ScaleRecordByPercent(*explicitSize, 200, 200);
  EXPECT_EQ(explicitSize->placementRight, 99);
  EXPECT_EQ(explicitSize->placementBottom, 6);
  EXPECT_EQ(explicitSize->sourceWidth, 4);
}

TEST(ScaleRecordByPercent, TinyNegativeAndHugePercentages) {
  auto tiny = RecordOf(IndexedDib(8, Numbered(8), Table(8)));
  ASSERT_TRUE(ScaleRecordByPercent(*tiny, 1, 1));
  EXPECT_EQ(DIBPixelWidth(tiny->pixels), 1);  // never down to nothing
  EXPECT_EQ(DIBPixelHeight(tiny->pixels), 1);

  auto negative = RecordOf(IndexedDib(8, Numbered(8), Table(8)));
  ASSERT_TRUE(ScaleRecordByPercent(*negative, -50, 100));
  EXPECT_EQ(DIBPixelWidth(negative->pixels), 4);

  testing::ReportCollector reports;
  auto huge = RecordOf(IndexedDib(8, Numbered(8), Table(8)));
  ASSERT_TRUE(ScaleRecordByPercent(*huge, 2000000000, 2000000000));
  EXPECT_EQ(DIBPixelWidth(huge->pixels), 4);  // refused, kept
  ASSERT_EQ(reports.reports.size(), 1u);
  EXPECT_EQ(reports.reports[0].code, 120);
  EXPECT_EQ(reports.reports[0].routine, kCreateSelDIB);
}

}  // namespace
}  // namespace tavik
