// libFuzzer target over ReadDib with "DATA" sources: any bytes, through detection, into every
// loader the table has. Each decoded byte is read, so the sanitizers see every pixel.
#include "ErrorReport.h"
#include "ImageLimits.h"
#include "ReadDib.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

volatile size_t gSink;

// Reports are expected for bad input; they only need to be well-formed.
class QuietReporter final : public tavik::ErrorReporter {
public:
  int Report(int code, int routine, const char* detail) override {
    gSink = static_cast<size_t>(code + routine) + (detail ? std::strlen(detail) : 0);
    return 0;
  }
};

void Touch(const tavik::ImageRecord* record) {
  if (!record) return;
  uint8_t sum = 0;
  for (uint8_t b : record->pixels) sum ^= b;
  gSink = sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static QuietReporter reporter;
  tavik::SetErrorReporter(&reporter);
  // 4 Mi pixels still reach every decoding path; the full limit only makes each run slower.
  tavik::SetMaxImagePixels(int64_t{1} << 22);
  std::span<const uint8_t> bytes(data, size);
  // The first byte picks a crop and display flags, so crops and flips get fuzzed too.
  tavik::ReadRequest request;
  request.kind = "DATA";
  request.data = bytes;
  request.size = static_cast<int64_t>(size);
  if (size > 0 && (data[0] & 1)) {
    request.cropTop = data[0] >> 5;
    request.cropLeft = (data[0] >> 2) & 7;
    request.cropBottom = request.cropTop + 3;
    request.displayFlags = tavik::kFlagFlipVertical;
  }
  Touch(tavik::ReadDib(std::move(request)).get());
  Touch(tavik::ReadBMP("HANDLE", bytes, 0, static_cast<int64_t>(size), "fuzz", 0, 0).get());
  return 0;
}
