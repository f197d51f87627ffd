// JPEG (JFIF) through libjpeg's release 6 interface: the source manager reads through our
// reader, the destination manager writes to the output sink, and the library's fatal errors
// jump back here instead of ending the process.
#pragma once

#include "ImageRecord.h"
#include "ImageWriter.h"
#include "SourceReader.h"

#include <memory>

namespace tavik {

bool LoadJPG(SourceReader& reader, ImageRecord& record);

std::unique_ptr<ImageWriter> MakeJpegWriter();

// The code a library error gives: the reporter's undefined error.
inline constexpr int kJpegLibraryError = 1;

}  // namespace tavik
