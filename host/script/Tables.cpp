// .DBF and .FPT as FoxPro 2 writes them: a 32-byte header, 32-byte field descriptors, 0x0D,
// fixed-length records with a deletion flag, 0x1A at the end; memo blocks in the .FPT
// addressed by 10-character block numbers in the record, each block holding a big-endian
// type and length before its bytes.
#include "Tables.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ctime>

namespace foxhost {
namespace {

constexpr uint32_t kFptHeader = 512;
constexpr int32_t kMaxRecords = 1000000000;

uint32_t Le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Be32(const uint8_t* p) { return (uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3]; }
void PutLe32(uint8_t* p, uint32_t v) { for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i)); }
void PutLe16(uint8_t* p, uint16_t v) { p[0] = static_cast<uint8_t>(v); p[1] = static_cast<uint8_t>(v >> 8); }
void PutBe32(uint8_t* p, uint32_t v) { for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (24 - 8 * i)); }

int64_t FileSize(std::FILE* f) {
  if (std::fseek(f, 0, SEEK_END) != 0) return -1;
  const long size = std::ftell(f);
  return size;
}

bool ReadAt(std::FILE* f, int64_t offset, void* buffer, std::size_t size) {
  return std::fseek(f, static_cast<long>(offset), SEEK_SET) == 0 && std::fread(buffer, 1, size, f) == size;
}

void WriteAt(std::FILE* f, int64_t offset, const void* buffer, std::size_t size) {
  if (std::fseek(f, static_cast<long>(offset), SEEK_SET) != 0 || std::fwrite(buffer, 1, size, f) != size)
    Fail(1105, "Error writing to file.");
  std::fflush(f);
}

std::string MemoPathFor(const std::string& path) {
  const std::size_t dot = path.find_last_of('.');
  const std::size_t slash = path.find_last_of("/\\");
  const std::string stem = (dot != std::string::npos && (slash == std::string::npos || dot > slash)) ? path.substr(0, dot) : path;
  // Keep the case of the table's own extension: the pair lives together on case-sensitive disks.
  const bool lower = dot != std::string::npos && dot + 1 < path.size() && std::islower(static_cast<unsigned char>(path[dot + 1]));
  return stem + (lower ? ".fpt" : ".FPT");
}

bool FieldFits(const FieldDef& f) {
  switch (f.type) {
    case 'C': return f.width >= 1 && f.width <= 254;
    case 'N': case 'F': return f.width >= 1 && f.width <= 20 && f.decimals >= 0 && f.decimals < f.width;
    case 'L': return f.width == 1;
    case 'D': return f.width == 8;
    case 'M': return f.width == 10 || f.width == 4;
    case 'I': return f.width == 4;
    case 'B': case 'T': case 'Y': return f.width == 8;
    default: return false;
  }
}

}  // namespace

DbfTable::~DbfTable() {
  if (file_) std::fclose(file_);
  if (memo_) std::fclose(memo_);
}

