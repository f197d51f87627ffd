#include "LzwCoder.h"

#include <algorithm>

namespace tavik {

LzwDecoder::LzwDecoder(LzwMode mode, int minCodeSize)
    : mode_(mode),
      minCodeSize_(minCodeSize),
      clear_(1 << minCodeSize),
      endCode_((1 << minCodeSize) + 1),
      table_(new Entry[kLzwTableSize]) {
  for (int i = 0; i < kLzwTableSize; ++i) {
    const uint8_t root = static_cast<uint8_t>(i < clear_ ? i : 0);
    table_[i] = {0, 1, root, root};
  }
  Reset();
}

void LzwDecoder::Reset() {
  width_ = minCodeSize_ + 1;
  next_ = clear_ + 2;
  previous_ = -1;
}

void LzwDecoder::Start(std::span<const uint8_t> data) {
  in_ = data.data();
  end_ = data.data() + data.size();
  acc_ = 0;
  count_ = 0;
  finished_ = false;
  pending_.clear();
  pendingAt_ = 0;
  Reset();
}

// Tops the bit buffer up to at least 48 bits while the data lasts; false when not even one
// code's worth is left.
bool LzwDecoder::Refill() {
  while (count_ <= 48 && in_ != end_) {
    if (mode_ == LzwMode::kGif) {
      acc_ |= uint64_t{*in_++} << count_;
    } else {
      acc_ = (acc_ << 8) | *in_++;
    }
    count_ += 8;
  }
  return count_ >= width_;
}

size_t LzwDecoder::Produce(std::span<uint8_t> out) {
  size_t produced = 0;
  while (pendingAt_ < pending_.size() && produced < out.size()) {
    out[produced++] = pending_[pendingAt_++];
  }
  while (produced < out.size() && !finished_) {
    int code = ReadCode();
    if (code < 0 || code == endCode_) {
      finished_ = true;
      break;
    }
    if (code == clear_) {
      Reset();
      continue;
    }
    if (previous_ >= 0 && (code > next_ || (code == next_ && next_ >= kLzwTableSize))) {
      // A code the table cannot have yet: start a new table and take it as 0.
      Reset();
      code = 0;
    }
    if (previous_ < 0) {
      if (code >= clear_) code = 0;
    } else if (next_ < kLzwTableSize) {
      // The new string is the previous one plus the first byte of this one, which for a code
      // not yet in the table is the previous string's own first byte.
      const Entry& before = table_[previous_];
      table_[next_] = {static_cast<uint16_t>(previous_), static_cast<uint16_t>(before.length + 1),
                       code == next_ ? before.first : table_[code].first, before.first};
      ++next_;
      const int grow = mode_ == LzwMode::kGif ? (1 << width_) : (1 << width_) - 1;
      if (next_ >= grow && width_ < kLzwMaxBits) ++width_;
    }
    previous_ = code;
    const size_t length = table_[code].length;
    uint8_t* target;
    if (length <= out.size() - produced) {
      target = out.data() + produced;
      produced += length;
    } else {
      pending_.resize(length);
      pendingAt_ = 0;
      target = pending_.data();
    }
    int c = code;
    for (size_t i = length; i-- > 0;) {
      target[i] = table_[c].suffix;
      c = table_[c].prefix;
    }
    if (target == pending_.data()) {
      while (pendingAt_ < pending_.size() && produced < out.size()) {
        out[produced++] = pending_[pendingAt_++];
      }
    }
  }
  return produced;
}

LzwEncoder::LzwEncoder(LzwMode mode, int minCodeSize)
    : mode_(mode),
      minCodeSize_(minCodeSize),
      clear_(1 << minCodeSize),
      endCode_((1 << minCodeSize) + 1),
      hashKey_(kHashSize, -1),
      hashCode_(kHashSize, 0) {
  width_ = minCodeSize + 1;
}

void LzwEncoder::Restart() {
  std::fill(hashKey_.begin(), hashKey_.end(), -1);
  next_ = clear_ + 2;
}

void LzwEncoder::FollowDecoder(int code) {
  if (code == clear_) {
    width_ = minCodeSize_ + 1;
    decoderNext_ = clear_ + 2;
    decoderFirst_ = true;
    return;
  }
  if (decoderFirst_) {
    decoderFirst_ = false;
    return;
  }
  if (decoderNext_ >= kLzwTableSize) return;
  ++decoderNext_;
  const int grow = mode_ == LzwMode::kGif ? (1 << width_) : (1 << width_) - 1;
  if (decoderNext_ >= grow && width_ < kLzwMaxBits) ++width_;
}

void LzwEncoder::Put(int code, std::vector<uint8_t>& out) {
  if (mode_ == LzwMode::kGif) {
    acc_ |= uint64_t(code) << count_;
    count_ += width_;
    while (count_ >= 8) {
      out.push_back(static_cast<uint8_t>(acc_));
      acc_ >>= 8;
      count_ -= 8;
    }
  } else {
    acc_ = (acc_ << width_) | uint64_t(code);
    count_ += width_;
    while (count_ >= 8) {
      count_ -= 8;
      out.push_back(static_cast<uint8_t>(acc_ >> count_));
    }
    acc_ &= (uint64_t{1} << count_) - 1;
  }
  FollowDecoder(code);
}

void LzwEncoder::Encode(std::span<const uint8_t> symbols, std::vector<uint8_t>& out) {
  if (!started_) {
    Put(clear_, out);
    Restart();
    started_ = true;
  }
  // GIF starts a new table past code 4095, TIFF two codes earlier so that its early width
  // change never asks for 13 bits.
  const int limit = mode_ == LzwMode::kGif ? kLzwTableSize : kLzwTableSize - 2;
  for (uint8_t s : symbols) {
    if (prefix_ < 0) {
      prefix_ = s;
      continue;
    }
    const int32_t key = (int32_t{s} << 12) | prefix_;
    int slot = (prefix_ + (int{s} << 4)) % kHashSize;
    const int step = slot == 0 ? 1 : kHashSize - slot;
    bool found = false;
    while (hashKey_[slot] != -1) {
      if (hashKey_[slot] == key) {
        found = true;
        break;
      }
      slot -= step;
      if (slot < 0) slot += kHashSize;
    }
    if (found) {
      prefix_ = hashCode_[slot];
      continue;
    }
    Put(prefix_, out);
    if (next_ < limit) {
      hashKey_[slot] = key;
      hashCode_[slot] = static_cast<int16_t>(next_++);
    } else {
      Put(clear_, out);
      Restart();
    }
    prefix_ = s;
  }
}

void LzwEncoder::Finish(std::vector<uint8_t>& out) {
  if (!started_) Encode({}, out);
  if (prefix_ >= 0) Put(prefix_, out);
  Put(endCode_, out);
  if (count_ > 0) {
    if (mode_ == LzwMode::kGif) {
      out.push_back(static_cast<uint8_t>(acc_));
    } else {
      out.push_back(static_cast<uint8_t>(acc_ << (8 - count_)));
    }
  }
  acc_ = 0;
  count_ = 0;
  prefix_ = -1;
  started_ = false;
  width_ = minCodeSize_ + 1;
}

}  // namespace tavik
