#include "Platform.h"

#include "ServerState.h"

namespace tavik {
namespace {

struct OptionalLibraries {
  HMODULE kernel = nullptr;  // Win32s universal thunk
  FARPROC utRegister = nullptr;
  FARPROC utUnregister = nullptr;

  HMODULE video = nullptr;
  MciWndCreateFn mciWndCreate = nullptr;

  HMODULE ctl3d = nullptr;
  FARPROC ctl3dRegister = nullptr;
  FARPROC ctl3dUnregister = nullptr;
  FARPROC ctl3dAutoSubclass = nullptr;
  FARPROC ctl3dUnAutoSubclass = nullptr;
  FARPROC ctl3dColorChange = nullptr;
};

OptionalLibraries gLibs;

using InstanceFn = BOOL(WINAPI*)(HINSTANCE);

// An entry point found by name or ordinal, called with the signature it is documented to have.
template <typename Fn>
Fn As(FARPROC entry) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(entry));
}

}  // namespace

uint32_t PlatformFlagsFromVersion(DWORD versionWord) {
  uint32_t flags = 0;
  const unsigned major = LOBYTE(LOWORD(versionWord));
  const bool topBit = (versionWord & 0x80000000u) != 0;
  if (topBit && major < 4) flags |= kPlatformWin32s;
  if (major >= 4) flags |= kPlatformVersion4;
  if ((flags & kPlatformWin32s) && !(flags & kPlatformVersion4)) flags |= kPlatformOldWin32s;
  if (!topBit) flags |= kPlatformNT;
  return flags;
}

void LoadOptionalLibraries(uint32_t& flags) {
  if (flags & kPlatformWin32s) {
    gLibs.kernel = LoadLibraryA("Kernel32.Dll");
    if (gLibs.kernel) {
      gLibs.utRegister = GetProcAddress(gLibs.kernel, "UTRegister");
      gLibs.utUnregister = GetProcAddress(gLibs.kernel, "UTUnRegister");
      if (!gLibs.utRegister || !gLibs.utUnregister) {
        FreeLibrary(gLibs.kernel);
        gLibs = {};
      }
    }
    return;
  }
  gLibs.video = LoadLibraryA("MSVFW32.DLL");
  if (!gLibs.video) return;
  gLibs.mciWndCreate =
      As<MciWndCreateFn>(GetProcAddress(gLibs.video, MAKEINTRESOURCEA(45)));
  if (gLibs.mciWndCreate) {
    flags |= kPlatformMediaWindows;
  } else {
    FreeLibrary(gLibs.video);
    gLibs.video = nullptr;
  }
}

void LoadCtl3d(HINSTANCE instance, uint32_t& flags) {
  if (flags & kPlatformVersion4) return;
  gLibs.ctl3d = LoadLibraryA("CTL3D32.DLL");
  if (!gLibs.ctl3d) return;
  auto ordinal = [](int n) { return GetProcAddress(gLibs.ctl3d, MAKEINTRESOURCEA(n)); };
  gLibs.ctl3dRegister = ordinal(12);
  gLibs.ctl3dUnregister = ordinal(13);
  gLibs.ctl3dAutoSubclass = ordinal(16);
  gLibs.ctl3dUnAutoSubclass = ordinal(24);
  gLibs.ctl3dColorChange = ordinal(6);
  const bool complete = gLibs.ctl3dRegister && gLibs.ctl3dAutoSubclass &&
                        gLibs.ctl3dColorChange && gLibs.ctl3dUnregister;
  if (complete && As<InstanceFn>(gLibs.ctl3dRegister)(instance) &&
      As<InstanceFn>(gLibs.ctl3dAutoSubclass)(instance)) {
    flags |= kPlatform3dControls;
    return;
  }
  FreeLibrary(gLibs.ctl3d);
  gLibs.ctl3d = nullptr;
  gLibs.ctl3dRegister = gLibs.ctl3dUnregister = gLibs.ctl3dAutoSubclass = nullptr;
  gLibs.ctl3dUnAutoSubclass = gLibs.ctl3dColorChange = nullptr;
}

void FreeOptionalLibraries(HINSTANCE instance, uint32_t flags) {
  if (gLibs.kernel) {
    if (flags & kPlatformMediaWindows)
      As<VOID(WINAPI*)(HINSTANCE)>(gLibs.utUnregister)(instance);
    FreeLibrary(gLibs.kernel);
  }
  if (gLibs.ctl3d && (flags & kPlatform3dControls)) {
    if (gLibs.ctl3dUnAutoSubclass) As<BOOL(WINAPI*)()>(gLibs.ctl3dUnAutoSubclass)();
    As<InstanceFn>(gLibs.ctl3dUnregister)(instance);
    FreeLibrary(gLibs.ctl3d);
  }
  if (gLibs.video) FreeLibrary(gLibs.video);
  gLibs = {};
}

MciWndCreateFn MediaWindowCreator() { return gLibs.mciWndCreate; }

}  // namespace tavik
