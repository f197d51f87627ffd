// Scroll bars of image windows: ranges from the image size, and the scroll messages.
#pragma once

#include <windows.h>

#include <cstdint>

namespace tavik {

// Bars for an image of w x h in the window, in the directions allowed; a range of 0 hides a
// bar. The range lets the last column and row of the image reach the client area's edge.
void SetScrollRanges(HWND window, int32_t w, int32_t h, bool allowX, bool allowY);

// Ranges for what the window shows now: the zoomed size of its first image when zoomed, the
// image size for a 1:1 image with the scroll flags, else none.
void UpdateScrollRanges(HWND window);

// WM_HSCROLL (bar SB_HORZ) and WM_VSCROLL (SB_VERT).
void OnScroll(HWND window, int bar, int code, int position);

}  // namespace tavik
