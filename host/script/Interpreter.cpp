#include "Interpreter.h"

#include <cmath>
#include <fstream>
#include <sstream>

namespace foxhost {
namespace {

constexpr int kMaxDepth = 128;  // FoxPro's own nesting limit is in this range

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) name.erase(dot);
  return Upper(name);
}

bool ReadFile(const std::string& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  *text = buffer.str();
  return true;
}

std::string WithExtension(const std::string& name, const char* ext) {
  const std::size_t slash = name.find_last_of("/\\");
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) return name;
  return name + ext;
}

double CompareTexts(const std::string& a, const std::string& b, bool exact) {
  // SET EXACT OFF: "=" compares as far as the right side goes; "==" compares whole texts.
  if (!exact && b.size() <= a.size()) return a.compare(0, b.size(), b);
  if (exact) return Trim(a) == Trim(b) ? 0 : a.compare(b);
  return a.compare(b);
}

}  // namespace

Interpreter::Interpreter(Platform& platform) : platform_(platform) { InstallServices(); }

Interpreter::~Interpreter() {
  ReleaseAllLibraries();
  for (auto& [id, file] : channels_) std::fclose(file);
}

std::string Interpreter::ProgramName() const {
  return frames_.empty() || !frames_.back().program ? std::string() : frames_.back().program->fileName;
}

int Interpreter::RunFile(const std::string& path, const std::vector<std::string>& args) {
  std::string source;
  const std::string file = WithExtension(path, ".prg");
  if (!ReadFile(file, &source)) {
    platform_.Print("File '" + file + "' does not exist.\n");
    return 1;
  }
  return RunSource(source, file, args);
}

int Interpreter::RunSource(const std::string& source, const std::string& fileName,
                           const std::vector<std::string>& args) {
  auto program = std::make_unique<Program>();
  ScriptError error{};
  int line = 0;
  if (!ParseProgram(source, fileName, program.get(), &error, &line)) {
    platform_.Print("Error " + std::to_string(error.code) + " in line " + std::to_string(line) +
                    " of " + fileName + ": " + error.message + "\n");
    return 1;
  }
  const Program& p = *program;
  programs_.push_back(std::move(program));
  std::vector<Cell> arguments;
  for (const std::string& a : args) arguments.push_back(std::make_shared<Value>(Value::Char(a)));
  int status = 0;
  try {
    Value ignored;
    RunProcedure(p, p.main, std::move(arguments), &ignored);
  } catch (const ScriptError& e) {
    const int at = frames_.empty() ? 0 : frames_.back().line;
    const std::string program = ProgramName().empty() ? fileName : ProgramName();
    platform_.Print("\nError " + std::to_string(e.code) + " in line " + std::to_string(at) +
                    " of " + program + ": " + e.message + "\n");
    status = 1;
  }
  frames_.clear();
  depth_ = 0;
  ReleaseAllLibraries();
  tables_.CloseAll();
  platform_.Print("");
  return status;
}

Interpreter::Flow Interpreter::RunProcedure(const Program& program, const std::vector<Stmt>& body,
                                            std::vector<Cell> arguments, Value* result) {
  if (++depth_ > kMaxDepth) {
    --depth_;
    Fail(1240, "DO nesting too deep.");
  }
  frames_.push_back(Frame{});
  frames_.back().program = &program;
  frames_.back().arguments = std::move(arguments);
  *result = Value::Log(true);  // a procedure without RETURN gives .T.
  Flow flow = Flow::kNormal;
  struct Pop {
    Interpreter* self;
    ~Pop() {
      self->frames_.pop_back();
      --self->depth_;
    }
  };
  const std::size_t depthIndex = frames_.size() - 1;
  {
    // A ScriptError leaves the frame for the report to name its line; the run ends anyway.
    flow = RunBlock(body);
    if (flow == Flow::kReturn) {
      auto it = frames_[depthIndex].locals.find("\x01RESULT");
      if (it != frames_[depthIndex].locals.end()) *result = *it->second;
    }
    Pop pop{this};
  }
  return flow == Flow::kQuit ? Flow::kQuit : Flow::kNormal;
}

Interpreter::Flow Interpreter::RunBlock(const std::vector<Stmt>& body) {
  for (const Stmt& s : body) {
    const Flow flow = Run(s);
    if (flow != Flow::kNormal) return flow;
  }
  return Flow::kNormal;
}

