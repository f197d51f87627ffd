#include "Scale.h"

#include "ErrorReport.h"
#include "ImageLimits.h"
#include "ImageRecord.h"
#include "ImagingErrors.h"
#include "PixelIndex.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tavik {
namespace {

void ScaleRow(const uint8_t* in, uint8_t* out, int bits, const std::vector<int32_t>& from) {
  const auto width = static_cast<int32_t>(from.size());
  switch (bits) {
    case 24:
      for (int32_t j = 0; j < width; ++j) std::memcpy(out + 3 * int64_t{j}, in + 3 * int64_t{from[j]}, 3);
      break;
    case 8:
      for (int32_t j = 0; j < width; ++j) out[j] = in[from[j]];
      break;
    default:
      for (int32_t j = 0; j < width; ++j) SetPixelIndex(out, bits, j, GetPixelIndex(in, bits, from[j]));
  }
}

int32_t Percentage(int32_t size, int32_t percent) {
  return static_cast<int32_t>(std::max<int64_t>(1, int64_t{size} * percent / 100));
}

}  // namespace

std::optional<PackedDib> ScaleDib(std::span<const uint8_t> dib, int32_t width, int32_t height) {
  if (!DIBIsValid(dib)) return std::nullopt;
  const int bits = DIBBitDepth(dib);
  const int32_t w = DIBPixelWidth(dib), h = DIBPixelHeight(dib);
  const int64_t colours = bits <= 8 ? std::min<int64_t>(DIBColorCount(dib), int64_t{1} << bits) : 0;
  auto out = AllocateDib(width, height, bits, static_cast<int>(colours));
  if (!out) return std::nullopt;
  if (DIBHeaderSize(dib) == kInfoHeaderSize) {
    std::memcpy(out->data() + 32, dib.data() + 32, 8);  // biClrUsed, biClrImportant
  }
  const auto entries = static_cast<size_t>(colours);
  const int entrySize = DIBHeaderSize(dib) == kCoreHeaderSize ? 3 : 4;
  for (size_t i = 0; i < entries; ++i) {
    const uint8_t* e = dib.data() + DIBHeaderSize(dib) + i * entrySize;
    uint8_t* o = out->data() + kInfoHeaderSize + 4 * i;
    o[0] = e[0];
    o[1] = e[1];
    o[2] = e[2];
    o[3] = 0;
  }
  std::vector<int32_t> from(static_cast<size_t>(width));
  for (int32_t j = 0; j < width; ++j) from[j] = static_cast<int32_t>(int64_t{j} * w / width);
  const std::span<uint8_t> target(*out);
  const uint32_t stride = DIBStride(*out);
  int32_t lastSource = -1;
  for (int32_t j = 0; j < height; ++j) {
    const auto source = static_cast<int32_t>(int64_t{j} * h / height);
    uint8_t* row = DIBRow(target, j);
    if (source == lastSource) {
      std::memcpy(row, row - stride, stride);  // a repeated row copies the one below it
    } else {
      ScaleRow(DIBRow(dib, source), row, bits, from);
    }
    lastSource = source;
  }
  return out;
}

bool ScaleRecordByPercent(ImageRecord& record, int32_t yPercent, int32_t xPercent) {
  if ((yPercent == 100 && xPercent == 100) || yPercent < 0 || xPercent < 0) return true;
  if (!DIBIsValid(record.pixels)) return true;
  const int32_t w = DIBPixelWidth(record.pixels), h = DIBPixelHeight(record.pixels);
  const int32_t newW = Percentage(w, xPercent), newH = Percentage(h, yPercent);
  if (!ImageSizeAllowed(newW, newH)) {
    ReportError(imaging::kErrGlobalAlloc, kCreateSelDIB);
    return true;
  }
  auto scaled = ScaleDib(record.pixels, newW, newH);
  if (!scaled) {
    ReportError(imaging::kErrGlobalAlloc, kCreateSelDIB);
    return true;
  }
  record.cropTop = record.cropLeft = 0;
  record.cropBottom = newH - 1;
  record.cropRight = newW - 1;
  // A placement that followed the image's own size follows the new size.
  if (record.placementLeft == 0 && record.placementRight == w - 1) {
    record.placementRight = record.placementRect.right = newW - 1;
    record.sourceWidth = newW;
  }
  if (record.placementTop == 0 && record.placementBottom == h - 1) {
    record.placementBottom = record.placementRect.bottom = newH - 1;
    record.sourceHeight = newH;
  }
  record.pixels = std::move(*scaled);
  record.stride = DIBStride(record.pixels);
  record.bitsPerPixel = static_cast<uint16_t>(DIBBitDepth(record.pixels));
  return true;
}

}  // namespace tavik
