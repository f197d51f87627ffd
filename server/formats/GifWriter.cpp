#include "ByteOrder.h"
#include "ErrorReport.h"
#include "GifCodec.h"
#include "LzwCoder.h"
#include "PixelRows.h"

#include <algorithm>
#include <new>
#include <vector>

namespace tavik {
namespace {

class GifWriter final : public ImageWriter {
public:
  explicit GifWriter(int subtype) : subtype_(subtype) {}

  int Begin(OutputSink& file, const SaveJob& job, std::span<const uint8_t> palette,
            int colorCount) override {
    bits_ = job.outputBits;
    if (bits_ != 1 && bits_ != 4 && bits_ != 8) return kErrUnsupportedCompression;
    width_ = job.outputWidth;
    std::vector<uint8_t> head(subtype_ == kSub89a ? std::vector<uint8_t>{'G', 'I', 'F', '8', '9', 'a'}
                                                  : std::vector<uint8_t>{'G', 'I', 'F', '8', '7', 'a'});
    // The logical screen is the image itself: viewers then show no empty canvas around it.
    uint8_t screen[7] = {};
    PutU16LE(screen, static_cast<uint32_t>(job.outputWidth));
    PutU16LE(screen + 2, static_cast<uint32_t>(job.outputHeight));
    screen[4] = static_cast<uint8_t>(0x80 | ((bits_ - 1) << 4) | (bits_ - 1));
    head.insert(head.end(), screen, screen + 7);
    const int entries = 1 << bits_;
    for (int i = 0; i < entries; ++i) {
      for (int c = 0; c < 3; ++c) {
        size_t at = 3 * static_cast<size_t>(i) + c;
        head.push_back(i < colorCount && at < palette.size() ? palette[at] : 0);
      }
    }
    uint8_t descriptor[10] = {','};
    PutU16LE(descriptor + 5, static_cast<uint32_t>(job.outputWidth));
    PutU16LE(descriptor + 7, static_cast<uint32_t>(job.outputHeight));
    head.insert(head.end(), descriptor, descriptor + 10);
    const int minCodeSize = bits_ == 1 ? 2 : bits_;
    head.push_back(static_cast<uint8_t>(minCodeSize));
    if (!file.Write(head)) return kErrWritingOutput;
    try {
      encoder_ = std::make_unique<LzwEncoder>(LzwMode::kGif, minCodeSize);
      symbols_.resize(static_cast<size_t>(width_));
    } catch (const std::bad_alloc&) {
      return 120;
    }
    return 0;
  }

  int Row(OutputSink& file, const SaveJob&, std::span<const uint8_t> row) override {
    if (row.size() < (static_cast<uint64_t>(width_) * bits_ + 7) / 8) return kErrWritingOutput;
    for (int32_t x = 0; x < width_; ++x) {
      symbols_[static_cast<size_t>(x)] = static_cast<uint8_t>(PackedPixel(row.data(), x, bits_));
    }
    encoder_->Encode(symbols_, coded_);
    return WriteBlocks(file, false) ? 0 : kErrWritingOutput;
  }

  int End(OutputSink& file, const SaveJob&) override {
    encoder_->Finish(coded_);
    if (!WriteBlocks(file, true)) return kErrWritingOutput;
    const uint8_t tail[2] = {0x00, 0x3B};
    return file.Write(tail) ? 0 : kErrWritingOutput;
  }

  void Release() override {
    encoder_.reset();
    std::vector<uint8_t>().swap(coded_);
  }

private:
  // Whole 255-byte sub-blocks, and with `all` the short last one too.
  bool WriteBlocks(OutputSink& file, bool all) {
    size_t at = 0;
    std::vector<uint8_t> blocks;
    while (coded_.size() - at >= 255 || (all && at < coded_.size())) {
      const size_t n = std::min<size_t>(255, coded_.size() - at);
      blocks.push_back(static_cast<uint8_t>(n));
      blocks.insert(blocks.end(), coded_.begin() + static_cast<ptrdiff_t>(at),
                    coded_.begin() + static_cast<ptrdiff_t>(at + n));
      at += n;
    }
    coded_.erase(coded_.begin(), coded_.begin() + static_cast<ptrdiff_t>(at));
    return blocks.empty() || file.Write(blocks);
  }

  int subtype_;
  int bits_ = 8;
  int32_t width_ = 0;
  std::unique_ptr<LzwEncoder> encoder_;
  std::vector<uint8_t> coded_, symbols_;
};

}  // namespace

std::unique_ptr<ImageWriter> MakeGifWriter(int subtype) {
  return std::make_unique<GifWriter>(subtype);
}

}  // namespace tavik
