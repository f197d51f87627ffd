// Images built in code for the codec tests, written through a format's writer into memory
// and read back through ReadDib.
#pragma once

#include "Dib.h"
#include "DibWriterFeed.h"
#include "ImageWriter.h"
#include "LoadHelpers.h"
#include "PixelRows.h"
#include "Settings.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <random>
#include <vector>

namespace tavik::testing {

// tavik.ini in memory: "section/key" -> value.
class MapStore final : public ProfileStore {
public:
  std::optional<std::string> Read(std::string_view section, std::string_view key) override {
    auto it = values.find(std::string(section) + "/" + std::string(key));
    if (it == values.end()) return std::nullopt;
    return it->second;
  }
  void Write(std::string_view section, std::string_view key, std::string_view value) override {
    values[std::string(section) + "/" + std::string(key)] = std::string(value);
  }
  std::map<std::string, std::string> values;
};


// A DIB whose pixel (x, y), y from the top, is value(x, y): an index below 2^bits, or for 24
// bits a colour 0xRRGGBB. `palette` gives the colour table (red-green-blue triples).
inline PackedDib MakeDib(int32_t width, int32_t height, int bits, const std::vector<Rgb>& palette,
                         const std::function<uint32_t(int32_t, int32_t)>& value) {
  PackedDib dib = *AllocateDib(width, height, bits, bits == 24 ? 0 : static_cast<int>(palette.size()));
  if (bits != 24) {
    uint8_t* table = dib.data() + kInfoHeaderSize;
    for (size_t i = 0; i < palette.size(); ++i) {
      table[4 * i] = palette[i].b;
      table[4 * i + 1] = palette[i].g;
      table[4 * i + 2] = palette[i].r;
    }
  }
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = DIBRow(std::span<uint8_t>(dib), height - 1 - y);
    for (int32_t x = 0; x < width; ++x) {
      uint32_t v = value(x, y);
      if (bits == 24) {
        row[3 * x] = static_cast<uint8_t>(v);
        row[3 * x + 1] = static_cast<uint8_t>(v >> 8);
        row[3 * x + 2] = static_cast<uint8_t>(v >> 16);
      } else {
        OrPackedPixel(row, x, bits, static_cast<int>(v));
      }
    }
  }
  return dib;
}

inline std::vector<Rgb> GrayRamp(int n) {
  std::vector<Rgb> p;
  for (int i = 0; i < n; ++i) {
    uint8_t v = static_cast<uint8_t>(n == 1 ? 0 : i * 255 / (n - 1));
    p.push_back({v, v, v});
  }
  return p;
}

// Noise with runs: enough repetition for the coders' tables to fill and restart.
inline std::function<uint32_t(int32_t, int32_t)> Pattern(int bits, uint32_t seed) {
  return [bits, seed](int32_t x, int32_t y) -> uint32_t {
    uint32_t h = (static_cast<uint32_t>(x / 3) * 73856093u) ^ (static_cast<uint32_t>(y) * 19349663u) ^ seed;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    if (bits == 24) return h & 0xFFFFFF;
    return h & ((1u << bits) - 1);
  };
}

inline std::vector<uint8_t> WriteDib(const PackedDib& dib, int family, int subtype, int bits) {
  MemorySink sink;
  int error = WriteDibUnscaled(dib, family, subtype, bits, sink);
  if (error != 0) return {};
  return sink.bytes;
}

// Every pixel's colour, top row first.
inline std::vector<uint32_t> Colors(std::span<const uint8_t> dib) {
  std::vector<uint32_t> out;
  const int32_t h = DIBPixelHeight(dib), w = DIBPixelWidth(dib);
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      Rgb c = DIBPixelColor(dib, x, h - 1 - y);
      out.push_back(uint32_t{c.r} << 16 | uint32_t{c.g} << 8 | c.b);
    }
  }
  return out;
}

}  // namespace tavik::testing