std::unique_ptr<DbfTable> DbfTable::Create(const std::string& path, std::vector<FieldDef> fields) {
  if (fields.empty() || fields.size() > 255) Fail(1230, "Too many fields.");
  std::unique_ptr<DbfTable> t(new DbfTable);
  t->path_ = path;
  bool memo = false;
  uint32_t offset = 1;
  for (FieldDef& f : fields) {
    f.name = Upper(f.name).substr(0, 10);
    if (f.type == 'M') f.width = 10;
    if (f.type == 'L') f.width = 1;
    if (f.type == 'D') f.width = 8;
    if (f.type == 'I') Fail(1754, "Field type I is not supported in this table format.");
    if (!FieldFits(f)) Fail(1147, "Invalid field width or decimal places for field " + f.name + ".");
    memo = memo || f.type == 'M';
    f.offset = static_cast<int>(offset);
    offset += static_cast<uint32_t>(f.width);
  }
  t->fields_ = std::move(fields);
  t->version_ = memo ? 0xF5 : 0x03;
  t->headerLength_ = 32 + 32 * static_cast<uint32_t>(t->fields_.size()) + 1;
  t->recordLength_ = offset;
  t->file_ = std::fopen(path.c_str(), "w+b");
  if (!t->file_) Fail(1102, "Cannot create file " + path + ".");
  t->WriteHeader();
  std::vector<uint8_t> descriptors(32 * t->fields_.size() + 2, 0);
  for (std::size_t i = 0; i < t->fields_.size(); ++i) {
    uint8_t* d = descriptors.data() + 32 * i;
    const FieldDef& f = t->fields_[i];
    std::memcpy(d, f.name.data(), f.name.size());
    d[11] = static_cast<uint8_t>(f.type);
    PutLe32(d + 12, static_cast<uint32_t>(f.offset));
    d[16] = static_cast<uint8_t>(f.width);
    d[17] = static_cast<uint8_t>(f.decimals);
  }
  descriptors[32 * t->fields_.size()] = 0x0D;
  descriptors[32 * t->fields_.size() + 1] = 0x1A;
  WriteAt(t->file_, 32, descriptors.data(), descriptors.size());
  if (memo) {
    t->memoPath_ = MemoPathFor(path);
    t->OpenMemo(true);
  }
  t->record_.assign(t->recordLength_, ' ');
  t->recno_ = 1;
  return t;
}

std::unique_ptr<DbfTable> DbfTable::Open(const std::string& path) {
  std::unique_ptr<DbfTable> t(new DbfTable);
  t->path_ = path;
  t->file_ = std::fopen(path.c_str(), "r+b");
  if (!t->file_) t->file_ = std::fopen(path.c_str(), "rb");
  if (!t->file_) Fail(1, "File '" + path + "' does not exist.");
  const int64_t size = FileSize(t->file_);
  uint8_t header[32];
  if (size < 33 || !ReadAt(t->file_, 0, header, 32)) Fail(15, "Not a table.");
  t->version_ = header[0];
  const uint32_t count = Le32(header + 4);
  t->headerLength_ = Le16(header + 8);
  t->recordLength_ = Le16(header + 10);
  if (t->headerLength_ < 33 || t->headerLength_ > size || t->recordLength_ < 2) Fail(15, "Not a table.");
  // Descriptors run until 0x0D; each must sit inside the header and inside the record.
  uint32_t end = 1;
  for (uint32_t at = 32; at + 32 <= t->headerLength_; at += 32) {
    uint8_t d[32];
    if (!ReadAt(t->file_, at, d, 1)) Fail(15, "Not a table.");
    if (d[0] == 0x0D) break;
    if (!ReadAt(t->file_, at, d, 32)) Fail(15, "Not a table.");
    FieldDef f;
    f.name = std::string(reinterpret_cast<char*>(d), strnlen(reinterpret_cast<char*>(d), 11));
    f.name = Upper(f.name);
    f.type = static_cast<char>(d[11]);
    f.width = d[16];
    f.decimals = d[17];
    if (f.type == 'C') f.width = d[16] | (d[17] << 8), f.decimals = 0;  // long character fields
    f.offset = static_cast<int>(end);
    end += static_cast<uint32_t>(f.width);
    if (f.width == 0 || end > t->recordLength_) Fail(15, "Not a table.");
    if (f.type == 'M' && f.width == 4) t->binaryMemoPointers_ = true;
    t->fields_.push_back(f);
  }
  if (t->fields_.empty()) Fail(15, "Not a table.");
  // A count beyond the file's records would read past its end: take what is really there.
  const int64_t fit = (size - t->headerLength_) / t->recordLength_;
  t->count_ = static_cast<int32_t>(std::min<int64_t>({count, fit, kMaxRecords}));
  const bool memo = std::any_of(t->fields_.begin(), t->fields_.end(), [](const FieldDef& f) { return f.type == 'M'; });
  if (memo) {
    t->memoPath_ = MemoPathFor(path);
    t->OpenMemo(false);
  }
  t->record_.assign(t->recordLength_, ' ');
  t->GoTop();
  return t;
}

