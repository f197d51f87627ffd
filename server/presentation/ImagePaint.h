// WM_PAINT of an image window: the chain of images, each 1:1 or stretched, through its display
// copy when the flags ask for one.
#pragma once

#include <windows.h>

namespace tavik {

void PaintImages(HWND window, HDC dc);

}  // namespace tavik
