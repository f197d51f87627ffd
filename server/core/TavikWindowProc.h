// The window procedure of image and viewer windows: record, window list, destroy handling.
#pragma once

#include <windows.h>

namespace tavik {

inline constexpr UINT kMsgSizeFirstChild = WM_USER + 16;

LRESULT TavikWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tavik
