// The parser: expressions by precedence climbing, statements by their verb, blocks by their
// closing words.
#include "Program.h"

#include <cstdlib>
#include <set>

namespace foxhost {
namespace {

ExprPtr Node(Expr::Kind kind, std::string name = {}) {
  auto e = std::make_unique<Expr>();
  e->kind = kind;
  e->name = std::move(name);
  return e;
}

ExprPtr Literal(Value v) {
  auto e = Node(Expr::kLiteral);
  e->literal = std::move(v);
  return e;
}

// A keyword as written or cut to four letters or more, as FoxPro reads its verbs.
bool Is(const Token& t, const char* keyword) {
  if (t.kind != Token::kIdent) return false;
  const std::string k = keyword;
  if (t.text == k) return true;
  return t.text.size() >= 4 && t.text.size() < k.size() && k.compare(0, t.text.size(), t.text) == 0;
}

Value DateLiteral(const std::string& text) {
  // {^yyyy-mm-dd}, {mm/dd/yyyy} and the empty date {}.
  std::string t;
  for (char c : text) {
    if (c != ' ') t += c;
  }
  if (t.empty() || t == "/" || t == "//" || t == "^") return Value::Date(0);
  int a = 0, b = 0, c = 0;
  if (t[0] == '^') {
    if (std::sscanf(t.c_str() + 1, "%d%*[-/.]%d%*[-/.]%d", &a, &b, &c) != 3) Fail(10, "Syntax error.");
    return Value::Date(JulianFromYmd(a, b, c));
  }
  if (std::sscanf(t.c_str(), "%d/%d/%d", &a, &b, &c) != 3) Fail(10, "Syntax error.");
  return Value::Date(JulianFromYmd(c, a, b));
}

class LineParser {
public:
  LineParser(const std::string& line) : line_(line), tokens_(Tokenize(line)) {}

  const Token& Peek(std::size_t ahead = 0) const {
    static const Token kEnd;
    return pos_ + ahead < tokens_.size() ? tokens_[pos_ + ahead] : kEnd;
  }
  bool AtEnd() const { return pos_ >= tokens_.size(); }
  Token Next() { return AtEnd() ? Token() : tokens_[pos_++]; }
  bool Accept(const char* op) {
    if (Peek().kind == Token::kOp && Peek().text == op) {
      ++pos_;
      return true;
    }
    return false;
  }
  bool AcceptWord(const char* keyword) {
    if (Is(Peek(), keyword)) {
      ++pos_;
      return true;
    }
    return false;
  }
  void Expect(const char* op) {
    if (!Accept(op)) Fail(10, "Syntax error.");
  }
  std::string Ident() {
    if (Peek().kind != Token::kIdent) Fail(10, "Syntax error.");
    return Next().text;
  }
  void ExpectEnd() {
    if (!AtEnd()) Fail(10, "Syntax error.");
  }

  ExprPtr Expression() { return Or(); }

  // A file or table name: a string, a parenthesised expression, or the bare text up to the
  // next of `stops` (names like my.dbf or c:\dir\x.fll are not expressions).
  ExprPtr NameOrExpr(const std::set<std::string>& stops) {
    if (Peek().kind == Token::kString) return Literal(Value::Char(Next().text));
    if (Peek().kind == Token::kOp && Peek().text == "(") return Primary();
    if (AtEnd()) Fail(10, "Syntax error.");
    const std::size_t start = Peek().offset;
    std::size_t end = line_.size();
    // "(" ends a bare name: CREATE TABLE t (fields...).
    ++pos_;
    while (!AtEnd() && !IsStop(Peek(), stops) && !(Peek().kind == Token::kOp && Peek().text == "(")) ++pos_;
    if (!AtEnd()) end = Peek().offset;
    std::string name = line_.substr(start, end - start);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.pop_back();
    return Literal(Value::Char(name));
  }

  std::vector<ExprPtr> ExpressionList() {
    std::vector<ExprPtr> list;
    if (AtEnd()) return list;
    do list.push_back(Expression());
    while (Accept(","));
    return list;
  }

  std::vector<std::string> NameList() {
    std::vector<std::string> names;
    if (AtEnd()) return names;
    do {
      names.push_back(Ident());
      if (AcceptWord("AS")) Ident();  // types are documentation here
    } while (Accept(","));
    return names;
  }

