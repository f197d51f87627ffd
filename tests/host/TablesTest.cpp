// DBF/FPT tables: through the language, against damaged files, and both ways with Debian's
// python3-dbf (writes and reads FoxPro tables) and python3-dbfread (reads them).
#include "FakePlatform.h"
#include "Tables.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace foxhost::test {
namespace {

namespace fs = std::filesystem;

class TableFiles : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("foxhost-tables-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    previous_ = fs::current_path();
    fs::current_path(dir_);
  }
  void TearDown() override {
    fs::current_path(previous_);
    fs::remove_all(dir_);
  }
  static void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
  }
  static std::string Read(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Runs a Python script with Debian's interpreter; its standard output.
  static std::string Python(const std::string& script, int* status) {
    Write("check.py", script);
    std::string out;
#ifdef _WIN32
    *status = -1;  // the cross-checks run in the native tree, where Debian's Python is
    return out;
#else
    std::FILE* p = popen("/usr/bin/python3 check.py 2>&1", "r");
    if (!p) {
      *status = -1;
      return out;
    }
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, p)) out += buffer;
    *status = pclose(p);
    return out;
#endif
  }
  static bool HavePython(const char* module) {
#ifdef _WIN32
    return module == nullptr;
#endif
    return std::system((std::string("/usr/bin/python3 -c 'import ") + module + "' 2>/dev/null").c_str()) == 0;
  }

  fs::path dir_, previous_;
};

std::string AllBytes() {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  return bytes + "tail";
}

constexpr const char* kMakeTable =
    "CREATE TABLE pics (name C(12), qty N(6,2), ok L, born D, picture M)\n"
    "APPEND BLANK\n"
    "REPLACE name WITH 'Alpha', qty WITH 12.5, ok WITH .T., born WITH {^2020-05-17}\n"
    "APPEND MEMO picture FROM bytes.bin\n"
    "APPEND BLANK\n"
    "REPLACE name WITH 'Beta', qty WITH -3\n"
    "REPLACE picture WITH 'short text'\n"
    "APPEND MEMO picture FROM more.txt\n"
    "USE\n";

TEST_F(TableFiles, WalkAndChangeThroughTheLanguage) {
  Write("bytes.bin", AllBytes());
  Write("more.txt", "+more");
  const RunResult r = RunProgram(std::string(kMakeTable) +
      "USE pics\n? RECCOUNT(), RECNO(), EOF(), name, qty, ok, DTOC(born)\n"
      "SKIP\n? RECNO(), ALLTRIM(name), picture\nSKIP\n? EOF(), RECNO()\nGO TOP\n"
      "? LEN(picture), pics.name\nGO BOTTOM\n? ALLTRIM(name)\nGO 1\n? ALIAS(), SELECT()\n");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(r.output,
            "         2          1 .F. Alpha         12.50 .T. 05/17/2020\n"
            "         2 Beta short text+more\n"
            ".T.          3\n"
            "       260 Alpha       \n"
            "Beta\n"
            "PICS          1");
}

TEST_F(TableFiles, ErrorsOfTableCommands) {
  struct Case {
    const char* source;
    const char* message;
  } cases[] = {
      {"APPEND BLANK", "No table is open in the current work area."},
      {"USE nothere", "File 'nothere.dbf' does not exist."},
      {"CREATE TABLE t (a C(300))", "Invalid field width or decimal places for field A."},
      {"CREATE TABLE t (a C(3))\nAPPEND BLANK\nREPLACE a WITH 5", "Data type mismatch."},
      {"CREATE TABLE t (a C(3))\nGO 4", "Record is out of range."},
      {"CREATE TABLE t (a C(3))\nSKIP\nSKIP", "End of file encountered."},
  };
  for (const Case& c : cases) {
    const RunResult r = RunProgram(c.source);
    EXPECT_EQ(r.status, 1) << c.source;
    EXPECT_NE(r.output.find(c.message), std::string::npos) << c.source << " -> " << r.output;
  }
}

