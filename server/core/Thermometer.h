// Progress windows with a Cancel button, shown during long operations.
#pragma once

#include <windows.h>

namespace tavik {

inline constexpr int kThermometerSlotCount = 4;  // total, progress, text, cancel flag

LRESULT CALLBACK ThermometerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Opens a thermometer with the caption and text of two string-table entries; nullptr when
// thermometers are switched off or the window cannot be made (the operation goes on).
HWND OpenThermometer(long total, UINT captionString, UINT textString);
// Shows the progress and serves waiting messages; false once the user pressed Cancel.
// An absent thermometer always answers true.
bool UpdateThermometer(HWND thermometer, long progress);
void CloseThermometer(HWND thermometer);

// The percentage shown: 0 for a total of 0 or less.
int ThermometerPercent(long progress, long total);

}  // namespace tavik
