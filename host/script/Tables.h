// FoxPro tables: .DBF files with .FPT memo files, and the work areas that hold them open.
#pragma once

#include "Value.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace foxhost {

struct FieldDef {
  std::string name;  // upper case, at most 10 characters
  char type = 'C';   // C N F L D M, and I B T read-only from later tables
  int width = 0;
  int decimals = 0;
  int offset = 0;    // in the record, after the deletion flag
};

class DbfTable {
public:
  ~DbfTable();
  // Makes a new table (FoxPro 2 layout, version 0xF5 with a memo file when a field is M).
  static std::unique_ptr<DbfTable> Create(const std::string& path, std::vector<FieldDef> fields);
  static std::unique_ptr<DbfTable> Open(const std::string& path);

  const std::vector<FieldDef>& Fields() const { return fields_; }
  int FieldIndex(const std::string& name) const;  // -1 when none
  int32_t RecordCount() const { return count_; }
  int32_t RecNo() const { return recno_; }  // count + 1 at the end of the table
  bool Eof() const { return recno_ > count_; }
  bool Bof() const { return bof_; }
  void Go(int32_t record);
  void GoTop();
  void GoBottom();
  void Skip(int32_t n);
  void AppendBlank();

  Value Get(int field) const;
  void Set(int field, const Value& value);
  std::string Memo(int field) const;
  void SetMemo(int field, const std::string& bytes);
  // Where the current record's memo lies in the memo file: offset of its bytes and size.
  bool MemoLocation(int field, int32_t* offset, int32_t* size) const;
  const std::string& MemoPath() const { return memoPath_; }
  const std::string& Path() const { return path_; }

private:
  DbfTable() = default;
  void ReadRecord();
  void WriteRecord();
  void WriteHeader();
  int32_t MemoBlock(int field) const;
  void OpenMemo(bool create);

  std::string path_, memoPath_;
  std::FILE* file_ = nullptr;
  std::FILE* memo_ = nullptr;
  uint8_t version_ = 0;
  std::vector<FieldDef> fields_;
  uint32_t headerLength_ = 0;
  uint32_t recordLength_ = 0;
  int32_t count_ = 0;
  int32_t recno_ = 1;
  bool bof_ = false;
  std::vector<char> record_;
  uint32_t blockSize_ = 64;
  bool binaryMemoPointers_ = false;  // later tables keep 4-byte block numbers
};

class Tables {
public:
  static constexpr int kAreas = 32;
  int Current() const { return current_; }
  void Select(int area);
  int AreaOf(const std::string& alias) const;  // 0 when no open table has that alias
  int FreeArea() const;
  DbfTable* At(int area) const;
  std::string Alias(int area) const;
  void Use(int area, std::unique_ptr<DbfTable> table, const std::string& alias);
  void Close(int area);
  void CloseAll();

private:
  std::unique_ptr<DbfTable> tables_[kAreas + 1];
  std::string aliases_[kAreas + 1];
  int current_ = 1;
};

}  // namespace foxhost
