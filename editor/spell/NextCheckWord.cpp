#include "NextCheckWord.h"

#include "SpellChars.h"

namespace lexivane {
namespace {

constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz";
constexpr std::string_view kWordChars = "abcdefghijklmnopqrstuvwxyz0123456789@:!-/\\~%_+|.'";
constexpr std::string_view kPunctuation = "@:!-/\\~%_+|.'";

bool In(std::string_view set, char c) { return set.find(ToLowerChar(c)) != std::string_view::npos; }

}  // namespace

std::string NextCheckWord(std::string_view text, size_t& position, size_t& start) {
  // 0-based cursor; the word is [begin, p).
  size_t p = position == 0 ? 0 : position - 1;
  const size_t end = text.size();
  while (p < end && !In(kLetters, text[p])) ++p;
  if (p >= end) {
    position = end + 1;
    start = end;
    return {};
  }
  const size_t begin = p;
  while (p < end && In(kWordChars, text[p])) {
    if (p - begin > 1 && In(kPunctuation, text[p]) && In(kPunctuation, text[p - 1])) {
      --p;
      break;
    }
    ++p;
  }
  // A web address stays one word whatever its punctuation.
  if (end - begin >= 5 && LowerCase(text.substr(begin, 5)) == "http:")
    while (p < end && In(kWordChars, text[p])) ++p;
  while (p > begin && In(kPunctuation, text[p - 1])) --p;
  position = p + 1;
  start = begin;
  return std::string(text.substr(begin, p - begin));
}

}  // namespace lexivane
