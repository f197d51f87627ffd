// Display copies (error diffusion, ordered dither, smoothing) and the save-time diffusion.
#include <gtest/gtest.h>

#include "DibBuilder.h"
#include "Dither.h"
#include "Palettes.h"
#include "ReportCollector.h"

namespace tavik {
namespace {

using testing::IndexAt;
using testing::IndexedDib;
using testing::RgbDib;

std::vector<std::vector<Rgb>> Area(int w, int h, Rgb c) {
  return std::vector<std::vector<Rgb>>(h, std::vector<Rgb>(w, c));
}

SourceRect Whole(const PackedDib& dib) {
  return {0, 0, DIBPixelHeight(dib) - 1, DIBPixelWidth(dib) - 1};
}

TEST(ErrorSplit, TableRows) {
  const struct {
    int e;
    std::array<int8_t, 4> parts;
  } rows[] = {
      {1, {0, 0, 0, 1}},     {2, {0, 1, 0, 1}},      {3, {0, 1, 1, 1}},       {4, {1, 1, 1, 1}},
      {8, {3, 1, 2, 2}},     {16, {7, 1, 5, 3}},     {24, {10, 2, 7, 5}},     {31, {13, 2, 10, 6}},
      {-1, {-1, 0, 0, 0}},   {-4, {-2, 0, -2, 0}},   {-8, {-4, 0, -3, -1}},   {-16, {-7, -1, -5, -3}},
      {-31, {-14, -2, -10, -5}}, {0, {0, 0, 0, 0}},
  };
  for (const auto& r : rows) EXPECT_EQ(ErrorSplit(r.e), r.parts) << r.e;
  for (int e = -31; e <= 31; ++e) {
    const auto p = ErrorSplit(e);
    EXPECT_EQ(p[0] + p[1] + p[2] + p[3], e) << e;
  }
}

TEST(OrderedDither, AreasOnBothScreens) {
  const struct {
    const char* name;
    Rgb colour;
    int colours;
    std::vector<int> allowed;
  } cases[] = {
      // Black stays black: the palette's black entry, never the medium gray.
      {"black, 16", {0, 0, 0}, 16, {0}},
      {"black, 256", {0, 0, 0}, 256, {0}},
      {"white, 16", {255, 255, 255}, 16, {15}},
      {"white, 256", {255, 255, 255}, 256, {255}},
      {"red, 16", {255, 0, 0}, 16, {9}},
      {"blue, 256", {0, 0, 255}, 256, {252}},
      {"dark red, 16", {128, 0, 0}, 16, {9, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const PackedDib dib = RgbDib(Area(8, 8, c.colour));
    auto copy = CreateSelDIB(kFlagDither, dib, Whole(dib), 8, 8, c.colours, DitherMethod::kBayer);
    ASSERT_TRUE(copy);
    EXPECT_EQ(DIBBitDepth(*copy), c.colours == 16 ? 4 : 8);
    EXPECT_EQ(DIBColorCount(*copy), c.colours);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        EXPECT_NE(std::find(c.allowed.begin(), c.allowed.end(), IndexAt(*copy, x, y)), c.allowed.end());
  }
  // A half-gray area turns on about half of the cells.
  const PackedDib gray = RgbDib(Area(8, 8, {128, 128, 128}));
  auto copy = CreateSelDIB(kFlagDither, gray, Whole(gray), 8, 8, 16, DitherMethod::kBayer);
  int white = 0;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) white += IndexAt(*copy, x, y) == 15;
  EXPECT_EQ(white, 32);
}

TEST(ErrorDiffusion, ExactColoursCarryNoError) {
  const PackedDib dib = RgbDib({{{255, 0, 0}, {128, 128, 128}, {0, 0, 0}, {255, 255, 255}},
                                {{0, 0, 255}, {0, 255, 255}, {128, 128, 128}, {255, 0, 255}}});
  auto copy = CreateSelDIB(kFlagDither, dib, Whole(dib), 2, 4, 256, DitherMethod::kFloydSteinberg);
  ASSERT_TRUE(copy);
  const int expect[2][4] = {{249, 248, 0, 255}, {252, 254, 248, 253}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(IndexAt(*copy, x, y), expect[y][x]) << x << "," << y;
}

TEST(ErrorDiffusion, AverageColourSurvives) {
  // A colour between the 16-colour palette's grays comes out as a mix averaging close to it.
  const Rgb colour{100, 100, 100};
  const PackedDib dib = RgbDib(Area(32, 32, colour));
  auto copy = CreateSelDIB(kFlagDither, dib, Whole(dib), 32, 32, 16, DitherMethod::kFloydSteinberg);
  ASSERT_TRUE(copy);
  double sum = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) sum += Vga16Palette()[IndexAt(*copy, x, y)].r >> 3;
  EXPECT_NEAR(sum / 1024, 100 >> 3, 0.75);
}

TEST(DisplayCopy, ShrinksByAveragingAndEnlargesByRepeating) {
  // Two reds and two blacks average to (16, 0, 0) in 5-bit units: the 256-palette's (128,0,0).
  const PackedDib dib = RgbDib({{{255, 0, 0}, {0, 0, 0}}, {{0, 0, 0}, {255, 0, 0}}});
  auto halved = CreateSelDIB(kFlagDither, dib, Whole(dib), 1, 1, 256, DitherMethod::kFloydSteinberg);
  ASSERT_TRUE(halved);
  EXPECT_EQ(IndexAt(*halved, 0, 0), 1);

  auto doubled = CreateSelDIB(kFlagDither, dib, Whole(dib), 4, 4, 256, DitherMethod::kFloydSteinberg);
  ASSERT_TRUE(doubled);
  const int expect[4][4] = {{249, 249, 0, 0}, {249, 249, 0, 0}, {0, 0, 249, 249}, {0, 0, 249, 249}};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(IndexAt(*doubled, x, y), expect[y][x]) << x << "," << y;

  // A rectangle picks its part: the top-right pixel alone is black.
  auto part = CreateSelDIB(kFlagDither, dib, {0, 1, 0, 1}, 1, 1, 256, DitherMethod::kBayer);
  EXPECT_EQ(IndexAt(*part, 0, 0), 0);
}

TEST(DisplayCopy, SmoothingCountsSetPixels) {
  const std::vector<Rgb> bw = {{0, 0, 0}, {255, 255, 255}};
  const PackedDib dib = IndexedDib(1, {{1, 0, 1, 1, 0, 0, 1, 1},
                                       {0, 1, 1, 0, 0, 0, 1, 1}}, bw);
  auto copy = CreateSelDIB(kFlagAntialias, dib, Whole(dib), 1, 4, 256, DitherMethod::kFloydSteinberg);
  ASSERT_TRUE(copy);
  EXPECT_EQ(DIBBitDepth(*copy), 4);
  EXPECT_EQ(DIBColorCount(*copy), 4);
  const int expect[4] = {1, 2, 0, 3};  // 2, 3, 0 and 4 of 4 set
  for (int x = 0; x < 4; ++x) EXPECT_EQ(IndexAt(*copy, x, 0), expect[x]) << x;
  const auto shades = DIBPaletteEntries(*copy);
  EXPECT_EQ(shades[1], (Rgb{85, 85, 85}));
  EXPECT_EQ(shades[2], (Rgb{170, 170, 170}));

  // A two-tone table that put white first shades from white to black.
  const PackedDib swapped = IndexedDib(1, {{1, 1}, {1, 0}}, {{255, 255, 255}, {0, 0, 0}});
  auto dark = CreateSelDIB(kFlagAntialias, swapped, Whole(swapped), 1, 1, 256, DitherMethod::kFloydSteinberg);
  ASSERT_TRUE(dark);
  EXPECT_EQ(IndexAt(*dark, 0, 0), 2);
  EXPECT_EQ(DIBPaletteEntries(*dark)[2], (Rgb{85, 85, 85}));
}

TEST(DisplayCopy, NoCopyCases) {
  const PackedDib rgb = RgbDib(Area(2, 2, {1, 2, 3}));
  EXPECT_FALSE(CreateSelDIB(0, rgb, Whole(rgb), 2, 2, 256, DitherMethod::kBayer));
  EXPECT_FALSE(CreateSelDIB(kFlagAntialias, rgb, Whole(rgb), 1, 1, 256, DitherMethod::kBayer));
  EXPECT_FALSE(CreateSelDIB(kFlagDither, rgb, Whole(rgb), 0, 2, 256, DitherMethod::kBayer));
  EXPECT_FALSE(CreateSelDIB(kFlagDither, rgb, {5, 5, 9, 9}, 2, 2, 256, DitherMethod::kBayer));
  EXPECT_FALSE(CreateSelDIB(kFlagDither, PackedDib(10, 0), {0, 0, 0, 0}, 2, 2, 256, DitherMethod::kBayer));
  // A rectangle reaching past the image is cut to it.
  EXPECT_TRUE(CreateSelDIB(kFlagDither, rgb, {-3, -3, 40, 40}, 2, 2, 256, DitherMethod::kBayer));

  testing::ReportCollector reports;
  EXPECT_FALSE(CreateSelDIB(kFlagDither, rgb, Whole(rgb), 1 << 20, 1 << 20, 256, DitherMethod::kBayer));
  ASSERT_EQ(reports.reports.size(), 1u);
  EXPECT_EQ(reports.reports[0].code, 120);
  EXPECT_EQ(reports.reports[0].routine, kCreateSelDIB);
}

TEST(SaveErrorDiffuser, ExactAndMixedColours) {
  const auto palette = Gray256Palette();
  const auto grayMap = InverseColourMap(kMapGray256);
  SaveErrorDiffuser exact(palette, grayMap, 3);
  std::vector<uint8_t> out(3);
  const std::vector<Rgb5> black = {{0, 0, 0}, {0, 0, 0}, {31, 31, 31}};
  exact.QuantizeRow(black, out);
  EXPECT_EQ(out, (std::vector<uint8_t>{0, 0, 255}));

  // Black and white only: a mid gray alternates, so its average stays mid gray.
  const auto bw = BlackWhitePalette();
  SaveErrorDiffuser mixed(bw, InverseColourMap(kMapBlackWhite), 16);
  std::vector<Rgb5> row(16, Rgb5{16, 16, 16});
  int whites = 0;
  for (int y = 0; y < 16; ++y) {
    std::vector<uint8_t> indices(16);
    mixed.QuantizeRow(row, indices);
    for (uint8_t v : indices) whites += v;
  }
  EXPECT_NEAR(whites, 128, 24);
}

}  // namespace
}  // namespace tavik
