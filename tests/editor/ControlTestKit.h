// What the control's tests share: late-bound calls through IDispatch, an event sink that records
// what it hears, a property bag in memory and a minimal container of our own that answers the
// ambient properties (user mode, display name) Wine's ATL host does not.
#pragma once

#include "ComPtr.h"
#include "UlvaneLexivane.h"

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace lexivane::test {

using control::Bstr;
using control::ComPtr;

// An owned VARIANT that can be copied into containers.
struct Value {
  Value() { VariantInit(&v); }
  Value(const VARIANT& source) { VariantInit(&v); VariantCopyInd(&v, const_cast<VARIANT*>(&source)); }
  Value(const Value& other) : Value(other.v) {}
  Value& operator=(const Value& other) {
    if (this != &other) { VariantClear(&v); VariantCopyInd(&v, const_cast<VARIANT*>(&other.v)); }
    return *this;
  }
  ~Value() { VariantClear(&v); }
  static Value Bool(bool b);
  static Value Long(LONG n);
  static Value String(const wchar_t* s);
  static Value Null();
  std::wstring Text() const;  // converted to a string; "<null>" for null
  VARIANT v;
};

class Dispatcher {
 public:
  explicit Dispatcher(IUnknown* object);
  IDispatch* Get() const { return dispatch_.Get(); }
  DISPID Id(const wchar_t* name) const;
  HRESULT GetProperty(const wchar_t* name, Value& out, std::vector<Value> args = {}) const;
  Value Property(const wchar_t* name) const;  // fails the test on error
  HRESULT PutProperty(const wchar_t* name, const Value& value) const;
  // Arguments in their written order; VT_BYREF arguments stay the caller's.
  HRESULT Call(const wchar_t* name, std::vector<VARIANT> args = {}, Value* result = nullptr,
               std::wstring* errorText = nullptr) const;

 private:
  ComPtr<IDispatch> dispatch_;
};

struct EventSeen {
  DISPID id;
  std::vector<Value> args;  // in their written order, dereferenced
};

class EventRecorder final : public IDispatch {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }  // owned by the test
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { *count = 0; return S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) override;

  void Connect(IUnknown* control);
  void Disconnect();
  int Count(DISPID id) const;
  const EventSeen* Last(DISPID id) const;
  std::vector<EventSeen> events;
  // Called for `SpellingError` with BadWord and WhatToDo by reference.
  std::function<void(std::wstring& badWord, const std::wstring& suggestions, LONG offset, LONG& whatToDo)> onSpellingError;

 private:
  ULONG refs_ = 1;
  ComPtr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
};

class MemoryBag final : public IPropertyBag {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override;
  HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override;
  std::map<std::wstring, Value> values;
};

// A visible top-level window hosting one control through our own site.
class TestContainer final : public IOleClientSite, public IOleInPlaceSite, public IDispatch {
 public:
  // `document`, when given, is what GetContainer answers (a page's document, for example).
  explicit TestContainer(bool userMode, IPropertyBag* savedState = nullptr, int width = 480, int height = 320,
                         IOleContainer* document = nullptr);
  ~TestContainer();
  TestContainer(const TestContainer&) = delete;
  TestContainer& operator=(const TestContainer&) = delete;

  IUnknown* Control() const { return control_.Get(); }
  HWND Window() const { return window_; }
  HWND ControlWindow() const;
  HWND EditWindow() const;
  bool Ok() const { return control_ && window_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }
  // IOleClientSite
  HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** m) override { *m = nullptr; return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** c) override {
    *c = document_;
    if (!document_) return E_NOINTERFACE;
    document_->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }
  // IOleInPlaceSite
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* w) override { *w = window_; return S_OK; }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT position,
                                             LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }
  // IDispatch: the ambient properties.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { *count = 0; return S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                   UINT*) override;

 private:
  ULONG refs_ = 1;
  bool userMode_;
  HWND window_ = nullptr;
  ComPtr<IUnknown> control_;
  int width_, height_;
  IOleContainer* document_ = nullptr;
};

// A run-time control in our own container with an event recorder connected.
class HostedControl {
 public:
  HostedControl();
  ~HostedControl();
  HostedControl(const HostedControl&) = delete;
  HostedControl& operator=(const HostedControl&) = delete;

  std::unique_ptr<TestContainer> host;
  std::unique_ptr<Dispatcher> control;
  EventRecorder events;
};

// Registers the control of the bin folder once per test program.
void RegisterControlOnce();
std::wstring BinFolder();
// Lets the window messages of this thread run for about `milliseconds`.
void Pump(DWORD milliseconds);

}  // namespace lexivane::test
