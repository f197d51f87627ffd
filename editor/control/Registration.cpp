// regsvr32's entry points: the class, its two ProgIDs and the type library.
#include "Module.h"
#include "UlvaneLexivane.h"

#include <olectl.h>

#include <string>

namespace {

constexpr wchar_t kProgId[] = L"UlvaneLexivane.Lexivane";
constexpr wchar_t kProgIdVersion[] = L"UlvaneLexivane.Lexivane.1";
constexpr wchar_t kClassName[] = L"Lexivane";
// Recompose on resize, activate when visible, inside-out, client site first, no linking inside.
constexpr DWORD kMiscStatus = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
                              OLEMISC_SETCLIENTSITEFIRST | OLEMISC_CANTLINKINSIDE;

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

bool SetKey(const std::wstring& path, const wchar_t* name, const std::wstring& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  LONG result = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                               static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

void DeleteTree(const std::wstring& path) { RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str()); }

}  // namespace

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  using namespace lexivane::control;
  wchar_t path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameW(ThisModule(), path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return SELFREG_E_CLASS;
  const std::wstring clsid = L"CLSID\\" + GuidText(CLSID_Lexivane);
  bool ok = SetKey(clsid, nullptr, kClassName) &&
            SetKey(clsid + L"\\InprocServer32", nullptr, path) &&
            SetKey(clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
            SetKey(clsid + L"\\ProgID", nullptr, kProgIdVersion) &&
            SetKey(clsid + L"\\VersionIndependentProgID", nullptr, kProgId) &&
            SetKey(clsid + L"\\Control", nullptr, L"") &&
            SetKey(clsid + L"\\TypeLib", nullptr, GuidText(LIBID_UlvaneLexivane)) &&
            SetKey(clsid + L"\\Version", nullptr, L"1.0") &&
            SetKey(clsid + L"\\MiscStatus", nullptr, L"0") &&
            SetKey(clsid + L"\\MiscStatus\\1", nullptr, std::to_wstring(kMiscStatus)) &&
            SetKey(kProgId, nullptr, kClassName) &&
            SetKey(std::wstring(kProgId) + L"\\CLSID", nullptr, GuidText(CLSID_Lexivane)) &&
            SetKey(std::wstring(kProgId) + L"\\CurVer", nullptr, kProgIdVersion) &&
            SetKey(kProgIdVersion, nullptr, kClassName) &&
            SetKey(std::wstring(kProgIdVersion) + L"\\CLSID", nullptr, GuidText(CLSID_Lexivane));
  if (!ok) return SELFREG_E_CLASS;
  ITypeLib* library = TypeLibrary();
  if (!library || FAILED(RegisterTypeLib(library, path, nullptr))) return SELFREG_E_TYPELIB;
  return S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  DeleteTree(L"CLSID\\" + GuidText(CLSID_Lexivane));
  DeleteTree(kProgId);
  DeleteTree(kProgIdVersion);
  UnRegisterTypeLib(LIBID_UlvaneLexivane, 1, 0, LOCALE_NEUTRAL, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
  return S_OK;
}
