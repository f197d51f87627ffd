// The tokenizer and CheckWord's rules, in their order.

#include "NextCheckWord.h"
#include "SpellTestSupport.h"

#include <gtest/gtest.h>

namespace lexivane {
namespace {

using testing::LoadWords;
using testing::ScriptedHost;

TEST(NextCheckWord, Examples) {
  struct Case {
    const char* text;
    std::vector<std::string> words;
  } cases[] = {
      {"3rd place", {"rd", "place"}},
      {"don't e-mail", {"don't", "e-mail"}},
      {"The end.", {"The", "end"}},
      {"well--known", {"well", "known"}},
      {"a--b", {"a", "b"}},
      {"\"Quoted\" 'single'", {"Quoted", "single"}},
      {"see http://www.x.com/a--b.html.", {"see", "http://www.x.com/a--b.html"}},
      {"HTTP://a//b", {"HTTP://a//b"}},
      {"abc123 x1", {"abc123", "x1"}},
      {"mail me@home.org!", {"mail", "me@home.org"}},
      {"na\xEFve caf\xE9", {"na", "ve", "caf"}},
      {"e.g. i.e., etc...", {"e.g", "i.e", "etc"}},
      {"C:\\dir\\file.txt", {"C", "dir\\file.txt"}},
      {"", {}},
      {"123 ... !!", {}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> got;
    size_t p = 0, s = 0;
    for (;;) {
      std::string w = NextCheckWord(c.text, p, s);
      if (w.empty()) break;
      EXPECT_EQ(std::string_view(c.text).substr(s, w.size()), w) << "start of " << w;
      EXPECT_EQ(p, s + w.size() + 1) << "position just after " << w;
      got.push_back(w);
    }
    EXPECT_EQ(got, c.words) << c.text;
  }
}

class CheckWordTest : public ::testing::Test {
 protected:
  CheckWordTest() : engine(store, changes, host) {
    LoadWords(store, {"the", "Paris", "well", "known", "ray", "e-mail", "colour", "a", "NASA"});
  }
  bool Check(std::string w) { return engine.CheckWord(w); }

  WordListStore store;
  ChangeList changes;
  ScriptedHost host;
  SpellEngine engine;
};

TEST_F(CheckWordTest, RulesWithDefaultOptions) {
  struct Case {
    const char* word;
    bool acceptable;
    const char* why;
  } cases[] = {
      {"the", true, "known"},
      {"The", true, "capitalised form of a known word"},
      {"THE", true, "all capitals ignored"},
      {"I", true, "a single capital is all capitals"},
      {"Paris", true, "known as listed"},
      {"paris", false, "lower case of a capitalised entry is not accepted"},
      {"tHe", false, "only the first letter is retried"},
      {"abc123", true, "contains digits"},
      {"rd", false, "what is left of 3rd is looked up"},
      {"www.nowhere", true, "web address"},
      {"someone@place", true, "at sign"},
      {"ftp:files", true, "ftp:"},
      {"example.com", true, ".com"},
      {"example.Com", true, ".Com"},
      {"example.EDu", false, "the ending list is case-sensitive"},
      {"bbc.co.uk", true, ".uk"},
      {"HTTP:zz", false, "HTTP: in capitals is no address"},
      {"readme.txt", true, "file name"},
      {"PICTURE.JpEg", true, "extensions compare in lower case"},
      {"dir\\thing", true, "backslash"},
      {"notes.c", true, ".c"},
      {"notes.cx", false, "not an extension of the list"},
      {"well-known", true, "compound of known parts"},
      {"well-knwn", false, "a rejected part rejects the compound"},
      {"x-ray", true, "one-letter parts are not checked"},
      {"ray-x", true, "one-letter last part"},
      {"well/known", true, "slash separates too"},
      {"well--knwn", true, "two separators in a row end the test"},
      {"knwn-", false, "the part before a trailing separator is checked"},
      {"well-", true, "separator at the end"},
      {"Well-Known", true, "each part retried in lower case"},
      {"colour-the-knwn", false, "every part is checked"},
  };
  for (const auto& c : cases) EXPECT_EQ(Check(c.word), c.acceptable) << c.word << ": " << c.why;
}

TEST_F(CheckWordTest, OptionsOff) {
  auto& o = engine.Options();
  o.ignoreAllCaps = o.ignoreWithNumbers = o.ignoreInternetAddrs = false;
  EXPECT_FALSE(Check("THE")) << "all capitals are looked up exactly then";
  EXPECT_TRUE(Check("NASA"));
  EXPECT_FALSE(Check("abc123"));
  EXPECT_FALSE(Check("www.nowhere"));
  EXPECT_TRUE(Check("readme.txt")) << "file names pass whatever the options";
}

TEST_F(CheckWordTest, IgnoreCaseMode) {
  engine.Options().ignoreCase = true;
  engine.Options().ignoreAllCaps = false;
  EXPECT_TRUE(Check("paris"));
  EXPECT_TRUE(Check("tHe"));
  EXPECT_FALSE(Check("THX"));
  EXPECT_TRUE(Check("WELL-KNOWN"));
  EXPECT_FALSE(Check("well-KNWN"));
  store.IgnoreAll("Zork");
  EXPECT_TRUE(Check("zORK")) << "the ignore list is asked too";
}

TEST_F(CheckWordTest, IgnoreListAndCustomListAreAsked) {
  EXPECT_FALSE(Check("zork"));
  store.IgnoreAll("zork");
  store.AddWordsToCustom("blorb");
  EXPECT_TRUE(Check("zork"));
  EXPECT_TRUE(Check("Zork"));
  EXPECT_TRUE(Check("blorb"));
}

TEST_F(CheckWordTest, ChangeListReplacesAndAccepts) {
  changes.Append("teh", "the");
  changes.Append("teh", "tea");  // later pairs for the same word never win
  changes.Append("Recieve", "Receive");
  std::string w = "teh";
  EXPECT_TRUE(engine.CheckWord(w));
  EXPECT_EQ(w, "the");
  w = "Teh";
  EXPECT_FALSE(engine.CheckWord(w)) << "exact match only";
  EXPECT_EQ(w, "Teh");
  w = "Recieve";
  EXPECT_TRUE(engine.CheckWord(w));
  EXPECT_EQ(w, "Receive");

  engine.Options().ignoreCase = true;
  w = "Teh";
  EXPECT_TRUE(engine.CheckWord(w));
  EXPECT_EQ(w, "the") << "replaced by the pair as stored";
  w = "known";
  EXPECT_TRUE(engine.CheckWord(w));
  EXPECT_EQ(w, "known") << "a known word is not looked up in the change list";
}

TEST_F(CheckWordTest, ChangeListMakesCompoundPartsAcceptable) {
  changes.Append("knwn", "known");
  std::string w = "well-knwn";
  EXPECT_TRUE(engine.CheckWord(w));
  EXPECT_EQ(w, "well-knwn") << "a part's replacement is not written back";
}

}  // namespace
}  // namespace lexivane
