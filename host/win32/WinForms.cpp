#include "WinForms.h"

namespace foxhost {
namespace {

constexpr const char* kFormClass = "FoxhostForm";

int Pixels(const Value& v) {
  if (v.type != 'N' || v.number < -32768 || v.number > 32767)
    Fail(1560, "Property value is out of bounds.");
  return static_cast<int>(v.number);
}

}  // namespace

void RegisterFormClass(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kFormClass;
  RegisterClassA(&wc);
}

std::shared_ptr<HostObject> CreateForm(HINSTANCE instance) {
  // A new form is 375 by 250 pixels and hidden until shown, as the host's own are.
  HWND window = CreateWindowA(kFormClass, "Form1", WS_OVERLAPPEDWINDOW, 0, 0, 375, 250, nullptr,
                              nullptr, instance, nullptr);
  if (!window) return nullptr;
  return std::make_shared<WindowObject>(window, true, "FORM");
}

WindowObject::~WindowObject() {
  if (owned_ && IsWindow(window_)) DestroyWindow(window_);
}

bool WindowObject::Get(const std::string& property, Value* value) {
  RECT r{};
  GetWindowRect(window_, &r);
  if (property == "HWND") *value = Value::Num(static_cast<double>(reinterpret_cast<intptr_t>(window_)));
  else if (property == "WIDTH") *value = Value::Num(r.right - r.left);
  else if (property == "HEIGHT") *value = Value::Num(r.bottom - r.top);
  else if (property == "LEFT") *value = Value::Num(r.left);
  else if (property == "TOP") *value = Value::Num(r.top);
  else if (property == "VISIBLE") *value = Value::Log(IsWindowVisible(window_) != 0);
  else if (property == "CAPTION") {
    char text[512] = {};
    GetWindowTextA(window_, text, sizeof text);
    *value = Value::Char(text);
  } else if (property == "NAME" || property == "CLASS" || property == "BASECLASS") {
    *value = Value::Char(className_ == "FORM" ? "Form" : "Screen");
  } else {
    return false;
  }
  return true;
}

bool WindowObject::Set(const std::string& property, const Value& value) {
  RECT r{};
  GetWindowRect(window_, &r);
  const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (property == "CAPTION") {
    if (value.type != 'C') Fail(1732, "Data type is invalid for this property.");
    SetWindowTextA(window_, value.text.c_str());
  } else if (property == "WIDTH") {
    SetWindowPos(window_, nullptr, 0, 0, Pixels(value), r.bottom - r.top, flags | SWP_NOMOVE);
  } else if (property == "HEIGHT") {
    SetWindowPos(window_, nullptr, 0, 0, r.right - r.left, Pixels(value), flags | SWP_NOMOVE);
  } else if (property == "LEFT") {
    SetWindowPos(window_, nullptr, Pixels(value), r.top, 0, 0, flags | SWP_NOSIZE);
  } else if (property == "TOP") {
    SetWindowPos(window_, nullptr, r.left, Pixels(value), 0, 0, flags | SWP_NOSIZE);
  } else if (property == "VISIBLE") {
    if (value.type != 'L') Fail(1732, "Data type is invalid for this property.");
    ShowWindow(window_, value.logical ? SW_SHOW : SW_HIDE);
  } else if (property == "HWND" || property == "NAME" || property == "CLASS" || property == "BASECLASS") {
    Fail(1740, "Property " + property + " is read-only.");
  } else {
    return false;
  }
  return true;
}

bool WindowObject::Call(const std::string& method, const std::vector<Value>&, Value* result) {
  if (method == "SHOW") {
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
  } else if (method == "HIDE") {
    ShowWindow(window_, SW_HIDE);
  } else if (method == "RELEASE") {
    if (owned_ && IsWindow(window_)) DestroyWindow(window_);
  } else if (method == "REFRESH") {
    InvalidateRect(window_, nullptr, TRUE);
    UpdateWindow(window_);
  } else {
    return false;
  }
  *result = Value::Log(true);
  return true;
}

}  // namespace foxhost