Interpreter::Cell Interpreter::Find(const std::string& name) {
  std::string n = name;
  if (n.size() > 2 && n.compare(0, 2, "M.") == 0) n.erase(0, 2);
  if (!frames_.empty()) {
    Frame& top = frames_.back();
    if (auto it = top.locals.find(n); it != top.locals.end()) return it->second;
  }
  for (auto f = frames_.rbegin(); f != frames_.rend(); ++f) {
    if (auto it = f->privates.find(n); it != f->privates.end()) return it->second;
  }
  if (auto it = publics_.find(n); it != publics_.end()) return it->second;
  return nullptr;
}

Interpreter::Cell Interpreter::FindOrFail(const std::string& name) {
  Cell c = Find(name);
  if (!c) Fail(12, "Variable '" + name + "' is not found.");
  return c;
}

Interpreter::Cell Interpreter::Declare(const std::string& name, bool local) {
  auto cell = std::make_shared<Value>(Value::Log(false));
  if (frames_.empty()) {
    publics_[name] = cell;
  } else if (local) {
    frames_.back().locals[name] = cell;
  } else {
    frames_.back().privates[name] = cell;
  }
  return cell;
}

void Interpreter::Assign(const Expr& target, const Value& value) {
  if (target.kind == Expr::kName) {
    // A field of the current table is not assigned by "=": that makes a variable, as in FoxPro.
    Cell c = Find(target.name);
    if (!c) c = Declare(target.name, false);
    *c = value;
    return;
  }
  if (target.kind == Expr::kMember) {
    const Expr& owner = *target.args[0];
    if (owner.kind == Expr::kName && owner.name == "M") {
      Cell c = Find(target.name);
      if (!c) c = Declare(target.name, false);
      *c = value;
      return;
    }
    const Value object = Eval(owner);
    if (object.type != 'O' || !object.object) Fail(1924, owner.name + " is not an object.");
    if (!object.object->Set(target.name, value))
      Fail(1734, "Property " + target.name + " is not found.");
    return;
  }
  Fail(10, "Syntax error.");
}

Value Interpreter::NameValue(const std::string& name) {
  if (Cell c = Find(name)) return *c;
  // Then a field of the current table, as FoxPro looks names up.
  if (DbfTable* t = tables_.At(tables_.Current())) {
    const int field = t->FieldIndex(name);
    if (field >= 0) return t->Get(field);
  }
  if (name == "_SCREEN") {
    Value screen = Value::Obj(platform_.CreateObject("_SCREEN"));
    if (screen.object) return screen;
  }
  Fail(12, "Variable '" + name + "' is not found.");
}

Value Interpreter::MemberValue(const Expr& e) {
  const Expr& owner = *e.args[0];
  if (owner.kind == Expr::kName) {
    if (owner.name == "M") return *FindOrFail(e.name);
    if (!Find(owner.name)) {
      const int area = tables_.AreaOf(owner.name);
      if (area != 0) {
        DbfTable* t = tables_.At(area);
        const int field = t->FieldIndex(e.name);
        if (field < 0) Fail(47, "No fields found to process.");
        return t->Get(field);
      }
    }
  }
  const Value object = Eval(owner);
  if (object.type != 'O' || !object.object) Fail(1924, owner.name + " is not an object.");
  Value v;
  if (!object.object->Get(e.name, &v)) Fail(1734, "Property " + e.name + " is not found.");
  return v;
}

