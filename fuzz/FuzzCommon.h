// What every fuzz target shares: a reporter that only checks reports are well-formed, a
// lowered pixel limit, and a read of every decoded byte so the sanitizers see each pixel.
#pragma once

#include "ErrorReport.h"
#include "ImageLimits.h"
#include "ReadDib.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tavik::fuzz {

inline volatile size_t gSink;

class QuietReporter final : public ErrorReporter {
public:
  int Report(int code, int routine, const char* detail) override {
    gSink = static_cast<size_t>(code + routine) + (detail ? std::strlen(detail) : 0);
    return 0;
  }
};

inline void Prepare() {
  static QuietReporter reporter;
  SetErrorReporter(&reporter);
  // 4 Mi pixels still reach every decoding path; the full limit only makes each run slower.
  SetMaxImagePixels(int64_t{1} << 22);
}

inline void Touch(std::span<const uint8_t> bytes) {
  uint8_t sum = 0;
  for (uint8_t b : bytes) sum ^= b;
  gSink = sum;
}

// Any bytes through ReadDib as a "DATA" source; the last byte picks a crop and a sub-image.
inline void LoadThroughReadDib(const uint8_t* data, size_t size) {
  Prepare();
  ReadRequest request;
  request.kind = "DATA";
  request.data = std::span<const uint8_t>(data, size);
  request.size = static_cast<int64_t>(size);
  if (size > 0) {
    const uint8_t last = data[size - 1];
    if (last & 1) {
      request.cropTop = last >> 5;
      request.cropLeft = (last >> 2) & 7;
      request.cropBottom = request.cropTop + 5;
    }
    request.subImage = (last >> 1) & 1;
  }
  if (auto record = ReadDib(std::move(request))) Touch(record->pixels);
}

}  // namespace tavik::fuzz
