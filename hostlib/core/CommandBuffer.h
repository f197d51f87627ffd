// The command buffer every command text is built in: 256 bytes, at most 255 characters and
// the closing NUL. What does not fit is dropped, strings whole, characters one by one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tavik::hostlib {

class CommandBuffer {
public:
  static constexpr std::size_t kCapacity = 256;

  void Reset() { length_ = 0; bytes_[0] = 0; }
  // Adds one character while the length is below 255; a NUL may also take byte 255.
  void AppendChar(char c);
  // Adds the whole string with its NUL, or nothing when it would not fit.
  void AppendString(std::string_view text);
  void AppendInt(int32_t value);
  // A blank and then the integer: the usual separator of command arguments.
  void AppendArg(int32_t value);
  // The conversion commands clear the last byte whatever was built.
  void ForceLastNul() { bytes_[kCapacity - 1] = 0; }

  // Takes a text written straight into Data() (a request's answer), at most 255 bytes.
  void AdoptText();
  // The text up to its first NUL; closes the text first when it ended on a character.
  const char* Text();
  uint16_t Length() const { return length_; }
  char* Data() { return bytes_; }

private:
  char bytes_[kCapacity] = {};
  uint16_t length_ = 0;
};

}  // namespace tavik::hostlib