Value Interpreter::Binary(const std::string& op, const Value& a, const Value& b) {
  auto mismatch = [] { Fail(107, "Operator/operand type mismatch."); };
  if (op == "AND" || op == "OR") {
    if (a.type != 'L' || b.type != 'L') mismatch();
    return Value::Log(op == "AND" ? (a.logical && b.logical) : (a.logical || b.logical));
  }
  if (op == "$") {
    if (a.type != 'C' || b.type != 'C') mismatch();
    return Value::Log(b.text.find(a.text) != std::string::npos);
  }
  if (op == "=" || op == "==" || op == "<>" || op == "<" || op == ">" || op == "<=" || op == ">=") {
    double c = 0;
    if (a.type == 'X' || b.type == 'X') return Value::Null();
    if (a.type != b.type) mismatch();
    switch (a.type) {
      case 'C': c = CompareTexts(a.text, b.text, op == "=="); break;
      case 'N': case 'D': c = a.number < b.number ? -1 : a.number > b.number ? 1 : 0; break;
      case 'L': c = int(a.logical) - int(b.logical); break;
      case 'O': c = a.object == b.object ? 0 : 1; break;
      default: mismatch();
    }
    if (op == "=" || op == "==") return Value::Log(c == 0);
    if (op == "<>") return Value::Log(c != 0);
    if (op == "<") return Value::Log(c < 0);
    if (op == ">") return Value::Log(c > 0);
    if (op == "<=") return Value::Log(c <= 0);
    return Value::Log(c >= 0);
  }
  if (op == "+" && a.type == 'C' && b.type == 'C') return Value::Char(a.text + b.text);
  if (op == "-" && a.type == 'C' && b.type == 'C') {
    // Trailing blanks of the left side move to the end.
    const std::string left = Trim(a.text);
    return Value::Char(left + b.text + std::string(a.text.size() - left.size(), ' '));
  }
  if (a.type == 'D' && b.type == 'N' && (op == "+" || op == "-"))
    return Value::Date(op == "+" ? a.number + b.number : a.number - b.number);
  if (a.type == 'D' && b.type == 'D' && op == "-") return Value::Num(a.number - b.number);
  if (a.type != 'N' || b.type != 'N') mismatch();
  const int decimals = std::max(a.decimals, b.decimals);
  if (op == "+") return Value::Num(a.number + b.number, decimals);
  if (op == "-") return Value::Num(a.number - b.number, decimals);
  if (op == "*") return Value::Num(a.number * b.number, a.decimals + b.decimals);
  if (op == "/") {
    if (b.number == 0) Fail(1307, "Division by zero.");
    const double q = a.number / b.number;
    return Value::Num(q, q == std::floor(q) ? decimals : std::max(decimals, 2));
  }
  if (op == "%") {
    if (b.number == 0) Fail(1307, "Division by zero.");
    double r = std::fmod(a.number, b.number);
    if (r != 0 && ((r < 0) != (b.number < 0))) r += b.number;
    return Value::Num(r, decimals);
  }
  if (op == "^") return Value::Num(std::pow(a.number, b.number), decimals);
  Fail(107, "Operator/operand type mismatch.");
}

Value Interpreter::Eval(const Expr& e) {
  switch (e.kind) {
    case Expr::kLiteral: return e.literal;
    case Expr::kName: return NameValue(e.name);
    case Expr::kReference: return *FindOrFail(e.name);
    case Expr::kMember: return MemberValue(e);
    case Expr::kUnary: {
      const Value v = Eval(*e.args[0]);
      if (e.name == "NOT") {
        if (v.type != 'L') Fail(107, "Operator/operand type mismatch.");
        return Value::Log(!v.logical);
      }
      if (v.type != 'N') Fail(107, "Operator/operand type mismatch.");
      return Value::Num(-v.number, v.decimals);
    }
    case Expr::kBinary: {
      const Value a = Eval(*e.args[0]);
      // AND and OR short-circuit, as FoxPro's do.
      if (e.name == "AND" && a.type == 'L' && !a.logical) return Value::Log(false);
      if (e.name == "OR" && a.type == 'L' && a.logical) return Value::Log(true);
      return Binary(e.name, a, Eval(*e.args[1]));
    }
    case Expr::kCall: {
      std::vector<const Expr*> args;
      for (const auto& a : e.args) args.push_back(a.get());
      return CallFunction(e.name, args);
    }
    case Expr::kMethod: {
      const Value object = Eval(*e.args[0]);
      if (object.type != 'O' || !object.object) Fail(1924, e.args[0]->name + " is not an object.");
      std::vector<Value> args;
      for (std::size_t i = 1; i < e.args.size(); ++i) args.push_back(e.args[i] ? Eval(*e.args[i]) : Value::Log(false));
      Value result = Value::Log(true);
      if (!object.object->Call(e.name, args, &result)) Fail(1733, "Method " + e.name + " is not found.");
      return result;
    }
  }
  Fail(10, "Syntax error.");
}

bool Interpreter::FindProcedure(const std::string& name, const Program** program,
                                const Procedure** proc) {
  // The running program first, then every program loaded before it.
  if (!frames_.empty() && frames_.back().program) {
    auto it = frames_.back().program->procedures.find(name);
    if (it != frames_.back().program->procedures.end()) {
      *program = frames_.back().program;
      *proc = &it->second;
      return true;
    }
  }
  for (const auto& p : programs_) {
    auto it = p->procedures.find(name);
    if (it != p->procedures.end()) {
      *program = p.get();
      *proc = &it->second;
      return true;
    }
  }
  return false;
}

