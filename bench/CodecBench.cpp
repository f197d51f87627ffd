// Our codecs against the libraries the peers' tools are built on, in one process and one run:
// Group 4 and LZW TIFF decoding against libtiff (the decoding tiffcp -c none does), GIF
// decoding and encoding against giflib, JPEG decoding against libjpeg itself with the same
// settings (our overhead over the library), and octree reduction of a 12-megapixel picture
// to 256 colours against ImageMagick's +dither -colors 256, with the PSNR of both.
#include <benchmark/benchmark.h>

#include <gif_lib.h>
#include <jpeglib.h>
#include <magick/MagickCore.h>
#include <tiffio.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "Dib.h"
#include "DibWriterFeed.h"
#include "FormatSettings.h"
#include "ImageWriter.h"
#include "PixelRows.h"
#include "ReadDib.h"
#include "SavePipeline.h"

namespace {

namespace fs = std::filesystem;
constexpr int32_t kWidth = 4000, kHeight = 3000;  // 12 megapixels

fs::path Dir() {
  static const fs::path dir = [] {
    fs::path d = fs::temp_directory_path() / "tavik-codec-bench";
    fs::create_directories(d);
    return d;
  }();
  return dir;
}

// A photo-like card: gradients, soft blobs and a little noise, so no side meets long runs.
const tavik::PackedDib& Photo() {
  static const tavik::PackedDib dib = [] {
    tavik::PackedDib d = *tavik::AllocateDib(kWidth, kHeight, 24, 0);
    std::mt19937 random(7);
    for (int32_t y = 0; y < kHeight; ++y) {
      uint8_t* row = tavik::DIBRow(std::span<uint8_t>(d), y);
      for (int32_t x = 0; x < kWidth; ++x) {
        const double fx = x / double(kWidth), fy = y / double(kHeight);
        const double blob = std::sin(fx * 9.0) * std::cos(fy * 7.0);
        const int noise = static_cast<int>(random() % 9) - 4;
        row[3 * x + 2] = static_cast<uint8_t>(std::clamp(int(255 * fx * 0.8 + 40 * blob) + noise, 0, 255));
        row[3 * x + 1] = static_cast<uint8_t>(std::clamp(int(200 * fy + 50 * blob) + noise, 0, 255));
        row[3 * x] = static_cast<uint8_t>(std::clamp(int(120 + 100 * blob * fy) + noise, 0, 255));
      }
    }
    return d;
  }();
  return dib;
}

// A scanned page: lines of word-sized black blocks on white, the stuff fax coding is for.
tavik::PackedDib Page() {
  tavik::PackedDib d = *tavik::AllocateDib(kWidth, kHeight, 1, 2);
  uint8_t* table = d.data() + tavik::kInfoHeaderSize;
  table[4] = table[5] = table[6] = 255;  // 0 black, 1 white
  std::mt19937 random(3);
  for (int32_t y = 0; y < kHeight; ++y) {
    uint8_t* row = tavik::DIBRow(std::span<uint8_t>(d), kHeight - 1 - y);
    std::fill(row, row + tavik::DIBStride(d), 0xFF);
    if ((y / 40) % 3 == 2 || y % 40 > 28) continue;
    for (int32_t x = 200; x < kWidth - 200;) {
      const int32_t word = 30 + static_cast<int32_t>(random() % 120);
      for (int32_t i = x; i < std::min(x + word, kWidth - 200); ++i) {
        if (random() % 5) row[i / 8] &= static_cast<uint8_t>(~(0x80 >> (i % 8)));
      }
      x += word + 25;
    }
  }
  return d;
}

std::string WriteFile(const char* name, const tavik::PackedDib& dib, int family, int subtype,
                      int bits) {
  const std::string path = (Dir() / name).string();
  if (!fs::exists(path)) {
    auto sink = tavik::FileSink::Create(path);
    tavik::WriteDibUnscaled(dib, family, subtype, bits, *sink);
    sink->Close();
  }
  return path;
}

const std::string& Group4File() {
  static const std::string p = WriteFile("page-g4.tif", Page(), tavik::kFamilyTIFF, tavik::kSubGroup4TwoD, 1);
  return p;
}
const std::string& LzwFile() {
  static const std::string p = WriteFile("photo-lzw.tif", Photo(), tavik::kFamilyTIFF, tavik::kSubLZW, 24);
  return p;
}
const tavik::PackedDib& Photo8() {
  static const tavik::PackedDib d = [] {
    auto record = tavik::RecordFromDIB(Photo(), "photo", 0, 0, false);
    tavik::MemorySink sink;
    tavik::PlacedImage placed{record.get(), {0, 0, kWidth - 1, kHeight - 1}, 0, 0, kWidth, kHeight};
    tavik::SaveJob job{kWidth, kHeight, 8, tavik::kFamilyBMP, tavik::kSubUncompressed, "mem"};
    tavik::GoAheadAndSaveEm(job, {}, {&placed, 1}, sink);
    tavik::ReadRequest request;
    request.kind = "DATA";
    request.data = sink.bytes;
    request.size = static_cast<int64_t>(sink.bytes.size());
    return std::move(tavik::ReadDib(std::move(request))->pixels);
  }();
  return d;
}
const std::string& GifFile() {
  static const std::string p = WriteFile("photo.gif", Photo8(), tavik::kFamilyGIF, tavik::kSub89a, 8);
  return p;
}
const std::string& JpegFile() {
  static const std::string p = WriteFile("photo.jpg", Photo(), tavik::kFamilyJPG, tavik::kSubUncompressed, 24);
  return p;
}

std::unique_ptr<tavik::ImageRecord> OurLoad(const std::string& path) {
  tavik::ReadRequest request;
  request.kind = "FILE";
  request.name = path;
  return tavik::ReadDib(std::move(request));
}

// ---- TIFF ----

// Both sides decode the whole image into memory of their own, as a loader must; libtiff's
// strips land in one fresh buffer, ours in a fresh DIB.
void LibtiffDecode(const std::string& path, benchmark::State& state) {
  for (auto _ : state) {
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    const tmsize_t stripSize = TIFFStripSize(tif);
    std::vector<uint8_t> image(static_cast<size_t>(stripSize) * TIFFNumberOfStrips(tif));
    for (tstrip_t s = 0; s < TIFFNumberOfStrips(tif); ++s) {
      TIFFReadEncodedStrip(tif, s, image.data() + size_t(s) * stripSize, stripSize);
    }
    benchmark::DoNotOptimize(image.data());
    TIFFClose(tif);
  }
}

void OurDecode(const std::string& path, benchmark::State& state) {
  for (auto _ : state) {
    auto record = OurLoad(path);
    if (!record) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(record->pixels.data());
  }
}

void Group4_Libtiff(benchmark::State& s) { LibtiffDecode(Group4File(), s); }
void Group4_Ours(benchmark::State& s) { OurDecode(Group4File(), s); }
void LzwTiff_Libtiff(benchmark::State& s) { LibtiffDecode(LzwFile(), s); }
void LzwTiff_Ours(benchmark::State& s) { OurDecode(LzwFile(), s); }

// ---- GIF ----

void GifDecode_Giflib(benchmark::State& state) {
  for (auto _ : state) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(GifFile().c_str(), &error);
    DGifSlurp(gif);
    benchmark::DoNotOptimize(gif->SavedImages[0].RasterBits);
    DGifCloseFile(gif, &error);
  }
}
void GifDecode_Ours(benchmark::State& s) { OurDecode(GifFile(), s); }

