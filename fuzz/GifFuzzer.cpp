// libFuzzer target for LoadGIF and the LZW decoder in its GIF mode, through ReadDib.
#include "FuzzCommon.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tavik::fuzz::LoadThroughReadDib(data, size);
  return 0;
}
