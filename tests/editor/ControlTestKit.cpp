#include "ControlTestKit.h"

#include <gtest/gtest.h>

namespace lexivane::test {

Value Value::Bool(bool b) { Value x; x.v.vt = VT_BOOL; x.v.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE; return x; }
Value Value::Long(LONG n) { Value x; x.v.vt = VT_I4; x.v.lVal = n; return x; }
Value Value::String(const wchar_t* s) { Value x; x.v.vt = VT_BSTR; x.v.bstrVal = SysAllocString(s); return x; }
Value Value::Null() { Value x; x.v.vt = VT_NULL; return x; }

std::wstring Value::Text() const {
  if (v.vt == VT_NULL) return L"<null>";
  if (v.vt == VT_EMPTY) return L"<empty>";
  if (v.vt == VT_BOOL) return v.boolVal ? L"true" : L"false";
  VARIANT text;
  VariantInit(&text);
  if (FAILED(VariantChangeType(&text, const_cast<VARIANT*>(&v), 0, VT_BSTR))) return L"<?>";
  std::wstring out(text.bstrVal ? text.bstrVal : L"", text.bstrVal ? SysStringLen(text.bstrVal) : 0);
  VariantClear(&text);
  return out;
}

Dispatcher::Dispatcher(IUnknown* object) {
  if (object) object->QueryInterface(IID_IDispatch, dispatch_.PutVoid());
}

DISPID Dispatcher::Id(const wchar_t* name) const {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[1] = {const_cast<LPOLESTR>(name)};
  if (dispatch_) dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  return id;
}

HRESULT Dispatcher::GetProperty(const wchar_t* name, Value& out, std::vector<Value> args) const {
  std::vector<VARIANT> reversed;
  for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(it->v);
  DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  VariantClear(&out.v);
  return dispatch_->Invoke(Id(name), IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &params, &out.v, nullptr,
                           nullptr);
}

Value Dispatcher::Property(const wchar_t* name) const {
  Value out;
  HRESULT hr = GetProperty(name, out);
  EXPECT_EQ(hr, S_OK) << "reading " << std::string(name, name + wcslen(name));
  return out;
}

HRESULT Dispatcher::PutProperty(const wchar_t* name, const Value& value) const {
  VARIANT arg = value.v;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&arg, &named, 1, 1};
  WORD flags = (value.v.vt == VT_DISPATCH || value.v.vt == VT_UNKNOWN) ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
  return dispatch_->Invoke(Id(name), IID_NULL, LOCALE_USER_DEFAULT, flags, &params, nullptr, nullptr, nullptr);
}

HRESULT Dispatcher::Call(const wchar_t* name, std::vector<VARIANT> args, Value* result, std::wstring* errorText) const {
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  EXCEPINFO exception{};
  Value ignored;
  HRESULT hr = dispatch_->Invoke(Id(name), IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                 result ? &result->v : &ignored.v, &exception, nullptr);
  if (errorText && exception.bstrDescription) *errorText = exception.bstrDescription;
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  return hr;
}

// ---- EventRecorder ----

HRESULT EventRecorder::QueryInterface(REFIID iid, void** out) {
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID___Lexivane) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

HRESULT EventRecorder::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) {
  EventSeen seen{id, {}};
  for (UINT i = params->cArgs; i-- > 0;) seen.args.emplace_back(params->rgvarg[i]);
  if (id == 6 && onSpellingError && params->cArgs == 4) {
    VARIANT& badWord = params->rgvarg[3];
    VARIANT& whatToDo = params->rgvarg[0];
    std::wstring word(*badWord.pbstrVal ? *badWord.pbstrVal : L"");
    LONG decision = *whatToDo.plVal;
    onSpellingError(word, seen.args[1].Text(), seen.args[2].v.lVal, decision);
    SysFreeString(*badWord.pbstrVal);
    *badWord.pbstrVal = SysAllocString(word.c_str());
    *whatToDo.plVal = decision;
  }
  events.push_back(std::move(seen));
  return S_OK;
}

void EventRecorder::Connect(IUnknown* control) {
  ComPtr<IConnectionPointContainer> container;
  ASSERT_EQ(control->QueryInterface(IID_IConnectionPointContainer, container.PutVoid()), S_OK);
  ASSERT_EQ(container->FindConnectionPoint(DIID___Lexivane, point_.Put()), S_OK);
  ASSERT_EQ(point_->Advise(static_cast<IDispatch*>(this), &cookie_), S_OK);
}

void EventRecorder::Disconnect() {
  if (point_ && cookie_) point_->Unadvise(cookie_);
  point_.Reset();
  cookie_ = 0;
}

int EventRecorder::Count(DISPID id) const {
  int count = 0;
  for (const auto& event : events) count += event.id == id;
  return count;
}

const EventSeen* EventRecorder::Last(DISPID id) const {
  for (auto it = events.rbegin(); it != events.rend(); ++it)
    if (it->id == id) return &*it;
  return nullptr;
}

