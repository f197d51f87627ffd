#include "EventSource.h"

#include "UlvaneLexivane.h"

#include <olectl.h>

namespace lexivane::control {

HRESULT EventSource::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IConnectionPoint) {
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

HRESULT EventSource::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = DIID___Lexivane;
  return S_OK;
}

HRESULT EventSource::GetConnectionPointContainer(IConnectionPointContainer** container) {
  if (!container) return E_POINTER;
  owner_.AddRef();
  *container = &owner_;
  return S_OK;
}

HRESULT EventSource::Advise(IUnknown* sink, DWORD* cookie) {
  if (!sink || !cookie) return E_POINTER;
  *cookie = 0;
  ComPtr<IDispatch> dispatch;
  // A sink may answer only for the event interface itself.
  if (FAILED(sink->QueryInterface(DIID___Lexivane, dispatch.PutVoid())) &&
      FAILED(sink->QueryInterface(IID_IDispatch, dispatch.PutVoid())))
    return CONNECT_E_CANNOTCONNECT;
  *cookie = nextCookie_++;
  sinks_.emplace_back(*cookie, std::move(dispatch));
  return S_OK;
}

HRESULT EventSource::Unadvise(DWORD cookie) {
  for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
    if (it->first == cookie) {
      sinks_.erase(it);
      return S_OK;
    }
  }
  return CONNECT_E_NOCONNECTION;
}

HRESULT EventSource::EnumConnections(IEnumConnections** connections) {
  if (connections) *connections = nullptr;
  return E_NOTIMPL;
}

void EventSource::Raise(DISPID id, VARIANTARG* args, UINT count) {
  // A handler may unadvise while we call it.
  auto sinks = sinks_;
  for (auto& [cookie, sink] : sinks) {
    DISPPARAMS params{args, nullptr, count, 0};
    sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
  }
}

}  // namespace lexivane::control
