// Save type names ("BMP", "BMP.RLE", "TIF.LZW", ...) and the depths each file type allows.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace tavik {

struct SaveFormat {
  int family = 0;
  int subtype = 0;
};

// Case-insensitive; a dotted name must be one of the table, a plain one names a family by its
// first three characters. Nothing for an empty or unknown name.
std::optional<SaveFormat> SaveFormatFromName(std::string_view name);

// The depths the dialog's file type allows (the family's first type when the subtype is not
// listed); empty for a family with no file type.
std::span<const int> AllowedSaveDepths(int family, int subtype);

}  // namespace tavik
