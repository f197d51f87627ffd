#include "FormatSettings.h"

#include <string>

namespace tavik {
namespace {

// Without a file, a fresh empty one: every key reads as its default.
class DefaultsStore final : public ProfileStore {
public:
  std::optional<std::string> Read(std::string_view, std::string_view) override {
    return std::nullopt;
  }
  void Write(std::string_view, std::string_view, std::string_view) override {}
};

DefaultsStore gDefaults;
ProfileStore* gStore = &gDefaults;

}  // namespace

void SetFormatSettingsStore(ProfileStore* store) { gStore = store ? store : &gDefaults; }

int FormatGrayShift() { return ReadGrayShift(*gStore); }

bool FormatUseJpegIni() {
  auto text = gStore->Read(kImagesSection, "UseJPEGINI");
  if (!text) {
    gStore->Write(kImagesSection, "UseJPEGINI", "ON");
    return true;
  }
  return *text != "OFF";
}

JpegDecodeSettings FormatJpegDecodeSettings() {
  return ReadJpegDecodeSettings(*gStore, FormatUseJpegIni());
}

JpegEncodeSettings FormatJpegEncodeSettings() {
  return ReadJpegEncodeSettings(*gStore, FormatUseJpegIni());
}

}  // namespace tavik
