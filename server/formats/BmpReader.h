// BMP and DIB files into an image record.
#pragma once

#include "ImageRecord.h"
#include "SourceReader.h"

namespace tavik {

// Reads the BMP whose header is in the reader's buffer into a DIB of the record's crop:
// 1, 4, 8 and 24 bits as they are, 16 and 32 bits (masks or not) widened to 24 bits.
bool LoadBMP(SourceReader& reader, ImageRecord& record);

// The device-dependent-bitmap variant behind ReadBMP: the record gets subtype 26 and, as its
// pixels, a 40-byte header, the colour table and the file's rows exactly as they stand; the
// Win32 layer turns those into the bitmap.
bool LoadBMPBitmap(SourceReader& reader, ImageRecord& record);

}  // namespace tavik
