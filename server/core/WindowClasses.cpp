#include "WindowClasses.h"

#include "ServerResources.h"
#include "ServerState.h"
#include "Thermometer.h"
#include "WndProc.h"

namespace tavik {
namespace {

bool Register(HINSTANCE instance, const char* name, UINT style, WNDPROC proc, int extra, int icon,
              int brush, ATOM* atom = nullptr) {
  WNDCLASSA wc{};
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.cbWndExtra = extra;
  wc.hInstance = instance;
  wc.hIcon = icon ? LoadIconA(instance, MAKEINTRESOURCEA(icon)) : nullptr;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(brush));
  wc.lpszClassName = name;
  const ATOM registered = RegisterClassA(&wc);
  if (atom) *atom = registered;
  return registered != 0;
}

}  // namespace

bool IsServerClassWindow(HWND window) {
  char name[16] = {};
  if (!window || !GetClassNameA(window, name, sizeof name)) return false;
  return lstrcmpiA(name, kServerClass) == 0 || lstrcmpiA(name, kViewerClass) == 0 ||
         lstrcmpiA(name, kImageClass) == 0;
}

bool RegisterServerClasses(HINSTANCE instance) {
  const UINT style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  const int extra = kWindowSlotCount * static_cast<int>(sizeof(LONG_PTR));
  bool ok = Register(instance, kServerClass, style, WndProc, extra, IDI_SERVER, WHITE_BRUSH);
  ok &= Register(instance, kViewerClass, style, WndProc, extra, IDI_VIEWER, WHITE_BRUSH);
  ok &= Register(instance, kImageClass, style, WndProc, extra, IDI_IMAGE, WHITE_BRUSH,
                 &Server().imageClassAtom);
  ok &= Register(instance, kThermometerClass, CS_HREDRAW | CS_VREDRAW, ThermometerProc,
                 kThermometerSlotCount * static_cast<int>(sizeof(LONG_PTR)), 0, LTGRAY_BRUSH);
  return ok;
}

}  // namespace tavik
