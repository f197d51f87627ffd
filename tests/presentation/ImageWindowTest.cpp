// Images shown over real DDE in the real server's top-level windows, checked by their pixels.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "DdeTestClient.h"
#include "Dib.h"
#include "DibBuilder.h"
#include "ServerProcess.h"

namespace tavik::test {
namespace {

std::string Number(HWND window) {
  return std::to_string(static_cast<int>(reinterpret_cast<LONG_PTR>(window)));
}

// A BMP file of a DIB built in code.
std::string WriteBmp(const std::string& name, const PackedDib& dib) {
  const std::string path = ProgramFolder() + name;
  const uint32_t offset = 14 + static_cast<uint32_t>(DIBPixelBits(dib));
  const uint32_t size = 14 + static_cast<uint32_t>(dib.size());
  uint8_t header[14] = {'B', 'M'};
  std::memcpy(header + 2, &size, 4);
  std::memcpy(header + 10, &offset, 4);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(header), sizeof header);
  out.write(reinterpret_cast<const char*>(dib.data()), static_cast<std::streamsize>(dib.size()));
  return path;
}

using testing::IndexedDib;
using testing::RgbDib;

Rgb Pattern(int x, int y) {
  return {static_cast<uint8_t>(x * 3), static_cast<uint8_t>(y * 5), static_cast<uint8_t>(255 - x - y)};
}

// The client area as the screen shows it.
struct Capture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, rows top-down
  Rgb At(int x, int y) const {
    const uint32_t p = pixels[static_cast<size_t>(y) * width + x];
    return {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p)};
  }
};

Capture CaptureClient(HWND window) {
  Capture c;
  RECT client{};
  GetClientRect(window, &client);
  c.width = client.right;
  c.height = client.bottom;
  if (c.width <= 0 || c.height <= 0) return c;
  HDC dc = GetDC(window);
  HDC memory = CreateCompatibleDC(dc);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = c.width;
  info.bmiHeader.biHeight = -c.height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, section);
  BitBlt(memory, 0, 0, c.width, c.height, dc, 0, 0, SRCCOPY);
  GdiFlush();
  c.pixels.assign(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + size_t(c.width) * c.height);
  SelectObject(memory, old);
  DeleteObject(section);
  DeleteDC(memory);
  ReleaseDC(window, dc);
  return c;
}

int ScreenBits() {
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  return bits;
}

class ImageWindows : public ::testing::Test {
protected:
  static void SetUpTestSuite() { server_ = std::make_unique<ServerProcess>(); }
  static void TearDownTestSuite() { server_.reset(); }

  void SetUp() override {
    ASSERT_TRUE(server_ && server_->Started());
    ASSERT_TRUE(client_.Connect("IMAGE"));
  }
  void TearDown() override {
    for (HWND w : windows_) Command("25 " + Number(w));
    client_.Disconnect();
  }

  // A top-level image window at 40,40 of width x height; it becomes the current window.
  HWND CreateE(int width = 400, int height = 300, int left = 40) {
    char item[128];
    std::snprintf(item, sizeof item, "27 [image test] 40 %d %d %d", left, 40 + height, left + width);
    const auto answer = client_.Request(item, false);
    if (!answer) return nullptr;
    HWND window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(std::stoi(*answer)));
    windows_.push_back(window);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    return window;
  }
  bool Command(const std::string& text) { return client_.Poke("CMD", text); }
  bool Show(const std::string& path, uint32_t flags, const std::string& placement = "0 0 -1 -1") {
    return Command("35 [" + path + "] " + std::to_string(flags) + " " + placement + " -1 -1 -1 -1");
  }
  // The client area once the server has painted it.
  Capture Settled(HWND window) {
    PumpFor(150);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW);
    PumpFor(150);
    return CaptureClient(window);
  }

  static std::unique_ptr<ServerProcess> server_;
  DdeTestClient client_;
  std::vector<HWND> windows_;
};

std::unique_ptr<ServerProcess> ImageWindows::server_;

