#include "SourceReader.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace tavik {

SourceReader::SourceReader(ImageRecord& record, std::unique_ptr<ByteSource> source)
    : record_(record), source_(std::move(source)) {}

void SourceReader::Reset() {
  cursor_ = 0;
  available_ = 0;
  valid_ = 0;
  position_ = 0;
  endOfData_ = false;
}

uint64_t SourceReader::SourceSize() const {
  if (!source_ || record_.startOffset < 0) return 0;
  uint64_t real = source_->Length();
  uint64_t start = static_cast<uint64_t>(record_.startOffset);
  uint64_t there = real > start ? real - start : 0;
  // A file's size is what is on disk; for data and handles the caller's figure also bounds it.
  if (record_.sourceKind == kSourceFile || record_.sourceSize < 0) return there;
  return std::min(there, static_cast<uint64_t>(record_.sourceSize));
}

uint64_t SourceReader::ReadPosition() const {
  return static_cast<uint64_t>(record_.startOffset) + position_;
}

size_t SourceReader::ReadMore(std::span<uint8_t> out) {
  if (!source_ || position_ >= SourceSize()) return 0;
  uint64_t left = SourceSize() - position_;
  if (out.size() > left) out = out.first(static_cast<size_t>(left));
  size_t got = source_->ReadAt(ReadPosition(), out);
  position_ += got;
  return got;
}

size_t SourceReader::ReadHeader(size_t count) {
  count = std::min(count, kBufferSize);
  valid_ = ReadMore({buffer_.data(), count});
  cursor_ = 0;
  available_ = valid_;
  return valid_;
}

size_t SourceReader::Fill() {
  valid_ = ReadMore(buffer_);
  cursor_ = 0;
  available_ = valid_;
  endOfData_ = valid_ == 0;
  return valid_;
}

uint8_t SourceReader::NextByte() {
  if (endOfData_ || Fill() == 0) return 0;
  --available_;
  return buffer_[cursor_++];
}

size_t SourceReader::Read(std::span<uint8_t> out) {
  size_t done = 0;
  while (done < out.size()) {
    if (available_ == 0 && (endOfData_ || Fill() == 0)) break;
    size_t take = std::min(available_, out.size() - done);
    std::memcpy(out.data() + done, buffer_.data() + cursor_, take);
    cursor_ += take;
    available_ -= take;
    done += take;
  }
  return done;
}

void SourceReader::Skip(uint64_t count) {
  while (count > 0 && !endOfData_) {
    if (available_ == 0 && Fill() == 0) return;
    size_t take = static_cast<size_t>(std::min<uint64_t>(available_, count));
    cursor_ += take;
    available_ -= take;
    count -= take;
  }
}

int64_t SourceReader::Seek(int64_t offset, int origin) {
  const int64_t size = static_cast<int64_t>(SourceSize());
  int64_t base = origin == 0 ? 0 : origin == 1 ? static_cast<int64_t>(position_) : size;
  if (origin < 0 || origin > 2) return -1;
  // Both operands lie within +-2^63/2 only when checked: a huge offset must not wrap.
  if ((offset > 0 && base > INT64_MAX - offset) || (offset < 0 && base < INT64_MIN - offset)) {
    return -1;
  }
  int64_t target = base + offset;
  if (target < 0 || target > size) return -1;
  position_ = static_cast<uint64_t>(target);
  // The buffer is not touched, but what is left in it no longer follows the position.
  available_ = 0;
  endOfData_ = false;
  return target;
}

void SourceReader::Close() {
  source_.reset();
  record_.sourceKind = kNoSource;
}

}  // namespace tavik
