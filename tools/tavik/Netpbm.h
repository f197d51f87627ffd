// Any image we read, as a netpbm file other tools can take: PBM, PGM, PPM or PAM.
#pragma once

#include "ImageWriter.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace tavik {

enum class NetpbmKind { kNone, kPbm, kPgm, kPpm, kPam };

// By the output name's extension, case-insensitive.
NetpbmKind NetpbmKindOf(std::string_view path);

// Writes a valid DIB top row first; false when a write fails.
bool WriteNetpbm(std::span<const uint8_t> dib, NetpbmKind kind, OutputSink& sink);

}  // namespace tavik
