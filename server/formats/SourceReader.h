// The buffered reader every loader reads its source through: one 4096-byte buffer, filled from
// the record's source. After the header read the buffer holds the first bytes of the image,
// which detection and header parsing read in place before the loader seeks and fills.
#pragma once

#include "ByteSource.h"
#include "ImageRecord.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>

namespace tavik {

class SourceReader {
public:
  static constexpr size_t kBufferSize = 4096;

  // Takes over `source` for `record`, whose kind, start offset and size are already set.
  SourceReader(ImageRecord& record, std::unique_ptr<ByteSource> source);
  ~SourceReader() { Close(); }
  SourceReader(const SourceReader&) = delete;
  SourceReader& operator=(const SourceReader&) = delete;

  void Reset();
  // Fills the buffer with up to `count` bytes from the current position; returns how many.
  size_t ReadHeader(size_t count);
  // The bytes the header read (or the last fill) put into the buffer.
  std::span<const uint8_t> Header() const { return {buffer_.data(), valid_}; }
  // Refills the whole buffer from the current position; end of data when nothing came.
  size_t Fill();
  // The byte-reading convention of every loader: 0 past the end, with AtEnd() then true.
  uint8_t GetByte() {
    if (available_ != 0) {
      --available_;
      return buffer_[cursor_++];
    }
    return NextByte();
  }
  // Copies up to out.size() bytes through the buffer; fewer only at the end of the data.
  size_t Read(std::span<uint8_t> out);
  void Skip(uint64_t count);
  // origin 0 = from the image start, 1 = from the current position, 2 = from the end. Returns
  // the new position or -1; a target before the start or past the end fails for every kind.
  int64_t Seek(int64_t offset, int origin);
  void Close();

  bool AtEnd() const { return endOfData_; }
  // Bytes of the source from the image start, as declared and as really there.
  uint64_t SourceSize() const;

private:
  uint8_t NextByte();
  // Where the next fill reads, counted from the start of the bytes behind the source.
  uint64_t ReadPosition() const;
  size_t ReadMore(std::span<uint8_t> out);

  ImageRecord& record_;
  std::unique_ptr<ByteSource> source_;
  std::array<uint8_t, kBufferSize> buffer_{};
  size_t cursor_ = 0;
  size_t available_ = 0;
  size_t valid_ = 0;
  uint64_t position_ = 0;  // bytes consumed from the start offset
  bool endOfData_ = false;
};

}  // namespace tavik
