// The .cud file: names, the file format, load, save and the name change.

#include "SpellTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace lexivane {
namespace {

namespace fs = std::filesystem;

class CustomDictionaryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("lexivane-cud-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    store.SetWindowsDirectory(dir.string() + "/");
  }
  void TearDown() override {
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir);
  }
  std::string Path(const std::string& name) const { return (dir / name).string(); }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }

  fs::path dir;
  WordListStore store;
};

TEST_F(CustomDictionaryTest, NamesAreNormalised) {
  struct Case {
    std::string name, expected;
  } cases[] = {
      {"mywords", "mywords.cud"},
      {"MyWords.CUD", "MyWords.CUD"},
      {"a.cud", "a.cud"},
      {"cud", "cud.cud"},
      {"list.txt", "list.txt.cud"},
      {"", (dir / "ULCUSTOM.CUD").string()},
  };
  for (const auto& c : cases) EXPECT_EQ(store.NormaliseCustomDictionaryName(c.name), c.expected) << c.name;
}

TEST_F(CustomDictionaryTest, SavedFileHoldsWordsByLengthThenListOrder) {
  store.AddWordsToCustom("zebra ox Apple apple a I an ox");
  ASSERT_TRUE(store.SaveCustomDictionary(Path("words")));
  EXPECT_EQ(Read(Path("words.cud")), "I a an ox Apple apple zebra");
  EXPECT_FALSE(store.CustomDirty());
  EXPECT_FALSE(fs::exists(Path("words.cud.tmp")));
}

TEST_F(CustomDictionaryTest, RoundTripKeepsEveryWord) {
  const std::string longest(32, 'z');
  store.AddWordsToCustom("na\xEFve d'Artagnan e-mail " + longest);
  ASSERT_TRUE(store.SaveCustomDictionary(Path("rt.cud")));
  WordListStore other;
  EXPECT_FALSE(other.LoadCustomDictionary(Path("rt.cud"), false).has_value());
  EXPECT_EQ(other.CustomDictionaryText(), store.CustomDictionaryText());
  EXPECT_FALSE(other.CustomDirty());
}

TEST_F(CustomDictionaryTest, SavingAnEmptyListLeavesTheFileAlone) {
  Write(Path("keep.cud"), "old words");
  store.ClearCustomDictionary();
  EXPECT_TRUE(store.SaveCustomDictionary(Path("keep.cud")));
  EXPECT_EQ(Read(Path("keep.cud")), "old words");
  EXPECT_TRUE(store.CustomDirty()) << "the dirty flag is not changed";
  EXPECT_TRUE(store.SaveCustomDictionary(Path("new.cud")));
  EXPECT_FALSE(fs::exists(Path("new.cud")));
}

TEST_F(CustomDictionaryTest, FailedSaveKeepsOldFileAndDirtyFlag) {
  Write(Path("old.cud"), "old words");
  store.AddWordsToCustom("fresh");
  fs::create_directory(Path("old.cud.tmp"));  // the temporary file cannot be created
  EXPECT_FALSE(store.SaveCustomDictionary(Path("old.cud")));
  EXPECT_EQ(Read(Path("old.cud")), "old words");
  EXPECT_TRUE(store.CustomDirty());
  EXPECT_FALSE(store.SaveCustomDictionary(Path("missing-folder/x.cud")));
  EXPECT_TRUE(store.CustomDirty());
}

TEST_F(CustomDictionaryTest, LoadReadsAnySeparatorsAndAppendsOnRequest) {
  Write(Path("in.cud"), "gamma\rbeta  alpha\r\n\tdelta gamma");
  store.AddWordsToCustom("kept");
  EXPECT_FALSE(store.LoadCustomDictionary(Path("in"), true).has_value());
  EXPECT_EQ(store.CustomDictionaryText(), "beta kept alpha delta gamma");
  EXPECT_FALSE(store.CustomDirty());
  EXPECT_FALSE(store.LoadCustomDictionary(Path("in.cud"), false).has_value());
  EXPECT_EQ(store.CustomDictionaryText(), "beta alpha delta gamma");
}

TEST_F(CustomDictionaryTest, MissingFileIsSilentUnreadableFileIsAnError) {
  store.AddWordsToCustom("kept");
  EXPECT_FALSE(store.LoadCustomDictionary(Path("absent.cud"), true).has_value());
  EXPECT_EQ(store.CustomDictionaryText(), "kept");
  fs::create_directory(Path("folder.cud"));
  auto error = store.LoadCustomDictionary(Path("folder.cud"), true);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->number, -2147218453);
  EXPECT_EQ(error->description, "Can't open custom dictionary file '" + Path("folder.cud") + "'");
  EXPECT_EQ(store.CustomDictionaryText(), "kept");
}

TEST_F(CustomDictionaryTest, LoadWithEmptyNameUsesAndRemembersTheDefault) {
  store.AddWordsToCustom("x");
  (void)store.SetCustomDictionaryFileName(Path("elsewhere"));
  Write(Path("ULCUSTOM.CUD"), "defaultword");
  EXPECT_FALSE(store.LoadCustomDictionary("", false).has_value());
  EXPECT_EQ(store.CustomDictionaryFileName(), Path("ULCUSTOM.CUD"));
  EXPECT_EQ(store.CustomDictionaryText(), "defaultword");
}

TEST_F(CustomDictionaryTest, BinaryAndOddBytesDoNotBreakLoading) {
  std::string junk;
  for (int i = 0; i < 256; ++i) junk += static_cast<char>(i);
  junk += std::string(40, 'w') + " ok";
  Write(Path("junk.cud"), junk);
  EXPECT_FALSE(store.LoadCustomDictionary(Path("junk.cud"), false).has_value());
  EXPECT_TRUE(store.FindInList(kCustomList, "ok", false));
  EXPECT_FALSE(store.FindInList(kCustomList, std::string(40, 'w'), false));
}

TEST_F(CustomDictionaryTest, NameChangeSavesThenMergesTheNewFile) {
  store.ResetCustomDictionaryFileName();
  EXPECT_EQ(store.CustomDictionaryFileName(), Path("ULCUSTOM.CUD"));
  store.AddWordsToCustom("mine");
  Write(Path("team.cud"), "theirs");
  EXPECT_FALSE(store.SetCustomDictionaryFileName(Path("team")).has_value());
  EXPECT_EQ(Read(Path("ULCUSTOM.CUD")), "mine");
  EXPECT_EQ(store.CustomDictionaryFileName(), Path("team.cud"));
  EXPECT_EQ(store.CustomDictionaryText(), "mine theirs");
  ASSERT_TRUE(store.SaveCustomDictionary(store.CustomDictionaryFileName()));
  EXPECT_EQ(Read(Path("team.cud")), "mine theirs");
}

}  // namespace
}  // namespace lexivane
