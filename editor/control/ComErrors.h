#pragma once
// Errors the control hands to its host: COM errors with source "Lexivane".

#include <windows.h>

#include <string_view>

namespace lexivane::control {

// The interface error base, 0x80040000; the control's own numbers are added to it.
inline constexpr HRESULT kInterfaceErrorBase = static_cast<HRESULT>(0x80040000);

HRESULT RaiseComError(HRESULT number, std::wstring_view description);
// A member whose behaviour arrives with a later part of the control.
HRESULT NotYetAvailable(std::wstring_view member);

}  // namespace lexivane::control
