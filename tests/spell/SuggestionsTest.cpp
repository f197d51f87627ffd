// BuildSuggestions: generation order, case patterns and duplicates.

#include "SpellTestSupport.h"
#include "Suggestions.h"

#include <gtest/gtest.h>

namespace lexivane {
namespace {

using testing::LoadWords;

std::vector<std::string> Split(const std::string& s) {
  std::vector<std::string> out;
  if (s.empty()) return out;
  size_t from = 0;
  for (size_t cr; (cr = s.find('\r', from)) != std::string::npos; from = cr + 1) out.push_back(s.substr(from, cr - from));
  out.push_back(s.substr(from));
  return out;
}

class SuggestionsTest : public ::testing::Test {
 protected:
  std::vector<std::string> Suggest(const std::string& w, bool ignoreCase = false) {
    return Split(BuildSuggestions(store, w, ignoreCase));
  }
  WordListStore store;
};

TEST_F(SuggestionsTest, GenerationOrder) {
  // One known word per kind of edit of "abcd".
  LoadWords(store, {"bacd", "acd", "abxcd", "abcx", "abcdy", "ab", "cd", "abCd", "zzzz"});
  EXPECT_EQ(Suggest("abcd"), (std::vector<std::string>{"bacd", "acd", "abxcd", "abcx", "abcdy", "ab cd", "abCd"}));
}

TEST_F(SuggestionsTest, WithinAKindByPositionThenAlphabetOrder) {
  LoadWords(store, {"xcat", "acat", "ca-t", "ca't", "c@at", "cbat", "c1at"});
  EXPECT_EQ(Suggest("cat"), (std::vector<std::string>{"acat", "xcat", "cbat", "c1at", "c@at", "ca-t", "ca't"}));
}

TEST_F(SuggestionsTest, TransposedWordComesFirst) {
  LoadWords(store, {"the", "tea", "ten", "eh", "tech"});
  auto s = Suggest("teh");
  ASSERT_FALSE(s.empty());
  EXPECT_EQ(s.front(), "the");
}

TEST_F(SuggestionsTest, CasePatterns) {
  LoadWords(store, {"the", "tea", "Tex", "TEh"});
  EXPECT_EQ(Suggest("Teh"), (std::vector<std::string>{"The", "Tea", "Tex", "TEh"}))
      << "lower-case words take proper case; Tex and TEh come from the second pass as they are";
  EXPECT_EQ(Suggest("TEH"), (std::vector<std::string>{"THE", "TEA"}));
  EXPECT_EQ(Suggest("teh"), (std::vector<std::string>{"the", "tea"}));
  EXPECT_EQ(Suggest("tHe"), (std::vector<std::string>{"the"})) << "mixed case: one pass, candidates as found";
}

TEST_F(SuggestionsTest, SplitsNeedTwoLettersEachSide) {
  LoadWords(store, {"a", "lot", "al", "ot"});
  EXPECT_EQ(Suggest("alot"), (std::vector<std::string>{"lot", "al ot"})) << "no a lot";
  EXPECT_EQ(Suggest("abc").size(), 0u) << "no split of a three-letter word";
}

TEST_F(SuggestionsTest, NothingKnownGivesEmptyText) {
  LoadWords(store, {"zebra"});
  EXPECT_EQ(BuildSuggestions(store, "qqq", false), "");
}

TEST_F(SuggestionsTest, DuplicatesListedOnceAtTheFirstPlace) {
  LoadWords(store, {"book", "bok"});
  EXPECT_EQ(Suggest("bk"), (std::vector<std::string>{"bok"}));
  EXPECT_EQ(Suggest("boook"), (std::vector<std::string>{"book"})) << "deleting any of three o's";
}

TEST_F(SuggestionsTest, IgnoreListNeverOfferedCustomListIs) {
  LoadWords(store, {"cart"});
  store.IgnoreAll("card");
  store.AddWordsToCustom("care");
  EXPECT_EQ(Suggest("carx"), (std::vector<std::string>{"care", "cart"}));
}

TEST_F(SuggestionsTest, IgnoreCaseLooksUpWithoutCase) {
  LoadWords(store, {"Paris"});
  EXPECT_EQ(Suggest("parsi", true), (std::vector<std::string>{"paris"}));
  EXPECT_EQ(Suggest("parsi", false).size(), 0u) << "case flips find only one changed letter";
}

}  // namespace
}  // namespace lexivane
