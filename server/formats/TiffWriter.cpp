#include "TiffWriter.h"

#include "ByteOrder.h"
#include "CcittCodec.h"
#include "ErrorReport.h"
#include "ImageRecord.h"
#include "LzwCoder.h"

#include <algorithm>
#include <new>
#include <optional>

namespace tavik {
namespace {

constexpr uint16_t kShortType = 3, kLongType = 4, kRationalType = 5;

struct IfdEntry {
  uint16_t tag, type;
  uint32_t count, value;
};

class TiffWriter final : public ImageWriter {
public:
  explicit TiffWriter(int subtype) : subtype_(subtype) {}

  int Begin(OutputSink& file, const SaveJob& job, std::span<const uint8_t> palette,
            int colorCount) override;
  int Row(OutputSink& file, const SaveJob& job, std::span<const uint8_t> row) override;
  int End(OutputSink& file, const SaveJob& job) override;
  void Release() override {
    lzw_.reset();
    ccitt_.reset();
    std::vector<uint8_t>().swap(coded_);
  }

private:
  int Compression() const {
    switch (subtype_) {
      case kSubLZW: return 5;
      case kSubPackBits: return 32773;
      case kSubCCITT3: return 2;
      case kSubGroup3OneD: return 3;
      case kSubGroup4TwoD: return 4;
      default: return 1;
    }
  }
  bool Fax() const { return Compression() >= 2 && Compression() <= 4; }
  int FinishStrip(OutputSink& file);
  bool Flush(OutputSink& file) {
    if (coded_.empty()) return true;
    bool ok = file.Write(coded_);
    stripBytes_ += coded_.size();
    coded_.clear();
    return ok;
  }

