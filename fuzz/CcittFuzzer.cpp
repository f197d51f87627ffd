// libFuzzer target for the CCITT decoder on its own: the first four bytes choose the coding,
// 2-D rows, fill order and the row width; the rest is the coded data.
#include "CcittCodec.h"
#include "FuzzCommon.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const tavik::CcittCoding codings[] = {tavik::CcittCoding::kModifiedHuffman,
                                        tavik::CcittCoding::kGroup3, tavik::CcittCoding::kGroup4,
                                        tavik::CcittCoding::kGroup3};
  const tavik::CcittCoding coding = codings[data[0] & 3];
  const bool twoD = data[0] & 4;
  const bool reverse = data[0] & 8;
  const int32_t width = 1 + (data[1] | (data[2] & 0x1F) << 8);  // up to 8192
  const int rows = 1 + data[3];
  tavik::CcittDecoder decoder(coding, twoD, width, reverse);
  decoder.Start({data + 4, size - 4});
  std::vector<uint8_t> row((width + 7) / 8);
  for (int k = 0; k < rows; ++k) {
    if (decoder.DecodeRow(row) != tavik::CcittStatus::kRow) break;
    tavik::fuzz::Touch(row);
  }
  return 0;
}
