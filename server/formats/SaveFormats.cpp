#include "SaveFormats.h"

#include "FormatNames.h"
#include "ImageRecord.h"

#include <array>
#include <string>

namespace tavik {
namespace {

struct DottedName {
  std::string_view name;
  SaveFormat format;
};

constexpr DottedName kDottedNames[] = {
    {"BMP.BITMAP", {kFamilyBMP, kSubBitmap}},   {"BMP.RLE", {kFamilyBMP, kSubRLE}},
    {"BMP.OS2", {kFamilyBMP, kSubOS2}},         {"GIF.89A", {kFamilyGIF, kSub89a}},
    {"GIF.87A", {kFamilyGIF, kSubUncompressed}}, {"MAC.BINARY", {kFamilyMAC, kSubMacBinary}},
    {"TGA.COMPRESSED", {kFamilyTGA, kSubCompressed}},
    {"TIF.UNCOMPRESSED", {kFamilyTIFF, kSubUncompressed}},
    {"TIF.PACKBITS", {kFamilyTIFF, kSubPackBits}}, {"TIF.LZW", {kFamilyTIFF, kSubLZW}},
    {"TIF.CCITT3", {kFamilyTIFF, kSubCCITT3}},  {"TIF.GROUP4", {kFamilyTIFF, kSubGroup4TwoD}},
    {"TIF.GROUP3", {kFamilyTIFF, kSubGroup3OneD}}, {"RAS.RLE", {kFamilyRAS, kSubRasRLE}},
};

struct FileType {
  SaveFormat format;
  std::array<int, 4> depths;
  size_t count;
};

// The dialog's file types whose writers exist; the other families join with theirs.
constexpr FileType kFileTypes[] = {
    {{kFamilyBMP, kSubUncompressed}, {1, 4, 8, 24}, 4},
    {{kFamilyBMP, kSubOS2}, {1, 4, 8, 24}, 4},
    {{kFamilyBMP, kSubBitmap}, {4, 8}, 2},
    {{kFamilyBMP, kSubRLE}, {4, 8}, 2},
    {{kFamilyGIF, kSub87a}, {1, 4, 8}, 3},
    {{kFamilyGIF, kSub89a}, {1, 4, 8}, 3},
    {{kFamilyJPG, kSubUncompressed}, {24}, 1},
    {{kFamilyTIFF, kSubUncompressed}, {1, 4, 8, 24}, 4},
    {{kFamilyTIFF, kSubPackBits}, {1, 4, 8, 24}, 4},
    {{kFamilyTIFF, kSubLZW}, {1, 4, 8, 24}, 4},
    {{kFamilyTIFF, kSubCCITT3}, {1}, 1},
    {{kFamilyTIFF, kSubGroup3OneD}, {1}, 1},
    {{kFamilyTIFF, kSubGroup4TwoD}, {1}, 1},
};

}  // namespace

std::optional<SaveFormat> SaveFormatFromName(std::string_view name) {
  std::string upper(name);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (upper.find('.') != std::string::npos) {
    for (const DottedName& entry : kDottedNames) {
      if (entry.name == upper) return entry.format;
    }
    return std::nullopt;
  }
  if (upper.size() < 3) return std::nullopt;
  for (int family = kFamilyPCX; !FormatFamilyName(family).empty(); ++family) {
    if (FormatFamilyName(family).substr(0, 3) == std::string_view(upper).substr(0, 3)) {
      return SaveFormat{family, family == kFamilyGIF ? kSub87a : kSubUncompressed};
    }
  }
  return std::nullopt;
}

std::span<const int> AllowedSaveDepths(int family, int subtype) {
  const FileType* first = nullptr;
  for (const FileType& type : kFileTypes) {
    if (type.format.family != family) continue;
    if (type.format.subtype == subtype) return {type.depths.data(), type.count};
    if (!first) first = &type;
  }
  if (!first) return {};
  return {first->depths.data(), first->count};
}

int ChooseSaveDepth(int family, int subtype, int requested, int sourceBits) {
  std::span<const int> allowed = AllowedSaveDepths(family, subtype);
  if (requested == -1) requested = sourceBits;
  int best = 0, bestDistance = 0;
  for (int depth : allowed) {
    if (depth == requested) return depth;
    int distance = depth > requested ? depth - requested : requested - depth;
    if (best == 0 || distance < bestDistance) {
      best = depth;
      bestDistance = distance;
    }
  }
  return best;
}

}  // namespace tavik
