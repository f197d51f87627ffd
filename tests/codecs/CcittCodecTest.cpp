// CCITT coding against the T.4 and T.6 rules: rows through each coder and back, and bit
// strings written out by hand for the decoder's edge cases.
#include "CcittCodec.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace tavik {
namespace {

// "0011 0101" -> bytes, most significant bit first; spaces are ignored, the tail padded with 0.
std::vector<uint8_t> Bits(const std::string& text) {
  std::vector<uint8_t> out;
  int n = 0;
  for (char c : text) {
    if (c != '0' && c != '1') continue;
    if (n % 8 == 0) out.push_back(0);
    if (c == '1') out.back() |= static_cast<uint8_t>(0x80 >> (n % 8));
    ++n;
  }
  return out;
}

std::vector<uint8_t> Row(int32_t width, const std::function<bool(int32_t)>& black) {
  std::vector<uint8_t> row((width + 7) / 8, 0);
  for (int32_t x = 0; x < width; ++x) {
    if (black(x)) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
  }
  return row;
}

struct RoundTripCase {
  const char* name;
  CcittCoding coding;
  int32_t width;
};

class CcittRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(CcittRoundTrip, RowsComeBackBitForBit) {
  const RoundTripCase& c = GetParam();
  std::mt19937 random(c.width);
  std::vector<std::vector<uint8_t>> rows = {
      Row(c.width, [](int32_t) { return false; }),
      Row(c.width, [](int32_t) { return true; }),
      Row(c.width, [](int32_t x) { return x % 2 == 1; }),
      Row(c.width, [](int32_t x) { return x == 0; }),
      Row(c.width, [&](int32_t x) { return x == c.width - 1; }),
  };
  // Runs of random lengths, some of them longer than the longest make-up code.
  for (int k = 0; k < 20; ++k) {
    std::vector<bool> bits(c.width);
    bool black = random() & 1;
    for (int32_t x = 0; x < c.width;) {
      int32_t run = 1 + static_cast<int32_t>(random() % (k % 3 == 0 ? 3000 : 40));
      for (int32_t i = 0; i < run && x < c.width; ++i) bits[x++] = black;
      black = !black;
    }
    rows.push_back(Row(c.width, [&](int32_t x) { return bits[x]; }));
  }
  CcittEncoder encoder(c.coding, c.width);
  std::vector<uint8_t> data;
  for (const auto& row : rows) encoder.EncodeRow(row, data);
  encoder.Finish(data);

