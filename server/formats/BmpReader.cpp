#include "BmpReader.h"

#include "BmpHeader.h"
#include "ByteOrder.h"
#include "ErrorReport.h"
#include "ImageLimits.h"
#include "ImagingErrors.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>
#include <vector>

namespace tavik {
namespace {

int SubtypeFor(const BmpHeader& h) {
  if (h.headerSize == 12) return kSubOS2;
  switch (h.compression) {
    case kBmpRGB: return kSubWindowsRGB;
    case kBmpRLE8: return kSubWindowsRLE8;
    case kBmpRLE4: return kSubWindowsRLE4;
    default: return kSubWindows3;
  }
}

bool Allocate(std::vector<uint8_t>& buffer, uint64_t size, int routine, const char* detail) {
  try {
    if (size > kMaxBufferBytes) throw std::bad_alloc();
    buffer.assign(static_cast<size_t>(size), 0);
    return true;
  } catch (const std::bad_alloc&) {
    ReportError(imaging::kErrLocalAlloc, routine, detail);
    return false;
  }
}

// Turns one channel of a 16- or 32-bit pixel into 8 bits, scaling fields narrower than 8 bits
// to the full range and keeping the top 8 bits of wider ones.
struct Channel {
  explicit Channel(uint32_t mask) {
    if (mask == 0) return;
    shift = std::countr_zero(mask);
    width = std::countr_one(mask >> shift);
    if (width > 8) {
      shift += width - 8;
      width = 8;
    }
    max = (1u << width) - 1;
  }
  uint8_t operator()(uint32_t pixel) const {
    if (max == 0) return 0;
    uint32_t v = (pixel >> shift) & max;
    return static_cast<uint8_t>((v * 255 + max / 2) / max);
  }
  int shift = 0, width = 0;
  uint32_t max = 0;
};

// One BMP's pixels into the record's DIB, row by row through StoreRow.
class BmpDecoder {
public:
  BmpDecoder(SourceReader& reader, ImageRecord& record, const BmpHeader& header)
      : reader_(reader), record_(record), h_(header),
        red_(header.masks[0]), green_(header.masks[1]), blue_(header.masks[2]) {}

  bool Prepare() {
    int64_t lineBytes = DibStride(CropWidth(record_), record_.bitsPerPixel).value_or(0);
    if (!Allocate(line_, lineBytes, kLoadBMP, "outbuff")) return false;
    bool rle = h_.compression == kBmpRLE8 || h_.compression == kBmpRLE4;
    int64_t rowBytes = rle ? h_.width : DibStride(h_.width, h_.bits).value_or(0);
    return Allocate(row_, rowBytes, kLoadBMP, "outbuff");
  }

  void Uncompressed() {
    for (int32_t k = 0; k < h_.height; ++k) {
      int32_t sourceRow = SourceRow(k);
      if (Before(sourceRow)) {
        reader_.Skip(row_.size());
        continue;
      }
      if (After(sourceRow)) return;
      // A short file keeps the rows read so far; the rest stay zero.
      if (reader_.Read(row_) != row_.size()) return;
      ExtractCrop();
      StoreRow(record_, sourceRow, line_);
    }
  }

  // RLE8 and RLE4 as Windows defines them. Runs, absolute runs and deltas are clipped to the
  // row and the image, so a hostile count can only lose pixels, never write outside.
  void RunLength() {
    const bool four = h_.compression == kBmpRLE4;
    int32_t k = 0, x = 0;
    bool dirty = false;
    auto put = [&](uint8_t index) {
      if (x < h_.width) {
        row_[static_cast<size_t>(x)] = index;
        dirty = true;
      }
      ++x;
    };
    // Stores line k when it has pixels; false once decoding has passed the crop.
    auto finishLine = [&]() {
      int32_t sourceRow = SourceRow(k);
      if (dirty && !Before(sourceRow) && !After(sourceRow)) {
        PackCrop();
        StoreRow(record_, sourceRow, line_);
      }
      std::fill(row_.begin(), row_.end(), 0);
      dirty = false;
      return !After(sourceRow);
    };
    while (k < h_.height) {
      uint8_t count = reader_.GetByte();
      uint8_t value = reader_.GetByte();
      if (reader_.AtEnd()) break;
      if (count != 0) {
        for (int i = 0; i < count; ++i) {
          put(four ? ((i & 1) ? value & 0x0F : value >> 4) : value);
        }
        continue;
      }
      if (value == 0) {  // end of line
        if (!finishLine()) return;
        ++k;
        x = 0;
      } else if (value == 1) {  // end of bitmap
        break;
      } else if (value == 2) {  // delta: right by dx, up by dy
        uint8_t dx = reader_.GetByte();
        uint8_t dy = reader_.GetByte();
        if (reader_.AtEnd()) break;
        if (dy != 0) {
          if (!finishLine()) return;
          k += dy;
        }
        x += dx;
      } else {  // absolute run of `value` pixels, padded to an even byte count
        int bytes = four ? (value + 1) / 2 : value;
        for (int i = 0; i < bytes; ++i) {
          uint8_t b = reader_.GetByte();
          if (four) {
            put(b >> 4);
            if (2 * i + 1 < value) put(b & 0x0F);
          } else {
            put(b);
          }
        }
        if (bytes & 1) reader_.GetByte();
        if (reader_.AtEnd()) break;
      }
    }
    if (k < h_.height && dirty) finishLine();
  }

private:
  int32_t SourceRow(int32_t k) const { return h_.topDown ? k : h_.height - 1 - k; }
  // Rows met before the crop are skipped; rows after it end the decoding.
  bool Before(int32_t row) const {
    return h_.topDown ? row < record_.cropTop : row > record_.cropBottom;
  }
  bool After(int32_t row) const {
    return h_.topDown ? row > record_.cropBottom : row < record_.cropTop;
  }

