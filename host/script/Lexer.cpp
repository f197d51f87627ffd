#include "Lexer.h"

#include "Value.h"

#include <cctype>
#include <cstdlib>

namespace foxhost {
namespace {

bool IdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// ".T.", ".AND." and their kin; empty when the dot starts none of them.
std::string DottedWord(const std::string& line, std::size_t i) {
  static const char* const kWords[] = {".T.", ".F.", ".Y.", ".N.", ".NULL.", ".AND.", ".OR.", ".NOT."};
  for (const char* w : kWords) {
    const std::string word = w;
    if (Upper(line.substr(i, word.size())) == word) return word;
  }
  return {};
}

// Where a trailing "&&" comment starts outside strings, or npos.
std::size_t CommentStart(const std::string& line) {
  char quote = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '&' && i + 1 < line.size() && line[i + 1] == '&') {
      return i;
    }
  }
  return std::string::npos;
}

std::string StripBlank(const std::string& s) {
  const auto start = s.find_first_not_of(" \t");
  if (start == std::string::npos) return {};
  const auto end = s.find_last_not_of(" \t");
  return s.substr(start, end - start + 1);
}

}  // namespace

std::vector<Token> Tokenize(const std::string& line) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  // '[' opens a string only where an operand may start: after an identifier it subscripts.
  auto operandExpected = [&tokens]() {
    if (tokens.empty()) return true;
    const Token& last = tokens.back();
    return last.kind == Token::kOp && last.text != ")";
  };
  while (i < line.size()) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
      continue;
    }
    Token t;
    t.offset = i;
    if (IdentStart(c)) {
      std::size_t j = i;
      while (j < line.size() && IdentChar(line[j])) ++j;
      t.kind = Token::kIdent;
      t.raw = line.substr(i, j - i);
      t.text = Upper(t.raw);
      i = j;
    } else if (std::isdigit(static_cast<unsigned char>(c)) ||
               (c == '.' && i + 1 < line.size() && std::isdigit(static_cast<unsigned char>(line[i + 1])))) {
      std::size_t j = i;
      while (j < line.size() && std::isdigit(static_cast<unsigned char>(line[j]))) ++j;
      int decimals = 0;
      if (j < line.size() && line[j] == '.' && DottedWord(line, j).empty()) {
        ++j;
        while (j < line.size() && std::isdigit(static_cast<unsigned char>(line[j]))) {
          ++j;
          ++decimals;
        }
      }
      t.kind = Token::kNumber;
      t.raw = line.substr(i, j - i);
      t.number = std::strtod(t.raw.c_str(), nullptr);
      t.decimals = decimals;
      i = j;
    } else if (c == '"' || c == '\'' || (c == '[' && operandExpected())) {
      const char close = c == '[' ? ']' : c;
      const std::size_t end = line.find(close, i + 1);
      if (end == std::string::npos) Fail(10, "Syntax error.");
      t.kind = Token::kString;
      t.text = line.substr(i + 1, end - i - 1);
      i = end + 1;
    } else if (c == '{') {
      const std::size_t end = line.find('}', i + 1);
      if (end == std::string::npos) Fail(10, "Syntax error.");
      t.kind = Token::kDate;
      t.text = line.substr(i + 1, end - i - 1);
      i = end + 1;
    } else if (c == '.' && !DottedWord(line, i).empty()) {
      const std::string word = DottedWord(line, i);
      t.kind = (word == ".AND." || word == ".OR." || word == ".NOT.") ? Token::kOp : Token::kLogical;
      t.text = word == ".AND." ? "AND" : word == ".OR." ? "OR" : word == ".NOT." ? "NOT" : word;
      i += word.size();
    } else {
      static const char* const kTwo[] = {"==", "<>", "!=", "<=", ">=", "**", "->"};
      t.kind = Token::kOp;
      t.text = std::string(1, c);
      for (const char* two : kTwo) {
        if (line.compare(i, 2, two) == 0) t.text = two;
      }
      if (std::string("+-*/%^=<>#!$(),.@;?[]&:").find(c) == std::string::npos)
        Fail(10, "Syntax error.");
      i += t.text.size();
    }
    tokens.push_back(std::move(t));
  }
  return tokens;
}

std::vector<SourceLine> SplitLines(const std::string& source) {
  std::vector<SourceLine> lines;
  std::string pending;
  int pendingStart = 0;
  int number = 0;
  std::size_t pos = 0;
  while (pos <= source.size()) {
    std::size_t end = source.find('\n', pos);
    if (end == std::string::npos) end = source.size();
    std::string text = source.substr(pos, end - pos);
    pos = end + 1;
    ++number;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    const std::string trimmed = StripBlank(text);
    const std::string head = Upper(trimmed.substr(0, 5));
    if (pending.empty() && (trimmed.empty() || trimmed[0] == '*' ||
                            (trimmed.size() >= 2 && trimmed.compare(0, 2, "&&") == 0) ||
                            head == "NOTE " || head == "NOTE")) {
      continue;
    }
    const std::size_t comment = CommentStart(text);
    if (comment != std::string::npos) text.erase(comment);
    text = StripBlank(text);
    if (pending.empty()) pendingStart = number;
    if (!text.empty() && text.back() == ';') {
      text.pop_back();
      pending += text + " ";
      continue;
    }
    pending += text;
    if (!Trim(pending).empty()) lines.push_back({pendingStart, pending});
    pending.clear();
  }
  if (!Trim(pending).empty()) lines.push_back({pendingStart, pending});
  return lines;
}

}  // namespace foxhost
