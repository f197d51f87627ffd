// The built-in functions, looked up by name or by an abbreviation of at least four letters.
#include "Interpreter.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <sstream>

namespace foxhost {
namespace {

using Args = std::vector<Value>;
using Builtin = std::function<Value(Interpreter&, const Args&)>;

[[noreturn]] void BadArgs() { Fail(11, "Function argument value, type, or count is invalid."); }

const std::string& Text(const Args& a, std::size_t i) {
  if (i >= a.size() || a[i].type != 'C') BadArgs();
  return a[i].text;
}
double Number(const Args& a, std::size_t i) {
  if (i >= a.size() || a[i].type != 'N') BadArgs();
  return a[i].number;
}
int Int(const Args& a, std::size_t i) {
  const double n = Number(a, i);
  if (n > 1e9 || n < -1e9) BadArgs();
  return static_cast<int>(n);
}
void Count(const Args& a, std::size_t low, std::size_t high) {
  if (a.size() < low) Fail(1229, "Too few arguments.");
  if (a.size() > high) Fail(1230, "Too many arguments.");
}
Value Pad(const Args& a, char where) {
  Count(a, 2, 3);
  std::string text = a[0].type == 'C' ? a[0].text : Trim(LTrim(DisplayText(a[0])));
  const int length = Int(a, 1);
  if (length < 0) BadArgs();
  const std::string fill = a.size() > 2 ? Text(a, 2).substr(0, 1) : " ";
  const auto n = static_cast<std::size_t>(length);
  if (text.size() >= n) return Value::Char(text.substr(0, n));
  const std::size_t missing = n - text.size();
  std::string pad;
  for (std::size_t i = 0; i < missing; ++i) pad += fill.empty() ? ' ' : fill[0];
  if (where == 'L') return Value::Char(pad + text);
  if (where == 'R') return Value::Char(text + pad);
  return Value::Char(pad.substr(0, missing / 2) + text + pad.substr(0, missing - missing / 2));
}

double SecondsSinceMidnight() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  const std::tm* tm = std::localtime(&t);
  const double fraction =
      std::chrono::duration<double>(now.time_since_epoch()).count() - static_cast<double>(t);
  return tm ? tm->tm_hour * 3600 + tm->tm_min * 60 + tm->tm_sec + fraction : 0;
}

double Today() {
  const std::time_t t = std::time(nullptr);
  const std::tm* tm = std::localtime(&t);
  return tm ? JulianFromYmd(tm->tm_year + 1900, tm->tm_mon + 1, tm->tm_mday) : 0;
}

const std::map<std::string, Builtin>& Table() {
  static const std::map<std::string, Builtin> table = {
      {"VERSION", [](Interpreter& in, const Args& a) {
         Count(a, 0, 1);
         if (a.empty()) return Value::Char("FoxPro 03.00.00 for Windows (foxhost)");
         switch (Int(a, 0)) {
           case 2: return Value::Num(2);  // the professional edition
           case 4: return Value::Char("03.00.00");
           case 5: return Value::Num(300);
           default: return Value::Char("FoxPro 03.00.00 for Windows (foxhost)");
         }
       }},
      {"STR", [](Interpreter&, const Args& a) {
         Count(a, 1, 3);
         return Value::Char(StrOf(Number(a, 0), a.size() > 1 ? Int(a, 1) : 10, a.size() > 2 ? Int(a, 2) : 0));
       }},
      {"VAL", [](Interpreter&, const Args& a) {
         Count(a, 1, 1);
         const std::string t = LTrim(Text(a, 0));
         const std::size_t dot = t.find('.');
         int decimals = 0;
         if (dot != std::string::npos) {
           for (std::size_t i = dot + 1; i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])); ++i) ++decimals;
         }
         return Value::Num(std::strtod(t.c_str(), nullptr), decimals);
       }},
      {"LTRIM", [](Interpreter&, const Args& a) { Count(a, 1, 1); return Value::Char(LTrim(Text(a, 0))); }},
      {"RTRIM", [](Interpreter&, const Args& a) { Count(a, 1, 1); return Value::Char(Trim(Text(a, 0))); }},
      {"TRIM", [](Interpreter&, const Args& a) { Count(a, 1, 1); return Value::Char(Trim(Text(a, 0))); }},
      {"ALLTRIM", [](Interpreter&, const Args& a) { Count(a, 1, 1); return Value::Char(LTrim(Trim(Text(a, 0)))); }},
      {"LEN", [](Interpreter&, const Args& a) { Count(a, 1, 1); return Value::Num(static_cast<double>(Text(a, 0).size())); }},
      {"SUBSTR", [](Interpreter&, const Args& a) {
         Count(a, 2, 3);
         const std::string& t = Text(a, 0);
         const int start = Int(a, 1);
         if (start < 1) BadArgs();
         if (static_cast<std::size_t>(start) > t.size()) return Value::Char("");
         if (a.size() < 3) return Value::Char(t.substr(static_cast<std::size_t>(start - 1)));
         const int length = Int(a, 2);
         if (length < 0) BadArgs();
         return Value::Char(t.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(length)));
       }},
      {"LEFT", [](Interpreter&, const Args& a) {
         Count(a, 2, 2);
         const int n = Int(a, 1);
         return Value::Char(n <= 0 ? "" : Text(a, 0).substr(0, static_cast<std::size_t>(n)));
       }},
      {"RIGHT", [](Interpreter&, const Args& a) {
         Count(a, 2, 2);
         const std::string& t = Text(a, 0);
         const int n = Int(a, 1);
         if (n <= 0) return Value::Char("");
         return Value::Char(static_cast<std::size_t>(n) >= t.size() ? t : t.substr(t.size() - static_cast<std::size_t>(n)));
       }},
      {"UPPER", [](Interpreter&, const Args& a) { Count(a, 1, 1); return Value::Char(Upper(Text(a, 0))); }},
      {"LOWER", [](Interpreter&, const Args& a) {
         Count(a, 1, 1);
         std::string t = Text(a, 0);
         for (char& c : t) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
         return Value::Char(t);
       }},
      {"TYPE", [](Interpreter& in, const Args& a) {
         Count(a, 1, 1);
         try {
           const ExprPtr e = ParseExpression(Text(a, 0));
           const Value v = in.Eval(*e);
           return Value::Char(v.type == 'X' ? "X" : std::string(1, v.type));
         } catch (const ScriptError&) {
           return Value::Char("U");
         }
       }},
      {"VARTYPE", [](Interpreter&, const Args& a) {
         Count(a, 1, 2);
         return Value::Char(a[0].type == 'X' ? "X" : std::string(1, a[0].type));
       }},
      {"FILE", [](Interpreter&, const Args& a) {
         Count(a, 1, 2);
         return Value::Log(std::ifstream(Trim(Text(a, 0)), std::ios::binary).good());
       }},
      {"INKEY", [](Interpreter& in, const Args& a) {
         Count(a, 0, 2);
         const double seconds = a.empty() ? 0 : Number(a, 0);
         const int key = in.platform().Inkey(seconds);
         in.RunIdle();
         return Value::Num(key);
       }},
      {"SECONDS", [](Interpreter&, const Args& a) { Count(a, 0, 0); return Value::Num(SecondsSinceMidnight(), 3); }},
      {"CHR", [](Interpreter&, const Args& a) {
         Count(a, 1, 1);
         const int c = Int(a, 0);
         if (c < 0 || c > 255) BadArgs();
         return Value::Char(std::string(1, static_cast<char>(c)));
       }},
      {"ASC", [](Interpreter&, const Args& a) {
         Count(a, 1, 1);
         const std::string& t = Text(a, 0);
         return Value::Num(t.empty() ? 0 : static_cast<unsigned char>(t[0]));
       }},
      {"MESSAGEBOX", [](Interpreter& in, const Args& a) {
         Count(a, 1, 4);
         const std::string text = a[0].type == 'C' ? a[0].text : DisplayText(a[0]);
         const int flags = a.size() > 1 ? Int(a, 1) : 0;
         const std::string title = a.size() > 2 ? Text(a, 2) : std::string("FoxPro");
         return Value::Num(in.platform().ShowMessageBox(text, flags, title));
       }},
      {"INT", [](Interpreter&, const Args& a) { Count(a, 1, 1); return Value::Num(std::trunc(Number(a, 0))); }},
      {"ABS", [](Interpreter&, const Args& a) { Count(a, 1, 1); return Value::Num(std::fabs(Number(a, 0)), a[0].decimals); }},
      {"ROUND", [](Interpreter&, const Args& a) {
         Count(a, 2, 2);
         const int places = Int(a, 1);
         const double scale = std::pow(10.0, places);
         return Value::Num(std::round(Number(a, 0) * scale) / scale, places > 0 ? places : 0);
       }},
      {"MOD", [](Interpreter&, const Args& a) {
         Count(a, 2, 2);
         const double d = Number(a, 1);
         if (d == 0) Fail(1307, "Division by zero.");
         double r = std::fmod(Number(a, 0), d);
         if (r != 0 && ((r < 0) != (d < 0))) r += d;
         return Value::Num(r, std::max(a[0].decimals, a[1].decimals));
       }},
      {"MAX", [](Interpreter&, const Args& a) {
         Count(a, 2, 26);
         Value best = a[0];
         for (const Value& v : a) {
           if (v.type != best.type) BadArgs();
           if ((v.type == 'C' && v.text > best.text) || (v.type != 'C' && v.number > best.number)) best = v;
         }
         return best;
       }},
      {"MIN", [](Interpreter&, const Args& a) {
         Count(a, 2, 26);
         Value best = a[0];
         for (const Value& v : a) {
           if (v.type != best.type) BadArgs();
           if ((v.type == 'C' && v.text < best.text) || (v.type != 'C' && v.number < best.number)) best = v;
         }
         return best;
       }},
      {"SPACE", [](Interpreter&, const Args& a) {
         Count(a, 1, 1);
         const int n = Int(a, 0);
         if (n < 0 || n > 16777184) BadArgs();
         return Value::Char(std::string(static_cast<std::size_t>(n), ' '));
       }},
      {"REPLICATE", [](Interpreter&, const Args& a) {
         Count(a, 2, 2);
         const std::string& t = Text(a, 0);
         const int n = Int(a, 1);
         if (n < 0 || static_cast<double>(t.size()) * n > 16777184) BadArgs();
         std::string out;
         for (int i = 0; i < n; ++i) out += t;
         return Value::Char(out);
       }},
      {"AT", [](Interpreter&, const Args& a) {
         Count(a, 2, 3);
         const std::string& what = Text(a, 0);
         const std::string& where = Text(a, 1);
         int occurrence = a.size() > 2 ? Int(a, 2) : 1;
         std::size_t pos = std::string::npos, from = 0;
         while (occurrence-- > 0) {
           pos = where.find(what, from);
           if (pos == std::string::npos) return Value::Num(0);
           from = pos + 1;
         }
         return Value::Num(static_cast<double>(pos + 1));
       }},
      {"OCCURS", [](Interpreter&, const Args& a) {
         Count(a, 2, 2);
         const std::string& what = Text(a, 0);
         const std::string& where = Text(a, 1);
         int n = 0;
         for (std::size_t p = what.empty() ? std::string::npos : where.find(what); p != std::string::npos; p = where.find(what, p + 1)) ++n;
         return Value::Num(n);
       }},
      {"STRTRAN", [](Interpreter&, const Args& a) {
         Count(a, 2, 3);
         std::string t = Text(a, 0);
         const std::string& what = Text(a, 1);
         const std::string with = a.size() > 2 ? Text(a, 2) : std::string();
         if (what.empty()) return Value::Char(t);
         for (std::size_t p = t.find(what); p != std::string::npos; p = t.find(what, p + with.size())) t.replace(p, what.size(), with);
         return Value::Char(t);
       }},
      {"EMPTY", [](Interpreter&, const Args& a) {
         Count(a, 1, 1);
         const Value& v = a[0];
         switch (v.type) {
           case 'C': return Value::Log(Trim(v.text).find_first_not_of("\t\r\n") == std::string::npos);
           case 'N': case 'D': return Value::Log(v.number == 0);
           case 'L': return Value::Log(!v.logical);
           case 'X': return Value::Log(false);
           default: return Value::Log(!v.object);
         }
       }},
      {"ISNULL", [](Interpreter&, const Args& a) { Count(a, 1, 1); return Value::Log(a[0].type == 'X'); }},
      {"NVL", [](Interpreter&, const Args& a) { Count(a, 2, 2); return a[0].type == 'X' ? a[1] : a[0]; }},
      {"BETWEEN", [](Interpreter&, const Args& a) {
         Count(a, 3, 3);
         if (a[0].type == 'C') return Value::Log(Text(a, 0) >= Text(a, 1) && Text(a, 0) <= Text(a, 2));
         return Value::Log(Number(a, 0) >= Number(a, 1) && Number(a, 0) <= Number(a, 2));
       }},
      {"PADL", [](Interpreter&, const Args& a) { return Pad(a, 'L'); }},
      {"PADR", [](Interpreter&, const Args& a) { return Pad(a, 'R'); }},
      {"PADC", [](Interpreter&, const Args& a) { return Pad(a, 'C'); }},
      {"TRANSFORM", [](Interpreter&, const Args& a) {
         Count(a, 1, 2);
         const Value& v = a[0];
         if (v.type == 'N') {
           std::string t = LTrim(StrOf(v.number, 20, v.decimals));
           return Value::Char(t);
         }
         return Value::Char(DisplayText(v));
       }},
      {"DATE", [](Interpreter&, const Args& a) {
         Count(a, 0, 3);
         if (a.empty()) return Value::Date(Today());
         if (a.size() != 3) BadArgs();
         return Value::Date(JulianFromYmd(Int(a, 0), Int(a, 1), Int(a, 2)));
       }},
      {"TIME", [](Interpreter&, const Args& a) {
         Count(a, 0, 1);
         const int s = static_cast<int>(SecondsSinceMidnight());
         char text[16];
         std::snprintf(text, sizeof text, "%02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
         return Value::Char(text);
       }},
      {"DTOC", [](Interpreter&, const Args& a) {
         Count(a, 1, 2);
         if (a[0].type != 'D') BadArgs();
         if (a.size() > 1) {
           int y, m, d;
           YmdFromJulian(a[0].number, &y, &m, &d);
           char text[16];
           std::snprintf(text, sizeof text, "%04d%02d%02d", y, m, d);
           return Value::Char(a[0].number > 0 ? text : "        ");
         }
         return Value::Char(DateText(a[0].number));
       }},
      {"DTOS", [](Interpreter&, const Args& a) {
         Count(a, 1, 1);
         if (a[0].type != 'D') BadArgs();
         if (a[0].number <= 0) return Value::Char("        ");
         int y, m, d;
         YmdFromJulian(a[0].number, &y, &m, &d);
         char text[16];
         std::snprintf(text, sizeof text, "%04d%02d%02d", y, m, d);
         return Value::Char(text);
       }},
      {"CTOD", [](Interpreter&, const Args& a) {
         Count(a, 1, 1);
         int m = 0, d = 0, y = 0;
         if (std::sscanf(Text(a, 0).c_str(), "%d/%d/%d", &m, &d, &y) != 3) return Value::Date(0);
         return Value::Date(JulianFromYmd(y, m, d));
       }},
      {"YEAR", [](Interpreter&, const Args& a) {
         Count(a, 1, 1);
         if (a[0].type != 'D') BadArgs();
         int y, m, d;
         YmdFromJulian(a[0].number, &y, &m, &d);
         return Value::Num(y);
       }},
      {"IIF", nullptr},  // evaluated lazily in CallFunction
      {"RECNO", [](Interpreter& in, const Args& a) {
         Count(a, 0, 1);
         const int area = a.empty() ? in.tables().Current() : a[0].type == 'N' ? Int(a, 0) : in.tables().AreaOf(Text(a, 0));
         DbfTable* t = in.tables().At(area);
         return Value::Num(t ? t->RecNo() : 0);
       }},
      {"RECCOUNT", [](Interpreter& in, const Args& a) {
         Count(a, 0, 1);
         const int area = a.empty() ? in.tables().Current() : a[0].type == 'N' ? Int(a, 0) : in.tables().AreaOf(Text(a, 0));
         DbfTable* t = in.tables().At(area);
         return Value::Num(t ? t->RecordCount() : 0);
       }},
      {"EOF", [](Interpreter& in, const Args& a) {
         Count(a, 0, 1);
         const int area = a.empty() ? in.tables().Current() : a[0].type == 'N' ? Int(a, 0) : in.tables().AreaOf(Text(a, 0));
         DbfTable* t = in.tables().At(area);
         return Value::Log(t ? t->Eof() : false);
       }},
      {"BOF", [](Interpreter& in, const Args& a) {
         Count(a, 0, 1);
         const int area = a.empty() ? in.tables().Current() : a[0].type == 'N' ? Int(a, 0) : in.tables().AreaOf(Text(a, 0));
         DbfTable* t = in.tables().At(area);
         return Value::Log(t ? t->Bof() : false);
       }},
      {"ALIAS", [](Interpreter& in, const Args& a) {
         Count(a, 0, 1);
         return Value::Char(in.tables().Alias(a.empty() ? in.tables().Current() : Int(a, 0)));
       }},
      {"SELECT", [](Interpreter& in, const Args& a) {
         Count(a, 0, 1);
         if (a.empty()) return Value::Num(in.tables().Current());
         if (a[0].type == 'C') return Value::Num(in.tables().AreaOf(Trim(a[0].text)));
         return Value::Num(Int(a, 0) == 0 ? in.tables().FreeArea() : in.tables().Current());
       }},
      {"FIELD", [](Interpreter& in, const Args& a) {
         Count(a, 1, 2);
         DbfTable* t = in.tables().At(in.tables().Current());
         const int n = Int(a, 0);
         if (!t || n < 1 || n > static_cast<int>(t->Fields().size())) return Value::Char("");
         return Value::Char(t->Fields()[static_cast<std::size_t>(n - 1)].name);
       }},
      {"CREATEOBJECT", [](Interpreter& in, const Args& a) {
         Count(a, 1, 26);
         auto object = in.platform().CreateObject(Upper(Trim(Text(a, 0))));
         if (!object) Fail(1733, "Class definition " + Upper(Text(a, 0)) + " is not found.");
         return Value::Obj(object);
       }},
      {"PROGRAM", [](Interpreter& in, const Args& a) { Count(a, 0, 1); return Value::Char(in.ProgramName()); }},
      {"GETENV", [](Interpreter&, const Args& a) {
         Count(a, 1, 1);
         const char* v = std::getenv(Text(a, 0).c_str());
         return Value::Char(v ? v : "");
       }},
      {"FILETOSTR", [](Interpreter&, const Args& a) {
         Count(a, 1, 1);
         std::ifstream f(Trim(Text(a, 0)), std::ios::binary);
         if (!f) Fail(1, "File '" + Text(a, 0) + "' does not exist.");
         std::ostringstream s;
         s << f.rdbuf();
         return Value::Char(s.str());
       }},
      {"STRTOFILE", [](Interpreter&, const Args& a) {
         Count(a, 2, 3);
         const bool append = a.size() > 2 && a[2].IsTrue();
         std::ofstream f(Trim(Text(a, 1)), std::ios::binary | (append ? std::ios::app : std::ios::trunc));
         if (!f) Fail(1102, "Cannot create file " + Text(a, 1) + ".");
         f << Text(a, 0);
         return Value::Num(static_cast<double>(Text(a, 0).size()));
       }},
  };
  return table;
}

