// libFuzzer target for LoadJPG: the source manager, the error manager's jump back and the
// quantized and 24-bit row paths (the input's length picks the decode settings).
#include "FormatSettings.h"
#include "FuzzCommon.h"

#include <map>
#include <string>

namespace {

class FuzzStore final : public tavik::ProfileStore {
public:
  std::optional<std::string> Read(std::string_view section, std::string_view key) override {
    auto it = values.find(std::string(section) + "/" + std::string(key));
    if (it == values.end()) return std::nullopt;
    return it->second;
  }
  void Write(std::string_view, std::string_view, std::string_view) override {}
  std::map<std::string, std::string> values;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FuzzStore store;
  static const char* const kColours[] = {"256", "16", "2", "256"};
  store.values["JPEG Decode/QuantizeColors"] = size % 3 == 0 ? "OFF" : "ON";
  store.values["JPEG Decode/QColors"] = kColours[size % 4];
  store.values["JPEG Decode/OutputGray"] = size % 5 == 0 ? "ON" : "OFF";
  store.values["JPEG Decode/BlockSmoothing"] = size % 7 == 0 ? "ON" : "OFF";
  tavik::SetFormatSettingsStore(&store);
  tavik::fuzz::LoadThroughReadDib(data, size);
  return 0;
}
