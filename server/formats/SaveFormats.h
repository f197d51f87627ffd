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

// The depth a save writes: a requested -1 means the source's depth; a depth the type allows
// stays, otherwise the allowed one nearest to it (1, 4, 8, 24 in order, a later one winning
// only when strictly nearer). 0 when the family has no file type.
int ChooseSaveDepth(int family, int subtype, int requested, int sourceBits);

}  // namespace tavik
