// The language: a table of programs and what they print, and the errors they stop with.
#include "FakePlatform.h"

#include <gtest/gtest.h>

namespace foxhost::test {
namespace {

struct Case {
  const char* what;
  const char* source;
  const char* output;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.what; }

class Programs : public ::testing::TestWithParam<Case> {};

TEST_P(Programs, Print) {
  const RunResult r = RunProgram(GetParam().source);
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(r.output, GetParam().output);
}

const Case kPrograms[] = {
    {"print and same-line print", "? 'a'\n?? 'b'\n? 'c'", "ab\nc"},
    {"numbers print in ten columns", "? 5\n? 1.5", "         5\n       1.5"},
    {"strings in three quotes", "? \"a\" + 'b' + [c]", "abc"},
    {"string minus moves blanks", "? 'ab  ' - 'cd' + '|'", "abcd  |"},
    {"assignment and STORE", "x = 2\nSTORE x * 3 TO a, b\n? ALLTRIM(STR(a + b))", "12"},
    {"logical operators", "? .T. AND .F., .T. OR .F., NOT .F., !.T.", ".F. .T. .T. .F."},
    {"dotted operators", "? .T. .AND. .NOT. .F.", ".T."},
    {"comparison without EXACT", "? 'abc' = 'ab', 'ab' = 'abc', 'abc' == 'ab'", ".T. .F. .F."},
    {"contained in", "? 'b' $ 'abc', 'x' $ 'abc'", ".T. .F."},
    {"IF ELSE ENDIF", "x = 3\nIF x > 2\n  ? 'big'\nELSE\n  ? 'small'\nENDIF", "big"},
    {"DO WHILE with EXIT and LOOP",
     "i = 0\nDO WHILE .T.\n  i = i + 1\n  IF i = 2\n    LOOP\n  ENDIF\n  IF i > 4\n    EXIT\n  ENDIF\n  ?? STR(i, 1)\nENDDO",
     "134"},
    {"FOR with STEP", "FOR i = 10 TO 1 STEP -3\n  ?? STR(i, 3)\nENDFOR", " 10  7  4  1"},
    {"FOR ... NEXT", "FOR i = 1 TO 3\n?? STR(i,1)\nNEXT", "123"},
    {"DO CASE", "x = 2\nDO CASE\nCASE x = 1\n? 'one'\nCASE x = 2\n? 'two'\nOTHERWISE\n? 'many'\nENDCASE",
     "two"},
    {"DO CASE OTHERWISE", "x = 9\nDO CASE\nCASE x = 1\n? 'one'\nOTHERWISE\n? 'many'\nENDCASE", "many"},
    {"procedure with PARAMETERS and DO WITH by reference",
     "n = 1\nDO bump WITH n\n? ALLTRIM(STR(n))\nPROCEDURE bump\nPARAMETERS v\nv = v + 41\nENDPROC",
     "42"},
    {"function call by value and @ by reference",
     "n = 1\nm = twice(n)\n? STR(n,1), STR(m,1)\n=addone(@n)\n? STR(n,1)\n"
     "FUNCTION twice\nLPARAMETERS v\nv = v * 2\nRETURN v\n"
     "FUNCTION addone(v)\nv = v + 1\nRETURN .T.",
     "1 2\n2"},
    {"procedures without ENDPROC", "? f()\nFUNCTION f\nRETURN 'x'\nFUNCTION g\nRETURN 'y'", "x"},
    {"LOCAL hides from callees, PRIVATE shows",
     "PRIVATE p\nLOCAL l\np = 'P'\nl = 'L'\nDO show\nPROCEDURE show\n? TYPE('p'), TYPE('l')", "C U"},
    {"PUBLIC outlives the procedure", "DO setit\n? g\nPROCEDURE setit\nPUBLIC g\ng = 'kept'", "kept"},
    {"comments and continuation",
     "* a comment\nx = 1 + ;\n    2 && trailing\nNOTE another\n? STR(x, 1)", "3"},
    {"string functions",
     "? LEN('abc'), SUBSTR('abcdef', 2, 3), UPPER('aB'), LOWER('aB'), LTRIM('  a'), RTRIM('a  ') + '|'",
     "         3 bcd AB ab a a|"},
    {"four-letter abbreviations", "? ALLT('  x  ') + '|', SUBS('abc', 2)", "x| bc"},
    {"STR forms", "? STR(3.14159, 6, 2), STR(12345, 3), STR(-7)",
     "  3.14 ***         -7"},
    {"TYPE of expressions", "x = 1\n? TYPE('x'), TYPE('nothere'), TYPE('\"a\"'), TYPE('.T.'), TYPE('DATE()')",
     "N U C L D"},
    {"IIF evaluates one side", "? IIF(.T., 'yes', nothere)", "yes"},
    {"CHR and ASC", "? ASC(CHR(65)), CHR(66)", "        65 B"},
    {"VAL and INT and ROUND", "? VAL('12.5') * 2, INT(-3.9), ROUND(2.345, 2)", "      25.0         -3       2.35"},
    {"dates", "d = {^2024-02-28} + 1\n? DTOC(d), DTOS(d), YEAR(d)", "02/29/2024 20240229       2024"},
    {"VERSION(2) is the edition", "? VERSION(2), TYPE('VERSION()')", "         2 C"},
    {"AT and STRTRAN and PADL", "? AT('c', 'abcabc', 2), STRTRAN('a-b-c', '-', '+'), PADL('7', 3, '0')",
     "         6 a+b+c 007"},
    {"CREATEOBJECT and CREATE give a form",
     "o = CREATEOBJECT('Form')\no.Caption = 'Hi'\no.Show()\n? o.Caption, o.Visible, TYPE('o')\n"
     "p = CREATE('Form')\n? p.Width",
     "Hi .T. O\n       375"},
    {"WAIT WINDOW TIMEOUT", "WAIT WINDOW 'hello' TIMEOUT 0.1\n? 'after'", "after"},
    {"RETURN from the main program ends it", "? 'a'\nRETURN\n? 'b'", "a"},
    {"SET commands are accepted", "SET TALK OFF\nSET SAFETY OFF\n? 'ok'", "ok"},
    {"m. prefix", "x = 4\n? m.x", "         4"},
    {"a function called as a statement", "x = 1\nbump(@x)\n? STR(x, 1)\nFUNCTION bump(v)\nv = v + 1", "2"},
};

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
  std::string name = std::to_string(info.index) + "_";
  for (const char* c = info.param.what; *c; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Language, Programs, ::testing::ValuesIn(kPrograms), CaseName);

struct ErrorCase {
  const char* what;
  const char* source;
  const char* message;
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.what; }

class Errors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(Errors, StopWithLineAndMessage) {
  const RunResult r = RunProgram(GetParam().source);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find(GetParam().message), std::string::npos) << r.output;
}

const ErrorCase kErrors[] = {
    {"unknown variable", "x = 1\n? y", "Error 12 in line 2 of test.prg: Variable 'Y' is not found."},
    {"type mismatch", "\n\n? 1 + 'a'", "Error 107 in line 3 of test.prg: Operator/operand type mismatch."},
    {"unknown verb", "FROB 1", "Error 16 in line 1 of test.prg: Unrecognized command verb."},
    {"open IF", "IF .T.\n? 1", "Error 10 in line 1 of test.prg: Syntax error."},
    {"open string", "? 'abc", "Error 10 in line 1 of test.prg: Syntax error."},
    {"error inside a procedure names its line", "DO p\nPROCEDURE p\n? 1\n? 1/0",
     "Error 1307 in line 4 of test.prg: Division by zero."},
    {"missing program", "DO nowhere", "File 'NOWHERE.prg' does not exist."},
    {"missing library", "SET LIBRARY TO nolib", "File 'nolib.fll' does not exist."},
    {"endless recursion", "DO p\nPROCEDURE p\nDO p", "DO nesting too deep."},
    {"too many parameters", "DO p WITH 1, 2\nPROCEDURE p\nPARAMETERS a", "Too many arguments."},
    {"bad SUBSTR start", "? SUBSTR('abc', 0)", "Function argument value, type, or count is invalid."},
    {"too few library arguments", "SET LIBRARY TO taviki32\n? IMROTATE(1)", "Too few arguments."},
    {"object argument must be an object", "SET LIBRARY TO taviki32\n? IMGETOBJWIN(1)",
     "Function argument value, type, or count is invalid."},
};

std::string ErrorName(const ::testing::TestParamInfo<ErrorCase>& info) {
  std::string name = std::to_string(info.index) + "_";
  for (const char* c = info.param.what; *c; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Language, Errors, ::testing::ValuesIn(kErrors), ErrorName);

// A platform whose third wait runs a command, as a library's queued event procedure would.
class EventPlatform : public FakePlatform {
public:
  bool WaitEvents(int ms) override {
    if (++waits == 3) interpreter->ExecuteCommand("DO stopper WITH 'clicked'");
    return FakePlatform::WaitEvents(ms);
  }
  Interpreter* interpreter = nullptr;
  int waits = 0;
};

TEST(ReadEvents, EndsWithClearEventsFromAnEventProcedure) {
  EventPlatform platform;
  Interpreter interpreter(platform);
  platform.interpreter = &interpreter;
  const int status = interpreter.RunSource(
      "READ EVENTS\n? 'done', STR(2, 1)\nPROCEDURE stopper\nPARAMETERS why\n?? why\nCLEAR EVENTS",
      "events.prg", {});
  EXPECT_EQ(status, 0);
  EXPECT_EQ(platform.output, "clicked\ndone 2");
  EXPECT_EQ(platform.waits, 3);
}

}  // namespace
}  // namespace foxhost::test
