// Identity of the control: its interfaces, dispatch through the type library, class
// information, connection points, safety options, and the instance's life cycle.
#include "LexivaneControl.h"

#include "ComErrors.h"
#include "Module.h"

#include <new>

namespace lexivane::control {

LexivaneControl::LexivaneControl() : engine_(TheWordListStore(), TheChangeList(), *this) {
  ObjectCreated();
  ResetToInitialValues();
}

LexivaneControl::~LexivaneControl() {
  EndInstance();
  ObjectDestroyed();
}

void LexivaneControl::ResetToInitialValues() {
  settings_ = ControlSettings{};
  TheWordListStore().ResetCustomDictionaryFileName();
  FONTDESC description{sizeof(FONTDESC), const_cast<LPOLESTR>(L"MS Sans Serif"), {82500, 0}, FW_NORMAL,
                       ANSI_CHARSET, FALSE, FALSE, FALSE};
  OleCreateFontIndirect(&description, IID_IFontDisp, font_.PutVoid());
}

HRESULT LexivaneControl::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  void* found = nullptr;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID__Lexivane)
    found = static_cast<_Lexivane*>(this);
  else if (iid == IID_IOleObject)
    found = static_cast<IOleObject*>(this);
  else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject)
    found = static_cast<IOleInPlaceObject*>(this);
  else if (iid == IID_IOleInPlaceActiveObject)
    found = static_cast<IOleInPlaceActiveObject*>(this);
  else if (iid == IID_IOleControl)
    found = static_cast<IOleControl*>(this);
  else if (iid == IID_IViewObject || iid == IID_IViewObject2)
    found = static_cast<IViewObject2*>(this);
  else if (iid == IID_IPersist || iid == IID_IPersistPropertyBag)
    found = static_cast<IPersistPropertyBag*>(this);
  else if (iid == IID_IPersistStreamInit || iid == IID_IPersistStream)
    found = static_cast<IPersistStreamInit*>(this);  // the same table up to InitNew
  else if (iid == IID_IProvideClassInfo || iid == IID_IProvideClassInfo2)
    found = static_cast<IProvideClassInfo2*>(this);
  else if (iid == IID_IConnectionPointContainer)
    found = static_cast<IConnectionPointContainer*>(this);
  else if (iid == IID_IObjectSafety)
    found = static_cast<IObjectSafety*>(this);
  else if (iid == IID_ISupportErrorInfo)
    found = static_cast<ISupportErrorInfo*>(this);
  *out = found;
  if (!found) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

ULONG LexivaneControl::AddRef() { return InterlockedIncrement(&refs_); }

ULONG LexivaneControl::Release() {
  LONG left = InterlockedDecrement(&refs_);
  if (left == 0) {
    // Whatever runs during the ending may take and drop references again.
    refs_ = 1;
    delete this;
  }
  return left;
}

// ---- IDispatch ----

HRESULT LexivaneControl::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT LexivaneControl::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  *info = TypeInfoOf(IID__Lexivane);
  return *info ? S_OK : TYPE_E_ELEMENTNOTFOUND;
}

HRESULT LexivaneControl::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  ComPtr<ITypeInfo> info;
  *info.Put() = TypeInfoOf(IID__Lexivane);
  if (!info) return E_UNEXPECTED;
  return info->GetIDsOfNames(names, count, ids);
}

HRESULT LexivaneControl::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                EXCEPINFO* exception, UINT* argError) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  ComPtr<ITypeInfo> info;
  *info.Put() = TypeInfoOf(IID__Lexivane);
  if (!info) return E_UNEXPECTED;
  ComPtr<IUnknown> keepAlive(static_cast<_Lexivane*>(this));  // a handler may drop the host's last reference
  return info->Invoke(static_cast<_Lexivane*>(this), id, flags, params, result, exception, argError);
}

// ---- IProvideClassInfo2 ----

HRESULT LexivaneControl::GetClassInfo(ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = TypeInfoOf(CLSID_Lexivane);
  return *info ? S_OK : E_UNEXPECTED;
}

HRESULT LexivaneControl::GetGUID(DWORD kind, GUID* guid) {
  if (!guid) return E_POINTER;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
  *guid = DIID___Lexivane;
  return S_OK;
}

// ---- IConnectionPointContainer ----

HRESULT LexivaneControl::EnumConnectionPoints(IEnumConnectionPoints** points) {
  if (points) *points = nullptr;
  return E_NOTIMPL;
}

HRESULT LexivaneControl::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
  if (!point) return E_POINTER;
  *point = nullptr;
  if (iid != DIID___Lexivane) return CONNECT_E_NOCONNECTION;
  events_.AddRef();
  *point = &events_;
  return S_OK;
}

// ---- IObjectSafety ----

namespace {

enum class SafetyClass { Other, Dispatch, Persistence };

// A C caller can pass a null identifier, which C++ assumes a reference never is: the barrier
// keeps the compiler from dropping the check.
bool IsNullIid(REFIID iid) {
  const IID* address = &iid;
  asm volatile("" : "+r"(address));
  return address == nullptr;
}

SafetyClass ClassifyForSafety(REFIID iid) {
  if (iid == IID_IDispatch) return SafetyClass::Dispatch;
  if (iid == IID_IPersistStorage || iid == IID_IPersistStream || iid == IID_IPersistPropertyBag)
    return SafetyClass::Persistence;
  return SafetyClass::Other;
}

}  // namespace

