#pragma once
// Owners for COM references and BSTRs, and the wide/ANSI conversions the spell core needs.

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>
#include <utility>

namespace lexivane::control {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(T* p) : p_(p) { if (p_) p_->AddRef(); }  // NOLINT: shares, like an assignment would
  ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ~ComPtr() { Reset(); }
  ComPtr& operator=(ComPtr other) noexcept { std::swap(p_, other.p_); return *this; }

  void Reset() { if (auto* p = std::exchange(p_, nullptr)) p->Release(); }
  // For out parameters: releases what is held first.
  T** Put() { Reset(); return &p_; }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }
  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // Hands the reference to a caller's out parameter.
  T* Detach() { return std::exchange(p_, nullptr); }
  template <class U>
  ComPtr<U> As(REFIID iid) const {
    ComPtr<U> out;
    if (p_) p_->QueryInterface(iid, out.PutVoid());
    return out;
  }

 private:
  T* p_ = nullptr;
};

class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(std::wstring_view text) : b_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  Bstr(Bstr&& other) noexcept : b_(std::exchange(other.b_, nullptr)) {}
  ~Bstr() { SysFreeString(b_); }
  BSTR Get() const { return b_; }
  BSTR* Put() { SysFreeString(b_); b_ = nullptr; return &b_; }
  BSTR Detach() { return std::exchange(b_, nullptr); }
  std::wstring_view View() const { return b_ ? std::wstring_view(b_, SysStringLen(b_)) : std::wstring_view(); }

 private:
  BSTR b_ = nullptr;
};

class Variant {
 public:
  Variant() { VariantInit(&v_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  ~Variant() { VariantClear(&v_); }
  VARIANT* operator&() { return &v_; }
  VARIANT& operator*() { return v_; }
  const VARIANT& operator*() const { return v_; }

 private:
  VARIANT v_;
};

inline std::wstring_view View(BSTR b) { return b ? std::wstring_view(b, SysStringLen(b)) : std::wstring_view(); }
// Out parameters: a fresh BSTR the caller frees.
inline HRESULT ReturnString(std::wstring_view text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out || text.empty() ? S_OK : E_OUTOFMEMORY;
}
inline VARIANT_BOOL ToVariantBool(bool value) { return value ? VARIANT_TRUE : VARIANT_FALSE; }

// The spell core and the edit window's 8-bit class work in the ANSI code page.
std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view text);

}  // namespace lexivane::control
