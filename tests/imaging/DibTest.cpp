#include "ByteOrder.h"
#include "Dib.h"

#include <gtest/gtest.h>

namespace tavik {
namespace {

TEST(AllocateDib, LayoutHasSpareRowAndRoomForTheFullTable) {
  struct Case { int32_t width, height; int bits, colors; size_t size; int64_t pixelsAt; };
  for (Case c : {Case{1, 1, 1, 2, 40 + 8 + 4 * 2, 48},
                 Case{10, 3, 4, 16, 40 + 64 + 8 * 4, 104},
                 Case{5, 2, 8, 256, 40 + 1024 + 8 * 3, 1064},
                 // GIF-style: fewer colours used; the rows follow the used entries.
                 Case{5, 2, 8, 4, 40 + 1024 + 8 * 3, 56},
                 Case{3, 2, 24, 0, 44 + 12 * 3, 40}}) {
    auto dib = AllocateDib(c.width, c.height, c.bits, c.colors);
    ASSERT_TRUE(dib) << c.bits;
    EXPECT_EQ(dib->size(), c.size) << c.bits << "/" << c.colors;
    EXPECT_EQ(DIBPixelBits(*dib), c.pixelsAt);
    EXPECT_EQ(DIBColorCount(*dib), c.colors == 0 ? 0 : c.colors);
    EXPECT_TRUE(DIBIsValid(*dib));
    EXPECT_EQ(GetU32LE(dib->data() + 24), 2835u);
    EXPECT_EQ(GetU32LE(dib->data() + 20), DIBStride(*dib) * uint32_t(c.height));
  }
}

TEST(AllocateDib, RefusesWhatCannotBeAnImage) {
  EXPECT_FALSE(AllocateDib(0, 5, 8, 256));
  EXPECT_FALSE(AllocateDib(5, 5, 16, 0));
  EXPECT_FALSE(AllocateDib(5, 5, 4, 17));
  EXPECT_FALSE(AllocateDib(70000, 70000, 24, 0));
}

TEST(FillDIBHeader, RoundsDepthUp) {
  struct Case { int in, out; };
  for (Case c : {Case{0, 1}, Case{1, 1}, Case{2, 4}, Case{4, 4}, Case{5, 8}, Case{8, 8},
                 Case{9, 24}, Case{16, 24}, Case{32, 24}}) {
    uint8_t header[40];
    std::fill(std::begin(header), std::end(header), 0xEE);
    FillDIBHeader(header, 9, 2, c.in);
    EXPECT_EQ(GetU16LE(header + 14), c.out) << c.in;
    EXPECT_EQ(GetU32LE(header), 40u);
    EXPECT_EQ(GetU16LE(header + 12), 1u);
    EXPECT_EQ(GetU32LE(header + 32), 0u) << "the rest is zeroed";
  }
}

TEST(DIBColorCount, ByHeaderKindAndDepth) {
  uint8_t info[40] = {};
  FillDIBHeader(info, 4, 4, 8);
  EXPECT_EQ(DIBColorCount(info), 256);
  PutU32LE(info + 32, 7);
  EXPECT_EQ(DIBColorCount(info), 7);
  EXPECT_EQ(DIBPaletteBytes(info), 28);
  FillDIBHeader(info, 4, 4, 24);
  EXPECT_EQ(DIBColorCount(info), 0);

  // The OS/2 core header: 16-bit sizes, three-byte entries, no colour count field.
  uint8_t core[12] = {12, 0, 0, 0, 3, 0, 2, 0, 1, 0, 4, 0};
  EXPECT_EQ(DIBHeaderSize(core), 12u);
  EXPECT_EQ(DIBPixelWidth(core), 3);
  EXPECT_EQ(DIBPixelHeight(core), 2);
  EXPECT_EQ(DIBBitDepth(core), 4);
  EXPECT_EQ(DIBColorCount(core), 16);
  EXPECT_EQ(DIBPaletteBytes(core), 48);
  EXPECT_EQ(DIBPixelBits(core), 60);
}

TEST(DIBIsValid, RefusesBlocksThatDoNotHoldTheirRows) {
  auto dib = AllocateDib(8, 8, 8, 256);
  ASSERT_TRUE(dib);
  PackedDib noSpareRow(dib->begin(), dib->end() - 8);
  EXPECT_TRUE(DIBIsValid(noSpareRow));
  PackedDib lastByteGone(dib->begin(), dib->end() - 9);
  EXPECT_FALSE(DIBIsValid(lastByteGone));
  PackedDib compressed = *dib;
  PutU32LE(compressed.data() + 16, 1);
  EXPECT_FALSE(DIBIsValid(compressed));
  PackedDib hugeTable = *dib;
  PutU32LE(hugeTable.data() + 32, 0x40000000);
  EXPECT_FALSE(DIBIsValid(hugeTable));
  EXPECT_FALSE(DIBIsValid(std::span<const uint8_t>(dib->data(), 3)));
}

TEST(DIBPixelColor, ReadsIndicesThroughTheTable) {
  auto dib = AllocateDib(3, 1, 4, 2);
  ASSERT_TRUE(dib);
  uint8_t* table = dib->data() + 40;
  table[4] = 0x30;  // entry 1: blue 0x30, green 0x20, red 0x10
  table[5] = 0x20;
  table[6] = 0x10;
  DIBRow(std::span<uint8_t>(*dib), 0)[0] = 0x10;  // pixels 1, 0
  DIBRow(std::span<uint8_t>(*dib), 0)[1] = 0x50;  // pixel 5: past the two colours
  EXPECT_EQ(DIBPixelColor(*dib, 0, 0), (Rgb{0x10, 0x20, 0x30}));
  EXPECT_EQ(DIBPixelColor(*dib, 1, 0), (Rgb{0, 0, 0}));
  EXPECT_EQ(DIBPixelColor(*dib, 2, 0), (Rgb{0, 0, 0}));
}

}  // namespace
}  // namespace tavik
