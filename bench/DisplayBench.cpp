// Our scaling and display dithering of a 12-megapixel image against ImageMagick doing the same
// work in the same process: `-sample` for scaling, `-dither FloydSteinberg -remap` onto the
// same fixed 256-colour palette for dithering. ImageMagick runs on one thread, as we do.
#include <benchmark/benchmark.h>

#include <magick/MagickCore.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "Dib.h"
#include "Dither.h"
#include "Palettes.h"
#include "Scale.h"

namespace {

constexpr int32_t kWidth = 4000, kHeight = 3000;

// A photo-like test card: smooth gradients with a little noise, so neither side meets long
// runs of one colour.
const tavik::PackedDib& Source() {
  static const tavik::PackedDib dib = [] {
    tavik::PackedDib d = *tavik::AllocateDib(kWidth, kHeight, 24, 0);
    uint32_t seed = 12345;
    for (int32_t y = 0; y < kHeight; ++y) {
      uint8_t* row = tavik::DIBRow(std::span<uint8_t>(d), y);
      for (int32_t x = 0; x < kWidth; ++x) {
        seed = seed * 1664525u + 1013904223u;
        const int noise = static_cast<int>(seed >> 28) - 8;
        row[3 * x] = static_cast<uint8_t>(std::clamp(x * 255 / kWidth + noise, 0, 255));
        row[3 * x + 1] = static_cast<uint8_t>(std::clamp(y * 255 / kHeight + noise, 0, 255));
        row[3 * x + 2] = static_cast<uint8_t>(std::clamp((x + y) * 255 / (kWidth + kHeight) - noise, 0, 255));
      }
    }
    return d;
  }();
  return dib;
}

// The same pixels as an ImageMagick image (rows top-down there).
Image* MagickSource() {
  static Image* image = [] {
    std::vector<uint8_t> rgb(size_t{kWidth} * kHeight * 3);
    const auto& dib = Source();
    for (int32_t y = 0; y < kHeight; ++y) {
      const uint8_t* row = tavik::DIBRow(std::span<const uint8_t>(dib), kHeight - 1 - y);
      uint8_t* out = &rgb[size_t(y) * kWidth * 3];
      for (int32_t x = 0; x < kWidth; ++x) {
        out[3 * x] = row[3 * x + 2];
        out[3 * x + 1] = row[3 * x + 1];
        out[3 * x + 2] = row[3 * x];
      }
    }
    ExceptionInfo* e = AcquireExceptionInfo();
    Image* made = ConstituteImage(kWidth, kHeight, "RGB", CharPixel, rgb.data(), e);
    DestroyExceptionInfo(e);
    return made;
  }();
  return image;
}

Image* MagickPalette() {
  static Image* image = [] {
    std::vector<uint8_t> rgb;
    for (const tavik::Rgb& c : tavik::Display256Palette()) rgb.insert(rgb.end(), {c.r, c.g, c.b});
    ExceptionInfo* e = AcquireExceptionInfo();
    Image* made = ConstituteImage(256, 1, "RGB", CharPixel, rgb.data(), e);
    DestroyExceptionInfo(e);
    return made;
  }();
  return image;
}

void OursSampleHalf(benchmark::State& state) {
  const auto& dib = Source();
  for (auto _ : state) {
    auto out = tavik::ScaleDib(dib, kWidth / 2, kHeight / 2);
    benchmark::DoNotOptimize(out);
  }
}

void MagickSampleHalf(benchmark::State& state) {
  Image* source = MagickSource();
  ExceptionInfo* e = AcquireExceptionInfo();
  for (auto _ : state) {
    Image* out = SampleImage(source, kWidth / 2, kHeight / 2, e);
    benchmark::DoNotOptimize(out);
    DestroyImage(out);
  }
  DestroyExceptionInfo(e);
}

void OursDitherFloydSteinberg(benchmark::State& state) {
  const auto& dib = Source();
  for (auto _ : state) {
    auto out = tavik::CreateSelDIB(tavik::kFlagDither, dib, {0, 0, kHeight - 1, kWidth - 1}, kHeight,
                                   kWidth, 256, tavik::DitherMethod::kFloydSteinberg);
    benchmark::DoNotOptimize(out);
  }
}

void OursDitherBayer(benchmark::State& state) {
  const auto& dib = Source();
  for (auto _ : state) {
    auto out = tavik::CreateSelDIB(tavik::kFlagDither, dib, {0, 0, kHeight - 1, kWidth - 1}, kHeight,
                                   kWidth, 256, tavik::DitherMethod::kBayer);
    benchmark::DoNotOptimize(out);
  }
}

void MagickRemapFloydSteinberg(benchmark::State& state) {
  Image* source = MagickSource();
  Image* palette = MagickPalette();
  ExceptionInfo* e = AcquireExceptionInfo();
  QuantizeInfo* info = AcquireQuantizeInfo(nullptr);
  info->dither_method = FloydSteinbergDitherMethod;
  for (auto _ : state) {
    state.PauseTiming();
    Image* work = CloneImage(source, 0, 0, MagickTrue, e);
    // Touch the pixels so the copy is made before the clock runs again.
    SetImageStorageClass(work, DirectClass);
    GetAuthenticPixels(work, 0, 0, 1, 1, e);
    state.ResumeTiming();
    RemapImage(info, work, palette);
    benchmark::DoNotOptimize(work);
    state.PauseTiming();
    DestroyImage(work);
    state.ResumeTiming();
  }
  DestroyQuantizeInfo(info);
  DestroyExceptionInfo(e);
}

}  // namespace

BENCHMARK(OursSampleHalf)->Unit(benchmark::kMillisecond);
BENCHMARK(MagickSampleHalf)->Unit(benchmark::kMillisecond);
BENCHMARK(OursDitherFloydSteinberg)->Unit(benchmark::kMillisecond);
BENCHMARK(OursDitherBayer)->Unit(benchmark::kMillisecond);
BENCHMARK(MagickRemapFloydSteinberg)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  MagickCoreGenesis(*argv, MagickFalse);
  SetMagickResourceLimit(ThreadResource, 1);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  MagickCoreTerminus();
  return 0;
}
