#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lexivane {

// The check walk's tokenizer. `position` is 1-based (0 counts as 1) and is left just after the
// word; `start` receives the word's 0-based offset. An empty result means the end of the text.
std::string NextCheckWord(std::string_view text, size_t& position, size_t& start);

}  // namespace lexivane
