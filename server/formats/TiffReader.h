// Baseline TIFF in either byte order: one IFD per load, chosen by the record's sub-image
// number; strips uncompressed, PackBits, LZW (with predictor 2) or CCITT fax coded; bilevel,
// gray (16-bit through GRAYSHIFT), palette, RGB and CMYK.
#pragma once

#include "ImageRecord.h"
#include "SourceReader.h"

namespace tavik {

bool LoadTIF(SourceReader& reader, ImageRecord& record);

}  // namespace tavik
