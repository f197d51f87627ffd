#include "Value.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace foxhost {

Value Value::Char(std::string s) {
  Value v;
  v.type = 'C';
  v.text = std::move(s);
  return v;
}
Value Value::Num(double n, int decimals) {
  Value v;
  v.type = 'N';
  v.number = n;
  v.decimals = decimals;
  return v;
}
Value Value::Log(bool b) {
  Value v;
  v.type = 'L';
  v.logical = b;
  return v;
}
Value Value::Date(double julian) {
  Value v;
  v.type = 'D';
  v.number = julian;
  return v;
}
Value Value::Obj(std::shared_ptr<HostObject> o) {
  Value v;
  v.type = 'O';
  v.object = std::move(o);
  return v;
}
Value Value::Null() {
  Value v;
  v.type = 'X';
  return v;
}

void Fail(int code, std::string message) { throw ScriptError{code, std::move(message)}; }

std::string Upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return s;
}

std::string Trim(const std::string& s) {
  const auto end = s.find_last_not_of(' ');
  return end == std::string::npos ? std::string() : s.substr(0, end + 1);
}

std::string LTrim(const std::string& s) {
  const auto start = s.find_first_not_of(' ');
  return start == std::string::npos ? std::string() : s.substr(start);
}

std::string StrOf(double n, int length, int decimals) {
  if (length < 1) length = 10;
  if (length > 255) length = 255;
  if (decimals < 0) decimals = 0;
  if (decimals > 18) decimals = 18;
  if (decimals > 0 && decimals >= length - 1) decimals = std::max(0, length - 2);
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, n);
  std::string text = buffer;
  if (static_cast<int>(text.size()) > length) {
    // Fewer decimals first, then the asterisks FoxPro shows for numbers that do not fit.
    std::snprintf(buffer, sizeof buffer, "%.0f", n);
    text = buffer;
    if (static_cast<int>(text.size()) > length) return std::string(static_cast<std::size_t>(length), '*');
  }
  return std::string(static_cast<std::size_t>(length) - text.size(), ' ') + text;
}

double JulianFromYmd(int y, int m, int d) {
  const int a = (14 - m) / 12;
  const int yy = y + 4800 - a;
  const int mm = m + 12 * a - 3;
  return d + (153 * mm + 2) / 5 + 365 * yy + yy / 4 - yy / 100 + yy / 400 - 32045;
}

void YmdFromJulian(double julian, int* y, int* m, int* d) {
  const long j = static_cast<long>(julian);
  const long a = j + 32044;
  const long b = (4 * a + 3) / 146097;
  const long c = a - 146097 * b / 4;
  const long dd = (4 * c + 3) / 1461;
  const long e = c - 1461 * dd / 4;
  const long mm = (5 * e + 2) / 153;
  *d = static_cast<int>(e - (153 * mm + 2) / 5 + 1);
  *m = static_cast<int>(mm + 3 - 12 * (mm / 10));
  *y = static_cast<int>(100 * b + dd - 4800 + mm / 10);
}

std::string DateText(double julian) {
  if (julian <= 0) return "  /  /    ";
  int y, m, d;
  YmdFromJulian(julian, &y, &m, &d);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", m, d, y);
  return buffer;
}

std::string DisplayText(const Value& v) {
  switch (v.type) {
    case 'C': return v.text;
    case 'N': {
      const int width = v.width > 0 ? v.width : 10;
      return StrOf(v.number, width, v.decimals);
    }
    case 'L': return v.logical ? ".T." : ".F.";
    case 'D': return DateText(v.number);
    case 'O': return "(Object)";
    default: return ".NULL.";
  }
}

}  // namespace foxhost
