// The settings file: completion of missing and unusable keys, what the values mean, and the
// palette setting written back at shutdown.
#include "Settings.h"

#include <gtest/gtest.h>

#include "MemoryProfileStore.h"

namespace tavik {
namespace {

using Strings = std::vector<std::string>;

class SettingsFile : public testing::Test {
protected:
  void SetImages(std::string_view key, std::string_view value) {
    store_.Set(kImagesSection, key, value);
  }
  std::optional<std::string> Images(std::string_view key) {
    return store_.Get(kImagesSection, key);
  }
  testing_support::MemoryProfileStore store_;
};

TEST_F(SettingsFile, AMissingFileGetsTheEightStartupKeysInOrder) {
  StartupSettings s = LoadStartupSettings(store_);
  EXPECT_EQ(store_.writes,
            (Strings{"PICPack=OFF", "DropX=0", "DropY=0", "DropWidth=200", "DropHeight=150",
                     "GrabPalette=ON", "Dither=FloydSteinberg", "UseJPEGINI=ON"}));
  EXPECT_FALSE(s.picPack);
  EXPECT_EQ(s.dropX, 0);
  EXPECT_EQ(s.dropY, 0);
  EXPECT_EQ(s.dropWidth, 200);
  EXPECT_EQ(s.dropHeight, 150);
  EXPECT_TRUE(s.grabPalette);
  EXPECT_EQ(s.ditherMethod, kDitherFloydSteinberg);
  EXPECT_TRUE(s.useJpegIni);

  store_.writes.clear();
  LoadStartupSettings(store_);
  EXPECT_TRUE(store_.writes.empty());
}

TEST_F(SettingsFile, PresentValuesAreReadAndLeftAsTheyStand) {
  SetImages("PICPack", "ON");
  SetImages("DropX", "abc");  // not empty, so not rewritten; reads as 0
  SetImages("DropY", "-20");
  SetImages("DropWidth", "640");
  SetImages("DropHeight", "-1");
  SetImages("GrabPalette", "OFF");
  SetImages("Dither", "Bayer");
  SetImages("UseJPEGINI", "OFF");
  StartupSettings s = LoadStartupSettings(store_);
  EXPECT_TRUE(store_.writes.empty());
  EXPECT_TRUE(s.picPack);
  EXPECT_EQ(s.dropX, 0);
  EXPECT_EQ(s.dropY, -20);
  EXPECT_EQ(s.dropWidth, 640);
  EXPECT_EQ(s.dropHeight, -1);
  EXPECT_FALSE(s.grabPalette);
  EXPECT_EQ(s.ditherMethod, kDitherBayer);
  EXPECT_FALSE(s.useJpegIni);
}

TEST_F(SettingsFile, EmptyPositionsAndZeroSizesAreRewritten) {
  SetImages("DropX", "");
  SetImages("DropY", "15");
  SetImages("DropWidth", "0");
  SetImages("DropHeight", "x");  // reads as 0 too
  LoadStartupSettings(store_);
  EXPECT_EQ(Images("DropX"), "0");
  EXPECT_EQ(Images("DropY"), "15");
  EXPECT_EQ(Images("DropWidth"), "200");
  EXPECT_EQ(Images("DropHeight"), "150");
}

TEST_F(SettingsFile, ValuesAreComparedExactly) {
  SetImages("GrabPalette", "off");  // only "OFF" shares the palette
  SetImages("Dither", "bayer");     // unknown: the method stays as it is
  SetImages("UseJPEGINI", "off");
  SetImages("PICPack", "on");
  StartupSettings s = LoadStartupSettings(store_);
  EXPECT_TRUE(s.grabPalette);
  EXPECT_EQ(s.ditherMethod, std::nullopt);
  EXPECT_TRUE(s.useJpegIni);
  EXPECT_FALSE(s.picPack);
}

struct PaletteCase {
  const char* inFile;  // null: no key
  bool grabbing;
  const char* afterwards;  // null: no key
  bool written;
};

void PrintTo(const PaletteCase& c, std::ostream* os) {
  *os << (c.inFile ? c.inFile : "(missing)") << (c.grabbing ? " grabbing" : " sharing");
}

class PaletteAtShutdown : public SettingsFile, public testing::WithParamInterface<PaletteCase> {};

TEST_P(PaletteAtShutdown, WritesOnlyTheOpposite) {
  const PaletteCase& c = GetParam();
  if (c.inFile) SetImages("GrabPalette", c.inFile);
  StorePaletteSetting(store_, c.grabbing);
  EXPECT_EQ(Images("GrabPalette"),
            c.afterwards ? std::optional<std::string>(c.afterwards) : std::nullopt);
  EXPECT_EQ(!store_.writes.empty(), c.written);
}

const PaletteCase kPaletteCases[] = {
    {"OFF", true, "ON", true},
    {"off", true, "ON", true},  // upper-cased at shutdown, unlike at start-up
    {"ON", false, "OFF", true},
    {"on", false, "OFF", true},
    {"ON", true, "ON", false},
    {"OFF", false, "OFF", false},
    {"maybe", false, "maybe", false},
    {nullptr, true, nullptr, false},
};

INSTANTIATE_TEST_SUITE_P(Table, PaletteAtShutdown, testing::ValuesIn(kPaletteCases));

struct GrayShiftCase {
  const char* inFile;
  int shift;
  const char* afterwards;
};

void PrintTo(const GrayShiftCase& c, std::ostream* os) {
  *os << (c.inFile ? c.inFile : "(missing)");
}

class GrayShift : public SettingsFile, public testing::WithParamInterface<GrayShiftCase> {};

TEST_P(GrayShift, IsKeptWithin0To15) {
  const GrayShiftCase& c = GetParam();
  if (c.inFile) SetImages("GRAYSHIFT", c.inFile);
  EXPECT_EQ(ReadGrayShift(store_), c.shift);
  EXPECT_EQ(Images("GRAYSHIFT"), c.afterwards);
}

const GrayShiftCase kGrayShiftCases[] = {
    {nullptr, 3, "3"}, {"20", 3, "3"}, {"-1", 3, "3"}, {"abc", 3, "3"}, {"", 3, "3"},
    {"0", 0, "0"},     {"15", 15, "15"}, {"4", 4, "4"}, {" 7", 7, " 7"},
};

INSTANTIATE_TEST_SUITE_P(Table, GrayShift, testing::ValuesIn(kGrayShiftCases));

TEST_F(SettingsFile, KeysReadOnFirstUseAreWrittenThen) {
  EXPECT_FALSE(ReadCaptureBlock(store_));
  EXPECT_EQ(ReadCaptureFile(store_, 260), "\\TAVIKCAP.BMP");
  EXPECT_EQ(ReadCaptureType(store_), "BMP");
  EXPECT_FALSE(ReadPicPack(store_));
  EXPECT_EQ(store_.writes, (Strings{"CaptureBlock=OFF", "CaptureFile=\\TAVIKCAP.BMP",
                                    "CaptureType=BMP", "PICPack=OFF"}));
  store_.writes.clear();
  ReadCaptureBlock(store_);
  ReadCaptureFile(store_, 260);
  ReadCaptureType(store_);
  EXPECT_TRUE(store_.writes.empty());
}

TEST_F(SettingsFile, CaptureBlockIsOnForAnythingButOFF) {
  SetImages("CaptureBlock", "off");
  EXPECT_TRUE(ReadCaptureBlock(store_));
  SetImages("CaptureBlock", "OFF");
  EXPECT_FALSE(ReadCaptureBlock(store_));
}

TEST_F(SettingsFile, LongValuesAreCutToTheirBuffers) {
  SetImages("CaptureFile", std::string(600, 'f'));
  EXPECT_EQ(ReadCaptureFile(store_, 1000).size(), 511u);
  EXPECT_EQ(ReadCaptureFile(store_, 13).size(), 12u);
  EXPECT_EQ(ReadCaptureFile(store_, 0), "");
  SetImages("CaptureType", std::string(100, 't'));
  EXPECT_EQ(ReadCaptureType(store_).size(), 79u);
}

TEST_F(SettingsFile, TheViewerPlacementIsReadWithDefaultsAndNeverWritten) {
  DropPlacement p = ReadDropPlacement(store_);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 0);
  EXPECT_EQ(p.width, 200);
  EXPECT_EQ(p.height, 150);
  SetImages("DropX", "30");
  SetImages("DropWidth", "");
  p = ReadDropPlacement(store_);
  EXPECT_EQ(p.x, 30);
  EXPECT_EQ(p.width, 200);
  EXPECT_TRUE(store_.writes.empty());
}

TEST(ProfileInteger, ReadsLikeTheProfileReader) {
  EXPECT_EQ(ProfileInt(std::nullopt, 7), 7);
  EXPECT_EQ(ProfileInt(std::string(""), 7), 7);
  EXPECT_EQ(ProfileInt(std::string("abc"), 7), 0);
  EXPECT_EQ(ProfileInt(std::string("  -12px"), 7), -12);
  EXPECT_EQ(ProfileInt(std::string("99999999999"), 7), 2147483647);
}

// ---- JPEG sections -------------------------------------------------------------------------

TEST_F(SettingsFile, JpegSectionsAreCompletedWhenFirstLookedFor) {
  JpegDecodeSettings d = ReadJpegDecodeSettings(store_, true);
  EXPECT_EQ(store_.writes, (Strings{"BlockSmoothing=OFF", "QuantizeColors=ON", "QColors=256",
                                    "OutputGray=OFF", "TwoPass=ON"}));
  EXPECT_FALSE(d.blockSmoothing);
  EXPECT_TRUE(d.quantizeColors);
  EXPECT_EQ(d.colours, 256);
  EXPECT_TRUE(d.twoPass);

  store_.writes.clear();
  JpegEncodeSettings e = ReadJpegEncodeSettings(store_, true);
  EXPECT_EQ(store_.writes,
            (Strings{"OutputGray=OFF", "Optimize=OFF", "Quality=75", "RestartInterval=0",
                     "RestartUnits=Rows", "SampleFactors=1x1,1x1,1x1,1x1", "Smoothing=0"}));
  EXPECT_EQ(e.quality, 75);
  EXPECT_EQ(e.restartInterval, 0);
  EXPECT_TRUE(e.restartInRows);
  EXPECT_EQ(store_.Get(kJpegEncodeSection, "OutputGray"), "OFF");
}

TEST_F(SettingsFile, WithoutUseJpegIniTheBuiltInValuesApplyAndNothingIsTouched) {
  store_.Set(kJpegDecodeSection, "TwoPass", "ON");
  JpegDecodeSettings d = ReadJpegDecodeSettings(store_, false);
  JpegEncodeSettings e = ReadJpegEncodeSettings(store_, false);
  EXPECT_FALSE(d.twoPass);
  EXPECT_EQ(d.colours, 256);
  EXPECT_EQ(e.quality, 75);
  EXPECT_EQ(e.restartInterval, std::nullopt);
  EXPECT_TRUE(store_.writes.empty());
}

TEST_F(SettingsFile, QColorsOtherThan2_16_256IsRewritten) {
  store_.Set(kJpegDecodeSection, "QColors", "64");
  EXPECT_EQ(ReadJpegDecodeSettings(store_, true).colours, 256);
  EXPECT_EQ(store_.Get(kJpegDecodeSection, "QColors"), "256");
  store_.Set(kJpegDecodeSection, "QColors", "16");
  EXPECT_EQ(ReadJpegDecodeSettings(store_, true).colours, 16);
  EXPECT_EQ(store_.Get(kJpegDecodeSection, "QColors"), "16");
}

TEST_F(SettingsFile, EncodeValuesOutOfRangeAreIgnoredNotRewritten) {
  store_.Set(kJpegEncodeSection, "Quality", "150");
  store_.Set(kJpegEncodeSection, "Smoothing", "101");
  store_.Set(kJpegEncodeSection, "RestartInterval", "70000");
  JpegEncodeSettings e = ReadJpegEncodeSettings(store_, true);
  EXPECT_EQ(e.quality, 75);
  EXPECT_EQ(e.smoothing, 0);
  EXPECT_EQ(e.restartInterval, std::nullopt);
  EXPECT_EQ(store_.Get(kJpegEncodeSection, "Quality"), "150");
  EXPECT_EQ(store_.Get(kJpegEncodeSection, "Smoothing"), "101");
}

TEST_F(SettingsFile, RestartUnitsChooseRowsOrBlocks) {
  store_.Set(kJpegEncodeSection, "RestartInterval", "100");
  store_.Set(kJpegEncodeSection, "RestartUnits", "Blocks");
  JpegEncodeSettings e = ReadJpegEncodeSettings(store_, true);
  EXPECT_EQ(e.restartInterval, 100);
  EXPECT_FALSE(e.restartInRows);
  store_.Set(kJpegEncodeSection, "RestartUnits", "Pages");
  EXPECT_EQ(ReadJpegEncodeSettings(store_, true).restartInterval, std::nullopt);
  store_.Set(kJpegEncodeSection, "RestartUnits", "Rows");
  store_.Set(kJpegEncodeSection, "RestartInterval", "soon");
  EXPECT_EQ(ReadJpegEncodeSettings(store_, true).restartInterval, std::nullopt);
}

struct FactorCase {
  const char* text;
  std::array<SampleFactor, 4> expected;
};

void PrintTo(const FactorCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class SampleFactors : public testing::TestWithParam<FactorCase> {};

TEST_P(SampleFactors, StopAtTheFirstBadEntry) {
  EXPECT_EQ(ParseSampleFactors(GetParam().text), GetParam().expected);
}

constexpr SampleFactor k11{1, 1};
const FactorCase kFactorCases[] = {
    {"1x1,1x1,1x1,1x1", {k11, k11, k11, k11}},
    {"2x2,1x1,1x1", {SampleFactor{2, 2}, k11, k11, k11}},
    {"2X1", {SampleFactor{2, 1}, k11, k11, k11}},
    {"4x4,3x2,2x3,1x4", {SampleFactor{4, 4}, {3, 2}, {2, 3}, {1, 4}}},
    {"2x2,5x1,2x2", {SampleFactor{2, 2}, k11, k11, k11}},
    {"2x2,12x1", {SampleFactor{2, 2}, k11, k11, k11}},
    {"2x2;3x3", {SampleFactor{2, 2}, k11, k11, k11}},
    {"2*2,3x3", {k11, k11, k11, k11}},
    {"", {k11, k11, k11, k11}},
    {" 2x 2, 3x3", {SampleFactor{2, 2}, {3, 3}, k11, k11}},
};

INSTANTIATE_TEST_SUITE_P(Table, SampleFactors, testing::ValuesIn(kFactorCases));

}  // namespace
}  // namespace tavik
