// The LZW coder in both modes: data that fills the table and restarts it comes back whole,
// and the decoder survives codes the table cannot have.
#include "LzwCoder.h"

#include <gtest/gtest.h>

#include <random>

namespace tavik {
namespace {

std::vector<uint8_t> Symbols(size_t n, int bits, uint32_t seed, int runChance) {
  std::mt19937 random(seed);
  std::vector<uint8_t> out;
  uint8_t last = 0;
  while (out.size() < n) {
    if (static_cast<int>(random() % 100) >= runChance) last = static_cast<uint8_t>(random() & ((1u << bits) - 1));
    out.push_back(last);
  }
  return out;
}

struct Case {
  LzwMode mode;
  int codeSize;
  int bits;  // symbol bits
};

class LzwRoundTrip : public ::testing::TestWithParam<Case> {};

TEST_P(LzwRoundTrip, DataComesBackWhole) {
  const Case c = GetParam();
  for (int runChance : {0, 60, 99}) {
    // 200000 symbols fill the 4096-entry table many times over.
    std::vector<uint8_t> input = Symbols(200000, c.bits, 7 + runChance, runChance);
    LzwEncoder encoder(c.mode, c.codeSize);
    std::vector<uint8_t> coded;
    // Fed in uneven pieces, as rows arrive.
    for (size_t at = 0; at < input.size(); at += 777) {
      encoder.Encode(std::span<const uint8_t>(input).subspan(at, std::min<size_t>(777, input.size() - at)), coded);
    }
    encoder.Finish(coded);
    LzwDecoder decoder(c.mode, c.codeSize);
    decoder.Start(coded);
    std::vector<uint8_t> output(input.size() + 10);
    // Taken out in pieces too, so strings that straddle two calls wait in between.
    size_t got = 0;
    while (got < output.size()) {
      size_t n = decoder.Produce(std::span<uint8_t>(output).subspan(got, std::min<size_t>(333, output.size() - got)));
      got += n;
      if (n == 0) break;
    }
    ASSERT_EQ(got, input.size()) << runChance;
    output.resize(got);
    EXPECT_EQ(output, input) << runChance;
    EXPECT_TRUE(decoder.Finished());
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, LzwRoundTrip,
                         ::testing::Values(Case{LzwMode::kTiff, 8, 8}, Case{LzwMode::kGif, 8, 8},
                                           Case{LzwMode::kGif, 4, 4}, Case{LzwMode::kGif, 2, 1},
                                           Case{LzwMode::kGif, 2, 2}));

TEST(LzwDecoder, CodesBeyondTheTableAreTakenAsZeroAfterAClear) {
  // GIF, code size 2, 3-bit codes, least significant bit first: clear (4), 1, then 7 (not yet in
  // the table: the next free code is 6), then end (5).
  uint32_t bits = 4 | 1 << 3 | 7 << 6 | 5 << 9;
  std::vector<uint8_t> data = {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8)};
  LzwDecoder decoder(LzwMode::kGif, 2);
  decoder.Start(data);
  std::vector<uint8_t> out(8, 0xEE);
  size_t n = decoder.Produce(out);
  ASSERT_EQ(n, 2u);
  EXPECT_EQ(out[0], 1);
  EXPECT_EQ(out[1], 0);
}

TEST(LzwDecoder, StopsAtTheEndOfTheData) {
  std::vector<uint8_t> data = {0x80};  // TIFF: the first 8 bits of a 9-bit code
  LzwDecoder decoder(LzwMode::kTiff, 8);
  decoder.Start(data);
  std::vector<uint8_t> out(4);
  EXPECT_EQ(decoder.Produce(out), 0u);
  EXPECT_TRUE(decoder.Finished());
}

TEST(LzwEncoder, TiffStreamsStartWithClearAndEndWithEoi) {
  LzwEncoder encoder(LzwMode::kTiff, 8);
  std::vector<uint8_t> coded;
  const uint8_t a[] = {'A'};
  encoder.Encode(a, coded);
  encoder.Finish(coded);
  // 9-bit codes most significant bit first: 256, 65, 257.
  EXPECT_EQ(coded, (std::vector<uint8_t>{0x80, 0x10, 0x60, 0x20}));
}

}  // namespace
}  // namespace tavik
