// Resizing by percentages: pixel replication when enlarging, omission when shrinking.
#pragma once

#include "Dib.h"

#include <cstdint>
#include <optional>
#include <span>

namespace tavik {

struct ImageRecord;

// A width x height copy of a valid DIB: output pixel j takes source pixel j * W / width, and
// likewise for rows in storage order. Nothing when the size is refused or memory runs out.
std::optional<PackedDib> ScaleDib(std::span<const uint8_t> dib, int32_t width, int32_t height);

// Scales the record's DIB to yPercent x xPercent of its size (100 and 100 leave it alone) and
// updates crop, placement and sizes. A percentage that would leave no pixel gives one; a
// negative one changes nothing. On failure the error is reported under `CreateSelDIB` and the
// record keeps its DIB. Returns true when the record is usable (scaled or left as it was).
bool ScaleRecordByPercent(ImageRecord& record, int32_t yPercent, int32_t xPercent);

}  // namespace tavik
