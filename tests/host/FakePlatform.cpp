#include "FakePlatform.h"

#include "KitLibrary.h"

namespace foxhost::test {

bool FakeForm::Get(const std::string& property, Value* value) {
  if (property == "HWND") {
    *value = Value::Num(static_cast<double>(Window()));
    return true;
  }
  auto it = properties.find(property);
  if (it == properties.end()) return false;
  *value = it->second;
  return true;
}

bool FakeForm::Set(const std::string& property, const Value& value) {
  if (!properties.count(property)) return false;
  properties[property] = value;
  return true;
}

bool FakeForm::Call(const std::string& method, const std::vector<Value>&, Value* result) {
  if (method == "SHOW") properties["VISIBLE"] = Value::Log(true);
  else if (method != "RELEASE") return false;
  *result = Value::Log(true);
  return true;
}

void* FakePlatform::LoadLink(const std::string& path, KitDispatchEntry* entry) {
  std::string upper = Upper(path);
  if (upper.find("TAVIKI32") == std::string::npos) return nullptr;
  *entry = DispatchAPI;
  return this;
}

RunResult RunProgram(const std::string& source, FakePlatform* platform,
                     Interpreter::Version2 version2, bool trace) {
  FakePlatform local;
  FakePlatform& p = platform ? *platform : local;
  Interpreter interpreter(p);
  interpreter.SetVersion2(version2);
  interpreter.SetKitTrace(trace);
  const int status = interpreter.RunSource(source, "test.prg", {});
  std::string out = p.output;
  if (!out.empty() && out[0] == '\n') out.erase(0, 1);
  return {status, out};
}

}  // namespace foxhost::test
