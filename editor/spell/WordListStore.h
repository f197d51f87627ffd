#pragma once
// The process-wide word lists: base (1), custom (2) and ignore (3), each one string per word
// length 1..32 holding that length's words as sorted fixed-width records.

#include "WordListData.h"
#include "WordListIndex.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lexivane {

enum WordListId : int { kBaseList = 1, kCustomList = 2, kIgnoreList = 3 };

// An error the control hands on to its host as a COM error; every caller inside the control
// ignores it.
struct SpellError {
  int32_t number = 0;
  std::string description;
};
// Interface error base 0x80040000 plus 3051.
inline constexpr int32_t kErrCantOpenCustomDictionary = -2147218453;

inline constexpr std::string_view kCustomDictionaryBareName = "ULCUSTOM.CUD";

class WordListStore {
 public:
  // Lookups in one list; words of length 0 or over 32 are never found or stored.
  bool FindInList(int list, std::string_view word, bool insert);
  bool Contains(int list, std::string_view word) const;  // FindInList without inserting
  bool FindInListNoCase(int list, std::string_view word) const;
  void AddWordsToList(int list, std::string_view text);
  // Base list, then custom list; the ignore list is never asked.
  bool IsWordKnown(std::string_view word, bool ignoreCase) const;

  // The control's public methods on the store.
  void AddWordsToCustom(std::string_view newWords);
  void IgnoreAll(std::string_view toIgnore);
  void RemoveWordsFromDictionary(std::string_view words);
  void ClearBaseDictionary() { ClearList(kBaseList); }
  void ClearCustomDictionary();
  void ClearIgnoreList() { ClearList(kIgnoreList); }
  std::optional<SpellError> LoadCustomDictionary(std::string_view fileName, bool appendToExisting);
  // False when the file could not be written; the old file and the dirty flag then stay.
  bool SaveCustomDictionary(std::string_view fileName);

  // `CustomDictionaryFileName`: saves the custom list to the current file, then reads the new
  // one into it without clearing it first.
  std::optional<SpellError> SetCustomDictionaryFileName(std::string_view fileName);
  const std::string& CustomDictionaryFileName() const { return currentFileName_; }
  // What every new control instance does first: the Windows directory + "\ULCUSTOM.CUD".
  void ResetCustomDictionaryFileName() { currentFileName_ = DefaultCustomDictionaryName(); }
  bool CustomDirty() const { return customDirty_; }

  // Start-up: the base list from the component's word-list data (lengths 1..32), and the
  // Windows directory (one trailing separator removed) for the default dictionary name.
  void LoadBaseList(const WordListSource& source);
  void SetWindowsDirectory(std::string_view directory);
  std::string DefaultCustomDictionaryName() const;
  std::string NormaliseCustomDictionaryName(std::string_view fileName) const;

  // The custom dictionary file's text: every word of list 2 by length, then list order,
  // separated by single blanks.
  std::string CustomDictionaryText() const;

  const std::string& ListString(int list, int length) const;
  uint64_t WordCount(int list) const;
  uint64_t ListBytes() const;

 private:
  void ClearList(int list);
  std::string* Slot(int list, int length);
  // Inserts without reindexing; the caller reindexes once its batch is done.
  bool InsertWord(int list, std::string_view word);
  void Reindex(int list, int length);

  std::array<std::array<std::string, kMaxWordLength>, 3> lists_;
  // Kept in step with lists_: every change of a list string rebuilds its index.
  std::array<std::array<WordListIndex, kMaxWordLength>, 3> indexes_;
  std::string windowsDirectory_;
  std::string currentFileName_;
  bool customDirty_ = false;
};

// The one store of the process, shared by every control instance.
WordListStore& TheWordListStore();

}  // namespace lexivane