  ExprPtr Postfix() {
    ExprPtr e = Primary();
    for (;;) {
      if (Accept(".") || Accept("->")) {
        const std::string member = Ident();
        if (Accept("(")) {
          auto call = Node(Expr::kMethod, member);
          call->args.push_back(std::move(e));
          Arguments(call.get());
          e = std::move(call);
        } else {
          auto m = Node(Expr::kMember, member);
          m->args.push_back(std::move(e));
          e = std::move(m);
        }
      } else {
        return e;
      }
    }
  }

private:
  static bool IsStop(const Token& t, const std::set<std::string>& stops) {
    return t.kind == Token::kIdent && stops.count(t.text) != 0;
  }

  void Arguments(Expr* call) {
    if (Accept(")")) return;
    do {
      if (Peek().kind == Token::kOp && (Peek().text == "," || Peek().text == ")")) {
        call->args.push_back(nullptr);  // an omitted argument
      } else {
        call->args.push_back(Expression());
      }
    } while (Accept(","));
    Expect(")");
  }

  ExprPtr Binary(std::string op, ExprPtr left, ExprPtr right) {
    auto e = Node(Expr::kBinary, std::move(op));
    e->args.push_back(std::move(left));
    e->args.push_back(std::move(right));
    return e;
  }

  ExprPtr Or() {
    ExprPtr e = And();
    while (Accept("OR") || AcceptWord("OR")) e = Binary("OR", std::move(e), And());
    return e;
  }
  ExprPtr And() {
    ExprPtr e = Not();
    while (Accept("AND") || AcceptWord("AND")) e = Binary("AND", std::move(e), Not());
    return e;
  }
  ExprPtr Not() {
    if (Accept("NOT") || Accept("!") || AcceptWord("NOT")) {
      auto e = Node(Expr::kUnary, "NOT");
      e->args.push_back(Not());
      return e;
    }
    return Compare();
  }
  ExprPtr Compare() {
    ExprPtr e = Sum();
    static const char* const kOps[] = {"==", "=", "<>", "#", "!=", "<=", ">=", "<", ">", "$"};
    for (;;) {
      const char* found = nullptr;
      for (const char* op : kOps) {
        if (Accept(op)) {
          found = op;
          break;
        }
      }
      if (!found) return e;
      std::string op = found;
      if (op == "#" || op == "!=") op = "<>";
      e = Binary(op, std::move(e), Sum());
    }
  }
  ExprPtr Sum() {
    ExprPtr e = Product();
    for (;;) {
      if (Accept("+")) e = Binary("+", std::move(e), Product());
      else if (Accept("-")) e = Binary("-", std::move(e), Product());
      else return e;
    }
  }
  ExprPtr Product() {
    ExprPtr e = Power();
    for (;;) {
      if (Accept("*")) e = Binary("*", std::move(e), Power());
      else if (Accept("/")) e = Binary("/", std::move(e), Power());
      else if (Accept("%")) e = Binary("%", std::move(e), Power());
      else return e;
    }
  }
  ExprPtr Power() {
    ExprPtr e = Unary();
    if (Accept("**") || Accept("^")) return Binary("^", std::move(e), Power());
    return e;
  }
  ExprPtr Unary() {
    if (Accept("-")) {
      auto e = Node(Expr::kUnary, "-");
      e->args.push_back(Unary());
      return e;
    }
    if (Accept("+")) return Unary();
    return Postfix();
  }
  ExprPtr Primary() {
    const Token t = Next();
    switch (t.kind) {
      case Token::kNumber: return Literal(Value::Num(t.number, t.decimals));
      case Token::kString: return Literal(Value::Char(t.text));
      case Token::kDate: return Literal(DateLiteral(t.text));
      case Token::kLogical:
        if (t.text == ".NULL.") return Literal(Value::Null());
        return Literal(Value::Log(t.text == ".T." || t.text == ".Y."));
      case Token::kIdent:
        if (Accept("(")) {
          auto call = Node(Expr::kCall, t.text);
          Arguments(call.get());
          return call;
        }
        return Node(Expr::kName, t.text);
      case Token::kOp:
        if (t.text == "(") {
          ExprPtr e = Expression();
          Expect(")");
          return e;
        }
        if (t.text == "@") {
          auto e = Node(Expr::kReference, Ident());
          return e;
        }
        [[fallthrough]];
      default:
        if (t.kind == Token::kEnd) Fail(10, "Command contains unrecognized phrase/keyword.");
        Fail(10, "Syntax error.");
    }
  }

