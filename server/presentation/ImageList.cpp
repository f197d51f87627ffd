#include "ImageList.h"

#include <new>

#include "ErrorReport.h"
#include "ImagingErrors.h"
#include "ServerSettings.h"
#include "WindowClasses.h"

namespace tavik {

ImageList* GetImageList(HWND window) {
  if (!window || !IsWindow(window)) return nullptr;
  return reinterpret_cast<ImageList*>(GetSlot(window, kSlotImageList));
}

ImageList* EnsureImageList(HWND window) {
  if (ImageList* list = GetImageList(window)) return list;
  auto* list = new (std::nothrow) ImageList;
  if (!list) {
    ReportError(imaging::kErrLocalAlloc, kSFD_Body, "heIWIN");
    return nullptr;
  }
  SetSlot(window, kSlotImageList, reinterpret_cast<LONG_PTR>(list));
  return list;
}

std::unique_ptr<ImageList> DetachImageList(HWND window) {
  std::unique_ptr<ImageList> list(GetImageList(window));
  if (list) SetSlot(window, kSlotImageList, 0);
  return list;
}

void AttachImageList(HWND window, std::unique_ptr<ImageList> list) {
  FreeImageList(window);
  SetSlot(window, kSlotImageList, reinterpret_cast<LONG_PTR>(list.release()));
}

void FreeImageList(HWND window) { DetachImageList(window).reset(); }

ScreenInfo CurrentScreen() {
  ScreenInfo info;
  if (HDC screen = GetDC(nullptr)) {
    info.bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
  }
  info.displayColours = info.bits > 7 ? 256 : 16;
  if (CurrentStartupSettings().ditherMethod == kDitherBayer) info.method = DitherMethod::kBayer;
  return info;
}

}  // namespace tavik
