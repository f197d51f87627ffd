// UlvaneSpell.dll loaded by name as the control loads it: each export is found under both names
// and answers as the portable code does.

#include "SpellChars.h"
#include "WordListData.h"
#include "WordListSearch.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

using LoadStringsFn = int(WINAPI*)(HMODULE, int, char*, int);
using BFindWordFn = int(WINAPI*)(const wchar_t*, const wchar_t*, int*, int*);
using FindWordInStringFn = int(WINAPI*)(const char*, const char*, int);
using GetNextWordCFn = int(WINAPI*)(int, const char*, char*);
using DrawSquigglesFn = int(WINAPI*)(HDC, int, int, int, int, int, int, int, COLORREF, COLORREF, COLORREF);

class UlvaneSpellDll : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { dll = LoadLibraryA("UlvaneSpell"); }
  static void TearDownTestSuite() {
    if (dll != nullptr) FreeLibrary(dll);
    dll = nullptr;
  }
  void SetUp() override { ASSERT_NE(dll, nullptr) << "UlvaneSpell.dll did not load"; }
  // The control's lookup: the standard-call name first, then the plain one.
  template <typename Fn>
  static Fn Find(const char* stdcallName, const char* plainName) {
    FARPROC p = GetProcAddress(dll, stdcallName);
    if (p == nullptr) p = GetProcAddress(dll, plainName);
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(p));
  }
  static std::string BaseList(int length) {
    auto loadStrings = Find<LoadStringsFn>("_LoadStrings@16", "LoadStrings");
    char sizeText[32];
    int n = LoadStringA(dll, static_cast<UINT>(lexivane::kSizeStringBase + length), sizeText, sizeof sizeText);
    auto size = lexivane::ParseSizeString(std::string(sizeText, n > 0 ? static_cast<size_t>(n) : 0));
    if (!size) return {};
    std::string buffer(*size + 1, ' ');
    if (!loadStrings(dll, length - 1, buffer.data(), lexivane::kLoadStringsKey)) return "(failed)";
    buffer.resize(*size);
    return buffer;
  }
  static HMODULE dll;
};
HMODULE UlvaneSpellDll::dll = nullptr;

TEST_F(UlvaneSpellDll, ExportsEveryRoutineUnderBothNames) {
  const char* names[][2] = {{"_LoadStrings@16", "LoadStrings"},
                            {"_BFindWord@16", "BFindWord"},
                            {"_FindWordInString@12", "FindWordInString"},
                            {"_GetNextWordC@12", "GetNextWordC"},
                            {"_DrawSquiggles@44", "DrawSquiggles"}};
  for (auto& [decorated, plain] : names) {
    EXPECT_NE(GetProcAddress(dll, decorated), nullptr) << decorated;
    EXPECT_NE(GetProcAddress(dll, plain), nullptr) << plain;
    EXPECT_EQ(GetProcAddress(dll, decorated), GetProcAddress(dll, plain)) << plain;
  }
}

TEST_F(UlvaneSpellDll, LoadStringsUnpacksTheWholeBaseList) {
  uint64_t words = 0;
  for (int n = 1; n <= lexivane::kMaxWordLength; ++n) {
    std::string list = BaseList(n);
    ASSERT_NE(list, "(failed)") << n;
    ASSERT_EQ(list.size() % static_cast<size_t>(n), 0u) << n;
    words += list.size() / static_cast<size_t>(n);
    for (size_t at = n; at + n <= list.size(); at += n)
      ASSERT_LT(list.compare(at - n, n, list, at, n), 0) << "records of length " << n << " sorted and unique";
  }
  EXPECT_GT(words, 120000u);
  EXPECT_LT(words, 140000u);
  auto loadStrings = Find<LoadStringsFn>("_LoadStrings@16", "LoadStrings");
  char small[8] = "       ";
  EXPECT_EQ(loadStrings(dll, 4, small, lexivane::kLoadStringsKey + 1), 0) << "wrong key";
  EXPECT_EQ(loadStrings(dll, 40, small, lexivane::kLoadStringsKey), 0);
  EXPECT_EQ(loadStrings(dll, 4, nullptr, lexivane::kLoadStringsKey), 0);
}

