// Reading the arguments of a command text. The texts come from the host library (or raw from
// IMCMD) and are read left to right the way the server always has: a token ends at its first
// blank or tab, which is consumed with it; a bracketed name runs from the next character (which
// is dropped) up to the next `]`. Everything that reads also tells "missing" apart, because a
// missing required argument fails the command before anything changes.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tavik {

// A point on the wire is written row first: y, then x.
struct WirePoint {
  int32_t y = 0;
  int32_t x = 0;
  friend bool operator==(const WirePoint&, const WirePoint&) = default;
};

// Two pairs: top, left, then bottom, right.
struct WireRect {
  int32_t top = 0;
  int32_t left = 0;
  int32_t bottom = 0;
  int32_t right = 0;
  friend bool operator==(const WireRect&, const WireRect&) = default;
};

class CommandCursor {
public:
  explicit CommandCursor(std::string_view text) : text_(text) {}

  // Next blank-separated token; nullopt when only blanks are left.
  std::optional<std::string_view> Token();

  // Decimal number with an optional sign, read up to the first non-digit and kept within
  // 32 bits. A value of 0 counts only when the token starts with '0': "-0", "+0" and "x" are
  // missing, and so is an absent token.
  std::optional<int32_t> Number();

  // Window handles and flag words: as Number, but 32-bit words written unsigned
  // (up to 4294967295) are taken too.
  std::optional<uint32_t> Word32();
  std::optional<int32_t> Handle();

  // A real number as hundredths, truncated toward zero: "1.5" gives 150, "0.29" gives 29.
  // Read from the decimal digits, so no binary rounding creeps in.
  std::optional<int32_t> Real100();

  std::optional<WirePoint> ReadPair();
  std::optional<WireRect> ReadRect();

  // [name]: from the next character, which is dropped, up to the next `]` (or the end). Two
  // names are written [first][second]; a blank between them stays in front of the second.
  std::optional<std::string_view> BracketedName() { return Delimited(']'); }

  // [text closed by the byte 0xFF instead of `]`, so it may hold blanks and brackets.
  std::optional<std::string_view> Text() { return Delimited('\xFF'); }

  // Title of a create request: bracketed when it starts with `[`, else one token.
  std::optional<std::string_view> Title();

  // A number as the request formats "%d" read it: blanks skipped, at least one digit; "-0"
  // is 0. The character after the number is not consumed.
  std::optional<int32_t> ScanNumber();

  // First character that a Token() would see, 0 at the end.
  char PeekNonBlank() const;
  bool AtEnd() const { return PeekNonBlank() == 0; }

  // What has not been read yet.
  std::string_view Rest() const { return text_.substr(pos_); }

private:
  std::optional<std::string_view> Delimited(char close);

  std::string_view text_;
  size_t pos_ = 0;
};

// Case-insensitive comparison of an ASCII keyword, as the server upper-cases before comparing.
bool KeywordEquals(std::string_view word, std::string_view upperKeyword);

}  // namespace tavik
