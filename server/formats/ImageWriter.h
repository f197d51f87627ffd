// What every format's writer implements for the save engine: begin, one call per row, end,
// release. Rows arrive in file order (bottom row first for BMP except subtype 26, TGA and PIC;
// top row first for every other format), 24-bit rows as red-green-blue, palette rows packed at
// the output depth with the most significant bits first.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tavik {

// Where a writer's bytes go: appended in order, with the odd patch of a field already written
// (sizes known only at the end).
class OutputSink {
public:
  virtual ~OutputSink() = default;
  virtual bool Write(std::span<const uint8_t> bytes) = 0;
  virtual bool WriteAt(uint64_t offset, std::span<const uint8_t> bytes) = 0;
};

class MemorySink final : public OutputSink {
public:
  bool Write(std::span<const uint8_t> bytes) override;
  bool WriteAt(uint64_t offset, std::span<const uint8_t> bytes) override;
  std::vector<uint8_t> bytes;
};

class FileSink final : public OutputSink {
public:
  // Nothing when the file cannot be created.
  static std::unique_ptr<FileSink> Create(const std::string& path);
  ~FileSink() override;
  bool Write(std::span<const uint8_t> bytes) override;
  bool WriteAt(uint64_t offset, std::span<const uint8_t> bytes) override;
  // Flushes and closes; false when anything written did not reach the file.
  bool Close();

private:
  explicit FileSink(std::FILE* file) : file_(file) {}
  std::FILE* file_;
};

// The part of the save job a writer needs.
struct SaveJob {
  int32_t outputWidth = 0;
  int32_t outputHeight = 0;
  int outputBits = 0;  // 1, 4, 8 or 24
  int formatFamily = 0;
  int subtype = 0;
  std::string fileName;
};

// Each call returns 0 or the error code the save engine reports (84 for a short write, 119
// when the writer's own memory cannot be had).
class ImageWriter {
public:
  virtual ~ImageWriter() = default;
  // `palette` holds `colorCount` red-green-blue triples (none for 24 bits).
  virtual int Begin(OutputSink& file, const SaveJob& job, std::span<const uint8_t> palette,
                    int colorCount) = 0;
  virtual int Row(OutputSink& file, const SaveJob& job, std::span<const uint8_t> row) = 0;
  virtual int End(OutputSink& file, const SaveJob& job) = 0;
  // Frees the writer's state; safe to call more than once, and the destructor does it too.
  virtual void Release() {}
};

// The writer of a format family and subtype, or nothing when there is none yet.
std::unique_ptr<ImageWriter> MakeImageWriter(int family, int subtype);

// True when file rows for this family and subtype go top row first.
bool WritesTopRowFirst(int family, int subtype);

}  // namespace tavik
