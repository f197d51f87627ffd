// Size arithmetic for images, in one place and in 64 bits: the i686 build has a 32-bit size_t,
// and every width and height here may come straight from a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace tavik {

// Largest image we decode: 2^27 pixels (for example 16384 x 8192). A 24-bit DIB of that size is
// 384 MiB, which a 32-bit process can still hope to allocate; anything larger is refused with
// error 72 before a byte is allocated. No per-side limit: a 100000 x 10 strip is fine.
inline constexpr int64_t kMaxImagePixels = int64_t{1} << 27;

// The limit in force: kMaxImagePixels unless lowered, as the fuzz targets do to keep each run
// fast (libtiff's fuzzers cap their allocations the same way).
int64_t MaxImagePixels();
void SetMaxImagePixels(int64_t pixels);

// Largest single buffer we ask for, comfortably inside a 32-bit address space.
inline constexpr uint64_t kMaxBufferBytes = uint64_t{1} << 30;

// a * b, or nothing when either is negative or the product leaves int64.
std::optional<int64_t> CheckedMul(int64_t a, int64_t b);
// a + b, or nothing when either is negative or the sum leaves int64.
std::optional<int64_t> CheckedAdd(int64_t a, int64_t b);

// Bytes of one DIB row: ((bits * width + 31) / 32) * 4; nothing for a negative or absurd width.
std::optional<int64_t> DibStride(int64_t width, int bits);

// stride * rows as a size_t we may allocate, or nothing beyond kMaxBufferBytes.
std::optional<size_t> BufferSize(int64_t stride, int64_t rows, int64_t extra = 0);

// True when a width x height image is within MaxImagePixels() (both sides at least 1).
bool ImageSizeAllowed(int64_t width, int64_t height);

// ImageSizeAllowed, reporting error 72 under `routine` with detail "size" when it is not.
bool CheckImageSize(int64_t width, int64_t height, int routine);

}  // namespace tavik