  CcittDecoder decoder(c.coding, false, c.width, false);
  decoder.Start(data);
  std::vector<uint8_t> got((c.width + 7) / 8);
  for (size_t i = 0; i < rows.size(); ++i) {
    ASSERT_EQ(decoder.DecodeRow(got), CcittStatus::kRow) << "row " << i;
    EXPECT_EQ(got, rows[i]) << "row " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Codings, CcittRoundTrip,
    ::testing::Values(RoundTripCase{"mh_1", CcittCoding::kModifiedHuffman, 1},
                      RoundTripCase{"mh_1728", CcittCoding::kModifiedHuffman, 1728},
                      RoundTripCase{"mh_6000", CcittCoding::kModifiedHuffman, 6000},
                      RoundTripCase{"g3_7", CcittCoding::kGroup3, 7},
                      RoundTripCase{"g3_1728", CcittCoding::kGroup3, 1728},
                      RoundTripCase{"g3_6000", CcittCoding::kGroup3, 6000},
                      RoundTripCase{"g4_1", CcittCoding::kGroup4, 1},
                      RoundTripCase{"g4_100", CcittCoding::kGroup4, 100},
                      RoundTripCase{"g4_1728", CcittCoding::kGroup4, 1728},
                      RoundTripCase{"g4_6000", CcittCoding::kGroup4, 6000}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CcittDecode, WhiteRowOf1728IsMakeUp1728ThenTerminating0) {
  CcittDecoder decoder(CcittCoding::kModifiedHuffman, false, 1728, false);
  std::vector<uint8_t> data = Bits("010011011 00110101");
  decoder.Start(data);
  std::vector<uint8_t> row(216, 0xAA);
  ASSERT_EQ(decoder.DecodeRow(row), CcittStatus::kRow);
  EXPECT_EQ(row, std::vector<uint8_t>(216, 0));
}

TEST(CcittDecode, ModifiedHuffmanIgnoresTheRestOfARowsLastByte) {
  // Width 8: white 3 (1000), black 2 (11), white 3 (1000) = 10 bits, then 6 stray ones that
  // must not be read as codes; the second row is white 8 (10011).
  CcittDecoder decoder(CcittCoding::kModifiedHuffman, false, 8, false);
  std::vector<uint8_t> data = Bits("1000 11 1000 111111  10011 000");
  decoder.Start(data);
  std::vector<uint8_t> row(1);
  ASSERT_EQ(decoder.DecodeRow(row), CcittStatus::kRow);
  EXPECT_EQ(row[0], 0x18);
  ASSERT_EQ(decoder.DecodeRow(row), CcittStatus::kRow);
  EXPECT_EQ(row[0], 0x00);
}

TEST(CcittDecode, Group3AcceptsZeroFillOfAnyLengthBeforeAnEol) {
  const std::string eol = "000000000001";
  for (int fill : {0, 1, 7, 40, 300}) {
    // Width 8: white 0 (00110101), black 8 (000101).
    std::string text = eol + "00110101 000101" + std::string(fill, '0') + eol + "10011";
    CcittDecoder decoder(CcittCoding::kGroup3, false, 8, false);
    std::vector<uint8_t> data = Bits(text);
    decoder.Start(data);
    std::vector<uint8_t> row(1);
    ASSERT_EQ(decoder.DecodeRow(row), CcittStatus::kRow) << fill;
    EXPECT_EQ(row[0], 0xFF) << fill;  // white 0, black 8
    ASSERT_EQ(decoder.DecodeRow(row), CcittStatus::kRow) << fill;
    EXPECT_EQ(row[0], 0x00) << fill;
  }
}

TEST(CcittDecode, Group4RowLengthSlackIsFifteenPixels) {
  // Horizontal mode: white 64 + 46 = 110 (or 64 + 56 = 120), then black 0.
  const std::string white110 = "001 11011 00000101 0000110111";
  const std::string white120 = "001 11011 01011001 0000110111";
  std::vector<uint8_t> row(13);
  {
    CcittDecoder decoder(CcittCoding::kGroup4, false, 100, false);
    std::vector<uint8_t> data = Bits(white110);
    decoder.Start(data);
    EXPECT_EQ(decoder.DecodeRow(row), CcittStatus::kRow);
  }
  {
    CcittDecoder decoder(CcittCoding::kGroup4, false, 100, false);
    std::vector<uint8_t> data = Bits(white120);
    decoder.Start(data);
    EXPECT_EQ(decoder.DecodeRow(row), CcittStatus::kBadLength);
  }
}

TEST(CcittDecode, ErrorsAreTold) {
  std::vector<uint8_t> row(2);
  struct Case {
    CcittCoding coding;
    std::string bits;
    CcittStatus want;
  } cases[] = {
      {CcittCoding::kGroup4, "000000000001 000", CcittStatus::kEol},
      {CcittCoding::kGroup4, "0000000000000000", CcittStatus::kBadCode},
      {CcittCoding::kModifiedHuffman, "000000000000 0000", CcittStatus::kBadCode},
      {CcittCoding::kModifiedHuffman, "0111", CcittStatus::kEnd},  // white 2, then nothing
      {CcittCoding::kGroup3, "", CcittStatus::kEnd},
      {CcittCoding::kGroup4, "0000001 111", CcittStatus::kBadCode},  // uncompressed mode
  };
  for (const Case& c : cases) {
    CcittDecoder decoder(c.coding, false, 16, false);
    std::vector<uint8_t> data = Bits(c.bits);
    decoder.Start(data);
    EXPECT_EQ(decoder.DecodeRow(row), c.want) << c.bits;
  }
}

TEST(CcittDecode, FillOrder2MatchesTheSameDataBitReversed) {
  const int32_t width = 300;
  CcittEncoder encoder(CcittCoding::kGroup4, width);
  std::vector<uint8_t> data;
  std::vector<std::vector<uint8_t>> rows;
  for (int k = 0; k < 10; ++k) {
    rows.push_back(Row(width, [k](int32_t x) { return (x / (k + 3)) % 3 == 0; }));
    encoder.EncodeRow(rows.back(), data);
  }
  encoder.Finish(data);
  std::vector<uint8_t> reversed = data;
  for (uint8_t& b : reversed) b = kReversedBits[b];
  CcittDecoder decoder(CcittCoding::kGroup4, false, width, true);
  decoder.Start(reversed);
  std::vector<uint8_t> row((width + 7) / 8);
  for (const auto& want : rows) {
    ASSERT_EQ(decoder.DecodeRow(row), CcittStatus::kRow);
    EXPECT_EQ(row, want);
  }
}

TEST(CcittEncode, Group3StartsWithAnEolAndEndsWithSixInARow) {
  CcittEncoder encoder(CcittCoding::kGroup3, 8);
  std::vector<uint8_t> data;
  encoder.EncodeRow(Row(8, [](int32_t) { return false; }), data);
  encoder.Finish(data);
  std::string bits;
  for (uint8_t b : data) {
    for (int i = 7; i >= 0; --i) bits += (b >> i) & 1 ? '1' : '0';
  }
  EXPECT_EQ(bits.substr(0, 12), "000000000001");
  const std::string eol = "000000000001";
  std::string rtc;
  for (int i = 0; i < 6; ++i) rtc += eol;
  const size_t last = bits.find_last_of('1');
  ASSERT_GE(last + 1, rtc.size());
  EXPECT_EQ(bits.substr(last + 1 - rtc.size(), rtc.size()), rtc);
  // The single row, padded to 180 bits from its EOL, sits between the first EOL and the RTC.
  EXPECT_GE(last + 1 - rtc.size() - 12, 180u);
}

}  // namespace
}  // namespace tavik