  int subtype_;
  uint64_t rowBytes_ = 0;
  uint32_t rowsPerStrip_ = 0, strips_ = 0, strip_ = 0, rowInStrip_ = 0;
  uint64_t position_ = 0;      // where the next strip starts
  uint64_t stripBytes_ = 0;    // bytes of the current strip so far
  uint64_t offsetsAt_ = 0, countsAt_ = 0;  // where a strip's offset and count are patched in
  bool invert_ = false;
  std::vector<uint8_t> coded_, work_;
  std::unique_ptr<LzwEncoder> lzw_;
  std::unique_ptr<CcittEncoder> ccitt_;
  CcittCoding coding_ = CcittCoding::kGroup4;
  int32_t width_ = 0;
};

int TiffWriter::Begin(OutputSink& file, const SaveJob& job, std::span<const uint8_t> palette,
                      int colorCount) {
  const int bits = job.outputBits;
  const int compression = Compression();
  if (Fax() && bits != 1) return kErrUnsupportedCompression;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return kErrUnsupportedCompression;
  const uint32_t width = static_cast<uint32_t>(job.outputWidth);
  const uint32_t height = static_cast<uint32_t>(job.outputHeight);
  rowBytes_ = (uint64_t{width} * bits + 7) / 8;
  rowsPerStrip_ = subtype_ == kSubGroup3OneD || subtype_ == kSubGroup4TwoD
                      ? height
                      : static_cast<uint32_t>(std::max<uint64_t>(1, 8192 / rowBytes_));
  rowsPerStrip_ = std::min(rowsPerStrip_, height);
  strips_ = (height + rowsPerStrip_ - 1) / rowsPerStrip_;

  // 1-bit files say which value is black; fax files always code 1 as black.
  const bool firstBlack = colorCount > 0 && palette.size() >= 3 && palette[0] == 0;
  uint32_t photometric = bits == 24 ? 2 : bits == 1 ? (firstBlack && !Fax() ? 1 : 0) : 3;
  invert_ = Fax() && firstBlack;

  std::vector<uint8_t> head(8 + 16, 0);
  head[0] = head[1] = 'I';
  PutU16LE(&head[2], 42);
  const bool fine = subtype_ == kSubGroup3OneD || subtype_ == kSubGroup4TwoD;
  PutU32LE(&head[8], fine ? 203 : 75);
  PutU32LE(&head[12], 1);
  PutU32LE(&head[16], fine ? 192 : 75);
  PutU32LE(&head[20], 1);
  const uint32_t mapColors = bits == 4 || bits == 8 ? 1u << bits : 0;
  if (mapColors) {
    // Full intensity is 65535: each 8-bit component times 257.
    for (int c = 0; c < 3; ++c) {
      for (uint32_t i = 0; i < mapColors; ++i) {
        uint32_t v = i < static_cast<uint32_t>(colorCount) && 3 * i + c < palette.size()
                         ? palette[3 * i + c] * 257u : 0;
        head.push_back(static_cast<uint8_t>(v));
        head.push_back(static_cast<uint8_t>(v >> 8));
      }
    }
  } else if (bits == 24) {
    for (int c = 0; c < 3; ++c) head.insert(head.end(), {8, 0});
  }
  const uint32_t ifd = static_cast<uint32_t>(head.size());
  PutU32LE(&head[4], ifd);

  std::vector<IfdEntry> entries = {
      {254, kLongType, 1, 0},
      {256, width > 0xFFFF ? kLongType : kShortType, 1, width},
      {257, height > 0xFFFF ? kLongType : kShortType, 1, height},
      {258, kShortType, bits == 24 ? 3u : 1u, bits == 24 ? 24u : uint32_t(bits)},
      {259, kShortType, 1, uint32_t(compression)},
      {262, kShortType, 1, photometric},
  };
  if (bits == 1) entries.push_back({266, kShortType, 1, 1});
  entries.push_back({273, kLongType, strips_, 0});
  if (bits == 24) entries.push_back({277, kShortType, 1, 3});
  entries.push_back({278, kLongType, 1, rowsPerStrip_});
  entries.push_back({279, kLongType, strips_, 0});
  entries.push_back({282, kRationalType, 1, 8});
  entries.push_back({283, kRationalType, 1, 16});
  if (subtype_ == kSubGroup3OneD) entries.push_back({292, kLongType, 1, 0});
  if (subtype_ == kSubGroup4TwoD) entries.push_back({293, kLongType, 1, 0});
  entries.push_back({296, kShortType, 1, 2});
  if (mapColors) entries.push_back({320, kShortType, 3 * mapColors, 24});
  if (bits == 24) entries[3].value = 24;  // the three 8s stand at offset 24

  const uint64_t ifdEnd = ifd + 2 + 12 * uint64_t(entries.size()) + 4;
  const uint64_t tables = strips_ > 1 ? 8 * uint64_t{strips_} : 0;
  head.resize(static_cast<size_t>(ifdEnd + tables), 0);
  PutU16LE(&head[ifd], static_cast<uint32_t>(entries.size()));
  for (size_t i = 0; i < entries.size(); ++i) {
    IfdEntry& e = entries[i];
    uint8_t* p = &head[ifd + 2 + 12 * i];
    if (e.tag == 273 || e.tag == 279) {
      const uint64_t at = strips_ > 1 ? ifdEnd + (e.tag == 279 ? 4 * uint64_t{strips_} : 0)
                                      : ifd + 2 + 12 * i + 8;
      (e.tag == 273 ? offsetsAt_ : countsAt_) = at;
      if (strips_ > 1) e.value = static_cast<uint32_t>(at);
    }
    PutU16LE(p, e.tag);
    PutU16LE(p + 2, e.type);
    PutU32LE(p + 4, e.count);
    if (e.type == kShortType && e.count == 1) {
      PutU16LE(p + 8, e.value);
    } else {
      PutU32LE(p + 8, e.value);
    }
  }
  if (!file.Write(head)) return kErrWritingOutput;
  position_ = head.size();
  strip_ = rowInStrip_ = 0;
  stripBytes_ = 0;
  try {
    work_.resize(static_cast<size_t>(rowBytes_));
    if (compression == 5) lzw_ = std::make_unique<LzwEncoder>(LzwMode::kTiff, 8);
    if (Fax()) {
      CcittCoding coding = compression == 2   ? CcittCoding::kModifiedHuffman
                           : compression == 3 ? CcittCoding::kGroup3
                                              : CcittCoding::kGroup4;
      coding_ = coding;
      width_ = static_cast<int32_t>(width);
      ccitt_ = std::make_unique<CcittEncoder>(coding, width_);
    }
  } catch (const std::bad_alloc&) {
    return 119;
  }
  return 0;
}

int TiffWriter::Row(OutputSink& file, const SaveJob&, std::span<const uint8_t> row) {
  if (row.size() < rowBytes_) return kErrWritingOutput;
  std::span<const uint8_t> bytes = row.first(static_cast<size_t>(rowBytes_));
  if (invert_) {
    for (size_t i = 0; i < bytes.size(); ++i) work_[i] = static_cast<uint8_t>(~bytes[i]);
    bytes = work_;
  }
  if (ccitt_) {
    ccitt_->EncodeRow(bytes, coded_);
  } else if (lzw_) {
    lzw_->Encode(bytes, coded_);
  } else if (subtype_ == kSubPackBits) {
    PackBitsRow(bytes, coded_);
  } else {
    coded_.insert(coded_.end(), bytes.begin(), bytes.end());
  }
  if (coded_.size() >= 2048 && !Flush(file)) return kErrWritingOutput;
  if (++rowInStrip_ == rowsPerStrip_) return FinishStrip(file);
  return 0;
}

int TiffWriter::FinishStrip(OutputSink& file) {
  if (ccitt_) ccitt_->Finish(coded_);
  if (lzw_) lzw_->Finish(coded_);
  if (!Flush(file)) return kErrWritingOutput;
  uint8_t value[4];
  PutU32LE(value, static_cast<uint32_t>(position_));
  if (!file.WriteAt(offsetsAt_ + 4 * uint64_t{strip_}, value)) return kErrWritingOutput;
  PutU32LE(value, static_cast<uint32_t>(stripBytes_));
  if (!file.WriteAt(countsAt_ + 4 * uint64_t{strip_}, value)) return kErrWritingOutput;
  position_ += stripBytes_;
  // Strips start on word boundaries.
  if (stripBytes_ & 1) {
    const uint8_t pad = 0;
    if (!file.Write({&pad, 1})) return kErrWritingOutput;
    ++position_;
  }
  // Every strip codes on its own, from a white reference line and a fresh byte.
  if (ccitt_) ccitt_ = std::make_unique<CcittEncoder>(coding_, width_);
  stripBytes_ = 0;
  rowInStrip_ = 0;
  ++strip_;
  return 0;
}

int TiffWriter::End(OutputSink& file, const SaveJob&) {
  if (rowInStrip_ != 0) return FinishStrip(file);
  return 0;
}

}  // namespace

void PackBitsRow(std::span<const uint8_t> row, std::vector<uint8_t>& out) {
  size_t i = 0;
  const size_t n = row.size();
  while (i < n) {
    size_t run = 1;
    while (i + run < n && run < 128 && row[i + run] == row[i]) ++run;
    if (run >= 2) {
      out.push_back(static_cast<uint8_t>(1 - static_cast<int>(run)));
      out.push_back(row[i]);
      i += run;
      continue;
    }
    // A literal stretch runs until two equal bytes begin a run.
    size_t end = i + 1;
    while (end < n && end - i < 128 && !(end + 1 < n && row[end] == row[end + 1])) ++end;
    out.push_back(static_cast<uint8_t>(end - i - 1));
    out.insert(out.end(), row.begin() + static_cast<ptrdiff_t>(i),
               row.begin() + static_cast<ptrdiff_t>(end));
    i = end;
  }
}

std::unique_ptr<ImageWriter> MakeTiffWriter(int subtype) {
  return std::make_unique<TiffWriter>(subtype);
}

}  // namespace tavik
