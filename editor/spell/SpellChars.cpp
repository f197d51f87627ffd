#include "SpellChars.h"

#include <array>

namespace lexivane {
namespace {

struct CaseTables {
  std::array<unsigned char, 256> lower{};
  std::array<unsigned char, 256> upper{};
  CaseTables() {
    for (int i = 0; i < 256; ++i) lower[i] = upper[i] = static_cast<unsigned char>(i);
    auto pair = [this](int up, int low) {
      lower[up] = static_cast<unsigned char>(low);
      upper[low] = static_cast<unsigned char>(up);
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
  }
};

// Windows-1252 rows 0x80..0x9F hold these characters; the rest of the page is Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

const CaseTables& Tables() {
  static const CaseTables tables;
  return tables;
}

}  // namespace

char ToLowerChar(char c) { return static_cast<char>(Tables().lower[static_cast<unsigned char>(c)]); }
char ToUpperChar(char c) { return static_cast<char>(Tables().upper[static_cast<unsigned char>(c)]); }

std::string LowerCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = ToLowerChar(c);
  return out;
}

std::string UpperCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = ToUpperChar(c);
  return out;
}

std::string ProperCase(std::string_view s) {
  std::string out(s);
  bool wordStart = true;
  for (char& c : out) {
    if (c == ' ') {
      wordStart = true;
      continue;
    }
    c = wordStart ? ToUpperChar(c) : ToLowerChar(c);
    wordStart = false;
  }
  return out;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  const auto& lower = Tables().lower;
  for (size_t i = 0; i < a.size(); ++i)
    if (lower[static_cast<unsigned char>(a[i])] != lower[static_cast<unsigned char>(b[i])]) return false;
  return true;
}

char32_t Cp1252ToCodePoint(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : b;
}

int CodePointToCp1252(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (int i = 0; i < 32; ++i)
    if (kCp1252High[i] == cp) return 0x80 + i;
  return -1;
}

}  // namespace lexivane