Value Interpreter::CallUser(const std::string& name, const std::vector<const Expr*>& args,
                            bool byRefDefault) {
  const Program* program = nullptr;
  const Procedure* proc = nullptr;
  std::vector<Cell> cells;
  for (const Expr* a : args) {
    // DO passes variables by reference, function calls by value unless written @var.
    if (a && (a->kind == Expr::kReference || (byRefDefault && a->kind == Expr::kName && Find(a->name))))
      cells.push_back(FindOrFail(a->name));
    else
      cells.push_back(std::make_shared<Value>(a ? Eval(*a) : Value::Log(false)));
  }
  Value result;
  if (FindProcedure(name, &program, &proc)) {
    if (RunProcedure(*program, proc->body, std::move(cells), &result) == Flow::kQuit) quitting_ = true;
    return result;
  }
  // DO name runs name.prg when no procedure has that name.
  std::string source;
  const std::string file = WithExtension(name, ".prg");
  std::string path = file;
  if (!ReadFile(path, &source)) {
    const std::string here = ProgramName();
    const std::size_t slash = here.find_last_of("/\\");
    if (slash != std::string::npos) path = here.substr(0, slash + 1) + file;
    if (!ReadFile(path, &source)) Fail(1, "File '" + file + "' does not exist.");
  }
  auto loaded = std::make_unique<Program>();
  ScriptError error{};
  int line = 0;
  if (!ParseProgram(source, path, loaded.get(), &error, &line)) throw error;
  const Program& p = *loaded;
  programs_.push_back(std::move(loaded));
  if (RunProcedure(p, p.main, std::move(cells), &result) == Flow::kQuit) quitting_ = true;
  return result;
}

