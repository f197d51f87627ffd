#include "Settings.h"

#include <limits>

namespace tavik {
namespace {

// Values are read into 80-character buffers; a longer value comes back cut.
constexpr size_t kValueBuffer = 80;
constexpr size_t kCaptureFileBuffer = 512;

std::optional<std::string> ReadCut(ProfileStore& store, std::string_view section,
                                   std::string_view key, size_t buffer = kValueBuffer) {
  auto value = store.Read(section, key);
  if (value && value->size() > buffer - 1) value->resize(buffer - 1);
  return value;
}

// The key's value, after writing the default when the key is missing.
std::string ReadOrComplete(ProfileStore& store, std::string_view section, std::string_view key,
                           std::string_view defaultValue, size_t buffer = kValueBuffer) {
  if (auto value = ReadCut(store, section, key, buffer)) return *value;
  store.Write(section, key, defaultValue);
  return std::string(defaultValue);
}

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Like ProfileInt, but nullopt when there are no digits to read.
std::optional<int64_t> ReadDigits(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  size_t first = i;
  int64_t value = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    if (value < (int64_t{1} << 40)) value = value * 10 + (s[i] - '0');
  }
  if (i == first) return std::nullopt;
  return negative ? -value : value;
}

bool InRange(std::optional<int64_t> v, int64_t lo, int64_t hi) {
  return v && *v >= lo && *v <= hi;
}

constexpr std::string_view kImages = kImagesSection;

}  // namespace

