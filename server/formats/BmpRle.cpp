#include "BmpRle.h"

#include <algorithm>

namespace tavik {
namespace {

constexpr size_t kMaxRun = 255;
constexpr size_t kMaxAbsolute8 = 254;  // one more byte is taken in at the limit

void Put(std::vector<uint8_t>& out, std::initializer_list<uint8_t> bytes) {
  out.insert(out.end(), bytes);
}

// Pixels from i on that repeat the pattern of the first two (a byte value whose nibbles
// alternate), counted up to `cap`.
size_t AlternatingRun(const std::vector<uint8_t>& p, size_t i, size_t cap) {
  size_t n = 1;
  while (i + n < p.size() && n < cap && p[i + n] == p[i + (n & 1)]) ++n;
  return n;
}

}  // namespace

void EncodeRle8Row(std::span<const uint8_t> row, std::vector<uint8_t>& out) {
  const size_t n = row.size();
  size_t i = 0;
  while (i < n) {
    size_t run = 1;
    while (i + run < n && run < kMaxRun && row[i + run] == row[i]) ++run;
    if (run >= 2) {
      Put(out, {static_cast<uint8_t>(run), row[i]});
      i += run;
      continue;
    }
    // Bytes that differ from their successor; at the row end or the limit the last one joins.
    size_t m = 0;
    while (i + m + 1 < n && m < kMaxAbsolute8 && row[i + m] != row[i + m + 1]) ++m;
    if (i + m + 1 == n || m == kMaxAbsolute8) ++m;
    if (m > 2) {
      Put(out, {0, static_cast<uint8_t>(m)});
      out.insert(out.end(), row.begin() + static_cast<ptrdiff_t>(i),
                 row.begin() + static_cast<ptrdiff_t>(i + m));
      if (m & 1) out.push_back(0);
    } else {
      for (size_t k = 0; k < m; ++k) Put(out, {1, row[i + k]});
    }
    i += m;
  }
}

void EncodeRle4Row(std::span<const uint8_t> row, int32_t width, std::vector<uint8_t>& out) {
  std::vector<uint8_t> p(static_cast<size_t>(std::max(width, 0)));
  for (size_t k = 0; k < p.size() && k / 2 < row.size(); ++k) {
    p[k] = (k & 1) ? row[k / 2] & 0x0F : row[k / 2] >> 4;
  }
  auto pair = [&](size_t i) {
    uint8_t low = i + 1 < p.size() ? p[i + 1] : 0;
    return static_cast<uint8_t>(p[i] << 4 | low);
  };
  const size_t n = p.size();
  size_t i = 0;
  while (i < n) {
    size_t run = AlternatingRun(p, i, kMaxRun);
    if (run >= 4) {  // at least one repeated byte
      Put(out, {static_cast<uint8_t>(run), pair(i)});
      i += run;
      continue;
    }
    size_t m = 0;
    while (i + m < n && m < kMaxRun && AlternatingRun(p, i + m, 4) < 4) ++m;
    if (m >= 3) {
      Put(out, {0, static_cast<uint8_t>(m)});
      size_t bytes = (m + 1) / 2;
      for (size_t k = 0; k < bytes; ++k) {
        uint8_t low = 2 * k + 1 < m ? p[i + 2 * k + 1] : 0;
        out.push_back(static_cast<uint8_t>(p[i + 2 * k] << 4 | low));
      }
      if (bytes & 1) out.push_back(0);
      i += m;
    } else {
      m = std::max<size_t>(m, 1);
      for (size_t k = 0; k < m; k += 2) {
        size_t count = std::min<size_t>(2, m - k);
        Put(out, {static_cast<uint8_t>(count), pair(i + k)});
      }
      i += m;
    }
  }
}

}  // namespace tavik