  std::string line_;
  std::vector<Token> tokens_;
  std::size_t pos_ = 0;
};

// The field list of CREATE TABLE, kept as "NAME TYPE WIDTH DECIMALS" texts in `names`.
void FieldList(LineParser& p, Stmt& s) {
  p.Expect("(");
  do {
    const std::string name = p.Ident();
    const std::string type = p.Ident();
    int width = 0, decimals = 0;
    if (p.Accept("(")) {
      width = static_cast<int>(p.Next().number);
      if (p.Accept(",")) decimals = static_cast<int>(p.Next().number);
      p.Expect(")");
    }
    while (!p.AtEnd() && !(p.Peek().kind == Token::kOp &&
                           (p.Peek().text == "," || p.Peek().text == ")"))) {
      p.Next();  // NULL, NOT NULL and the like
    }
    s.names.push_back(name + " " + type + " " + std::to_string(width) + " " +
                      std::to_string(decimals));
  } while (p.Accept(","));
  p.Expect(")");
}

void ParseVerb(LineParser& p, Stmt& s);

Stmt ParseSimple(const std::string& text, int line) {
  Stmt s;
  s.line = line;
  LineParser p(text);
  ParseVerb(p, s);
  return s;
}

void ParseVerb(LineParser& p, Stmt& s) {
  const Token first = p.Peek();
  const Token second = p.Peek(1);
  // Assignments and method calls come before verbs: a variable may be called WAIT.
  if (first.kind == Token::kIdent && second.kind == Token::kOp &&
      (second.text == "=" || second.text == "." || second.text == "->")) {
    ExprPtr target = p.Postfix();
    if (p.Accept("=")) {
      s.kind = Stmt::kAssign;
      s.exprs.push_back(std::move(target));
      s.exprs.push_back(p.Expression());
      p.ExpectEnd();
      return;
    }
    if (target->kind == Expr::kMethod) {
      s.kind = Stmt::kEval;
      s.exprs.push_back(std::move(target));
      p.ExpectEnd();
      return;
    }
    Fail(16, "Unrecognized command verb.");
  }
  // A function called as a statement, its result dropped: IMSHOW("a.bmp", 0, 0).
  if (first.kind == Token::kIdent && second.kind == Token::kOp && second.text == "(") {
    s.kind = Stmt::kEval;
    s.exprs.push_back(p.Expression());
    p.ExpectEnd();
    return;
  }
  if (first.kind == Token::kOp && first.text == "?") {
    p.Next();
    s.kind = Stmt::kPrint;
    if (p.Accept("?")) s.kind = Stmt::kPrintSame;
    s.exprs = p.ExpressionList();
    p.ExpectEnd();
    return;
  }
  if (first.kind == Token::kOp && first.text == "=") {
    p.Next();
    s.kind = Stmt::kEval;
    s.exprs.push_back(p.Expression());
    p.ExpectEnd();
    return;
  }
  if (first.kind != Token::kIdent) Fail(16, "Unrecognized command verb.");
  p.Next();
  if (Is(first, "STORE")) {
    s.kind = Stmt::kStore;
    s.exprs.push_back(p.Expression());
    if (!p.AcceptWord("TO")) Fail(10, "Syntax error.");
    s.names = p.NameList();
  } else if (Is(first, "LOCAL")) {
    s.kind = Stmt::kLocal;
    s.names = p.NameList();
  } else if (Is(first, "PRIVATE")) {
    s.kind = Stmt::kPrivate;
    s.names = p.NameList();
  } else if (Is(first, "PUBLIC")) {
    s.kind = Stmt::kPublic;
    s.names = p.NameList();
  } else if (Is(first, "PARAMETERS")) {
    s.kind = Stmt::kParameters;
    s.names = p.NameList();
  } else if (Is(first, "LPARAMETERS")) {
    s.kind = Stmt::kLParameters;
    s.names = p.NameList();
  } else if (Is(first, "RETURN")) {
    s.kind = Stmt::kReturn;
    if (!p.AtEnd()) s.exprs.push_back(p.Expression());
  } else if (first.text == "EXIT") {
    s.kind = Stmt::kExit;
  } else if (first.text == "LOOP") {
    s.kind = Stmt::kLoop;
  } else if (first.text == "DO") {
    s.kind = Stmt::kDo;
    if (p.AcceptWord("EVENTS")) {
      s.kind = Stmt::kDoEvents;
    } else {
      s.exprs.push_back(p.NameOrExpr({"WITH", "IN"}));
      if (p.AcceptWord("IN")) p.NameOrExpr({"WITH"});
      if (p.AcceptWord("WITH")) {
        for (ExprPtr& e : p.ExpressionList()) s.exprs.push_back(std::move(e));
      }
    }
  } else if (first.text == "DOEVENTS") {
    s.kind = Stmt::kDoEvents;
  } else if (first.text == "SET") {
    s.kind = Stmt::kNothing;  // SET TALK OFF and the other settings leave this host as it is
    if (p.AcceptWord("LIBRARY")) {
      if (!p.AcceptWord("TO")) Fail(10, "Syntax error.");
      s.kind = Stmt::kSetLibrary;
      if (!p.AtEnd()) s.exprs.push_back(p.NameOrExpr({"ADDITIVE"}));
      s.flag = p.AcceptWord("ADDITIVE");
    }
    while (!p.AtEnd()) p.Next();
  } else if (Is(first, "RELEASE")) {
    if (p.AcceptWord("LIBRARY")) {
      s.kind = Stmt::kReleaseLibrary;
      s.exprs.push_back(p.NameOrExpr({}));
    } else if (p.AcceptWord("ALL")) {
      s.kind = Stmt::kRelease;
    } else {
      s.kind = Stmt::kRelease;
      s.names = p.NameList();
    }
  } else if (first.text == "READ") {
    if (!p.AcceptWord("EVENTS")) Fail(16, "Unrecognized command verb.");
    s.kind = Stmt::kReadEvents;
  } else if (Is(first, "CLEAR")) {
    s.kind = p.AcceptWord("EVENTS") ? Stmt::kClearEvents : Stmt::kNothing;
    while (!p.AtEnd()) p.Next();  // CLEAR, CLEAR ALL: the console has nothing to clear
  } else if (first.text == "WAIT") {
    s.kind = Stmt::kWait;
    while (!p.AtEnd()) {
      if (p.AcceptWord("WINDOW")) s.flag = true;
      else if (p.AcceptWord("NOWAIT") || p.AcceptWord("NOCLEAR")) {}
      else if (p.AcceptWord("TIMEOUT")) s.exprs.resize(2), s.exprs[1] = p.Expression();
      else if (p.AcceptWord("AT")) { p.Expression(); p.Accept(","); p.Expression(); }
      else if (s.exprs.empty()) s.exprs.push_back(p.Expression());
      else Fail(10, "Syntax error.");
    }
  } else if (first.text == "CREATE") {
    if (!p.AcceptWord("TABLE") && !p.AcceptWord("DBF")) Fail(16, "Unrecognized command verb.");
    s.kind = Stmt::kCreateTable;
    s.exprs.push_back(p.NameOrExpr({"FREE"}));
    p.AcceptWord("FREE");
    FieldList(p, s);
  } else if (first.text == "USE") {
    s.kind = Stmt::kUse;
    if (!p.AtEnd() && !Is(p.Peek(), "IN")) s.exprs.push_back(p.NameOrExpr({"ALIAS", "IN", "EXCLUSIVE", "SHARED", "AGAIN", "NOUPDATE"}));
    while (!p.AtEnd()) {
      if (p.AcceptWord("ALIAS")) s.text = p.Ident();
      else if (p.AcceptWord("IN")) s.exprs.resize(2), s.exprs[1] = p.Expression();
      else p.Next();
    }
  } else if (Is(first, "SELECT")) {
    s.kind = Stmt::kSelect;
    if (p.Peek().kind == Token::kIdent && p.Peek(1).kind == Token::kEnd)
      s.text = p.Ident();  // an alias
    else
      s.exprs.push_back(p.Expression());
  } else if (Is(first, "APPEND")) {
    if (p.AcceptWord("BLANK")) {
      s.kind = Stmt::kAppendBlank;
    } else if (p.AcceptWord("MEMO")) {
      s.kind = Stmt::kAppendMemo;
      s.text = p.Ident();
      if (!p.AcceptWord("FROM")) Fail(10, "Syntax error.");
      s.exprs.push_back(p.NameOrExpr({"OVERWRITE", "AS"}));
      s.flag = p.AcceptWord("OVERWRITE");
    } else {
      Fail(16, "Unrecognized command verb.");
    }
  } else if (Is(first, "REPLACE")) {
    s.kind = Stmt::kReplace;
    do {
      std::string field = p.Ident();
      if (p.Accept(".") || p.Accept("->")) field = p.Ident();
      s.names.push_back(field);
      if (!p.AcceptWord("WITH")) Fail(10, "Syntax error.");
      s.exprs.push_back(p.Expression());
      p.AcceptWord("ADDITIVE");
    } while (p.Accept(","));
  } else if (first.text == "GO" || Is(first, "GOTO")) {
    s.kind = Stmt::kGo;
    if (p.AcceptWord("TOP")) s.text = "TOP";
    else if (p.AcceptWord("BOTTOM")) s.text = "BOTTOM";
    else {
      p.AcceptWord("RECORD");
      s.exprs.push_back(p.Expression());
    }
  } else if (first.text == "SKIP") {
    s.kind = Stmt::kSkip;
    if (!p.AtEnd()) s.exprs.push_back(p.Expression());
  } else if (Is(first, "CLOSE")) {
    s.kind = Stmt::kCloseTables;
    while (!p.AtEnd()) p.Next();
  } else if (first.text == "QUIT" || Is(first, "CANCEL")) {
    s.kind = Stmt::kQuit;
  } else {
    Fail(16, "Unrecognized command verb.");
  }
  p.ExpectEnd();
}

// Block parsing over the program's lines.
class BlockParser {
public:
  BlockParser(const std::vector<SourceLine>& lines) : lines_(lines) {}

