#pragma once
// Small in-memory word lists and a scripted host for the spell core's tests.

#include "ChangeList.h"
#include "SpellEngine.h"
#include "WordListData.h"
#include "WordListStore.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace lexivane::testing {

// Word-list data built from plain words, packed as the generator packs them.
class MemoryWordListSource final : public WordListSource {
 public:
  explicit MemoryWordListSource(std::vector<std::string> words) {
    std::map<int, std::vector<std::string>> byLength;
    for (auto& w : words) byLength[static_cast<int>(w.size())].push_back(w);
    for (auto& [n, list] : byLength) {
      std::sort(list.begin(), list.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
          return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
        });
      });
      std::string records;
      for (auto& w : list) records += w;
      sizes[kSizeStringBase + n] = std::to_string(records.size());
      blocks[kWordDataBase + n - 1] = PackWordList(n, records);
    }
  }
  std::optional<std::string> SizeString(int id) const override {
    auto it = sizes.find(id);
    if (it == sizes.end()) return std::nullopt;
    return it->second;
  }
  std::span<const uint8_t> Data(int id) const override {
    auto it = blocks.find(id);
    if (it == blocks.end()) return {};
    return it->second;
  }
  std::map<int, std::string> sizes;
  std::map<int, std::vector<uint8_t>> blocks;
};

inline void LoadWords(WordListStore& store, const std::vector<std::string>& words) {
  store.LoadBaseList(MemoryWordListSource(words));
}

// Answers each error with the next scripted decision (ignore once the script runs out) and
// records what the engine asked and did.
class ScriptedHost final : public SpellHost {
 public:
  std::deque<Decision> script;
  std::vector<std::string> reported;        // words shown in the dialog or the event
  std::vector<std::string> suggestionsSeen;
  std::vector<int32_t> offsets;             // OffsetOfWord of each event
  std::vector<CorrectionRequest> requests;  // views stay valid only during the call
  std::vector<std::pair<int64_t, int64_t>> selections;
  std::vector<std::string> replacedSelections;
  std::vector<std::string> messageBoxes;
  int doneEvents = 0;
  std::string document;
  int64_t selStart = 0, selEnd = 0;
  DialogPosition movedTo{120, 80};
  std::function<void()> duringError;  // runs inside each error, like a host's event handler

  Decision Next(const std::string& word) {
    reported.push_back(word);
    if (duringError) duringError();
    if (script.empty()) return {seIgnoreWord, word};
    Decision d = script.front();
    script.pop_front();
    return d;
  }
  Decision RunCorrectionDialog(const CorrectionRequest& request, DialogPosition& position) override {
    requests.push_back(request);
    suggestionsSeen.emplace_back(request.suggestions);
    position = movedTo;
    return Next(std::string(request.word));
  }
  void RaiseSpellingError(std::string& badWord, std::string_view suggestions, int32_t offsetOfWord,
                          int32_t& whatToDo) override {
    suggestionsSeen.emplace_back(suggestions);
    offsets.push_back(offsetOfWord);
    Decision d = Next(badWord);
    whatToDo = d.whatToDo;
    badWord = d.replacement;
  }
  void RaiseSpellCheckDone() override { ++doneEvents; }
  void ShowMessageBox(std::string_view text, std::string_view title) override {
    messageBoxes.push_back(std::string(text) + "|" + std::string(title));
  }
  std::string DocumentText() override { return document; }
  void GetSelection(int64_t& start, int64_t& end) override {
    start = selStart;
    end = selEnd;
  }
  void SelectRange(int64_t start, int64_t end) override { selections.emplace_back(start, end); }
  void ReplaceSelection(std::string_view text) override {
    replacedSelections.emplace_back(text);
    if (!selections.empty()) {
      auto [s, e] = selections.back();
      document.replace(static_cast<size_t>(s), static_cast<size_t>(e - s), text);
    }
  }
};

}  // namespace lexivane::testing
