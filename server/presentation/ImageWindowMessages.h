// The messages an image window's images answer: painting, palette, scroll bars and the zoom
// commands of its popup menu. The window procedure asks here first.
#pragma once

#include <windows.h>

namespace tavik {

// True when the message was handled; `result` is then the window procedure's answer.
bool HandleImageWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result);

}  // namespace tavik
