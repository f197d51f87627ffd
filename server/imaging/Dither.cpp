#include "Dither.h"

#include "ErrorReport.h"
#include "ImagingErrors.h"
#include "Palettes.h"
#include "PixelIndex.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace tavik {
namespace {

constexpr int kBayer[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},   {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38},  {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},   {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37},  {63, 31, 55, 23, 61, 29, 53, 21},
};

// Rows the diffusion was tuned with; the errors between them are split by sixteenths truncated
// toward zero, what truncation leaves over going one unit at a time to below-behind,
// below-ahead, below for a positive error and to ahead, below, below-ahead for a negative one.
struct SplitRow {
  int e;
  int8_t parts[4];  // ahead, below-ahead, below, below-behind
};
constexpr SplitRow kTunedSplits[] = {
    {1, {0, 0, 0, 1}},       {2, {0, 1, 0, 1}},      {3, {0, 1, 1, 1}},     {4, {1, 1, 1, 1}},
    {8, {3, 1, 2, 2}},       {16, {7, 1, 5, 3}},     {24, {10, 2, 7, 5}},   {31, {13, 2, 10, 6}},
    {-1, {-1, 0, 0, 0}},     {-4, {-2, 0, -2, 0}},   {-8, {-4, 0, -3, -1}}, {-16, {-7, -1, -5, -3}},
    {-31, {-14, -2, -10, -5}},
};

constexpr auto kSplit = [] {
  std::array<std::array<int8_t, 4>, 63> table{};
  for (int e = -31; e <= 31; ++e) {
    int part[4] = {7 * e / 16, e / 16, 5 * e / 16, 3 * e / 16};
    int rest = e - (part[0] + part[1] + part[2] + part[3]);
    const int positiveOrder[3] = {3, 1, 2};
    const int negativeOrder[3] = {0, 2, 1};
    for (int k = 0; rest != 0 && k < 3; ++k) {
      const int unit = rest > 0 ? 1 : -1;
      part[(rest > 0 ? positiveOrder : negativeOrder)[k]] += unit;
      rest -= unit;
    }
    for (int k = 0; k < 4; ++k) table[e + 31][k] = static_cast<int8_t>(part[k]);
  }
  for (const SplitRow& row : kTunedSplits) {
    for (int k = 0; k < 4; ++k) table[row.e + 31][k] = row.parts[k];
  }
  return table;
}();

inline uint8_t Clamp5(int v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 31 ? 31 : v); }

// Which source cells (columns or rows) feed output cell j: at least one, so enlarging repeats.
struct Span {
  int32_t first, end;
};
std::vector<Span> CellSpans(int32_t sourceCount, int32_t outputCount) {
  std::vector<Span> spans(static_cast<size_t>(outputCount));
  for (int32_t j = 0; j < outputCount; ++j) {
    const auto first = static_cast<int32_t>(int64_t{j} * sourceCount / outputCount);
    const auto end = static_cast<int32_t>(int64_t{j + 1} * sourceCount / outputCount);
    spans[j] = {first, std::max(end, first + 1)};
  }
  return spans;
}

// The 5-bit colours of `count` pixels of a row from column `x0`.
class RowReader {
public:
  explicit RowReader(std::span<const uint8_t> dib) : dib_(dib), bits_(DIBBitDepth(dib)) {
    if (bits_ <= 8) {
      const auto entries = DIBPaletteEntries(dib);
      for (size_t i = 0; i < entries.size() && i < 256; ++i) {
        table_[i] = {static_cast<uint8_t>(entries[i].r >> 3), static_cast<uint8_t>(entries[i].g >> 3),
                     static_cast<uint8_t>(entries[i].b >> 3)};
      }
    }
  }
  void Read(int32_t row, int32_t x0, int32_t count, Rgb5* out) const {
    const uint8_t* p = DIBRow(dib_, row);
    if (bits_ == 24) {
      for (int32_t i = 0; i < count; ++i) {
        const uint8_t* px = p + 3 * int64_t{x0 + i};
        out[i] = {static_cast<uint8_t>(px[2] >> 3), static_cast<uint8_t>(px[1] >> 3),
                  static_cast<uint8_t>(px[0] >> 3)};
      }
      return;
    }
    for (int32_t i = 0; i < count; ++i) out[i] = table_[GetPixelIndex(p, bits_, x0 + i)];
  }

private:
  std::span<const uint8_t> dib_;
  int bits_;
  std::array<Rgb5, 256> table_{};  // indices past the colour table read as black
};

