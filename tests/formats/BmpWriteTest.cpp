#include "BmpRle.h"
#include "ByteOrder.h"
#include "DibWriterFeed.h"
#include "ImageLimits.h"
#include "ImageWriter.h"
#include "LoadHelpers.h"
#include "SaveFormats.h"

#include <gtest/gtest.h>

#include <random>

namespace tavik {
namespace {

using testing::LoadData;

// A DIB whose pixels come from a seeded generator, with runs mixed in so both RLE codings show.
PackedDib MakeDib(int32_t width, int32_t height, int bits, unsigned seed) {
  PackedDib dib = *AllocateDib(width, height, bits, bits <= 8 ? 1 << bits : 0);
  std::mt19937 random(seed);
  for (int i = 0; bits <= 8 && i < (1 << bits); ++i) {
    for (int k = 0; k < 3; ++k) dib[40 + 4 * i + k] = static_cast<uint8_t>(random());
  }
  const int64_t used = DibStride(width, bits).value();
  for (int32_t row = 0; row < height; ++row) {
    uint8_t* p = DIBRow(std::span<uint8_t>(dib), row);
    uint8_t value = 0;
    for (int64_t i = 0; i < used; ++i) {
      if (random() % 3 != 0) value = static_cast<uint8_t>(random());
      p[i] = value;
    }
  }
  // Bits past the last pixel of a row are padding and do not round-trip.
  const int64_t bitsUsed = int64_t{width} * bits;
  for (int32_t row = 0; row < height; ++row) {
    uint8_t* p = DIBRow(std::span<uint8_t>(dib), row);
    for (int64_t bit = bitsUsed; bit < used * 8; ++bit) p[bit / 8] &= ~(0x80 >> (bit % 8));
  }
  return dib;
}

std::vector<Rgb> Colors(const ImageRecord& r) {
  std::vector<Rgb> out;
  for (int32_t y = 0; y < DIBPixelHeight(r.pixels); ++y) {
    for (int32_t x = 0; x < DIBPixelWidth(r.pixels); ++x) out.push_back(testing::ColorAt(r, x, y));
  }
  return out;
}

std::vector<Rgb> Colors(const PackedDib& dib) {
  std::vector<Rgb> out;
  for (int32_t y = DIBPixelHeight(dib) - 1; y >= 0; --y) {
    for (int32_t x = 0; x < DIBPixelWidth(dib); ++x) out.push_back(DIBPixelColor(dib, x, y));
  }
  return out;
}

struct RoundTrip {
  const char* name;
  int subtype;
  int bits;
  int expectSubtype;
};

TEST(BmpWriters, EveryWriterReadsBackToTheSamePixels) {
  const RoundTrip cases[] = {
      {"Windows 1", kSubUncompressed, 1, kSubWindowsRGB},
      {"Windows 4", kSubUncompressed, 4, kSubWindowsRGB},
      {"Windows 8", kSubUncompressed, 8, kSubWindowsRGB},
      {"Windows 24", kSubUncompressed, 24, kSubWindowsRGB},
      {"OS/2 1", kSubOS2, 1, kSubOS2},
      {"OS/2 4", kSubOS2, 4, kSubOS2},
      {"OS/2 8", kSubOS2, 8, kSubOS2},
      {"OS/2 24", kSubOS2, 24, kSubOS2},
      {"RLE 4", kSubRLE, 4, kSubWindowsRLE4},
      {"RLE 8", kSubRLE, 8, kSubWindowsRLE8},
  };
  for (const RoundTrip& c : cases) {
    for (int32_t width : {1, 2, 3, 7, 33, 300}) {
      PackedDib dib = MakeDib(width, 5, c.bits, static_cast<unsigned>(width * 31 + c.bits));
      MemorySink sink;
      ASSERT_EQ(WriteDibUnscaled(dib, kFamilyBMP, c.subtype, c.bits, sink), 0) << c.name;
      auto record = LoadData(sink.bytes);
      ASSERT_TRUE(record) << c.name << " width " << width;
      EXPECT_EQ(record->subtype, c.expectSubtype) << c.name;
      EXPECT_EQ(Colors(*record), Colors(dib)) << c.name << " width " << width;
    }
  }
}

TEST(BmpWriters, TwentyFourBitLayoutPutsPixelsAt58And29) {
  PackedDib dib = MakeDib(3, 2, 24, 7);
  for (auto [subtype, offset] : {std::pair{kSubUncompressed, 58u}, std::pair{kSubOS2, 29u}}) {
    MemorySink sink;
    ASSERT_EQ(WriteDibUnscaled(dib, kFamilyBMP, subtype, 24, sink), 0);
    EXPECT_EQ(GetU32LE(sink.bytes.data() + 10), offset);
    EXPECT_EQ(GetU32LE(sink.bytes.data() + 2), offset + 2 * 12);
    EXPECT_EQ(sink.bytes.size(), offset + 2 * 12);
    // The first file row is the bottom row, blue-green-red as in the DIB.
    EXPECT_EQ(sink.bytes[offset], DIBRow(std::span<const uint8_t>(dib), 0)[0]);
  }
}

TEST(BmpWriters, WindowsHeaderFieldsAsWritten) {
  MemorySink sink;
  ASSERT_EQ(WriteDibUnscaled(MakeDib(5, 3, 4, 1), kFamilyBMP, kSubUncompressed, 4, sink), 0);
  const uint8_t* p = sink.bytes.data();
  EXPECT_EQ(p[0], 'B');
  EXPECT_EQ(p[1], 'M');
  EXPECT_EQ(GetU32LE(p + 10), 14u + 40 + 64);
  EXPECT_EQ(GetU32LE(p + 14), 40u);
  EXPECT_EQ(GetI32LE(p + 18), 5);
  EXPECT_EQ(GetI32LE(p + 22), 3);
  EXPECT_EQ(GetU16LE(p + 26), 1u);
  EXPECT_EQ(GetU16LE(p + 28), 4u);
  for (int i = 30; i < 54; ++i) EXPECT_EQ(p[i], 0) << "offset " << i;
}

TEST(BmpWriters, BitBltVariantWritesTheTopRowFirstUnderAPositiveHeight) {
  PackedDib dib = MakeDib(4, 3, 8, 3);
  MemorySink sink;
  ASSERT_EQ(WriteDibUnscaled(dib, kFamilyBMP, kSubBitmap, 8, sink), 0);
  EXPECT_GT(GetI32LE(sink.bytes.data() + 22), 0);
  auto record = ReadBMP("DATA", sink.bytes, 0, static_cast<int64_t>(sink.bytes.size()), "b", 0, 0);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->subtype, kSubBitmap);
  // The bitmap's first row is the image's top row: the order the display driver wants.
  const uint8_t* firstRow = record->pixels.data() + 40 + 1024;
  const uint8_t* top = DIBRow(std::span<const uint8_t>(dib), 2);
  EXPECT_EQ(std::vector<uint8_t>(firstRow, firstRow + 4), std::vector<uint8_t>(top, top + 4));
}

TEST(BmpWriters, IndicesAreWidenedWhenTheTypeNeedsMoreBits) {
  PackedDib dib = MakeDib(9, 2, 1, 5);
  MemorySink sink;
  ASSERT_EQ(WriteDibUnscaled(dib, kFamilyBMP, kSubRLE, 4, sink), 0);
  auto record = LoadData(sink.bytes);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->bitsPerPixel, 4);
  EXPECT_EQ(Colors(*record), Colors(dib));
  EXPECT_EQ(WriteDibUnscaled(MakeDib(2, 2, 24, 1), kFamilyBMP, kSubRLE, 8, sink), 112)
      << "reducing colours is the save engine's work";
}

