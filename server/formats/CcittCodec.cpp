#include "CcittCodec.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace tavik {
namespace {

#include "CcittTables.inc"

constexpr int kKindTerminating = 1, kKindEol = 3;  // 2: make-up codes
enum Mode { kNoMode, kPass, kHorizontal, kV0, kVR1, kVR2, kVR3, kVL1, kVL2, kVL3, kExtension };
// A Group 4 row may run this far past the width before the image is given up.
constexpr int32_t kRowSlack = 15;

constexpr std::array<uint8_t, 256> MakeReversed() {
  std::array<uint8_t, 256> t{};
  for (int i = 0; i < 256; ++i) {
    int r = 0;
    for (int b = 0; b < 8; ++b) r |= ((i >> b) & 1) << (7 - b);
    t[i] = static_cast<uint8_t>(r);
  }
  return t;
}
constexpr std::array<uint8_t, 256> kReversed = MakeReversed();

// Sets the bits of [from, to) in a packed row.
void SetBits(uint8_t* row, int32_t from, int32_t to) {
  if (from >= to) return;
  int32_t first = from >> 3, last = (to - 1) >> 3;
  uint8_t head = static_cast<uint8_t>(0xFF >> (from & 7));
  uint8_t tail = static_cast<uint8_t>(0xFF << (7 - ((to - 1) & 7)));
  if (first == last) {
    row[first] |= head & tail;
    return;
  }
  row[first] |= head;
  if (last > first + 1) std::memset(row + first + 1, 0xFF, static_cast<size_t>(last - first - 1));
  row[last] |= tail;
}

// Black spans are [changes[0], changes[1]), [changes[2], changes[3]), ... clipped to the row.
void FillRow(std::span<uint8_t> row, const std::vector<int32_t>& changes, size_t count,
             int32_t width) {
  std::fill(row.begin(), row.end(), 0);
  for (size_t i = 0; i < count; i += 2) {
    int32_t from = std::min(changes[i], width);
    int32_t to = i + 1 < count ? std::min(changes[i + 1], width) : width;
    SetBits(row.data(), from, to);
  }
}

// The first reference element after a0 whose colour is the opposite of the current one
// (changes at even positions start black, at odd ones white), searched from a hint that
// never lies more than one colour pair ahead of it.
size_t FindB1(const std::vector<int32_t>& ref, size_t hint, int32_t a0, bool start, bool black) {
  size_t i = hint >= 2 ? hint - 2 : 0;
  while (start ? ref[i] < 0 : ref[i] <= a0) ++i;
  if ((i & 1) != (black ? 1u : 0u)) ++i;
  return i;
}

}  // namespace

const uint8_t kReversedBits[256] = {
#define R(i) kReversed[i]
#define R4(i) R(i), R(i + 1), R(i + 2), R(i + 3)
#define R16(i) R4(i), R4(i + 4), R4(i + 8), R4(i + 12)
#define R64(i) R16(i), R16(i + 16), R16(i + 32), R16(i + 48)
    R64(0), R64(64), R64(128), R64(192)
#undef R64
#undef R16
#undef R4
#undef R
};

void RowChanges(std::span<const uint8_t> row, int32_t width, std::vector<int32_t>& changes) {
  changes.clear();
  bool black = false;
  int32_t x = 0;
  while (x < width) {
    uint8_t byte = row[static_cast<size_t>(x >> 3)];
    // Whole bytes of the current colour are skipped at once.
    if ((x & 7) == 0 && byte == (black ? 0xFF : 0x00)) {
      x += 8;
      continue;
    }
    bool bit = (byte >> (7 - (x & 7))) & 1;
    if (bit != black) {
      changes.push_back(x);
      black = bit;
    }
    ++x;
  }
  if (!changes.empty() && changes.back() > width) changes.back() = width;
  changes.insert(changes.end(), {width, width, width});
}

// ---- decoding ----

CcittDecoder::CcittDecoder(CcittCoding coding, bool twoDimensional, int32_t width,
                           bool reverseBits)
    : coding_(coding), twoDimensional_(twoDimensional), width_(width), reverse_(reverseBits) {
  reference_.reserve(static_cast<size_t>(width) + 8);
  current_.reserve(static_cast<size_t>(width) + 8);
}

void CcittDecoder::Start(std::span<const uint8_t> data) {
  next_ = data.data();
  end_ = data.data() + data.size();
  acc_ = 0;
  count_ = 0;
  padding_ = 0;
  reference_.assign({width_, width_, width_});
}

void CcittDecoder::Refill() {
  while (count_ <= 56) {
    uint8_t byte = 0;
    if (next_ != end_) {
      byte = reverse_ ? kReversed[*next_] : *next_;
      ++next_;
    } else {
      padding_ += 8;
    }
    acc_ |= uint64_t{byte} << (56 - count_);
    count_ += 8;
  }
}

