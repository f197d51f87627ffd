#include "WordListSearch.h"

#include "SpellChars.h"

#include <algorithm>
#include <cstring>

namespace lexivane {
namespace {

// Order key of a wide character: its Windows-1252 byte, or above every byte when it has none.
uint32_t OrderKey(char16_t c) {
  const int byte = CodePointToCp1252(c);
  return byte >= 0 ? static_cast<uint32_t>(byte) : 0x100u + c;
}


// Byte order is memcmp's order.
int CompareRecord(std::string_view word, const char* record) { return std::memcmp(word.data(), record, word.size()); }

template <typename CharT>
int CompareRecord(std::basic_string_view<CharT> word, const CharT* record) {
  for (size_t i = 0; i < word.size(); ++i) {
    uint32_t a = OrderKey(word[i]);
    uint32_t b = OrderKey(record[i]);
    if (a != b) return a < b ? -1 : 1;
  }
  return 0;
}

template <typename CharT>
FindSpot BinarySearch(std::basic_string_view<CharT> word, std::basic_string_view<CharT> list) {
  FindSpot spot;
  if (word.empty()) return spot;
  const int64_t width = static_cast<int64_t>(word.size());
  int64_t low = 0;
  int64_t high = static_cast<int64_t>(list.size()) / width - 1;
  while (low <= high) {
    int64_t mid = low + (high - low) / 2;
    int cmp = CompareRecord(word, list.data() + mid * width);
    if (cmp == 0) {
      spot.found = true;
      spot.low = spot.high = mid;
      return spot;
    }
    if (cmp < 0)
      high = mid - 1;
    else
      low = mid + 1;
  }
  spot.low = low;
  spot.high = high;
  return spot;
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F; }

// Marks at either end of a word: ASCII punctuation. Letters, digits and every byte above 0x7F stay.
bool IsEdgeMark(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  if (u >= 0x80) return false;
  bool alnum = (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
  return !alnum && !IsBlank(c);
}

}  // namespace

FindSpot BFindWord(std::string_view word, std::string_view list) { return BinarySearch(word, list); }
FindSpot BFindWord(std::u16string_view word, std::u16string_view list) { return BinarySearch(word, list); }

bool FindWordInString(std::string_view word, std::string_view list) {
  const size_t width = word.size();
  if (width == 0) return false;
  for (size_t at = 0; at + width <= list.size(); at += width)
    if (EqualNoCase(word, list.substr(at, width))) return true;
  return false;
}

size_t GetNextWordC(size_t position, std::string_view text, std::string& word) {
  word.clear();
  size_t i = position == 0 ? 0 : position - 1;
  while (i < text.size()) {
    while (i < text.size() && (IsBlank(text[i]) || IsEdgeMark(text[i]))) ++i;
    size_t start = i;
    while (i < text.size() && !IsBlank(text[i]) && i - start < kMaxNextWord) ++i;
    size_t end = i;
    while (end > start && IsEdgeMark(text[end - 1])) --end;
    if (end > start) {
      word.assign(text.substr(start, end - start));
      return end + 1;
    }
  }
  return text.size() + 1;
}

}  // namespace lexivane
