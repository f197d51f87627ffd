#pragma once
// The tool speaks UTF-8; the spell core works in Windows-1252, one byte per character.

#include <string>
#include <string_view>

namespace lexivane {

// Characters Windows-1252 cannot hold become '?'; bytes that are not UTF-8 pass through as they are.
std::string Utf8ToCp1252(std::string_view utf8);
std::string Cp1252ToUtf8(std::string_view text);

}  // namespace lexivane
