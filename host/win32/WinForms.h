// Windows behind the language's objects: forms and the host's own _SCREEN.
#pragma once

#include "Value.h"

#include <windows.h>

#include <memory>

namespace foxhost {

// A top-level window with Caption, Width, Height, Left, Top, Visible and hWnd; Show, Hide,
// Release. `owned` windows are destroyed with the object.
class WindowObject : public HostObject {
public:
  WindowObject(HWND window, bool owned, const char* className)
      : window_(window), owned_(owned), className_(className) {}
  ~WindowObject() override;
  std::string ClassName() const override { return className_; }
  bool Get(const std::string& property, Value* value) override;
  bool Set(const std::string& property, const Value& value) override;
  bool Call(const std::string& method, const std::vector<Value>& args, Value* result) override;
  intptr_t Window() const override { return reinterpret_cast<intptr_t>(window_); }

private:
  HWND window_;
  bool owned_;
  std::string className_;
};

std::shared_ptr<HostObject> CreateForm(HINSTANCE instance);
void RegisterFormClass(HINSTANCE instance);

}  // namespace foxhost