// Zero fill bits of any length and EOLs between rows (Group 3). False when the data ended.
bool CcittDecoder::SkipFillAndEols() {
  for (;;) {
    if (PastEnd()) return false;
    if (Peek(12) == 1) {
      Consume(12);
      continue;
    }
    if (Peek(12) != 0) return true;
    Consume(1);
  }
}

CcittStatus CcittDecoder::ReadRun(bool black, int32_t& run) {
  run = 0;
  for (;;) {
    uint32_t entry = (black ? kCcittBlackDecode : kCcittWhiteDecode)[Peek(kCcittPeekBits)];
    int kind = static_cast<int>(entry >> 16);
    if (kind == 0 && coding_ == CcittCoding::kGroup3 && Peek(12) == 0) {
      // Fill before an EOL in the middle of a row: the EOL follows, ignored below.
      if (!SkipFillAndEols()) return CcittStatus::kEnd;
      black = false;
      continue;
    }
    if (PastEnd()) return CcittStatus::kEnd;
    // Too few bits left to hold any code: the data ended inside the row.
    if (kind == 0) return RealBits() < kCcittPeekBits ? CcittStatus::kEnd : CcittStatus::kBadCode;
    Consume(static_cast<int>((entry >> 12) & 15));
    if (PastEnd()) return CcittStatus::kEnd;
    if (kind == kKindEol) {
      if (coding_ == CcittCoding::kGroup4) return CcittStatus::kEol;
      black = false;
      continue;
    }
    run += static_cast<int32_t>(entry & 0xFFF);
    if (kind == kKindTerminating) return CcittStatus::kRow;
    // Make-up codes only add up; a run longer than any row is refused before it can overflow.
    if (run > width_ + (int32_t{1} << 16)) return CcittStatus::kBadCode;
  }
}

CcittStatus CcittDecoder::OneDimensional() {
  current_.clear();
  int32_t a0 = 0;
  bool black = false;
  while (a0 < width_) {
    int32_t run = 0;
    CcittStatus status = ReadRun(black, run);
    if (status != CcittStatus::kRow) return status;
    a0 += run;
    if (a0 > width_ + kRowSlack) return CcittStatus::kBadLength;
    current_.push_back(a0);
    black = !black;
  }
  // The last change is the row's end, not a colour change.
  if (!current_.empty() && current_.back() >= width_) current_.pop_back();
  return CcittStatus::kRow;
}

CcittStatus CcittDecoder::TwoDimensional() {
  current_.clear();
  int32_t a0 = 0;
  bool start = true, black = false;
  size_t b = 0;
  const size_t limit = 2 * static_cast<size_t>(width_) + 8;
  while (a0 < width_) {
    if (current_.size() > limit) return CcittStatus::kBadCode;
    uint8_t entry = kCcittModeDecode[Peek(kCcittModePeekBits)];
    if (PastEnd()) return CcittStatus::kEnd;
    if (entry == 0) {
      if (Peek(12) == 1) return CcittStatus::kEol;
      return RealBits() < kCcittModePeekBits ? CcittStatus::kEnd : CcittStatus::kBadCode;
    }
    Consume(entry >> 4);
    if (PastEnd()) return CcittStatus::kEnd;
    b = FindB1(reference_, b, a0, start, black);
    const int32_t b1 = reference_[b], b2 = reference_[b + 1];
    switch (entry & 15) {
      case kPass:
        // The colour goes on past b2; a change is recorded only where it really changes.
        a0 = b2;
        break;
      case kHorizontal: {
        int32_t run1 = 0, run2 = 0;
        CcittStatus status = ReadRun(black, run1);
        if (status == CcittStatus::kRow) status = ReadRun(!black, run2);
        if (status != CcittStatus::kRow) return status;
        int64_t a1 = int64_t{a0} + run1, a2 = a1 + run2;
        if (a2 > width_ + kRowSlack) return CcittStatus::kBadLength;
        current_.push_back(static_cast<int32_t>(a1));
        current_.push_back(static_cast<int32_t>(a2));
        a0 = static_cast<int32_t>(a2);
        break;
      }
      case kExtension:  // uncompressed mode is not supported
        return CcittStatus::kBadCode;
      default: {
        static constexpr int kOffsets[] = {0, 0, 0, 0, 1, 2, 3, -1, -2, -3};
        int32_t a1 = b1 + kOffsets[entry & 15];
        if (a1 < a0) return CcittStatus::kBadCode;
        if (a1 > width_ + kRowSlack) return CcittStatus::kBadLength;
        current_.push_back(a1);
        a0 = a1;
        black = !black;
        break;
      }
    }
    start = false;
  }
  if (a0 > width_ + kRowSlack) return CcittStatus::kBadLength;
  return CcittStatus::kRow;
}

