#include "WordListData.h"

#include <cstring>
#include <fstream>
#include <sstream>
#include <utility>

namespace lexivane {
namespace {

constexpr char kMagic[4] = {'L', 'X', 'W', '1'};
constexpr size_t kHeaderSize = 9;
// A block never unpacks to more than this: the largest list string is well below it, and the
// bound keeps a damaged count from asking for gigabytes.
constexpr uint64_t kMaxUnpacked = 64u << 20;

}  // namespace

std::vector<uint8_t> PackWordList(int width, std::string_view records) {
  std::vector<uint8_t> out(kMagic, kMagic + 4);
  if (width < 1 || width > kMaxWordLength) return {};
  const size_t w = static_cast<size_t>(width);
  const size_t count = records.size() / w;
  out.push_back(static_cast<uint8_t>(width));
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>((count >> (8 * i)) & 0xFF));
  std::string_view previous;
  for (size_t r = 0; r < count; ++r) {
    std::string_view record = records.substr(r * w, w);
    size_t shared = 0;
    if (r > 0)
      while (shared + 1 < w && record[shared] == previous[shared]) ++shared;
    out.push_back(static_cast<uint8_t>(shared));
    out.insert(out.end(), record.begin() + static_cast<std::ptrdiff_t>(shared), record.end());
    previous = record;
  }
  return out;
}

bool UnpackWordList(std::span<const uint8_t> block, int width, std::span<char> out) {
  if (width < 1 || width > kMaxWordLength) return false;
  if (block.size() < kHeaderSize || std::memcmp(block.data(), kMagic, 4) != 0) return false;
  if (block[4] != width) return false;
  uint64_t count = 0;
  for (int i = 0; i < 4; ++i) count |= static_cast<uint64_t>(block[5 + i]) << (8 * i);
  const uint64_t w = static_cast<uint64_t>(width);
  if (count * w > kMaxUnpacked || count * w != out.size()) return false;
  size_t in = kHeaderSize;
  for (uint64_t r = 0; r < count; ++r) {
    if (in >= block.size()) return false;
    const uint64_t shared = block[in++];
    if (shared >= w || (r == 0 && shared != 0)) return false;
    const uint64_t rest = w - shared;
    if (block.size() - in < rest) return false;
    char* record = out.data() + r * w;
    if (shared > 0) std::memcpy(record, record - w, shared);
    std::memcpy(record + shared, block.data() + in, rest);
    in += rest;
  }
  return in == block.size();
}

std::optional<uint32_t> ParseSizeString(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.empty() || text.size() > 10) return std::nullopt;
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  if (value > 0x7FFFFFFFu) return std::nullopt;
  return static_cast<uint32_t>(value);
}

int LoadStrings(const WordListSource& source, int index, char* buffer, size_t capacity, int32_t key) {
  if (key != kLoadStringsKey || buffer == nullptr || index < 0 || index >= kMaxWordLength) return 0;
  auto sizeText = source.SizeString(kSizeStringBase + index + 1);
  if (!sizeText) return 0;
  auto size = ParseSizeString(*sizeText);
  if (!size || static_cast<uint64_t>(*size) + 1 > capacity) return 0;
  auto block = source.Data(kWordDataBase + index);
  if (*size == 0) {
    buffer[0] = '\0';
    return 1;
  }
  if (!UnpackWordList(block, index + 1, std::span<char>(buffer, *size))) return 0;
  buffer[*size] = '\0';
  return 1;
}

WordListFolder::WordListFolder(std::string folder) : folder_(std::move(folder)), sizes_(kMaxWordLength) {
  std::ifstream sizes(folder_ + "/sizes.txt");
  if (!sizes) return;
  found_ = true;
  std::string line;
  while (std::getline(sizes, line)) {
    std::istringstream fields(line);
    int id = 0;
    std::string value;
    if (!(fields >> id >> value)) continue;
    int n = id - kSizeStringBase;
    if (n >= 1 && n <= kMaxWordLength) sizes_[n - 1] = value;
  }
}

std::optional<std::string> WordListFolder::SizeString(int id) const {
  int n = id - kSizeStringBase;
  if (n < 1 || n > kMaxWordLength) return std::nullopt;
  return sizes_[n - 1];
}

std::span<const uint8_t> WordListFolder::Data(int id) const {
  block_.clear();
  int n = id - kWordDataBase + 1;
  if (n < 1 || n > kMaxWordLength) return {};
  std::ifstream in(folder_ + "/wl" + std::to_string(id) + ".bin", std::ios::binary | std::ios::ate);
  if (!in) return {};
  // A block larger than the header plus a prefix byte and one character per unpacked byte could
  // never unpack: not read.
  const std::streamoff size = in.tellg();
  if (size <= 0 || static_cast<uint64_t>(size) > kHeaderSize + 2 * kMaxUnpacked) return {};
  block_.resize(static_cast<size_t>(size));
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(block_.data()), size)) block_.clear();
  return block_;
}

}  // namespace lexivane