void DbfTable::OpenMemo(bool create) {
  memo_ = std::fopen(memoPath_.c_str(), create ? "w+b" : "r+b");
  if (!memo_ && !create) memo_ = std::fopen(memoPath_.c_str(), "rb");
  if (!memo_) Fail(41, "Memo file " + memoPath_ + " is missing or is invalid.");
  if (create) {
    uint8_t header[kFptHeader] = {};
    PutBe32(header, kFptHeader / blockSize_);
    header[6] = static_cast<uint8_t>(blockSize_ >> 8);
    header[7] = static_cast<uint8_t>(blockSize_);
    WriteAt(memo_, 0, header, sizeof header);
    return;
  }
  uint8_t header[8];
  if (!ReadAt(memo_, 0, header, 8)) Fail(41, "Memo file " + memoPath_ + " is missing or is invalid.");
  blockSize_ = (header[6] << 8) | header[7];
  if (blockSize_ == 0) blockSize_ = 1;  // some writers leave it 0 meaning byte addressing
}

void DbfTable::WriteHeader() {
  uint8_t h[32] = {};
  h[0] = version_;
  const std::time_t now = std::time(nullptr);
  const std::tm* tm = std::localtime(&now);
  h[1] = static_cast<uint8_t>(tm ? tm->tm_year % 100 : 0);
  h[2] = static_cast<uint8_t>(tm ? tm->tm_mon + 1 : 1);
  h[3] = static_cast<uint8_t>(tm ? tm->tm_mday : 1);
  PutLe32(h + 4, static_cast<uint32_t>(count_));
  PutLe16(h + 8, static_cast<uint16_t>(headerLength_));
  PutLe16(h + 10, static_cast<uint16_t>(recordLength_));
  // Preserve the rest of an existing header (flags, code page) where there is one.
  uint8_t old[32];
  if (ReadAt(file_, 0, old, 32)) std::memcpy(h + 12, old + 12, 20);
  WriteAt(file_, 0, h, 32);
}

int DbfTable::FieldIndex(const std::string& name) const {
  const std::string upper = Upper(name);
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    if (fields_[i].name == upper) return static_cast<int>(i);
  }
  return -1;
}

void DbfTable::ReadRecord() {
  if (Eof() || recno_ < 1) {
    std::fill(record_.begin(), record_.end(), ' ');
    return;
  }
  const int64_t at = headerLength_ + int64_t(recno_ - 1) * recordLength_;
  if (!ReadAt(file_, at, record_.data(), record_.size())) Fail(1104, "Error reading file.");
}

void DbfTable::WriteRecord() {
  const int64_t at = headerLength_ + int64_t(recno_ - 1) * recordLength_;
  WriteAt(file_, at, record_.data(), record_.size());
}

void DbfTable::Go(int32_t record) {
  if (record < 1 || record > count_) Fail(5, "Record is out of range.");
  recno_ = record;
  bof_ = false;
  ReadRecord();
}

void DbfTable::GoTop() {
  recno_ = 1;
  bof_ = false;
  ReadRecord();
}

void DbfTable::GoBottom() {
  recno_ = count_ > 0 ? count_ : 1;
  bof_ = false;
  ReadRecord();
}

void DbfTable::Skip(int32_t n) {
  if (n > 0 && Eof()) Fail(4, "End of file encountered.");
  if (n < 0 && bof_) Fail(38, "Beginning of file encountered.");
  int64_t target = int64_t(recno_) + n;
  bof_ = false;
  if (target < 1) {
    target = 1;
    bof_ = true;
  }
  if (target > count_ + 1) target = count_ + 1;
  recno_ = static_cast<int32_t>(target);
  ReadRecord();
}

void DbfTable::AppendBlank() {
  if (count_ >= kMaxRecords) Fail(1190, "File is too large.");
  ++count_;
  recno_ = count_;
  bof_ = false;
  std::fill(record_.begin(), record_.end(), ' ');
  WriteRecord();
  const char eof = 0x1A;
  WriteAt(file_, headerLength_ + int64_t(count_) * recordLength_, &eof, 1);
  WriteHeader();
}