CcittStatus CcittDecoder::DecodeRow(std::span<uint8_t> row) {
  CcittStatus status;
  if (coding_ == CcittCoding::kGroup4) {
    status = TwoDimensional();
  } else {
    if (coding_ == CcittCoding::kGroup3 && !SkipFillAndEols()) return CcittStatus::kEnd;
    bool twoD = false;
    if (coding_ == CcittCoding::kGroup3 && twoDimensional_) {
      twoD = Peek(1) == 0;  // the tag bit after each EOL: 1 = one-dimensional row
      Consume(1);
    }
    status = twoD ? TwoDimensional() : OneDimensional();
    if (coding_ == CcittCoding::kModifiedHuffman) Consume(count_ & 7);
  }
  if (status != CcittStatus::kRow) return status;
  FillRow(row, current_, current_.size(), width_);
  // The next row codes against this one, its changes clipped to the width.
  reference_.clear();
  for (int32_t c : current_) reference_.push_back(std::min(c, width_));
  reference_.insert(reference_.end(), {width_, width_, width_});
  return CcittStatus::kRow;
}

// ---- encoding ----

CcittEncoder::CcittEncoder(CcittCoding coding, int32_t width) : coding_(coding), width_(width) {
  reference_.assign({width, width, width});
}

void CcittEncoder::Put(uint32_t code, int length, std::vector<uint8_t>& out) {
  acc_ = (acc_ << length) | code;
  count_ += length;
  bitsSinceEol_ += static_cast<uint64_t>(length);
  while (count_ >= 8) {
    count_ -= 8;
    out.push_back(static_cast<uint8_t>(acc_ >> count_));
  }
}

void CcittEncoder::PadToByte(std::vector<uint8_t>& out) {
  if (count_ > 0) Put(0, 8 - count_, out);
}

void CcittEncoder::PutRun(bool black, int32_t run, std::vector<uint8_t>& out) {
  const uint32_t* table = black ? kCcittBlackEncode : kCcittWhiteEncode;
  while (run >= 2624) {  // the longest make-up code, 2560, followed by more make-up codes
    Put(table[63 + 40] >> 4, table[63 + 40] & 15, out);
    run -= 2560;
  }
  if (run >= 64) {
    uint32_t code = table[63 + run / 64];
    Put(code >> 4, static_cast<int>(code & 15), out);
    run %= 64;
  }
  Put(table[run] >> 4, static_cast<int>(table[run] & 15), out);
}

void CcittEncoder::PutMode(int mode, std::vector<uint8_t>& out) {
  uint8_t code = kCcittModeEncode[mode - 1];
  Put(code >> 3, code & 7, out);
}

void CcittEncoder::EncodeRow(std::span<const uint8_t> row, std::vector<uint8_t>& out) {
  RowChanges(row, width_, current_);
  if (coding_ == CcittCoding::kGroup3 && !started_) Put(1, 12, out);
  started_ = true;
  if (coding_ != CcittCoding::kGroup4) {
    bitsSinceEol_ = 0;
    int32_t a0 = 0;
    bool black = false;
    for (int32_t change : current_) {
      PutRun(black, change - a0, out);
      a0 = change;
      black = !black;
      if (a0 >= width_) break;
    }
    if (coding_ == CcittCoding::kModifiedHuffman) {
      PadToByte(out);
    } else {
      // T.4 asks for a minimum row time; 180 bits cover the slowest receivers.
      while (bitsSinceEol_ < 180) Put(0, static_cast<int>(std::min<uint64_t>(8, 180 - bitsSinceEol_)), out);
      Put(1, 12, out);
    }
    return;
  }
  int32_t a0 = 0;
  bool start = true, black = false;
  size_t a = 0, b = 0;
  while (a0 < width_) {
    while (start ? current_[a] < 0 : current_[a] <= a0) ++a;  // a1
    const int32_t a1 = current_[a], a2 = current_[a + 1];
    b = FindB1(reference_, b, a0, start, black);
    const int32_t b1 = reference_[b], b2 = reference_[b + 1];
    if (b2 < a1) {
      PutMode(kPass, out);
      a0 = b2;
    } else if (a1 - b1 >= -3 && a1 - b1 <= 3) {
      static constexpr int kByOffset[] = {kVL3, kVL2, kVL1, kV0, kVR1, kVR2, kVR3};
      PutMode(kByOffset[a1 - b1 + 3], out);
      a0 = a1;
      black = !black;
    } else {
      PutMode(kHorizontal, out);
      PutRun(black, a1 - a0, out);
      PutRun(!black, a2 - a1, out);
      a0 = a2;
    }
    start = false;
  }
  reference_.swap(current_);
}

void CcittEncoder::Finish(std::vector<uint8_t>& out) {
  if (coding_ == CcittCoding::kGroup3) {
    // Return to control: with the last row's own EOL, six in a row.
    for (int i = 0; i < 5; ++i) Put(1, 12, out);
  }
  PadToByte(out);
}

}  // namespace tavik