TEST(Rle8Encoder, RunsAbsoluteRunsAndPadding) {
  struct Case {
    const char* name;
    std::vector<uint8_t> row;
    std::vector<uint8_t> code;
  };
  std::vector<uint8_t> longRun(300, 7);
  std::vector<uint8_t> ramp(260);
  for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<uint8_t>(i);
  const Case cases[] = {
      {"300 equal bytes: 255 then 45", longRun, {255, 7, 45, 7}},
      {"odd absolute run gets a pad byte", {1, 2, 3}, {0, 3, 1, 2, 3, 0}},
      {"even absolute run has none", {1, 2, 3, 4}, {0, 4, 1, 2, 3, 4}},
      {"one or two lone bytes are single runs", {1, 2, 2}, {1, 1, 2, 2}},
      {"two lone bytes at the end", {5, 5, 5, 1, 2}, {3, 5, 1, 1, 1, 2}},
      {"a single byte", {9}, {1, 9}},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> code;
    EncodeRle8Row(c.row, code);
    EXPECT_EQ(code, c.code) << c.name;
  }
  std::vector<uint8_t> code;
  EncodeRle8Row(ramp, code);
  // 260 different bytes: an absolute run of 255 (254 plus one taken in, then a pad), then 5.
  std::vector<uint8_t> want = {0, 255};
  want.insert(want.end(), ramp.begin(), ramp.begin() + 255);
  want.push_back(0);
  want.insert(want.end(), {0, 5, 255, 0, 1, 2, 3, 0});
  EXPECT_EQ(code, want);
}

