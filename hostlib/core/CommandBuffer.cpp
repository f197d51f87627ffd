#include "CommandBuffer.h"

#include <cstdio>
#include <cstring>

namespace tavik::hostlib {

void CommandBuffer::AppendChar(char c) {
  if (length_ < kCapacity - 1 || (length_ == kCapacity - 1 && c == 0)) bytes_[length_++] = c;
}

void CommandBuffer::AppendString(std::string_view text) {
  // The NUL goes in too, so the text must leave room for it.
  if (length_ + text.size() >= kCapacity) return;
  std::memcpy(bytes_ + length_, text.data(), text.size());
  length_ = static_cast<uint16_t>(length_ + text.size());
  bytes_[length_] = 0;
}

void CommandBuffer::AppendInt(int32_t value) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%ld", static_cast<long>(value));
  AppendString(digits);
}

void CommandBuffer::AppendArg(int32_t value) {
  AppendString(" ");
  AppendInt(value);
}

void CommandBuffer::AdoptText() {
  bytes_[kCapacity - 1] = 0;
  length_ = static_cast<uint16_t>(std::strlen(bytes_));
}

const char* CommandBuffer::Text() {
  if (length_ < kCapacity) bytes_[length_] = 0;
  return bytes_;
}

}  // namespace tavik::hostlib
