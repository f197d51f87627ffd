#include "Orientation.h"

#include "Dither.h"
#include "ImageRecord.h"
#include "PixelIndex.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace tavik {
namespace {

constexpr uint8_t kCorners[8][4] = {
    {0, 1, 2, 3}, {3, 2, 1, 0}, {1, 2, 3, 0}, {0, 3, 2, 1},
    {1, 0, 3, 2}, {2, 3, 0, 1}, {2, 1, 0, 3}, {3, 0, 1, 2},
};
constexpr uint32_t kFlags[8] = {0, 0x10, 0x20, 0x10 | 0x20, 0x40000, 0x10 | 0x40000,
                                0x20 | 0x40000, 0x10 | 0x20 | 0x40000};

// Corner positions on the unit square, x right and y down.
constexpr int kCornerX[4] = {0, 1, 1, 0};
constexpr int kCornerY[4] = {0, 0, 1, 1};

}  // namespace

int OrientationIndex(uint32_t flags) {
  return ((flags & 0x10) ? 1 : 0) | ((flags & 0x20) ? 2 : 0) | ((flags & 0x40000) ? 4 : 0);
}

uint32_t OrientationFlags(int k) { return k >= 0 && k < 8 ? kFlags[k] : 0; }

std::array<uint8_t, 4> CornerBytes(int k) {
  if (k < 0 || k >= 8) k = 0;
  return {kCorners[k][0], kCorners[k][1], kCorners[k][2], kCorners[k][3]};
}

std::optional<PackedDib> ReorientDib(std::span<const uint8_t> dib, std::span<const uint8_t, 4> c) {
  for (uint8_t v : c) {
    if (v > 3) return std::nullopt;
  }
  // Steps along the result's rows (dx) and down its columns (dy), in source units: both must be
  // unit steps along different axes, and the third corner must close the square.
  const int dxX = kCornerX[c[1]] - kCornerX[c[0]], dxY = kCornerY[c[1]] - kCornerY[c[0]];
  const int dyX = kCornerX[c[3]] - kCornerX[c[0]], dyY = kCornerY[c[3]] - kCornerY[c[0]];
  if (std::abs(dxX) + std::abs(dxY) != 1 || std::abs(dyX) + std::abs(dyY) != 1) return std::nullopt;
  if (dxX * dyX + dxY * dyY != 0) return std::nullopt;
  if (kCornerX[c[2]] != kCornerX[c[0]] + dxX + dyX || kCornerY[c[2]] != kCornerY[c[0]] + dxY + dyY) {
    return std::nullopt;
  }
  if (!DIBIsValid(dib)) return std::nullopt;
  const int32_t w = DIBPixelWidth(dib), h = DIBPixelHeight(dib);
  const int bits = DIBBitDepth(dib);
  const bool turned = dxX == 0;
  const int32_t outW = turned ? h : w, outH = turned ? w : h;
  const int64_t colours = bits <= 8 ? std::min<int64_t>(DIBColorCount(dib), int64_t{1} << bits) : 0;
  auto out = AllocateDib(outW, outH, bits, static_cast<int>(colours));
  if (!out) return std::nullopt;
  const int entrySize = DIBHeaderSize(dib) == kCoreHeaderSize ? 3 : 4;
  for (int64_t i = 0; i < colours; ++i) {
    std::memcpy(out->data() + kInfoHeaderSize + 4 * i, dib.data() + DIBHeaderSize(dib) + i * entrySize, 3);
  }
  // Source position (top-down) of result pixel (x, y): origin + x * dx + y * dy.
  const int32_t x0 = kCornerX[c[0]] * (w - 1), y0 = kCornerY[c[0]] * (h - 1);
  const std::span<uint8_t> target(*out);
  for (int32_t y = 0; y < outH; ++y) {
    uint8_t* o = DIBRow(target, outH - 1 - y);
    for (int32_t x = 0; x < outW; ++x) {
      const int32_t sx = x0 + x * dxX + y * dyX;
      const int32_t sy = y0 + x * dxY + y * dyY;
      const uint8_t* in = DIBRow(dib, h - 1 - sy);
      if (bits == 24) {
        std::memcpy(o + 3 * int64_t{x}, in + 3 * int64_t{sx}, 3);
      } else {
        SetPixelIndex(o, bits, x, GetPixelIndex(in, bits, sx));
      }
    }
  }
  return out;
}

void ApplyAutomaticDisplayTest(ImageRecord& record, int screenBits) {
  if (!(record.displayFlags & kFlagAutomatic)) return;
  const int bits = record.bitsPerPixel;
  if (bits == 24 ? screenBits < 15 : screenBits < bits) record.displayFlags |= kFlagDither;
  const int64_t placedW = int64_t{record.placementRight} - record.placementLeft + 1;
  const int64_t placedH = int64_t{record.placementBottom} - record.placementTop + 1;
  if (bits == 1 && (placedW < CropWidth(record) || placedH < CropHeight(record))) {
    record.displayFlags |= kFlagAntialias;
  } else {
    record.displayFlags &= ~kFlagAntialias;
  }
}

void AdoptReorientedDib(ImageRecord& record, PackedDib dib, int screenBits) {
  record.pixels = std::move(dib);
  const int32_t w = DIBPixelWidth(record.pixels), h = DIBPixelHeight(record.pixels);
  record.placementTop = record.placementLeft = 0;
  record.placementBottom = h - 1;
  record.placementRight = w - 1;
  record.placementRect = {0, 0, w - 1, h - 1};
  record.cropTop = record.cropLeft = 0;
  record.cropBottom = h - 1;
  record.cropRight = w - 1;
  record.sourceWidth = w;
  record.sourceHeight = h;
  record.colorCount = static_cast<int32_t>(DIBColorCount(record.pixels));
  record.bitsPerPixel = static_cast<uint16_t>(DIBBitDepth(record.pixels));
  record.stride = DIBStride(record.pixels);
  ApplyAutomaticDisplayTest(record, screenBits);
}

}  // namespace tavik