class DisplayQuantizer {
public:
  DisplayQuantizer(int colours, DitherMethod method, int32_t width)
      : method_(method), colours_(colours), bits_(colours == 16 ? 4 : 8),
        map_(InverseColourMap(colours == 16 ? kMapVga16 : kMapDisplay256)) {
    for (const Rgb& c : DisplayPalette(colours)) {
      palette5_.push_back({static_cast<uint8_t>(c.r >> 3), static_cast<uint8_t>(c.g >> 3),
                           static_cast<uint8_t>(c.b >> 3)});
    }
    if (method_ == DitherMethod::kFloydSteinberg) {
      below_.assign(3 * (static_cast<size_t>(width) + 2), 0);
      next_.assign(below_.size(), 0);
    }
  }

  void Quantize(std::span<Rgb5> values, int32_t y, uint8_t* out) {
    if (method_ == DitherMethod::kBayer) return Bayer(values, y, out);
    FloydSteinberg(values, out);
  }

private:
  void Bayer(std::span<Rgb5> values, int32_t y, uint8_t* out) const {
    const int base = colours_ == 16 ? 8 : 248;
    for (size_t x = 0; x < values.size(); ++x) {
      const int t = kBayer[y & 7][x & 7];
      const Rgb5 v = values[x];
      // A full component is always on: 2 x 31 stays below the matrix's 62 and 63, which would
      // put black dots into white areas.
      auto on = [t](int c) { return c == 31 || 2 * c > t; };
      const int code = on(v.r) + 2 * on(v.g) + 4 * on(v.b);
      // Code 0 is black: the palette's black entry keeps black areas black.
      SetPixelIndex(out, bits_, static_cast<int32_t>(x), code == 0 ? 0 : base + code);
    }
  }

  void FloydSteinberg(std::span<Rgb5> values, uint8_t* out) {
    const auto width = static_cast<int32_t>(values.size());
    std::fill(next_.begin(), next_.end(), 0);
    const int dir = leftToRight_ ? 1 : -1;
    int carry[3] = {0, 0, 0};
    for (int32_t i = 0; i < width; ++i) {
      const int32_t x = leftToRight_ ? i : width - 1 - i;
      int* below = &below_[3 * static_cast<size_t>(x + 1)];
      const Rgb5 v = values[x];
      const int in[3] = {Clamp5(Clamp5(v.r + below[0]) + carry[0]),
                         Clamp5(Clamp5(v.g + below[1]) + carry[1]),
                         Clamp5(Clamp5(v.b + below[2]) + carry[2])};
      const int index = map_[Index15(in[0], in[1], in[2])];
      SetPixelIndex(out, bits_, x, index);
      const Rgb5 p = palette5_[index];
      const int got[3] = {p.r, p.g, p.b};
      for (int c = 0; c < 3; ++c) {
        const auto& s = kSplit[in[c] - got[c] + 31];
        carry[c] = s[0];
        next_[3 * static_cast<size_t>(x + 1 + dir) + c] += s[1];
        next_[3 * static_cast<size_t>(x + 1) + c] += s[2];
        next_[3 * static_cast<size_t>(x + 1 - dir) + c] += s[3];
      }
    }
    std::swap(below_, next_);
    leftToRight_ = !leftToRight_;
  }

  DitherMethod method_;
  int colours_;
  int bits_;
  std::span<const uint8_t> map_;
  std::vector<Rgb5> palette5_;
  std::vector<int> below_, next_;
  bool leftToRight_ = true;
};

std::optional<PackedDib> Allocate(int32_t width, int32_t height, int bits, int colours) {
  auto dib = AllocateDib(width, height, bits, colours);
  if (!dib) ReportError(imaging::kErrGlobalAlloc, kCreateSelDIB);
  return dib;
}

void WriteTable(PackedDib& dib, std::span<const Rgb> colours) {
  uint8_t* entry = dib.data() + kInfoHeaderSize;
  for (const Rgb& c : colours) {
    entry[0] = c.b;
    entry[1] = c.g;
    entry[2] = c.r;
    entry[3] = 0;
    entry += 4;
  }
}