TEST_F(ImageWindows, TrueColourImageAtOneToOneMatchesItsPixels) {
  if (ScreenBits() < 24) GTEST_SKIP() << "the display cannot hold 24-bit colours";
  const std::string path = WriteBmp("one-to-one.bmp", RgbDib(64, 48, Pattern));
  HWND window = CreateE();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(Show(path, 0));
  const Capture c = Settled(window);
  ASSERT_GE(c.width, 64);
  int wrong = 0;
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) wrong += !(c.At(x, y) == Pattern(x, y));
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(c.At(64, 10), (Rgb{255, 255, 255}));  // the class brush around it
  EXPECT_EQ(c.At(10, 48), (Rgb{255, 255, 255}));

  // Placed at 20, 30 (row, column) it moves there.
  ASSERT_TRUE(Show(path, 0, "20 30 -1 -1"));
  const Capture moved = Settled(window);
  EXPECT_EQ(moved.At(30, 20), Pattern(0, 0));
  EXPECT_EQ(moved.At(30 + 63, 20 + 47), Pattern(63, 47));
  EXPECT_EQ(moved.At(29, 20), (Rgb{255, 255, 255}));
}

TEST_F(ImageWindows, StretchFillsTheClientArea) {
  if (ScreenBits() < 24) GTEST_SKIP();
  const Rgb quadrant[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
  const std::string path =
      WriteBmp("quadrants.bmp", RgbDib(2, 2, [&](int x, int y) { return quadrant[2 * y + x]; }));
  HWND window = CreateE();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(Show(path, 0x40 | 0x80));
  const Capture c = Settled(window);
  const int w = c.width, h = c.height;
  EXPECT_EQ(c.At(0, 0), quadrant[0]);
  EXPECT_EQ(c.At(w - 1, 0), quadrant[1]);
  EXPECT_EQ(c.At(0, h - 1), quadrant[2]);
  EXPECT_EQ(c.At(w - 1, h - 1), quadrant[3]);
  EXPECT_EQ(c.At(w / 4, h / 4), quadrant[0]);
  EXPECT_EQ(c.At(3 * w / 4, 3 * h / 4), quadrant[3]);

  // 76 gives every image new flags: back to 1:1, the rest of the window is background.
  ASSERT_TRUE(Command("76 " + Number(window) + " 0"));
  const Capture flat = Settled(window);
  EXPECT_EQ(flat.At(1, 1), quadrant[3]);
  EXPECT_EQ(flat.At(w - 1, h - 1), (Rgb{255, 255, 255}));
}

TEST_F(ImageWindows, IsometricKeepsTheAspectRatio) {
  if (ScreenBits() < 24) GTEST_SKIP();
  // 40 x 10 stretched into the client area: four times as wide as high whatever the window.
  const std::string path = WriteBmp("wide.bmp", RgbDib(40, 10, [](int32_t, int32_t) { return Rgb{200, 0, 0}; }));
  HWND window = CreateE(400, 300);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(Show(path, 0x40 | 0x80 | 0x1000));
  const Capture c = Settled(window);
  const int expectHeight = c.width / 4;
  EXPECT_EQ(c.At(c.width - 1, 0), (Rgb{200, 0, 0}));
  EXPECT_EQ(c.At(0, expectHeight - 2), (Rgb{200, 0, 0}));
  EXPECT_EQ(c.At(0, expectHeight + 2), (Rgb{255, 255, 255}));
}

TEST_F(ImageWindows, MultiplesPaintInChainOrder) {
  if (ScreenBits() < 24) GTEST_SKIP();
  const std::string red = WriteBmp("red.bmp", RgbDib(30, 30, [](int32_t, int32_t) { return Rgb{255, 0, 0}; }));
  const std::string blue = WriteBmp("blue.bmp", RgbDib(30, 30, [](int32_t, int32_t) { return Rgb{0, 0, 255}; }));
  HWND window = CreateE();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(Show(red, 0));
  ASSERT_TRUE(Show(blue, 0x2000, "20 20 -1 -1"));  // overlaps the first
  const Capture both = Settled(window);
  EXPECT_EQ(both.At(5, 5), (Rgb{255, 0, 0}));
  EXPECT_EQ(both.At(25, 25), (Rgb{0, 0, 255}));  // the later image is painted over the first
  EXPECT_EQ(both.At(45, 45), (Rgb{0, 0, 255}));
  // A show without MULTIPLES replaces both.
  ASSERT_TRUE(Show(red, 0, "60 60 -1 -1"));
  const Capture replaced = Settled(window);
  EXPECT_EQ(replaced.At(5, 5), (Rgb{255, 255, 255}));
  EXPECT_EQ(replaced.At(65, 65), (Rgb{255, 0, 0}));
}

TEST_F(ImageWindows, ScrollBarsReachTheImageEdge) {
  if (ScreenBits() < 24) GTEST_SKIP();
  auto colour = [](int x, int y) {
    return Rgb{static_cast<uint8_t>(x & 0xFF), static_cast<uint8_t>(y & 0xFF),
               static_cast<uint8_t>((x >> 8) * 64 + (y >> 8) * 16 + 1)};
  };
  const std::string path = WriteBmp("scroll.bmp", RgbDib(600, 500, colour));
  HWND window = CreateE(400, 300);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(Show(path, 0x400 | 0x800));
  PumpFor(200);
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_HSCROLL);
  EXPECT_TRUE(style & WS_VSCROLL);

  // Thumb to far beyond the end: the position stops where the last column and row show.
  SendMessageA(window, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 30000), 0);
  SendMessageA(window, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 30000), 0);
  const Capture c = Settled(window);
  EXPECT_EQ(c.At(c.width - 1, c.height - 1), colour(599, 499));
  EXPECT_EQ(c.At(0, 0), colour(600 - c.width, 500 - c.height));

  // A line up moves by a quarter of the client height.
  SendMessageA(window, WM_VSCROLL, MAKEWPARAM(SB_LINEUP, 0), 0);
  const Capture up = Settled(window);
  const int top = 500 - c.height - c.height / 4;
  for (int y : {0, c.height / 8, c.height / 4 + 1, c.height / 2, c.height - 1}) {
    EXPECT_EQ(up.At(0, y), colour(600 - c.width, top + y)) << y;
    EXPECT_EQ(up.At(c.width - 1, y), colour(599, top + y)) << y;
  }

  // An image exactly the client's size needs no bars.
  const std::string exact = WriteBmp("exact.bmp", RgbDib(c.width + GetSystemMetrics(SM_CXVSCROLL),
                                                             c.height + GetSystemMetrics(SM_CYHSCROLL), colour));
  ASSERT_TRUE(Show(exact, 0x400 | 0x800));
  PumpFor(200);
  EXPECT_FALSE(GetWindowLongA(window, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
}

TEST_F(ImageWindows, GrayAndTwoToneRewriteTheColours) {
  if (ScreenBits() < 24) GTEST_SKIP();
  // Stripes of red, green, blue and light gray: luminance 76, 150, 28 and 200.
  const std::vector<Rgb> table = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {200, 200, 200}};
  const std::string path = WriteBmp("stripes.bmp", IndexedDib(8, 40, 10, table, [](int x, int) { return x / 10; }));
  HWND window = CreateE();
  ASSERT_NE(window, nullptr);
  const struct {
    const char* name;
    uint32_t flags;
    uint8_t levels[4];
  } cases[] = {
      {"GRAY", 0x4, {76, 150, 28, 200}},
      {"GRAY INVERT", 0x4 | 0x8, {179, 105, 227, 55}},
      // The window's drawing colours are at their start (black, then white): light entries
      // take the drawing colour.
      {"BW", 0x2, {255, 0, 255, 0}},
      {"BW INVERT", 0x2 | 0x8, {0, 255, 0, 255}},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    ASSERT_TRUE(Show(path, k.flags));
    const Capture c = Settled(window);
    for (int i = 0; i < 4; ++i) {
      const uint8_t v = k.levels[i];
      EXPECT_EQ(c.At(10 * i + 5, 5), (Rgb{v, v, v})) << i;
    }
  }
}

