#include "Netpbm.h"

#include "Dib.h"

#include <string>
#include <vector>

namespace tavik {
namespace {

// ITU-R BT.601 luma weights, rounded to the nearest level.
uint8_t Gray(Rgb c) { return static_cast<uint8_t>((299 * c.r + 587 * c.g + 114 * c.b + 500) / 1000); }

std::string HeaderOf(NetpbmKind kind, int32_t width, int32_t height) {
  const std::string size = std::to_string(width) + " " + std::to_string(height) + "\n";
  switch (kind) {
    case NetpbmKind::kPbm: return "P4\n" + size;
    case NetpbmKind::kPgm: return "P5\n" + size + "255\n";
    case NetpbmKind::kPpm: return "P6\n" + size + "255\n";
    default:
      return "P7\nWIDTH " + std::to_string(width) + "\nHEIGHT " + std::to_string(height) +
             "\nDEPTH 3\nMAXVAL 255\nTUPLTYPE RGB\nENDHDR\n";
  }
}

}  // namespace

NetpbmKind NetpbmKindOf(std::string_view path) {
  auto dot = path.rfind('.');
  if (dot == std::string_view::npos) return NetpbmKind::kNone;
  std::string ext(path.substr(dot + 1));
  for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (ext == "pbm") return NetpbmKind::kPbm;
  if (ext == "pgm") return NetpbmKind::kPgm;
  if (ext == "ppm") return NetpbmKind::kPpm;
  if (ext == "pam") return NetpbmKind::kPam;
  return NetpbmKind::kNone;
}

bool WriteNetpbm(std::span<const uint8_t> dib, NetpbmKind kind, OutputSink& sink) {
  const int32_t width = DIBPixelWidth(dib), height = DIBPixelHeight(dib);
  const std::string header = HeaderOf(kind, width, height);
  if (!sink.Write({reinterpret_cast<const uint8_t*>(header.data()), header.size()})) return false;
  const size_t perPixel = kind == NetpbmKind::kPgm ? 1 : 3;
  std::vector<uint8_t> row(kind == NetpbmKind::kPbm ? (size_t(width) + 7) / 8
                                                    : size_t(width) * perPixel);
  for (int32_t y = 0; y < height; ++y) {
    std::fill(row.begin(), row.end(), 0);
    for (int32_t x = 0; x < width; ++x) {
      Rgb c = DIBPixelColor(dib, x, height - 1 - y);
      if (kind == NetpbmKind::kPbm) {
        if (Gray(c) < 128) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));  // 1 is black
      } else if (kind == NetpbmKind::kPgm) {
        row[x] = Gray(c);
      } else {
        row[3 * x] = c.r;
        row[3 * x + 1] = c.g;
        row[3 * x + 2] = c.b;
      }
    }
    if (!sink.Write(row)) return false;
  }
  return true;
}

}  // namespace tavik