TEST(RleWriters, EndPatchesFileAndImageSize) {
  for (int bits : {4, 8}) {
    MemorySink sink;
    ASSERT_EQ(WriteDibUnscaled(MakeDib(10, 4, bits, 9), kFamilyBMP, kSubRLE, bits, sink), 0);
    const uint32_t headerBytes = 54 + 4 * (1u << bits);
    EXPECT_EQ(GetU32LE(sink.bytes.data() + 2), sink.bytes.size()) << bits;
    EXPECT_EQ(GetU32LE(sink.bytes.data() + 34), sink.bytes.size() - headerBytes) << bits;
    EXPECT_EQ(GetU32LE(sink.bytes.data() + 30), bits == 4 ? 2u : 1u);
    EXPECT_EQ(sink.bytes.size() % 2, 0u) << "every code is an even number of bytes";
    EXPECT_EQ(sink.bytes[sink.bytes.size() - 2], 0);
    EXPECT_EQ(sink.bytes.back(), 1) << "end of bitmap after the last row";
  }
}

// A sink that takes only so many bytes, to show a short write becomes error 84.
class FullDisk final : public OutputSink {
public:
  explicit FullDisk(size_t room) : room_(room) {}
  bool Write(std::span<const uint8_t> bytes) override {
    if (bytes.size() > room_) return false;
    room_ -= bytes.size();
    return true;
  }
  bool WriteAt(uint64_t, std::span<const uint8_t>) override { return true; }

private:
  size_t room_;
};

TEST(BmpWriters, ShortWritesAreError84) {
  const PackedDib dib = MakeDib(30, 8, 8, 2);
  for (int subtype : {kSubUncompressed, kSubOS2, kSubRLE}) {
    MemorySink whole;
    ASSERT_EQ(WriteDibUnscaled(dib, kFamilyBMP, subtype, 8, whole), 0);
    // Short at once, inside the header, and by one byte in the last row.
    for (size_t room : {size_t{0}, size_t{60}, whole.bytes.size() - 1}) {
      FullDisk disk(room);
      EXPECT_EQ(WriteDibUnscaled(dib, kFamilyBMP, subtype, 8, disk), 84)
          << subtype << " room " << room;
    }
  }
}

TEST(SaveFormatFromName, NamesAndFamilies) {
  struct Case { const char* name; int family; int subtype; };
  for (Case c : {Case{"BMP", kFamilyBMP, kSubUncompressed}, Case{"bmp.rle", kFamilyBMP, kSubRLE},
                 Case{"BMP.OS2", kFamilyBMP, kSubOS2}, Case{"Bmp.Bitmap", kFamilyBMP, kSubBitmap},
                 Case{"tif.lzw", kFamilyTIFF, kSubLZW}, Case{"TIFF", kFamilyTIFF, kSubUncompressed},
                 Case{"GIF", kFamilyGIF, kSub87a}, Case{"ras.rle", kFamilyRAS, kSubRasRLE}}) {
    auto format = SaveFormatFromName(c.name);
    ASSERT_TRUE(format) << c.name;
    EXPECT_EQ(format->family, c.family) << c.name;
    EXPECT_EQ(format->subtype, c.subtype) << c.name;
  }
  for (const char* refused : {"", "TI", "TIF.ZIP", "XYZ", "BMP."}) {
    EXPECT_FALSE(SaveFormatFromName(refused)) << refused;
  }
}

TEST(ChooseSaveDepth, AllowedDepthStaysOtherwiseTheNearest) {
  EXPECT_EQ(ChooseSaveDepth(kFamilyBMP, kSubUncompressed, -1, 24), 24);
  EXPECT_EQ(ChooseSaveDepth(kFamilyBMP, kSubRLE, -1, 1), 4);
  EXPECT_EQ(ChooseSaveDepth(kFamilyBMP, kSubRLE, 24, 1), 8);
  EXPECT_EQ(ChooseSaveDepth(kFamilyBMP, kSubBitmap, 6, 1), 4) << "a tie keeps the earlier depth";
  EXPECT_EQ(ChooseSaveDepth(kFamilyBMP, 99, 8, 8), 8) << "unknown subtype: the family's first type";
  EXPECT_EQ(ChooseSaveDepth(kFamilyWMF, 1, 8, 8), 0);
}

}  // namespace
}  // namespace tavik