// CREATE is FoxPro's own abbreviation of CREATEOBJECT; so are the four-letter cuts.
std::string Resolve(const std::string& name) {
  const auto& table = Table();
  if (table.count(name)) return name;
  if (name == "CREATE") return "CREATEOBJECT";
  if (name.size() < 4) return {};
  std::string found;
  for (const auto& [full, fn] : table) {
    if (full.compare(0, name.size(), name) == 0) {
      if (!found.empty()) return {};
      found = full;
    }
  }
  return found;
}

}  // namespace

Value Interpreter::CallFunction(const std::string& name, const std::vector<const Expr*>& args) {
  const std::string builtin = HasLibraryFunction(name) ? std::string() : Resolve(name);
  if (builtin == "IIF") {
    if (args.size() != 3 || !args[0] || !args[1] || !args[2]) BadArgs();
    const Value c = Eval(*args[0]);
    if (c.type != 'L') Fail(107, "Operator/operand type mismatch.");
    return Eval(c.logical ? *args[1] : *args[2]);
  }
  if (!builtin.empty()) {
    Args values;
    for (const Expr* a : args) values.push_back(a ? Eval(*a) : Value::Log(false));
    return Table().at(builtin)(*this, values);
  }
  for (const Library& lib : libraries_) {
    for (int i = 0; lib.table && i < lib.table->count; ++i) {
      const KitFunction& f = lib.table->functions[i];
      if (f.name && name == f.name) return CallLibrary(lib, i, args);
    }
  }
  const Program* program = nullptr;
  const Procedure* proc = nullptr;
  if (FindProcedure(name, &program, &proc)) return CallUser(name, args, false);
  Fail(1, "File '" + name + ".prg' does not exist.");
}

}  // namespace foxhost
