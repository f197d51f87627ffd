// The save pipeline: depth choice, the palette cases of GoAheadAndSaveEm, composition of
// several images, scaling and cropping, and files that are replaced only when complete.
#include "CodecHelpers.h"
#include "FixedPalettes.h"
#include "ReportCollector.h"
#include "SaveFormats.h"
#include "SavePipeline.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace tavik {
namespace {

namespace fs = std::filesystem;
using testing::Colors;
using testing::MakeDib;
using testing::ReportCollector;

class SavePipeline : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("tavik-save-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const char* name) const { return (dir_ / name).string(); }

  static std::unique_ptr<ImageRecord> Record(PackedDib dib) {
    return RecordFromDIB(std::move(dib), "test", 0, 0, false);
  }
  static std::unique_ptr<ImageRecord> LoadFile(const std::string& path) {
    ReadRequest request;
    request.kind = "FILE";
    request.name = path;
    return ReadDib(std::move(request));
  }
  bool Save(const ImageRecord& r, const char* name, const char* type, SaveOneRequest request = {}) {
    auto format = SaveFormatFromName(type);
    if (!format) return false;
    request.family = format->family;
    request.subtype = format->subtype;
    return SaveOneImage(r, Path(name), request);
  }

  fs::path dir_;
};

PackedDib Photo(int32_t w = 40, int32_t h = 30) {
  return MakeDib(w, h, 24, {}, [](int32_t x, int32_t y) {
    return static_cast<uint32_t>((x * 6) << 16 | (y * 8) << 8 | ((x + y) * 3));
  });
}

TEST(SaveWords, OptionWordsAfterUpperCasing) {
  EXPECT_EQ(ReductionWord("nearest"), kReduceNearest);
  EXPECT_EQ(ReductionWord("DITHER"), kReduceDither);
  EXPECT_EQ(ReductionWord("DITHERED"), 0);
  EXPECT_EQ(PaletteWord("WinPal"), kPaletteWindows);
  EXPECT_EQ(PaletteWord("bestpal"), kPaletteBest);
  EXPECT_EQ(PaletteWord(""), 0);
}

TEST(SaveWords, NamesAndDepths) {
  EXPECT_EQ(SaveFormatFromName("tif.lzw")->subtype, kSubLZW);
  EXPECT_EQ(SaveFormatFromName("TIFF")->family, kFamilyTIFF);
  EXPECT_FALSE(SaveFormatFromName("TIF.ZIP"));
  EXPECT_EQ(ChooseSaveDepth(kFamilyGIF, kSub87a, 24, 24), 8);
  EXPECT_EQ(ChooseSaveDepth(kFamilyJPG, kSubUncompressed, -1, 4), 24);
  EXPECT_EQ(ChooseSaveDepth(kFamilyTIFF, kSubGroup4TwoD, -1, 8), 1);
}

TEST_F(SavePipeline, TwentyFourBitsToGifBecomeAnOptimizedEightBitPalette) {
  auto r = Record(Photo());
  ASSERT_TRUE(Save(*r, "a.gif", "GIF", {.requestedBits = 24}));
  auto back = LoadFile(Path("a.gif"));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->bitsPerPixel, 8);
  // 1200 colours into 256: close on average, never far off.
  auto a = Colors(r->pixels), b = Colors(back->pixels);
  double total = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    for (int s : {0, 8, 16}) {
      const int d = std::abs(int((a[i] >> s) & 255) - int((b[i] >> s) & 255));
      EXPECT_LE(d, 48);
      total += d;
    }
  }
  EXPECT_LT(total / (3.0 * a.size()), 8.0);
}

TEST_F(SavePipeline, AnEightBitImageSavedNearestBestKeepsItsPaletteAndIndices) {
  std::vector<Rgb> palette;
  for (int i = 0; i < 256; ++i) palette.push_back({uint8_t(i), uint8_t(i * 3), uint8_t(255 - i)});
  auto r = Record(MakeDib(33, 17, 8, palette, testing::Pattern(8, 1)));
  ASSERT_TRUE(Save(*r, "a.bmp", "BMP", {.requestedBits = 8}));
  auto back = LoadFile(Path("a.bmp"));
  ASSERT_TRUE(back);
  EXPECT_EQ(testing::Indices(*back), testing::Indices(*r));
  EXPECT_EQ(Colors(back->pixels), Colors(r->pixels));
}

