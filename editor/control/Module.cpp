// The DLL entry points: class factory, unloading, and once-per-process start-up.
#include "Module.h"

#include "ComPtr.h"
#include "LexivaneControl.h"
#include "ResourceWordListSource.h"
#include "UlvaneLexivane.h"

#include <atomic>
#include <mutex>

namespace lexivane::control {
namespace {

HMODULE g_module = nullptr;
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};
std::once_flag g_loaded;
ITypeLib* g_typeLib = nullptr;

class ClassFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  // The factory is static: its references only keep the module loaded.
  ULONG STDMETHODCALLTYPE AddRef() override { ObjectCreated(); return 2; }
  ULONG STDMETHODCALLTYPE Release() override { ObjectDestroyed(); return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    EnsureComponentLoaded();
    auto* control = new (std::nothrow) LexivaneControl();
    if (!control) return E_OUTOFMEMORY;
    HRESULT hr = control->QueryInterface(iid, out);
    control->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    LockModule(lock != FALSE);
    return S_OK;
  }
};

ClassFactory g_factory;

}  // namespace

HMODULE ThisModule() { return g_module; }
void ObjectCreated() { ++g_objects; }
void ObjectDestroyed() { --g_objects; }
void LockModule(bool lock) { lock ? ++g_locks : --g_locks; }

void EnsureComponentLoaded() {
  std::call_once(g_loaded, [] {
    for (const char* format : {"Rich Text Format", "Rich Text Format Without Objects", "RichEdit Text and Objects",
                               "Object Descriptor", "Embedded Object", "Embed Source", "HTML Format"}) {
      RegisterClipboardFormatA(format);
    }
    WordListStore& store = TheWordListStore();
    store.LoadBaseList(ResourceWordListSource(g_module));
    char directory[MAX_PATH + 1] = {};
    UINT length = GetWindowsDirectoryA(directory, MAX_PATH);
    if (length > 0 && length < MAX_PATH) store.SetWindowsDirectory(std::string_view(directory, length));
  });
}

ITypeLib* TypeLibrary() {
  static std::once_flag once;
  std::call_once(once, [] {
    wchar_t path[MAX_PATH] = {};
    if (GetModuleFileNameW(g_module, path, MAX_PATH) > 0) LoadTypeLibEx(path, REGKIND_NONE, &g_typeLib);
  });
  return g_typeLib;
}

ITypeInfo* TypeInfoOf(REFGUID guid) {
  ITypeLib* library = TypeLibrary();
  ITypeInfo* info = nullptr;
  if (library) library->GetTypeInfoOfGuid(guid, &info);
  return info;  // the caller owns the reference
}

std::string ToAnsi(std::wstring_view text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(size > 0 ? size : 0, '\0');
  if (size > 0) WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

std::wstring FromAnsi(std::string_view text) {
  if (text.empty()) return {};
  int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(size > 0 ? size : 0, L'\0');
  if (size > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
  return out;
}

}  // namespace lexivane::control

using namespace lexivane::control;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (clsid != CLSID_Lexivane) return CLASS_E_CLASSNOTAVAILABLE;
  return g_factory.QueryInterface(iid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE;
}
