// A platform for native runs of the language: output into a string, forms as property bags,
// and the library linked into the test standing in for a loaded TAVIKI32.FLL.
#pragma once

#include "Interpreter.h"
#include "Platform.h"

#include <map>
#include <string>
#include <vector>

namespace foxhost::test {

class FakeForm : public HostObject {
public:
  std::string ClassName() const override { return "FORM"; }
  bool Get(const std::string& property, Value* value) override;
  bool Set(const std::string& property, const Value& value) override;
  bool Call(const std::string& method, const std::vector<Value>& args, Value* result) override;
  intptr_t Window() const override { return 0x5150; }
  std::map<std::string, Value> properties{{"CAPTION", Value::Char("Form1")},
                                          {"WIDTH", Value::Num(375)},
                                          {"HEIGHT", Value::Num(250)},
                                          {"VISIBLE", Value::Log(false)}};
};

class FakePlatform : public Platform {
public:
  void Print(const std::string& text) override { output += text; }
  int ShowMessageBox(const std::string& text, int flags, const std::string& title) override {
    boxes.push_back(title + "|" + text);
    return 1;
  }
  void DoEvents() override { ++pumps; }
  bool WaitEvents(int) override {
    ++pumps;
    return pumps < 1000;  // a READ EVENTS nobody clears ends as a closed window would
  }
  int Inkey(double) override { return 0; }
  void WaitWindow(const std::string& text, double) override { waits.push_back(text); }
  std::shared_ptr<HostObject> CreateObject(const std::string& className) override {
    if (className != "FORM") return nullptr;
    return std::make_shared<FakeForm>();
  }
  intptr_t MainWindow() override { return 0x100; }
  intptr_t MainClientWindow() override { return 0x200; }
  intptr_t FindWindowByTitle(const std::string&) override { return 0; }
  void* LoadLink(const std::string& path, KitDispatchEntry* entry) override;
  void FreeLink(void*) override { ++frees; }

  std::string output;
  std::vector<std::string> boxes, waits;
  int pumps = 0, frees = 0;
};

// Runs `source` as a program; the output without the newline the first `?` starts with.
struct RunResult {
  int status;
  std::string output;
};
RunResult RunProgram(const std::string& source, FakePlatform* platform = nullptr,
                     Interpreter::Version2 version2 = Interpreter::Version2::kEdition,
                     bool trace = false);

}  // namespace foxhost::test
