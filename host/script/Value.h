// Values of the language: character, numeric, logical, date, object and null.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace foxhost {

class HostObject;

struct Value {
  char type = 'L';          // 'C', 'N', 'L', 'D', 'O', 'X' (null)
  std::string text;         // C
  double number = 0;        // N; julian day for D
  int decimals = 0;         // N: places the value was written or computed with
  int width = 0;            // N: display width when the value came with one (0 = default)
  bool logical = false;     // L
  std::shared_ptr<HostObject> object;  // O

  static Value Char(std::string s);
  static Value Num(double n, int decimals = 0);
  static Value Log(bool b);
  static Value Date(double julian);
  static Value Obj(std::shared_ptr<HostObject> o);
  static Value Null();

  bool IsTrue() const { return type == 'L' && logical; }
};

// What `?` prints for a value.
std::string DisplayText(const Value& v);
// STR(n, len, dec): right-justified, rounded; asterisks when the integer part does not fit.
std::string StrOf(double n, int length, int decimals);
// Dates as MM/DD/YYYY, the default SET DATE AMERICAN form; empty date as blanks.
std::string DateText(double julian);
double JulianFromYmd(int y, int m, int d);
void YmdFromJulian(double julian, int* y, int* m, int* d);

// A script error: FoxPro's error number and message.
struct ScriptError {
  int code;
  std::string message;
};
[[noreturn]] void Fail(int code, std::string message);

// Objects the host makes (forms) behind one interface, so the language stays portable.
class HostObject {
public:
  virtual ~HostObject() = default;
  virtual std::string ClassName() const = 0;
  virtual bool Get(const std::string& property, Value* value) = 0;
  virtual bool Set(const std::string& property, const Value& value) = 0;
  virtual bool Call(const std::string& method, const std::vector<Value>& args, Value* result) = 0;
  // The Windows window handle, 0 when it has none.
  virtual intptr_t Window() const { return 0; }
};

std::string Upper(std::string s);
std::string Trim(const std::string& s);   // trailing blanks
std::string LTrim(const std::string& s);  // leading blanks

}  // namespace foxhost
