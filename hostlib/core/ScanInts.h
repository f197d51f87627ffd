// The number walk of IMSCANINTS, apart from the host so it can be tested on its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tavik::hostlib {

class IntScanner {
public:
  explicit IntScanner(std::string_view text) : text_(text) {}
  // Skips blanks and commas, reads digits; false (cursor on the stopper) when none came.
  bool Next(int32_t* value);

private:
  std::string_view text_;
  std::size_t cursor_ = 0;
};

}  // namespace tavik::hostlib
