// The LZW coder of GIF and TIFF. The two differ in bit order (GIF least significant bit first,
// TIFF most significant first), in framing (GIF data comes in sub-blocks, which the callers
// strip or add), in when the code width grows (TIFF one code earlier) and in when the encoder
// starts a new table (GIF past code 4095, TIFF past 4093).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace tavik {

enum class LzwMode { kGif, kTiff };

inline constexpr int kLzwMaxBits = 12;
inline constexpr int kLzwTableSize = 1 << kLzwMaxBits;

class LzwDecoder {
public:
  // minCodeSize: 1..11 for GIF (the caller refuses larger ones), 8 for TIFF.
  LzwDecoder(LzwMode mode, int minCodeSize);
  // Starts over on new data (a TIFF strip, a GIF image's joined sub-blocks).
  void Start(std::span<const uint8_t> data);
  // Writes up to out.size() bytes; fewer only when the end code or the end of the data came.
  size_t Produce(std::span<uint8_t> out);
  bool Finished() const { return finished_; }

private:
  // The next code of the current width, or -1 at the end of the data.
  int ReadCode() {
    if (count_ < width_ && !Refill()) return -1;
    int code;
    if (mode_ == LzwMode::kGif) {
      code = static_cast<int>(acc_ & ((1u << width_) - 1));
      acc_ >>= width_;
    } else {
      code = static_cast<int>((acc_ >> (count_ - width_)) & ((1u << width_) - 1));
    }
    count_ -= width_;
    return code;
  }
  bool Refill();
  void Reset();

  LzwMode mode_;
  int minCodeSize_;
  int clear_, endCode_;
  int width_ = 0;
  int next_ = 0;
  int previous_ = -1;
  bool finished_ = false;
  const uint8_t* in_ = nullptr;
  const uint8_t* end_ = nullptr;
  uint64_t acc_ = 0;
  int count_ = 0;
  // Each string is its prefix's string plus one byte; its length and first byte make output a
  // single backwards copy. One record per code keeps a code's fields in one cache line.
  struct Entry {
    uint16_t prefix;
    uint16_t length;
    uint8_t suffix;
    uint8_t first;
  };
  std::unique_ptr<Entry[]> table_;
  // A string that did not fit the caller's span waits here for the next call.
  std::vector<uint8_t> pending_;
  size_t pendingAt_ = 0;
};

class LzwEncoder {
public:
  // minCodeSize: the symbol size (2..8 for GIF, 8 for TIFF). Starts with a clear code.
  LzwEncoder(LzwMode mode, int minCodeSize);
  // Codes `symbols` (each below 2^minCodeSize) and appends finished bytes to `out`.
  void Encode(std::span<const uint8_t> symbols, std::vector<uint8_t>& out);
  // Writes the pending code and the end code and flushes the last bits; the encoder then
  // starts a new stream (with a clear code) on the next Encode.
  void Finish(std::vector<uint8_t>& out);

private:
  void Put(int code, std::vector<uint8_t>& out);
  void Restart();
  // The code width the decoder will read the next code with, after it has seen this one.
  void FollowDecoder(int code);

  LzwMode mode_;
  int minCodeSize_;
  int clear_, endCode_;
  int width_ = 0;
  int next_ = 0;         // our next free code
  int decoderNext_ = 0;  // the decoder's, one entry behind ours
  bool decoderFirst_ = true;
  int prefix_ = -1;
  bool started_ = false;
  uint64_t acc_ = 0;
  int count_ = 0;
  static constexpr int kHashSize = 5003;  // a prime above 4096 with room to spare
  std::vector<int32_t> hashKey_;
  std::vector<int16_t> hashCode_;
};

}  // namespace tavik
