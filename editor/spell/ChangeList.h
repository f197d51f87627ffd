#pragma once
// Pairs made by Change All: searched from the first, appended at the end, kept for the life of
// the process and shared by every control instance.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lexivane {

class ChangeList {
 public:
  void Append(std::string_view word, std::string_view replacement) {
    pairs_.emplace_back(std::string(word), std::string(replacement));
  }
  // The replacement of the first pair whose word matches, or null.
  const std::string* Find(std::string_view word, bool ignoreCase) const;
  size_t Size() const { return pairs_.size(); }

 private:
  std::vector<std::pair<std::string, std::string>> pairs_;
};

ChangeList& TheChangeList();

}  // namespace lexivane
