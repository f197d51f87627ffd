#include "DibWriterFeed.h"

#include "Dib.h"
#include "ErrorReport.h"
#include "ImageLimits.h"
#include "ImagingErrors.h"

#include <algorithm>
#include <new>
#include <vector>

namespace tavik {
namespace {

int PixelAt(const uint8_t* row, int32_t x, int bits) {
  if (bits == 8) return row[x];
  const int perByte = 8 / bits;
  return (row[x / perByte] >> ((perByte - 1 - x % perByte) * bits)) & ((1 << bits) - 1);
}

// One DIB row at the output depth, 24-bit pixels turned to red-green-blue.
void OutputRow(const uint8_t* in, int32_t width, int inBits, int outBits, uint8_t* out,
               size_t outBytes) {
  std::fill(out, out + outBytes, 0);
  if (inBits == 24) {
    for (int32_t x = 0; x < width; ++x) {
      out[3 * x] = in[3 * x + 2];
      out[3 * x + 1] = in[3 * x + 1];
      out[3 * x + 2] = in[3 * x];
    }
    return;
  }
  const int perByte = 8 / outBits;
  for (int32_t x = 0; x < width; ++x) {
    int v = PixelAt(in, x, inBits);
    out[x / perByte] |= static_cast<uint8_t>(v << ((perByte - 1 - x % perByte) * outBits));
  }
}

}  // namespace

int WriteDibUnscaled(std::span<const uint8_t> dib, int family, int subtype, int outputBits,
                     OutputSink& sink) {
  if (!DIBIsValid(dib)) return kErrWrongFormat;
  const int bits = DIBBitDepth(dib);
  const bool widening = bits <= 8 && outputBits <= 8 && outputBits >= bits;
  if (outputBits != bits && !widening) return imaging::kErrSaveFormat;
  auto writer = MakeImageWriter(family, subtype);
  if (!writer) return imaging::kErrSaveFormat;
  const int32_t width = DIBPixelWidth(dib), height = DIBPixelHeight(dib);
  SaveJob job{width, height, outputBits, family, subtype, {}};

  std::vector<uint8_t> palette, row;
  const int64_t colors = DIBColorCount(dib);
  const bool core = DIBHeaderSize(dib) == kCoreHeaderSize;
  try {
    row.resize(static_cast<size_t>(*DibStride(width, outputBits)));
    for (int64_t i = 0; i < colors; ++i) {
      const uint8_t* entry = dib.data() + DIBHeaderSize(dib) + i * (core ? 3 : 4);
      palette.insert(palette.end(), {entry[2], entry[1], entry[0]});
    }
  } catch (const std::bad_alloc&) {
    return imaging::kErrLocalAlloc;
  }
  int error = writer->Begin(sink, job, palette, static_cast<int>(colors));
  const bool topFirst = WritesTopRowFirst(family, subtype);
  for (int32_t k = 0; error == 0 && k < height; ++k) {
    int32_t dibRow = topFirst ? height - 1 - k : k;
    OutputRow(DIBRow(dib, dibRow), width, bits, outputBits, row.data(), row.size());
    error = writer->Row(sink, job, row);
  }
  if (error == 0) error = writer->End(sink, job);
  writer->Release();
  return error;
}

}  // namespace tavik
