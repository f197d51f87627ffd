#include "ImageRecord.h"

#include "ErrorReport.h"
#include "ImageLimits.h"
#include "ImagingErrors.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

namespace tavik {
namespace {

int32_t SaturateToInt32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

// Bytes a row of `pixels` pixels takes at `bits` per pixel; 0 for depths a DIB never has.
int64_t RowBytes(int64_t pixels, int bits) {
  switch (bits) {
    case 1: return (pixels + 7) / 8;
    case 2: return (pixels + 3) / 4;
    case 4: return (pixels + 1) / 2;
    case 8: return pixels;
    case 24: return pixels * 3;
    default: return 0;
  }
}

}  // namespace

ImageRecord::~ImageRecord() {
  // A long chain would otherwise free itself by recursion, one stack frame per record.
  std::unique_ptr<ImageRecord> rest = std::move(next);
  while (rest) rest = std::move(rest->next);
}

void SetSourceName(ImageRecord& record, std::string_view name) {
  if (name.size() > kMaxSourceName) name = name.substr(name.size() - kMaxSourceName);
  record.sourceName.assign(name);
  for (char& c : record.sourceName) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
}

int32_t CropWidth(const ImageRecord& record) { return record.cropRight - record.cropLeft + 1; }
int32_t CropHeight(const ImageRecord& record) { return record.cropBottom - record.cropTop + 1; }

int ClipRequest(ImageRecord& record, int32_t width, int32_t height) {
  if (width < 1 || height < 1) return -1;
  if (record.placementBottom == -1) {
    record.placementBottom = SaturateToInt32(int64_t{record.placementTop} + height - 1);
  }
  if (record.placementRight == -1) {
    record.placementRight = SaturateToInt32(int64_t{record.placementLeft} + width - 1);
  }
  // A -1 edge means "the image edge", so it must not be mistaken for a reversed pair.
  if (record.cropBottom >= 0 && record.cropTop > record.cropBottom) {
    std::swap(record.cropTop, record.cropBottom);
  }
  if (record.cropRight >= 0 && record.cropLeft > record.cropRight) {
    std::swap(record.cropLeft, record.cropRight);
  }
  if (record.cropTop < 0) record.cropTop = 0;
  if (record.cropLeft < 0) record.cropLeft = 0;
  if (record.cropBottom < 0) record.cropBottom = height - 1;
  if (record.cropRight < 0) record.cropRight = width - 1;
  if (record.placementBottom < record.placementTop) return -1;
  if (record.placementRight < record.placementLeft) return -1;
  if (record.cropTop >= height || record.cropLeft >= width) return -1;
  record.cropBottom = std::min(record.cropBottom, height - 1);
  record.cropRight = std::min(record.cropRight, width - 1);
  return 0;
}

bool AllocateRecordDib(ImageRecord& record, int bits, int colorsUsed, int routine) {
  auto dib = AllocateDib(CropWidth(record), CropHeight(record), bits, colorsUsed);
  if (!dib) {
    ReportError(imaging::kErrGlobalAlloc, routine, "DIB");
    return false;
  }
  record.pixels = std::move(*dib);
  record.stride = DIBStride(record.pixels);
  record.bitsPerPixel = static_cast<uint16_t>(bits);
  return true;
}

void StoreRow(ImageRecord& record, int32_t sourceRow, std::span<const uint8_t> data) {
  if (sourceRow < record.cropTop || sourceRow > record.cropBottom) return;
  if (record.pixels.empty() || DIBBitDepth(record.pixels) != record.bitsPerPixel) return;
  int bits = record.bitsPerPixel;
  size_t count = static_cast<size_t>(
      std::min<int64_t>(RowBytes(CropWidth(record), bits), DIBStride(record.pixels)));
  count = std::min(count, data.size());
  if (count == 0) return;
  const uint32_t flags = record.displayFlags;
  bool flip = (flags & kFlagFlipVertical) && !(flags & (kFlagRotate | kFlagMirror));
  int32_t dibRow = flip ? sourceRow - record.cropTop : record.cropBottom - sourceRow;
  uint8_t* out = DIBRow(std::span<uint8_t>(record.pixels), dibRow);
  std::memcpy(out, data.data(), count);
  // BMP and TGA pixels are already blue-green-red; every other source is red-green-blue.
  if (bits == 24 && record.formatFamily != kFamilyBMP && record.formatFamily != kFamilyTGA) {
    for (size_t i = 0; i + 2 < count; i += 3) std::swap(out[i], out[i + 2]);
  }
}

std::unique_ptr<ImageRecord> RecordFromDIB(PackedDib dib, std::string_view name,
                                           uint32_t displayFlags, uintptr_t window, bool grow) {
  if (!DIBIsValid(dib)) return nullptr;
  std::unique_ptr<ImageRecord> record(new (std::nothrow) ImageRecord);
  if (!record) return nullptr;
  int32_t width = DIBPixelWidth(dib), height = DIBPixelHeight(dib);
  if (grow) {
    try {
      dib.resize(dib.size() + DIBStride(dib), 0);
    } catch (const std::bad_alloc&) {
      ReportError(imaging::kErrGlobalAlloc, kNoModule, "DIB");
      return nullptr;
    }
  }
  SetSourceName(*record, name);
  record->displayFlags = displayFlags;
  record->window = window;
  record->formatFamily = kFamilyBMP;
  record->subtype = kSubWindowsRGB;
  record->sourceWidth = width;
  record->sourceHeight = height;
  record->placementBottom = height - 1;
  record->placementRight = width - 1;
  record->placementRect = {0, 0, width - 1, height - 1};
  record->cropBottom = height - 1;
  record->cropRight = width - 1;
  record->stride = DIBStride(dib);
  record->bitsPerPixel = static_cast<uint16_t>(DIBBitDepth(dib));
  record->colorCount = static_cast<int32_t>(DIBColorCount(dib));
  record->pixels = std::move(dib);
  return record;
}

void FreeImageData(ImageRecord& record) {
  record.gdi.reset();
  PackedDib().swap(record.pixels);
}

void FreeDisplayCopy(ImageRecord& record) {
  record.displayCopyGdi.reset();
  PackedDib().swap(record.displayCopy);
}

void FreeImageChain(std::unique_ptr<ImageRecord>& head) { head.reset(); }

void AppendToChain(std::unique_ptr<ImageRecord>& head, std::unique_ptr<ImageRecord> record) {
  std::unique_ptr<ImageRecord>* slot = &head;
  while (*slot) slot = &(*slot)->next;
  *slot = std::move(record);
}

}  // namespace tavik
