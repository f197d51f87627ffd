#pragma once
// The base word list as the component carries it: per word length n (1..32) a size string
// (id 1000 + n, decimal character count of the unpacked list string) and a packed data block
// (RCDATA 2000 + n - 1). `LoadStrings` unpacks one block into the caller's blank-filled buffer.
//
// Packing (ours): "LXW1", the record width (1 byte), the record count (4 bytes, little-endian),
// then every record front-coded against the one before it: the number of leading characters it
// shares with that record (1 byte, less than the width, 0 for the first), then the rest of its
// characters. Records are sorted as BFindWord compares, which is what makes the shared prefixes long.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lexivane {

inline constexpr int kMaxWordLength = 32;
inline constexpr int kSizeStringBase = 1000;  // string 1000 + n: characters of the length-n list
inline constexpr int kWordDataBase = 2000;    // RCDATA 2000 + n - 1: packed length-n list
// The fixed key the control passes to LoadStrings; a different key means a caller built for
// another packing, which gets nothing rather than garbage.
inline constexpr int32_t kLoadStringsKey = 4127;

// Where the size strings and data blocks come from: the module's resources in the Windows DLL,
// files or memory natively.
class WordListSource {
 public:
  virtual ~WordListSource() = default;
  virtual std::optional<std::string> SizeString(int id) const = 0;
  // Empty when the block does not exist.
  virtual std::span<const uint8_t> Data(int id) const = 0;
};

// Packs sorted records of one width; the generator's packing, kept here for tests and tools.
std::vector<uint8_t> PackWordList(int width, std::string_view records);

// Unpacks one block of the given width into exactly `out.size()` characters.
// False (and `out` untouched past what was written) when the block is malformed or its unpacked
// size is not `out.size()`.
bool UnpackWordList(std::span<const uint8_t> block, int width, std::span<char> out);

// Parses a size string: decimal digits only, surrounding blanks allowed, at most 2^31 - 1.
std::optional<uint32_t> ParseSizeString(std::string_view text);

// Fills `buffer` (capacity `capacity`, blank-filled by the caller) with the list string for
// word length index + 1 and a terminating zero. Non-zero on success.
int LoadStrings(const WordListSource& source, int index, char* buffer, size_t capacity, int32_t key);

// Word-list files in one folder, as the build writes them: sizes.txt ("id value" lines) and
// wl<id>.bin blocks. Missing files read as missing entries. Each block is read when asked for,
// into one buffer, so start-up never holds every packed block beside the unpacked lists: the
// span Data() returns stays valid until its next call.
class WordListFolder final : public WordListSource {
 public:
  explicit WordListFolder(std::string folder);
  std::optional<std::string> SizeString(int id) const override;
  std::span<const uint8_t> Data(int id) const override;
  bool Found() const { return found_; }

 private:
  std::string folder_;
  bool found_ = false;
  std::vector<std::optional<std::string>> sizes_;
  mutable std::vector<uint8_t> block_;
};

}  // namespace lexivane
