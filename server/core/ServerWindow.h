// The hidden server window: its system menu, dialogs, help and the shutdown it starts.
#pragma once

#include <windows.h>

namespace tavik {

LRESULT ServerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Greys "Se&ttings..." while thermometers or print-status dialogs are open (counted).
void DisableSettingsItem();
void EnableSettingsItem();

}  // namespace tavik