std::optional<PackedDib> Dithered(std::span<const uint8_t> dib, SourceRect rect, int32_t height,
                                  int32_t width, int colours, DitherMethod method) {
  const int bits = colours == 16 ? 4 : 8;
  auto out = Allocate(width, height, bits, colours);
  if (!out) return std::nullopt;
  WriteTable(*out, DisplayPalette(colours));

  const int32_t sourceWidth = rect.right - rect.left + 1;
  const int32_t sourceHeight = rect.bottom - rect.top + 1;
  const int32_t bottomRow = DIBPixelHeight(dib) - 1 - rect.bottom;  // memory row of rect.bottom
  const auto columns = CellSpans(sourceWidth, width);
  const auto rows = CellSpans(sourceHeight, height);
  const RowReader reader(dib);
  std::vector<Rgb5> source(static_cast<size_t>(sourceWidth));
  std::vector<int32_t> sums(3 * static_cast<size_t>(width));
  std::vector<Rgb5> values(static_cast<size_t>(width));
  DisplayQuantizer quantizer(colours, method, width);

  for (int32_t j = 0; j < height; ++j) {
    std::fill(sums.begin(), sums.end(), 0);
    for (int32_t r = rows[j].first; r < rows[j].end; ++r) {
      reader.Read(bottomRow + r, rect.left, sourceWidth, source.data());
      for (int32_t x = 0; x < width; ++x) {
        int32_t* s = &sums[3 * static_cast<size_t>(x)];
        for (int32_t c = columns[x].first; c < columns[x].end; ++c) {
          s[0] += source[c].r;
          s[1] += source[c].g;
          s[2] += source[c].b;
        }
      }
    }
    const int32_t rowCount = rows[j].end - rows[j].first;
    for (int32_t x = 0; x < width; ++x) {
      const int32_t n = rowCount * (columns[x].end - columns[x].first);
      const int32_t* s = &sums[3 * static_cast<size_t>(x)];
      values[x] = {static_cast<uint8_t>(s[0] / n), static_cast<uint8_t>(s[1] / n),
                   static_cast<uint8_t>(s[2] / n)};
    }
    quantizer.Quantize(values, j, DIBRow(std::span<uint8_t>(*out), j));
  }
  return out;
}

std::optional<PackedDib> Smoothed(std::span<const uint8_t> dib, SourceRect rect, int32_t height,
                                  int32_t width) {
  auto out = Allocate(width, height, 4, 4);
  if (!out) return std::nullopt;
  // Four steps between the image's own two colours: 0, 85, 170, 255 for black and white, and
  // the same shading when a two-tone rewrite has swapped or recoloured the entries.
  auto entries = DIBPaletteEntries(dib);
  entries.resize(2);
  Rgb shades[4];
  for (int k = 0; k < 4; ++k) {
    auto mix = [&](uint8_t a, uint8_t b) { return static_cast<uint8_t>(a + (b - a) * k / 3); };
    shades[k] = {mix(entries[0].r, entries[1].r), mix(entries[0].g, entries[1].g),
                 mix(entries[0].b, entries[1].b)};
  }
  WriteTable(*out, shades);

  const int32_t bottomRow = DIBPixelHeight(dib) - 1 - rect.bottom;
  const auto columns = CellSpans(rect.right - rect.left + 1, width);
  const auto rows = CellSpans(rect.bottom - rect.top + 1, height);
  std::vector<int32_t> ones(static_cast<size_t>(width));
  for (int32_t j = 0; j < height; ++j) {
    std::fill(ones.begin(), ones.end(), 0);
    for (int32_t r = rows[j].first; r < rows[j].end; ++r) {
      const uint8_t* p = DIBRow(dib, bottomRow + r);
      for (int32_t x = 0; x < width; ++x) {
        for (int32_t c = columns[x].first; c < columns[x].end; ++c) {
          const int32_t sx = rect.left + c;
          ones[x] += GetPixelIndex(p, 1, sx);
        }
      }
    }
    uint8_t* o = DIBRow(std::span<uint8_t>(*out), j);
    const int32_t rowCount = rows[j].end - rows[j].first;
    for (int32_t x = 0; x < width; ++x) {
      const int32_t n = rowCount * (columns[x].end - columns[x].first);
      SetPixelIndex(o, 4, x, 3 * ones[x] / n);
    }
  }
  return out;
}

}  // namespace

