#pragma once
// The base word list as a module's resources: string table entries and RCDATA blocks.

#include "WordListData.h"

#include <windows.h>

namespace lexivane {

class ResourceWordListSource final : public WordListSource {
 public:
  explicit ResourceWordListSource(HMODULE module) : module_(module) {}
  std::optional<std::string> SizeString(int id) const override;
  std::span<const uint8_t> Data(int id) const override;

 private:
  HMODULE module_;
};

}  // namespace lexivane
