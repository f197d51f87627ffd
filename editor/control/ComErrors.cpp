#include "ComErrors.h"

#include "ComPtr.h"
#include "UlvaneLexivane.h"

#include <oleauto.h>

#include <string>

namespace lexivane::control {

HRESULT RaiseComError(HRESULT number, std::wstring_view description) {
  ComPtr<ICreateErrorInfo> create;
  if (SUCCEEDED(CreateErrorInfo(create.Put()))) {
    std::wstring text(description);
    create->SetGUID(IID__Lexivane);
    create->SetSource(const_cast<LPOLESTR>(L"Lexivane"));
    create->SetDescription(text.data());
    if (auto info = create.As<IErrorInfo>(IID_IErrorInfo)) SetErrorInfo(0, info.Get());
  }
  return number;
}

HRESULT NotYetAvailable(std::wstring_view member) {
  return RaiseComError(E_NOTIMPL, std::wstring(member) + L" is not yet available.");
}

}  // namespace lexivane::control