TEST_F(UlvaneSpellDll, BFindWordOnWideTextMatchesThePortableSearch) {
  auto bFindWord = Find<BFindWordFn>("_BFindWord@16", "BFindWord");
  const std::string list = BaseList(6);
  ASSERT_FALSE(list.empty());
  std::wstring wide;
  for (char c : list) wide += static_cast<wchar_t>(lexivane::Cp1252ToCodePoint(c));
  for (size_t at = 0; at + 6 <= list.size(); at += 6 * 97) {
    std::string word = list.substr(at, 6);
    for (std::string probe : {word, word.substr(0, 5) + "~", std::string("A") + word.substr(1)}) {
      std::wstring w;
      for (char c : probe) w += static_cast<wchar_t>(lexivane::Cp1252ToCodePoint(c));
      int low = -7, high = -7;
      int found = bFindWord(w.c_str(), wide.c_str(), &low, &high);
      lexivane::FindSpot expected = lexivane::BFindWord(probe, list);
      ASSERT_EQ(found != 0, expected.found) << probe;
      if (!expected.found) {
        EXPECT_EQ(low, expected.low) << probe;
        EXPECT_EQ(high, expected.high) << probe;
      }
    }
  }
  EXPECT_EQ(bFindWord(nullptr, wide.c_str(), nullptr, nullptr), 0);
}

TEST_F(UlvaneSpellDll, FindWordInStringAndGetNextWordCMatchThePortableCode) {
  auto findWord = Find<FindWordInStringFn>("_FindWordInString@12", "FindWordInString");
  auto nextWord = Find<GetNextWordCFn>("_GetNextWordC@12", "GetNextWordC");
  EXPECT_EQ(findWord("PARIS", "londnparis", 5), 1);
  EXPECT_EQ(findWord("paris", "londnparis", 4), 0) << "length must be the word's";
  EXPECT_EQ(findWord("ondnp", "londnparis", 5), 0);

  const std::string text = "  Hello, world. don't\re-mail " + std::string(300, 'x') + " (end)";
  char buffer[256];
  size_t portable = 1;
  int exported = 1;
  for (;;) {
    std::string expected;
    portable = lexivane::GetNextWordC(portable, text, expected);
    exported = nextWord(exported, text.c_str(), buffer);
    EXPECT_EQ(static_cast<size_t>(exported), portable);
    EXPECT_EQ(std::string(buffer), expected);
    if (expected.empty()) break;
  }
}

TEST_F(UlvaneSpellDll, DrawSquigglesDrawsAWaveOffTheSelection) {
  auto draw = Find<DrawSquigglesFn>("_DrawSquiggles@44", "DrawSquiggles");
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 80, 20);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all{0, 0, 80, 20};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  const COLORREF red = RGB(255, 0, 0);
  // Selection from x 40 to 60 on the mark's line.
  EXPECT_EQ(draw(dc, 10, 10, 70, 40, 60, 5, 15, RGB(255, 255, 255), red, red), 1);
  auto redIn = [&](int x0, int x1) {
    int count = 0;
    for (int x = x0; x < x1; ++x)
      for (int y = 0; y < 20; ++y) count += GetPixel(dc, x, y) == red;
    return count;
  };
  EXPECT_GT(redIn(10, 40), 20);
  EXPECT_GT(redIn(60, 71), 5);
  EXPECT_EQ(redIn(41, 60), 0) << "the selection stays clean";
  EXPECT_EQ(redIn(0, 10) + redIn(71, 80), 0);
  int rows = 0;
  for (int y = 0; y < 20; ++y) rows += redIn(10, 40) > 0 && [&] {
    for (int x = 10; x < 40; ++x)
      if (GetPixel(dc, x, y) == red) return true;
    return false;
  }();
  EXPECT_GE(rows, 2) << "a wave, not a straight line";
  EXPECT_EQ(draw(nullptr, 0, 0, 10, 0, 0, 0, 0, 0, 0, 0), 0);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

}  // namespace