TEST_F(ImageWindows, AutomaticSmoothsAOneBitImageShownSmaller) {
  if (ScreenBits() < 24) GTEST_SKIP();
  const std::vector<Rgb> bw = {{0, 0, 0}, {255, 255, 255}};
  const std::string path = WriteBmp("checks.bmp", IndexedDib(1, 64, 64, bw, [](int x, int y) { return (x + y) & 1; }));
  HWND window = CreateE();
  ASSERT_NE(window, nullptr);
  // Placed into 32 x 32: every output pixel covers two set and two clear pixels.
  ASSERT_TRUE(Show(path, 0x10000, "0 0 31 31"));
  const Capture smooth = Settled(window);
  EXPECT_EQ(smooth.At(16, 16), (Rgb{85, 85, 85}));
  EXPECT_EQ(smooth.At(0, 0), (Rgb{85, 85, 85}));
  EXPECT_EQ(smooth.At(32, 32), (Rgb{255, 255, 255}));

  // Without AUTOMATIC the same placement drops pixels: black or white only.
  ASSERT_TRUE(Show(path, 0, "0 0 31 31"));
  const Capture plain = Settled(window);
  const Rgb p = plain.At(16, 16);
  EXPECT_TRUE(p == (Rgb{0, 0, 0}) || p == (Rgb{255, 255, 255}));
}

