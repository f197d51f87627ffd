// CheckText and the control's two check entry points.

#include "SpellEngine.h"

#include "ChangeList.h"
#include "NextCheckWord.h"
#include "Suggestions.h"
#include "WordListStore.h"

#include <algorithm>
#include <vector>

namespace lexivane {
namespace {

std::string TrimBlanks(std::string_view s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(s.substr(first, s.find_last_not_of(' ') - first + 1));
}

}  // namespace

void SpellEngine::ReplaceInText(std::string& text, size_t start, size_t length, const std::string& replacement) {
  text.replace(start, length, replacement);
  if (!documentMode_) return;
  host_.SelectRange(static_cast<int64_t>(start), static_cast<int64_t>(start + length));
  host_.ReplaceSelection(replacement);
  host_.PumpMessages();
}

void SpellEngine::CheckText(std::string& text) {
  if (checking_) return;
  checking_ = true;
  size_t position = 0;
  size_t start = 0;
  std::string word;
  // A replacement is read back and checked in its turn, but the words read inside the latest
  // replacement are remembered, and meeting one of them again there means the replacements go
  // round in a circle ("Mr" to "Mr.", which reads back as "Mr"; A to B with a later B to A; a
  // word changed into two copies of itself): the walk then moves on past it.
  std::vector<std::string> readBack;
  size_t guardEnd = 0;  // words starting before this lie inside the latest replacement
  bool inReplacement = false;
  // The word as read, still in the text: valid until the text is next changed.
  std::string_view readWord;
  auto replaceWord = [&](const std::string& replacement) {
    if (!inReplacement) readBack.assign(1, std::string(readWord));
    const size_t readLength = readWord.size();
    ReplaceInText(text, start, readLength, replacement);
    const int64_t shifted = static_cast<int64_t>(guardEnd) + static_cast<int64_t>(replacement.size()) -
                            static_cast<int64_t>(readLength);
    const int64_t spanEnd = static_cast<int64_t>(start + replacement.size());
    guardEnd = static_cast<size_t>(inReplacement ? std::max(shifted, spanEnd) : spanEnd);
    position = start + 1;
  };
  const bool dialog = options_.autoHandleErrors;
  for (;;) {
    word = NextCheckWord(text, position, start);
    if (word.empty()) break;
    inReplacement = start < guardEnd;
    if (inReplacement) {
      if (std::find(readBack.begin(), readBack.end(), word) != readBack.end()) continue;
      readBack.push_back(word);
    }
    readWord = std::string_view(text).substr(start, word.size());

    const bool acceptable = CheckWord(word);
    if (word != readWord) {
      replaceWord(word);
      continue;
    }
    if (acceptable) continue;
    // The host runs next; from here on the word is read from our own copy.
    readWord = word;

    const std::string suggestions =
        options_.suggestCorrections ? BuildSuggestions(store_, word, options_.ignoreCase) : std::string(kNoSuggestions);
    const int64_t wordStart = static_cast<int64_t>(start);
    const int64_t wordEnd = static_cast<int64_t>(start + word.size());
    Decision decision;
    if (dialog) {
      if (documentMode_) host_.SelectRange(wordStart, wordEnd);
      CorrectionRequest request{word, suggestions, options_.allowCancel, options_.allowAddToCustom, dialogPosition_};
      DialogPosition where = dialogPosition_;
      decision = host_.RunCorrectionDialog(request, where);
      dialogPosition_ = where;
    } else {
      decision.replacement = word;
      decision.whatToDo = seIgnoreWord;
      host_.RaiseSpellingError(decision.replacement, suggestions, static_cast<int32_t>(std::min<size_t>(position, INT32_MAX)),
                               decision.whatToDo);
      host_.PumpMessages();
    }
    decision.replacement = TrimBlanks(decision.replacement);

    switch (decision.whatToDo) {
      case seIgnoreWord:
        if (dialog) host_.SelectRange(wordStart, wordEnd);
        break;
      case seIgnoreAll:
        if (dialog) host_.SelectRange(wordStart, wordEnd);
        store_.IgnoreAll(decision.replacement);
        break;
      case seAddToCustom:
        store_.AddWordsToCustom(decision.replacement);
        break;
      case seChangeWord:
        replaceWord(decision.replacement);
        break;
      case seChangeAll:
        // The same word is read again and replaced through the change list.
        changes_.Append(readWord, decision.replacement);
        if (inReplacement) readBack.pop_back();
        position = start + 1;
        break;
      case seCancelChecking:
        checking_ = false;
        if (dialog) host_.SelectRange(wordStart, wordEnd);
        return;
      default:
        break;
    }
  }
  checking_ = false;
}

void SpellEngine::Done() {
  switch (options_.doneAction) {
    case seFireDoneEvent:
      host_.RaiseSpellCheckDone();
      break;
    case seShowMsgBox:
      host_.ShowMessageBox(kCheckCompleteText, kCheckCompleteTitle);
      break;
    default:
      break;
  }
}

void SpellEngine::CheckSpellingNow() {
  int64_t selStart = 0;
  int64_t selEnd = 0;
  host_.GetSelection(selStart, selEnd);
  documentMode_ = true;
  std::string text = host_.DocumentText();
  CheckText(text);
  host_.SelectRange(selStart, selEnd);
  Done();
  changedSinceLastCheck_ = false;
}

void SpellEngine::CheckString(std::string& toCheck) {
  documentMode_ = false;
  CheckText(toCheck);
  Done();
}

}  // namespace lexivane