TEST_F(TableFiles, DamagedFilesAreReadOnlyAsFarAsTheyGo) {
  Write("bytes.bin", AllBytes());
  Write("more.txt", "");
  ASSERT_EQ(RunProgram(kMakeTable).status, 0);
  std::string dbf = Read("pics.dbf");
  const std::string fpt = Read("pics.fpt");

  // A record count far beyond the records in the file: only those there are read.
  std::string counted = dbf;
  counted[4] = '\x7F';
  counted[7] = '\x7F';
  Write("counted.dbf", counted);
  Write("counted.fpt", fpt);
  auto t = DbfTable::Open("counted.dbf");
  EXPECT_EQ(t->RecordCount(), 2);

  // A memo whose stored length runs past the memo file reads as empty.
  std::string longMemo = fpt;
  longMemo[512 + 4] = '\x70';
  Write("counted.fpt", longMemo);
  t = DbfTable::Open("counted.dbf");
  EXPECT_EQ(t->Memo(4), "");

  // A field wider than the record is not a table.
  std::string wide = dbf;
  wide[32 + 16] = '\xFF';
  Write("wide.dbf", wide);
  EXPECT_THROW(DbfTable::Open("wide.dbf"), ScriptError);

  // A header cut short is not a table.
  Write("short.dbf", dbf.substr(0, 20));
  EXPECT_THROW(DbfTable::Open("short.dbf"), ScriptError);
}

TEST_F(TableFiles, TablesWeWriteReadBackInPythonDbfAndDbfread) {
  if (!HavePython("dbf") || !HavePython("dbfread")) GTEST_SKIP() << "python3-dbf and python3-dbfread are needed";
  Write("bytes.bin", AllBytes());
  Write("more.txt", "+more");
  ASSERT_EQ(RunProgram(kMakeTable).status, 0);
  int status = 0;
  const std::string out = Python(
      "import dbf, dbfread\n"
      "want = bytes(range(256)) + b'tail'\n"
      "t = dbf.Table('pics.dbf', codepage='cp437')\n"
      "t.open()\n"
      "r = t[0]\n"
      "print('dbf', t.field_names, r.name.strip(), r.qty, r.ok, r.born, r.picture.encode('cp437') == want)\n"
      "print('dbf', t[1].name.strip(), t[1].qty, t[1].picture.strip())\n"
      "t.close()\n"
      "rows = list(dbfread.DBF('pics.dbf', encoding='latin-1', char_decode_errors='strict'))\n"
      "m = rows[0]['PICTURE']\n"
      "m = m if isinstance(m, bytes) else m.encode('latin-1')\n"
      "print('dbfread', rows[0]['NAME'], rows[0]['QTY'], rows[0]['OK'], rows[0]['BORN'], m == want)\n"
      "print('dbfread', rows[1]['NAME'], rows[1]['QTY'], rows[1]['OK'], rows[1]['BORN'], rows[1]['PICTURE'])\n",
      &status);
  EXPECT_EQ(status, 0) << out;
  EXPECT_EQ(out,
            "dbf ['name', 'qty', 'ok', 'born', 'picture'] Alpha 12.5 True 2020-05-17 True\n"
            "dbf Beta -3.0 short text+more\n"
            "dbfread Alpha 12.5 True 2020-05-17 True\n"
            "dbfread Beta -3.0 None None short text+more\n");
}

TEST_F(TableFiles, TablesPythonDbfWritesOpenInFoxhost) {
  if (!HavePython("dbf")) GTEST_SKIP() << "python3-dbf is needed";
  int status = 0;
  const std::string out = Python(
      "import dbf\n"
      "t = dbf.Table('made.dbf', 'name C(12); qty N(6,2); ok L; born D; notes M', dbf_type='fp', codepage='cp437')\n"
      "t.open(dbf.READ_WRITE)\n"
      "t.append(('Alpha', 12.5, True, dbf.Date(2020,5,17), 'first memo'))\n"
      "t.append(('Beta', -3, False, None, 'x' * 300))\n"
      "t.close()\n"
      "print('ok')\n",
      &status);
  ASSERT_EQ(status, 0) << out;
  const RunResult r = RunProgram(
      "USE made\n? RECCOUNT(), ALLTRIM(name), qty, ok, DTOC(born), notes\nSKIP\n"
      "? ALLTRIM(name), qty, ok, EMPTY(born), LEN(notes), LEFT(notes, 3)\n"
      "REPLACE notes WITH 'changed in foxhost'\nUSE\n");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(r.output,
            "         2 Alpha  12.50 .T. 05/17/2020 first memo\n"
            "Beta  -3.00 .F. .T.        300 xxx");
  const std::string back = Python(
      "import dbf\nt = dbf.Table('made.dbf')\nt.open()\nprint(t[1].notes)\nt.close()\n", &status);
  EXPECT_EQ(back, "changed in foxhost\n");
}

}  // namespace
}  // namespace foxhost::test
