#include "Suggestions.h"

#include "SpellChars.h"
#include "WordListStore.h"

#include <cstring>
#include <vector>

namespace lexivane {
namespace {

constexpr std::string_view kEditAlphabet = "abcdefghijklmnopqrstuvwxyz0123456789-'@";

// The base-list records of one width that start with a given prefix. The 39 insertions or
// substitutions at one place share everything before it, so they are searched among these
// records only, and skipped at once when there are none.
class PrefixSpan {
 public:
  PrefixSpan(std::string_view list, size_t width, std::string_view prefix) : list_(list), width_(width) {
    const size_t count = width == 0 ? 0 : list.size() / width;
    auto bound = [&](bool upper) {
      size_t lo = 0, hi = count;
      while (lo < hi) {
        const size_t mid = lo + (hi - lo) / 2;
        const int cmp = std::memcmp(list.data() + mid * width, prefix.data(), prefix.size());
        if (cmp < 0 || (upper && cmp == 0))
          lo = mid + 1;
        else
          hi = mid;
      }
      return lo;
    };
    lo_ = bound(false);
    hi_ = bound(true);
  }
  bool Empty() const { return lo_ >= hi_; }
  bool Contains(std::string_view word) const {
    size_t lo = lo_, hi = hi_;
    while (lo < hi) {
      const size_t mid = lo + (hi - lo) / 2;
      const int cmp = std::memcmp(list_.data() + mid * width_, word.data(), width_);
      if (cmp == 0) return true;
      if (cmp < 0)
        lo = mid + 1;
      else
        hi = mid;
    }
    return false;
  }

 private:
  std::string_view list_;
  size_t width_;
  size_t lo_ = 0, hi_ = 0;
};

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
    for (size_t k = 0; k < n; ++k) {
      c = v;
      c.insert(c.begin() + static_cast<std::ptrdiff_t>(k), ' ');
      TryEachLetterAt(c, k);
    }
    for (size_t k = 0; k < n; ++k) {
      c = v;
      TryEachLetterAt(c, k);
    }
    c = v + ' ';
    TryEachLetterAt(c, n);
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

  // Candidates made by putting each letter of the edit alphabet at place k of c, in order.
  void TryEachLetterAt(std::string& c, size_t k) {
    if (ignoreCase_ || c.size() > kMaxWordLength) {
      for (char a : kEditAlphabet) {
        c[k] = a;
        Try(c);
      }
      return;
    }
    const PrefixSpan base(store_.ListString(kBaseList, static_cast<int>(c.size())), c.size(),
                          std::string_view(c).substr(0, k));
    const bool customEmpty = store_.ListString(kCustomList, static_cast<int>(c.size())).empty();
    if (base.Empty() && customEmpty) return;
    for (char a : kEditAlphabet) {
      c[k] = a;
      if (base.Contains(c) || (!customEmpty && store_.Contains(kCustomList, c))) out_.push_back(c);
    }
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
