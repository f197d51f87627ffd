#include "FixedPalettes.h"

#include <array>

namespace tavik {
namespace {

constexpr std::array<Rgb, 2> kBlackWhite = {{{0, 0, 0}, {255, 255, 255}}};

constexpr std::array<Rgb, 16> MakeGray16() {
  constexpr uint8_t levels[16] = {0, 24, 48, 64, 80, 96, 112, 128,
                                  144, 160, 176, 192, 208, 224, 240, 255};
  std::array<Rgb, 16> p{};
  for (int i = 0; i < 16; ++i) p[i] = {levels[i], levels[i], levels[i]};
  return p;
}

constexpr std::array<Rgb, 256> MakeGray256() {
  std::array<Rgb, 256> p{};
  for (int i = 0; i < 256; ++i) {
    const int k = i / 4;
    const uint8_t v = static_cast<uint8_t>(k == 0 ? 0 : k == 63 ? 255 : 4 * k - 1);
    p[i] = {v, v, v};
  }
  return p;
}

constexpr std::array<Rgb, 16> kDisplay16 = {{
    {0, 0, 0}, {191, 0, 0}, {0, 191, 0}, {191, 191, 0}, {0, 0, 191}, {191, 0, 191},
    {0, 191, 191}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},
    {255, 255, 0}, {0, 0, 255}, {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
}};

constexpr std::array<Rgb, 256> MakeDisplay256() {
  std::array<Rgb, 256> p{};
  constexpr Rgb head[10] = {{0, 0, 0},     {128, 0, 0},   {0, 128, 0},     {128, 128, 0},
                            {0, 0, 128},   {128, 0, 128}, {0, 128, 128},   {192, 192, 192},
                            {192, 220, 192}, {166, 202, 240}};
  constexpr Rgb tail[10] = {{255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},
                            {0, 255, 0},     {255, 255, 0},   {0, 0, 255},     {255, 0, 255},
                            {0, 255, 255},   {255, 255, 255}};
  int n = 0;
  for (const Rgb& c : head) p[n++] = c;
  // The 6 x 6 x 6 cube without its eight corners, which stand in the head and tail.
  for (int b = 0; b < 6; ++b) {
    for (int g = 0; g < 6; ++g) {
      for (int r = 0; r < 6; ++r) {
        const bool corner = (r == 0 || r == 5) && (g == 0 || g == 5) && (b == 0 || b == 5);
        if (!corner) p[n++] = {uint8_t(51 * r), uint8_t(51 * g), uint8_t(51 * b)};
      }
    }
  }
  p[n++] = {255, 95, 191};
  constexpr uint8_t reds[7] = {63, 95, 127, 159, 191, 223, 255};
  for (uint8_t g : {uint8_t{127}, uint8_t{159}, uint8_t{191}, uint8_t{223}}) {
    for (int i = 0; i < (g == 223 ? 6 : 7); ++i) p[n++] = {reds[i], g, 191};
  }
  for (const Rgb& c : tail) p[n++] = c;
  return p;
}

constexpr std::array<Rgb, 16> kGray16 = MakeGray16();
constexpr std::array<Rgb, 256> kGray256 = MakeGray256();
constexpr std::array<Rgb, 256> kDisplay256 = MakeDisplay256();

}  // namespace

std::span<const Rgb> BlackWhitePalette() { return kBlackWhite; }
std::span<const Rgb> Gray16Palette() { return kGray16; }
std::span<const Rgb> Gray256Palette() { return kGray256; }
std::span<const Rgb> Display16Palette() { return kDisplay16; }
std::span<const Rgb> Display256Palette() { return kDisplay256; }

}  // namespace tavik
