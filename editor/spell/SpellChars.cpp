#include "SpellChars.h"

namespace lexivane {
namespace {

// Windows-1252 rows 0x80..0x9F hold these characters; the rest of the page is Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

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
  const auto& lower = detail::kCaseTables.lower;
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