TEST_F(ImageWindows, ZoomByOneAndAHalfAndUnzoomRestoreTheView) {
  if (ScreenBits() < 24) GTEST_SKIP();
  const std::string path = WriteBmp("zoom.bmp", RgbDib(64, 48, Pattern));
  HWND window = CreateE();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(Show(path, 0));
  const Capture before = Settled(window);
  ASSERT_TRUE(Command("41 1.5"));
  const Capture zoomed = Settled(window);
  EXPECT_EQ(zoomed.At(30, 30), Pattern(20, 20));
  EXPECT_EQ(zoomed.At(94, 70), Pattern(62, 46));
  EXPECT_NE(zoomed.pixels, before.pixels);
  ASSERT_TRUE(Command("42 0"));
  const Capture after = Settled(window);
  EXPECT_EQ(after.pixels, before.pixels);

  // Levels stack: 2 then -2 is the image's own size again, but two levels deep.
  ASSERT_TRUE(Command("41 2"));
  ASSERT_TRUE(Command("41 -2"));
  EXPECT_EQ(Settled(window).pixels, before.pixels);
  EXPECT_FALSE(Command("42 3"));  // deeper than the window is
  EXPECT_TRUE(Command("42 1"));
  EXPECT_EQ(Settled(window).At(40, 40), Pattern(20, 20));
  EXPECT_TRUE(Command("42 0"));
  EXPECT_FALSE(Command("41 0"));

  // Zoomed past the client area, the bars scroll to the image's last pixel.
  ASSERT_TRUE(Command("41 8"));
  PumpFor(200);
  EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_HSCROLL);
  SendMessageA(window, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 30000), 0);
  SendMessageA(window, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 30000), 0);
  const Capture corner = Settled(window);
  EXPECT_EQ(corner.At(corner.width - 1, corner.height - 1), Pattern(63, 47));
  EXPECT_EQ(corner.At(corner.width - 9, corner.height - 9), Pattern(62, 46));
  ASSERT_TRUE(Command("42 0"));
  EXPECT_EQ(Settled(window).pixels, before.pixels);
}

TEST_F(ImageWindows, PopupMenuZoomCommands) {
  if (ScreenBits() < 24) GTEST_SKIP();
  const std::string path = WriteBmp("menu-zoom.bmp", RgbDib(64, 48, Pattern));
  HWND window = CreateE();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(Show(path, 0));
  const Capture before = Settled(window);
  // 75: -2x at once, no placing with the mouse.
  SendMessageA(window, WM_COMMAND, 75, 0);
  const Capture halved = Settled(window);
  // Shrinking keeps one pixel of every two; which one is the stretcher's choice.
  const Rgb p = halved.At(10, 10);
  EXPECT_TRUE(p == Pattern(20, 20) || p == Pattern(21, 20) || p == Pattern(20, 21) || p == Pattern(21, 21));
  EXPECT_EQ(halved.At(33, 10), (Rgb{255, 255, 255}));
  // 21 unzooms to level 1 (the same here), 3 to the original size.
  SendMessageA(window, WM_COMMAND, 3, 0);
  EXPECT_EQ(Settled(window).pixels, before.pixels);
}

TEST_F(ImageWindows, ImageBytesPokedToShowData) {
  if (ScreenBits() < 24) GTEST_SKIP();
  const std::string path = WriteBmp("poked.bmp", RgbDib(16, 12, Pattern));
  std::ifstream in(path, std::ios::binary);
  const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  HWND window = CreateE();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(Command("36 VARIABLE 0 5 7 -1 -1 -1 -1 -1 -1 0 " + std::to_string(bytes.size())));
  ASSERT_TRUE(client_.PokeData("SHOWDATA", bytes, 128));
  const Capture c = Settled(window);
  EXPECT_EQ(c.At(7, 5), Pattern(0, 0));
  EXPECT_EQ(c.At(7 + 15, 5 + 11), Pattern(15, 11));

  // A size that claims more than was sent reads only what came: the same image.
  ASSERT_TRUE(Command("36 VARIABLE 0 0 0 -1 -1 -1 -1 -1 -1 0 " + std::to_string(bytes.size() + 5000)));
  ASSERT_TRUE(client_.PokeData("SHOWDATA", bytes, 128));
  EXPECT_EQ(Settled(window).At(15, 11), Pattern(15, 11));
  // Bytes that are no image answer 0.
  ASSERT_TRUE(Command("36 VARIABLE 0 0 0 -1 -1 -1 -1 -1 -1 0 4"));
  EXPECT_FALSE(client_.PokeData("SHOWDATA", {1, 2, 3, 4}, 128));
}

