// tavik.ini as a ProfileStore over a plain file: sections in brackets, key=value lines, keys
// and sections matched without regard to case as the private-profile functions do. Missing
// keys the settings model writes go back into the file.
#pragma once

#include "Settings.h"

#include <string>
#include <vector>

namespace tavik {

class IniFile final : public ProfileStore {
public:
  // An unreadable file reads as empty; it is created on the first write.
  explicit IniFile(std::string path);
  std::optional<std::string> Read(std::string_view section, std::string_view key) override;
  void Write(std::string_view section, std::string_view key, std::string_view value) override;

private:
  struct Line {
    std::string section;  // the section the line belongs to
    std::string key;      // empty for section headers, comments and blank lines
    std::string text;     // the whole line as written
  };
  void Save() const;

  std::string path_;
  std::vector<Line> lines_;
};

}  // namespace tavik
