#pragma once
// The connection point of `__Lexivane`. It lives inside the control and shares its reference
// count, so a sink's hold on the point keeps the control alive and nothing cycles.

#include "ComPtr.h"

#include <ocidl.h>

#include <utility>
#include <vector>

namespace lexivane::control {

class EventSource final : public IConnectionPoint {
 public:
  explicit EventSource(IConnectionPointContainer& owner) : owner_(owner) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return owner_.AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return owner_.Release(); }
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

  // Calls every sink; `args` in dispatch order (last argument first).
  void Raise(DISPID id, VARIANTARG* args = nullptr, UINT count = 0);
  bool HasSinks() const { return !sinks_.empty(); }
  void Clear() { sinks_.clear(); }

 private:
  IConnectionPointContainer& owner_;
  std::vector<std::pair<DWORD, ComPtr<IDispatch>>> sinks_;
  DWORD nextCookie_ = 1;
};

}  // namespace lexivane::control
