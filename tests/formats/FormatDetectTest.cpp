#include "FormatDetect.h"
#include "ImageRecord.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace tavik {
namespace {

// n bytes of 0x55 (a value no test looks for) with the listed bytes put in place.
std::vector<uint8_t> Head(size_t n, std::initializer_list<std::pair<size_t, std::string>> at) {
  std::vector<uint8_t> b(n, 0x55);
  for (const auto& [offset, text] : at) {
    for (size_t i = 0; i < text.size() && offset + i < n; ++i) b[offset + i] = uint8_t(text[i]);
  }
  return b;
}

std::vector<uint8_t> Msp(size_t n, bool goodChecksum) {
  auto b = Head(n, {{0, "LinS"}});
  uint16_t sum = 0;
  for (size_t i = 0; i <= 22; i += 2) sum ^= uint16_t(b[i] | b[i + 1] << 8);
  if (!goodChecksum) sum ^= 1;
  b[24] = uint8_t(sum);
  b[25] = uint8_t(sum >> 8);
  return b;
}

std::vector<uint8_t> PlaceableWmf(bool goodChecksum) {
  auto b = Head(30, {{0, std::string("\xD7\xCD\xC6\x9A", 4)}});
  uint16_t sum = 0;
  for (size_t i = 0; i <= 18; i += 2) sum ^= uint16_t(b[i] | b[i + 1] << 8);
  if (!goodChecksum) sum ^= 1;
  b[20] = uint8_t(sum);
  b[21] = uint8_t(sum >> 8);
  return b;
}

std::vector<uint8_t> Tga(uint8_t colorMap, uint8_t type, uint8_t depth, uint8_t descriptor) {
  auto b = Head(40, {});
  b[1] = colorMap, b[2] = type, b[16] = depth, b[17] = descriptor;
  b[12] = 10, b[13] = 0, b[14] = 10, b[15] = 0;
  return b;
}

struct DetectCase {
  const char* name;
  std::vector<uint8_t> head;
  int family;
};

const std::string kJfif("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10);

TEST(DetectFormat, EveryTestOfTheTableAndItsBounds) {
  const DetectCase cases[] = {
      {"PCX", Head(129, {{0, "\x0A\x05\x01\x08"}}), kFamilyPCX},
      {"PCX needs more than 128 bytes", Head(128, {{0, "\x0A\x05\x01\x08"}}), kFamilyUndefined},
      {"PCX depth 3 is not PCX", Head(129, {{0, "\x0A\x05\x01\x03"}}), kFamilyUndefined},
      {"GIF89a", Head(9, {{0, "GIF89a"}}), kFamilyGIF},
      {"GIF87a", Head(9, {{0, "GIF87a"}}), kFamilyGIF},
      {"GIF needs 9 bytes", Head(8, {{0, "GIF89a"}}), kFamilyUndefined},
      {"GIF88a is not GIF", Head(20, {{0, "GIF88a"}}), kFamilyUndefined},
      {"GGC", Head(9, {{4, "\x03"}, {6, "GC"}}), kFamilyGGC},
      {"MacBinary PNTG", Head(69, {{65, "PNTG"}}), kFamilyMAC},
      {"GEM IMG", Head(7, {{0, std::string("\x00\x01\x00\x08\x00\x01", 6)}}), kFamilyIMG},
      {"TIFF II", Head(5, {{0, "II*"}}), kFamilyTIFF},
      {"TIFF MM ignores b[2]", Head(5, {{0, "MM\x7F*"}}), kFamilyTIFF},
      {"TIFF MM with 0x2A at b[2] only", Head(5, {{0, "MM*\x7F"}}), kFamilyUndefined},
      {"BMP", Head(14, {{0, "BM"}}), kFamilyBMP},
      {"BMP needs 14 bytes", Head(13, {{0, "BM"}}), kFamilyUndefined},
      {"TGA colour-mapped", Tga(1, 1, 8, 0x20), kFamilyTGA},
      {"TGA gray RLE", Tga(0, 11, 8, 0x00), kFamilyTGA},
      {"TGA true colour", Tga(0, 10, 24, 0x21), kFamilyTGA},
      {"TGA bad descriptor", Tga(0, 2, 24, 0x08), kFamilyUndefined},
      {"MSP", Msp(32, true), kFamilyMSP},
      {"MSP with a wrong checksum", Msp(32, false), kFamilyUndefined},
      {"MSP of exactly 26 bytes", Msp(26, true), kFamilyMSP},
      {"WPG", Head(10, {{0, "\xFFWPC"}, {9, "\x16"}}), kFamilyWPG},
      {"PIC", Head(17, {{0, "\x34\x12"}, {10, "\x08\xFF"}, {15, std::string("\x00\x03", 2)}}),
       kFamilyPIC},
      {"placeable WMF", PlaceableWmf(true), kFamilyWMF},
      {"placeable WMF with a wrong checksum", PlaceableWmf(false), kFamilyUndefined},
      {"JFIF", Head(11, {{0, kJfif}}), kFamilyJPG},
      {"JFIF at 42", Head(53, {{42, kJfif}}), kFamilyJPG},
      {"Sun raster", Head(5, {{0, "\x59\xA6\x6A\x95"}}), kFamilyRAS},
      {"Sun raster swapped", Head(5, {{0, "\x95\x6A\xA6\x59"}}), kFamilyRAS},
      {"X11", Head(8, {{0, "#define"}}), kFamilyX11},
      {"JPEG without JFIF", Head(11, {{0, "\xFF\xD8\xFF\xE1"}}), kFamilyJPG},
      {"EMF", Head(45, {{40, " EMF"}}), kFamilyWMF},
      {"EMF needs 45 bytes", Head(44, {{40, " EMF"}}), kFamilyUndefined},
      {"nothing", Head(200, {}), kFamilyUndefined},
      {"empty", {}, kFamilyUndefined},
      // Order: a GIF signature wins over a JPEG one further in; a BMP over a TGA look-alike.
      {"GIF before JFIF at 42", Head(60, {{0, "GIF89a"}, {42, kJfif}}), kFamilyGIF},
      {"BMP before TGA", [] { auto b = Tga(0, 2, 24, 0); b[0] = 'B', b[1] = 'M'; return b; }(),
       kFamilyBMP},
  };
  for (const DetectCase& c : cases) {
    EXPECT_EQ(DetectFormat(c.head), c.family) << c.name;
  }
}

TEST(DetectFormat, ShortHeadsNeverReadPastTheirEnd) {
  // Under ASan each prefix is its own allocation, so a read past n is caught.
  const auto full = Msp(32, true);
  for (size_t n = 0; n <= full.size(); ++n) {
    std::vector<uint8_t> prefix(full.begin(), full.begin() + n);
    DetectFormat(prefix);
  }
  const auto wmf = PlaceableWmf(true);
  for (size_t n = 0; n <= wmf.size(); ++n) {
    std::vector<uint8_t> prefix(wmf.begin(), wmf.begin() + n);
    EXPECT_EQ(DetectFormat(prefix), n >= 22 ? kFamilyWMF : kFamilyUndefined) << n;
  }
}

}  // namespace
}  // namespace tavik
