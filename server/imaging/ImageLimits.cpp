#include "ImageLimits.h"

#include "ErrorReport.h"

#include <limits>

namespace tavik {
namespace {

int64_t gMaxImagePixels = kMaxImagePixels;

}  // namespace

int64_t MaxImagePixels() { return gMaxImagePixels; }

void SetMaxImagePixels(int64_t pixels) {
  gMaxImagePixels = pixels > 0 && pixels < kMaxImagePixels ? pixels : kMaxImagePixels;
}

std::optional<int64_t> CheckedMul(int64_t a, int64_t b) {
  if (a < 0 || b < 0) return std::nullopt;
  if (a != 0 && b > std::numeric_limits<int64_t>::max() / a) return std::nullopt;
  return a * b;
}

std::optional<int64_t> CheckedAdd(int64_t a, int64_t b) {
  if (a < 0 || b < 0) return std::nullopt;
  if (a > std::numeric_limits<int64_t>::max() - b) return std::nullopt;
  return a + b;
}

std::optional<int64_t> DibStride(int64_t width, int bits) {
  if (bits <= 0 || bits > 64) return std::nullopt;
  // Wider than any image we accept is wider than any row we read, so the bound loses nothing.
  if (width < 0 || width > (int64_t{1} << 40)) return std::nullopt;
  return (bits * width + 31) / 32 * 4;
}

std::optional<size_t> BufferSize(int64_t stride, int64_t rows, int64_t extra) {
  auto body = CheckedMul(stride, rows);
  if (!body) return std::nullopt;
  auto total = CheckedAdd(*body, extra);
  if (!total || static_cast<uint64_t>(*total) > kMaxBufferBytes) return std::nullopt;
  return static_cast<size_t>(*total);
}

bool ImageSizeAllowed(int64_t width, int64_t height) {
  if (width < 1 || height < 1) return false;
  auto pixels = CheckedMul(width, height);
  return pixels && *pixels <= gMaxImagePixels;
}

bool CheckImageSize(int64_t width, int64_t height, int routine) {
  if (ImageSizeAllowed(width, height)) return true;
  ReportError(kErrWrongFormat, routine, "size");
  return false;
}

}  // namespace tavik
