// The one way images enter: name a source, the part wanted and where it goes; get a filled
// record or nothing. Detection picks the loader from the first bytes; a table does the rest.
#pragma once

#include "ByteSource.h"
#include "ImageRecord.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace tavik {

class SourceReader;

struct ReadRequest {
  std::string_view kind;            // "FILE", "DATA" or "HANDLE", exactly
  // DATA and HANDLE: the bytes of the transfer or block, all of them; `offset` and `size` pick
  // the image inside. The Win32 layer may hand its own source instead.
  std::span<const uint8_t> data;
  std::unique_ptr<ByteSource> source;
  int64_t offset = 0;
  int64_t size = 0;
  uint32_t displayFlags = 0;
  std::string name;                 // the file for "FILE", a description otherwise
  int32_t placementTop = 0, placementLeft = 0, placementBottom = -1, placementRight = -1;
  int32_t cropTop = -1, cropLeft = -1, cropBottom = -1, cropRight = -1;
  int32_t subImage = 0;
};

std::unique_ptr<ImageRecord> ReadDib(ReadRequest request);

// A BMP source into a record holding the rows of a device-dependent bitmap (subtype 26).
std::unique_ptr<ImageRecord> ReadBMP(std::string_view kind, std::span<const uint8_t> data,
                                     int64_t offset, int64_t size, std::string_view name,
                                     int32_t placementTop, int32_t placementLeft);

// A loader fills the record from the reader, whose buffer holds the header; true on success.
using LoaderFn = bool (*)(SourceReader& reader, ImageRecord& record);

struct LoaderEntry {
  int family;
  int routine;   // the name its failures are reported under
  LoaderFn load;
};

// The loader of a family, or nothing for family 0 and unknown numbers.
const LoaderEntry* FindLoader(int family);

// Files nobody here reads go to the system's import filters (Win32 only). A filter fills the
// record's DIB, or its metafile slot, and returns true.
using ImportFilterFn = bool (*)(const std::string& fileName, ImageRecord& record);
void SetImportFilter(ImportFilterFn filter);

}  // namespace tavik
