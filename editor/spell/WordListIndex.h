#pragma once
// A hash index over one list string, built when the list changes, so that an exact lookup costs
// one hash and usually one record comparison instead of a binary search through the records. It
// answers exactly what BFindWord(...).found answers for the list it was built from; the store
// rebuilds it whenever that list string changes.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace lexivane {

class WordListIndex {
 public:
  // Indexes the records of `list` (width `width`). Leaves the index unusable when the list holds
  // more records than a slot can name; lookups then go back to the binary search.
  void Build(std::string_view list, size_t width);
  void Clear();
  bool Usable() const { return usable_; }
  // `list` must be the string the index was built from, and `word` of the indexed width.
  bool Contains(std::string_view word, std::string_view list) const;
  size_t Bytes() const { return slots_.capacity() * sizeof(uint32_t); }

 private:
  // A slot holds record number + 1 in its low bits (0: empty) and 8 more bits of the hash above
  // them, which settle most probes that miss without touching the record.
  static constexpr unsigned kRecordBits = 24;
  static constexpr uint32_t kRecordMask = (1u << kRecordBits) - 1;

  std::vector<uint32_t> slots_;
  size_t mask_ = 0;
  size_t width_ = 0;
  bool usable_ = false;
};

}  // namespace lexivane