// ---- MemoryBag ----

HRESULT MemoryBag::QueryInterface(REFIID iid, void** out) {
  if (iid == IID_IUnknown || iid == IID_IPropertyBag) {
    *out = static_cast<IPropertyBag*>(this);
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

HRESULT MemoryBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
  auto found = values.find(name);
  if (found == values.end()) return E_INVALIDARG;
  VARTYPE wanted = value->vt;
  VariantClear(value);
  VariantCopy(value, &found->second.v);
  if (wanted != VT_EMPTY && wanted != value->vt) return VariantChangeType(value, value, 0, wanted);
  return S_OK;
}

HRESULT MemoryBag::Write(LPCOLESTR name, VARIANT* value) {
  values[name] = Value(*value);
  return S_OK;
}

// ---- TestContainer ----

namespace {

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

TestContainer::TestContainer(bool userMode, IPropertyBag* savedState, int width, int height, IOleContainer* document)
    : userMode_(userMode), width_(width), height_(height), document_(document) {
  RegisterControlOnce();
  static bool registered = false;
  if (!registered) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = HostWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"LexivaneTestHost";
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassW(&windowClass);
    registered = true;
  }
  window_ = CreateWindowExW(0, L"LexivaneTestHost", L"Lexivane host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE,
                            40, 40, width + 40, height + 60, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (FAILED(CoCreateInstance(CLSID_Lexivane, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, control_.PutVoid()))) return;
  ComPtr<IOleObject> object = control_.As<IOleObject>(IID_IOleObject);
  object->SetClientSite(this);
  if (savedState) {
    control_.As<IPersistPropertyBag>(IID_IPersistPropertyBag)->Load(savedState, nullptr);
  } else {
    control_.As<IPersistPropertyBag>(IID_IPersistPropertyBag)->InitNew();
  }
  RECT position{10, 10, 10 + width, 10 + height};
  object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, window_, &position);
  Pump(50);
}

TestContainer::~TestContainer() {
  if (control_) {
    ComPtr<IOleObject> object = control_.As<IOleObject>(IID_IOleObject);
    object->Close(OLECLOSE_NOSAVE);
    object->SetClientSite(nullptr);
  }
  control_.Reset();
  if (window_) DestroyWindow(window_);
  Pump(20);
}

HWND TestContainer::ControlWindow() const { return FindWindowExW(window_, nullptr, L"UlvaneLexivaneControl", nullptr); }

HWND TestContainer::EditWindow() const {
  HWND control = ControlWindow();
  return control ? FindWindowExW(control, nullptr, L"RichEdit20A", nullptr) : nullptr;
}

HRESULT TestContainer::QueryInterface(REFIID iid, void** out) {
  void* found = nullptr;
  if (iid == IID_IUnknown || iid == IID_IOleClientSite) found = static_cast<IOleClientSite*>(this);
  else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) found = static_cast<IOleInPlaceSite*>(this);
  else if (iid == IID_IDispatch) found = static_cast<IDispatch*>(this);
  *out = found;
  if (!found) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

HRESULT TestContainer::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT position,
                                        LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
  *frame = nullptr;
  *doc = nullptr;
  *position = RECT{10, 10, 10 + width_, 10 + height_};
  *clip = *position;
  if (info) {
    info->fMDIApp = FALSE;
    info->hwndFrame = window_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
  }
  return S_OK;
}

HRESULT TestContainer::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) {
  if (!result) return E_POINTER;
  VariantInit(result);
  if (id == DISPID_AMBIENT_USERMODE) {
    result->vt = VT_BOOL;
    result->boolVal = userMode_ ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  if (id == DISPID_AMBIENT_DISPLAYNAME) {
    result->vt = VT_BSTR;
    result->bstrVal = SysAllocString(L"Lexivane1");
    return S_OK;
  }
  return DISP_E_MEMBERNOTFOUND;
}

HostedControl::HostedControl() {
  host = std::make_unique<TestContainer>(true);
  if (!host->Ok()) return;
  control = std::make_unique<Dispatcher>(host->Control());
  events.Connect(host->Control());
}

HostedControl::~HostedControl() {
  events.Disconnect();
  control.reset();
  host.reset();
}

std::wstring BinFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.find_last_of(L"\\/"));
}

void RegisterControlOnce() {
  static bool done = false;
  if (done) return;
  done = true;
  OleInitialize(nullptr);
  HMODULE module = LoadLibraryW((BinFolder() + L"\\UlvaneLexivane.ocx").c_str());
  ASSERT_NE(module, nullptr);
  auto registerServer = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(reinterpret_cast<void*>(GetProcAddress(module, "DllRegisterServer")));
  ASSERT_NE(registerServer, nullptr);
  ASSERT_EQ(registerServer(), S_OK);
}

void Pump(DWORD milliseconds) {
  DWORD until = GetTickCount() + milliseconds;
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  } while (static_cast<LONG>(until - GetTickCount()) > 0);
}

}  // namespace lexivane::test
