#pragma once
// Letter case of the 8-bit text the spell core works on. Text reaches the core in the Windows-1252
// code page (the control converts at its boundary, one byte per document character, so positions
// stay document positions); case mapping covers ASCII and the Latin letters of that code page.

#include <array>
#include <string>
#include <string_view>

namespace lexivane {

namespace detail {

struct CaseTables {
  std::array<unsigned char, 256> lower{};
  std::array<unsigned char, 256> upper{};
};

constexpr CaseTables MakeCaseTables() {
  CaseTables t;
  for (int i = 0; i < 256; ++i) t.lower[i] = t.upper[i] = static_cast<unsigned char>(i);
  auto pair = [&t](int up, int low) {
    t.lower[up] = static_cast<unsigned char>(low);
    t.upper[low] = static_cast<unsigned char>(up);
  };
  for (int c = 'A'; c <= 'Z'; ++c) pair(c, c + 32);
  // Windows-1252: À..Þ map to à..þ except the multiplication sign; ß and ÿ have no single
  // upper-case byte except Ÿ at 0x9F.
  for (int c = 0xC0; c <= 0xDE; ++c)
    if (c != 0xD7) pair(c, c + 32);
  pair(0x8A, 0x9A);  // Š š
  pair(0x8C, 0x9C);  // Œ œ
  pair(0x8E, 0x9E);  // Ž ž
  pair(0x9F, 0xFF);  // Ÿ ÿ
  return t;
}

// Built by the compiler: the checks call these for every character they look at.
inline constexpr CaseTables kCaseTables = MakeCaseTables();

}  // namespace detail

constexpr char ToLowerChar(char c) { return static_cast<char>(detail::kCaseTables.lower[static_cast<unsigned char>(c)]); }
constexpr char ToUpperChar(char c) { return static_cast<char>(detail::kCaseTables.upper[static_cast<unsigned char>(c)]); }
std::string LowerCase(std::string_view s);
std::string UpperCase(std::string_view s);
// First letter of each blank-separated word upper case, every other letter lower case.
std::string ProperCase(std::string_view s);
bool EqualNoCase(std::string_view a, std::string_view b);

// The Unicode character of a Windows-1252 byte, and the byte of a character (-1 when the code
// page has none).
char32_t Cp1252ToCodePoint(char c);
int CodePointToCp1252(char32_t cp);

}  // namespace lexivane
