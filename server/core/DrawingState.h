// The drawing state of a window, and of the print page's default state, used by drawing commands.
#pragma once

#include <windows.h>

#include <cstdint>

namespace tavik {

struct DrawingState {
  int16_t pointListMode = 2;  // 1: appended points are relative to the previous one
  int16_t backgroundMode = OPAQUE;
  int16_t rasterOperation = R2_COPYPEN;
  LOGBRUSH brush{BS_SOLID, RGB(0, 0, 0), 0};
  LOGPEN pen{PS_SOLID, {1, 0}, RGB(0, 0, 0)};
  LOGFONTA font = DefaultFont();
  HPEN penObject = nullptr;
  HBRUSH brushObject = nullptr;
  HFONT fontObject = nullptr;
  COLORREF foreground = RGB(0, 0, 0);
  COLORREF background = RGB(255, 255, 255);
  HRGN clipRegion = nullptr;
  HDC offscreenDC = nullptr;
  HDC metafileDC = nullptr;
  HMETAFILE recordedMetafile = nullptr;
  HBITMAP offscreenBitmap = nullptr;

  static LOGFONTA DefaultFont() {
    LOGFONTA font{};
    lstrcpynA(font.lfFaceName, "Fixedsys", LF_FACESIZE);
    return font;
  }

  // Deletes the GDI objects the state owns (a metafile being recorded is closed and deleted).
  void Release();
};

}  // namespace tavik
