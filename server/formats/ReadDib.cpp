#include "ReadDib.h"

#include "BmpReader.h"
#include "Dib.h"
#include "ErrorReport.h"
#include "FormatDetect.h"
#include "ImagingErrors.h"
#include "SourceReader.h"

#include <new>
#include <utility>

namespace tavik {
namespace {

constexpr size_t kReadDibHeaderBytes = 1252;
constexpr size_t kReadBMPHeaderBytes = 4096;

ImportFilterFn gImportFilter = nullptr;

struct OpenedSource {
  std::unique_ptr<ImageRecord> record;
  std::unique_ptr<ByteSource> source;
};

// Steps shared by ReadDib and ReadBMP: the record, its name, and the source by its kind word.
OpenedSource OpenSource(std::string_view kind, std::span<const uint8_t> data,
                        std::unique_ptr<ByteSource> given, int64_t offset, int64_t size,
                        std::string_view name, int routine) {
  OpenedSource opened;
  opened.record.reset(new (std::nothrow) ImageRecord);
  if (!opened.record) {
    ReportError(imaging::kErrGlobalAlloc, routine, "heIMG");
    return {};
  }
  ImageRecord& record = *opened.record;
  SetSourceName(record, name);
  if (kind == "FILE") {
    // A file that does not open fails quietly; the caller knows the name it gave.
    auto file = FileSource::Open(std::string(name));
    if (!file) return {};
    record.sourceKind = kSourceFile;
    record.sourceSize = static_cast<int64_t>(file->Length());
    opened.source = std::move(file);
  } else if (kind == "DATA" || kind == "HANDLE") {
    record.sourceKind = kind == "DATA" ? kSourceData : kSourceHandle;
    record.sourceSize = size;
    opened.source = given ? std::move(given) : std::make_unique<MemorySource>(data);
  } else {
    ReportError(kErrSourceType, routine, "!FD");
    return {};
  }
  if (offset < 0) return {};
  record.startOffset = offset;
  return opened;
}

void CopyPlacement(ImageRecord& record) {
  record.placementRect = {record.placementLeft, record.placementTop, record.placementRight,
                          record.placementBottom};
}

}  // namespace

void SetImportFilter(ImportFilterFn filter) { gImportFilter = filter; }

std::unique_ptr<ImageRecord> ReadDib(ReadRequest request) {
  OpenedSource opened = OpenSource(request.kind, request.data, std::move(request.source),
                                   request.offset, request.size, request.name, kReadDib);
  if (!opened.record) return nullptr;
  ImageRecord& record = *opened.record;
  record.subImage = request.subImage;
  record.placementTop = request.placementTop;
  record.placementLeft = request.placementLeft;
  record.placementBottom = request.placementBottom;
  record.placementRight = request.placementRight;
  record.cropTop = request.cropTop;
  record.cropLeft = request.cropLeft;
  record.cropBottom = request.cropBottom;
  record.cropRight = request.cropRight;
  record.displayFlags = request.displayFlags;

  SourceReader reader(record, std::move(opened.source));
  reader.Reset();
  if (reader.ReadHeader(kReadDibHeaderBytes) == 0) return nullptr;
  const int family = DetectFormat(reader.Header());
  bool loaded = false;
  if (const LoaderEntry* loader = FindLoader(family)) {
    loaded = loader->load(reader, record);
  } else if (record.sourceKind == kSourceFile && gImportFilter) {
    reader.Close();
    loaded = gImportFilter(request.name, record);
  }
  reader.Close();
  // A metafile keeps no pixels: its record lives in the platform slot.
  if (!loaded || (record.pixels.empty() && !record.gdi)) return nullptr;
  CopyPlacement(record);
  record.colorCount = static_cast<int32_t>(DIBColorCount(record.pixels));
  return std::move(opened.record);
}

std::unique_ptr<ImageRecord> ReadBMP(std::string_view kind, std::span<const uint8_t> data,
                                     int64_t offset, int64_t size, std::string_view name,
                                     int32_t placementTop, int32_t placementLeft) {
  OpenedSource opened = OpenSource(kind, data, nullptr, offset, size, name, kReadBMP);
  if (!opened.record) return nullptr;
  ImageRecord& record = *opened.record;
  record.placementTop = placementTop;
  record.placementLeft = placementLeft;
  record.placementBottom = record.placementRight = -1;
  record.cropTop = record.cropLeft = record.cropBottom = record.cropRight = -1;
  SourceReader reader(record, std::move(opened.source));
  reader.Reset();
  if (reader.ReadHeader(kReadBMPHeaderBytes) == 0) return nullptr;
  bool loaded = LoadBMPBitmap(reader, record);
  reader.Close();
  if (!loaded) return nullptr;
  CopyPlacement(record);
  return std::move(opened.record);
}

}  // namespace tavik
