// Loading test bytes through ReadDib as a "DATA" source, and reading pixels back out.
#pragma once

#include "Dib.h"
#include "ReadDib.h"

#include <vector>

namespace tavik::testing {

struct Crop {
  int32_t top = -1, left = -1, bottom = -1, right = -1;
};

inline std::unique_ptr<ImageRecord> LoadData(const std::vector<uint8_t>& bytes, Crop crop = {},
                                             uint32_t flags = 0) {
  ReadRequest request;
  request.kind = "DATA";
  request.data = bytes;
  request.size = static_cast<int64_t>(bytes.size());
  request.name = "test data";
  request.displayFlags = flags;
  request.cropTop = crop.top;
  request.cropLeft = crop.left;
  request.cropBottom = crop.bottom;
  request.cropRight = crop.right;
  return ReadDib(std::move(request));
}

// Palette index (1/4/8 bits) of pixel x of image row y, row 0 at the top.
inline int IndexAt(const ImageRecord& r, int32_t x, int32_t y) {
  const int bits = r.bitsPerPixel;
  const uint8_t* row = DIBRow(std::span<const uint8_t>(r.pixels), DIBPixelHeight(r.pixels) - 1 - y);
  const int perByte = 8 / bits;
  return (row[x / perByte] >> ((perByte - 1 - x % perByte) * bits)) & ((1 << bits) - 1);
}

inline Rgb ColorAt(const ImageRecord& r, int32_t x, int32_t y) {
  return DIBPixelColor(r.pixels, x, DIBPixelHeight(r.pixels) - 1 - y);
}

// All indices of the image, top row first.
inline std::vector<int> Indices(const ImageRecord& r) {
  std::vector<int> out;
  for (int32_t y = 0; y < DIBPixelHeight(r.pixels); ++y) {
    for (int32_t x = 0; x < DIBPixelWidth(r.pixels); ++x) out.push_back(IndexAt(r, x, y));
  }
  return out;
}

}  // namespace tavik::testing
