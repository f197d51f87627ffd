// CheckWord: the rules that decide whether one word is acceptable, first match wins.

#include "ChangeList.h"
#include "SpellChars.h"
#include "SpellEngine.h"
#include "WordListStore.h"

#include <array>
#include <cstdint>

namespace lexivane {
namespace {

constexpr std::string_view kFileExtensions[] = {
    ".exe", ".doc", ".com", ".bat",  ".txt",   ".dat",  ".log", ".bmp", ".gif", ".jpg", ".jpeg", ".inf",
    ".msi", ".bak", ".sys", ".hlp",  ".wri",   ".rtf",  ".chm", ".ini", ".dll", ".asp", ".aspx", ".c",
    ".cpp", ".h",   ".inc", ".htm",  ".html",  ".zip",  ".class", ".java", ".vbp", ".vbg", ".bas", ".frm",
    ".frx", ".ocx", ".cls", ".mp3",  ".mdb",   ".bin",  ".wav", ".au"};

bool Contains(std::string_view w, std::string_view part) { return w.find(part) != std::string_view::npos; }

// Case-sensitive on purpose: "HTTP:" in capitals is not taken for an address.
bool LooksLikeInternetAddress(std::string_view w) {
  if (Contains(w, "@") || Contains(w, "http:") || Contains(w, "ftp:") || Contains(w, "www.")) return true;
  for (std::string_view end : {".com", ".Com", ".edu", ".gov", ".org"})
    if (w.ends_with(end)) return true;
  return w.ends_with(".uk");
}

bool LooksLikeFileName(std::string_view w) {
  if (Contains(w, "\\")) return true;
  // Every extension has a full stop: words without one are most words.
  if (!Contains(w, ".")) return false;
  for (std::string_view extension : kFileExtensions)
    if (w.size() >= extension.size() && EqualNoCase(w.substr(w.size() - extension.size()), extension)) return true;
  return false;
}

// What the early rules look for, gathered in one pass over the word: most words are plain
// lower-case letters, and this lets them skip every string search of those rules.
enum : uint8_t { kLowerable = 1, kDigit = 2, kAddressMark = 4, kFileMark = 8 };

constexpr std::array<uint8_t, 256> MakeMarks() {
  std::array<uint8_t, 256> marks{};
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    uint8_t m = ToUpperChar(c) != c ? kLowerable : 0;
    if (c >= '0' && c <= '9') m |= kDigit;
    // Every address rule needs one of these, every file-name rule one of the last two.
    if (c == '@' || c == ':' || c == '.') m |= kAddressMark;
    if (c == '.' || c == '\\') m |= kFileMark;
    marks[static_cast<size_t>(b)] = m;
  }
  return marks;
}
constexpr std::array<uint8_t, 256> kMarks = MakeMarks();

uint8_t MarksOf(std::string_view w) {
  uint8_t m = 0;
  for (char c : w) m |= kMarks[static_cast<unsigned char>(c)];
  return m;
}

bool HasCompoundSeparator(std::string_view w) { return w.find_first_of("-/") != std::string_view::npos; }

}  // namespace

bool SpellEngine::CheckWord(std::string& word) const {
  const uint8_t marks = MarksOf(word);
  if (options_.ignoreAllCaps && !(marks & kLowerable)) return true;
  if (options_.ignoreWithNumbers && (marks & kDigit)) return true;
  if (options_.ignoreInternetAddrs && (marks & kAddressMark) && LooksLikeInternetAddress(word)) return true;
  if ((marks & kFileMark) && LooksLikeFileName(word)) return true;
  return options_.ignoreCase ? CheckWordNoCase(word) : CheckWordExact(word);
}

bool SpellEngine::CheckWordNoCase(std::string& word) const {
  for (int list : {kBaseList, kCustomList, kIgnoreList})
    if (store_.FindInListNoCase(list, word)) return true;
  if (const std::string* replacement = changes_.Find(word, true)) {
    word = *replacement;
    return true;
  }
  return HasCompoundSeparator(word) && CompoundAcceptable(word);
}

bool SpellEngine::CheckWordExact(std::string& word) const {
  auto inAnyList = [this](std::string_view w) {
    for (int list : {kBaseList, kCustomList, kIgnoreList})
      if (store_.Contains(list, w)) return true;
    return false;
  };
  // A capitalised word passes when its lower-case form is known, never the other way round.
  bool found = inAnyList(word);
  if (!found && !word.empty() && word[0] >= 'A' && word[0] <= 'Z') {
    const char first = word[0];
    word[0] = static_cast<char>(first + ('a' - 'A'));
    found = inAnyList(word);
    word[0] = first;
  }
  if (found) return true;
  if (const std::string* replacement = changes_.Find(word, false)) {
    word = *replacement;
    return true;
  }
  return HasCompoundSeparator(word) && CompoundAcceptable(word);
}

bool SpellEngine::CompoundAcceptable(std::string_view word) const {
  size_t from = 0;
  for (;;) {
    const size_t separator = word.find_first_of("-/", from);
    std::string part(word.substr(from, separator == std::string_view::npos ? std::string_view::npos : separator - from));
    // An empty part (two separators in a row, one at the end, or the end itself) ends the test.
    if (part.empty()) return true;
    // One-letter parts (the x of x-ray) are not checked.
    if (part.size() > 1 && !CheckWord(part)) return false;
    if (separator == std::string_view::npos) return true;
    from = separator + 1;
  }
}

}  // namespace lexivane
