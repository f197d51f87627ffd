// A program parsed into statements and expressions.
#pragma once

#include "Lexer.h"
#include "Value.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace foxhost {

struct Expr {
  enum Kind { kLiteral, kName, kCall, kUnary, kBinary, kMember, kMethod, kReference } kind;
  Value literal;
  std::string name;  // upper case: variable, function, member, method; operator for kUnary/kBinary
  std::vector<std::unique_ptr<Expr>> args;  // operands, call arguments; kMember/kMethod: the object first
};
using ExprPtr = std::unique_ptr<Expr>;

struct Stmt {
  enum Kind {
    kAssign, kStore, kPrint, kPrintSame, kIf, kDoWhile, kFor, kDo, kReturn, kExit, kLoop,
    kLocal, kPrivate, kPublic, kParameters, kLParameters, kSetLibrary, kReleaseLibrary,
    kReadEvents, kClearEvents, kDoEvents, kWait, kEval, kCreateTable, kUse, kSelect,
    kAppendBlank, kReplace, kAppendMemo, kGo, kSkip, kCloseTables, kRelease, kQuit, kNothing,
  } kind = kNothing;
  int line = 0;
  std::vector<ExprPtr> exprs;
  std::vector<std::string> names;
  std::string text;   // a file name or keyword the command names
  bool flag = false;  // ADDITIVE, WINDOW, OVERWRITE, STEP given, ...
  std::vector<Stmt> body;
  std::vector<Stmt> elseBody;
};

struct Procedure {
  std::string name;
  std::vector<Stmt> body;
};

struct Program {
  std::string fileName;
  std::vector<Stmt> main;
  std::map<std::string, Procedure> procedures;  // upper-case names
};

// Parses a whole program; syntax errors carry the line in `errorLine`.
bool ParseProgram(const std::string& source, const std::string& fileName, Program* program,
                  ScriptError* error, int* errorLine);
// Parses one expression text (the kit's expression service).
ExprPtr ParseExpression(const std::string& text);
// Parses one statement text (the kit's command service, DO ... WITH ...).
Stmt ParseStatement(const std::string& text);

}  // namespace foxhost
