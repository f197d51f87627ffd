#include "PrivateProfileStore.h"

#include <windows.h>

namespace tavik {
namespace {

// No value in the file can hold this text, so getting it back means the key is missing.
constexpr char kMissing[] = "\x01\x02<missing>";

const std::string kFile(kSettingsFileName);

}  // namespace

std::optional<std::string> PrivateProfileStore::Read(std::string_view section, std::string_view key) {
  char value[512] = {};
  GetPrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(), kMissing, value,
                           sizeof value, kFile.c_str());
  if (lstrcmpA(value, kMissing) == 0) return std::nullopt;
  return std::string(value);
}

void PrivateProfileStore::Write(std::string_view section, std::string_view key,
                                std::string_view value) {
  WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                             std::string(value).c_str(), kFile.c_str());
}

}  // namespace tavik