  // The crop columns of row_ (file pixels) into line_, first kept pixel at the high bits.
  void ExtractCrop() {
    const int32_t left = record_.cropLeft, width = CropWidth(record_);
    const uint8_t* in = row_.data();
    uint8_t* out = line_.data();
    switch (h_.bits) {
      case 1:
      case 4: {
        std::fill(line_.begin(), line_.end(), 0);
        const int bits = h_.bits, perByte = 8 / bits, mask = (1 << bits) - 1;
        for (int32_t i = 0; i < width; ++i) {
          int64_t at = int64_t{left} + i;
          int v = (in[at / perByte] >> ((perByte - 1 - at % perByte) * bits)) & mask;
          out[i / perByte] |= static_cast<uint8_t>(v << ((perByte - 1 - i % perByte) * bits));
        }
        break;
      }
      case 8: std::memcpy(out, in + left, static_cast<size_t>(width)); break;
      case 24: std::memcpy(out, in + int64_t{left} * 3, static_cast<size_t>(width) * 3); break;
      default: {  // 16 and 32 bits through their masks, stored blue-green-red
        const int bytes = h_.bits / 8;
        for (int32_t i = 0; i < width; ++i) {
          const uint8_t* px = in + (int64_t{left} + i) * bytes;
          uint32_t v = bytes == 2 ? GetU16LE(px) : GetU32LE(px);
          out[3 * i] = blue_(v);
          out[3 * i + 1] = green_(v);
          out[3 * i + 2] = red_(v);
        }
      }
    }
  }

  // The crop columns of an RLE line (one index per byte) packed at the DIB depth.
  void PackCrop() {
    const int32_t left = record_.cropLeft, width = CropWidth(record_);
    if (h_.bits == 8) {
      std::memcpy(line_.data(), row_.data() + left, static_cast<size_t>(width));
      return;
    }
    std::fill(line_.begin(), line_.end(), 0);
    for (int32_t i = 0; i < width; ++i) {
      uint8_t v = row_[static_cast<size_t>(left + i)] & 0x0F;
      line_[static_cast<size_t>(i / 2)] |= static_cast<uint8_t>((i & 1) ? v : v << 4);
    }
  }

