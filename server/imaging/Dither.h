// Display copies (error-diffused or ordered-dithered to the screen's fixed palette, or smoothed
// into four grays) and the save-time error diffusion. All colour work is in 5-bit units.
#pragma once

#include "Dib.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tavik {

enum class DitherMethod { kFloydSteinberg, kBayer };

// Flags that ask for a display copy.
inline constexpr uint32_t kFlagDither = 0x4000;
inline constexpr uint32_t kFlagAntialias = 0x8000;
inline constexpr uint32_t kFlagAutomatic = 0x10000;

// The part of the image a copy is made from: rows top-down and columns, inclusive.
struct SourceRect {
  int32_t top = 0, left = 0, bottom = 0, right = 0;
};

// A copy of `rect` of `dib` at width x height for painting: 0x8000 smooths a 1-bit DIB (other
// depths get no copy), otherwise 0x4000 dithers to the display palette of `displayColours`
// (16 or 256) by `method`; neither flag gives no copy. Errors are reported under
// `CreateSelDIB`.
std::optional<PackedDib> CreateSelDIB(uint32_t displayFlags, std::span<const uint8_t> dib,
                                      SourceRect rect, int32_t height, int32_t width,
                                      int displayColours, DitherMethod method);

// The error split of the display diffusion for e in -31..31: ahead, below-ahead, below,
// below-behind, summing to e.
std::array<int8_t, 4> ErrorSplit(int e);

// The ordered-dither matrix, values 0..63.
int BayerThreshold(int x, int y);

struct Rgb5 {
  uint8_t r = 0, g = 0, b = 0;
};

// Save-time error diffusion onto a target palette through its inverse colour map: one object
// per image, rows fed top to bottom, scanned in alternating directions.
class SaveErrorDiffuser {
public:
  // `palette` holds the target colours, `inverseMap` the 32768-byte map into it.
  SaveErrorDiffuser(std::span<const Rgb> palette, std::span<const uint8_t> inverseMap,
                    int32_t width);
  // `row` holds width 5-bit colours; writes width palette indices.
  void QuantizeRow(std::span<const Rgb5> row, std::span<uint8_t> indices);

private:
  std::vector<Rgb5> palette5_;
  std::span<const uint8_t> map_;
  int32_t width_;
  bool leftToRight_ = true;
  std::vector<int> below_, next_;  // three components per pixel, with a guard at either end
};

}  // namespace tavik
