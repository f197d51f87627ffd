#include "ImageWriter.h"

#include <algorithm>
#include <new>

namespace tavik {

bool MemorySink::Write(std::span<const uint8_t> more) {
  try {
    bytes.insert(bytes.end(), more.begin(), more.end());
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool MemorySink::WriteAt(uint64_t offset, std::span<const uint8_t> patch) {
  if (offset > bytes.size() || patch.size() > bytes.size() - offset) return false;
  std::copy(patch.begin(), patch.end(), bytes.begin() + static_cast<ptrdiff_t>(offset));
  return true;
}

std::unique_ptr<FileSink> FileSink::Create(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return nullptr;
  std::unique_ptr<FileSink> sink(new (std::nothrow) FileSink(file));
  if (!sink) std::fclose(file);
  return sink;
}

FileSink::~FileSink() { Close(); }

bool FileSink::Write(std::span<const uint8_t> bytes) {
  return file_ && std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
}

bool FileSink::WriteAt(uint64_t offset, std::span<const uint8_t> bytes) {
  // Patches only touch the headers, well inside the range a long can seek on every runtime.
  if (!file_ || offset > 0x7FFFFFFF) return false;
  long end = std::ftell(file_);
  if (end < 0 || std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) return false;
  bool ok = Write(bytes);
  return std::fseek(file_, end, SEEK_SET) == 0 && ok;
}

bool FileSink::Close() {
  if (!file_) return true;
  bool ok = std::fflush(file_) == 0 && !std::ferror(file_);
  ok = std::fclose(file_) == 0 && ok;
  file_ = nullptr;
  return ok;
}

}  // namespace tavik
