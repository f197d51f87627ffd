#pragma once
// Letter case of the 8-bit text the spell core works on. Text reaches the core in the Windows-1252
// code page (the control converts at its boundary, one byte per document character, so positions
// stay document positions); case mapping covers ASCII and the Latin letters of that code page.

#include <string>
#include <string_view>

namespace lexivane {

char ToLowerChar(char c);
char ToUpperChar(char c);
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
