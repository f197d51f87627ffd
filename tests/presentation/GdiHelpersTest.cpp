// GDI helpers over DIBs, drawn into memory bitmaps in-process and read back.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <vector>

#include "DibBuilder.h"
#include "DibDraw.h"
#include "DibGdi.h"
#include "GdiObjects.h"

namespace tavik {
namespace {

using testing::IndexedDib;
using testing::RgbDib;

Rgb Pattern(int32_t x, int32_t y) {
  return {static_cast<uint8_t>(10 * x), static_cast<uint8_t>(20 * y), static_cast<uint8_t>(7 * x + y)};
}

// A white 32-bit memory surface to draw on.
class Surface {
public:
  Surface(int width, int height) : width_(width), height_(height) {
    dc_ = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    std::fill(bits_, bits_ + size_t(width) * height, 0x00FFFFFFu);
  }
  ~Surface() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC Dc() const { return dc_; }
  Rgb At(int x, int y) const {
    GdiFlush();
    const uint32_t p = bits_[size_t(y) * width_ + x];
    return {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p)};
  }

private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  uint32_t* bits_ = nullptr;
};

std::vector<PALETTEENTRY> Entries(HPALETTE palette) {
  std::vector<PALETTEENTRY> entries(GetPaletteEntries(palette, 0, 0, nullptr));
  GetPaletteEntries(palette, 0, static_cast<UINT>(entries.size()), entries.data());
  return entries;
}

TEST(GdiHelpers, PalettesFromTablesAndFixedOnes) {
  const PackedDib dib = IndexedDib(8, {{0, 1, 2, 3}}, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {250, 251, 252}});
  GdiObject<HPALETTE> palette(CreateDIBPalette(dib));
  ASSERT_TRUE(palette);
  const auto entries = Entries(palette.Get());
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[3].peRed, 250);
  EXPECT_EQ(entries[3].peBlue, 252);
  EXPECT_EQ(CreateDIBPalette(RgbDib({{{1, 2, 3}}})), nullptr);

  GdiObject<HPALETTE> vga(MakeVGAPal(16));
  const auto sixteen = Entries(vga.Get());
  ASSERT_EQ(sixteen.size(), 16u);
  EXPECT_EQ(sixteen[9].peRed, 255);
  EXPECT_EQ(sixteen[9].peGreen, 0);
  GdiObject<HPALETTE> full(MakeVGAPal(256));
  const auto all = Entries(full.Get());
  ASSERT_EQ(all.size(), 256u);
  EXPECT_EQ(all[248].peRed, 128);

  auto first = std::make_unique<ImageRecord>();
  first->pixels = dib;
  auto second = std::make_unique<ImageRecord>();
  second->pixels = dib;
  first->next = std::move(second);
  GdiObject<HPALETTE> interleaved(MakeInterleavePalette(first.get()));
  const auto both = Entries(interleaved.Get());
  ASSERT_EQ(both.size(), 8u);
  EXPECT_EQ(both[6].peRed, 250);
  EXPECT_EQ(both[7].peRed, 250);
}

TEST(GdiHelpers, BitmapRoundTrip) {
  const PackedDib dib = RgbDib(9, 5, Pattern);
  GdiObject<HBITMAP> bitmap(DIBToBitmap(dib, nullptr));
  ASSERT_TRUE(bitmap);
  const PackedDib back = DDBToDIB(bitmap.Get(), nullptr);
  ASSERT_TRUE(DIBIsValid(back));
  ASSERT_EQ(DIBPixelWidth(back), 9);
  ASSERT_EQ(DIBPixelHeight(back), 5);
  if (DIBBitDepth(back) != 24) GTEST_SKIP() << "the screen holds fewer colours";
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 9; ++x) EXPECT_EQ(testing::At(back, x, y), Pattern(x, y)) << x << "," << y;
}

