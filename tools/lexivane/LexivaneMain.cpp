// lexivane: check text or suggest corrections from the command line with the control's engine.

#include "ChangeList.h"
#include "SpellEngine.h"
#include "Suggestions.h"
#include "TextCodePage.h"
#include "WordListData.h"
#include "WordListStore.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

using namespace lexivane;

constexpr const char* kUsage =
    "usage: lexivane check [OPTIONS] [FILE...]   check FILEs (or standard input)\n"
    "       lexivane suggest [OPTIONS] [WORD...] print the suggestions for each WORD (or each\n"
    "                                            line of standard input)\n"
    "       lexivane add --custom FILE WORD...   add WORDs to a custom dictionary file\n"
    "\n"
    "check prints one line per misspelled word: OFFSET<TAB>WORD, OFFSET being the word's 0-based\n"
    "character offset in its input; with --suggest a third field lists the suggestions, joined by |.\n"
    "suggest prints WORD<TAB>S1|S2|... in the engine's order (an empty field when there are none).\n"
    "Text is read and written as UTF-8.\n"
    "\n"
    "options:\n"
    "  --suggest                    with check: add the suggestions of each misspelled word\n"
    "  --ignore-case                accept words whatever their letter case (slow; also turns\n"
    "                               --no-ignore-all-caps on, like the control's IgnoreCase)\n"
    "  --custom FILE                load the custom dictionary FILE (.cud added when missing)\n"
    "  --words DIR                  base word list folder (default: $LEXIVANE_WORDS or the build's)\n"
    "  --no-ignore-all-caps         check words in capitals too\n"
    "  --no-ignore-with-numbers     check words containing digits too\n"
    "  --no-ignore-internet-addrs   check web and mail addresses too\n"
    "  --help                       show this text\n";

// The check walk reports every error through the event and always goes on.
class CollectingHost final : public SpellHost {
 public:
  struct Error {
    size_t start;
    std::string word;
    std::string suggestions;
  };
  std::vector<Error> errors;

  Decision RunCorrectionDialog(const CorrectionRequest&, DialogPosition&) override { return {}; }
  void RaiseSpellingError(std::string& badWord, std::string_view suggestions, int32_t offsetOfWord,
                          int32_t& whatToDo) override {
    errors.push_back({static_cast<size_t>(offsetOfWord) - 1 - badWord.size(), badWord, std::string(suggestions)});
    whatToDo = seIgnoreWord;
  }
};

std::string JoinSuggestions(const std::string& suggestions) {
  std::string out = Cp1252ToUtf8(suggestions);
  for (char& c : out)
    if (c == '\r') c = '|';
  return out;
}

struct Settings {
  std::string command;
  std::vector<std::string> arguments;
  std::string wordsDir;
  std::string customFile;
  bool haveCustom = false;
  SpellOptions options;
};

// Returns false with a message on a bad command line.
bool ParseArguments(int argc, char** argv, Settings& s, std::string& error) {
  s.options.autoHandleErrors = false;
  s.options.suggestCorrections = false;
  bool noAllCaps = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= argc) {
        error = a + " needs a value";
        return false;
      }
      into = argv[++i];
      return true;
    };
    if (a == "--help" || a == "-h") {
      s.command = "help";
      return true;
    } else if (a == "--suggest") {
      s.options.suggestCorrections = true;
    } else if (a == "--ignore-case") {
      s.options.ignoreCase = true;
    } else if (a == "--no-ignore-all-caps") {
      noAllCaps = true;
    } else if (a == "--no-ignore-with-numbers") {
      s.options.ignoreWithNumbers = false;
    } else if (a == "--no-ignore-internet-addrs") {
      s.options.ignoreInternetAddrs = false;
    } else if (a == "--custom") {
      if (!value(s.customFile)) return false;
      s.haveCustom = true;
    } else if (a == "--words") {
      if (!value(s.wordsDir)) return false;
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      error = "unknown option " + a;
      return false;
    } else if (s.command.empty()) {
      s.command = a;
    } else {
      s.arguments.push_back(a);
    }
  }
  if (noAllCaps || s.options.ignoreCase) s.options.ignoreAllCaps = false;
  if (s.command != "check" && s.command != "suggest" && s.command != "add") {
    error = s.command.empty() ? "no command given" : "unknown command " + s.command;
    return false;
  }
  return true;
}

