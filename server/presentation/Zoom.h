// Zoom levels of an image window and their popup-menu entries.
#pragma once

#include <windows.h>

#include <cstdint>

namespace tavik {

// Popup-menu command numbers of the zoom entries.
inline constexpr UINT kCmdOriginalSize = 3;
inline constexpr UINT kCmdUnzoomFirst = 21;  // 21..69: unzoom to level (command - 20)
inline constexpr UINT kCmdUnzoomLast = 69;
inline constexpr UINT kCmdZoomInFirst = 70;  // 70..74: 2x .. 32x, placed by the user
inline constexpr UINT kCmdZoomOutFirst = 75;  // 75..79: -2x .. -32x at once
inline constexpr UINT kCmdZoomOutLast = 79;

// A zoom request: origin (client point that becomes the view's corner) and factors in
// hundredths, negative to reduce. Refused (false) once the window has its maximum of levels,
// for a factor of 0, or for a window that shows nothing.
bool Zoom(HWND window, int32_t x, int32_t y, int32_t factorX, int32_t factorY);

// Back to level n (0 = unzoomed); false for a level below 0 or above the depth.
bool Unzoom(HWND window, int n);

// Zooms so that a client rectangle fills the client area (both directions by the same factor).
bool ZoomToRectangle(HWND window, const RECT& area);

// The window's popup menu with its "&Zoom" and "&Unzoom" submenus, made when missing.
HMENU ZoomPopupMenu(HWND window);

// Menu commands 3, 21..69, 70..79; false for any other command.
bool OnZoomCommand(HWND window, UINT command);

}  // namespace tavik
