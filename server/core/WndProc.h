// The window procedure shared by the server window, viewer windows and image windows.
#pragma once

#include <windows.h>

namespace tavik {

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tavik
