#pragma once
// The check engine of one control instance: CheckWord, the walk over a text (CheckText) and the
// two public entry points CheckSpellingNow and CheckString. The correction dialog, the events and
// the document belong to the control; the engine reaches them through SpellHost.

#include <cstdint>
#include <string>
#include <string_view>

namespace lexivane {

class ChangeList;
class WordListStore;

enum eWhatToDo : int32_t {
  seIgnoreWord = 0,
  seIgnoreAll = 1,
  seAddToCustom = 2,
  seChangeWord = 3,
  seChangeAll = 4,
  seCancelChecking = 5,
};

enum eDoneAction : int32_t { seDoNothing = 0, seFireDoneEvent = 1, seShowMsgBox = 2 };

inline constexpr std::string_view kNoSuggestions = "(No suggestions)";
inline constexpr std::string_view kCheckCompleteText = "Spelling Check Complete.";
inline constexpr std::string_view kCheckCompleteTitle = "Spelling Check";

struct SpellOptions {
  bool ignoreAllCaps = true;
  bool ignoreWithNumbers = true;
  bool ignoreInternetAddrs = true;
  bool ignoreCase = false;
  bool suggestCorrections = true;
  bool autoHandleErrors = true;
  bool allowCancel = true;
  bool allowAddToCustom = true;
  eDoneAction doneAction = seDoNothing;
};

struct DialogPosition {
  int32_t left = 0;
  int32_t top = 0;
  bool Remembered() const { return left != 0 || top != 0; }
};

struct CorrectionRequest {
  std::string_view word;
  std::string_view suggestions;  // entries separated by carriage returns
  bool showCancel = true;
  bool showAdd = true;
  DialogPosition position;  // where to place the dialog when Remembered()
};

struct Decision {
  int32_t whatToDo = seIgnoreWord;
  std::string replacement;  // the dialog's word box, or BadWord after the event
};

// What the control provides. Positions are 0-based document character positions.
class SpellHost {
 public:
  virtual ~SpellHost() = default;
  // The modal correction dialog; `position` receives where the user left it.
  virtual Decision RunCorrectionDialog(const CorrectionRequest& request, DialogPosition& position) = 0;
  // `SpellingError(BadWord, Suggestions, OffsetOfWord, WhatToDo)`.
  virtual void RaiseSpellingError(std::string& badWord, std::string_view suggestions, int32_t offsetOfWord,
                                  int32_t& whatToDo) = 0;
  virtual void RaiseSpellCheckDone() {}
  virtual void ShowMessageBox(std::string_view text, std::string_view title) {}
  virtual void PumpMessages() {}
  // The document (used in document mode and for the dialog's selections).
  virtual std::string DocumentText() { return {}; }
  virtual void GetSelection(int64_t& start, int64_t& end) { start = end = 0; }
  // Selects [start, end) and scrolls the caret into view.
  virtual void SelectRange(int64_t start, int64_t end) {}
  virtual void ReplaceSelection(std::string_view text) {}
};

class SpellEngine {
 public:
  SpellEngine(WordListStore& store, ChangeList& changes, SpellHost& host) : store_(store), changes_(changes), host_(host) {}

  SpellOptions& Options() { return options_; }
  const SpellOptions& Options() const { return options_; }

  // True when acceptable; a change-list hit replaces `word` and counts as acceptable.
  bool CheckWord(std::string& word) const;
  void CheckText(std::string& text);
  void CheckSpellingNow();
  void CheckString(std::string& toCheck);

  bool Checking() const { return checking_; }
  bool ChangedSinceLastCheck() const { return changedSinceLastCheck_; }
  void NoteDocumentChanged() { changedSinceLastCheck_ = true; }

 private:
  bool CompoundAcceptable(std::string_view word) const;
  bool CheckWordNoCase(std::string& word) const;
  bool CheckWordExact(std::string& word) const;
  void ReplaceInText(std::string& text, size_t start, size_t length, const std::string& replacement);
  void Done();

  WordListStore& store_;
  ChangeList& changes_;
  SpellHost& host_;
  SpellOptions options_;
  bool checking_ = false;
  bool documentMode_ = false;
  bool changedSinceLastCheck_ = false;
  DialogPosition dialogPosition_;
};

}  // namespace lexivane
