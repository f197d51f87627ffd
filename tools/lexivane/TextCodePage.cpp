#include "TextCodePage.h"

#include "SpellChars.h"

#include <algorithm>
#include <cstdint>

namespace lexivane {
namespace {

char FromCodePoint(uint32_t cp) {
  const int byte = CodePointToCp1252(cp);
  return byte >= 0 ? static_cast<char>(byte) : '?';
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::string Utf8ToCp1252(std::string_view in) {
  std::string out;
  out.reserve(in.size());
  for (size_t i = 0; i < in.size();) {
    // Plain ASCII runs go across in one piece.
    size_t run = i;
    while (run < in.size() && static_cast<unsigned char>(in[run]) < 0x80) ++run;
    out.append(in, i, run - i);
    i = run;
    if (i == in.size()) break;
    const auto b = static_cast<unsigned char>(in[i]);
    int extra = b >= 0xF0 && b < 0xF8 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    if (b < 0x80 || extra == 0 || i + static_cast<size_t>(extra) >= in.size()) {
      out += static_cast<char>(b);
      ++i;
      continue;
    }
    uint32_t cp = b & (0x3F >> extra);
    bool valid = true;
    for (int k = 1; k <= extra; ++k) {
      const auto c = static_cast<unsigned char>(in[i + static_cast<size_t>(k)]);
      if ((c & 0xC0) != 0x80) valid = false;
      cp = (cp << 6) | (c & 0x3F);
    }
    if (!valid) {
      out += static_cast<char>(b);
      ++i;
      continue;
    }
    out += FromCodePoint(cp);
    i += static_cast<size_t>(extra) + 1;
  }
  return out;
}

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    AppendUtf8(out, Cp1252ToCodePoint(c));
  }
  return out;
}

}  // namespace lexivane
