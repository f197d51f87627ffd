// The names the About Image dialog and `tavik info` show for a record.
#pragma once

#include <string>
#include <string_view>

namespace tavik {

// "Undefined", "PCX", ... "ICO"; empty outside 0..16.
std::string_view FormatFamilyName(int family);
// " Uncompressed", ... " BITMAP", each beginning with a blank; empty for 0 and outside 1..26.
std::string_view SubtypeText(int subtype);
// Family name followed directly by the subtype text, e.g. "BMP Windows 3.x RGB".
std::string FormatTypeText(int family, int subtype);
// "2", "16", "256", "64K", "16 Million" by bits per pixel.
std::string ColorsText(int bitsPerPixel);

}  // namespace tavik
