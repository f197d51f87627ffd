// Platform detection and the optional system libraries loaded by name.
#pragma once

#include <windows.h>

#include <cstdint>

namespace tavik {

// Flag bits 0x01, 0x02, 0x04 and 0x80 from the Windows version word.
uint32_t PlatformFlagsFromVersion(DWORD versionWord);

// Loads what the platform offers and sets the matching flag bits; each missing library or
// entry point silently leaves its feature off.
void LoadOptionalLibraries(uint32_t& flags);
// After start-up steps that need a window: the 3-D controls library (never on version 4+).
void LoadCtl3d(HINSTANCE instance, uint32_t& flags);
void FreeOptionalLibraries(HINSTANCE instance, uint32_t flags);

// The MCI window creation function, when media windows are available.
using MciWndCreateFn = HWND(__cdecl*)(HWND, HINSTANCE, DWORD, LPCSTR);
MciWndCreateFn MediaWindowCreator();

}  // namespace tavik
