#include "ImageLimits.h"

#include "ReportCollector.h"

#include <gtest/gtest.h>

#include <limits>

namespace tavik {
namespace {

TEST(CheckedArithmetic, RefusesOverflowAndNegatives) {
  const int64_t max = std::numeric_limits<int64_t>::max();
  EXPECT_EQ(CheckedMul(65535, 65535), int64_t{4294836225});
  EXPECT_EQ(CheckedMul(max / 2 + 1, 2), std::nullopt);
  EXPECT_EQ(CheckedMul(-1, 5), std::nullopt);
  EXPECT_EQ(CheckedMul(0, max), 0);
  EXPECT_EQ(CheckedAdd(max, 1), std::nullopt);
  EXPECT_EQ(CheckedAdd(-3, 1), std::nullopt);
}

TEST(DibStride, PadsRowsToFourBytes) {
  struct Case { int64_t width; int bits; int64_t stride; };
  for (Case c : {Case{1, 1, 4}, Case{32, 1, 4}, Case{33, 1, 8}, Case{7, 4, 4}, Case{9, 4, 8},
                 Case{5, 8, 8}, Case{3, 24, 12}, Case{1, 24, 4}, Case{65535, 24, 196608}}) {
    EXPECT_EQ(DibStride(c.width, c.bits), c.stride) << c.width << "x" << c.bits;
  }
  EXPECT_EQ(DibStride(-1, 8), std::nullopt);
  EXPECT_EQ(DibStride(10, 0), std::nullopt);
}

TEST(BufferSize, StaysInsideThirtyTwoBitAddressSpace) {
  EXPECT_EQ(BufferSize(4, 10, 40), size_t{80});
  EXPECT_EQ(BufferSize(int64_t{1} << 20, int64_t{1} << 10), size_t{1} << 30);
  EXPECT_EQ(BufferSize(int64_t{1} << 20, int64_t{1} << 10, 1), std::nullopt);
  // The classic 32-bit wrap: 65536 x 65536 would be 0 in a 32-bit size_t.
  EXPECT_EQ(BufferSize(65536, 65536), std::nullopt);
}

TEST(ImageSize, LimitIsOnTotalPixelsNotOnASide) {
  EXPECT_TRUE(ImageSizeAllowed(kMaxImagePixels, 1));
  EXPECT_TRUE(ImageSizeAllowed(1, kMaxImagePixels));
  EXPECT_TRUE(ImageSizeAllowed(100000, 10));
  EXPECT_FALSE(ImageSizeAllowed(kMaxImagePixels + 1, 1));
  EXPECT_FALSE(ImageSizeAllowed(0x7FFFFFFF, 0x7FFFFFFF));
  EXPECT_FALSE(ImageSizeAllowed(0, 5));
  EXPECT_FALSE(ImageSizeAllowed(5, -1));
}

TEST(ImageSize, LimitCanBeLoweredButNotRaised) {
  SetMaxImagePixels(100);
  EXPECT_TRUE(ImageSizeAllowed(10, 10));
  EXPECT_FALSE(ImageSizeAllowed(10, 11));
  SetMaxImagePixels(kMaxImagePixels * 2);
  EXPECT_EQ(MaxImagePixels(), kMaxImagePixels);
  EXPECT_FALSE(ImageSizeAllowed(kMaxImagePixels + 1, 1));
}

TEST(ImageSize, RefusalIsReportedAsWrongFormat) {
  testing::ReportCollector collector;
  EXPECT_TRUE(CheckImageSize(640, 480, kLoadBMP));
  EXPECT_FALSE(CheckImageSize(70000, 70000, kLoadBMP));
  ASSERT_EQ(collector.reports.size(), 1u);
  EXPECT_EQ(collector.reports[0], (testing::Report{72, kLoadBMP, "size"}));
}

}  // namespace
}  // namespace tavik