  // Statements until a line whose verb is in `ends`; that verb comes back (empty at the end).
  std::string Block(std::vector<Stmt>& out, const std::set<std::string>& ends, int openLine) {
    while (index_ < lines_.size()) {
      const SourceLine& line = lines_[index_];
      currentLine_ = line.number;
      LineParser head(line.text);
      const Token verb = head.Peek();
      const std::string word = Verb(verb, head.Peek(1));
      if (ends.count(word)) {
        ++index_;
        lastLine_ = line;
        return word;
      }
      if (word == "PROCEDURE" || word == "FUNCTION") {
        if (!ends.empty() && !ends.count("*PROC")) Fail(10, "Syntax error.");
        return word;
      }
      ++index_;
      out.push_back(Statement(line, word));
    }
    if (!ends.empty() && !ends.count("*PROC")) {
      currentLine_ = openLine;
      Fail(10, "Syntax error.");
    }
    return {};
  }

  int CurrentLine() const { return currentLine_; }
  std::size_t Index() const { return index_; }
  const SourceLine& LastLine() const { return lastLine_; }
  void Skip() { ++index_; }

private:
  // The block word of a line: closing and opening words, "" for other statements.
  static std::string Verb(const Token& t, const Token& next) {
    if (t.kind != Token::kIdent || (next.kind == Token::kOp && (next.text == "=" || next.text == ".")))
      return {};
    static const char* const kWords[] = {"ENDIF", "ELSE", "ENDDO", "ENDFOR", "NEXT", "ENDCASE",
                                          "CASE", "OTHERWISE", "ENDPROC", "ENDFUNC", "PROCEDURE",
                                          "FUNCTION", "IF", "FOR", "ENDWHILE"};
    for (const char* w : kWords) {
      if (Is(t, w)) return w;
    }
    if (t.text == "DO" && (Is(next, "WHILE") || Is(next, "CASE"))) return Is(next, "WHILE") ? "DO WHILE" : "DO CASE";
    return {};
  }