TEST_F(SavePipeline, JpegSavesOfPaletteImagesAreTwentyFourBits) {
  auto r = Record(MakeDib(16, 16, 4, testing::GrayRamp(16), testing::Pattern(4, 2)));
  ASSERT_TRUE(Save(*r, "a.jpg", "JPG"));
  auto back = LoadFile(Path("a.jpg"));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->formatFamily, kFamilyJPG);
}

TEST_F(SavePipeline, ReductionsUseTheirPalettes) {
  auto r = Record(Photo());
  struct Case {
    const char* type;
    int bits;
    SaveChoice choice;
    std::span<const Rgb> allowed;
  } cases[] = {
      {"TIF.GROUP4", 1, {kReduceNearest, kPaletteBest}, BlackWhitePalette()},
      {"TIF.GROUP4", 1, {kReduceDither, kPaletteBest}, BlackWhitePalette()},
      {"BMP", 4, {kReduceNearest, kPaletteWindows}, Display16Palette()},
      {"BMP", 8, {kReduceDither, kPaletteWindows}, Display256Palette()},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Save(*r, "r.x", c.type, {.choice = c.choice, .requestedBits = c.bits})) << c.type;
    auto back = LoadFile(Path("r.x"));
    ASSERT_TRUE(back) << c.type;
    EXPECT_EQ(back->bitsPerPixel, c.bits);
    std::set<uint32_t> allowed;
    for (const Rgb& p : c.allowed) allowed.insert(uint32_t{p.r} << 16 | uint32_t{p.g} << 8 | p.b);
    for (uint32_t color : Colors(back->pixels)) {
      ASSERT_TRUE(allowed.count(color)) << c.type << " " << std::hex << color;
    }
  }
}

TEST_F(SavePipeline, ErrorDiffusionKeepsTheAverageColour) {
  // The 16 display colours span the whole cube, so diffusion can reach any average.
  auto r = Record(MakeDib(64, 64, 24, {}, [](int32_t x, int32_t y) {
    return static_cast<uint32_t>((x * 3) << 16 | (y * 2 + 40) << 8 | (100 + x));
  }));
  ASSERT_TRUE(Save(*r, "d.gif", "GIF", {.choice = {kReduceDither, kPaletteWindows}, .requestedBits = 4}));
  auto back = LoadFile(Path("d.gif"));
  ASSERT_TRUE(back);
  auto a = Colors(r->pixels), b = Colors(back->pixels);
  // Error diffusion keeps each channel's mean within a few levels.
  for (int s : {0, 8, 16}) {
    double sa = 0, sb = 0;
    for (size_t i = 0; i < a.size(); ++i) {
      sa += (a[i] >> s) & 255;
      sb += (b[i] >> s) & 255;
    }
    EXPECT_NEAR(sa / a.size(), sb / b.size(), 6.0) << s;
  }
}

TEST_F(SavePipeline, OutputSizeScalesAndCropSelects) {
  auto r = Record(MakeDib(4, 2, 24, {}, [](int32_t x, int32_t y) {
    return static_cast<uint32_t>(x * 50 + y * 7);
  }));
  // The right half, rows 0..1, doubled in both directions; the crop's corners come reversed.
  ASSERT_TRUE(Save(*r, "s.tif", "TIF", {.outputHeight = 4, .outputWidth = 4, .cropTop = 1,
                                         .cropLeft = 3, .cropBottom = 0, .cropRight = 2}));
  auto back = LoadFile(Path("s.tif"));
  ASSERT_TRUE(back);
  std::vector<uint32_t> want;
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) want.push_back(static_cast<uint32_t>((2 + x / 2) * 50 + (y / 2) * 7));
  }
  EXPECT_EQ(Colors(back->pixels), want);
}

TEST_F(SavePipeline, RefusedRequestsFailWithoutAFile) {
  auto r = Record(Photo());
  ReportCollector reports;
  EXPECT_FALSE(Save(*r, "z.tif", "TIF", {.outputHeight = 0}));
  EXPECT_FALSE(Save(*r, "z.tif", "TIF", {.cropTop = 30}));
  EXPECT_FALSE(Save(*r, "z.tif", "TIF", {.cropLeft = 40}));
  EXPECT_TRUE(reports.reports.empty());
  EXPECT_FALSE(fs::exists(Path("z.tif")));
}

