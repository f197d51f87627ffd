// The token rules, as a table of command texts and what each read in turn makes of them.
#include "CommandCursor.h"

#include <gtest/gtest.h>

#include <string>

namespace tavik {
namespace {

// One letter per read: N number, W 32-bit word, R real in hundredths, P pair, B bracketed
// name, T text closed by 0xFF, K plain token, L create title, S "%d" number.
// Each result is rendered as a number, "y,x", <name>, or "-" for missing.
std::string Readings(std::string_view text, std::string_view reads) {
  CommandCursor c(text);
  std::string out;
  auto number = [](auto v) { return v ? std::to_string(*v) : std::string("-"); };
  auto name = [](std::optional<std::string_view> v) {
    return v ? "<" + std::string(*v) + ">" : std::string("-");
  };
  for (char r : reads) {
    if (r == ' ') continue;
    if (!out.empty()) out += ' ';
    switch (r) {
      case 'N': out += number(c.Number()); break;
      case 'W': out += number(c.Word32()); break;
      case 'R': out += number(c.Real100()); break;
      case 'S': out += number(c.ScanNumber()); break;
      case 'P': {
        auto p = c.ReadPair();
        out += p ? std::to_string(p->y) + "," + std::to_string(p->x) : "-";
        break;
      }
      case 'B': out += name(c.BracketedName()); break;
      case 'T': out += name(c.Text()); break;
      case 'K': out += name(c.Token()); break;
      case 'L': out += name(c.Title()); break;
    }
  }
  return out;
}

struct TokenCase {
  const char* text;
  const char* reads;
  const char* expected;
};

void PrintTo(const TokenCase& c, std::ostream* os) { *os << '"' << c.text << "\" " << c.reads; }

class TokenRules : public testing::TestWithParam<TokenCase> {};

TEST_P(TokenRules, ReadsAsExpected) {
  const TokenCase& t = GetParam();
  EXPECT_EQ(Readings(t.text, t.reads), t.expected) << "text: " << t.text;
}

const TokenCase kTokenCases[] = {
    // A value of 0 counts only when the token starts with '0'.
    {"0", "N", "0"},
    {"-0", "N", "-"},
    {"+0", "N", "-"},
    {"x", "N", "-"},
    {"", "N", "-"},
    {"   ", "N", "-"},
    {"0x10", "N", "0"},
    {"007", "N", "7"},
    {"12abc", "N", "12"},
    {"-5 +6", "N N", "-5 6"},
    {" \t 42\t7", "N N", "42 7"},
    {"5 x 6", "N N N", "5 - 6"},  // a missing token is still used up
    // 32-bit bounds: numbers saturate, words also take the unsigned range.
    {"99999999999 -99999999999", "N N", "2147483647 -2147483648"},
    {"4294967295 -1 2147483648", "W W W", "4294967295 4294967295 2147483648"},
    {"-0", "W", "-"},
    // Reals in hundredths, truncated toward zero, read from the digits.
    {"1.5 0.29 2 1.05 -1.555 .5", "R R R R R R", "150 29 200 105 -155 50"},
    {"0 x 2.00", "R R R", "0 0 200"},
    // Pairs are row first; a pair with a missing half is missing.
    {"10 20", "P", "10,20"},
    {"10", "P", "-"},
    // Bracketed names.
    {"[a b.bmp] 5", "B N", "<a b.bmp> 5"},
    {"[] 5", "B N", "<> 5"},
    {"[first][second] 1", "B B N", "<first> <second> 1"},
    {"[first] [second] 1", "B B N", "<first> <[second> 1"},
    {"[unclosed name", "B", "<unclosed name>"},
    {"", "B", "-"},
    {"5 [x]", "N B", "5 <x>"},
    {"plain [x]", "K B", "<plain> <x>"},
    // Texts close with 0xFF and keep blanks and brackets.
    {"[a]b \xFF 5 6", "T P", "<a]b > 5,6"},
    {"[[x] y]\xFF 1 2 -1", "T P N", "<[x] y]> 1,2 -1"},
    // Create titles: bracketed or one plain token; numbers read as "%d".
    {"[My title] 1 2", "L S S", "<My title> 1 2"},
    {"plain 1", "L S", "<plain> 1"},
    {"-0 +3 x", "S S S", "0 3 -"},
};

INSTANTIATE_TEST_SUITE_P(Table, TokenRules, testing::ValuesIn(kTokenCases));

TEST(Keywords, CompareUpperCased) {
  EXPECT_TRUE(KeywordEquals("nearest", "NEAREST"));
  EXPECT_TRUE(KeywordEquals("BestPal", "BESTPAL"));
  EXPECT_FALSE(KeywordEquals("NEAREST2", "NEAREST"));
  EXPECT_FALSE(KeywordEquals("", "WINPAL"));
}

}  // namespace
}  // namespace tavik
