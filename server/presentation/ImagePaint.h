// WM_PAINT of an image window: the chain of images (each 1:1 or stretched, through its display
// copy when the flags ask for one), then the off-screen surface, then the recorded drawing.
#pragma once

#include <windows.h>

namespace tavik {

void PaintImages(HWND window, HDC dc);

// Everything the window shows, in that order, as the record's paint flags allow.
void PaintImageWindow(HWND window, HDC dc, const RECT& paint);

}  // namespace tavik
