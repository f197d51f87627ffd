#include "FormatDetect.h"

#include "ByteOrder.h"
#include "ImageRecord.h"

#include <cstring>

namespace tavik {
namespace {

struct Head {
  std::span<const uint8_t> b;
  size_t n() const { return b.size(); }
  uint16_t w(size_t i) const { return GetU16LE(b.data() + i); }
  uint32_t d(size_t i) const { return GetU32LE(b.data() + i); }
  bool Is(size_t at, const char* text, size_t len) const {
    return std::memcmp(b.data() + at, text, len) == 0;
  }
  // Exclusive-or of the words at 0, 2, ..., last (inclusive).
  uint16_t XorWords(size_t last) const {
    uint16_t sum = 0;
    for (size_t i = 0; i <= last; i += 2) sum ^= w(i);
    return sum;
  }
};

bool IsOneOf(uint8_t v, std::initializer_list<uint8_t> set) {
  for (uint8_t s : set) {
    if (v == s) return true;
  }
  return false;
}

constexpr char kJfifApp0[] = "\xFF\xD8\xFF\xE0\x00\x10JFIF";

// Each test reads only bytes below its own count condition, so a short head is safe.
bool IsPCX(const Head& h) {
  return h.n() > 128 && h.b[0] == 0x0A && h.b[2] == 1 && IsOneOf(h.b[3], {1, 2, 4, 8});
}
bool IsGIF(const Head& h) { return h.n() > 8 && (h.Is(0, "GIF87a", 6) || h.Is(0, "GIF89a", 6)); }
bool IsGGC(const Head& h) {
  return h.n() > 8 && IsOneOf(h.b[4], {2, 3, 6}) && h.b[6] == 'G' && h.b[7] == 'C';
}
bool IsMacBinary(const Head& h) { return h.n() > 68 && h.Is(65, "PNTG", 4); }
bool IsGemImg(const Head& h) { return h.n() > 6 && h.Is(0, "\x00\x01\x00\x08\x00\x01", 6); }
bool IsTIFF(const Head& h) {
  // "MM" files are tested at b[3] only; b[2] is not looked at.
  return h.n() > 4 && ((h.b[0] == 'I' && h.b[1] == 'I' && h.b[2] == 0x2A) ||
                       (h.b[0] == 'M' && h.b[1] == 'M' && h.b[3] == 0x2A));
}
bool IsBMP(const Head& h) { return h.n() > 13 && h.b[0] == 'B' && h.b[1] == 'M'; }
bool IsTGA(const Head& h) {
  if (h.n() <= 17 || !IsOneOf(h.b[17], {0x00, 0x01, 0x10, 0x11, 0x20, 0x21, 0x30, 0x31})) {
    return false;
  }
  bool mapped = h.b[16] == 8 && h.b[1] == 1 && IsOneOf(h.b[2], {1, 9});
  bool gray = h.b[16] == 8 && h.b[1] == 0 && IsOneOf(h.b[2], {3, 11});
  bool trueColor = IsOneOf(h.b[16], {16, 24, 32}) && h.b[1] == 0 && (h.b[2] & 0x2);
  return (mapped || gray || trueColor) && h.w(12) != 0 && h.w(14) != 0;
}
bool IsMSP(const Head& h) {
  // The checksum covers w[0]..w[22] and sits at w[24]: those bytes reach offset 25.
  if (h.n() <= 16 || h.n() < 26) return false;
  bool v1 = h.w(0) == 0x694C && h.w(2) == 0x536E;
  bool v2 = h.w(0) == 0x6144 && h.w(2) == 0x4D6E;
  return (v1 || v2) && h.XorWords(22) == h.w(24);
}
bool IsWPG(const Head& h) { return h.n() > 9 && h.Is(0, "\xFF\x57\x50\x43", 4) && h.b[9] == 0x16; }
bool IsPIC(const Head& h) {
  if (h.n() <= 16 || h.w(0) != 0x1234) return false;
  uint16_t at15 = h.w(15);
  return IsOneOf(h.b[10], {1, 2, 4, 8, 0x31}) && h.b[11] == 0xFF &&
         (at15 == 0x0000 || at15 == 0x0030 || at15 == 0x0300);
}
bool IsPlaceableWMF(const Head& h) {
  // The checksum sits at w[20], so 22 bytes must be there even though the test asks n > 10.
  return h.n() > 10 && h.n() >= 22 && h.d(0) == 0x9AC6CDD7 && h.XorWords(18) == h.w(20);
}
bool IsJFIF(const Head& h) { return h.n() > 10 && h.Is(0, kJfifApp0, 10); }
bool IsJFIFAt42(const Head& h) { return h.n() > 52 && h.Is(42, kJfifApp0, 10); }
bool IsRAS(const Head& h) { return h.n() > 4 && (h.d(0) == 0x59A66A95 || h.d(0) == 0x956AA659); }
bool IsX11(const Head& h) { return h.n() > 7 && h.Is(0, "#define", 7); }
bool IsJPEG(const Head& h) { return h.n() > 10 && h.Is(0, "\xFF\xD8\xFF", 3); }
bool IsEMF(const Head& h) { return h.n() > 44 && h.Is(40, " EMF", 4); }

struct DetectTest {
  bool (*holds)(const Head&);
  int family;
};

// The order decides: the first test that holds names the format.
constexpr DetectTest kTests[] = {
    {IsPCX, kFamilyPCX},  {IsGIF, kFamilyGIF},          {IsGGC, kFamilyGGC},
    {IsMacBinary, kFamilyMAC}, {IsGemImg, kFamilyIMG},  {IsTIFF, kFamilyTIFF},
    {IsBMP, kFamilyBMP},  {IsTGA, kFamilyTGA},          {IsMSP, kFamilyMSP},
    {IsWPG, kFamilyWPG},  {IsPIC, kFamilyPIC},          {IsPlaceableWMF, kFamilyWMF},
    {IsJFIF, kFamilyJPG}, {IsJFIFAt42, kFamilyJPG},     {IsRAS, kFamilyRAS},
    {IsX11, kFamilyX11},  {IsJPEG, kFamilyJPG},         {IsEMF, kFamilyWMF},
};

}  // namespace

int DetectFormat(std::span<const uint8_t> head) {
  Head h{head};
  for (const DetectTest& test : kTests) {
    if (test.holds(h)) return test.family;
  }
  return kFamilyUndefined;
}

}  // namespace tavik
