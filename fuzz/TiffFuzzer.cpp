// libFuzzer target for LoadTIF: TIFF seeds of every compression through ReadDib.
#include "FuzzCommon.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tavik::fuzz::LoadThroughReadDib(data, size);
  return 0;
}
