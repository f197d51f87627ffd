#include "ByteSource.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace tavik {
namespace {

// 64-bit seeks on both runtimes: long is 32 bits under mingw.
bool SeekTo(std::FILE* file, uint64_t pos) {
#ifdef _WIN32
  return _fseeki64(file, static_cast<long long>(pos), SEEK_SET) == 0;
#else
  return fseeko(file, static_cast<off_t>(pos), SEEK_SET) == 0;
#endif
}

bool FileLength(std::FILE* file, uint64_t& length) {
#ifdef _WIN32
  if (_fseeki64(file, 0, SEEK_END) != 0) return false;
  long long end = _ftelli64(file);
#else
  if (fseeko(file, 0, SEEK_END) != 0) return false;
  off_t end = ftello(file);
#endif
  if (end < 0) return false;
  length = static_cast<uint64_t>(end);
  return true;
}

}  // namespace

std::unique_ptr<FileSource> FileSource::Open(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return nullptr;
  uint64_t length = 0;
  std::unique_ptr<FileSource> source;
  if (FileLength(file, length)) source.reset(new (std::nothrow) FileSource(file, length));
  if (!source) std::fclose(file);
  return source;
}

FileSource::~FileSource() { std::fclose(file_); }

size_t FileSource::ReadAt(uint64_t pos, std::span<uint8_t> out) {
  if (pos >= length_ || out.empty() || !SeekTo(file_, pos)) return 0;
  return std::fread(out.data(), 1, out.size(), file_);
}

size_t MemorySource::ReadAt(uint64_t pos, std::span<uint8_t> out) {
  if (pos >= bytes_.size()) return 0;
  size_t count = static_cast<size_t>(std::min<uint64_t>(out.size(), bytes_.size() - pos));
  std::memcpy(out.data(), bytes_.data() + pos, count);
  return count;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
  auto source = FileSource::Open(path);
  if (!source || source->Length() > (uint64_t{1} << 30)) return false;
  try {
    bytes.resize(static_cast<size_t>(source->Length()));
  } catch (const std::bad_alloc&) {
    return false;
  }
  return source->ReadAt(0, bytes) == bytes.size();
}

}  // namespace tavik
