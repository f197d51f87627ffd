// Embedding: the client site, in-place activation, extents, drawing into a container's surface.
#include "LexivaneControl.h"

#include "Module.h"

namespace lexivane::control {

namespace {

constexpr DWORD kMiscStatus = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
                              OLEMISC_SETCLIENTSITEFIRST | OLEMISC_CANTLINKINSIDE;

LONG PixelsToHimetric(LONG pixels, int dpi) { return MulDiv(pixels, 2540, dpi); }

}  // namespace

HRESULT LexivaneControl::SetClientSite(IOleClientSite* site) {
  site_ = ComPtr<IOleClientSite>(site);
  if (site_) {
    DetermineDesignMode();
    DetermineWebPage();
  }
  return S_OK;
}

HRESULT LexivaneControl::GetClientSite(IOleClientSite** site) {
  if (!site) return E_POINTER;
  *site = ComPtr<IOleClientSite>(site_).Detach();
  return S_OK;
}

HRESULT LexivaneControl::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

HRESULT LexivaneControl::Close(DWORD) {
  InPlaceDeactivate();
  return S_OK;
}

HRESULT LexivaneControl::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }
HRESULT LexivaneControl::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}
HRESULT LexivaneControl::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }
HRESULT LexivaneControl::GetClipboardData(DWORD, IDataObject** data) {
  if (data) *data = nullptr;
  return E_NOTIMPL;
}

HRESULT LexivaneControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) {
  if (site && !site_) SetClientSite(site);
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
      return InPlaceActivate(verb) ? S_OK : E_FAIL;
    case OLEIVERB_HIDE:
      if (window_) ShowWindow(window_, SW_HIDE);
      return S_OK;
    default:
      return verb < 0 ? E_NOTIMPL : OLEOBJ_S_INVALIDVERB;
  }
}

bool LexivaneControl::InPlaceActivate(LONG verb) {
  if (!site_) return false;
  if (!inPlaceActive_) {
    if (!inPlaceSite_) inPlaceSite_ = site_.As<IOleInPlaceSite>(IID_IOleInPlaceSite);
    if (!inPlaceSite_ || inPlaceSite_->CanInPlaceActivate() != S_OK) return false;
    inPlaceSite_->OnInPlaceActivate();
    HWND parent = nullptr;
    inPlaceSite_->GetWindow(&parent);
    ComPtr<IOleInPlaceFrame> frame;
    ComPtr<IOleInPlaceUIWindow> document;
    RECT position{}, clip{};
    OLEINPLACEFRAMEINFO frameInfo{};
    frameInfo.cb = sizeof(frameInfo);
    inPlaceSite_->GetWindowContext(frame.Put(), document.Put(), &position, &clip, &frameInfo);
    if (!parent) return false;
    inPlaceActive_ = true;
    CreateControlWindow(parent, position);
  }
  if (window_) {
    ShowWindow(window_, SW_SHOW);
    if (!designMode_) DrawControl();
  }
  if (verb == OLEIVERB_UIACTIVATE && !designMode_ && edit_) SetFocus(edit_);
  return true;
}

HRESULT LexivaneControl::EnumVerbs(IEnumOLEVERB** verbs) { return OleRegEnumVerbs(CLSID_Lexivane, verbs); }
HRESULT LexivaneControl::Update() { return S_OK; }
HRESULT LexivaneControl::IsUpToDate() { return S_OK; }

HRESULT LexivaneControl::GetUserClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = CLSID_Lexivane;
  return S_OK;
}

HRESULT LexivaneControl::GetUserType(DWORD form, LPOLESTR* type) { return OleRegGetUserType(CLSID_Lexivane, form, type); }

HRESULT LexivaneControl::SetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  extent_ = *size;
  return S_OK;
}

HRESULT LexivaneControl::GetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  *size = extent_;
  return S_OK;
}

HRESULT LexivaneControl::Advise(IAdviseSink* sink, DWORD* cookie) {
  if (!oleAdvise_ && FAILED(CreateOleAdviseHolder(oleAdvise_.Put()))) return E_OUTOFMEMORY;
  return oleAdvise_->Advise(sink, cookie);
}