HRESULT LexivaneControl::GetInterfaceSafetyOptions(REFIID iid, DWORD* supported, DWORD* enabled) {
  // A null identifier or out pointer is refused rather than answered with nothing filled in.
  if (IsNullIid(iid) || !supported || !enabled) return E_POINTER;
  *supported = INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;
  switch (ClassifyForSafety(iid)) {
    case SafetyClass::Dispatch: *enabled = INTERFACESAFE_FOR_UNTRUSTED_CALLER; return S_OK;
    case SafetyClass::Persistence: *enabled = INTERFACESAFE_FOR_UNTRUSTED_DATA; return S_OK;
    case SafetyClass::Other: break;
  }
  *enabled = 0;
  return E_NOINTERFACE;
}

HRESULT LexivaneControl::SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) {
  if (IsNullIid(iid)) return E_POINTER;
  switch (ClassifyForSafety(iid)) {
    case SafetyClass::Dispatch: return (mask & enabled) == INTERFACESAFE_FOR_UNTRUSTED_CALLER ? S_OK : E_FAIL;
    case SafetyClass::Persistence: return (mask & enabled) == INTERFACESAFE_FOR_UNTRUSTED_DATA ? S_OK : E_FAIL;
    case SafetyClass::Other: break;
  }
  return E_NOINTERFACE;
}

HRESULT LexivaneControl::InterfaceSupportsErrorInfo(REFIID iid) {
  return iid == IID__Lexivane ? S_OK : S_FALSE;
}

// ---- Life cycle ----

bool LexivaneControl::AmbientBool(DISPID id, bool& value) const {
  if (!site_) return false;
  auto dispatch = site_.As<IDispatch>(IID_IDispatch);
  if (!dispatch) return false;
  Variant result;
  DISPPARAMS none{};
  if (FAILED(dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result, nullptr,
                              nullptr)))
    return false;
  if (FAILED(VariantChangeType(&result, &result, 0, VT_BOOL))) return false;
  value = (*result).boolVal != VARIANT_FALSE;
  return true;
}

std::wstring LexivaneControl::AmbientDisplayName() const {
  if (!site_) return {};
  auto dispatch = site_.As<IDispatch>(IID_IDispatch);
  if (!dispatch) return {};
  Variant result;
  DISPPARAMS none{};
  if (FAILED(dispatch->Invoke(DISPID_AMBIENT_DISPLAYNAME, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                              &result, nullptr, nullptr)) ||
      FAILED(VariantChangeType(&result, &result, 0, VT_BSTR)))
    return {};
  return std::wstring(View((*result).bstrVal));
}

ComPtr<IFontDisp> LexivaneControl::AmbientFont() const {
  ComPtr<IFontDisp> font;
  if (!site_) return font;
  auto dispatch = site_.As<IDispatch>(IID_IDispatch);
  if (!dispatch) return font;
  Variant result;
  DISPPARAMS none{};
  if (FAILED(dispatch->Invoke(DISPID_AMBIENT_FONT, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result,
                              nullptr, nullptr)))
    return font;
  if (((*result).vt == VT_DISPATCH || (*result).vt == VT_UNKNOWN) && (*result).punkVal) {
    // The container keeps its own font: ours is a clone, so changing it leaves the container's alone.
    ComPtr<IFont> ambient;
    ComPtr<IFont> clone;
    if (SUCCEEDED((*result).punkVal->QueryInterface(IID_IFont, ambient.PutVoid())) &&
        SUCCEEDED(ambient->Clone(clone.Put())))
      font = clone.As<IFontDisp>(IID_IFontDisp);
  }
  return font;
}

void LexivaneControl::DetermineDesignMode() {
  bool userMode = false;
  designMode_ = !AmbientBool(DISPID_AMBIENT_USERMODE, userMode) || !userMode;
}

void LexivaneControl::DetermineWebPage() {
  webPage_ = false;
  if (!site_) return;
  ComPtr<IOleContainer> container;
  if (FAILED(site_->GetContainer(container.Put())) || !container) return;
  auto dispatch = container.As<IDispatch>(IID_IDispatch);
  ComPtr<ITypeInfo> info;
  if (!dispatch || FAILED(dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.Put())) || !info) return;
  Bstr name;
  if (SUCCEEDED(info->GetDocumentation(MEMBERID_NIL, name.Put(), nullptr, nullptr, nullptr)))
    webPage_ = name.View() == L"HTMLDocument";
}

void LexivaneControl::EndInstance() {
  if (!designMode_) {
    WordListStore& store = TheWordListStore();
    if (store.CustomDirty()) store.SaveCustomDictionary(store.CustomDictionaryFileName());
    if (document_) document_->SetSaved(tomTrue);
  }
  if (runTimeStarted_) {
    RemoveKeyHook();
    runTimeStarted_ = false;
  }
  DestroyRTBox();
  if (window_) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
    window_ = nullptr;
  }
  if (richEditLibrary_) {
    FreeLibrary(richEditLibrary_);
    richEditLibrary_ = nullptr;
  }
  events_.Clear();
  inPlaceSite_.Reset();
  site_.Reset();
  oleAdvise_.Reset();
  viewAdvise_.Reset();
}

}  // namespace lexivane::control
