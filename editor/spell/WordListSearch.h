#pragma once
// The four low-level word-list routines. `UlvaneSpell.dll` exports them over C buffers; the store
// calls them directly. A list string is the concatenation of fixed-width records, all of the
// searched word's length, sorted by code unit value: Windows-1252 bytes for 8-bit text, and for
// wide text the Windows-1252 byte a character converts to, so both forms of one list share an order.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lexivane {

// Where a missing word would go: records low and high (0-based) bound its place; with the usual
// outcome high < low it belongs before record high + 1.
struct FindSpot {
  bool found = false;
  int64_t low = 0;
  int64_t high = -1;
};

FindSpot BFindWord(std::string_view word, std::string_view list);
FindSpot BFindWord(std::u16string_view word, std::u16string_view list);

// Linear scan of the records of the word's width, ignoring letter case.
bool FindWordInString(std::string_view word, std::string_view list);

// Longest word GetNextWordC hands out at once; a longer run comes out in pieces of this size, so
// that the returned position minus the word's length is still the word's start.
inline constexpr size_t kMaxNextWord = 255;

// Reads the next word of text from the 1-based position (0 counts as 1) and returns the 1-based
// position just past it; `word` is left empty at the end of the text. Words are runs of
// non-blank characters with punctuation trimmed from both ends, so a line of prose gives its
// words without commas or full stops and inner marks ("don't", "e-mail", "e.g") stay.
size_t GetNextWordC(size_t position, std::string_view text, std::string& word);

}  // namespace lexivane
