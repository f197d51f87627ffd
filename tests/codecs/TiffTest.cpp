// LoadTIF and the TIFF writer: every writer depth and compression read back pixel for pixel,
// the layout other readers depend on, and hand-built files for each reading rule.
#include "ByteOrder.h"
#include "CodecHelpers.h"
#include "FormatSettings.h"
#include "ReportCollector.h"
#include "TiffWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace tavik {
namespace {

using testing::Colors;
using testing::LoadData;
using testing::MakeDib;
using testing::ReportCollector;
using testing::MapStore;

// A TIFF file put together tag by tag, in either byte order; the IFD goes last.
class TiffBuilder {
public:
  explicit TiffBuilder(bool bigEndian = false) : big_(bigEndian) {
    bytes_ = {static_cast<uint8_t>(big_ ? 'M' : 'I'), static_cast<uint8_t>(big_ ? 'M' : 'I')};
    Put16(bytes_, 42);
    Put32(bytes_, 0);
  }
  uint32_t Data(const std::vector<uint8_t>& data) {
    uint32_t at = static_cast<uint32_t>(bytes_.size());
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    if (bytes_.size() & 1) bytes_.push_back(0);
    return at;
  }
  // SHORT (3), LONG (4) or BYTE (1) values, inline when they fit in four bytes.
  void Tag(uint16_t tag, uint16_t type, const std::vector<uint32_t>& values) {
    std::vector<uint8_t> raw;
    for (uint32_t v : values) {
      if (type == 3) Put16(raw, v);
      else if (type == 1) raw.push_back(static_cast<uint8_t>(v));
      else Put32(raw, v);
    }
    Entry e{tag, type, static_cast<uint32_t>(values.size()), {}};
    if (raw.size() <= 4) {
      raw.resize(4, 0);
      e.field = raw;
    } else {
      Put32(e.field, Data(raw));
    }
    entries_.push_back(e);
  }
  // A minimal strip image: one strip at `data`.
  void Image(uint32_t width, uint32_t height, const std::vector<uint8_t>& data) {
    Tag(256, 4, {width});
    Tag(257, 4, {height});
    Tag(273, 4, {Data(data)});
    Tag(279, 4, {static_cast<uint32_t>(data.size())});
  }
  std::vector<uint8_t> Finish() {
    std::sort(entries_.begin(), entries_.end(), [](auto& a, auto& b) { return a.tag < b.tag; });
    std::vector<uint8_t> out = bytes_;
    const uint32_t ifd = static_cast<uint32_t>(out.size());
    Put16(out, static_cast<uint32_t>(entries_.size()));
    for (const Entry& e : entries_) {
      Put16(out, e.tag);
      Put16(out, e.type);
      Put32(out, e.count);
      out.insert(out.end(), e.field.begin(), e.field.end());
    }
    Put32(out, 0);
    std::vector<uint8_t> offset;
    Put32(offset, ifd);
    std::copy(offset.begin(), offset.end(), out.begin() + 4);
    return out;
  }

private:
  struct Entry {
    uint16_t tag, type;
    uint32_t count;
    std::vector<uint8_t> field;
  };
  void Put16(std::vector<uint8_t>& v, uint32_t x) const {
    if (big_) v.insert(v.end(), {uint8_t(x >> 8), uint8_t(x)});
    else v.insert(v.end(), {uint8_t(x), uint8_t(x >> 8)});
  }
  void Put32(std::vector<uint8_t>& v, uint32_t x) const {
    if (big_) v.insert(v.end(), {uint8_t(x >> 24), uint8_t(x >> 16), uint8_t(x >> 8), uint8_t(x)});
    else v.insert(v.end(), {uint8_t(x), uint8_t(x >> 8), uint8_t(x >> 16), uint8_t(x >> 24)});
  }
  bool big_;
  std::vector<uint8_t> bytes_;
  std::vector<Entry> entries_;
};

// ---- the writer, read back ----

struct WriteCase {
  const char* name;
  int subtype;
  int bits;
};

class TiffWriteRead : public ::testing::TestWithParam<WriteCase> {};

TEST_P(TiffWriteRead, EveryPixelComesBack) {
  const WriteCase& c = GetParam();
  // Tall enough for several strips at 8192 bytes each; odd sizes show padding faults.
  for (auto [w, h] : {std::pair{37, 23}, std::pair{301, 211}}) {
    std::vector<Rgb> palette = c.bits == 1 ? std::vector<Rgb>{{0, 0, 0}, {255, 255, 255}}
                               : c.bits == 24 ? std::vector<Rgb>{}
                                              : testing::GrayRamp(1 << c.bits);
    if (c.bits == 8) {
      for (int i = 0; i < 256; ++i) palette[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)};
    }
    PackedDib dib = MakeDib(w, h, c.bits, palette, testing::Pattern(c.bits, 11));
    std::vector<uint8_t> file = testing::WriteDib(dib, kFamilyTIFF, c.subtype, c.bits);
    ASSERT_FALSE(file.empty());
    auto record = LoadData(file);
    ASSERT_TRUE(record) << w;
    EXPECT_EQ(record->subtype, c.subtype);
    EXPECT_EQ(Colors(record->pixels), Colors(dib)) << w;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Compressions, TiffWriteRead,
    ::testing::Values(WriteCase{"none_1", kSubUncompressed, 1}, WriteCase{"none_4", kSubUncompressed, 4},
                      WriteCase{"none_8", kSubUncompressed, 8}, WriteCase{"none_24", kSubUncompressed, 24},
                      WriteCase{"packbits_1", kSubPackBits, 1}, WriteCase{"packbits_4", kSubPackBits, 4},
                      WriteCase{"packbits_8", kSubPackBits, 8}, WriteCase{"packbits_24", kSubPackBits, 24},
                      WriteCase{"lzw_1", kSubLZW, 1}, WriteCase{"lzw_4", kSubLZW, 4},
                      WriteCase{"lzw_8", kSubLZW, 8}, WriteCase{"lzw_24", kSubLZW, 24},
                      WriteCase{"ccitt3_1", kSubCCITT3, 1}, WriteCase{"group3_1", kSubGroup3OneD, 1},
                      WriteCase{"group4_1", kSubGroup4TwoD, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TiffWriter, FaxFilesCodeBlackAsOneWhicheverWayThePaletteRuns) {
  // White first: photometric 0 and the bits as they are; black first: inverted on the way.
  for (bool blackFirst : {false, true}) {
    std::vector<Rgb> palette = {{255, 255, 255}, {0, 0, 0}};
    if (blackFirst) std::swap(palette[0], palette[1]);
    PackedDib dib = MakeDib(50, 9, 1, palette, testing::Pattern(1, 3));
    for (int subtype : {kSubCCITT3, kSubGroup3OneD, kSubGroup4TwoD}) {
      auto record = LoadData(testing::WriteDib(dib, kFamilyTIFF, subtype, 1));
      ASSERT_TRUE(record);
      EXPECT_EQ(Colors(record->pixels), Colors(dib)) << blackFirst << " " << subtype;
    }
  }
}

// The IFD of a file we wrote: tag -> (type, count, value or offset).
std::map<uint16_t, std::array<uint32_t, 3>> ReadIfd(const std::vector<uint8_t>& f,
                                                    std::vector<uint16_t>* order = nullptr) {
  std::map<uint16_t, std::array<uint32_t, 3>> tags;
  const uint32_t ifd = GetU32LE(&f[4]);
  const uint16_t n = GetU16LE(&f[ifd]);
  for (uint16_t i = 0; i < n; ++i) {
    const uint8_t* e = &f[ifd + 2 + 12 * i];
    uint16_t type = GetU16LE(e + 2);
    uint32_t count = GetU32LE(e + 4);
    tags[GetU16LE(e)] = {type, count, type == 3 && count == 1 ? GetU16LE(e + 8) : GetU32LE(e + 8)};
    if (order) order->push_back(GetU16LE(e));
  }
  return tags;
}

TEST(TiffWriter, EntriesAscendAndGroup4IsOneFineStrip) {
  PackedDib dib = MakeDib(64, 10, 1, {{0, 0, 0}, {255, 255, 255}}, testing::Pattern(1, 5));
  std::vector<uint8_t> f = testing::WriteDib(dib, kFamilyTIFF, kSubGroup4TwoD, 1);
  std::vector<uint16_t> order;
  auto tags = ReadIfd(f, &order);
  EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
  EXPECT_EQ(order.size(), 14u);
  EXPECT_EQ(tags[259][2], 4u);
  EXPECT_EQ(tags[273][1], 1u);  // one strip
  EXPECT_EQ(tags[278][2], 10u);
  EXPECT_EQ(GetU32LE(&f[tags[282][2]]), 203u);
  EXPECT_EQ(GetU32LE(&f[tags[283][2]]), 192u);
  EXPECT_EQ(tags[293][2], 0u);
}

TEST(TiffWriter, ColourMapsReachFullIntensity) {
  std::vector<Rgb> palette(16, Rgb{0, 0, 0});
  palette[3] = {255, 128, 1};
  PackedDib dib = MakeDib(4, 4, 4, palette, [](int32_t, int32_t) { return 3u; });
  std::vector<uint8_t> f = testing::WriteDib(dib, kFamilyTIFF, kSubUncompressed, 4);
  auto tags = ReadIfd(f);
  ASSERT_EQ(tags[320][1], 48u);
  const uint32_t map = tags[320][2];
  EXPECT_EQ(GetU16LE(&f[map + 2 * 3]), 65535);
  EXPECT_EQ(GetU16LE(&f[map + 2 * (16 + 3)]), 128 * 257);
  EXPECT_EQ(GetU16LE(&f[map + 2 * (32 + 3)]), 257);
  EXPECT_EQ(tags[262][2], 3u);
}

TEST(TiffWriter, RefusesFaxCodingOfColour) {
  PackedDib dib = MakeDib(4, 4, 4, testing::GrayRamp(16), [](int32_t, int32_t) { return 1u; });
  MemorySink sink;
  EXPECT_EQ(WriteDibUnscaled(dib, kFamilyTIFF, kSubGroup4TwoD, 4, sink), kErrUnsupportedCompression);
}

TEST(PackBits, RunsAndLiteralsUpTo128) {
  std::vector<uint8_t> row(300, 7);
  row[0] = 1;
  row[1] = 2;
  std::vector<uint8_t> out;
  PackBitsRow(row, out);
  // literal 2, run 128, run 128, run 42
  EXPECT_EQ(out, (std::vector<uint8_t>{1, 1, 2, 0x81, 7, 0x81, 7, uint8_t(1 - 42), 7}));
}

// ---- reading rules ----

TEST(LoadTIF, BigEndianLoadsLikeLittleEndian) {
  std::vector<uint8_t> rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30};
  std::vector<std::vector<uint32_t>> colors;
  for (bool big : {false, true}) {
    TiffBuilder b(big);
    b.Image(2, 2, rgb);
    b.Tag(258, 3, {8, 8, 8});
    b.Tag(262, 3, {2});
    b.Tag(277, 3, {3});
    auto record = LoadData(b.Finish());
    ASSERT_TRUE(record) << big;
    colors.push_back(Colors(record->pixels));
  }
  EXPECT_EQ(colors[0], colors[1]);
  EXPECT_EQ(colors[0], (std::vector<uint32_t>{0xFF0000, 0x00FF00, 0x0000FF, 0x0A141E}));
}

TEST(LoadTIF, SubImageOneOfASingleImageIsNothingAndSilent) {
  TiffBuilder b;
  b.Image(8, 1, {0xF0});
  ReportCollector reports;
  ReadRequest request;
  std::vector<uint8_t> f = b.Finish();
  request.kind = "DATA";
  request.data = f;
  request.size = static_cast<int64_t>(f.size());
  request.subImage = 1;
  EXPECT_FALSE(ReadDib(std::move(request)));
  EXPECT_TRUE(reports.reports.empty());
}

TEST(LoadTIF, GrayRampsSpanTheFullRange) {
  struct Case {
    int bits;
    int photometric;
    std::vector<uint32_t> first;  // levels of indices 0, 1, 2, 3
  } cases[] = {
      {2, 1, {0x000000, 0x555555, 0xAAAAAA, 0xFFFFFF}},
      {2, 0, {0xFFFFFF, 0xAAAAAA, 0x555555, 0x000000}},
      {4, 1, {0x000000, 0x111111, 0x222222, 0x333333}},
      {8, 0, {0xFFFFFF, 0xFEFEFE, 0xFDFDFD, 0xFCFCFC}},
  };
  for (const Case& c : cases) {
    TiffBuilder b;
    // Four pixels 0, 1, 2, 3 in one row.
    std::vector<uint8_t> row = c.bits == 2 ? std::vector<uint8_t>{0x1B}
                               : c.bits == 4 ? std::vector<uint8_t>{0x01, 0x23}
                                             : std::vector<uint8_t>{0, 1, 2, 3};
    b.Image(4, 1, row);
    b.Tag(258, 3, {uint32_t(c.bits)});
    b.Tag(262, 3, {uint32_t(c.photometric)});
    auto record = LoadData(b.Finish());
    ASSERT_TRUE(record);
    EXPECT_EQ(Colors(record->pixels), c.first) << c.bits << " " << c.photometric;
  }
}

TEST(LoadTIF, SixteenBitGrayShiftsByGrayShift) {
  MapStore store;
  store.values["Images/GRAYSHIFT"] = "4";
  SetFormatSettingsStore(&store);
  TiffBuilder b;
  b.Image(2, 1, {0xFF, 0x0F, 0x00, 0x08});  // 4095 and 2048, little-endian
  b.Tag(258, 3, {16});
  b.Tag(262, 3, {1});
  auto record = LoadData(b.Finish());
  SetFormatSettingsStore(nullptr);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->bitsPerPixel, 8);
  EXPECT_EQ(Colors(record->pixels), (std::vector<uint32_t>{0xFFFFFF, 0x808080}));
}

TEST(LoadTIF, CmykSubtractsBlackFromEachInk) {
  TiffBuilder b;
  b.Image(1, 1, {200, 10, 0, 100});
  b.Tag(258, 3, {8, 8, 8, 8});
  b.Tag(262, 3, {5});
  b.Tag(277, 3, {4});
  auto record = LoadData(b.Finish());
  ASSERT_TRUE(record);
  EXPECT_EQ(Colors(record->pixels), (std::vector<uint32_t>{0x00919B}));  // 0, 145, 155
}

TEST(LoadTIF, StripsBeyondTheTagsValuesStayWhite) {
  TiffBuilder b;
  const uint32_t s0 = b.Data({0xFF}), s1 = b.Data({0x0F});
  b.Tag(256, 4, {8});
  b.Tag(257, 4, {4});
  b.Tag(278, 4, {1});  // four strips, but only two in the tables
  b.Tag(273, 4, {s0, s1});
  b.Tag(279, 4, {1, 1});
  b.Tag(262, 3, {1});
  auto record = LoadData(b.Finish());
  ASSERT_TRUE(record);
  EXPECT_EQ(testing::IndexAt(*record, 0, 0), 1);
  EXPECT_EQ(testing::IndexAt(*record, 4, 1), 1);
  EXPECT_EQ(testing::IndexAt(*record, 0, 1), 0);
  EXPECT_EQ(testing::IndexAt(*record, 0, 3), 0);
}

TEST(LoadTIF, PackBitsRunsAreClippedToTheRow) {
  TiffBuilder b;
  // Rows of 2 bytes: a run of 4 x 0xAB (two bytes too many), then a literal row 01 02.
  b.Image(2, 2, {0xFD, 0xAB, 0x01, 0x01, 0x02});
  b.Tag(258, 3, {8});
  b.Tag(259, 3, {32773});
  b.Tag(262, 3, {1});
  auto record = LoadData(b.Finish());
  ASSERT_TRUE(record);
  EXPECT_EQ(testing::Indices(*record), (std::vector<int>{0xAB, 0xAB, 1, 2}));
}

TEST(LoadTIF, RefusedFilesReportTheirCode) {
  struct Case {
    const char* name;
    std::function<void(TiffBuilder&)> build;
    testing::Report want;
  } cases[] = {
      {"compression 7", [](TiffBuilder& b) { b.Tag(259, 3, {7}); }, {118, kLoadTIF, ""}},
      {"five samples", [](TiffBuilder& b) { b.Tag(277, 3, {5}); }, {80, kLoadTIF, ""}},
      {"12-bit samples", [](TiffBuilder& b) { b.Tag(258, 3, {12}); }, {75, kLoadTIF, ""}},
      {"3-bit samples", [](TiffBuilder& b) { b.Tag(258, 3, {3}); }, {76, kLoadTIF, ""}},
      {"rows per strip 0", [](TiffBuilder& b) { b.Tag(278, 4, {0}); }, {72, kLoadTIF, ""}},
      {"nine dot ranges", [](TiffBuilder& b) { b.Tag(336, 1, {0, 1, 2, 3, 4, 5, 6, 7, 8}); },
       {80, kLoadTIF, ""}},
      {"fax coding of gray", [](TiffBuilder& b) { b.Tag(258, 3, {8}); b.Tag(259, 3, {4}); },
       {118, kLoadTIF, ""}},
      // Samples of mixed sizes would have the RGB path read past the row.
      {"RGB of 8, 4, 4 bits", [](TiffBuilder& b) { b.Tag(258, 3, {8, 4, 4}); b.Tag(262, 3, {2}); b.Tag(277, 3, {3}); },
       {76, kLoadTIF, ""}},
  };
  for (const Case& c : cases) {
    TiffBuilder b;
    b.Image(8, 1, {0xFF, 0, 0, 0, 0, 0, 0, 0});
    c.build(b);
    ReportCollector reports;
    EXPECT_FALSE(LoadData(b.Finish())) << c.name;
    EXPECT_EQ(reports.reports, std::vector<testing::Report>{c.want}) << c.name;
  }
}

TEST(LoadTIF, StripOffsetsOfTypeByteAreRefusedByDecodeTag) {
  TiffBuilder b;
  b.Tag(256, 4, {8});
  b.Tag(257, 4, {1});
  b.Tag(273, 1, {20});
  ReportCollector reports;
  EXPECT_FALSE(LoadData(b.Finish()));
  EXPECT_EQ(reports.reports, (std::vector<testing::Report>{{72, kDecodeTag, "StripOffsets"}}));
}

TEST(LoadTIF, ABadGroup4RowEndsTheImageButKeepsTheRowsBefore) {
  // Width 100: row 0 white 94 and black 6 in horizontal mode, row 1 a white run of 120,
  // which ends the image; row 2 is never reached.
  auto bits = [](const std::string& text) {
    std::vector<uint8_t> out;
    int n = 0;
    for (char c : text) {
      if (c != '0' && c != '1') continue;
      if (n % 8 == 0) out.push_back(0);
      if (c == '1') out.back() |= static_cast<uint8_t>(0x80 >> (n % 8));
      ++n;
    }
    return out;
  };
  TiffBuilder b;
  b.Image(100, 3, bits("001 11011 00000011 0010  001 11011 01011001 0000110111  1"));
  b.Tag(259, 3, {4});
  b.Tag(262, 3, {0});
  ReportCollector reports;
  auto record = LoadData(b.Finish());
  ASSERT_TRUE(record);
  EXPECT_EQ(record->subtype, kSubGroup4TwoD);
  EXPECT_TRUE(reports.reports.empty());
  EXPECT_EQ(testing::IndexAt(*record, 93, 0), 0);
  EXPECT_EQ(testing::IndexAt(*record, 94, 0), 1);
  EXPECT_EQ(testing::IndexAt(*record, 99, 0), 1);
  EXPECT_EQ(testing::IndexAt(*record, 99, 2), 0);
}

TEST(LoadTIF, ALoopingIfdChainEnds) {
  TiffBuilder b;
  b.Image(8, 1, {0xFF});
  std::vector<uint8_t> f = b.Finish();
  // Point the IFD's next offset back at itself.
  const uint32_t ifd = GetU32LE(&f[4]);
  PutU32LE(&f[f.size() - 4], ifd);
  ReadRequest request;
  request.kind = "DATA";
  request.data = f;
  request.size = static_cast<int64_t>(f.size());
  request.subImage = 1000000;
  EXPECT_FALSE(ReadDib(std::move(request)));
}

}  // namespace
}  // namespace tavik