// Drawing part of a DIB unscaled: the rows keep their stride whatever the first column is.
TEST(DrawDibInBands, PartsOfRowsAtEveryDepth) {
  const PackedDib rgb = RgbDib(20, 8, Pattern);
  const std::vector<Rgb> table = {{0, 0, 0}, {255, 255, 255}};
  const PackedDib bits1 = IndexedDib(1, 20, 8, table, [](int32_t x, int32_t y) { return (x * 3 + y) % 2; });
  for (const PackedDib* dib : {&rgb, &bits1}) {
    SCOPED_TRACE(DIBBitDepth(*dib));
    Surface s(40, 20);
    // Columns 5..14 of image rows 2..5 (rows 2..5 from the bottom are memory rows 2..5).
    DrawDibInBands(s.Dc(), 3, 4, 10, 4, 5, 2, 4, DibBits(*dib), DibInfo(*dib), DIB_RGB_COLORS);
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 10; ++x) {
        const int imageRow = 8 - 1 - (2 + (3 - y));  // the band's top row is memory row 5
        EXPECT_EQ(s.At(3 + x, 4 + y), testing::At(*dib, 5 + x, imageRow)) << x << "," << y;
      }
    }
    EXPECT_EQ(s.At(2, 4), (Rgb{255, 255, 255}));
    EXPECT_EQ(s.At(13, 4), (Rgb{255, 255, 255}));
  }
}

TEST(DIBStretch, EnlargesAndRefusesNothingToDraw) {
  const Rgb quadrant[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
  const PackedDib dib = RgbDib(2, 2, [&](int32_t x, int32_t y) { return quadrant[2 * y + x]; });
  Surface s(16, 16);
  EXPECT_EQ(DIBStretch(s.Dc(), {0, 0, 8, 8}, {0, 0, 2, 2}, DibBits(dib), DibInfo(dib), DIB_RGB_COLORS, SRCCOPY, nullptr), 2);
  EXPECT_EQ(s.At(0, 0), quadrant[0]);
  EXPECT_EQ(s.At(7, 0), quadrant[1]);
  EXPECT_EQ(s.At(0, 7), quadrant[2]);
  EXPECT_EQ(s.At(7, 7), quadrant[3]);
  EXPECT_EQ(s.At(8, 8), (Rgb{255, 255, 255}));
  EXPECT_EQ(DIBStretch(s.Dc(), {0, 0, 0, 8}, {0, 0, 2, 2}, DibBits(dib), DibInfo(dib), DIB_RGB_COLORS, SRCCOPY, nullptr), 0);
}

TEST(DIBStretchBrush, BlocksAddUpToTheDestination) {
  const Rgb quadrant[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
  const PackedDib dib = RgbDib(2, 2, [&](int32_t x, int32_t y) { return quadrant[2 * y + x]; });
  Surface s(16, 16);
  // 7 x 5: the runs are 3 and 4 across, 2 and 3 down.
  EXPECT_EQ(DIBStretchBrush(s.Dc(), {1, 1, 7, 5}, {0, 0, 2, 2}, DibBits(dib), DibInfo(dib), DIB_RGB_COLORS, SRCCOPY, nullptr), 2);
  EXPECT_EQ(s.At(1, 1), quadrant[0]);
  EXPECT_EQ(s.At(3, 2), quadrant[0]);
  EXPECT_EQ(s.At(4, 1), quadrant[1]);
  EXPECT_EQ(s.At(7, 2), quadrant[1]);
  EXPECT_EQ(s.At(1, 3), quadrant[2]);
  EXPECT_EQ(s.At(7, 5), quadrant[3]);
  EXPECT_EQ(s.At(8, 5), (Rgb{255, 255, 255}));
  EXPECT_EQ(s.At(7, 6), (Rgb{255, 255, 255}));

  // Palette images take the palette's colours; shrinking is not its work.
  const PackedDib indexed = IndexedDib(8, {{1, 0}}, {{0, 0, 0}, {10, 20, 30}});
  GdiObject<HPALETTE> palette(CreateDIBPalette(indexed));
  EXPECT_EQ(DIBStretchBrush(s.Dc(), {0, 10, 4, 2}, {0, 0, 2, 1}, DibBits(indexed), DibInfo(indexed), DIB_RGB_COLORS, SRCCOPY, palette.Get()), 1);
  EXPECT_EQ(s.At(0, 10), (Rgb{10, 20, 30}));
  EXPECT_EQ(DIBStretchBrush(s.Dc(), {0, 0, 1, 1}, {0, 0, 2, 2}, DibBits(dib), DibInfo(dib), DIB_RGB_COLORS, SRCCOPY, nullptr), 0);
}

}  // namespace
}  // namespace tavik
