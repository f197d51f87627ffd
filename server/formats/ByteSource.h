// The bytes behind an image source. "FILE" is a file on disk; "DATA" and "HANDLE" are memory
// the Win32 layer maps from a DDE data handle or a global block. Either way a read never goes
// past the real end of the bytes, whatever size the caller declared.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tavik {

class ByteSource {
public:
  virtual ~ByteSource() = default;
  // Copies up to out.size() bytes from absolute position `pos`; returns how many it copied,
  // 0 at or past the end or when the bytes cannot be reached.
  virtual size_t ReadAt(uint64_t pos, std::span<uint8_t> out) = 0;
  // The real length of the bytes.
  virtual uint64_t Length() = 0;
};

class FileSource final : public ByteSource {
public:
  // Nothing when the file cannot be opened for reading.
  static std::unique_ptr<FileSource> Open(const std::string& path);
  ~FileSource() override;
  size_t ReadAt(uint64_t pos, std::span<uint8_t> out) override;
  uint64_t Length() override { return length_; }

private:
  explicit FileSource(std::FILE* file, uint64_t length) : file_(file), length_(length) {}
  std::FILE* file_;
  uint64_t length_;
};

// A view of memory someone else owns for the duration of the load.
class MemorySource final : public ByteSource {
public:
  explicit MemorySource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  size_t ReadAt(uint64_t pos, std::span<uint8_t> out) override;
  uint64_t Length() override { return bytes_.size(); }

private:
  std::span<const uint8_t> bytes_;
};

// Whole-file helper for tools and tests; false when the file cannot be read.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes);

}  // namespace tavik