std::array<int8_t, 4> ErrorSplit(int e) { return kSplit[std::clamp(e, -31, 31) + 31]; }

int BayerThreshold(int x, int y) { return kBayer[y & 7][x & 7]; }

std::optional<PackedDib> CreateSelDIB(uint32_t displayFlags, std::span<const uint8_t> dib,
                                      SourceRect rect, int32_t height, int32_t width,
                                      int displayColours, DitherMethod method) {
  if (!(displayFlags & (kFlagDither | kFlagAntialias))) return std::nullopt;
  if (!DIBIsValid(dib) || height < 1 || width < 1) return std::nullopt;
  // The rectangle comes from zoom and scroll arithmetic: keep it inside the image.
  rect.left = std::max(rect.left, 0);
  rect.top = std::max(rect.top, 0);
  rect.right = std::min(rect.right, DIBPixelWidth(dib) - 1);
  rect.bottom = std::min(rect.bottom, DIBPixelHeight(dib) - 1);
  if (rect.left > rect.right || rect.top > rect.bottom) return std::nullopt;
  try {
    if (displayFlags & kFlagAntialias) {
      if (DIBBitDepth(dib) != 1) return std::nullopt;
      return Smoothed(dib, rect, height, width);
    }
    return Dithered(dib, rect, height, width, displayColours == 16 ? 16 : 256, method);
  } catch (const std::bad_alloc&) {
    ReportError(imaging::kErrGlobalAlloc, kCreateSelDIB);
    return std::nullopt;
  }
}

SaveErrorDiffuser::SaveErrorDiffuser(std::span<const Rgb> palette,
                                     std::span<const uint8_t> inverseMap, int32_t width)
    : map_(inverseMap), width_(std::max(width, 0)) {
  for (const Rgb& c : palette) {
    palette5_.push_back({static_cast<uint8_t>(c.r >> 3), static_cast<uint8_t>(c.g >> 3),
                         static_cast<uint8_t>(c.b >> 3)});
  }
  below_.assign(3 * (static_cast<size_t>(width_) + 2), 0);
  next_.assign(below_.size(), 0);
}

void SaveErrorDiffuser::QuantizeRow(std::span<const Rgb5> row, std::span<uint8_t> indices) {
  const auto width = static_cast<int32_t>(
      std::min({row.size(), indices.size(), static_cast<size_t>(width_)}));
  if (map_.size() < kInverseMapSize || palette5_.empty()) return;
  std::fill(next_.begin(), next_.end(), 0);
  const int dir = leftToRight_ ? 1 : -1;
  int carry[3] = {0, 0, 0};
  for (int32_t i = 0; i < width; ++i) {
    const int32_t x = leftToRight_ ? i : width - 1 - i;
    const int* below = &below_[3 * static_cast<size_t>(x + 1)];
    const int in[3] = {Clamp5(row[x].r + below[0] + carry[0]), Clamp5(row[x].g + below[1] + carry[1]),
                       Clamp5(row[x].b + below[2] + carry[2])};
    // A map into a smaller palette than it claims must not index past it.
    const int index = std::min<int>(map_[Index15(in[0], in[1], in[2])],
                                    static_cast<int>(palette5_.size()) - 1);
    indices[x] = static_cast<uint8_t>(index);
    const Rgb5 p = palette5_[index];
    const int got[3] = {p.r, p.g, p.b};
    for (int c = 0; c < 3; ++c) {
      const int o = in[c] - got[c];
      const int half = o >> 1;
      const int ahead = (half * 7) >> 3;
      carry[c] = ahead;
      next_[3 * static_cast<size_t>(x + 1 + dir) + c] += half - ahead;
      next_[3 * static_cast<size_t>(x + 1) + c] += ((o - half) * 5) >> 3;
      next_[3 * static_cast<size_t>(x + 1 - dir) + c] += ((o - half) * 3) >> 3;
    }
  }
  std::swap(below_, next_);
  leftToRight_ = !leftToRight_;
}

}  // namespace tavik
