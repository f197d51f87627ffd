// Which writer writes a family, and in which row order the engine hands it rows.
#include "BmpWriter.h"
#include "GifCodec.h"
#include "ImageRecord.h"
#include "ImageWriter.h"
#include "JpegCodec.h"
#include "TiffWriter.h"

namespace tavik {

bool WritesTopRowFirst(int family, int subtype) {
  switch (family) {
    case kFamilyBMP: return subtype == kSubBitmap;
    case kFamilyTGA:
    case kFamilyPIC: return false;
    default: return true;
  }
}

std::unique_ptr<ImageWriter> MakeImageWriter(int family, int subtype) {
  switch (family) {
    case kFamilyBMP: return MakeBmpWriter(subtype);
    case kFamilyGIF: return MakeGifWriter(subtype);
    case kFamilyTIFF: return MakeTiffWriter(subtype);
    case kFamilyJPG: return MakeJpegWriter();
    default: return nullptr;
  }
}

}  // namespace tavik
