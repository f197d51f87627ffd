// Word lists: packing, LoadStrings, the low-level routines and the store's list operations.

#include "SpellTestSupport.h"
#include "WordListSearch.h"

#include <gtest/gtest.h>

namespace lexivane {
namespace {

using testing::LoadWords;
using testing::MemoryWordListSource;

TEST(WordListPacking, RoundTripsRecordsWithSharedPrefixes) {
  const std::string records = "applapplyapplyapt  b    ";  // width 6 below
  for (int width : {1, 2, 3, 4, 6, 8}) {
    std::string r = records.substr(0, records.size() / width * width);
    auto block = PackWordList(width, r);
    std::string out(r.size(), ' ');
    EXPECT_TRUE(UnpackWordList(block, width, out)) << width;
    EXPECT_EQ(out, r) << width;
  }
}

TEST(WordListPacking, RejectsDamagedBlocks) {
  const auto good = PackWordList(4, "abcdabceabff");
  struct Case {
    const char* fault;
    std::vector<uint8_t> block;
    int width;
    size_t size;
  };
  auto with = [&](size_t at, uint8_t value) {
    auto b = good;
    b[at] = value;
    return b;
  };
  auto cut = [&](size_t n) { return std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(n)); };
  auto longer = good;
  longer.push_back(0);
  const Case cases[] = {
      {"intact", good, 4, 12},
      {"bad magic", with(0, 'X'), 4, 12},
      {"width differs from the asked length", good, 3, 12},
      {"unpacked size differs from the size string", good, 4, 16},
      {"record count larger than the data", with(5, 200), 4, 12},
      {"huge record count", with(8, 0xFF), 4, 12},
      {"first record claims a shared prefix", with(9, 1), 4, 12},
      {"shared prefix as long as the record", with(14, 4), 4, 12},
      {"truncated inside a record", cut(good.size() - 1), 4, 12},
      {"truncated header", cut(6), 4, 12},
      {"bytes after the last record", longer, 4, 12},
  };
  for (const auto& c : cases) {
    std::string out(c.size, ' ');
    EXPECT_EQ(UnpackWordList(c.block, c.width, out), std::string(c.fault) == "intact") << c.fault;
  }
}

TEST(WordListPacking, LoadStringsChecksKeyIndexAndCapacity) {
  MemoryWordListSource source({"cat", "dog", "ant"});
  char buffer[16];
  std::fill(std::begin(buffer), std::end(buffer), ' ');
  EXPECT_EQ(LoadStrings(source, 2, buffer, 10, kLoadStringsKey), 1);
  EXPECT_STREQ(buffer, "antcatdog");
  EXPECT_EQ(LoadStrings(source, 2, buffer, 9, kLoadStringsKey), 0) << "no room for the terminating zero";
  EXPECT_EQ(LoadStrings(source, 2, buffer, 16, kLoadStringsKey + 1), 0);
  EXPECT_EQ(LoadStrings(source, 0, buffer, 16, kLoadStringsKey), 0) << "no size string for length 1";
  EXPECT_EQ(LoadStrings(source, 32, buffer, 16, kLoadStringsKey), 0);
  EXPECT_EQ(LoadStrings(source, -1, buffer, 16, kLoadStringsKey), 0);
  source.sizes[1003] = "12";  // size string disagrees with the block
  EXPECT_EQ(LoadStrings(source, 2, buffer, 16, kLoadStringsKey), 0);
}

TEST(WordListPacking, SizeStrings) {
  EXPECT_EQ(ParseSizeString(" 1252 "), 1252u);
  EXPECT_EQ(ParseSizeString("0"), 0u);
  EXPECT_EQ(ParseSizeString("2147483647"), 2147483647u);
  for (const char* bad : {"", " ", "-1", "12a", "2147483648", "99999999999", "1 2"})
    EXPECT_FALSE(ParseSizeString(bad).has_value()) << bad;
}

TEST(WordListPacking, StartUpFillsLengthsUpTo32AndSkipsBrokenOnes) {
  const std::string longWord(32, 'q');
  MemoryWordListSource source({"a", "to", "be", "cat", longWord});
  source.blocks[kWordDataBase + 2][0] = 'X';  // length 3 damaged: stays empty
  WordListStore store;
  store.FindInList(kIgnoreList, "to", true);
  store.LoadBaseList(source);
  EXPECT_EQ(store.ListString(kBaseList, 1), "a");
  EXPECT_EQ(store.ListString(kBaseList, 2), "beto");
  EXPECT_EQ(store.ListString(kBaseList, 3), "");
  EXPECT_EQ(store.ListString(kBaseList, 32), longWord);
  EXPECT_EQ(store.ListString(kIgnoreList, 2), "") << "start-up empties the ignore list";
  EXPECT_EQ(store.WordCount(kBaseList), 4u);
}

TEST(BFindWord, ReportsTheInsertionPlace) {
  const std::string list = "bbbdddfff";
  struct Case {
    const char* word;
    bool found;
    int64_t low, high;
  } cases[] = {{"aaa", false, 0, -1}, {"bbb", true, 0, 0}, {"ccc", false, 1, 0},
               {"eee", false, 2, 1},  {"fff", true, 2, 2}, {"ggg", false, 3, 2}};
  for (const auto& c : cases) {
    FindSpot spot = BFindWord(c.word, list);
    EXPECT_EQ(spot.found, c.found) << c.word;
    if (!c.found) {
      EXPECT_EQ(spot.low, c.low) << c.word;
      EXPECT_EQ(spot.high, c.high) << c.word;
    }
  }
  EXPECT_FALSE(BFindWord("abc", "").found);
  EXPECT_FALSE(BFindWord("", "abc").found);
}

TEST(BFindWord, WideTextSharesTheByteOrder) {
  // "Šal" sorts after "Zal" in Windows-1252 (0x8A > 'Z'), though U+0160 is the larger code both ways;
  // "Œuf" (0x8C) after "Šal" although U+0152 < U+0160.
  const std::string narrow = std::string("Zal") + "\x8A" "al" + "\x8C" "uf";
  const std::u16string wide = u"ZalŠalŒuf";
  for (const auto& [n, w] : std::vector<std::pair<std::string, std::u16string>>{
           {"Zal", u"Zal"}, {"\x8A" "al", u"Šal"}, {"\x8C" "uf", u"Œuf"}, {"Abc", u"Abc"}, {"\x9A" "al", u"šal"}}) {
    FindSpot a = BFindWord(n, narrow);
    FindSpot b = BFindWord(w, wide);
    EXPECT_EQ(a.found, b.found);
    EXPECT_EQ(a.low, b.low);
    EXPECT_EQ(a.high, b.high);
  }
}

TEST(FindWordInString, IgnoresCaseAndStaysOnRecordBoundaries) {
  EXPECT_TRUE(FindWordInString("PARIS", "londnparis"));
  EXPECT_FALSE(FindWordInString("ondon", "xlondonpari")) << "a match across records";
  EXPECT_TRUE(FindWordInString("\xC9t\xE9", "\xE9t\xE9")) << "Été against été";
  EXPECT_FALSE(FindWordInString("", "abc"));
}

TEST(GetNextWordC, SplitsListsAndLines) {
  struct Case {
    const char* text;
    std::vector<std::string> words;
  } cases[] = {
      {"zebra apple", {"zebra", "apple"}},
      {"one\rtwo\r\nthree\tfour", {"one", "two", "three", "four"}},
      {"  Hello, world. ", {"Hello", "world"}},
      {"don't e-mail e.g. (x-ray)", {"don't", "e-mail", "e.g", "x-ray"}},
      {"-- ... ''", {}},
      {"", {}},
      {"3rd \xE9t\xE9", {"3rd", "\xE9t\xE9"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> got;
    std::string word;
    std::string_view text = c.text;
    for (size_t p = 1;;) {
      size_t next = GetNextWordC(p, text, word);
      if (word.empty()) break;
      ASSERT_GE(next, word.size() + 1);
      EXPECT_EQ(text.substr(next - word.size() - 1, word.size()), word) << "position minus length is the start";
      got.push_back(word);
      p = next;
    }
    EXPECT_EQ(got, c.words) << c.text;
  }
}

TEST(GetNextWordC, LongRunsComeInPiecesThatKeepTheirPositions) {
  const std::string text = "a " + std::string(600, 'x') + " b";
  std::string word;
  std::vector<size_t> lengths;
  for (size_t p = 1;;) {
    size_t next = GetNextWordC(p, text, word);
    if (word.empty()) break;
    EXPECT_LE(word.size(), kMaxNextWord);
    EXPECT_EQ(text.substr(next - word.size() - 1, word.size()), word);
    lengths.push_back(word.size());
    p = next;
  }
  EXPECT_EQ(lengths, (std::vector<size_t>{1, 255, 255, 90, 1}));
  EXPECT_EQ(GetNextWordC(100, "abc", word), 4u);
  EXPECT_TRUE(word.empty());
}

class StoreTest : public ::testing::Test {
 protected:
  WordListStore store;
};

TEST_F(StoreTest, InsertKeepsEachLengthSortedWithoutDuplicates) {
  for (const char* w : {"pear", "fig", "apple", "kiwi", "date", "zebra", "fig", "zebra", "Kiwi"})
    store.FindInList(kCustomList, w, true);
  EXPECT_EQ(store.ListString(kCustomList, 3), "fig");
  EXPECT_EQ(store.ListString(kCustomList, 4), "Kiwidatekiwipear");
  EXPECT_EQ(store.ListString(kCustomList, 5), "applezebra");
  EXPECT_TRUE(store.FindInList(kCustomList, "date", false));
  EXPECT_FALSE(store.FindInList(kCustomList, "Date", false)) << "exact lookups are case-sensitive";
  EXPECT_TRUE(store.FindInListNoCase(kCustomList, "DATE"));
}

TEST_F(StoreTest, WordsOutsideOneTo32CharactersAreNeitherStoredNorFound) {
  const std::string w32(32, 'k'), w33(33, 'k');
  EXPECT_FALSE(store.FindInList(kCustomList, w33, true));
  EXPECT_FALSE(store.FindInList(kCustomList, "", true));
  EXPECT_FALSE(store.FindInListNoCase(kCustomList, w33));
  EXPECT_EQ(store.WordCount(kCustomList), 0u);
  EXPECT_TRUE(store.FindInList(kCustomList, w32, true));
  EXPECT_TRUE(store.FindInList(kCustomList, w32, false));
}

TEST_F(StoreTest, AddWordsToCustomStoresOnceAndMarksDirty) {
  EXPECT_FALSE(store.CustomDirty());
  store.AddWordsToCustom("zebra zebra\rzebra " + std::string(33, 'q'));
  EXPECT_EQ(store.ListString(kCustomList, 5), "zebra");
  EXPECT_EQ(store.WordCount(kCustomList), 1u);
  EXPECT_TRUE(store.CustomDirty());
}

TEST_F(StoreTest, RemoveTakesEveryCaseFormFromEveryList) {
  LoadWords(store, {"colour", "Colour", "COLOUR", "color", "flavour"});
  store.AddWordsToCustom("colour Colour");
  store.IgnoreAll("cOLOUR");
  store.RemoveWordsFromDictionary("Colour");
  EXPECT_EQ(store.ListString(kBaseList, 6), "");
  EXPECT_EQ(store.ListString(kCustomList, 6), "");
  EXPECT_EQ(store.ListString(kIgnoreList, 6), "");
  EXPECT_EQ(store.ListString(kBaseList, 5), "color");
  EXPECT_EQ(store.ListString(kBaseList, 7), "flavour");
}

TEST_F(StoreTest, IsWordKnownNeverAsksTheIgnoreList) {
  LoadWords(store, {"alpha"});
  store.AddWordsToCustom("beta");
  store.IgnoreAll("gamma");
  EXPECT_TRUE(store.IsWordKnown("alpha", false));
  EXPECT_TRUE(store.IsWordKnown("beta", false));
  EXPECT_FALSE(store.IsWordKnown("gamma", false));
  EXPECT_FALSE(store.IsWordKnown("gamma", true));
  EXPECT_FALSE(store.IsWordKnown("ALPHA", false));
  EXPECT_TRUE(store.IsWordKnown("ALPHA", true));
}

TEST_F(StoreTest, ClearsEmptyOneListAndOnlyCustomMarksDirty) {
  LoadWords(store, {"alpha"});
  store.AddWordsToCustom("beta");
  store.IgnoreAll("gamma");
  (void)store.LoadCustomDictionary("/nonexistent/none", true);  // clears the dirty flag
  store.ClearIgnoreList();
  EXPECT_EQ(store.WordCount(kIgnoreList), 0u);
  store.ClearBaseDictionary();
  EXPECT_EQ(store.WordCount(kBaseList), 0u);
  EXPECT_FALSE(store.CustomDirty());
  EXPECT_EQ(store.WordCount(kCustomList), 1u);
  store.ClearCustomDictionary();
  EXPECT_EQ(store.WordCount(kCustomList), 0u);
  EXPECT_TRUE(store.CustomDirty());
}

}  // namespace
}  // namespace lexivane
