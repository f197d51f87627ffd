#pragma once
// A property bag held in memory: the stream form of the control's state is this bag written
// out, so both persistence interfaces share one list of keys.

#include "ComPtr.h"

#include <ocidl.h>

#include <map>
#include <string>

namespace lexivane::control {

class MemoryPropertyBag final : public IPropertyBag {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  // Lives on the caller's stack: references do not own it.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
  HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override;

  // Values travel as text: count, then key and value, each a length and UTF-16 characters.
  HRESULT WriteTo(IStream* stream) const;
  HRESULT ReadFrom(IStream* stream);

 private:
  std::map<std::wstring, std::wstring> values_;
};

}  // namespace lexivane::control
