#include "MemoryPropertyBag.h"

#include <cstdint>

namespace lexivane::control {

namespace {

// A stream from a container is outside input: no key or value longer than this is believed.
constexpr uint32_t kMaxTextLength = 16u << 20;
constexpr uint32_t kMaxEntries = 4096;

HRESULT WriteBytes(IStream* stream, const void* data, ULONG size) {
  ULONG written = 0;
  HRESULT hr = stream->Write(data, size, &written);
  return SUCCEEDED(hr) && written != size ? STG_E_MEDIUMFULL : hr;
}

HRESULT ReadBytes(IStream* stream, void* data, ULONG size) {
  ULONG read = 0;
  HRESULT hr = stream->Read(data, size, &read);
  return SUCCEEDED(hr) && read != size ? STG_E_READFAULT : hr;
}

HRESULT WriteText(IStream* stream, const std::wstring& text) {
  const uint32_t length = static_cast<uint32_t>(text.size());
  HRESULT hr = WriteBytes(stream, &length, sizeof(length));
  if (SUCCEEDED(hr) && length) hr = WriteBytes(stream, text.data(), length * sizeof(wchar_t));
  return hr;
}

HRESULT ReadText(IStream* stream, std::wstring& text) {
  uint32_t length = 0;
  HRESULT hr = ReadBytes(stream, &length, sizeof(length));
  if (FAILED(hr)) return hr;
  if (length > kMaxTextLength) return STG_E_READFAULT;
  text.assign(length, L'\0');
  return length ? ReadBytes(stream, text.data(), length * sizeof(wchar_t)) : S_OK;
}

}  // namespace

HRESULT MemoryPropertyBag::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IPropertyBag) {
    *out = static_cast<IPropertyBag*>(this);
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

HRESULT MemoryPropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
  if (!name || !value) return E_POINTER;
  auto found = values_.find(name);
  if (found == values_.end()) return E_INVALIDARG;
  const VARTYPE wanted = value->vt;
  VariantClear(value);
  value->vt = VT_BSTR;
  value->bstrVal = SysAllocStringLen(found->second.data(), static_cast<UINT>(found->second.size()));
  if (wanted != VT_EMPTY && wanted != VT_BSTR) return VariantChangeType(value, value, 0, wanted);
  return S_OK;
}

HRESULT MemoryPropertyBag::Write(LPCOLESTR name, VARIANT* value) {
  if (!name || !value) return E_POINTER;
  VARIANT text;
  VariantInit(&text);
  // Objects (the font) are not kept in the stream form.
  if (FAILED(VariantChangeType(&text, value, 0, VT_BSTR))) return S_OK;
  values_[name] = std::wstring(View(text.bstrVal));
  VariantClear(&text);
  return S_OK;
}

HRESULT MemoryPropertyBag::WriteTo(IStream* stream) const {
  const uint32_t count = static_cast<uint32_t>(values_.size());
  HRESULT hr = WriteBytes(stream, &count, sizeof(count));
  for (auto it = values_.begin(); SUCCEEDED(hr) && it != values_.end(); ++it) {
    hr = WriteText(stream, it->first);
    if (SUCCEEDED(hr)) hr = WriteText(stream, it->second);
  }
  return hr;
}

HRESULT MemoryPropertyBag::ReadFrom(IStream* stream) {
  uint32_t count = 0;
  HRESULT hr = ReadBytes(stream, &count, sizeof(count));
  if (FAILED(hr)) return hr;
  if (count > kMaxEntries) return STG_E_READFAULT;
  for (uint32_t i = 0; i < count; ++i) {
    std::wstring key, value;
    if (FAILED(hr = ReadText(stream, key)) || FAILED(hr = ReadText(stream, value))) return hr;
    values_[key] = value;
  }
  return S_OK;
}

}  // namespace lexivane::control
