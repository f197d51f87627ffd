#pragma once

#include <string>
#include <string_view>

namespace lexivane {

class WordListStore;

// Every known word one edit away from `word`, case adapted to the typed word, in generation
// order, separated by carriage returns; empty when none is known.
std::string BuildSuggestions(const WordListStore& store, std::string_view word, bool ignoreCase);

}  // namespace lexivane
