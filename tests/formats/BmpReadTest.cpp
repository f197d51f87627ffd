#include "BmpBuilder.h"
#include "ByteOrder.h"
#include "LoadHelpers.h"
#include "ReportCollector.h"

#include <gtest/gtest.h>

namespace tavik {
namespace {

using testing::BmpSpec;
using testing::BuildBmp;
using testing::ColorAt;
using testing::GrayTable;
using testing::Indices;
using testing::LoadData;

struct DepthCase {
  const char* name;
  BmpSpec spec;
  int subtype;
  int dibBits;
  std::vector<int> indices;  // top row first
};

TEST(LoadBMP, UncompressedDepthsAndHeaders) {
  const DepthCase cases[] = {
      {"1 bit, 40-byte header",
       {.width = 10, .height = 2, .bits = 1, .table = GrayTable(2),
        .pixels = {0xFF, 0xC0, 0, 0, 0x80, 0x40, 0, 0}},
       kSubWindowsRGB, 1, {1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
      {"4 bits, OS/2 header",
       {.headerSize = 12, .width = 3, .height = 2, .bits = 4, .table = GrayTable(16, 3),
        .pixels = {0x12, 0x30, 0, 0, 0xAB, 0xC0, 0, 0}},
       kSubOS2, 4, {10, 11, 12, 1, 2, 3}},
      {"8 bits, negative height stores the top row first",
       {.width = 2, .height = -2, .bits = 8, .table = GrayTable(256),
        .pixels = {1, 2, 0, 0, 3, 4, 0, 0}},
       kSubWindowsRGB, 8, {1, 2, 3, 4}},
      {"8 bits, 124-byte header",
       {.headerSize = 124, .width = 2, .height = 1, .bits = 8, .table = GrayTable(256),
        .pixels = {9, 8, 0, 0}},
       kSubWindowsRGB, 8, {9, 8}},
      {"8 bits, 108-byte header with a short table",
       {.headerSize = 108, .width = 2, .height = 1, .bits = 8, .colorsUsed = 3,
        .table = GrayTable(3), .pixels = {2, 1, 0, 0}},
       kSubWindowsRGB, 8, {2, 1}},
  };
  for (const DepthCase& c : cases) {
    auto record = LoadData(BuildBmp(c.spec));
    ASSERT_TRUE(record) << c.name;
    EXPECT_EQ(record->subtype, c.subtype) << c.name;
    EXPECT_EQ(record->bitsPerPixel, c.dibBits) << c.name;
    EXPECT_EQ(Indices(*record), c.indices) << c.name;
    EXPECT_EQ(record->sourceBottomUp, c.spec.height > 0 ? 1 : 0) << c.name;
  }
}

TEST(LoadBMP, ColourTableComesFromTheFile) {
  // Three colours used by an 8-bit file: the pixels follow right after them.
  std::vector<uint8_t> table = {0x10, 0x20, 0x30, 0, 0x40, 0x50, 0x60, 0, 0x70, 0x80, 0x90, 0};
  auto record = LoadData(BuildBmp({.width = 3, .height = 1, .bits = 8, .colorsUsed = 3,
                                   .table = table, .pixels = {2, 0, 1, 0}}));
  ASSERT_TRUE(record);
  EXPECT_EQ(ColorAt(*record, 0, 0), (Rgb{0x90, 0x80, 0x70}));
  EXPECT_EQ(ColorAt(*record, 1, 0), (Rgb{0x30, 0x20, 0x10}));
  EXPECT_EQ(record->colorCount, 256) << "the DIB keeps room for 2^bits entries";
  // OS/2 entries are three bytes and widen to four.
  auto os2 = LoadData(BuildBmp({.headerSize = 12, .width = 1, .height = 1, .bits = 1,
                                .table = {1, 2, 3, 4, 5, 6}, .pixels = {0x80, 0, 0, 0}}));
  ASSERT_TRUE(os2);
  EXPECT_EQ(ColorAt(*os2, 0, 0), (Rgb{6, 5, 4}));
}

TEST(LoadBMP, TwentyFourBitsStayBlueGreenRed) {
  auto record = LoadData(BuildBmp({.width = 2, .height = 1, .bits = 24,
                                   .pixels = {1, 2, 3, 4, 5, 6, 0, 0}}));
  ASSERT_TRUE(record);
  EXPECT_EQ(ColorAt(*record, 0, 0), (Rgb{3, 2, 1}));
  EXPECT_EQ(ColorAt(*record, 1, 0), (Rgb{6, 5, 4}));
  EXPECT_EQ(record->colorCount, 0);
}

TEST(LoadBMP, CropKeepsTheFirstPixelInTheHighBit) {
  // 16 pixels 1010 0000 1111 0000 in one row, cropped to start at column 3.
  auto record = LoadData(BuildBmp({.width = 16, .height = 1, .bits = 1, .table = GrayTable(2),
                                   .pixels = {0xA0, 0xF0, 0, 0}}),
                         {.left = 3});
  ASSERT_TRUE(record);
  EXPECT_EQ(record->cropLeft, 3);
  EXPECT_EQ(DIBPixelWidth(record->pixels), 13);
  EXPECT_EQ(Indices(*record), (std::vector<int>{0, 0, 0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0}));
}

TEST(LoadBMP, CropOfRowsAndColumnsAtEachDepth) {
  // 4 x 3 image whose pixel (x, y) is 4y + x + 1, cropped to rows 1..2, columns 1..2.
  for (int bits : {4, 8, 24}) {
    std::vector<uint8_t> pixels;
    for (int y = 2; y >= 0; --y) {  // bottom row first
      std::vector<uint8_t> row;
      for (int x = 0; x < 4; ++x) {
        uint8_t v = static_cast<uint8_t>(4 * y + x + 1);
        if (bits == 4) {
          if (x % 2 == 0) row.push_back(static_cast<uint8_t>(v << 4));
          else row.back() |= v;
        } else if (bits == 8) {
          row.push_back(v);
        } else {
          row.insert(row.end(), {v, v, v});
        }
      }
      row.resize((row.size() + 3) / 4 * 4);
      pixels.insert(pixels.end(), row.begin(), row.end());
    }
    auto record = LoadData(BuildBmp({.width = 4, .height = 3, .bits = bits,
                                     .table = bits <= 8 ? GrayTable(1 << bits) : std::vector<uint8_t>{},
                                     .pixels = pixels}),
                           {.top = 1, .left = 1, .bottom = 2, .right = 2});
    ASSERT_TRUE(record) << bits;
    std::vector<int> got;
    for (int y = 0; y < 2; ++y) {
      for (int x = 0; x < 2; ++x) got.push_back(ColorAt(*record, x, y).g);
    }
    EXPECT_EQ(got, (std::vector<int>{6, 7, 10, 11})) << bits;
  }
}

TEST(LoadBMP, SixteenAndThirtyTwoBitsBecomeTwentyFour) {
  struct Case {
    const char* name;
    BmpSpec spec;
    Rgb first;
  };
  const Case cases[] = {
      {"16 bits default 5-5-5", {.width = 1, .height = 1, .bits = 16, .pixels = {0x1F, 0x7C, 0, 0}},
       {255, 0, 255}},
      {"16 bits 5-6-5 masks after a 40-byte header",
       {.width = 1, .height = 1, .bits = 16, .compression = 3,
        .masks = {0xF800, 0x07E0, 0x001F}, .pixels = {0xE0, 0x07, 0, 0}},
       {0, 255, 0}},
      {"16 bits 5-6-5 middle value", {.width = 1, .height = 1, .bits = 16, .compression = 3,
                                      .masks = {0xF800, 0x07E0, 0x001F}, .pixels = {0x10, 0x84, 0, 0}},
       {132, 130, 132}},
      {"32 bits default x8-8-8", {.width = 1, .height = 1, .bits = 32, .pixels = {1, 2, 3, 0xFF}},
       {3, 2, 1}},
      {"32 bits masks in a V5 header",
       {.headerSize = 124, .width = 1, .height = 1, .bits = 32, .compression = 3,
        .masks = {0x000000FF, 0x0000FF00, 0x00FF0000}, .pixels = {1, 2, 3, 0}},
       {1, 2, 3}},
  };
  for (const Case& c : cases) {
    auto record = LoadData(BuildBmp(c.spec));
    ASSERT_TRUE(record) << c.name;
    EXPECT_EQ(record->bitsPerPixel, 24) << c.name;
    EXPECT_EQ(ColorAt(*record, 0, 0), c.first) << c.name;
  }
}

TEST(LoadBMP, Rle8RunsAbsoluteRunsDeltasAndEnd) {
  // 6 x 4, bottom line first: a run, an odd absolute run with its pad byte, a delta that skips
  // a line and two columns, then the end of the bitmap.
  const std::vector<uint8_t> code = {
      3, 7, 0, 3, 1, 2, 3, 0,  // line 0: 7 7 7 1 2 3
      0, 0,                    // end of line
      0, 2, 2, 2,              // delta from line 1: right 2, up 2 -> line 3 column 2
      2, 9,                    // line 3: _ _ 9 9
      0, 1};                   // end of bitmap
  auto record = LoadData(BuildBmp({.width = 6, .height = 4, .bits = 8, .compression = 1,
                                   .table = GrayTable(256), .pixels = code}));
  ASSERT_TRUE(record);
  EXPECT_EQ(record->subtype, kSubWindowsRLE8);
  EXPECT_EQ(Indices(*record), (std::vector<int>{0, 0, 9, 9, 0, 0,  //
                                                0, 0, 0, 0, 0, 0,  //
                                                0, 0, 0, 0, 0, 0,  //
                                                7, 7, 7, 1, 2, 3}));
}

TEST(LoadBMP, RleRunsAndDeltasAreClippedToTheImage) {
  const std::vector<uint8_t> code = {
      255, 5,              // a run far longer than the 4-pixel row
      0, 5, 1, 2, 3, 4, 6, 0,  // an absolute run longer than the row
      0, 0,
      0, 2, 200, 0,        // a delta far to the right
      1, 8,
      0, 2, 0, 200,        // a delta far above the image
      1, 9, 0, 0};
  auto record = LoadData(BuildBmp({.width = 4, .height = 2, .bits = 8, .compression = 1,
                                   .table = GrayTable(256), .pixels = code}));
  ASSERT_TRUE(record);
  EXPECT_EQ(Indices(*record), (std::vector<int>{0, 0, 0, 0, 5, 5, 5, 5}));
}

TEST(LoadBMP, Rle4AlternatesNibbles) {
  const std::vector<uint8_t> code = {
      5, 0x12,                 // 1 2 1 2 1
      0, 0,
      0, 3, 0xAB, 0xC0,        // absolute: A B C (two bytes, even)
      2, 0x40,                 // 4 0
      0, 1};
  auto record = LoadData(BuildBmp({.width = 5, .height = 2, .bits = 4, .compression = 2,
                                   .table = GrayTable(16), .pixels = code}));
  ASSERT_TRUE(record);
  EXPECT_EQ(record->subtype, kSubWindowsRLE4);
  EXPECT_EQ(Indices(*record), (std::vector<int>{10, 11, 12, 4, 0, 1, 2, 1, 2, 1}));
}

TEST(LoadBMP, RleCropDropsColumnsAndStopsAboveTheCrop) {
  const std::vector<uint8_t> code = {0, 4, 1, 2, 3, 4, 0, 0, 0, 4, 5, 6, 7, 8, 0, 0,
                                     0, 4, 9, 9, 9, 9, 0, 1};
  auto record = LoadData(BuildBmp({.width = 4, .height = 3, .bits = 8, .compression = 1,
                                   .table = GrayTable(256), .pixels = code}),
                         {.top = 1, .left = 1, .bottom = 2, .right = 2});
  ASSERT_TRUE(record);
  EXPECT_EQ(Indices(*record), (std::vector<int>{6, 7, 2, 3}));
}

TEST(LoadBMP, OtherCompressionsGiveABlankImageOfTheRightSize) {
  auto record = LoadData(BuildBmp({.width = 3, .height = 2, .bits = 8, .compression = 3,
                                   .table = GrayTable(256), .pixels = {1, 1, 1, 0, 1, 1, 1, 0}}));
  ASSERT_TRUE(record);
  EXPECT_EQ(record->subtype, kSubWindows3);
  EXPECT_EQ(Indices(*record), (std::vector<int>(6, 0)));
}

TEST(LoadBMP, TruncatedPixelsKeepTheRowsRead) {
  auto bytes = BuildBmp({.width = 2, .height = 3, .bits = 8, .table = GrayTable(256),
                         .pixels = {1, 1, 0, 0, 2, 2, 0, 0, 3, 3, 0, 0}});
  bytes.resize(bytes.size() - 6);  // the top row and half the middle one are gone
  auto record = LoadData(bytes);
  ASSERT_TRUE(record);
  EXPECT_EQ(Indices(*record), (std::vector<int>{0, 0, 0, 0, 1, 1}));
}

TEST(LoadBMP, HeadersNoReaderCanTrustAreRefusedWithError72) {
  testing::ReportCollector collector;
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* detail;
  };
  auto badSize = BuildBmp({.width = 1, .height = 1, .bits = 8, .table = GrayTable(256),
                           .pixels = {0, 0, 0, 0}});
  PutU32LE(badSize.data() + 14, 20);
  const Case cases[] = {
      {"header size 20", badSize, "biSize"},
      {"2 bits per pixel", BuildBmp({.width = 1, .height = 1, .bits = 2, .pixels = {0, 0, 0, 0}}),
       "biBitCount"},
      {"zero width", BuildBmp({.width = 0, .height = 1, .bits = 8}), "size"},
      {"2^31 x 2^31", BuildBmp({.width = 0x7FFFFFFF, .height = 0x7FFFFFFF, .bits = 24}), "size"},
      {"height of INT_MIN", BuildBmp({.width = 1, .height = INT32_MIN, .bits = 24}), "size"},
      {"65536 x 65536 (wraps 32-bit sizes)", BuildBmp({.width = 65536, .height = 65536, .bits = 8}),
       "size"},
      {"pixel data past the end", BuildBmp({.width = 1, .height = 1, .bits = 24,
                                            .pixels = {1, 2, 3, 0}, .dataOffset = 5000}),
       "offset"},
  };
  for (const Case& c : cases) {
    collector.reports.clear();
    EXPECT_EQ(LoadData(c.bytes), nullptr) << c.name;
    EXPECT_EQ(collector.reports, (std::vector<testing::Report>{{72, kLoadBMP, c.detail}}))
        << c.name;
  }
}

TEST(LoadBMP, ACropOutsideTheImageGivesNoImageAndNoMessage) {
  testing::ReportCollector collector;
  auto bytes = BuildBmp({.width = 2, .height = 2, .bits = 8, .table = GrayTable(256),
                         .pixels = std::vector<uint8_t>(8, 1)});
  EXPECT_EQ(LoadData(bytes, {.top = 2}), nullptr);
  EXPECT_TRUE(collector.reports.empty());
}

// ---- The device-dependent-bitmap path of ReadBMP ----

std::unique_ptr<ImageRecord> LoadBitmap(const std::vector<uint8_t>& bytes) {
  return ReadBMP("DATA", bytes, 0, static_cast<int64_t>(bytes.size()), "bitmap", 3, 4);
}

TEST(ReadBMP, KeepsTheRowsAsTheyStandForTheBitmap) {
  auto bytes = BuildBmp({.width = 3, .height = 2, .bits = 4, .table = GrayTable(16),
                         .pixels = {0x12, 0x30, 0, 0, 0x45, 0x60, 0, 0}});
  auto record = LoadBitmap(bytes);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->subtype, kSubBitmap);
  EXPECT_EQ(record->bitsPerPixel, 4);
  EXPECT_EQ(record->stride, 4u);
  EXPECT_EQ(record->placementRect.left, 4);
  EXPECT_EQ(record->placementRect.bottom, 4);
  ASSERT_EQ(record->pixels.size(), 40u + 64 + 8);
  EXPECT_EQ(GetU32LE(record->pixels.data()), 40u);
  EXPECT_EQ(GetU16LE(record->pixels.data() + 14), 4u);
  EXPECT_EQ(record->pixels[40 + 4 * 15], 15) << "the table of a Windows header is kept";
  EXPECT_EQ(record->pixels[104], 0x12) << "first file row first, as it stands";
  EXPECT_EQ(record->pixels[108], 0x45);
}

TEST(ReadBMP, OS2HeaderIsWidenedWithoutItsTable) {
  auto bytes = BuildBmp({.headerSize = 12, .width = 2, .height = 1, .bits = 8,
                         .table = std::vector<uint8_t>(768, 0x77), .pixels = {5, 6, 0, 0}});
  auto record = LoadBitmap(bytes);
  ASSERT_TRUE(record);
  EXPECT_EQ(GetU32LE(record->pixels.data()), 40u);
  EXPECT_EQ(GetI32LE(record->pixels.data() + 4), 2);
  EXPECT_EQ(record->pixels[40], 0);
  EXPECT_EQ(record->pixels[40 + 1024], 5);
}

TEST(ReadBMP, SizeChecksOfTheBitmapPath) {
  testing::ReportCollector collector;
  auto good = BuildBmp({.width = 2, .height = 2, .bits = 24, .pixels = std::vector<uint8_t>(16, 1)});
  auto smallSize = good;
  PutU32LE(smallSize.data() + 2, 14 + 15);  // file size field below stride x height
  auto shortFile = good;
  shortFile.resize(shortFile.size() - 1);  // the size field is right, the bytes are not there
  auto badOffset = good;
  PutU32LE(badOffset.data() + 10, 20);      // pixels inside the header
  auto farOffset = good;
  PutU32LE(farOffset.data() + 10, 0x20000076);  // found by fuzzing: 512 MiB asked for 70 bytes
  auto rle = BuildBmp({.width = 2, .height = 1, .bits = 8, .compression = 1,
                       .table = GrayTable(256), .pixels = {2, 1, 0, 1}});
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    std::vector<testing::Report> reports;
  };
  const Case cases[] = {
      {"fSize field too small", smallSize, {{72, kLoadBMP, "fSize"}}},
      {"fewer bytes than the size field says", shortFile, {{72, kLoadBMP, "fSize"}}},
      {"data offset inside the header", badOffset, {{72, kLoadBMP, "offset"}}},
      {"data offset far past the bytes there", farOffset, {{72, kLoadBMP, "fSize"}}},
      {"compressed files make no bitmap", rle, {}},
  };
  for (const Case& c : cases) {
    collector.reports.clear();
    EXPECT_EQ(LoadBitmap(c.bytes), nullptr) << c.name;
    EXPECT_EQ(collector.reports, c.reports) << c.name;
  }
  EXPECT_TRUE(LoadBitmap(good));
}

TEST(ReadBMP, PixelsRightAfterTheHeaderMeanNoColourTable) {
  // Found by fuzzing: a 4-bit file whose data offset equals the table offset once made the
  // bitmap path copy 16 table entries that were not in the block it had read.
  auto bytes = BuildBmp({.headerSize = 56, .width = 3, .height = 2, .bits = 4,
                         .pixels = {0x12, 0x30, 0, 0, 0x45, 0x60, 0, 0}});
  auto record = LoadBitmap(bytes);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->pixels[40], 0);
  EXPECT_EQ(record->pixels[40 + 64], 0x12);
  auto dib = LoadData(bytes);
  ASSERT_TRUE(dib);
  EXPECT_EQ(Indices(*dib), (std::vector<int>{4, 5, 6, 1, 2, 3}));
  EXPECT_EQ(ColorAt(*dib, 0, 0), (Rgb{0, 0, 0}));
}

}  // namespace
}  // namespace tavik