TEST_F(SavePipeline, AFailedSaveLeavesTheOldFile) {
  {
    std::ofstream(Path("old.bin")) << "old";
  }
  auto failing = [](OutputSink& sink, void*) {
    const uint8_t half[] = {1, 2, 3};
    sink.Write(half);
    return int{kErrWritingOutput};
  };
  EXPECT_EQ(WriteReplacing(Path("old.bin"), failing, nullptr), kErrWritingOutput);
  std::ifstream in(Path("old.bin"));
  std::string text((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(text, "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
  // A directory that does not exist cannot take the file at all.
  EXPECT_EQ(WriteReplacing(Path("no/such/dir.bin"), failing, nullptr), kErrCreatingOutput);
}

TEST(GoAheadAndSaveEm, LaterImagesCoverEarlierOnes) {
  auto red = RecordFromDIB(MakeDib(4, 4, 24, {}, [](int32_t, int32_t) { return 0xFF0000u; }), "a", 0, 0, false);
  auto blue = RecordFromDIB(MakeDib(2, 2, 24, {}, [](int32_t, int32_t) { return 0x0000FFu; }), "b", 0, 0, false);
  PlacedImage images[] = {{red.get(), {0, 0, 3, 3}, 0, 0, 4, 4}, {blue.get(), {0, 0, 1, 1}, 1, 1, 2, 2}};
  SaveJob job{4, 4, 24, kFamilyBMP, kSubUncompressed, "memory"};
  MemorySink sink;
  ASSERT_EQ(GoAheadAndSaveEm(job, {}, images, sink), 0);
  auto back = testing::LoadData(sink.bytes);
  ASSERT_TRUE(back);
  auto c = Colors(back->pixels);
  EXPECT_EQ(c[0], 0xFF0000u);
  EXPECT_EQ(c[5], 0x0000FFu);   // (1, 1)
  EXPECT_EQ(c[10], 0x0000FFu);  // (2, 2)
  EXPECT_EQ(c[15], 0xFF0000u);
}

TEST(GoAheadAndSaveEm, UncoveredOutputIsWhiteAndFailuresAreReported) {
  auto red = RecordFromDIB(MakeDib(2, 2, 24, {}, [](int32_t, int32_t) { return 0xFF0000u; }), "a", 0, 0, false);
  PlacedImage image{red.get(), {0, 0, 1, 1}, 0, 0, 2, 2};
  SaveJob job{3, 2, 24, kFamilyBMP, kSubUncompressed, "memory"};
  MemorySink sink;
  ASSERT_EQ(GoAheadAndSaveEm(job, {}, {&image, 1}, sink), 0);
  auto back = testing::LoadData(sink.bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(Colors(back->pixels), (std::vector<uint32_t>{0xFF0000, 0xFF0000, 0xFFFFFF,
                                                          0xFF0000, 0xFF0000, 0xFFFFFF}));
  ReportCollector reports;
  SaveJob none{3, 2, 24, kFamilyPCX, kSubUncompressed, "x.pcx"};
  MemorySink unused;
  EXPECT_EQ(GoAheadAndSaveEm(none, {}, {&image, 1}, unused), 112);
  EXPECT_EQ(reports.reports, (std::vector<testing::Report>{{112, kGoAheadAndSaveEm, "x.pcx"}}));
}

TEST_F(SavePipeline, SaveFileImagePlacesTheChainByItsDrawnRectangles) {
  auto head = RecordFromDIB(MakeDib(10, 10, 24, {}, [](int32_t, int32_t) { return 0x00FF00u; }), "a", 0, 0, false);
  head->drawnRect = {0, 0, 9, 9};
  auto second = RecordFromDIB(MakeDib(5, 5, 24, {}, [](int32_t, int32_t) { return 0x0000FFu; }), "b", 0, 0, false);
  second->drawnRect = {5, 5, 9, 9};
  head->next = std::move(second);
  SaveJob job{20, 20, 24, kFamilyTIFF, kSubLZW, Path("w.tif")};
  ASSERT_TRUE(SaveFileImage(head.get(), job, {}, {10, 10, false}));
  auto back = LoadFile(Path("w.tif"));
  ASSERT_TRUE(back);
  EXPECT_EQ(testing::ColorAt(*back, 0, 0), (Rgb{0, 255, 0}));
  EXPECT_EQ(testing::ColorAt(*back, 19, 19), (Rgb{0, 0, 255}));
  EXPECT_EQ(testing::ColorAt(*back, 9, 19), (Rgb{0, 255, 0}));
}

}  // namespace
}  // namespace tavik