TEST_F(ImageWindows, ZoomStopsAtFortyNineLevels) {
  const std::string path = WriteBmp("levels.bmp", RgbDib(8, 8, Pattern));
  HWND window = CreateE();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(Show(path, 0));
  for (int i = 0; i < 49; ++i) ASSERT_TRUE(Command("41 1.01")) << i;
  EXPECT_FALSE(Command("41 1.01"));
  EXPECT_TRUE(Command("42 48"));
  EXPECT_TRUE(Command("41 1.01"));
  EXPECT_TRUE(Command("42 0"));
}

TEST_F(ImageWindows, RotateTwiceByAQuarterIsAHalfTurn) {
  if (ScreenBits() < 24) GTEST_SKIP();
  const std::string path = WriteBmp("rotate.bmp", RgbDib(64, 48, Pattern));
  HWND window = CreateE();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(Show(path, 0));
  ASSERT_TRUE(Command("85 " + Number(window) + " 2"));
  const Capture quarter = Settled(window);
  EXPECT_EQ(quarter.At(0, 0), Pattern(63, 0));   // the top-right corner comes to the top left
  EXPECT_EQ(quarter.At(47, 63), Pattern(0, 47));
  ASSERT_TRUE(Command("85 " + Number(window) + " 2"));
  const Capture half = Settled(window);
  EXPECT_EQ(half.At(0, 0), Pattern(63, 47));
  EXPECT_EQ(half.At(63, 47), Pattern(0, 0));
  EXPECT_EQ(half.At(64, 10), (Rgb{255, 255, 255}));

  // Loaded with the rows flipped (VIEW FLIPV alone): done while storing, no library call.
  ASSERT_TRUE(Show(path, 0x10));
  EXPECT_EQ(Settled(window).At(0, 0), Pattern(0, 47));
}

TEST_F(ImageWindows, DitherAndSmoothingCommands) {
  if (ScreenBits() < 24) GTEST_SKIP();
  const std::string path = WriteBmp("dither.bmp", RgbDib(32, 32, Pattern));
  HWND window = CreateE();
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(Command("44 1"));  // nothing shown yet
  ASSERT_TRUE(Show(path, 0));
  EXPECT_FALSE(Command("43 1"));  // smoothing needs a 1-bit image
  EXPECT_FALSE(Command("44 3"));
  ASSERT_TRUE(Command("44 1"));
  const Capture c = Settled(window);
  // Every pixel is one of the display palette's colours now: few distinct ones.
  std::vector<uint32_t> seen;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const uint32_t p = c.pixels[size_t(y) * c.width + x];
      if (std::find(seen.begin(), seen.end(), p) == seen.end()) seen.push_back(p);
    }
  EXPECT_LT(seen.size(), 64u);

  // Zoomed 32768-fold one image pixel covers the whole client area; the copy stays small.
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(Command("41 32"));
  const Capture deep = Settled(window);
  EXPECT_EQ(deep.At(deep.width - 1, deep.height - 1), deep.At(0, 0));
  ASSERT_TRUE(Command("42 0"));
  ASSERT_TRUE(Command("44 0"));
  EXPECT_EQ(Settled(window).At(5, 7), Pattern(5, 7));
}

TEST_F(ImageWindows, TransferMovesTheImagesBetweenWindows) {
  if (ScreenBits() < 24) GTEST_SKIP();
  const std::string path = WriteBmp("transfer.bmp", RgbDib(64, 48, Pattern));
  HWND first = CreateE();
  ASSERT_NE(first, nullptr);
  ASSERT_TRUE(Show(path, 0));
  HWND second = CreateE(200, 150, 480);  // beside the first, so both can be read back
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(Command("64 " + Number(first) + " " + Number(first)));
  EXPECT_EQ(Settled(first).At(5, 5), Pattern(5, 5));
  EXPECT_FALSE(Command("85 " + Number(second) + " 2"));  // no image there yet
  ASSERT_TRUE(Command("64 " + Number(second) + " " + Number(first)));
  EXPECT_EQ(Settled(second).At(5, 5), Pattern(5, 5));
  EXPECT_EQ(Settled(first).At(5, 5), (Rgb{255, 255, 255}));
}

}  // namespace
}  // namespace tavik::test
