#include "WordListStore.h"

#include "SpellChars.h"
#include "WordListSearch.h"

#include <vector>

namespace lexivane {

std::string* WordListStore::Slot(int list, int length) {
  if (list < kBaseList || list > kIgnoreList || length < 1 || length > kMaxWordLength) return nullptr;
  return &lists_[list - 1][length - 1];
}

const std::string& WordListStore::ListString(int list, int length) const {
  static const std::string empty;
  if (list < kBaseList || list > kIgnoreList || length < 1 || length > kMaxWordLength) return empty;
  return lists_[list - 1][length - 1];
}

bool WordListStore::InsertWord(int list, std::string_view word) {
  std::string* slot = Slot(list, static_cast<int>(word.size() > kMaxWordLength ? 0 : word.size()));
  if (slot == nullptr) return false;
  FindSpot spot = BFindWord(word, *slot);
  if (spot.found) return true;
  const int64_t before = spot.high < spot.low ? spot.high + 1 : spot.high;
  slot->insert(static_cast<size_t>(before) * word.size(), word);
  return true;
}

void WordListStore::Reindex(int list, int length) {
  if (const std::string* slot = Slot(list, length))
    indexes_[list - 1][length - 1].Build(*slot, static_cast<size_t>(length));
}

bool WordListStore::FindInList(int list, std::string_view word, bool insert) {
  if (Contains(list, word)) return true;
  if (!insert || !InsertWord(list, word)) return false;
  Reindex(list, static_cast<int>(word.size()));
  return true;
}

bool WordListStore::Contains(int list, std::string_view word) const {
  if (word.empty() || word.size() > kMaxWordLength || list < kBaseList || list > kIgnoreList) return false;
  const std::string& records = lists_[list - 1][word.size() - 1];
  const WordListIndex& index = indexes_[list - 1][word.size() - 1];
  return index.Usable() ? index.Contains(word, records) : BFindWord(word, records).found;
}

bool WordListStore::FindInListNoCase(int list, std::string_view word) const {
  if (word.empty() || word.size() > kMaxWordLength) return false;
  return FindWordInString(word, ListString(list, static_cast<int>(word.size())));
}

void WordListStore::AddWordsToList(int list, std::string_view text) {
  // A custom dictionary file comes through here in one piece: reindex each length once at the end.
  uint64_t touched = 0;
  std::string word;
  size_t position = 1;
  for (;;) {
    position = GetNextWordC(position, text, word);
    if (word.empty()) break;
    if (InsertWord(list, word)) touched |= uint64_t{1} << word.size();
  }
  for (int n = 1; n <= kMaxWordLength; ++n)
    if (touched & (uint64_t{1} << n)) Reindex(list, n);
}

bool WordListStore::IsWordKnown(std::string_view word, bool ignoreCase) const {
  for (int list : {kBaseList, kCustomList}) {
    if (ignoreCase ? FindInListNoCase(list, word) : Contains(list, word)) return true;
  }
  return false;
}

void WordListStore::AddWordsToCustom(std::string_view newWords) {
  AddWordsToList(kCustomList, newWords);
  customDirty_ = true;
}

void WordListStore::IgnoreAll(std::string_view toIgnore) { AddWordsToList(kIgnoreList, toIgnore); }

void WordListStore::RemoveWordsFromDictionary(std::string_view words) {
  std::string word;
  size_t position = 1;
  for (;;) {
    position = GetNextWordC(position, words, word);
    if (word.empty()) return;
    for (int list : {kBaseList, kCustomList, kIgnoreList}) {
      std::string* slot = Slot(list, static_cast<int>(word.size() > kMaxWordLength ? 0 : word.size()));
      if (slot == nullptr) break;
      const size_t width = word.size();
      bool removed = false;
      // The record that moves into a removed one's place is compared in its turn.
      for (size_t at = 0; at + width <= slot->size();) {
        if (EqualNoCase(word, std::string_view(*slot).substr(at, width))) {
          slot->erase(at, width);
          removed = true;
        } else {
          at += width;
        }
      }
      if (removed) Reindex(list, static_cast<int>(width));
    }
  }
}

void WordListStore::ClearList(int list) {
  for (int n = 1; n <= kMaxWordLength; ++n) {
    Slot(list, n)->clear();
    indexes_[list - 1][n - 1].Clear();
  }
}

void WordListStore::ClearCustomDictionary() {
  ClearList(kCustomList);
  customDirty_ = true;
}

namespace {

// One length's list string from the component's data; empty when it is missing or broken.
std::string LoadBaseLength(const WordListSource& source, int n) {
  auto sizeText = source.SizeString(kSizeStringBase + n);
  if (!sizeText) return {};
  auto size = ParseSizeString(*sizeText);
  if (!size) return {};
  std::string buffer(static_cast<size_t>(*size) + 1, ' ');
  if (!LoadStrings(source, n - 1, buffer.data(), buffer.size(), kLoadStringsKey)) return {};
  // Trimmed in place: a copy would touch the whole list's memory a second time at start-up.
  buffer.resize(*size);
  const size_t first = buffer.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  buffer.resize(buffer.find_last_not_of(' ') + 1);
  buffer.erase(0, first);
  return buffer;
}

}  // namespace

void WordListStore::LoadBaseList(const WordListSource& source) {
  for (int n = 1; n <= kMaxWordLength; ++n) {
    *Slot(kBaseList, n) = LoadBaseLength(source, n);
    Reindex(kBaseList, n);
    Slot(kIgnoreList, n)->clear();
    indexes_[kIgnoreList - 1][n - 1].Clear();
  }
}

std::string WordListStore::CustomDictionaryText() const {
  std::string text;
  for (int n = 1; n <= kMaxWordLength; ++n) {
    const std::string& words = ListString(kCustomList, n);
    for (size_t at = 0; at + static_cast<size_t>(n) <= words.size(); at += static_cast<size_t>(n)) {
      if (!text.empty()) text += ' ';
      text.append(words, at, static_cast<size_t>(n));
    }
  }
  return text;
}

uint64_t WordListStore::WordCount(int list) const {
  uint64_t count = 0;
  for (int n = 1; n <= kMaxWordLength; ++n) count += ListString(list, n).size() / static_cast<uint64_t>(n);
  return count;
}

uint64_t WordListStore::ListBytes() const {
  uint64_t bytes = 0;
  for (const auto& list : lists_)
    for (const auto& s : list) bytes += s.capacity();
  for (const auto& list : indexes_)
    for (const auto& index : list) bytes += index.Bytes();
  return bytes;
}

WordListStore& TheWordListStore() {
  static WordListStore store;
  return store;
}

}  // namespace lexivane
