// The FLL's entry: the module handle, the link, and the window procedure it exports.
#include "Win32Link.h"

#include <windows.h>

extern "C" {

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(module);
    tavik::hostlib::TheLink().SetModule(module);
    tavik::hostlib::SetLink(&tavik::hostlib::TheLink());
  }
  return TRUE;
}

// The rubber-band box of IMGET MOUSEBOX subclasses a server window with this procedure; until
// that keyword arrives it passes everything on.
__declspec(dllexport) LRESULT CALLBACK TavikMBoxProc(HWND window, UINT message, WPARAM wParam,
                                                     LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

}
