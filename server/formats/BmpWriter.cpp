// The BMP writers: Windows and OS/2 headers, the "BitBlt" variant (top row first under a
// positive height, so its rows can go to the display driver unchanged) and Windows RLE.
#include "BmpWriter.h"

#include "BmpHeader.h"
#include "BmpRle.h"
#include "ByteOrder.h"
#include "ErrorReport.h"
#include "ImageLimits.h"
#include "ImageRecord.h"
#include "ImageWriter.h"
#include "ImagingErrors.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace tavik {
namespace {

// Colour tables are always written with 2^bits entries: the headers we write leave the
// colour count 0, which every reader takes to mean that many.
int TableEntries(int bits) { return bits <= 8 ? 1 << bits : 0; }

bool Reserve(std::vector<uint8_t>& buffer, uint64_t size) {
  try {
    buffer.assign(static_cast<size_t>(size), 0);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

void PutTable(uint8_t* at, std::span<const uint8_t> palette, int colorCount, int entries,
              int entrySize) {
  for (int i = 0; i < entries && i < colorCount && size_t(3 * i + 2) < palette.size(); ++i) {
    at[entrySize * i] = palette[3 * i + 2];
    at[entrySize * i + 1] = palette[3 * i + 1];
    at[entrySize * i + 2] = palette[3 * i];
  }
}

void PutInfoHeader(uint8_t* at, const SaveJob& job, uint32_t compression) {
  PutU32LE(at, kInfoHeaderSize);
  PutU32LE(at + 4, static_cast<uint32_t>(job.outputWidth));
  PutU32LE(at + 8, static_cast<uint32_t>(job.outputHeight));
  PutU16LE(at + 12, 1);
  PutU16LE(at + 14, static_cast<uint32_t>(job.outputBits));
  PutU32LE(at + 16, compression);
}

bool JobFits(const SaveJob& job) {
  bool depth = job.outputBits == 1 || job.outputBits == 4 || job.outputBits == 8 ||
               job.outputBits == 24;
  return depth && ImageSizeAllowed(job.outputWidth, job.outputHeight) &&
         (job.formatFamily != kFamilyBMP || job.subtype != kSubOS2 ||
          (job.outputWidth <= 0xFFFF && job.outputHeight <= 0xFFFF));
}

class BmpWriter final : public ImageWriter {
public:
  explicit BmpWriter(bool os2) : os2_(os2) {}
  ~BmpWriter() override { Release(); }

  int Begin(OutputSink& file, const SaveJob& job, std::span<const uint8_t> palette,
            int colorCount) override {
    if (!JobFits(job)) return kErrWritingOutput;
    const int bits = job.outputBits, entries = TableEntries(bits);
    const int entrySize = os2_ ? 3 : 4;
    const uint32_t infoSize = os2_ ? kCoreHeaderSize : kInfoHeaderSize;
    // 24-bit files carry one zero entry's worth of bytes between header and pixels.
    const uint32_t tableBytes = bits == 24 ? entrySize : entrySize * entries;
    const uint32_t headerBytes = uint32_t(kBmpFileHeaderSize) + infoSize + tableBytes;
    stride_ = static_cast<size_t>(*DibStride(job.outputWidth, bits));
    const uint64_t fileSize = uint64_t(stride_) * uint64_t(job.outputHeight) + headerBytes;
    std::vector<uint8_t> header;
    if (!Reserve(header, headerBytes) || !Reserve(row_, stride_)) return imaging::kErrLocalAlloc;
    uint8_t* p = header.data();
    p[0] = 'B';
    p[1] = 'M';
    PutU32LE(p + 2, static_cast<uint32_t>(std::min<uint64_t>(fileSize, UINT32_MAX)));
    PutU32LE(p + 10, headerBytes);
    if (os2_) {
      PutU32LE(p + 14, kCoreHeaderSize);
      PutU16LE(p + 18, static_cast<uint32_t>(job.outputWidth));
      PutU16LE(p + 20, static_cast<uint32_t>(job.outputHeight));
      PutU16LE(p + 22, 1);
      PutU16LE(p + 24, static_cast<uint32_t>(bits));
    } else {
      PutInfoHeader(p + 14, job, kBmpRGB);
    }
    PutTable(p + 14 + infoSize, palette, colorCount, entries, entrySize);
    return file.Write(header) ? 0 : kErrWritingOutput;
  }

  int Row(OutputSink& file, const SaveJob& job, std::span<const uint8_t> row) override {
    if (row_.empty()) return kErrWritingOutput;
    std::fill(row_.begin(), row_.end(), 0);
    std::memcpy(row_.data(), row.data(), std::min(row.size(), row_.size()));
    if (job.outputBits == 24) {
      const size_t used = std::min(row_.size(), size_t(job.outputWidth) * 3);
      for (size_t i = 0; i + 2 < used; i += 3) std::swap(row_[i], row_[i + 2]);
    }
    return file.Write(row_) ? 0 : kErrWritingOutput;
  }

  int End(OutputSink&, const SaveJob&) override { return 0; }

  void Release() override { std::vector<uint8_t>().swap(row_); }

private:
  bool os2_;
  size_t stride_ = 0;
  std::vector<uint8_t> row_;
};

class BmpRleWriter final : public ImageWriter {
public:
  ~BmpRleWriter() override { Release(); }

  int Begin(OutputSink& file, const SaveJob& job, std::span<const uint8_t> palette,
            int colorCount) override {
    if ((job.outputBits != 4 && job.outputBits != 8) || !JobFits(job)) return kErrWritingOutput;
    const int entries = TableEntries(job.outputBits);
    headerBytes_ = uint32_t(kBmpFileHeaderSize + kInfoHeaderSize) + 4 * entries;
    std::vector<uint8_t> header;
    if (!Reserve(header, headerBytes_)) return imaging::kErrLocalAlloc;
    uint8_t* p = header.data();
    p[0] = 'B';
    p[1] = 'M';
    PutU32LE(p + 10, headerBytes_);
    PutInfoHeader(p + 14, job, job.outputBits == 4 ? kBmpRLE4 : kBmpRLE8);
    PutTable(p + 54, palette, colorCount, entries, 4);
    rows_ = 0;
    compressed_ = 0;
    return file.Write(header) ? 0 : kErrWritingOutput;
  }

  int Row(OutputSink& file, const SaveJob& job, std::span<const uint8_t> row) override {
    code_.clear();
    try {
      if (job.outputBits == 8) {
        EncodeRle8Row(row.first(std::min(row.size(), size_t(job.outputWidth))), code_);
      } else {
        EncodeRle4Row(row, job.outputWidth, code_);
      }
      bool last = ++rows_ >= job.outputHeight;
      code_.insert(code_.end(), {0, static_cast<uint8_t>(last ? 1 : 0)});
    } catch (const std::bad_alloc&) {
      return imaging::kErrLocalAlloc;
    }
    compressed_ += code_.size();
    return file.Write(code_) ? 0 : kErrWritingOutput;
  }

  int End(OutputSink& file, const SaveJob&) override {
    if (compressed_ + headerBytes_ > UINT32_MAX) return kErrWritingOutput;
    uint8_t field[4];
    PutU32LE(field, static_cast<uint32_t>(headerBytes_ + compressed_));
    if (!file.WriteAt(2, field)) return kErrWritingOutput;
    PutU32LE(field, static_cast<uint32_t>(compressed_));
    return file.WriteAt(34, field) ? 0 : kErrWritingOutput;
  }

  void Release() override { std::vector<uint8_t>().swap(code_); }

private:
  uint32_t headerBytes_ = 0;
  int32_t rows_ = 0;
  uint64_t compressed_ = 0;
  std::vector<uint8_t> code_;
};

}  // namespace

std::unique_ptr<ImageWriter> MakeBmpWriter(int subtype) {
  if (subtype == kSubRLE) return std::unique_ptr<ImageWriter>(new (std::nothrow) BmpRleWriter);
  return std::unique_ptr<ImageWriter>(new (std::nothrow) BmpWriter(subtype == kSubOS2));
}

}  // namespace tavik
