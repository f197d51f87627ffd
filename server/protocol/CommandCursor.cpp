#include "CommandCursor.h"

#include <limits>

namespace tavik {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Optional sign, then digits up to the first non-digit; the magnitude saturates, so a long
// run of digits cannot overflow. `digits` tells whether any digit was seen.
int64_t LeadingDecimal(std::string_view s, bool& digits) {
  constexpr int64_t kCap = int64_t{1} << 40;  // well above any 32-bit value
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  int64_t value = 0;
  digits = false;
  for (; i < s.size() && IsDigit(s[i]); ++i) {
    digits = true;
    if (value < kCap) value = value * 10 + (s[i] - '0');
  }
  return negative ? -value : value;
}

int64_t Clamp(int64_t v, int64_t lo, int64_t hi) { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace

std::optional<std::string_view> CommandCursor::Token() {
  while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
  if (pos_ >= text_.size()) return std::nullopt;
  size_t start = pos_;
  while (pos_ < text_.size() && !IsBlank(text_[pos_])) ++pos_;
  std::string_view token = text_.substr(start, pos_ - start);
  if (pos_ < text_.size()) ++pos_;  // the separator goes with the token
  return token;
}

std::optional<int32_t> CommandCursor::Number() {
  auto token = Token();
  if (!token) return std::nullopt;
  bool digits = false;
  int64_t v = Clamp(LeadingDecimal(*token, digits), std::numeric_limits<int32_t>::min(),
                    std::numeric_limits<int32_t>::max());
  if (v == 0 && (*token)[0] != '0') return std::nullopt;
  return static_cast<int32_t>(v);
}

std::optional<uint32_t> CommandCursor::Word32() {
  auto token = Token();
  if (!token) return std::nullopt;
  bool digits = false;
  int64_t v = Clamp(LeadingDecimal(*token, digits), std::numeric_limits<int32_t>::min(),
                    std::numeric_limits<uint32_t>::max());
  if (v == 0 && (*token)[0] != '0') return std::nullopt;
  return static_cast<uint32_t>(v);  // negative handles wrap to their 32-bit word
}

std::optional<int32_t> CommandCursor::Handle() {
  auto w = Word32();
  if (!w) return std::nullopt;
  return static_cast<int32_t>(*w);
}

std::optional<int32_t> CommandCursor::Real100() {
  auto token = Token();
  if (!token) return std::nullopt;
  std::string_view s = *token;
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  int64_t whole = 0;
  for (; i < s.size() && IsDigit(s[i]); ++i) {
    if (whole < (int64_t{1} << 40)) whole = whole * 10 + (s[i] - '0');
  }
  int64_t hundredths = 0;
  if (i < s.size() && s[i] == '.') {
    ++i;
    for (int place = 0; place < 2; ++place) {
      hundredths *= 10;
      if (i < s.size() && IsDigit(s[i])) hundredths += s[i++] - '0';
    }
  }
  int64_t v = whole * 100 + hundredths;
  if (negative) v = -v;
  return static_cast<int32_t>(
      Clamp(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

std::optional<WirePoint> CommandCursor::ReadPair() {
  auto y = Number();
  if (!y) return std::nullopt;
  auto x = Number();
  if (!x) return std::nullopt;
  return WirePoint{*y, *x};
}

std::optional<WireRect> CommandCursor::ReadRect() {
  auto a = ReadPair();
  if (!a) return std::nullopt;
  auto b = ReadPair();
  if (!b) return std::nullopt;
  return WireRect{a->y, a->x, b->y, b->x};
}

std::optional<std::string_view> CommandCursor::Delimited(char close) {
  // Runs of the closing character before the name are passed over, as a tokenizer on that
  // one delimiter would.
  while (pos_ < text_.size() && text_[pos_] == close) ++pos_;
  if (pos_ >= text_.size()) return std::nullopt;
  size_t start = pos_;
  while (pos_ < text_.size() && text_[pos_] != close) ++pos_;
  std::string_view token = text_.substr(start, pos_ - start);
  if (pos_ < text_.size()) ++pos_;
  return token.substr(1);  // the opening bracket, or whatever stands in its place
}

std::optional<std::string_view> CommandCursor::Title() {
  while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
  if (pos_ < text_.size() && text_[pos_] == '[') return BracketedName();
  return Token();
}

std::optional<int32_t> CommandCursor::ScanNumber() {
  size_t i = pos_;
  while (i < text_.size() && (IsBlank(text_[i]) || text_[i] == '\n' || text_[i] == '\r' ||
                              text_[i] == '\v' || text_[i] == '\f')) {
    ++i;
  }
  size_t start = i;
  if (i < text_.size() && (text_[i] == '-' || text_[i] == '+')) ++i;
  size_t digitsStart = i;
  while (i < text_.size() && IsDigit(text_[i])) ++i;
  if (i == digitsStart) return std::nullopt;
  bool digits = false;
  int64_t v = LeadingDecimal(text_.substr(start, i - start), digits);
  pos_ = i;
  return static_cast<int32_t>(
      Clamp(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

char CommandCursor::PeekNonBlank() const {
  size_t i = pos_;
  while (i < text_.size() && IsBlank(text_[i])) ++i;
  return i < text_.size() ? text_[i] : 0;
}

bool KeywordEquals(std::string_view word, std::string_view upperKeyword) {
  if (word.size() != upperKeyword.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    char c = word[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != upperKeyword[i]) return false;
  }
  return true;
}

}  // namespace tavik
