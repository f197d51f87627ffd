// A settings file in memory that remembers every write in order.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "Settings.h"

namespace tavik::testing_support {

class MemoryProfileStore : public ProfileStore {
public:
  using Key = std::pair<std::string, std::string>;

  std::optional<std::string> Read(std::string_view section, std::string_view key) override {
    auto it = values.find(Key(section, key));
    if (it == values.end()) return std::nullopt;
    return it->second;
  }
  void Write(std::string_view section, std::string_view key, std::string_view value) override {
    values[Key(section, key)] = std::string(value);
    writes.push_back(std::string(key) + "=" + std::string(value));
  }

  void Set(std::string_view section, std::string_view key, std::string_view value) {
    values[Key(section, key)] = std::string(value);
  }
  std::optional<std::string> Get(std::string_view section, std::string_view key) {
    return Read(section, key);
  }

  std::map<Key, std::string> values;
  std::vector<std::string> writes;
};

}  // namespace tavik::testing_support
