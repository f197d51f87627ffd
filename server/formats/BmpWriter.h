// BMP writers by subtype: 9 OS/2, 22 RLE (4 and 8 bits), 26 BitBlt, anything else Windows.
#pragma once

#include "ImageWriter.h"

#include <memory>

namespace tavik {

std::unique_ptr<ImageWriter> MakeBmpWriter(int subtype);

}  // namespace tavik
