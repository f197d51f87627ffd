// The hash index behind exact lookups must answer exactly what the binary search answers: over
// the whole base list, over lists of every fill level, and after every kind of list change.

#include "SpellTestSupport.h"
#include "WordListIndex.h"
#include "WordListSearch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lexivane {
namespace {

using testing::LoadWords;

// Words near a record: itself, one byte changed at each end, the first letter's case flipped
// and a byte past 0x7F, so that probes land on neighbours, on gaps and off the ends of the list.
std::vector<std::string> Probes(std::string_view record) {
  std::vector<std::string> out{std::string(record)};
  for (size_t at : {size_t{0}, record.size() - 1})
    for (int delta : {-1, 1}) {
      std::string w(record);
      w[at] = static_cast<char>(static_cast<unsigned char>(w[at]) + delta);
      out.push_back(w);
    }
  std::string flipped(record);
  flipped[0] = static_cast<char>(flipped[0] ^ 0x20);
  out.push_back(flipped);
  std::string high(record);
  high.back() = '\xE9';
  out.push_back(high);
  return out;
}

// Every exact lookup of the store against the plain search of the same list string.
void ExpectStoreMatchesSearch(const WordListStore& store, int list, std::string_view context) {
  for (int n = 1; n <= kMaxWordLength; ++n) {
    const std::string& records = store.ListString(list, n);
    for (size_t at = 0; at + static_cast<size_t>(n) <= records.size(); at += static_cast<size_t>(n))
      for (const std::string& probe : Probes(std::string_view(records).substr(at, static_cast<size_t>(n))))
        ASSERT_EQ(store.Contains(list, probe), BFindWord(probe, records).found)
            << context << ": list " << list << " probe \"" << probe << "\"";
  }
}

TEST(WordListIndex, AgreesWithTheSearchOverTheWholeBaseList) {
  WordListFolder words(LEXIVANE_TEST_WORDLIST_DIR);
  if (!words.Found()) GTEST_SKIP() << "no base word list in " << LEXIVANE_TEST_WORDLIST_DIR;
  WordListStore store;
  store.LoadBaseList(words);
  ASSERT_GT(store.WordCount(kBaseList), 100000u);
  for (int n = 1; n <= kMaxWordLength; ++n) {
    const std::string& records = store.ListString(kBaseList, n);
    for (size_t at = 0; at + static_cast<size_t>(n) <= records.size(); at += static_cast<size_t>(n))
      ASSERT_TRUE(store.Contains(kBaseList, std::string_view(records).substr(at, static_cast<size_t>(n))));
  }
  ExpectStoreMatchesSearch(store, kBaseList, "base list");
}

TEST(WordListIndex, AgreesWithTheSearchAtEveryFillLevel) {
  // Counts around each growth of the table, and every one-byte word, including the bytes that
  // hash alike in their low bits.
  for (size_t count : {size_t{1}, size_t{5}, size_t{6}, size_t{7}, size_t{12}, size_t{13}, size_t{97}, size_t{255}}) {
    std::string list;
    for (size_t i = 0; i < count; ++i) list += static_cast<char>(i + 1);
    WordListIndex index;
    index.Build(list, 1);
    ASSERT_TRUE(index.Usable());
    for (int b = 0; b < 256; ++b) {
      const std::string probe(1, static_cast<char>(b));
      EXPECT_EQ(index.Contains(probe, list), BFindWord(probe, list).found) << count << " records, byte " << b;
    }
  }
}

TEST(WordListIndex, EmptyListAndOtherWidthsFindNothing) {
  WordListIndex index;
  index.Build("", 4);
  EXPECT_FALSE(index.Usable()) << "an empty list is left to the search";
  index.Build("abcdwxyz", 4);
  EXPECT_TRUE(index.Contains("wxyz", "abcdwxyz"));
  EXPECT_FALSE(index.Contains("abc", "abcdwxyz"));
  EXPECT_FALSE(index.Contains("abcdw", "abcdwxyz"));
  index.Clear();
  EXPECT_FALSE(index.Contains("wxyz", "abcdwxyz"));
}

TEST(WordListIndex, StoreKeepsItInStepWithEveryChange) {
  WordListStore store;
  struct Step {
    const char* change;
    std::function<void()> apply;
  };
  const Step steps[] = {
      {"base list loaded", [&] { LoadWords(store, {"apple", "baker", "cider", "Delta", "egg", "figs"}); }},
      {"custom words added", [&] { store.AddWordsToCustom("zebra aardvark mango Zebra egg"); }},
      {"one word inserted", [&] { store.FindInList(kBaseList, "bacon", true); }},
      {"word ignored", [&] { store.IgnoreAll("qwert"); }},
      {"words removed", [&] { store.RemoveWordsFromDictionary("APPLE zebra qwert"); }},
      {"custom list cleared", [&] { store.ClearCustomDictionary(); }},
      {"base list cleared", [&] { store.ClearBaseDictionary(); }},
      {"base list reloaded", [&] { LoadWords(store, {"baker", "zulu"}); }},
  };
  const std::vector<std::string> asked{"apple", "bacon", "baker", "cider", "Delta", "delta", "egg",
                                       "zebra", "Zebra", "mango", "qwert", "zulu", "aardvark", "figs"};
  for (const auto& step : steps) {
    step.apply();
    for (int list : {kBaseList, kCustomList, kIgnoreList}) {
      ExpectStoreMatchesSearch(store, list, step.change);
      for (const auto& w : asked)
        EXPECT_EQ(store.Contains(list, w), BFindWord(w, store.ListString(list, static_cast<int>(w.size()))).found)
            << step.change << ": list " << list << " word " << w;
    }
  }
  EXPECT_TRUE(store.Contains(kBaseList, "zulu"));
  EXPECT_FALSE(store.Contains(kBaseList, "bacon")) << "reloading the base list drops what was inserted";
}

}  // namespace
}  // namespace lexivane
