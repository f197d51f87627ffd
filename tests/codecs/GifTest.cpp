// LoadGIF and the GIF writer: written files read back, and hand-built files for the block
// structure, interlacing and the limits on code sizes.
#include "ByteOrder.h"
#include "CodecHelpers.h"
#include "LzwCoder.h"
#include "ReportCollector.h"

#include <gtest/gtest.h>

namespace tavik {
namespace {

using testing::Colors;
using testing::LoadData;
using testing::MakeDib;
using testing::ReportCollector;

// A GIF with a global table of 2^bits grays and one image whose index at (x, y) is value(x, y).
std::vector<uint8_t> BuildGif(const char* version, int32_t w, int32_t h, int bits, bool interlaced,
                              const std::function<uint8_t(int32_t, int32_t)>& value,
                              const std::vector<uint8_t>& beforeImage = {}) {
  std::vector<uint8_t> f(version, version + 6);
  uint8_t screen[7] = {};
  PutU16LE(screen, static_cast<uint32_t>(w));
  PutU16LE(screen + 2, static_cast<uint32_t>(h));
  screen[4] = static_cast<uint8_t>(0x80 | (bits - 1));
  f.insert(f.end(), screen, screen + 7);
  for (int i = 0; i < (1 << bits); ++i) {
    uint8_t v = static_cast<uint8_t>(i * 255 / ((1 << bits) - 1));
    f.insert(f.end(), {v, v, v});
  }
  f.insert(f.end(), beforeImage.begin(), beforeImage.end());
  uint8_t descriptor[10] = {','};
  PutU16LE(descriptor + 5, static_cast<uint32_t>(w));
  PutU16LE(descriptor + 7, static_cast<uint32_t>(h));
  descriptor[9] = interlaced ? 0x40 : 0;
  f.insert(f.end(), descriptor, descriptor + 10);
  const int codeSize = std::max(bits, 2);
  f.push_back(static_cast<uint8_t>(codeSize));
  // Rows in file order: for an interlaced file, the image rows of each pass in turn.
  std::vector<int32_t> order;
  if (interlaced) {
    for (auto [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
      for (int32_t y = start; y < h; y += step) order.push_back(y);
    }
  } else {
    for (int32_t y = 0; y < h; ++y) order.push_back(y);
  }
  std::vector<uint8_t> symbols;
  for (int32_t y : order) {
    for (int32_t x = 0; x < w; ++x) symbols.push_back(value(x, y));
  }
  LzwEncoder encoder(LzwMode::kGif, codeSize);
  std::vector<uint8_t> coded;
  encoder.Encode(symbols, coded);
  encoder.Finish(coded);
  for (size_t at = 0; at < coded.size(); at += 255) {
    size_t n = std::min<size_t>(255, coded.size() - at);
    f.push_back(static_cast<uint8_t>(n));
    f.insert(f.end(), coded.begin() + at, coded.begin() + at + n);
  }
  f.insert(f.end(), {0x00, 0x3B});
  return f;
}

TEST(LoadGIF, VersionsLoadAlikeWithTheirSubtypes) {
  auto value = [](int32_t x, int32_t y) { return static_cast<uint8_t>((x + 2 * y) % 16); };
  auto a = LoadData(BuildGif("GIF87a", 13, 7, 4, false, value));
  auto b = LoadData(BuildGif("GIF89a", 13, 7, 4, false, value));
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->subtype, kSub87a);
  EXPECT_EQ(b->subtype, kSub89a);
  EXPECT_EQ(Colors(a->pixels), Colors(b->pixels));
  EXPECT_EQ(a->bitsPerPixel, 4);
  EXPECT_EQ(testing::IndexAt(*a, 5, 3), 11);
}

TEST(LoadGIF, InterlacedRowsLandWhereThePassesPutThem) {
  // Each row's pixels hold the row number, so a row stored in the wrong place shows.
  auto record = LoadData(BuildGif("GIF89a", 3, 10, 4, true, [](int32_t, int32_t y) {
    return static_cast<uint8_t>(y);
  }));
  ASSERT_TRUE(record);
  for (int32_t y = 0; y < 10; ++y) EXPECT_EQ(testing::IndexAt(*record, 1, y), y);
}

TEST(LoadGIF, ExtensionsBeforeTheImageAreSkipped) {
  // A graphic control extension and a comment with two sub-blocks.
  std::vector<uint8_t> ext = {'!', 0xF9, 4, 0, 0, 0, 0, 0, '!', 0xFE, 2, 'h', 'i', 1, '!', 0};
  auto record = LoadData(BuildGif("GIF89a", 4, 2, 1, false, [](int32_t x, int32_t) {
    return static_cast<uint8_t>(x & 1);
  }, ext));
  ASSERT_TRUE(record);
  EXPECT_EQ(record->bitsPerPixel, 1);
  EXPECT_EQ(testing::Indices(*record), (std::vector<int>{0, 1, 0, 1, 0, 1, 0, 1}));
}

TEST(LoadGIF, FilesWithoutAnImageSayWhy) {
  std::vector<uint8_t> head = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 255, 255, 255};
  struct Case {
    std::vector<uint8_t> tail;
    testing::Report want;
  } cases[] = {
      {{0x3B}, {72, kLoadGIF, ""}},
      {{'!', 0xFE, 1, 'x', 0, 0x3B}, {86, kLoadGIF, "bIsExt"}},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> f = head;
    f.insert(f.end(), c.tail.begin(), c.tail.end());
    ReportCollector reports;
    EXPECT_FALSE(LoadData(f));
    EXPECT_EQ(reports.reports, std::vector<testing::Report>{c.want});
  }
}

TEST(LoadGIF, CodeSizesAboveElevenAreRefused) {
  std::vector<uint8_t> f = BuildGif("GIF89a", 2, 2, 2, false, [](int32_t, int32_t) { return 1; });
  // The code size byte follows the 10-byte descriptor, after the 13-byte header and 4 colours.
  const size_t at = 13 + 12 + 10;
  ASSERT_EQ(f[at], 2);
  f[at] = 12;
  ReportCollector reports;
  EXPECT_FALSE(LoadData(f));
  ASSERT_EQ(reports.reports.size(), 1u);
  EXPECT_EQ(reports.reports[0].code, 72);
}

TEST(LoadGIF, TruncatedDataKeepsTheRowsDecoded) {
  std::vector<uint8_t> f = BuildGif("GIF89a", 64, 64, 8, false, [](int32_t x, int32_t y) {
    return static_cast<uint8_t>(x ^ y);
  });
  f.resize(f.size() / 2);
  auto record = LoadData(f);
  ASSERT_TRUE(record);
  EXPECT_EQ(testing::IndexAt(*record, 5, 1), 5 ^ 1);
}

struct WriteCase {
  int subtype;
  int bits;
};

class GifWriteRead : public ::testing::TestWithParam<WriteCase> {};

TEST_P(GifWriteRead, EveryPixelComesBack) {
  const WriteCase c = GetParam();
  std::vector<Rgb> palette = testing::GrayRamp(1 << c.bits);
  palette[0] = {200, 10, 30};
  PackedDib dib = MakeDib(301, 157, c.bits, palette, testing::Pattern(c.bits, 9));
  std::vector<uint8_t> f = testing::WriteDib(dib, kFamilyGIF, c.subtype, c.bits);
  ASSERT_GT(f.size(), 20u);
  EXPECT_EQ(std::string(f.begin(), f.begin() + 6), c.subtype == kSub89a ? "GIF89a" : "GIF87a");
  // The logical screen is the image's own size.
  EXPECT_EQ(GetU16LE(&f[6]), 301);
  EXPECT_EQ(GetU16LE(&f[8]), 157);
  EXPECT_EQ(f[f.size() - 2], 0x00);
  EXPECT_EQ(f[f.size() - 1], 0x3B);
  auto record = LoadData(f);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->bitsPerPixel, c.bits);
  EXPECT_EQ(Colors(record->pixels), Colors(dib));
}

INSTANTIATE_TEST_SUITE_P(Depths, GifWriteRead,
                         ::testing::Values(WriteCase{kSub87a, 1}, WriteCase{kSub87a, 4},
                                           WriteCase{kSub87a, 8}, WriteCase{kSub89a, 1},
                                           WriteCase{kSub89a, 8}, WriteCase{kSubUncompressed, 4}));

TEST(GifWriter, OneBitImagesUseCodeSizeTwoAndATwoEntryTable) {
  PackedDib dib = MakeDib(8, 2, 1, {{0, 0, 0}, {255, 255, 255}}, [](int32_t x, int32_t) {
    return static_cast<uint32_t>(x & 1);
  });
  std::vector<uint8_t> f = testing::WriteDib(dib, kFamilyGIF, kSub87a, 1);
  EXPECT_EQ(f[10], 0x80);  // global table of 2^(0 + 1) entries
  EXPECT_EQ(f[13 + 6 + 10], 2);
}

}  // namespace
}  // namespace tavik
