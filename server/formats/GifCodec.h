// GIF87a and GIF89a: the first image of a file, plain or interlaced, and single-image files of
// 1, 4 or 8 bits. The LZW coder in its GIF mode does the coding.
#pragma once

#include "ImageRecord.h"
#include "ImageWriter.h"
#include "SourceReader.h"

#include <memory>

namespace tavik {

bool LoadGIF(SourceReader& reader, ImageRecord& record);

// Subtype 20 writes "GIF89a", every other subtype "GIF87a".
std::unique_ptr<ImageWriter> MakeGifWriter(int subtype);

}  // namespace tavik
