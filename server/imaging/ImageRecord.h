// One loaded image: where it came from, which format it was, which part was kept, where it is
// shown, and the pixels it owns. Records of one window form a chain through `next`; the record
// that holds the head owns the whole chain, and freeing it frees every record after it.
#pragma once

#include "Dib.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace tavik {

enum SourceKind : int { kNoSource = 0, kSourceFile = 1, kSourceData = 2, kSourceHandle = 3 };

enum FormatFamily : int {
  kFamilyUndefined = 0, kFamilyPCX = 1, kFamilyGGC = 2, kFamilyGIF = 3, kFamilyTIFF = 4,
  kFamilyX11 = 5, kFamilyMAC = 6, kFamilyIMG = 7, kFamilyBMP = 8, kFamilyTGA = 9,
  kFamilyMSP = 10, kFamilyWPG = 11, kFamilyPIC = 12, kFamilyWMF = 13, kFamilyJPG = 14,
  kFamilyRAS = 15, kFamilyICO = 16,
};

enum Subtype : int {
  kSubNone = 0, kSubUncompressed = 1, kSubLZW = 2, kSubPackBits = 3, kSubCCITT3 = 4,
  kSubGroup3OneD = 5, kSubGroup3TwoD = 6, kSubGroup4OneD = 7, kSubGroup4TwoD = 8, kSubOS2 = 9,
  kSubWindows3 = 10, kSubCompressed = 11, kSubWindowsRGB = 12, kSubWindowsRLE8 = 13,
  kSubWindowsRLE4 = 14, kSubVersion101 = 15, kSubVersion20 = 16, kSubVersion50 = 17,
  kSubVersion51 = 18, kSubMacBinary = 19, kSub89a = 20, kSub87a = 21, kSubRLE = 22,
  kSubAlice = 23, kSubJFIF = 24, kSubRasRLE = 25, kSubBitmap = 26,
};

// Display flags the imaging and file code acts on; the rest belong to window painting.
enum DisplayFlag : uint32_t {
  kFlagTwoTone = 0x2, kFlagGray = 0x4, kFlagInvert = 0x8, kFlagFlipVertical = 0x10,
  kFlagRotate = 0x20, kFlagAppend = 0x2000, kFlagMirror = 0x40000,
};

struct Rect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// GDI objects (palette, device-dependent bitmap, metafile record) live on the Win32 side; a
// record only owns them through this base, so deleting it releases them with the right call.
class PlatformObjects {
public:
  virtual ~PlatformObjects() = default;
};

struct ImageRecord {
  ImageRecord() = default;
  ImageRecord(const ImageRecord&) = delete;
  ImageRecord& operator=(const ImageRecord&) = delete;
  ImageRecord(ImageRecord&&) = default;
  ImageRecord& operator=(ImageRecord&&) = default;
  ~ImageRecord();  // frees the chain after it without recursing

  int sourceKind = kNoSource;
  int64_t startOffset = 0;
  int64_t sourceSize = 0;
  int formatFamily = kFamilyUndefined;
  int subtype = kSubNone;
  int32_t sourceWidth = 0, sourceHeight = 0;
  int32_t placementTop = 0, placementLeft = 0, placementBottom = 0, placementRight = 0;
  Rect placementRect;
  int32_t cropTop = 0, cropLeft = 0, cropBottom = 0, cropRight = 0;
  int32_t subImage = 0;
  uint32_t displayFlags = 0;
  int sourceBottomUp = 0;
  int32_t placedClientWidth = 0, placedClientHeight = 0;
  int32_t paintedClientWidth = 0, paintedClientHeight = 0;
  uintptr_t window = 0;
  // The packed DIB; with subtype 26 the rows meant for a device-dependent bitmap (ReadBMP).
  PackedDib pixels;
  std::unique_ptr<PlatformObjects> gdi;  // palette, bitmap, metafile record
  int32_t colorCount = 0;
  uint32_t stride = 0;  // 32 bits: a 24-bit row of 65535 pixels does not fit 16
  uint16_t bitsPerPixel = 0;
  std::string sourceName;
  Rect drawnRect;
  PackedDib displayCopy;
  std::unique_ptr<PlatformObjects> displayCopyGdi;  // the display copy's palette
  std::unique_ptr<ImageRecord> next;
};

inline constexpr size_t kMaxSourceName = 255;

// Keeps the last 255 characters of a longer name and upper-cases a..z only.
void SetSourceName(ImageRecord& record, std::string_view name);

int32_t CropWidth(const ImageRecord& record);
int32_t CropHeight(const ImageRecord& record);

// Settles placement and crop against a width x height source: 0 when the record can take the
// image, -1 when its placement is reversed or the crop starts outside the image.
int ClipRequest(ImageRecord& record, int32_t width, int32_t height);

// Allocates the crop-sized DIB with `colorsUsed` table entries and stores it in the record with
// its stride and depth; on failure reports error 120 "DIB" under `routine` and returns false.
bool AllocateRecordDib(ImageRecord& record, int bits, int colorsUsed, int routine);

// Copies one decoded source row, starting at the crop left column, into the record's DIB.
void StoreRow(ImageRecord& record, int32_t sourceRow, std::span<const uint8_t> data);

// A record around an existing DIB (pasted, captured); nothing when the DIB is not valid.
std::unique_ptr<ImageRecord> RecordFromDIB(PackedDib dib, std::string_view name,
                                           uint32_t displayFlags, uintptr_t window, bool grow);

void FreeImageData(ImageRecord& record);
void FreeDisplayCopy(ImageRecord& record);
void FreeImageChain(std::unique_ptr<ImageRecord>& head);

// Hangs `record` (and any chain after it) at the end of the chain starting at `head`.
void AppendToChain(std::unique_ptr<ImageRecord>& head, std::unique_ptr<ImageRecord> record);

}  // namespace tavik
