// The settings model's store over the private-profile functions (tavik.ini in the Windows
// directory, as the system places a file named without a directory).
#pragma once

#include "Settings.h"

namespace tavik {

class PrivateProfileStore final : public ProfileStore {
public:
  std::optional<std::string> Read(std::string_view section, std::string_view key) override;
  void Write(std::string_view section, std::string_view key, std::string_view value) override;
};

}  // namespace tavik