HRESULT LexivaneControl::Unadvise(DWORD cookie) {
  return oleAdvise_ ? oleAdvise_->Unadvise(cookie) : OLE_E_NOCONNECTION;
}

HRESULT LexivaneControl::EnumAdvise(IEnumSTATDATA** advise) {
  if (advise) *advise = nullptr;
  return oleAdvise_ ? oleAdvise_->EnumAdvise(advise) : E_FAIL;
}

HRESULT LexivaneControl::GetMiscStatus(DWORD, DWORD* status) {
  if (!status) return E_POINTER;
  *status = kMiscStatus;
  return S_OK;
}

HRESULT LexivaneControl::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

// ---- IOleInPlaceObject / IOleInPlaceActiveObject ----

HRESULT LexivaneControl::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = window_;
  return window_ ? S_OK : E_FAIL;
}

HRESULT LexivaneControl::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

HRESULT LexivaneControl::InPlaceDeactivate() {
  if (!inPlaceActive_) return S_OK;
  inPlaceActive_ = false;
  if (window_) ShowWindow(window_, SW_HIDE);
  if (inPlaceSite_) inPlaceSite_->OnInPlaceDeactivate();
  return S_OK;
}

HRESULT LexivaneControl::UIDeactivate() { return S_OK; }

HRESULT LexivaneControl::SetObjectRects(LPCRECT position, LPCRECT) {
  if (!position) return E_POINTER;
  extent_.cx = PixelsToHimetric(position->right - position->left, 96);
  extent_.cy = PixelsToHimetric(position->bottom - position->top, 96);
  if (window_)
    SetWindowPos(window_, nullptr, position->left, position->top, position->right - position->left,
                 position->bottom - position->top, SWP_NOZORDER | SWP_NOACTIVATE);
  return S_OK;
}

HRESULT LexivaneControl::ReactivateAndUndo() { return E_NOTIMPL; }

HRESULT LexivaneControl::TranslateAccelerator(LPMSG) { return S_FALSE; }
HRESULT LexivaneControl::OnFrameWindowActivate(BOOL) { return S_OK; }
HRESULT LexivaneControl::OnDocWindowActivate(BOOL) { return S_OK; }
HRESULT LexivaneControl::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
HRESULT LexivaneControl::EnableModeless(BOOL) { return S_OK; }

// ---- IOleControl ----

HRESULT LexivaneControl::GetControlInfo(CONTROLINFO* info) {
  if (!info) return E_POINTER;
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

HRESULT LexivaneControl::OnMnemonic(MSG*) { return S_OK; }

HRESULT LexivaneControl::OnAmbientPropertyChange(DISPID id) {
  if (id == DISPID_AMBIENT_USERMODE || id == DISPID_UNKNOWN) {
    DetermineDesignMode();
    if (window_) InvalidateRect(window_, nullptr, TRUE);
  }
  return S_OK;
}

HRESULT LexivaneControl::FreezeEvents(BOOL freeze) {
  frozenEvents_ = freeze != FALSE;
  return S_OK;
}

// ---- IViewObject2 ----

HRESULT LexivaneControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC drawDc, LPCRECTL bounds, LPCRECTL,
                              BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!drawDc || !bounds) return E_INVALIDARG;
  RECT area{bounds->left, bounds->top, bounds->right, bounds->bottom};
  PaintDesignerPicture(drawDc, area);
  return S_OK;
}

HRESULT LexivaneControl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colors) {
  if (colors) *colors = nullptr;
  return S_FALSE;
}

HRESULT LexivaneControl::Freeze(DWORD, LONG, void*, DWORD*) { return E_NOTIMPL; }
HRESULT LexivaneControl::Unfreeze(DWORD) { return E_NOTIMPL; }

HRESULT LexivaneControl::SetAdvise(DWORD, DWORD, IAdviseSink* sink) {
  viewAdvise_ = ComPtr<IAdviseSink>(sink);
  return S_OK;
}

HRESULT LexivaneControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
  if (aspects) *aspects = DVASPECT_CONTENT;
  if (flags) *flags = 0;
  if (sink) *sink = ComPtr<IAdviseSink>(viewAdvise_).Detach();
  return S_OK;
}

HRESULT LexivaneControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
  return GetExtent(aspect, size);
}

}  // namespace lexivane::control
