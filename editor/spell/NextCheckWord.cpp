#include "NextCheckWord.h"

#include "SpellChars.h"

#include <array>
#include <cstdint>

namespace lexivane {
namespace {

constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz";
constexpr std::string_view kWordChars = "abcdefghijklmnopqrstuvwxyz0123456789@:!-/\\~%_+|.'";
constexpr std::string_view kPunctuation = "@:!-/\\~%_+|.'";

enum : uint8_t { kLetter = 1, kWordChar = 2, kPunct = 4 };

// Classes of every byte, tested on its lower-case form (only ASCII letters lower-case into
// the sets, so the ASCII upper-case letters are the only bytes that need folding).
constexpr std::array<uint8_t, 256> MakeClasses() {
  std::array<uint8_t, 256> bits{};
  for (int b = 0; b < 256; ++b) {
    const char lower = static_cast<char>(b >= 'A' && b <= 'Z' ? b + 32 : b);
    auto in = [lower](std::string_view set) { return lower != 0 && set.find(lower) != std::string_view::npos; };
    bits[b] = static_cast<uint8_t>((in(kLetters) ? kLetter : 0) | (in(kWordChars) ? kWordChar : 0) |
                                   (in(kPunctuation) ? kPunct : 0));
  }
  return bits;
}
constexpr std::array<uint8_t, 256> kClasses = MakeClasses();

bool Is(uint8_t cls, char c) { return (kClasses[static_cast<unsigned char>(c)] & cls) != 0; }

}  // namespace

std::string NextCheckWord(std::string_view text, size_t& position, size_t& start) {
  // 0-based cursor; the word is [begin, p).
  size_t p = position == 0 ? 0 : position - 1;
  const size_t end = text.size();
  while (p < end && !Is(kLetter, text[p])) ++p;
  if (p >= end) {
    position = end + 1;
    start = end;
    return {};
  }
  const size_t begin = p;
  while (p < end && Is(kWordChar, text[p])) {
    if (p - begin > 1 && Is(kPunct, text[p]) && Is(kPunct, text[p - 1])) {
      --p;
      break;
    }
    ++p;
  }
  // A web address stays one word whatever its punctuation.
  if (end - begin >= 5 && (text[begin] | 0x20) == 'h' && EqualNoCase(text.substr(begin, 5), "http:"))
    while (p < end && Is(kWordChar, text[p])) ++p;
  while (p > begin && Is(kPunct, text[p - 1])) --p;
  position = p + 1;
  start = begin;
  return std::string(text.substr(begin, p - begin));
}

}  // namespace lexivane
