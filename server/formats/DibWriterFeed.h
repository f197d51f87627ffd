// Hands a DIB to a format writer as it stands: no scaling and no colour reduction, only
// palette indices widened (1 to 4 or 8 bits, 4 to 8) when the file type needs a deeper row.
// The tool and the tests use it until the save engine arrives.
#pragma once

#include "ImageWriter.h"

#include <cstdint>
#include <span>

namespace tavik {

// Writes `dib` (a valid packed DIB) at `outputBits` through the writer of family/subtype;
// returns 0 or the error code to report (112 when no writer or no such widening exists).
int WriteDibUnscaled(std::span<const uint8_t> dib, int family, int subtype, int outputBits,
                     OutputSink& sink);

}  // namespace tavik