Value DbfTable::Get(int field) const {
  const FieldDef& f = fields_.at(static_cast<std::size_t>(field));
  const std::string raw(record_.data() + f.offset, static_cast<std::size_t>(f.width));
  switch (f.type) {
    case 'C': return Value::Char(raw);
    case 'N': case 'F': {
      Value v = Value::Num(std::strtod(raw.c_str(), nullptr), f.decimals);
      v.width = f.width;
      return v;
    }
    case 'L': return Value::Log(raw[0] == 'T' || raw[0] == 't' || raw[0] == 'Y' || raw[0] == 'y');
    case 'D': {
      int y = 0, m = 0, d = 0;
      if (std::sscanf(raw.c_str(), "%4d%2d%2d", &y, &m, &d) != 3 || m < 1 || m > 12 || d < 1 || d > 31)
        return Value::Date(0);
      return Value::Date(JulianFromYmd(y, m, d));
    }
    case 'M': return Value::Char(Memo(field));
    case 'I': return Value::Num(static_cast<int32_t>(Le32(reinterpret_cast<const uint8_t*>(raw.data()))));
    default: return Value::Char(raw);
  }
}

void DbfTable::Set(int field, const Value& value) {
  if (Eof()) Fail(4, "End of file encountered.");
  const FieldDef& f = fields_.at(static_cast<std::size_t>(field));
  char* at = record_.data() + f.offset;
  const auto width = static_cast<std::size_t>(f.width);
  auto mismatch = [] { Fail(9, "Data type mismatch."); };
  switch (f.type) {
    case 'C': {
      if (value.type != 'C') mismatch();
      std::string text = value.text.substr(0, width);
      text.resize(width, ' ');
      std::memcpy(at, text.data(), width);
      break;
    }
    case 'N': case 'F': {
      if (value.type != 'N') mismatch();
      std::string text = StrOf(value.number, f.width, f.decimals);
      std::memcpy(at, text.data(), width);
      break;
    }
    case 'L':
      if (value.type != 'L') mismatch();
      *at = value.logical ? 'T' : 'F';
      break;
    case 'D': {
      if (value.type != 'D') mismatch();
      char text[16] = "        ";
      if (value.number > 0) {
        int y, m, d;
        YmdFromJulian(value.number, &y, &m, &d);
        std::snprintf(text, sizeof text, "%04d%02d%02d", y, m, d);
      }
      std::memcpy(at, text, 8);
      break;
    }
    case 'M':
      if (value.type != 'C') mismatch();
      SetMemo(field, value.text);
      return;
    default:
      Fail(1754, "Field " + f.name + " cannot be changed here.");
  }
  WriteRecord();
}

int32_t DbfTable::MemoBlock(int field) const {
  const FieldDef& f = fields_.at(static_cast<std::size_t>(field));
  const char* at = record_.data() + f.offset;
  if (binaryMemoPointers_) return static_cast<int32_t>(Le32(reinterpret_cast<const uint8_t*>(at)));
  const std::string text(at, static_cast<std::size_t>(f.width));
  return static_cast<int32_t>(std::strtol(text.c_str(), nullptr, 10));
}

bool DbfTable::MemoLocation(int field, int32_t* offset, int32_t* size) const {
  if (!memo_ || Eof() || fields_.at(static_cast<std::size_t>(field)).type != 'M') return false;
  const int32_t block = MemoBlock(field);
  if (block <= 0) {
    *offset = 0;
    *size = 0;
    return true;
  }
  const int64_t start = int64_t(block) * blockSize_;
  uint8_t head[8];
  const int64_t fileSize = FileSize(memo_);
  if (start + 8 > fileSize || !ReadAt(memo_, start, head, 8)) return false;
  const int64_t length = Be32(head + 4);
  // A length past the memo file's end is damage, not data.
  if (start + 8 + length > fileSize || length > INT32_MAX) return false;
  *offset = static_cast<int32_t>(start + 8);
  *size = static_cast<int32_t>(length);
  return true;
}

