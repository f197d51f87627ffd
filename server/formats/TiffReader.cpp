#include "TiffReader.h"

#include "CcittCodec.h"
#include "ErrorReport.h"
#include "FormatSettings.h"
#include "ImageLimits.h"
#include "ImagingErrors.h"
#include "LzwCoder.h"
#include "PixelRows.h"

#include <algorithm>
#include <new>
#include <set>
#include <vector>

namespace tavik {
namespace {

enum TiffType { kByte = 1, kAscii = 2, kShort = 3, kLong = 4, kRational = 5, kSShort = 8,
                kSLong = 9 };
constexpr int kErrTooManySamples = 80, kErrTooManyBits = 75, kErrUnsupportedBits = 76,
              kErrTooManyStrips = 77, kErrCcittTree = 79;

struct Entry {
  uint16_t tag = 0, type = 0;
  uint32_t count = 0, value = 0;  // value: the value itself, or the offset of the values
  bool inline_ = false;
};

struct Tags {
  uint32_t width = 0, height = 0, compression = 1, photometric = 0, fillOrder = 1,
           samples = 1, rowsPerStrip = 0xFFFFFFFF, t4Options = 0, predictor = 1;
  Entry bits{258, kShort, 1, 1, true};
  Entry stripOffsets, stripByteCounts, colorMap;
  bool haveOffsets = false, haveByteCounts = false, haveColorMap = false;
  uint32_t dotRangeCount = 0, dotRangeType = kByte;
};

class TiffFile {
public:
  TiffFile(SourceReader& reader, ImageRecord& record) : reader_(reader), record_(record) {}

  bool Load();

private:
  uint16_t U16(const uint8_t* p) const {
    return little_ ? static_cast<uint16_t>(p[0] | p[1] << 8)
                   : static_cast<uint16_t>(p[0] << 8 | p[1]);
  }
  uint32_t U32(const uint8_t* p) const {
    return little_ ? (uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 |
                      uint32_t{p[3]} << 24)
                   : (uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 |
                      uint32_t{p[3]});
  }
  bool ReadAt(uint64_t offset, std::span<uint8_t> out) {
    if (reader_.Seek(static_cast<int64_t>(offset), 0) < 0) return false;
    return reader_.Read(out) == out.size();
  }
  bool FindIfd(uint32_t& offset);
  bool DecodeTag(const uint8_t* p);
  // The values of a SHORT or LONG entry (at most `limit` of them); empty when unreadable.
  std::vector<uint32_t> Values(const Entry& e, uint32_t limit);
  bool ChooseLayout();
  bool ReadStrips();
  bool ReadStripBytes(uint32_t offset, uint32_t count, std::vector<uint8_t>& out);
  // Decodes strip rows [first, end) of the source; false ends the image.
  bool DecodeStrip(std::span<const uint8_t> data, uint32_t first, uint32_t end);
  void EmitRow(uint32_t sourceRow, uint8_t* raw);