  Stmt Statement(const SourceLine& line, const std::string& word) {
    LineParser p(line.text);
    Stmt s;
    s.line = line.number;
    if (word == "IF") {
      p.Next();
      s.kind = Stmt::kIf;
      s.exprs.push_back(p.Expression());
      p.ExpectEnd();
      if (Block(s.body, {"ELSE", "ENDIF"}, line.number) == "ELSE") Block(s.elseBody, {"ENDIF"}, line.number);
    } else if (word == "DO WHILE") {
      p.Next();
      p.Next();
      s.kind = Stmt::kDoWhile;
      s.exprs.push_back(p.Expression());
      p.ExpectEnd();
      Block(s.body, {"ENDDO", "ENDWHILE"}, line.number);
    } else if (word == "FOR") {
      p.Next();
      s.kind = Stmt::kFor;
      s.names.push_back(p.Ident());
      p.Expect("=");
      s.exprs.push_back(p.Expression());
      if (!p.AcceptWord("TO")) Fail(10, "Syntax error.");
      s.exprs.push_back(p.Expression());
      if (p.AcceptWord("STEP")) s.exprs.push_back(p.Expression());
      p.ExpectEnd();
      Block(s.body, {"ENDFOR", "NEXT"}, line.number);
    } else if (word == "DO CASE") {
      // A chain of IFs: each CASE tests, OTHERWISE is the last ELSE.
      s.kind = Stmt::kIf;
      s.exprs.push_back(Literal(Value::Log(false)));
      std::vector<Stmt> ignored;
      std::string next = Block(ignored, {"CASE", "OTHERWISE", "ENDCASE"}, line.number);
      Stmt* tail = &s;
      while (next == "CASE") {
        LineParser c(lastLine_.text);
        c.Next();
        Stmt branch;
        branch.kind = Stmt::kIf;
        branch.line = lastLine_.number;
        branch.exprs.push_back(c.Expression());
        c.ExpectEnd();
        next = Block(branch.body, {"CASE", "OTHERWISE", "ENDCASE"}, line.number);
        tail->elseBody.push_back(std::move(branch));
        tail = &tail->elseBody.back();
      }
      if (next == "OTHERWISE") Block(tail->elseBody, {"ENDCASE"}, line.number);
    } else if (!word.empty()) {
      Fail(10, "Syntax error.");  // a closing word without its opening
    } else {
      ParseVerb(p, s);
    }
    return s;
  }

