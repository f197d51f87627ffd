// CheckWord: the rules that decide whether one word is acceptable, first match wins.

#include "ChangeList.h"
#include "SpellChars.h"
#include "SpellEngine.h"
#include "WordListStore.h"

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

bool IsAllCapitals(std::string_view w) {
  for (char c : w)
    if (ToUpperChar(c) != c) return false;
  return true;
}

bool HasCompoundSeparator(std::string_view w) { return w.find_first_of("-/") != std::string_view::npos; }

}  // namespace

bool SpellEngine::CheckWord(std::string& word) const {
  if (options_.ignoreAllCaps && IsAllCapitals(word)) return true;
  if (options_.ignoreWithNumbers && word.find_first_of("0123456789") != std::string::npos) return true;
  if (options_.ignoreInternetAddrs && LooksLikeInternetAddress(word)) return true;
  if (LooksLikeFileName(word)) return true;
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
