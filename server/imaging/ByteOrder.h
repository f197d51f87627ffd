// Little-endian fields of BMP files and DIB headers, read from and written to byte spans. The
// callers check the span is long enough; these never read past offset + width.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tavik {

inline uint16_t GetU16LE(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t GetU32LE(const uint8_t* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}
inline int32_t GetI32LE(const uint8_t* p) { return static_cast<int32_t>(GetU32LE(p)); }

inline void PutU16LE(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void PutU32LE(uint8_t* p, uint32_t v) {
  PutU16LE(p, v);
  PutU16LE(p + 2, v >> 16);
}

}  // namespace tavik
