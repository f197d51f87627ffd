#include "ChangeList.h"

#include "SpellChars.h"

namespace lexivane {

const std::string* ChangeList::Find(std::string_view word, bool ignoreCase) const {
  for (const auto& [from, to] : pairs_)
    if (ignoreCase ? EqualNoCase(from, word) : from == word) return &to;
  return nullptr;
}

ChangeList& TheChangeList() {
  static ChangeList list;
  return list;
}

}  // namespace lexivane
