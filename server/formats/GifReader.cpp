#include "ByteOrder.h"
#include "ErrorReport.h"
#include "GifCodec.h"
#include "ImageLimits.h"
#include "ImagingErrors.h"
#include "LzwCoder.h"
#include "PixelRows.h"

#include <algorithm>
#include <new>
#include <vector>

namespace tavik {
namespace {

// Table sizes above 12 bits would overrun the 4096-entry code tables.
constexpr int kMaxMinCodeSize = 11;

bool ReadColorTable(SourceReader& reader, uint8_t packed, std::vector<uint8_t>& table) {
  const size_t entries = size_t{1} << ((packed & 7) + 1);
  table.resize(3 * entries);
  return reader.Read(table) == table.size();
}

// Skips data sub-blocks up to and including the zero-length one.
void SkipSubBlocks(SourceReader& reader) {
  for (;;) {
    uint8_t length = reader.GetByte();
    if (length == 0 || reader.AtEnd()) return;
    reader.Skip(length);
  }
}

// Row k of decoding order in image rows: passes of every 8th row from 0, every 8th from 4,
// every 4th from 2 and every 2nd from 1.
int32_t InterlacedRow(int32_t k, int32_t height) {
  const int32_t pass1 = (height + 7) / 8, pass2 = (height + 3) / 8, pass3 = (height + 1) / 4;
  if (k < pass1) return 8 * k;
  k -= pass1;
  if (k < pass2) return 8 * k + 4;
  k -= pass2;
  if (k < pass3) return 4 * k + 2;
  return 2 * (k - pass3) + 1;
}

}  // namespace

bool LoadGIF(SourceReader& reader, ImageRecord& record) {
  record.formatFamily = kFamilyGIF;
  record.sourceBottomUp = 0;
  std::span<const uint8_t> head = reader.Header();
  record.subtype = head.size() >= 5 && head[3] == '8' && head[4] == '9' ? kSub89a : kSub87a;
  if (reader.Seek(6, 0) < 0) {
    ReportError(kErrSeeking, kLoadGIF);
    return false;
  }
  uint8_t screen[7];
  if (reader.Read(screen) != sizeof screen) {
    ReportError(kErrWrongFormat, kLoadGIF);
    return false;
  }
  std::vector<uint8_t> colors;
  int tableBits = 0;
  if (screen[4] & 0x80) {
    if (!ReadColorTable(reader, screen[4], colors)) {
      ReportError(kErrWrongFormat, kLoadGIF, "ncolors");
      return false;
    }
    tableBits = (screen[4] & 7) + 1;
  }
  bool sawExtension = false;
  for (;;) {
    uint8_t introducer = reader.GetByte();
    if (!reader.AtEnd() && introducer == '!') {
      reader.GetByte();  // label
      SkipSubBlocks(reader);
      sawExtension = true;
      continue;
    }
    if (!reader.AtEnd() && introducer == ',') break;
    if (sawExtension) {
      ReportError(kErrNoImageData, kLoadGIF, "bIsExt");
    } else {
      ReportError(kErrWrongFormat, kLoadGIF);
    }
    return false;
  }
  uint8_t descriptor[9];
  if (reader.Read(descriptor) != sizeof descriptor) {
    ReportError(kErrWrongFormat, kLoadGIF);
    return false;
  }
  const int32_t width = GetU16LE(descriptor + 4), height = GetU16LE(descriptor + 6);
  const bool interlaced = descriptor[8] & 0x40;
  if (descriptor[8] & 0x80) {
    if (!ReadColorTable(reader, descriptor[8], colors)) {
      ReportError(kErrWrongFormat, kLoadGIF, "ncolors");
      return false;
    }
    tableBits = (descriptor[8] & 7) + 1;
  }
  record.sourceWidth = width;
  record.sourceHeight = height;
  if (ClipRequest(record, width, height) != 0) return false;
  if (!CheckImageSize(width, height, kLoadGIF)) return false;
  const int minCodeSize = reader.GetByte();
  if (reader.AtEnd() || minCodeSize < 1 || minCodeSize > kMaxMinCodeSize) {
    ReportError(kErrWrongFormat, kLoadGIF, "code size");
    return false;
  }
  // Without any colour table the indices show as a gray ramp of the code size's depth.
  if (tableBits == 0) {
    tableBits = std::min(minCodeSize, 8);
    const int n = 1 << tableBits;
    for (int i = 0; i < n; ++i) {
      uint8_t v = static_cast<uint8_t>(i * 255 / std::max(1, n - 1));
      colors.insert(colors.end(), {v, v, v});
    }
  }
  const int bits = tableBits == 1 ? 1 : tableBits <= 4 ? 4 : 8;
  const int ncolors = 1 << tableBits;
  if (!AllocateRecordDib(record, bits, ncolors, kLoadGIF)) return false;
  uint8_t* table = record.pixels.data() + kInfoHeaderSize;
  for (int i = 0; i < ncolors; ++i) {
    table[4 * i] = colors[3 * i + 2];
    table[4 * i + 1] = colors[3 * i + 1];
    table[4 * i + 2] = colors[3 * i];
  }

  std::vector<uint8_t> data, indices, line;
  std::unique_ptr<LzwDecoder> decoder;
  try {
    // The image data's sub-blocks, joined; bounded by the file itself.
    for (;;) {
      uint8_t length = reader.GetByte();
      if (reader.AtEnd() || length == 0) break;
      const size_t at = data.size();
      data.resize(at + length);
      size_t got = reader.Read(std::span<uint8_t>(data).subspan(at));
      if (got < length) {
        data.resize(at + got);
        break;
      }
    }
    indices.resize(static_cast<size_t>(width));
    line.resize(static_cast<size_t>(*DibStride(CropWidth(record), bits)));
    decoder = std::make_unique<LzwDecoder>(LzwMode::kGif, minCodeSize);
  } catch (const std::bad_alloc&) {
    ReportError(imaging::kErrLocalAlloc, kLoadGIF, "outbuff");
    FreeImageData(record);
    return false;
  }
  decoder->Start(data);
  const int32_t left = record.cropLeft, cropWidth = CropWidth(record);
  for (int32_t k = 0; k < height; ++k) {
    const int32_t row = interlaced ? InterlacedRow(k, height) : k;
    if (!interlaced && row > record.cropBottom) break;
    if (decoder->Produce(indices) != indices.size()) break;
    if (row < record.cropTop || row > record.cropBottom) continue;
    std::fill(line.begin(), line.end(), 0);
    for (int32_t x = 0; x < cropWidth; ++x) {
      int index = indices[static_cast<size_t>(left + x)];
      // An index the DIB's depth cannot hold shows as entry 0.
      OrPackedPixel(line.data(), x, bits, index < (1 << bits) ? index : 0);
    }
    StoreRow(record, row, line);
  }
  return true;
}

}  // namespace tavik
