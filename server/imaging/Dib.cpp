#include "Dib.h"

#include "ByteOrder.h"
#include "ImageLimits.h"

#include <new>

namespace tavik {
namespace {

bool HasCoreHeader(std::span<const uint8_t> dib) { return DIBHeaderSize(dib) == kCoreHeaderSize; }

}  // namespace

uint32_t DIBHeaderSize(std::span<const uint8_t> dib) {
  if (dib.size() < 4) return 0;
  uint32_t size = GetU32LE(dib.data());
  if (size == kCoreHeaderSize) return size;
  if (size >= kInfoHeaderSize && dib.size() >= kInfoHeaderSize) return size;
  return 0;
}

int64_t DIBColorCount(std::span<const uint8_t> dib) {
  uint32_t headerSize = DIBHeaderSize(dib);
  if (headerSize == 0) return 0;
  if (headerSize >= kInfoHeaderSize) {
    uint32_t used = GetU32LE(dib.data() + 32);
    if (used != 0) return used;
  }
  switch (DIBBitDepth(dib)) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

int64_t DIBPaletteBytes(std::span<const uint8_t> dib) {
  return DIBColorCount(dib) * (HasCoreHeader(dib) ? 3 : 4);
}

int64_t DIBPixelBits(std::span<const uint8_t> dib) {
  return int64_t{DIBHeaderSize(dib)} + DIBPaletteBytes(dib);
}

int32_t DIBPixelWidth(std::span<const uint8_t> dib) {
  uint32_t headerSize = DIBHeaderSize(dib);
  if (headerSize == 0) return 0;
  return headerSize == kCoreHeaderSize ? GetU16LE(dib.data() + 4) : GetI32LE(dib.data() + 4);
}

int32_t DIBPixelHeight(std::span<const uint8_t> dib) {
  uint32_t headerSize = DIBHeaderSize(dib);
  if (headerSize == 0) return 0;
  return headerSize == kCoreHeaderSize ? GetU16LE(dib.data() + 6) : GetI32LE(dib.data() + 8);
}

int DIBBitDepth(std::span<const uint8_t> dib) {
  uint32_t headerSize = DIBHeaderSize(dib);
  if (headerSize == 0) return 0;
  return GetU16LE(dib.data() + (headerSize == kCoreHeaderSize ? 10 : 14));
}

bool DIBIsValid(std::span<const uint8_t> dib) {
  if (DIBHeaderSize(dib) == 0) return false;
  int bits = DIBBitDepth(dib);
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return false;
  if (DIBHeaderSize(dib) >= kInfoHeaderSize && GetU32LE(dib.data() + 16) != 0) return false;
  int32_t width = DIBPixelWidth(dib), height = DIBPixelHeight(dib);
  if (!ImageSizeAllowed(width, height)) return false;
  int64_t colors = DIBColorCount(dib);
  if (colors > 256) return false;
  auto stride = DibStride(width, bits);
  auto rows = stride ? BufferSize(*stride, height, DIBPixelBits(dib)) : std::nullopt;
  return rows && *rows <= dib.size();
}

void FillDIBHeader(uint8_t* header, int32_t width, int32_t height, int bits) {
  bits = bits < 2 ? 1 : bits <= 4 ? 4 : bits < 9 ? 8 : 24;
  for (int i = 0; i < 40; ++i) header[i] = 0;
  PutU32LE(header, kInfoHeaderSize);
  PutU32LE(header + 4, static_cast<uint32_t>(width));
  PutU32LE(header + 8, static_cast<uint32_t>(height));
  PutU16LE(header + 12, 1);
  PutU16LE(header + 14, static_cast<uint32_t>(bits));
  int64_t stride = DibStride(width, bits).value_or(0);
  PutU32LE(header + 20, static_cast<uint32_t>(stride * height));
}

std::optional<PackedDib> AllocateDib(int32_t width, int32_t height, int bits, int colorsUsed) {
  if (!ImageSizeAllowed(width, height)) return std::nullopt;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return std::nullopt;
  if (colorsUsed < 0 || (bits <= 8 && colorsUsed > (1 << bits))) return std::nullopt;
  auto stride = DibStride(width, bits);
  if (!stride) return std::nullopt;
  // Room for a full table even when fewer colours are used: the rows follow the used entries.
  int64_t tableBytes = bits <= 8 ? (int64_t{1} << bits) * 4 : 4;  // 24 bits: 44-byte header
  auto size = BufferSize(*stride, int64_t{height} + 1, kInfoHeaderSize + tableBytes);
  if (!size) return std::nullopt;
  PackedDib dib;
  try {
    dib.assign(*size, 0);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  FillDIBHeader(dib.data(), width, height, bits);
  PutU32LE(dib.data() + 24, kPelsPerMeter);
  PutU32LE(dib.data() + 28, kPelsPerMeter);
  PutU32LE(dib.data() + 32, bits <= 8 ? static_cast<uint32_t>(colorsUsed) : 0);
  return dib;
}

uint32_t DIBStride(std::span<const uint8_t> dib) {
  return static_cast<uint32_t>(DibStride(DIBPixelWidth(dib), DIBBitDepth(dib)).value_or(0));
}

const uint8_t* DIBRow(std::span<const uint8_t> dib, int32_t row) {
  return dib.data() + DIBPixelBits(dib) + int64_t{row} * DIBStride(dib);
}

uint8_t* DIBRow(std::span<uint8_t> dib, int32_t row) {
  return const_cast<uint8_t*>(DIBRow(std::span<const uint8_t>(dib), row));
}

Rgb DIBPixelColor(std::span<const uint8_t> dib, int32_t x, int32_t row) {
  const uint8_t* pixels = DIBRow(dib, row);
  const int bits = DIBBitDepth(dib);
  if (bits == 24) return {pixels[3 * x + 2], pixels[3 * x + 1], pixels[3 * x]};
  const int perByte = 8 / bits;
  int index = (pixels[x / perByte] >> ((perByte - 1 - x % perByte) * bits)) & ((1 << bits) - 1);
  if (index >= DIBColorCount(dib)) return {};
  const int entrySize = DIBHeaderSize(dib) == kCoreHeaderSize ? 3 : 4;
  const uint8_t* entry = dib.data() + DIBHeaderSize(dib) + index * entrySize;
  return {entry[2], entry[1], entry[0]};
}

}  // namespace tavik
