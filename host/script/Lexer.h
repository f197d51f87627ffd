// Tokens of one logical line of a program.
#pragma once

#include <string>
#include <vector>

namespace foxhost {

struct Token {
  enum Kind { kEnd, kIdent, kNumber, kString, kOp, kLogical, kDate } kind = kEnd;
  std::string text;    // identifiers upper-cased; strings without quotes; operators as written
  std::string raw;     // identifiers as written
  double number = 0;
  int decimals = 0;
  std::size_t offset = 0;  // where the token starts in the line
};

// Splits a line into tokens; a bad character or an open string is a syntax error (code 10).
std::vector<Token> Tokenize(const std::string& line);

// A program's logical lines: continuation lines (ending in ';') joined, comments dropped.
struct SourceLine {
  int number;  // 1-based line of the first physical line
  std::string text;
};
std::vector<SourceLine> SplitLines(const std::string& source);

}  // namespace foxhost
