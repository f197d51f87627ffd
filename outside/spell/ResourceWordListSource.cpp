#include "ResourceWordListSource.h"

namespace lexivane {

std::optional<std::string> ResourceWordListSource::SizeString(int id) const {
  char text[32];
  const int length = LoadStringA(module_, static_cast<UINT>(id), text, sizeof text);
  if (length <= 0) return std::nullopt;
  return std::string(text, static_cast<size_t>(length));
}

std::span<const uint8_t> ResourceWordListSource::Data(int id) const {
  HRSRC found = FindResourceA(module_, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (found == nullptr) return {};
  // Resource memory stays mapped while the module is loaded; nothing to free.
  HGLOBAL loaded = LoadResource(module_, found);
  const DWORD size = SizeofResource(module_, found);
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data == nullptr) return {};
  return {static_cast<const uint8_t*>(data), size};
}

}  // namespace lexivane