  SourceReader& reader_;
  ImageRecord& record_;
  const BmpHeader& h_;
  Channel red_, green_, blue_;
  std::vector<uint8_t> row_;   // one file row, or one RLE line as indices
  std::vector<uint8_t> line_;  // the crop columns handed to StoreRow
};

void CopyColorTable(std::span<const uint8_t> head, const BmpHeader& h, ImageRecord& record) {
  uint8_t* table = record.pixels.data() + kInfoHeaderSize;
  for (int i = 0; i < h.tableEntries; ++i) {
    const uint8_t* entry = head.data() + h.tableOffset + size_t(i) * h.entrySize;
    std::memcpy(table + 4 * i, entry, 3);  // blue, green, red; the fourth byte stays 0
  }
}

}  // namespace

bool LoadBMP(SourceReader& reader, ImageRecord& record) {
  std::span<const uint8_t> head = reader.Header();
  BmpHeader h;
  if (ParseBmpHeader(head, kLoadBMP, h) != 0) return false;
  record.sourceBottomUp = h.topDown ? 0 : 1;
  record.formatFamily = kFamilyBMP;
  record.subtype = SubtypeFor(h);
  record.sourceWidth = h.width;
  record.sourceHeight = h.height;
  if (ClipRequest(record, h.width, h.height) != 0) return false;
  const int dibBits = h.bits > 8 ? 24 : h.bits;
  if (!AllocateRecordDib(record, dibBits, dibBits <= 8 ? 1 << dibBits : 0, kLoadBMP)) {
    return false;
  }
  CopyColorTable(head, h, record);
  const bool rle = (h.compression == kBmpRLE8 && h.bits == 8) ||
                   (h.compression == kBmpRLE4 && h.bits == 4);
  const bool fields = h.compression == kBmpBitFields || h.compression == kBmpAlphaBitFields;
  const bool plain = h.compression == kBmpRGB || (fields && (h.bits == 16 || h.bits == 32));
  // Any other compression keeps the zero-filled pixels of the right size.
  if (!rle && !plain) return true;
  if (reader.Seek(h.dataOffset, 0) < 0) {
    ReportError(kErrWrongFormat, kLoadBMP, "offset");
    FreeImageData(record);
    return false;
  }
  BmpDecoder decoder(reader, record, h);
  if (!decoder.Prepare()) {
    FreeImageData(record);
    return false;
  }
  if (rle) {
    decoder.RunLength();
  } else {
    decoder.Uncompressed();
  }
  return true;
}

bool LoadBMPBitmap(SourceReader& reader, ImageRecord& record) {
  std::span<const uint8_t> head = reader.Header();
  BmpHeader h;
  if (ParseBmpHeader(head, kLoadBMP, h) != 0) return false;
  record.sourceBottomUp = 1;
  record.formatFamily = kFamilyBMP;
  record.subtype = kSubBitmap;
  record.sourceWidth = h.width;
  record.sourceHeight = h.height;
  if (h.compression != kBmpRGB) return false;
  const int64_t stride = DibStride(h.width, h.bits).value_or(0);
  const int64_t image = stride * h.height;  // bounded by the pixel limit already
  if (int64_t{h.fileSize} - int64_t(kBmpFileHeaderSize) < image) {
    ReportError(kErrWrongFormat, kLoadBMP, "fSize");
    return false;
  }
  // The pixels must start after the headers and lie wholly inside the bytes really read.
  const int64_t pixelsAt = int64_t{h.dataOffset} - int64_t(kBmpFileHeaderSize);
  if (pixelsAt < h.headerSize) {
    ReportError(kErrWrongFormat, kLoadBMP, "offset");
    return false;
  }
  // Nothing is allocated for bytes the source does not have, whatever the offset claims.
  const uint64_t blockBytes = static_cast<uint64_t>(pixelsAt + image);
  if (reader.SourceSize() < kBmpFileHeaderSize + blockBytes) {
    ReportError(kErrWrongFormat, kLoadBMP, "fSize");
    return false;
  }
  std::vector<uint8_t> block;
  if (!Allocate(block, blockBytes, kLoadBMP, "DIB")) return false;
  if (reader.Seek(kBmpFileHeaderSize, 0) < 0 || reader.Read(block) != block.size()) {
    ReportError(kErrWrongFormat, kLoadBMP, "fSize");
    return false;
  }
  if (ClipRequest(record, h.width, h.height) != 0) return false;
  const int colors = h.bits <= 8 ? 1 << h.bits : 0;
  const size_t tableBytes = size_t(colors) * 4;
  PackedDib bits;
  if (!Allocate(bits, kInfoHeaderSize + tableBytes + uint64_t(image), kLoadBMP, "DIB")) {
    return false;
  }
  PutU32LE(bits.data(), kInfoHeaderSize);
  PutU32LE(bits.data() + 4, static_cast<uint32_t>(h.width));
  PutU32LE(bits.data() + 8, static_cast<uint32_t>(h.height));
  PutU16LE(bits.data() + 12, 1);
  PutU16LE(bits.data() + 14, static_cast<uint32_t>(h.bits));
  PutU32LE(bits.data() + 20, static_cast<uint32_t>(image));
  PutU32LE(bits.data() + 32, static_cast<uint32_t>(colors));
  // An OS/2 table is not carried over: the bitmap takes no colour table.
  if (h.headerSize != 12) {
    for (int i = 0; i < h.tableEntries; ++i) {
      std::memcpy(bits.data() + kInfoHeaderSize + 4 * i,
                  block.data() + (h.tableOffset - kBmpFileHeaderSize) + 4 * size_t(i), 4);
    }
  }
  std::memcpy(bits.data() + kInfoHeaderSize + tableBytes, block.data() + pixelsAt,
              static_cast<size_t>(image));
  record.pixels = std::move(bits);
  record.stride = static_cast<uint32_t>(stride);
  record.bitsPerPixel = static_cast<uint16_t>(h.bits);
  return true;
}

}  // namespace tavik
