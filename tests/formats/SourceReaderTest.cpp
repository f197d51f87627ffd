#include "SourceReader.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace tavik {
namespace {

// Memory that counts how often it is read, to show the reader stops touching a spent source.
class CountingSource final : public ByteSource {
public:
  explicit CountingSource(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
  size_t ReadAt(uint64_t pos, std::span<uint8_t> out) override {
    ++reads;
    return MemorySource(bytes_).ReadAt(pos, out);
  }
  uint64_t Length() override { return bytes_.size(); }
  int reads = 0;

private:
  std::vector<uint8_t> bytes_;
};

std::vector<uint8_t> Ramp(size_t n) {
  std::vector<uint8_t> v(n);
  std::iota(v.begin(), v.end(), uint8_t{0});
  return v;
}

struct Fixture {
  Fixture(std::vector<uint8_t> bytes, int64_t offset, int64_t size, int kind = kSourceData) {
    record.sourceKind = kind;
    record.startOffset = offset;
    record.sourceSize = size;
    auto owned = std::make_unique<CountingSource>(std::move(bytes));
    source = owned.get();
    reader = std::make_unique<SourceReader>(record, std::move(owned));
  }
  ImageRecord record;
  CountingSource* source;
  std::unique_ptr<SourceReader> reader;
};

TEST(SourceReader, DataOfExactlyTheHeaderSizeEndsAtTheNextFill) {
  Fixture f(Ramp(1252), 0, 1252);
  EXPECT_EQ(f.reader->ReadHeader(1252), 1252u);
  EXPECT_EQ(f.reader->Header()[1251], uint8_t(1251 & 0xFF));
  EXPECT_EQ(f.reader->Fill(), 0u);
  EXPECT_TRUE(f.reader->AtEnd());
}

TEST(SourceReader, AfterTheEndBytesAreZeroAndTheSourceIsLeftAlone) {
  Fixture f(Ramp(3), 0, 3);
  EXPECT_EQ(f.reader->GetByte(), 0);
  EXPECT_EQ(f.reader->GetByte(), 1);
  EXPECT_EQ(f.reader->GetByte(), 2);
  EXPECT_FALSE(f.reader->AtEnd());
  EXPECT_EQ(f.reader->GetByte(), 0);
  EXPECT_TRUE(f.reader->AtEnd());
  const int reads = f.source->reads;
  for (int i = 0; i < 10; ++i) EXPECT_EQ(f.reader->GetByte(), 0);
  f.reader->Skip(100);
  EXPECT_EQ(f.source->reads, reads);
}

TEST(SourceReader, StartOffsetAndDeclaredSizeBoundTheBytes) {
  Fixture f(Ramp(100), 10, 5);
  std::vector<uint8_t> out(20, 0xEE);
  EXPECT_EQ(f.reader->Read(out), 5u);
  EXPECT_EQ(out[0], 10);
  EXPECT_EQ(out[4], 14);
  EXPECT_EQ(out[5], 0xEE);
}

TEST(SourceReader, DeclaredSizeLargerThanTheDataIsBoundedByTheRealData) {
  Fixture f(Ramp(50), 40, 1000000);
  std::vector<uint8_t> out(100);
  EXPECT_EQ(f.reader->Read(out), 10u);
  EXPECT_EQ(f.reader->Seek(10, 0), 10);
  EXPECT_EQ(f.reader->Seek(11, 0), -1) << "the data end, not the declared size, bounds seeks";
  Fixture past(Ramp(50), 60, 10);
  EXPECT_EQ(past.reader->ReadHeader(1252), 0u) << "start offset beyond the data";
}

TEST(SourceReader, SeeksAreCheckedFromEveryOrigin) {
  Fixture f(Ramp(64), 0, 64);
  EXPECT_EQ(f.reader->Seek(64, 0), 64) << "the exact size is a valid position";
  EXPECT_EQ(f.reader->Seek(65, 0), -1);
  EXPECT_EQ(f.reader->Seek(-1, 0), -1);
  EXPECT_EQ(f.reader->Seek(-4, 2), 60);
  EXPECT_EQ(f.reader->GetByte(), 60);
  EXPECT_EQ(f.reader->Seek(-65, 2), -1) << "from the end, before the start";
  EXPECT_EQ(f.reader->Seek(1, 2), -1) << "from the end, past the end";
  EXPECT_EQ(f.reader->Seek(INT64_MIN, 2), -1);
  EXPECT_EQ(f.reader->Seek(INT64_MAX, 1), -1);
  EXPECT_EQ(f.reader->Seek(10, 0), 10);
  EXPECT_EQ(f.reader->Seek(0, 1), 10);
  EXPECT_EQ(f.reader->Seek(5, 1), 15);
  EXPECT_EQ(f.reader->Seek(0, 7), -1);
}

TEST(SourceReader, SeekThenReadTakesBytesFromTheNewPosition) {
  Fixture f(Ramp(200), 0, 200);
  f.reader->ReadHeader(100);
  EXPECT_EQ(f.reader->Header().size(), 100u);
  EXPECT_EQ(f.reader->Seek(150, 0), 150);
  EXPECT_EQ(f.reader->GetByte(), 150);
  f.reader->Skip(9);
  EXPECT_EQ(f.reader->GetByte(), 160);
}

TEST(SourceReader, ReadsSpanManyFills) {
  Fixture f(Ramp(10000), 0, 10000);
  std::vector<uint8_t> out(9000);
  EXPECT_EQ(f.reader->Read(out), 9000u);
  EXPECT_EQ(out[4096], uint8_t(4096 & 0xFF));
  EXPECT_EQ(out[8999], uint8_t(8999 & 0xFF));
  EXPECT_EQ(f.reader->Read(out), 1000u);
}

TEST(SourceReader, CloseSetsTheKindBackToNone) {
  Fixture f(Ramp(10), 0, 10, kSourceHandle);
  f.reader->Close();
  EXPECT_EQ(f.record.sourceKind, kNoSource);
  EXPECT_EQ(f.reader->ReadHeader(10), 0u);
}

}  // namespace
}  // namespace tavik
