#pragma once
// What the whole component shares: its module handle, the object count that decides unloading,
// and the once-per-process start-up.

#include <windows.h>
#include <oaidl.h>

namespace lexivane::control {

HMODULE ThisModule();
void ObjectCreated();
void ObjectDestroyed();
void LockModule(bool lock);

// Component load: the clipboard formats, the base word list and the Windows directory.
void EnsureComponentLoaded();
// The type library embedded in this module; null when it cannot be loaded.
ITypeLib* TypeLibrary();
ITypeInfo* TypeInfoOf(REFGUID guid);

}  // namespace lexivane::control