int Check(SpellEngine& engine, CollectingHost& host, std::FILE* in) {
  std::string text;
  std::string out;
  size_t blockStart = 0;
  // Whole lines at a time, many at once: a word never spans a line break, so a block of lines
  // gives the same words as each line alone, and memory stays small for big texts.
  auto checkLines = [&](std::string_view raw) {
    text = Utf8ToCp1252(raw);
    const size_t length = text.size();
    host.errors.clear();
    engine.CheckString(text);
    out.clear();
    for (const auto& e : host.errors) {
      out += std::to_string(blockStart + e.start);
      out += '\t';
      out += Cp1252ToUtf8(e.word);
      if (engine.Options().suggestCorrections) {
        out += '\t';
        out += JoinSuggestions(e.suggestions);
      }
      out += '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    blockStart += length;
  };
  std::vector<char> chunk(size_t{1} << 16);
  std::string pending;
  size_t got;
  while ((got = std::fread(chunk.data(), 1, chunk.size(), in)) > 0) {
    pending.append(chunk.data(), got);
    const size_t lastBreak = pending.rfind('\n');
    if (lastBreak == std::string::npos) continue;
    checkLines(std::string_view(pending).substr(0, lastBreak + 1));
    pending.erase(0, lastBreak + 1);
  }
  if (!pending.empty()) checkLines(pending);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Settings settings;
  std::string error;
  if (!ParseArguments(argc, argv, settings, error)) {
    std::fprintf(stderr, "lexivane: %s\n%s", error.c_str(), kUsage);
    return 2;
  }
  if (settings.command == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (settings.wordsDir.empty()) {
    const char* env = std::getenv("LEXIVANE_WORDS");
    settings.wordsDir = env != nullptr && *env != '\0' ? env : LEXIVANE_DEFAULT_WORDS_DIR;
  }
  WordListFolder words(settings.wordsDir);
  if (!words.Found()) {
    std::fprintf(stderr, "lexivane: no word list in %s\n", settings.wordsDir.c_str());
    return 1;
  }
  WordListStore& store = TheWordListStore();
  store.LoadBaseList(words);
  store.SetWindowsDirectory(".");
  if (settings.haveCustom) {
    if (auto failure = store.LoadCustomDictionary(settings.customFile, false)) {
      std::fprintf(stderr, "lexivane: %s\n", failure->description.c_str());
      return 1;
    }
  }

  CollectingHost host;
  SpellEngine engine(store, TheChangeList(), host);
  engine.Options() = settings.options;

  if (settings.command == "add") {
    if (!settings.haveCustom) {
      std::fprintf(stderr, "lexivane: add needs --custom FILE\n");
      return 2;
    }
    for (const auto& w : settings.arguments) store.AddWordsToCustom(Utf8ToCp1252(w));
    if (!store.SaveCustomDictionary(settings.customFile)) {
      std::fprintf(stderr, "lexivane: cannot write %s\n", store.NormaliseCustomDictionaryName(settings.customFile).c_str());
      return 1;
    }
    return 0;
  }
  if (settings.command == "suggest") {
    auto suggest = [&](const std::string& w) {
      std::string out = w + '\t' + JoinSuggestions(BuildSuggestions(store, Utf8ToCp1252(w), settings.options.ignoreCase)) + '\n';
      std::fwrite(out.data(), 1, out.size(), stdout);
    };
    for (const auto& w : settings.arguments) suggest(w);
    if (settings.arguments.empty())
      for (std::string line; std::getline(std::cin, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) suggest(line);
      }
    return 0;
  }
  if (settings.arguments.empty()) return Check(engine, host, stdin);
  int status = 0;
  for (const auto& name : settings.arguments) {
    std::FILE* f = name == "-" ? stdin : std::fopen(name.c_str(), "rb");
    if (f == nullptr) {
      std::fprintf(stderr, "lexivane: cannot open %s\n", name.c_str());
      status = 1;
      continue;
    }
    Check(engine, host, f);
    if (f != stdin) std::fclose(f);
  }
  return status;
}
