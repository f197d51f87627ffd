#include "WordListIndex.h"

#include <cstring>

namespace lexivane {
namespace {

// Words are at most 32 bytes: mixing eight bytes at a time keeps the hash a handful of
// multiplications. Same bytes, same hash; nothing here needs to be stable across builds.
uint64_t HashWord(const char* p, size_t n) {
  uint64_t h = 0x9E3779B97F4A7C15ull * (n + 1);
  auto mix = [&h](uint64_t v) {
    h = (h ^ v) * 0xBF58476D1CE4E5B9ull;
    h ^= h >> 31;
  };
  for (; n >= 8; p += 8, n -= 8) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    mix(v);
  }
  if (n > 0) {
    uint64_t v = 0;
    for (size_t i = 0; i < n; ++i) v |= static_cast<uint64_t>(static_cast<unsigned char>(p[i])) << (8 * i);
    mix(v);
  }
  h *= 0x94D049BB133111EBull;
  return h ^ (h >> 29);
}

// Equality of two records of at most 32 bytes without a library call: two overlapping loads
// cover any length from one to twice their size.
template <typename Word>
bool SameAs(const char* a, const char* b, size_t n) {
  Word x0, y0, x1, y1;
  std::memcpy(&x0, a, sizeof(Word));
  std::memcpy(&y0, b, sizeof(Word));
  std::memcpy(&x1, a + n - sizeof(Word), sizeof(Word));
  std::memcpy(&y1, b + n - sizeof(Word), sizeof(Word));
  return ((x0 ^ y0) | (x1 ^ y1)) == 0;
}

bool SameRecord(const char* a, const char* b, size_t n) {
  if (n >= 16) {
    for (size_t at = 0; at + 16 < n; at += 16)
      if (!SameAs<uint64_t>(a + at, b + at, 16)) return false;
    return SameAs<uint64_t>(a + n - 16, b + n - 16, 16);
  }
  if (n >= 8) return SameAs<uint64_t>(a, b, n);
  if (n >= 4) return SameAs<uint32_t>(a, b, n);
  if (n >= 2) return SameAs<uint16_t>(a, b, n);
  return n == 0 || *a == *b;
}

uint32_t TagOf(uint64_t h) { return static_cast<uint32_t>(h >> 56); }

}  // namespace

void WordListIndex::Clear() {
  slots_.clear();
  slots_.shrink_to_fit();
  mask_ = 0;
  width_ = 0;
  usable_ = false;
}

void WordListIndex::Build(std::string_view list, size_t width) {
  Clear();
  if (width == 0) return;
  const uint64_t count = list.size() / width;
  // An empty list needs no index, and a list too long for a slot keeps the binary search.
  if (count == 0 || count >= kRecordMask) return;
  // At most three quarters full, so that a probe for a missing word ends soon.
  uint64_t capacity = 8;
  while (capacity * 3 < count * 4) capacity *= 2;
  slots_.assign(static_cast<size_t>(capacity), 0);
  mask_ = static_cast<size_t>(capacity - 1);
  width_ = width;
  for (uint64_t r = 0; r < count; ++r) {
    const uint64_t h = HashWord(list.data() + r * width, width);
    size_t at = static_cast<size_t>(h) & mask_;
    while (slots_[at] != 0) at = (at + 1) & mask_;
    slots_[at] = (TagOf(h) << kRecordBits) | static_cast<uint32_t>(r + 1);
  }
  usable_ = true;
}

bool WordListIndex::Contains(std::string_view word, std::string_view list) const {
  if (!usable_ || word.size() != width_) return false;
  const uint64_t h = HashWord(word.data(), width_);
  const uint32_t tag = TagOf(h);
  for (size_t at = static_cast<size_t>(h) & mask_;; at = (at + 1) & mask_) {
    const uint32_t slot = slots_[at];
    if (slot == 0) return false;
    if ((slot >> kRecordBits) == tag) {
      const size_t record = (slot & kRecordMask) - 1;
      if (SameRecord(list.data() + record * width_, word.data(), width_)) return true;
    }
  }
}

}  // namespace lexivane
