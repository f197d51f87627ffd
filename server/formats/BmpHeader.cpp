#include "BmpHeader.h"

#include "ByteOrder.h"
#include "ErrorReport.h"
#include "ImageLimits.h"

#include <algorithm>

namespace tavik {
namespace {

int Refuse(int routine, const char* detail) {
  ReportError(kErrWrongFormat, routine, detail);
  return kErrWrongFormat;
}

// Where the three channel masks of a 16- or 32-bit file come from: after a 40-byte header for
// bit-field compression, inside V4 and V5 headers at the same offset, else the defaults.
void ReadMasks(std::span<const uint8_t> head, BmpHeader& h) {
  bool fields = h.compression == kBmpBitFields || h.compression == kBmpAlphaBitFields;
  if (fields && head.size() >= 66) {
    for (size_t i = 0; i < 3; ++i) h.masks[i] = GetU32LE(head.data() + 54 + 4 * i);
    if (h.headerSize == 40) h.tableOffset += h.compression == kBmpAlphaBitFields ? 16 : 12;
  } else if (h.bits == 16) {
    h.masks = {0x7C00, 0x03E0, 0x001F};
  } else {
    h.masks = {0xFF0000, 0x00FF00, 0x0000FF};
  }
}

}  // namespace

int ParseBmpHeader(std::span<const uint8_t> head, int routine, BmpHeader& h) {
  if (head.size() < 2 || head[0] != 'B' || head[1] != 'M') return -1;
  if (head.size() < kBmpFileHeaderSize + 4) return Refuse(routine, "header");
  const uint8_t* p = head.data();
  h = BmpHeader{};
  h.fileSize = GetU32LE(p + 2);
  h.dataOffset = GetU32LE(p + 10);
  h.headerSize = GetU32LE(p + 14);
  int64_t height = 0;
  if (h.headerSize == 12) {
    if (head.size() < 26) return Refuse(routine, "header");
    h.width = GetU16LE(p + 18);
    height = GetU16LE(p + 20);
    h.bits = GetU16LE(p + 24);
    h.entrySize = 3;
  } else if (h.headerSize >= 40 && h.headerSize <= 124) {
    if (head.size() < 54) return Refuse(routine, "header");
    h.width = GetI32LE(p + 18);
    height = GetI32LE(p + 22);
    h.bits = GetU16LE(p + 28);
    h.compression = GetU32LE(p + 30);
  } else {
    return Refuse(routine, "biSize");
  }
  h.topDown = height < 0;
  height = height < 0 ? -height : height;
  if (h.width < 1 || height < 1 || !ImageSizeAllowed(h.width, height)) {
    return Refuse(routine, "size");
  }
  h.height = static_cast<int32_t>(height);
  switch (h.bits) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return Refuse(routine, "biBitCount");
  }
  h.tableOffset = static_cast<uint32_t>(kBmpFileHeaderSize + h.headerSize);
  if (h.bits == 16 || h.bits == 32) ReadMasks(head, h);
  if (h.bits <= 8) {
    int64_t entries = int64_t{1} << h.bits;
    if (h.headerSize >= 40) {
      uint32_t used = GetU32LE(p + 46);
      if (used != 0 && used < entries) entries = used;
    }
    // A table cannot reach into the pixels, nor past what the header read brought in.
    if (h.dataOffset != 0) {
      int64_t room = (int64_t{h.dataOffset} - h.tableOffset) / h.entrySize;
      entries = std::min(entries, std::max<int64_t>(room, 0));
    }
    int64_t inBuffer = (static_cast<int64_t>(head.size()) - h.tableOffset) / h.entrySize;
    h.tableEntries = static_cast<int>(std::clamp<int64_t>(std::min(entries, inBuffer), 0, 256));
  }
  // Some writers leave the offset 0: the pixels then follow the table.
  uint32_t tableEnd = h.tableOffset + static_cast<uint32_t>(h.tableEntries * h.entrySize);
  if (h.dataOffset == 0) h.dataOffset = tableEnd;
  return 0;
}

}  // namespace tavik
