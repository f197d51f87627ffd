// JPEG through libjpeg: the writer and reader together within a stated PSNR, the settings of
// both JPEG sections, the 42-byte header of subtype 23, and library errors coming back.
#include "CodecHelpers.h"
#include "FormatSettings.h"
#include "JpegCodec.h"
#include "ReportCollector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace tavik {
namespace {

using testing::Colors;
using testing::LoadData;
using testing::ReportCollector;
using testing::MapStore;

class JpegTest : public ::testing::Test {
protected:
  void SetUp() override { SetFormatSettingsStore(&store_); }
  void TearDown() override { SetFormatSettingsStore(nullptr); }

  // A smooth picture with an edge, the kind JPEG is made for.
  static PackedDib Picture() {
    return testing::MakeDib(96, 64, 24, {}, [](int32_t x, int32_t y) {
      uint32_t r = static_cast<uint32_t>(x * 255 / 95), g = static_cast<uint32_t>(y * 255 / 63);
      uint32_t b = x > 48 ? 200u : 40u;
      return r << 16 | g << 8 | b;
    });
  }
  std::vector<uint8_t> Encode(const PackedDib& dib) {
    return testing::WriteDib(dib, kFamilyJPG, kSubUncompressed, 24);
  }
  static double Psnr(std::span<const uint8_t> a, std::span<const uint8_t> b) {
    auto ca = Colors(a), cb = Colors(b);
    double sum = 0;
    for (size_t i = 0; i < ca.size(); ++i) {
      for (int shift : {0, 8, 16}) {
        double d = double((ca[i] >> shift) & 255) - double((cb[i] >> shift) & 255);
        sum += d * d;
      }
    }
    double mse = sum / (3.0 * ca.size());
    return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
  }

  MapStore store_;
};

TEST_F(JpegTest, RoundTripWithoutQuantizingIsWithin30dB) {
  store_.values["JPEG Decode/QuantizeColors"] = "OFF";
  PackedDib dib = Picture();
  auto record = LoadData(Encode(dib));
  ASSERT_TRUE(record);
  EXPECT_EQ(record->bitsPerPixel, 24);
  EXPECT_EQ(record->subtype, kSubJFIF);
  EXPECT_GT(Psnr(record->pixels, dib), 30.0);
}

TEST_F(JpegTest, QuantizedColoursFollowQColors) {
  struct Case {
    const char* qcolors;
    int bits;
    const char* written;
  } cases[] = {{"256", 8, "256"}, {"64", 8, "256"}, {"16", 4, "16"}, {"2", 1, "2"}};
  std::vector<uint8_t> file = Encode(Picture());
  for (const Case& c : cases) {
    store_.values.clear();
    store_.values["JPEG Decode/QColors"] = c.qcolors;
    auto record = LoadData(file);
    ASSERT_TRUE(record) << c.qcolors;
    EXPECT_EQ(record->bitsPerPixel, c.bits) << c.qcolors;
    EXPECT_EQ(store_.values["JPEG Decode/QColors"], c.written);
    // Quantized, the picture is still recognisably itself.
    EXPECT_GT(Psnr(record->pixels, Picture()), c.bits == 1 ? 5.0 : 20.0) << c.qcolors;
  }
}

TEST_F(JpegTest, GrayOutputWithoutQuantizingIsAnEightBitRamp) {
  store_.values["JPEG Decode/QuantizeColors"] = "OFF";
  store_.values["JPEG Decode/OutputGray"] = "ON";
  auto record = LoadData(Encode(Picture()));
  ASSERT_TRUE(record);
  EXPECT_EQ(record->bitsPerPixel, 8);
  Rgb c = testing::ColorAt(*record, 95, 63);
  EXPECT_EQ(c.r, c.g);
  EXPECT_EQ(c.g, c.b);
  EXPECT_GT(c.r, 150);
}

TEST_F(JpegTest, AFortyTwoByteHeaderMakesSubtype23) {
  store_.values["JPEG Decode/QuantizeColors"] = "OFF";
  std::vector<uint8_t> file = Encode(Picture());
  std::vector<uint8_t> alice(42 + file.size(), 0x5A);
  std::copy(file.begin(), file.end(), alice.begin() + 42);
  auto plain = LoadData(file);
  auto headed = LoadData(alice);
  ASSERT_TRUE(plain && headed);
  EXPECT_EQ(headed->subtype, kSubAlice);
  EXPECT_EQ(Colors(headed->pixels), Colors(plain->pixels));
}

TEST_F(JpegTest, QualityOutsideTheRangeIsSeventyFive) {
  std::vector<uint8_t> normal = Encode(Picture());
  store_.values["JPEG Encode/Quality"] = "150";
  EXPECT_EQ(Encode(Picture()), normal);
  store_.values["JPEG Encode/Quality"] = "20";
  EXPECT_LT(Encode(Picture()).size(), normal.size());
}

TEST_F(JpegTest, UseJpegIniOffIgnoresTheSections) {
  store_.values["Images/UseJPEGINI"] = "OFF";
  store_.values["JPEG Encode/Quality"] = "5";
  store_.values["JPEG Decode/QuantizeColors"] = "OFF";
  std::vector<uint8_t> file = Encode(Picture());
  store_.values["Images/UseJPEGINI"] = "ON";
  store_.values["JPEG Encode/Quality"] = "75";
  EXPECT_EQ(Encode(Picture()), file);
  store_.values["Images/UseJPEGINI"] = "OFF";
  auto record = LoadData(file);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->bitsPerPixel, 8);  // built-in: quantize to 256
}

TEST_F(JpegTest, ATruncatedFileStillLoads) {
  store_.values["JPEG Decode/QuantizeColors"] = "OFF";
  std::vector<uint8_t> file = Encode(Picture());
  file.resize(file.size() * 2 / 3);
  ReportCollector reports;
  auto record = LoadData(file);
  ASSERT_TRUE(record);
  EXPECT_TRUE(reports.reports.empty());
  EXPECT_GT(Psnr(record->pixels, Picture()), 0.0);
}

TEST_F(JpegTest, LibraryErrorsReportCodeOneUnderLoadJPG) {
  std::vector<uint8_t> file = Encode(Picture());
  // Wreck the frame header that follows the JFIF segment: a sample precision of 3 bits.
  for (size_t i = 2; i + 4 < file.size(); ++i) {
    if (file[i] == 0xFF && file[i + 1] == 0xC0) {
      file[i + 4] = 3;
      break;
    }
  }
  ReportCollector reports;
  EXPECT_FALSE(LoadData(file));
  EXPECT_EQ(reports.reports, (std::vector<testing::Report>{{kJpegLibraryError, kLoadJPG, ""}}));
}

}  // namespace
}  // namespace tavik
