#include "ScanInts.h"

namespace tavik::hostlib {

bool IntScanner::Next(int32_t* value) {
  while (cursor_ < text_.size() && (text_[cursor_] == ' ' || text_[cursor_] == ',')) ++cursor_;
  int64_t number = 0;
  bool digits = false;
  while (cursor_ < text_.size() && text_[cursor_] >= '0' && text_[cursor_] <= '9') {
    // A run of digits beyond int32 holds at the largest value rather than wrapping.
    number = number * 10 + (text_[cursor_] - '0');
    if (number > INT32_MAX) number = INT32_MAX;
    digits = true;
    ++cursor_;
  }
  if (digits) *value = static_cast<int32_t>(number);
  return digits;
}

}  // namespace tavik::hostlib
