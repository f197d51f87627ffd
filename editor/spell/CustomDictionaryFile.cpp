// The custom dictionary file (.cud): names, load, save and the name change of WordListStore.
// File names are UTF-8; the control converts its wide names at its boundary.

#include "SpellChars.h"
#include "WordListStore.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace lexivane {
namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

// A custom dictionary is a user's word list; anything this big is not one, and reading it
// whole would only exhaust memory.
constexpr uint64_t kMaxCustomDictionaryBytes = 64u << 20;

std::filesystem::path ToPath(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

SpellError CantOpen(std::string_view name) {
  return {kErrCantOpenCustomDictionary, "Can't open custom dictionary file '" + std::string(name) + "'"};
}

}  // namespace

void WordListStore::SetWindowsDirectory(std::string_view directory) {
  directory = directory.substr(0, directory.find('\0'));
  if (directory.size() > 255) directory = directory.substr(0, 255);
  if (!directory.empty() && (directory.back() == '\\' || directory.back() == '/')) directory.remove_suffix(1);
  windowsDirectory_ = directory;
}

std::string WordListStore::DefaultCustomDictionaryName() const {
  return windowsDirectory_ + kSeparator + std::string(kCustomDictionaryBareName);
}

std::string WordListStore::NormaliseCustomDictionaryName(std::string_view fileName) const {
  if (fileName.empty()) return DefaultCustomDictionaryName();
  std::string name(fileName);
  if (name.size() < 4 || LowerCase(std::string_view(name).substr(name.size() - 4)) != ".cud") name += ".cud";
  return name;
}

std::optional<SpellError> WordListStore::LoadCustomDictionary(std::string_view fileName, bool appendToExisting) {
  if (!appendToExisting) ClearCustomDictionary();
  std::string name;
  if (fileName.empty()) {
    currentFileName_ = DefaultCustomDictionaryName();
    name = currentFileName_;
  } else {
    name = NormaliseCustomDictionaryName(fileName);
  }
  std::optional<SpellError> error;
  const std::filesystem::path path = ToPath(name);
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) {
    std::ifstream in(path, std::ios::binary);
    const auto size = std::filesystem::file_size(path, ec);
    if (!in || ec || size > kMaxCustomDictionaryBytes) {
      error = CantOpen(name);
    } else {
      std::string text(std::istreambuf_iterator<char>(in), {});
      AddWordsToList(kCustomList, text);
    }
  }
  customDirty_ = false;
  return error;
}

bool WordListStore::SaveCustomDictionary(std::string_view fileName) {
  const std::string text = CustomDictionaryText();
  if (text.empty()) return true;
  const std::filesystem::path target = ToPath(NormaliseCustomDictionaryName(fileName));
  // The old file stays until the new one is complete.
  std::filesystem::path temporary = target;
  temporary += ".tmp";
  std::error_code ec;
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
      std::filesystem::remove(temporary, ec);
      return false;
    }
  }
  std::filesystem::rename(temporary, target, ec);
  if (ec) {
    std::filesystem::remove(temporary, ec);
    return false;
  }
  customDirty_ = false;
  return true;
}

std::optional<SpellError> WordListStore::SetCustomDictionaryFileName(std::string_view fileName) {
  const bool unsaved = !SaveCustomDictionary(currentFileName_);
  currentFileName_ = NormaliseCustomDictionaryName(fileName);
  auto error = LoadCustomDictionary(currentFileName_, true);
  // Words a failed save could not write are still owed to a file: the new one, at control end.
  if (unsaved) customDirty_ = true;
  return error;
}

}  // namespace lexivane
