// Which format the first bytes of a source are, from magic numbers alone. Pure, so the host
// library's header probe can share it.
#pragma once

#include <cstdint>
#include <span>

namespace tavik {

// The format family of the bytes read so far (their count is head.size()), 0 when no test holds.
int DetectFormat(std::span<const uint8_t> head);

}  // namespace tavik