  const std::vector<SourceLine>& lines_;
  std::size_t index_ = 0;
  int currentLine_ = 0;
  SourceLine lastLine_{0, {}};
};

}  // namespace

bool ParseProgram(const std::string& source, const std::string& fileName, Program* program,
                  ScriptError* error, int* errorLine) {
  const std::vector<SourceLine> lines = SplitLines(source);
  BlockParser blocks(lines);
  program->fileName = fileName;
  try {
    std::string next = blocks.Block(program->main, {}, 0);
    while (next == "PROCEDURE" || next == "FUNCTION") {
      LineParser head(lines[blocks.Index()].text);
      head.Next();
      Procedure proc;
      proc.name = head.Ident();
      std::vector<Stmt> params;
      if (head.Accept("(")) {
        // FUNCTION f(a, b) declares its parameters as LPARAMETERS would.
        Stmt lp;
        lp.kind = Stmt::kLParameters;
        lp.line = lines[blocks.Index()].number;
        if (!head.Accept(")")) {
          lp.names = head.NameList();
          head.Expect(")");
        }
        proc.body.push_back(std::move(lp));
      }
      blocks.Skip();
      next = blocks.Block(proc.body, {"ENDPROC", "ENDFUNC", "*PROC"}, 0);
      if (next == "ENDPROC" || next == "ENDFUNC") next = blocks.Block(program->main, {}, 0);
      program->procedures[proc.name] = std::move(proc);
    }
    return true;
  } catch (const ScriptError& e) {
    *error = e;
    *errorLine = blocks.CurrentLine();
    return false;
  }
}

ExprPtr ParseExpression(const std::string& text) {
  LineParser p(text);
  ExprPtr e = p.Expression();
  p.ExpectEnd();
  return e;
}

Stmt ParseStatement(const std::string& text) { return ParseSimple(text, 0); }

}  // namespace foxhost