Interpreter::Flow Interpreter::Run(const Stmt& s) {
  if (quitting_) return Flow::kQuit;
  if (!frames_.empty() && s.line) frames_.back().line = s.line;
  switch (s.kind) {
    case Stmt::kAssign: Assign(*s.exprs[0], Eval(*s.exprs[1])); break;
    case Stmt::kStore: {
      const Value v = Eval(*s.exprs[0]);
      for (const std::string& n : s.names) {
        Cell c = Find(n);
        if (!c) c = Declare(n, false);
        *c = v;
      }
      break;
    }
    case Stmt::kPrint:
    case Stmt::kPrintSame: {
      std::string line = s.kind == Stmt::kPrint ? "\n" : "";
      for (std::size_t i = 0; i < s.exprs.size(); ++i) {
        if (i) line += " ";
        line += DisplayText(Eval(*s.exprs[i]));
      }
      platform_.Print(line);
      break;
    }
    case Stmt::kIf: {
      const Value c = Eval(*s.exprs[0]);
      if (c.type != 'L') Fail(107, "Operator/operand type mismatch.");
      return RunBlock(c.logical ? s.body : s.elseBody);
    }
    case Stmt::kDoWhile:
      for (;;) {
        const Value c = Eval(*s.exprs[0]);
        if (c.type != 'L') Fail(107, "Operator/operand type mismatch.");
        if (!c.logical) break;
        const Flow f = RunBlock(s.body);
        if (f == Flow::kExit) break;
        if (f == Flow::kReturn || f == Flow::kQuit) return f;
        if (!frames_.empty()) frames_.back().line = s.line;
      }
      break;
    case Stmt::kFor: {
      Cell var = Find(s.names[0]);
      if (!var) var = Declare(s.names[0], false);
      const Value start = Eval(*s.exprs[0]);
      if (start.type != 'N') Fail(107, "Operator/operand type mismatch.");
      *var = start;
      for (;;) {
        const Value end = Eval(*s.exprs[1]);
        const Value step = s.exprs.size() > 2 ? Eval(*s.exprs[2]) : Value::Num(1);
        if (end.type != 'N' || step.type != 'N' || var->type != 'N') Fail(107, "Operator/operand type mismatch.");
        if (step.number >= 0 ? var->number > end.number : var->number < end.number) break;
        const Flow f = RunBlock(s.body);
        if (f == Flow::kExit) break;
        if (f == Flow::kReturn || f == Flow::kQuit) return f;
        if (var->type != 'N') Fail(107, "Operator/operand type mismatch.");
        *var = Value::Num(var->number + step.number, std::max(var->decimals, step.decimals));
      }
      break;
    }
    case Stmt::kDo: {
      const Value target = Eval(*s.exprs[0]);
      if (target.type != 'C') Fail(11, "Function argument value, type, or count is invalid.");
      std::vector<const Expr*> args;
      for (std::size_t i = 1; i < s.exprs.size(); ++i) args.push_back(s.exprs[i].get());
      std::string name = Trim(target.text);
      const std::string upper = Upper(name);
      const bool isFile = upper.size() > 4 && upper.compare(upper.size() - 4, 4, ".PRG") == 0;
      CallUser(isFile ? name : upper, args, true);
      if (quitting_) return Flow::kQuit;
      break;
    }
    case Stmt::kReturn: {
      Value v = s.exprs.empty() ? Value::Log(true) : Eval(*s.exprs[0]);
      frames_.back().locals["\x01RESULT"] = std::make_shared<Value>(std::move(v));
      return Flow::kReturn;
    }
    case Stmt::kExit: return Flow::kExit;
    case Stmt::kLoop: return Flow::kLoop;
    case Stmt::kLocal:
      for (const std::string& n : s.names) Declare(n, true);
      break;
    case Stmt::kPrivate:
      for (const std::string& n : s.names) frames_.back().privates.erase(n), Declare(n, false);
      break;
    case Stmt::kPublic:
      for (const std::string& n : s.names) {
        if (!publics_.count(n)) publics_[n] = std::make_shared<Value>(Value::Log(false));
      }
      break;
    case Stmt::kParameters:
    case Stmt::kLParameters: {
      Frame& f = frames_.back();
      if (f.arguments.size() > s.names.size()) Fail(1230, "Too many arguments.");
      for (std::size_t i = 0; i < s.names.size(); ++i) {
        Cell c = i < f.arguments.size() ? f.arguments[i] : std::make_shared<Value>(Value::Log(false));
        (s.kind == Stmt::kLParameters ? f.locals : f.privates)[s.names[i]] = c;
      }
      break;
    }
    case Stmt::kSetLibrary: {
      if (s.exprs.empty()) {
        ReleaseAllLibraries();
        break;
      }
      const Value name = Eval(*s.exprs[0]);
      if (name.type != 'C') Fail(11, "Function argument value, type, or count is invalid.");
      LoadLinkLibrary(Trim(name.text), s.flag);
      break;
    }
    case Stmt::kReleaseLibrary: {
      const Value name = Eval(*s.exprs[0]);
      if (name.type != 'C') Fail(11, "Function argument value, type, or count is invalid.");
      const std::string base = BaseName(Trim(name.text));
      for (std::size_t i = 0; i < libraries_.size(); ++i) {
        if (libraries_[i].name != base) continue;
        const Library lib = libraries_[i];
        libraries_.erase(libraries_.begin() + static_cast<long>(i));
        ReleaseLibrary(lib);
        return Flow::kNormal;
      }
      Fail(1, "File '" + Trim(name.text) + "' does not exist.");
    }
    case Stmt::kReadEvents:
      eventsCleared_ = false;
      while (!eventsCleared_ && !quitting_) {
        if (!platform_.WaitEvents(50)) return Flow::kQuit;
        RunIdle();
      }
      break;
    case Stmt::kClearEvents: eventsCleared_ = true; break;
    case Stmt::kDoEvents:
      platform_.DoEvents();
      RunIdle();
      break;
    case Stmt::kWait: {
      std::string text = "Press any key to continue...";
      if (!s.exprs.empty() && s.exprs[0]) {
        const Value v = Eval(*s.exprs[0]);
        if (v.type != 'C') Fail(11, "Function argument value, type, or count is invalid.");
        text = v.text;
      }
      double timeout = 0;
      if (s.exprs.size() > 1 && s.exprs[1]) {
        const Value t = Eval(*s.exprs[1]);
        if (t.type != 'N') Fail(11, "Function argument value, type, or count is invalid.");
        timeout = t.number;
      }
      platform_.WaitWindow(text, timeout);
      RunIdle();
      break;
    }
    case Stmt::kEval: Eval(*s.exprs[0]); break;
    case Stmt::kCreateTable: {
      const Value name = Eval(*s.exprs[0]);
      std::vector<FieldDef> fields;
      for (const std::string& d : s.names) {
        std::istringstream in(d);
        FieldDef f;
        std::string type;
        in >> f.name >> type >> f.width >> f.decimals;
        f.type = type.empty() ? 'C' : type[0];
        fields.push_back(f);
      }
      const std::string path = WithExtension(Trim(name.text), ".dbf");
      int area = tables_.Current();
      tables_.Close(area);
      tables_.Use(area, DbfTable::Create(path, fields), BaseName(path));
      break;
    }
    case Stmt::kUse: {
      int area = tables_.Current();
      if (s.exprs.size() > 1 && s.exprs[1]) {
        const Value in = Eval(*s.exprs[1]);
        area = in.type == 'N' ? static_cast<int>(in.number) : tables_.AreaOf(in.text);
        if (area == 0 && in.type == 'N') area = tables_.FreeArea();
      }
      tables_.Close(area);
      if (!s.exprs.empty() && s.exprs[0]) {
        const Value name = Eval(*s.exprs[0]);
        const std::string path = WithExtension(Trim(name.text), ".dbf");
        const std::string alias = s.text.empty() ? BaseName(path) : s.text;
        tables_.Use(area, DbfTable::Open(path), alias);
      }
      break;
    }
    case Stmt::kSelect: {
      if (!s.text.empty()) {
        const int area = tables_.AreaOf(s.text);
        if (area == 0) Fail(13, "Alias '" + s.text + "' is not found.");
        tables_.Select(area);
        break;
      }
      const Value v = Eval(*s.exprs[0]);
      if (v.type == 'C') {
        const int area = tables_.AreaOf(Trim(v.text));
        if (area == 0) Fail(13, "Alias '" + Trim(v.text) + "' is not found.");
        tables_.Select(area);
      } else if (v.type == 'N') {
        const int area = static_cast<int>(v.number);
        tables_.Select(area == 0 ? tables_.FreeArea() : area);
      } else {
        Fail(11, "Function argument value, type, or count is invalid.");
      }
      break;
    }
    case Stmt::kAppendBlank:
    case Stmt::kReplace:
    case Stmt::kAppendMemo:
    case Stmt::kGo:
    case Stmt::kSkip: {
      DbfTable* t = tables_.At(tables_.Current());
      if (!t) Fail(52, "No table is open in the current work area.");
      if (s.kind == Stmt::kAppendBlank) {
        t->AppendBlank();
      } else if (s.kind == Stmt::kReplace) {
        for (std::size_t i = 0; i < s.names.size(); ++i) {
          const int field = t->FieldIndex(s.names[i]);
          if (field < 0) Fail(1806, "Variable '" + s.names[i] + "' is not found.");
          t->Set(field, Eval(*s.exprs[i]));
        }
      } else if (s.kind == Stmt::kAppendMemo) {
        const int field = t->FieldIndex(s.text);
        if (field < 0 || t->Fields()[static_cast<std::size_t>(field)].type != 'M')
          Fail(12, "Variable '" + s.text + "' is not found.");
        const Value name = Eval(*s.exprs[0]);
        std::string bytes;
        if (name.type != 'C' || !ReadFile(Trim(name.text), &bytes))
          Fail(1, "File '" + Trim(name.text) + "' does not exist.");
        t->SetMemo(field, s.flag ? bytes : t->Memo(field) + bytes);
      } else if (s.kind == Stmt::kGo) {
        if (s.text == "TOP") t->GoTop();
        else if (s.text == "BOTTOM") t->GoBottom();
        else {
          const Value v = Eval(*s.exprs[0]);
          if (v.type != 'N') Fail(11, "Function argument value, type, or count is invalid.");
          t->Go(static_cast<int32_t>(v.number));
        }
      } else {
        const Value v = s.exprs.empty() ? Value::Num(1) : Eval(*s.exprs[0]);
        if (v.type != 'N') Fail(11, "Function argument value, type, or count is invalid.");
        t->Skip(static_cast<int32_t>(v.number));
      }
      break;
    }
    case Stmt::kCloseTables: tables_.CloseAll(); tables_.Select(1); break;
    case Stmt::kRelease:
      if (s.names.empty()) {
        if (!frames_.empty()) frames_.back().privates.clear(), frames_.back().locals.clear();
      }
      for (const std::string& n : s.names) {
        if (!frames_.empty() && frames_.back().locals.erase(n)) continue;
        bool gone = false;
        for (auto f = frames_.rbegin(); f != frames_.rend() && !gone; ++f) gone = f->privates.erase(n) > 0;
        if (!gone) publics_.erase(n);
      }
      break;
    case Stmt::kQuit: quitting_ = true; return Flow::kQuit;
    case Stmt::kNothing: break;
  }
  return Flow::kNormal;
}

}  // namespace foxhost