void GifEncode_Giflib(benchmark::State& state) {
  const tavik::PackedDib& dib = Photo8();
  const std::string path = (Dir() / "giflib-out.gif").string();
  std::vector<GifColorType> colors(256);
  for (int i = 0; i < 256; ++i) {
    const uint8_t* q = dib.data() + tavik::kInfoHeaderSize + 4 * i;
    colors[i] = {q[2], q[1], q[0]};
  }
  for (auto _ : state) {
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    ColorMapObject* map = GifMakeMapObject(256, colors.data());
    EGifPutScreenDesc(gif, kWidth, kHeight, 8, 0, map);
    EGifPutImageDesc(gif, 0, 0, kWidth, kHeight, false, nullptr);
    for (int32_t y = 0; y < kHeight; ++y) {
      EGifPutLine(gif, const_cast<uint8_t*>(tavik::DIBRow(std::span<const uint8_t>(dib), kHeight - 1 - y)), kWidth);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
  }
}

void GifEncode_Ours(benchmark::State& state) {
  const tavik::PackedDib& dib = Photo8();
  const std::string path = (Dir() / "ours-out.gif").string();
  for (auto _ : state) {
    auto sink = tavik::FileSink::Create(path);
    if (tavik::WriteDibUnscaled(dib, tavik::kFamilyGIF, tavik::kSub89a, 8, *sink) != 0) {
      state.SkipWithError("write failed");
    }
    sink->Close();
  }
}

// ---- JPEG ----

class MemoryStore final : public tavik::ProfileStore {
public:
  explicit MemoryStore(bool quantize) : quantize_(quantize) {}
  std::optional<std::string> Read(std::string_view section, std::string_view key) override {
    if (section == "JPEG Decode" && key == "QuantizeColors") return quantize_ ? "ON" : "OFF";
    return std::nullopt;
  }
  void Write(std::string_view, std::string_view, std::string_view) override {}

private:
  bool quantize_;
};

// libjpeg decoding the picture into a fresh buffer of its own, as djpeg hands every row on.
void LibjpegDecode(benchmark::State& state, bool quantize) {
  for (auto _ : state) {
    std::vector<uint8_t> image(size_t(kWidth) * kHeight * 3);
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    FILE* f = std::fopen(JpegFile().c_str(), "rb");
    jpeg_stdio_src(&cinfo, f);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.quantize_colors = quantize ? TRUE : FALSE;
    cinfo.desired_number_of_colors = 256;
    cinfo.two_pass_quantize = TRUE;
    jpeg_start_decompress(&cinfo);
    const size_t stride = size_t(cinfo.output_width) * cinfo.output_components;
    while (cinfo.output_scanline < cinfo.output_height) {
      JSAMPROW rows[1] = {image.data() + stride * cinfo.output_scanline};
      jpeg_read_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(f);
    benchmark::DoNotOptimize(image.data());
  }
}

void OurJpegDecode(benchmark::State& state, bool quantize) {
  MemoryStore store(quantize);
  tavik::SetFormatSettingsStore(&store);
  OurDecode(JpegFile(), state);
  tavik::SetFormatSettingsStore(nullptr);
}

void Jpeg24_Libjpeg(benchmark::State& s) { LibjpegDecode(s, false); }
void Jpeg24_Ours(benchmark::State& s) { OurJpegDecode(s, false); }
void Jpeg256TwoPass_Libjpeg(benchmark::State& s) { LibjpegDecode(s, true); }
void Jpeg256TwoPass_Ours(benchmark::State& s) { OurJpegDecode(s, true); }

// ---- colour reduction ----

double Psnr(const tavik::PackedDib& a, const tavik::PackedDib& b) {
  double sum = 0;
  for (int32_t y = 0; y < kHeight; ++y) {
    for (int32_t x = 0; x < kWidth; ++x) {
      tavik::Rgb p = tavik::DIBPixelColor(a, x, y), q = tavik::DIBPixelColor(b, x, y);
      const double dr = p.r - q.r, dg = p.g - q.g, db = p.b - q.b;
      sum += dr * dr + dg * dg + db * db;
    }
  }
  const double mse = sum / (3.0 * kWidth * kHeight);
  return 10 * std::log10(255.0 * 255.0 / mse);
}

void Octree256_Ours(benchmark::State& state) {
  auto record = tavik::RecordFromDIB(Photo(), "photo", 0, 0, false);
  tavik::PlacedImage placed{record.get(), {0, 0, kWidth - 1, kHeight - 1}, 0, 0, kWidth, kHeight};
  tavik::SaveJob job{kWidth, kHeight, 8, tavik::kFamilyBMP, tavik::kSubUncompressed, "mem"};
  for (auto _ : state) {
    tavik::MemorySink sink;
    tavik::GoAheadAndSaveEm(job, {tavik::kReduceNearest, tavik::kPaletteBest}, {&placed, 1}, sink);
    benchmark::DoNotOptimize(sink.bytes.data());
  }
  state.counters["PSNR"] = Psnr(Photo(), Photo8());
}

void Octree256_ImageMagick(benchmark::State& state) {
  const tavik::PackedDib& dib = Photo();
  std::vector<uint8_t> rgb(size_t(kWidth) * kHeight * 3);
  for (int32_t y = 0; y < kHeight; ++y) {
    const uint8_t* row = tavik::DIBRow(std::span<const uint8_t>(dib), kHeight - 1 - y);
    for (int32_t x = 0; x < kWidth; ++x) {
      uint8_t* p = &rgb[(size_t(y) * kWidth + x) * 3];
      p[0] = row[3 * x + 2];
      p[1] = row[3 * x + 1];
      p[2] = row[3 * x];
    }
  }
  ExceptionInfo* e = AcquireExceptionInfo();
  Image* source = ConstituteImage(kWidth, kHeight, "RGB", CharPixel, rgb.data(), e);
  std::vector<uint8_t> out(rgb.size());
  for (auto _ : state) {
    Image* work = CloneImage(source, 0, 0, MagickTrue, e);
    QuantizeInfo info;
    GetQuantizeInfo(&info);
    info.number_colors = 256;
    info.dither = MagickFalse;  // +dither
    info.dither_method = NoDitherMethod;
    QuantizeImage(&info, work);
    ExportImagePixels(work, 0, 0, kWidth, kHeight, "RGB", CharPixel, out.data(), e);
    DestroyImage(work);
  }
  double sum = 0;
  for (size_t i = 0; i < rgb.size(); ++i) {
    const double d = double(rgb[i]) - out[i];
    sum += d * d;
  }
  state.counters["PSNR"] = 10 * std::log10(255.0 * 255.0 / (sum / rgb.size()));
  DestroyImage(source);
  DestroyExceptionInfo(e);
}

}  // namespace

BENCHMARK(Group4_Libtiff)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Group4_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LzwTiff_Libtiff)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LzwTiff_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(GifDecode_Giflib)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(GifDecode_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(GifEncode_Giflib)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(GifEncode_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Jpeg24_Libjpeg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Jpeg24_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Jpeg256TwoPass_Libjpeg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Jpeg256TwoPass_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Octree256_ImageMagick)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Octree256_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
  MagickCoreGenesis(*argv, MagickFalse);
  SetMagickResourceLimit(ThreadResource, 1);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  MagickCoreTerminus();
  return 0;
}
