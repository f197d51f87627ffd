#include "Suggestions.h"

#include "SpellChars.h"
#include "WordListStore.h"

#include <vector>

namespace lexivane {
namespace {

constexpr std::string_view kEditAlphabet = "abcdefghijklmnopqrstuvwxyz0123456789-'@";

class Generator {
 public:
  Generator(const WordListStore& store, bool ignoreCase, std::vector<std::string>& out)
      : store_(store), ignoreCase_(ignoreCase), out_(out) {}

  void Pass(const std::string& v) {
    const size_t n = v.size();
    std::string c;
    for (size_t k = 0; k + 1 < n; ++k) {
      c = v;
      std::swap(c[k], c[k + 1]);
      Try(c);
    }
    if (n > 1)
      for (size_t k = 0; k < n; ++k) {
        c = v;
        c.erase(k, 1);
        Try(c);
      }
    for (size_t k = 0; k < n; ++k)
      for (char a : kEditAlphabet) {
        c = v;
        c.insert(c.begin() + static_cast<std::ptrdiff_t>(k), a);
        Try(c);
      }
    for (size_t k = 0; k < n; ++k)
      for (char a : kEditAlphabet) {
        c = v;
        c[k] = a;
        Try(c);
      }
    for (char a : kEditAlphabet) Try(v + a);
    if (n > 3)
      for (size_t k = 2; k + 2 <= n; ++k) {
        std::string_view left = std::string_view(v).substr(0, k);
        std::string_view right = std::string_view(v).substr(k);
        if (store_.IsWordKnown(left, ignoreCase_) && store_.IsWordKnown(right, ignoreCase_))
          out_.push_back(std::string(left) + ' ' + std::string(right));
      }
    for (size_t k = 0; k < n; ++k) {
      c = v;
      char lower = ToLowerChar(c[k]);
      c[k] = c[k] == lower ? ToUpperChar(c[k]) : lower;
      Try(c);
    }
  }

 private:
  void Try(const std::string& candidate) {
    if (store_.IsWordKnown(candidate, ignoreCase_)) out_.push_back(candidate);
  }

  const WordListStore& store_;
  bool ignoreCase_;
  std::vector<std::string>& out_;
};

}  // namespace

std::string BuildSuggestions(const WordListStore& store, std::string_view word, bool ignoreCase) {
  const bool allCapitals = word == UpperCase(word);
  const bool proper = word == ProperCase(word);
  std::vector<std::string> candidates;
  Generator generator(store, ignoreCase, candidates);
  const std::string v = LowerCase(word);
  generator.Pass(v);
  if (!ignoreCase && proper) generator.Pass(ProperCase(v));

  std::vector<std::string> output;
  std::string joined;
  for (std::string& candidate : candidates) {
    if (allCapitals)
      candidate = UpperCase(candidate);
    else if (proper && candidate == LowerCase(candidate))
      candidate = ProperCase(candidate);
    bool seen = false;
    for (const auto& kept : output)
      if (kept == candidate) {
        seen = true;
        break;
      }
    if (seen) continue;
    if (!output.empty()) joined += '\r';
    joined += candidate;
    output.push_back(std::move(candidate));
  }
  return joined;
}

}  // namespace lexivane
