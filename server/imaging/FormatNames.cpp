#include "FormatNames.h"

#include <array>

namespace tavik {
namespace {

constexpr std::array<std::string_view, 17> kFamilyNames = {
    "Undefined", "PCX", "GGC", "GIF", "TIFF", "X11", "MAC", "IMG", "BMP",
    "TGA",       "MSP", "WPG", "PIC", "WMF",  "JPG", "RAS", "ICO",
};

constexpr std::array<std::string_view, 27> kSubtypeTexts = {
    "",
    " Uncompressed", " LZW", " PackBits", " CCITT3", " Group 3 1-D", " Group 3 2-D",
    " Group 4 1-D", " Group 4 2-D", " OS/2", " Windows 3.x", " Compressed",
    " Windows 3.x RGB", " Windows 3.x RLE8", " Windows 3.x RLE4", " Version 1.01",
    " Version 2.0", " Version 5.0", " Version 5.1", " MacBinary", " 89a", " 87a", " RLE",
    " Alice", " JFIF", " RLE", " BITMAP",
};

}  // namespace

std::string_view FormatFamilyName(int family) {
  if (family < 0 || family >= static_cast<int>(kFamilyNames.size())) return {};
  return kFamilyNames[static_cast<size_t>(family)];
}

std::string_view SubtypeText(int subtype) {
  if (subtype < 0 || subtype >= static_cast<int>(kSubtypeTexts.size())) return {};
  return kSubtypeTexts[static_cast<size_t>(subtype)];
}

std::string FormatTypeText(int family, int subtype) {
  std::string text(FormatFamilyName(family));
  text += SubtypeText(subtype);
  return text;
}

std::string ColorsText(int bitsPerPixel) {
  if (bitsPerPixel >= 1 && bitsPerPixel <= 8) return std::to_string(1 << bitsPerPixel);
  if (bitsPerPixel == 16) return "64K";
  if (bitsPerPixel == 24 || bitsPerPixel == 32) return "16 Million";
  return {};
}

}  // namespace tavik
