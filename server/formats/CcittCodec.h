// CCITT fax coding of bilevel rows: modified Huffman (TIFF compression 2), Group 3 with 1-D and
// 2-D rows (compression 3) and Group 4 (compression 4), after ITU-T T.4 and T.6. Rows are packed
// one bit per pixel, most significant bit first, 1 where a black run lies.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tavik {

enum class CcittCoding { kModifiedHuffman, kGroup3, kGroup4 };

enum class CcittStatus {
  kRow,       // a row was decoded
  kEnd,       // the data ran out before the row was complete
  kBadCode,   // no code matches the bits (error 79)
  kEol,       // an EOL inside Group 4 data (error 79, detail "EOL")
  kBadLength, // a Group 4 row decoded to more than width + 15 pixels
};

// Most and least significant bit swapped, for FillOrder 2.
extern const uint8_t kReversedBits[256];

class CcittDecoder {
public:
  CcittDecoder(CcittCoding coding, bool twoDimensional, int32_t width, bool reverseBits);
  // A new strip: byte-aligned, with an all-white reference line.
  void Start(std::span<const uint8_t> data);
  // Decodes the next row into `row` ((width + 7) / 8 bytes, overwritten).
  CcittStatus DecodeRow(std::span<uint8_t> row);

private:
  void Refill();
  uint32_t Peek(int n) {
    if (count_ < n) Refill();
    return static_cast<uint32_t>(acc_ >> (64 - n));
  }
  void Consume(int n) {
    acc_ <<= n;
    count_ -= n;
  }
  bool PastEnd() const { return count_ < padding_; }
  int RealBits() const { return count_ - padding_; }
  bool SkipFillAndEols();
  CcittStatus ReadRun(bool black, int32_t& run);
  CcittStatus OneDimensional();
  CcittStatus TwoDimensional();

  CcittCoding coding_;
  bool twoDimensional_;
  int32_t width_;
  bool reverse_;
  const uint8_t* next_ = nullptr;
  const uint8_t* end_ = nullptr;
  uint64_t acc_ = 0;
  int count_ = 0;    // bits in acc_
  int padding_ = 0;  // zero bits in acc_ that lie past the end of the data
  std::vector<int32_t> reference_, current_;
};

class CcittEncoder {
public:
  CcittEncoder(CcittCoding coding, int32_t width);
  // Codes one row (1 = black) and appends the bytes finished so far to `out`.
  void EncodeRow(std::span<const uint8_t> row, std::vector<uint8_t>& out);
  // Ends the data (the return-to-control of Group 3, the last byte's padding) into `out`.
  void Finish(std::vector<uint8_t>& out);

private:
  void Put(uint32_t code, int length, std::vector<uint8_t>& out);
  void PutRun(bool black, int32_t run, std::vector<uint8_t>& out);
  void PutMode(int mode, std::vector<uint8_t>& out);
  void PadToByte(std::vector<uint8_t>& out);

  CcittCoding coding_;
  int32_t width_;
  uint32_t acc_ = 0;
  int count_ = 0;
  uint64_t bitsSinceEol_ = 0;
  bool started_ = false;
  std::vector<int32_t> reference_, current_;
};

// The changing elements of a packed row (positions where the colour changes, starting from
// white), closed by three entries of `width` so that searches always stop.
void RowChanges(std::span<const uint8_t> row, int32_t width, std::vector<int32_t>& changes);

}  // namespace tavik
