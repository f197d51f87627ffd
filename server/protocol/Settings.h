// The server's settings file: section "Images" of tavik.ini and the two JPEG sections. The
// model decides which keys are read when, which defaults are written for missing or unusable
// values, and what the values mean; a ProfileStore does the reading and writing (the server
// maps it onto the private-profile functions, the tests onto a map in memory).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavik {

inline constexpr std::string_view kSettingsFileName = "tavik.ini";
inline constexpr std::string_view kImagesSection = "Images";
inline constexpr std::string_view kJpegDecodeSection = "JPEG Decode";
inline constexpr std::string_view kJpegEncodeSection = "JPEG Encode";

class ProfileStore {
public:
  virtual ~ProfileStore() = default;
  // The key's text; nullopt when the section has no such key (an empty value is a value).
  // The server reads with a default no value can hold, to tell a missing key apart.
  virtual std::optional<std::string> Read(std::string_view section, std::string_view key) = 0;
  virtual void Write(std::string_view section, std::string_view key, std::string_view value) = 0;
};

// What the profile integer reader makes of a text: leading blanks, a sign and the digits up
// to the first other character; no digits give 0, and a missing or empty value the default.
int32_t ProfileInt(const std::optional<std::string>& text, int32_t defaultValue);

// Dithering methods that the Dither key selects.
inline constexpr int kDitherFloydSteinberg = 1;
inline constexpr int kDitherBayer = 2;

// Read (and completed) when the server window is created.
struct StartupSettings {
  bool picPack = false;
  int32_t dropX = 0;
  int32_t dropY = 0;
  int32_t dropWidth = 200;
  int32_t dropHeight = 150;
  bool grabPalette = true;          // platform flag 0x10
  std::optional<int> ditherMethod;  // nullopt: leave the method as it is
  bool useJpegIni = true;
};

// Reads PICPack, DropX, DropY, DropWidth, DropHeight, GrabPalette, Dither and UseJPEGINI in
// that order, writing each missing key's default first. Of the present values only an empty
// DropX or DropY and a DropWidth or DropHeight that reads as 0 are rewritten.
StartupSettings LoadStartupSettings(ProfileStore& store);

// At shutdown: makes GrabPalette say what the palette flag is now, when it says the opposite
// ("ON" or "OFF", compared upper-cased); any other text, or a missing key, is left alone.
void StorePaletteSetting(ProfileStore& store, bool grabPalette);

// The other keys of "Images", read when their user needs them. Missing keys are written with
// their default on that first read.
bool ReadPicPack(ProfileStore& store);
// True for block capture; "OFF" (or a missing key) drags a rectangle.
bool ReadCaptureBlock(ProfileStore& store);
// Cut to bufferSize - 1 characters, and never beyond 511.
std::string ReadCaptureFile(ProfileStore& store, size_t bufferSize);
std::string ReadCaptureType(ProfileStore& store);
// 0..15; anything else is rewritten as "3" and 3 is used.
int ReadGrayShift(ProfileStore& store);

// Where a new drag-and-drop viewer opens; read each time, never written.
struct DropPlacement {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 200;
  int32_t height = 150;
};
DropPlacement ReadDropPlacement(ProfileStore& store);

// JPEG decoding: the built-in values apply when UseJPEGINI is "OFF".
struct JpegDecodeSettings {
  bool blockSmoothing = false;
  bool quantizeColors = true;
  int32_t colours = 256;  // 2, 16 or 256
  bool outputGray = false;
  bool twoPass = false;
};
JpegDecodeSettings ReadJpegDecodeSettings(ProfileStore& store, bool useJpegIni);

struct SampleFactor {
  int32_t horizontal = 1;
  int32_t vertical = 1;
  friend bool operator==(const SampleFactor&, const SampleFactor&) = default;
};

struct JpegEncodeSettings {
  bool outputGray = false;
  bool optimize = false;
  int32_t quality = 75;                    // 0..100
  std::optional<int32_t> restartInterval;  // nullopt: no restart setting
  bool restartInRows = true;               // "Rows"; "Blocks" counts MCU blocks
  std::array<SampleFactor, 4> sampleFactors{};
  int32_t smoothing = 0;  // 0..100
};
JpegEncodeSettings ReadJpegEncodeSettings(ProfileStore& store, bool useJpegIni);

// "2x1,1x1": factors 1..4 per component; the list stops at the first bad entry and the
// components not reached keep 1x1.
std::array<SampleFactor, 4> ParseSampleFactors(std::string_view text);

}  // namespace tavik