int32_t ProfileInt(const std::optional<std::string>& text, int32_t defaultValue) {
  if (!text || text->empty()) return defaultValue;
  auto v = ReadDigits(*text);
  if (!v) return 0;
  if (*v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (*v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(*v);
}

StartupSettings LoadStartupSettings(ProfileStore& store) {
  StartupSettings s;
  s.picPack = ReadOrComplete(store, kImages, "PICPack", "OFF") == "ON";

  // Positions are completed when empty, sizes when they read as 0.
  auto position = [&](std::string_view key) {
    auto text = ReadCut(store, kImages, key);
    if (!text || text->empty()) {
      store.Write(kImages, key, "0");
      return int32_t{0};
    }
    return ProfileInt(text, 0);
  };
  auto size = [&](std::string_view key, std::string_view defaultText, int32_t defaultValue) {
    int32_t v = ProfileInt(ReadCut(store, kImages, key), 0);
    if (v != 0) return v;
    store.Write(kImages, key, defaultText);
    return defaultValue;
  };
  s.dropX = position("DropX");
  s.dropY = position("DropY");
  s.dropWidth = size("DropWidth", "200", 200);
  s.dropHeight = size("DropHeight", "150", 150);

  s.grabPalette = ReadOrComplete(store, kImages, "GrabPalette", "ON") != "OFF";
  std::string dither = ReadOrComplete(store, kImages, "Dither", "FloydSteinberg");
  if (dither == "FloydSteinberg") s.ditherMethod = kDitherFloydSteinberg;
  else if (dither == "Bayer") s.ditherMethod = kDitherBayer;
  s.useJpegIni = ReadOrComplete(store, kImages, "UseJPEGINI", "ON") != "OFF";
  return s;
}

void StorePaletteSetting(ProfileStore& store, bool grabPalette) {
  auto text = ReadCut(store, kImages, "GrabPalette");
  if (!text) return;
  std::string said = Upper(*text);
  if (grabPalette && said == "OFF") store.Write(kImages, "GrabPalette", "ON");
  else if (!grabPalette && said == "ON") store.Write(kImages, "GrabPalette", "OFF");
}

bool ReadPicPack(ProfileStore& store) {
  return ReadOrComplete(store, kImages, "PICPack", "OFF") == "ON";
}

bool ReadCaptureBlock(ProfileStore& store) {
  return ReadOrComplete(store, kImages, "CaptureBlock", "OFF") != "OFF";
}

std::string ReadCaptureFile(ProfileStore& store, size_t bufferSize) {
  std::string file = ReadOrComplete(store, kImages, "CaptureFile", "\\TAVIKCAP.BMP",
                                    kCaptureFileBuffer);
  if (bufferSize == 0) return {};
  if (file.size() > bufferSize - 1) file.resize(bufferSize - 1);
  return file;
}

std::string ReadCaptureType(ProfileStore& store) {
  return ReadOrComplete(store, kImages, "CaptureType", "BMP");
}

int ReadGrayShift(ProfileStore& store) {
  constexpr int kDefault = 3;
  auto text = ReadCut(store, kImages, "GRAYSHIFT");
  if (text) {
    auto v = ReadDigits(*text);
    if (InRange(v, 0, 15)) return static_cast<int>(*v);
  }
  store.Write(kImages, "GRAYSHIFT", "3");
  return kDefault;
}

DropPlacement ReadDropPlacement(ProfileStore& store) {
  DropPlacement p;
  p.height = ProfileInt(ReadCut(store, kImages, "DropHeight"), 150);
  p.width = ProfileInt(ReadCut(store, kImages, "DropWidth"), 200);
  p.y = ProfileInt(ReadCut(store, kImages, "DropY"), 0);
  p.x = ProfileInt(ReadCut(store, kImages, "DropX"), 0);
  return p;
}

JpegDecodeSettings ReadJpegDecodeSettings(ProfileStore& store, bool useJpegIni) {
  JpegDecodeSettings s;
  if (!useJpegIni) return s;
  constexpr std::string_view kSection = kJpegDecodeSection;
  s.blockSmoothing = ReadOrComplete(store, kSection, "BlockSmoothing", "OFF") == "ON";
  s.quantizeColors = ReadOrComplete(store, kSection, "QuantizeColors", "ON") == "ON";
  int32_t colours = ProfileInt(ReadOrComplete(store, kSection, "QColors", "256"), 0);
  if (colours == 2 || colours == 16 || colours == 256) {
    s.colours = colours;
  } else {
    store.Write(kSection, "QColors", "256");
    s.colours = 256;
  }
  s.outputGray = ReadOrComplete(store, kSection, "OutputGray", "OFF") == "ON";
  s.twoPass = ReadOrComplete(store, kSection, "TwoPass", "ON") == "ON";
  return s;
}

JpegEncodeSettings ReadJpegEncodeSettings(ProfileStore& store, bool useJpegIni) {
  JpegEncodeSettings s;
  if (!useJpegIni) return s;
  constexpr std::string_view kSection = kJpegEncodeSection;
  s.outputGray = ReadOrComplete(store, kSection, "OutputGray", "OFF") == "ON";
  s.optimize = ReadOrComplete(store, kSection, "Optimize", "OFF") == "ON";
  int32_t quality = ProfileInt(ReadOrComplete(store, kSection, "Quality", "75"), 0);
  if (quality >= 0 && quality <= 100) s.quality = quality;

  auto interval = ReadDigits(ReadOrComplete(store, kSection, "RestartInterval", "0"));
  std::string units = ReadOrComplete(store, kSection, "RestartUnits", "Rows");
  // Units we do not know leave the restart setting off rather than guess a unit.
  if (InRange(interval, 0, 65535) && (units == "Rows" || units == "Blocks")) {
    s.restartInterval = static_cast<int32_t>(*interval);
    s.restartInRows = units == "Rows";
  }

  s.sampleFactors =
      ParseSampleFactors(ReadOrComplete(store, kSection, "SampleFactors", "1x1,1x1,1x1,1x1"));
  int32_t smoothing = ProfileInt(ReadOrComplete(store, kSection, "Smoothing", "0"), 0);
  if (smoothing >= 0 && smoothing <= 100) s.smoothing = smoothing;
  return s;
}

std::array<SampleFactor, 4> ParseSampleFactors(std::string_view text) {
  std::array<SampleFactor, 4> factors{};
  size_t i = 0;
  auto factor = [&](int32_t& out) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i >= text.size() || text[i] < '1' || text[i] > '4') return false;
    out = text[i++] - '0';
    return i >= text.size() || text[i] < '0' || text[i] > '9';  // 10 and up are no factor
  };
  for (SampleFactor& f : factors) {
    SampleFactor read;
    if (!factor(read.horizontal)) break;
    if (i >= text.size() || (text[i] != 'x' && text[i] != 'X')) break;
    ++i;
    if (!factor(read.vertical)) break;
    f = read;
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i >= text.size() || text[i] != ',') break;
    ++i;
  }
  return factors;
}

}  // namespace tavik
