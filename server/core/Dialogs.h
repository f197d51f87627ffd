// The server window's own dialogs.
#pragma once

#include <windows.h>

namespace tavik {

// "Settings": share or grab the palette (platform flag 0x10, in memory only).
void RunSettingsDialog(HWND owner);
// "About Tavik Media Server".
void RunAboutDialog(HWND owner);

}  // namespace tavik
