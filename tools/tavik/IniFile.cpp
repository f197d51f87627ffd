#include "IniFile.h"

#include <fstream>
#include <strings.h>

namespace tavik {
namespace {

std::string Trim(std::string_view s) {
  const size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string_view::npos) return {};
  const size_t e = s.find_last_not_of(" \t\r");
  return std::string(s.substr(b, e - b + 1));
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {
  std::ifstream in(path_);
  std::string text, section;
  while (std::getline(in, text)) {
    const std::string t = Trim(text);
    Line line{section, {}, text};
    if (t.size() >= 2 && t.front() == '[' && t.back() == ']') {
      section = t.substr(1, t.size() - 2);
      line.section = section;
    } else if (size_t eq = t.find('='); eq != std::string::npos && t[0] != ';') {
      line.key = Trim(std::string_view(t).substr(0, eq));
    }
    lines_.push_back(std::move(line));
  }
}

std::optional<std::string> IniFile::Read(std::string_view section, std::string_view key) {
  for (const Line& line : lines_) {
    if (!line.key.empty() && SameName(line.section, section) && SameName(line.key, key)) {
      const std::string t = Trim(line.text);
      return Trim(std::string_view(t).substr(t.find('=') + 1));
    }
  }
  return std::nullopt;
}

void IniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  const std::string text = std::string(key) + "=" + std::string(value);
  size_t insertAt = lines_.size();
  bool sectionFound = false;
  for (size_t i = 0; i < lines_.size(); ++i) {
    Line& line = lines_[i];
    if (!SameName(line.section, section)) continue;
    sectionFound = true;
    insertAt = i + 1;
    if (!line.key.empty() && SameName(line.key, key)) {
      line.text = text;
      Save();
      return;
    }
  }
  if (!sectionFound) {
    lines_.push_back({std::string(section), {}, "[" + std::string(section) + "]"});
    insertAt = lines_.size();
  }
  lines_.insert(lines_.begin() + static_cast<ptrdiff_t>(insertAt),
                Line{std::string(section), std::string(key), text});
  Save();
}

void IniFile::Save() const {
  std::ofstream out(path_, std::ios::trunc);
  for (const Line& line : lines_) out << line.text << '\n';
}

}  // namespace tavik
