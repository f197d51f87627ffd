// The four word-list exports over the portable code. Callers pass raw pointers from another
// language, so every pointer and number is checked, and no exception leaves an export.

#include "UlvaneSpell.h"

#include "ResourceWordListSource.h"
#include "WordListSearch.h"

#include <climits>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

int ClampToInt(int64_t v) { return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v); }

}  // namespace

extern "C" int WINAPI LoadStrings(HMODULE module, int index, char* buffer, int key) {
  try {
    if (buffer == nullptr || index < 0 || index >= lexivane::kMaxWordLength) return 0;
    lexivane::ResourceWordListSource source(module);
    // The caller sized the buffer from the same size string: that count plus the terminator.
    auto sizeText = source.SizeString(lexivane::kSizeStringBase + index + 1);
    if (!sizeText) return 0;
    auto size = lexivane::ParseSizeString(*sizeText);
    if (!size) return 0;
    return lexivane::LoadStrings(source, index, buffer, static_cast<size_t>(*size) + 1, key);
  } catch (...) {
    return 0;
  }
}

extern "C" int WINAPI BFindWord(const wchar_t* word, const wchar_t* list, int* low, int* high) {
  static_assert(sizeof(wchar_t) == sizeof(char16_t));
  if (word == nullptr || list == nullptr) return 0;
  std::u16string_view w(reinterpret_cast<const char16_t*>(word), std::wcslen(word));
  std::u16string_view l(reinterpret_cast<const char16_t*>(list), std::wcslen(list));
  lexivane::FindSpot spot = lexivane::BFindWord(w, l);
  if (low != nullptr) *low = ClampToInt(spot.low);
  if (high != nullptr) *high = ClampToInt(spot.high);
  return spot.found ? 1 : 0;
}

extern "C" int WINAPI FindWordInString(const char* word, const char* list, int length) {
  if (word == nullptr || list == nullptr || length < 1) return 0;
  const size_t wordLength = std::strlen(word);
  if (wordLength != static_cast<size_t>(length)) return 0;
  return lexivane::FindWordInString(std::string_view(word, wordLength), list) ? 1 : 0;
}

extern "C" int WINAPI GetNextWordC(int position, const char* text, char* buffer) {
  if (buffer == nullptr) return position;
  buffer[0] = '\0';
  if (text == nullptr) return position;
  try {
    std::string word;
    const size_t next = lexivane::GetNextWordC(position < 0 ? 0 : static_cast<size_t>(position), text, word);
    // GetNextWordC never hands out more than 255 characters: the buffer holds 256.
    std::memcpy(buffer, word.data(), word.size());
    buffer[word.size()] = '\0';
    return ClampToInt(static_cast<int64_t>(next));
  } catch (...) {
    return position;
  }
}