std::string DbfTable::Memo(int field) const {
  int32_t offset = 0, size = 0;
  if (!MemoLocation(field, &offset, &size)) return {};
  std::string bytes(static_cast<std::size_t>(size), '\0');
  if (size > 0 && !ReadAt(memo_, offset, bytes.data(), bytes.size())) return {};
  return bytes;
}

void DbfTable::SetMemo(int field, const std::string& bytes) {
  if (!memo_) Fail(41, "Memo file is missing or is invalid.");
  if (Eof()) Fail(4, "End of file encountered.");
  const FieldDef& f = fields_.at(static_cast<std::size_t>(field));
  if (f.type != 'M') Fail(9, "Data type mismatch.");
  uint8_t head[8];
  if (!ReadAt(memo_, 0, head, 8)) Fail(41, "Memo file is missing or is invalid.");
  int64_t next = Be32(head);
  const int64_t fileSize = FileSize(memo_);
  // The next free block may not lie inside the header or past the file.
  const int64_t minimum = (kFptHeader + blockSize_ - 1) / blockSize_;
  const int64_t last = (fileSize + blockSize_ - 1) / blockSize_;
  if (next < minimum || next > last) next = std::max(minimum, last);
  const int64_t blocks = (8 + int64_t(bytes.size()) + blockSize_ - 1) / blockSize_;
  if (next + blocks > INT32_MAX || bytes.size() > 0x7FFFFFF0u) Fail(1190, "File is too large.");
  uint8_t blockHead[8];
  PutBe32(blockHead, 1);
  PutBe32(blockHead + 4, static_cast<uint32_t>(bytes.size()));
  std::vector<char> data(static_cast<std::size_t>(blocks * blockSize_), 0);
  std::memcpy(data.data(), blockHead, 8);
  std::memcpy(data.data() + 8, bytes.data(), bytes.size());
  WriteAt(memo_, next * blockSize_, data.data(), data.size());
  PutBe32(head, static_cast<uint32_t>(next + blocks));
  WriteAt(memo_, 0, head, 4);
  char* at = record_.data() + f.offset;
  if (binaryMemoPointers_) {
    PutLe32(reinterpret_cast<uint8_t*>(at), static_cast<uint32_t>(next));
  } else {
    char text[16];
    std::snprintf(text, sizeof text, "%10ld", static_cast<long>(next));
    std::memcpy(at, text, 10);
  }
  WriteRecord();
}

void Tables::Select(int area) {
  if (area < 1 || area > kAreas) Fail(17, "Invalid table number.");
  current_ = area;
}

int Tables::AreaOf(const std::string& alias) const {
  const std::string upper = Upper(alias);
  for (int i = 1; i <= kAreas; ++i) {
    if (tables_[i] && aliases_[i] == upper) return i;
  }
  return 0;
}

int Tables::FreeArea() const {
  for (int i = 1; i <= kAreas; ++i) {
    if (!tables_[i]) return i;
  }
  return 0;
}

DbfTable* Tables::At(int area) const { return area >= 1 && area <= kAreas ? tables_[area].get() : nullptr; }
std::string Tables::Alias(int area) const { return At(area) ? aliases_[area] : std::string(); }

void Tables::Use(int area, std::unique_ptr<DbfTable> table, const std::string& alias) {
  if (AreaOf(alias) != 0 && AreaOf(alias) != area) Fail(24, "Alias name is already in use.");
  tables_[area] = std::move(table);
  aliases_[area] = Upper(alias);
}

void Tables::Close(int area) {
  if (area >= 1 && area <= kAreas) {
    tables_[area].reset();
    aliases_[area].clear();
  }
}

void Tables::CloseAll() {
  for (int i = 1; i <= kAreas; ++i) Close(i);
}

}  // namespace foxhost