  SourceReader& reader_;
  ImageRecord& record_;
  bool little_ = true;
  Tags t_;
  std::vector<uint32_t> bitsPerSample_;
  int firstBits_ = 0, dibBits_ = 0, grayShift_ = 3;
  uint64_t rowBytes_ = 0;
  std::vector<uint8_t> line_, widened_, row_;
  std::unique_ptr<CcittDecoder> ccitt_;
  std::unique_ptr<LzwDecoder> lzw_;
};

bool TiffFile::FindIfd(uint32_t& offset) {
  uint8_t head[8];
  if (!ReadAt(0, head)) {
    ReportError(kErrSeeking, kLoadTIF);
    return false;
  }
  little_ = head[0] == 'I';
  offset = U32(head + 4);
  std::set<uint32_t> seen;
  for (int32_t k = 0; k < record_.subImage; ++k) {
    // A chain that comes back on itself holds no further images.
    if (offset == 0 || !seen.insert(offset).second) return false;
    uint8_t count[2];
    if (!ReadAt(offset, count)) {
      ReportError(kErrSeeking, kLoadTIF);
      return false;
    }
    uint8_t next[4];
    if (!ReadAt(uint64_t{offset} + 2 + 12 * uint64_t{U16(count)}, next)) {
      ReportError(kErrSeeking, kLoadTIF);
      return false;
    }
    offset = U32(next);
  }
  return offset != 0;
}

bool TiffFile::DecodeTag(const uint8_t* p) {
  Entry e;
  e.tag = U16(p);
  e.type = U16(p + 2);
  e.count = U32(p + 4);
  const bool shortType = e.type == kShort || e.type == kSShort;
  const bool longType = e.type == kByte || e.type == kAscii || e.type == kLong ||
                        e.type == kRational || e.type == kSLong;
  if (!shortType && !longType) return true;
  if (shortType && e.count <= 2) {
    e.value = U16(p + 8);
    e.inline_ = true;
  } else if (e.type == kByte && e.count <= 4) {
    e.value = p[8];  // the first byte whatever the byte order
    e.inline_ = true;
  } else {
    e.value = U32(p + 8);
    e.inline_ = e.type == kLong || e.type == kSLong ? e.count <= 1 : false;
  }
  const bool stripTag = e.tag == 273 || e.tag == 279;
  if (stripTag && e.type != kShort && e.type != kLong) {
    ReportError(kErrWrongFormat, kDecodeTag, e.tag == 273 ? "StripOffsets" : "StripByteCounts");
    return false;
  }
  switch (e.tag) {
    case 256: t_.width = e.value; break;
    case 257: t_.height = e.value; break;
    case 258:
      t_.bits = e;
      if (shortType && e.count == 2) t_.bits.value = U32(p + 8);  // both values, raw
      break;
    case 259: t_.compression = e.value; break;
    case 262: t_.photometric = e.value; break;
    case 266: t_.fillOrder = e.value; break;
    case 273:
      t_.stripOffsets = e;
      t_.stripOffsets.value = e.type == kShort && e.count == 2 ? U32(p + 8) : e.value;
      t_.haveOffsets = true;
      break;
    case 277: t_.samples = e.value; break;
    case 278: t_.rowsPerStrip = e.value; break;
    case 279:
      t_.stripByteCounts = e;
      t_.stripByteCounts.value = e.type == kShort && e.count == 2 ? U32(p + 8) : e.value;
      t_.haveByteCounts = true;
      break;
    case 292: t_.t4Options = e.value; break;
    case 317: t_.predictor = e.value; break;
    case 320:
      t_.colorMap = e;
      t_.haveColorMap = true;
      break;
    case 336:
      t_.dotRangeCount = e.count;
      t_.dotRangeType = e.type;
      break;
    default: break;
  }
  return true;
}

std::vector<uint32_t> TiffFile::Values(const Entry& e, uint32_t limit) {
  std::vector<uint32_t> out;
  const uint32_t n = std::min(e.count, limit);
  const uint32_t size = e.type == kShort || e.type == kSShort ? 2 : 4;
  if (e.count * uint64_t{size} <= 4) {
    // Inline values sit in the entry's own four bytes, kept raw for two shorts.
    uint8_t raw[4];
    uint32_t v = e.value;
    if (size == 2 && e.count == 2) {
      raw[0] = little_ ? uint8_t(v) : uint8_t(v >> 24);
      raw[1] = little_ ? uint8_t(v >> 8) : uint8_t(v >> 16);
      raw[2] = little_ ? uint8_t(v >> 16) : uint8_t(v >> 8);
      raw[3] = little_ ? uint8_t(v >> 24) : uint8_t(v);
      for (uint32_t i = 0; i < n; ++i) out.push_back(U16(raw + 2 * i));
    } else if (n == 1) {
      out.push_back(v);
    }
    return out;
  }
  // Bounded by the bytes really in the file, so a huge count costs nothing.
  uint64_t bytes = uint64_t{n} * size;
  if (bytes > reader_.SourceSize()) return out;
  std::vector<uint8_t> raw(static_cast<size_t>(bytes));
  if (!ReadAt(e.value, raw)) return {};
  out.reserve(n);
  for (uint32_t i = 0; i < n; ++i) {
    out.push_back(size == 2 ? U16(&raw[2 * i]) : U32(&raw[4 * i]));
  }
  return out;
}

// Step 5: the DIB depth and colour table for the sample layout.
bool TiffFile::ChooseLayout() {
  const uint32_t samples = t_.samples;
  const uint32_t ph = t_.photometric;
  uint32_t colors = 0;
  if (firstBits_ == 8 && ((ph == 2 && samples >= 3) || (ph == 5 && samples >= 4))) {
    dibBits_ = 24;
  } else if (firstBits_ == 16 && samples == 1) {
    dibBits_ = 8;
    colors = 256;
  } else if (samples == 1 && (firstBits_ == 1 || firstBits_ == 2 || firstBits_ == 4 ||
                              firstBits_ == 8)) {
    dibBits_ = firstBits_ == 2 ? 4 : firstBits_;
    colors = 1u << firstBits_;
  } else {
    ReportError(kErrUnsupportedBits, kLoadTIF);
    return false;
  }
  if (!AllocateRecordDib(record_, dibBits_, dibBits_ == 24 ? 0 : (1 << dibBits_), kLoadTIF)) {
    return false;
  }
  if (colors == 0) return true;
  uint8_t* table = record_.pixels.data() + kInfoHeaderSize;
  auto put = [&](uint32_t i, uint8_t r, uint8_t g, uint8_t b) {
    table[4 * i] = b;
    table[4 * i + 1] = g;
    table[4 * i + 2] = r;
  };
  if (firstBits_ == 16) {
    grayShift_ = FormatGrayShift();
    for (uint32_t i = 0; i < 256; ++i) {
      uint8_t v = static_cast<uint8_t>(ph == 1 ? i : 255 - i);
      put(i, v, v, v);
    }
    return true;
  }
  if (ph == 3 && t_.haveColorMap) {
    std::vector<uint32_t> v = Values(t_.colorMap, 3 * colors);
    if (v.size() == 3 * colors) {
      for (uint32_t i = 0; i < colors; ++i) {
        put(i, uint8_t(v[i] >> 8), uint8_t(v[colors + i] >> 8), uint8_t(v[2 * colors + i] >> 8));
      }
      return true;
    }
  }
  // Gray ramps over the full range: level k of n is k * 255 / (n - 1).
  for (uint32_t i = 0; i < colors; ++i) {
    uint8_t level = static_cast<uint8_t>(i * 255 / (colors - 1));
    if (ph != 1) level = static_cast<uint8_t>(255 - level);
    put(i, level, level, level);
  }
  return true;
}

bool TiffFile::ReadStripBytes(uint32_t offset, uint32_t count, std::vector<uint8_t>& out) {
  const uint64_t size = reader_.SourceSize();
  if (offset >= size) return false;
  const uint64_t n = std::min<uint64_t>(count, size - offset);
  try {
    out.resize(static_cast<size_t>(n));
  } catch (const std::bad_alloc&) {
    return false;
  }
  return ReadAt(offset, out);
}

// One source row at file depth into the DIB's depth and the crop, then into the record.
void TiffFile::EmitRow(uint32_t sourceRow, uint8_t* raw) {
  const int32_t left = record_.cropLeft, width = CropWidth(record_);
  const uint32_t samples = t_.samples;
  if (t_.predictor == 2 && (firstBits_ == 8 || firstBits_ == 16)) {
    if (firstBits_ == 8) {
      for (uint64_t i = samples; i < uint64_t{t_.width} * samples; ++i) raw[i] += raw[i - samples];
    } else {
      for (uint64_t i = samples; i < uint64_t{t_.width} * samples; ++i) {
        uint16_t v = static_cast<uint16_t>(U16(raw + 2 * i) + U16(raw + 2 * (i - samples)));
        raw[2 * i + (little_ ? 0 : 1)] = static_cast<uint8_t>(v);
        raw[2 * i + (little_ ? 1 : 0)] = static_cast<uint8_t>(v >> 8);
      }
    }
  }
  uint8_t* out = line_.data();
  if (dibBits_ == 24 && samples == 3 && t_.photometric == 2) {
    std::copy_n(raw + uint64_t(left) * 3, uint64_t(width) * 3, out);
  } else if (dibBits_ == 24) {
    for (int32_t x = 0; x < width; ++x) {
      const uint8_t* s = raw + uint64_t(left + x) * samples;
      if (t_.photometric == 5) {
        for (int c = 0; c < 3; ++c) out[3 * x + c] = static_cast<uint8_t>(std::max(0, 255 - s[c] - s[3]));
      } else {
        out[3 * x] = s[0];
        out[3 * x + 1] = s[1];
        out[3 * x + 2] = s[2];
      }
    }
  } else if (firstBits_ == 16) {
    for (int32_t x = 0; x < width; ++x) {
      out[x] = static_cast<uint8_t>(U16(raw + 2 * uint64_t(left + x)) >> grayShift_);
    }
  } else if (firstBits_ == 2) {
    WidenTwoBitRow(raw, t_.width, widened_.data());
    ExtractPixels(widened_.data(), 4, left, width, out);
  } else {
    ExtractPixels(raw, dibBits_, left, width, out);
  }
  StoreRow(record_, static_cast<int32_t>(sourceRow), line_);
}

bool TiffFile::DecodeStrip(std::span<const uint8_t> data, uint32_t first, uint32_t end) {
  const uint32_t top = static_cast<uint32_t>(record_.cropTop);
  const uint32_t bottom = static_cast<uint32_t>(record_.cropBottom);
  std::vector<uint8_t>& row = row_;
  const uint8_t* in = data.data();
  const uint8_t* inEnd = data.data() + data.size();
  switch (t_.compression) {
    case 1:
      for (uint32_t r = first; r < end && r <= bottom; ++r) {
        if (uint64_t(inEnd - in) < rowBytes_) return false;
        if (r >= top) {
          std::copy(in, in + rowBytes_, row.begin());
          EmitRow(r, row.data());
        }
        in += rowBytes_;
      }
      return true;
    case 32773:
      for (uint32_t r = first; r < end && r <= bottom; ++r) {
        // Runs are clipped to the row: a run that overshoots loses its surplus bytes.
        uint64_t x = 0;
        while (x < rowBytes_) {
          if (in == inEnd) return false;
          int n = static_cast<int8_t>(*in++);
          if (n >= 0) {
            uint64_t take = std::min<uint64_t>(n + 1, uint64_t(inEnd - in));
            uint64_t keep = std::min(take, rowBytes_ - x);
            std::copy(in, in + keep, row.begin() + static_cast<ptrdiff_t>(x));
            in += take;
            x += keep;
            if (take < uint64_t(n + 1)) return false;
          } else if (n != -128) {
            if (in == inEnd) return false;
            uint8_t value = *in++;
            uint64_t keep = std::min<uint64_t>(1 - n, rowBytes_ - x);
            std::fill_n(row.begin() + static_cast<ptrdiff_t>(x), keep, value);
            x += keep;
          }
        }
        if (r >= top) EmitRow(r, row.data());
      }
      return true;
    case 5: {
      lzw_->Start(data);
      for (uint32_t r = first; r < end && r <= bottom; ++r) {
        std::span<uint8_t> out(row.data(), static_cast<size_t>(rowBytes_));
        if (lzw_->Produce(out) != out.size()) return false;
        if (r >= top) EmitRow(r, row.data());
      }
      return true;
    }
    default: {
      ccitt_->Start(data);
      const int routine = t_.compression == 2 ? kParseBits
                          : t_.compression == 3 ? kParseBitsGroup3 : kParseBitsGroup4;
      for (uint32_t r = first; r < end && r <= bottom; ++r) {
        CcittStatus status = ccitt_->DecodeRow(std::span<uint8_t>(row.data(), rowBytes_));
        if (status == CcittStatus::kBadCode || status == CcittStatus::kEol) {
          ReportError(kErrCcittTree, routine, status == CcittStatus::kEol ? "EOL" : nullptr);
        }
        if (status != CcittStatus::kRow) return false;
        if (r >= top) EmitRow(r, row.data());
      }
      return true;
    }
  }
}

bool TiffFile::ReadStrips() {
  const uint32_t rps = std::min(t_.rowsPerStrip, t_.height);
  const uint64_t strips = (uint64_t{t_.height} + rps - 1) / rps;
  if (strips >= 65536) {
    ReportError(kErrTooManyStrips, kLoadTIF);
    return false;
  }
  std::vector<uint32_t> offsets = Values(t_.stripOffsets, static_cast<uint32_t>(strips));
  std::vector<uint32_t> counts;
  if (t_.haveByteCounts) counts = Values(t_.stripByteCounts, static_cast<uint32_t>(strips));
  if (offsets.empty() || offsets[0] == 0) {
    ReportError(kErrWrongFormat, kLoadTIF, "WHS");
    return false;
  }
  // Strips beyond the values the tags really hold stay white.
  const size_t usable = t_.haveByteCounts ? std::min(offsets.size(), counts.size())
                                          : offsets.size();
  std::vector<uint8_t> data;
  for (size_t s = 0; s < usable; ++s) {
    const uint32_t first = static_cast<uint32_t>(s * rps);
    const uint32_t end = static_cast<uint32_t>(std::min<uint64_t>(first + uint64_t{rps}, t_.height));
    if (first > static_cast<uint32_t>(record_.cropBottom)) break;
    if (end <= static_cast<uint32_t>(record_.cropTop)) continue;
    // Without byte counts a strip runs to the end of the file.
    const uint32_t count = t_.haveByteCounts ? counts[s] : 0xFFFFFFFF;
    if (!ReadStripBytes(offsets[s], count, data)) break;
    // FillOrder 2 applies to every strip, as libtiff reads it; the fax decoder reverses its
    // own bits as it goes.
    if (t_.fillOrder == 2 && !ccitt_) {
      for (uint8_t& b : data) b = kReversedBits[b];
    }
    if (!DecodeStrip(data, first, end)) break;
  }
  return true;
}

bool TiffFile::Load() {
  record_.formatFamily = kFamilyTIFF;
  record_.sourceBottomUp = 0;
  uint32_t ifd = 0;
  if (!FindIfd(ifd)) return false;
  uint8_t countBytes[2];
  if (!ReadAt(ifd, countBytes)) {
    ReportError(kErrSeeking, kLoadTIF);
    return false;
  }
  const uint16_t entries = U16(countBytes);
  std::vector<uint8_t> table(size_t{entries} * 12);
  if (reader_.Read(table) != table.size()) {
    ReportError(kErrWrongFormat, kLoadTIF, "IFD");
    return false;
  }
  for (uint16_t i = 0; i < entries; ++i) {
    if (!DecodeTag(&table[size_t{i} * 12])) return false;
  }
  if (t_.samples >= 5) {
    ReportError(kErrTooManySamples, kLoadTIF);
    return false;
  }
  bitsPerSample_ = Values(t_.bits, std::max<uint32_t>(t_.samples, 1));
  if (bitsPerSample_.empty()) bitsPerSample_.push_back(1);
  firstBits_ = static_cast<int>(std::min<uint32_t>(bitsPerSample_[0], 64));
  if (t_.dotRangeCount > 8 || (t_.dotRangeType != kByte && t_.dotRangeType != kShort)) {
    ReportError(kErrTooManySamples, kLoadTIF);
    return false;
  }
  if (t_.width == 0 || t_.height == 0 || t_.rowsPerStrip == 0 || t_.width > 0x7FFFFFFF ||
      t_.height > 0x7FFFFFFF) {
    ReportError(kErrWrongFormat, kLoadTIF);
    return false;
  }
  switch (t_.compression) {
    case 1: record_.subtype = kSubUncompressed; break;
    case 2: record_.subtype = kSubCCITT3; break;
    case 3: record_.subtype = (t_.t4Options & 1) ? kSubGroup3TwoD : kSubGroup3OneD; break;
    case 4: record_.subtype = kSubGroup4TwoD; break;
    case 5: record_.subtype = kSubLZW; break;
    case 32773: record_.subtype = kSubPackBits; break;
    default:
      ReportError(kErrUnsupportedCompression, kLoadTIF);
      return false;
  }
  record_.sourceWidth = static_cast<int32_t>(t_.width);
  record_.sourceHeight = static_cast<int32_t>(t_.height);
  if (ClipRequest(record_, record_.sourceWidth, record_.sourceHeight) != 0) {
    ReportError(kErrWrongFormat, kLoadTIF, "clLine");
    return false;
  }
  if (firstBits_ > 8 && !(firstBits_ == 16 && t_.samples == 1)) {
    ReportError(kErrTooManyBits, kLoadTIF);
    return false;
  }
  if (!CheckImageSize(t_.width, t_.height, kLoadTIF)) return false;
  const bool ccitt = t_.compression >= 2 && t_.compression <= 4;
  if (ccitt && (firstBits_ != 1 || t_.samples != 1)) {
    ReportError(kErrUnsupportedCompression, kLoadTIF);
    return false;
  }
  uint64_t bitsPerPixel = 0;
  for (uint32_t i = 0; i < t_.samples; ++i) {
    bitsPerPixel += i < bitsPerSample_.size() ? bitsPerSample_[i] : bitsPerSample_[0];
  }
  // The pixel paths step through whole samples of the first sample's size; mixed sizes
  // (8, 4, 4) would make them read past the row.
  if (bitsPerPixel != uint64_t{t_.samples} * static_cast<uint64_t>(firstBits_)) {
    ReportError(kErrUnsupportedBits, kLoadTIF);
    return false;
  }
  if (!ChooseLayout()) return false;
  rowBytes_ = (uint64_t{t_.width} * bitsPerPixel + 7) / 8;
  try {
    row_.assign(static_cast<size_t>(rowBytes_) + 8, 0);
    line_.assign(static_cast<size_t>(*DibStride(CropWidth(record_), dibBits_)), 0);
    if (firstBits_ == 2) widened_.assign((uint64_t{t_.width} + 1) / 2 + 1, 0);
    if (ccitt) {
      CcittCoding coding = t_.compression == 2   ? CcittCoding::kModifiedHuffman
                           : t_.compression == 3 ? CcittCoding::kGroup3
                                                 : CcittCoding::kGroup4;
      ccitt_ = std::make_unique<CcittDecoder>(coding, (t_.t4Options & 1) != 0,
                                              static_cast<int32_t>(t_.width), t_.fillOrder == 2);
    }
    if (t_.compression == 5) lzw_ = std::make_unique<LzwDecoder>(LzwMode::kTiff, 8);
  } catch (const std::bad_alloc&) {
    ReportError(imaging::kErrLocalAlloc, kLoadTIF, "outbuff");
    FreeImageData(record_);
    return false;
  }
  if (!t_.haveOffsets) {
    ReportError(kErrWrongFormat, kLoadTIF, "WHS");
    FreeImageData(record_);
    return false;
  }
  if (!ReadStrips()) {
    FreeImageData(record_);
    return false;
  }
  return true;
}

}  // namespace

bool LoadTIF(SourceReader& reader, ImageRecord& record) {
  TiffFile file(reader, record);
  return file.Load();
}

}  // namespace tavik
