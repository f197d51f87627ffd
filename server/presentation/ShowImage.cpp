#include "ShowImage.h"

#include <cstring>
#include <memory>

#include "DibGdi.h"
#include "Dither.h"
#include "ErrorReport.h"
#include "ImageList.h"
#include "ImagingErrors.h"
#include "Orientation.h"
#include "Palettes.h"
#include "ReadDib.h"
#include "Scale.h"
#include "ScrollBars.h"
#include "TavRot32.h"
#include "TavikWindow.h"

namespace tavik {
namespace {

constexpr uint32_t kFlagScrollX = 0x400, kFlagScrollY = 0x800, kFlagIsometric = 0x1000;
constexpr uint32_t kFlagIsometricScroll = 0x20000;

// The wait cursor while images load; nested loads restore only at the outermost end.
class BusyCursor {
public:
  BusyCursor() {
    if (depth_++ == 0) previous_ = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  }
  ~BusyCursor() {
    if (--depth_ == 0) SetCursor(previous_);
  }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

private:
  static inline int depth_ = 0;
  static inline HCURSOR previous_ = nullptr;
};

std::unique_ptr<ImageRecord> Load(ShowRequest& request) {
  if (request.source == ShowSource::kDib) {
    return RecordFromDIB(std::move(request.dib), request.name, request.flags,
                         reinterpret_cast<uintptr_t>(request.window), true);
  }
  ReadRequest read;
  read.kind = request.source == ShowSource::kFile ? "FILE" : "DATA";
  read.data = request.data;
  read.size = static_cast<int64_t>(request.data.size());
  read.displayFlags = request.flags;
  read.name = request.name;
  read.placementTop = request.top;
  read.placementLeft = request.left;
  read.placementBottom = request.bottom;
  read.placementRight = request.right;
  read.cropTop = request.cropTop;
  read.cropLeft = request.cropLeft;
  read.cropBottom = request.cropBottom;
  read.cropRight = request.cropRight;
  read.subImage = request.subImage;
  auto record = ReadDib(std::move(read));
  if (record) ScaleRecordByPercent(*record, request.scaleY, request.scaleX);
  return record;
}

// A scrolled image sits at the window origin at its own size; keeping the aspect ratio there
// becomes the scrolled variant of it.
void PlaceForScrolling(ImageRecord& record) {
  if (!(record.displayFlags & (kFlagScrollX | kFlagScrollY))) return;
  record.placementTop = record.placementLeft = 0;
  record.placementBottom = CropHeight(record) - 1;
  record.placementRight = CropWidth(record) - 1;
  record.placementRect = {0, 0, record.placementRight, record.placementBottom};
  if (record.displayFlags & kFlagIsometric) {
    record.displayFlags = (record.displayFlags & ~kFlagIsometric) | kFlagIsometricScroll;
  }
}

void GiveRecordPalette(ImageRecord& record) {
  auto gdi = std::make_unique<RecordGdi>();
  gdi->palette.Reset(CreateDIBPalette(record.pixels));
  record.gdi = std::move(gdi);
  record.colorCount = static_cast<int32_t>(DIBColorCount(record.pixels));
}

// Colours of the two-tone rewrite: the drawing colour and the second colour of the window's
// drawing state, or white and black for a window without one.
void TwoToneColours(HWND window, uint32_t& light, uint32_t& dark) {
  if (const TavikWindow* record = LockTavikWindow(window)) {
    light = record->drawing.foreground;
    dark = record->drawing.background;
  } else {
    light = 0xFFFFFF;
    dark = 0;
  }
}

bool NeedsLibraryOrientation(uint32_t flags) {
  const uint32_t orientation = flags & kOrientationFlags;
  return orientation != 0 && orientation != 0x10;  // a lone flip was done while storing rows
}

}  // namespace

bool ApplyOrientation(ImageRecord& record, int screenBits) {
  const int k = OrientationIndex(record.displayFlags);
  if (k == 0) return true;
  HMODULE library = LoadLibraryA("TAVROT32.DLL");
  if (!library) return true;
  auto reorient = reinterpret_cast<ReorientDibFn>(
      reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(kReorientOrdinal))));
  if (!reorient) {
    FreeLibrary(library);
    return false;
  }
  const auto corners = CornerBytes(k);
  HGLOBAL source = GlobalAlloc(GMEM_MOVEABLE, record.pixels.size());
  HGLOBAL result = nullptr;
  HGLOBAL unused = nullptr;
  BOOL done = FALSE;
  if (source) {
    if (void* p = GlobalLock(source)) {
      std::memcpy(p, record.pixels.data(), record.pixels.size());
      GlobalUnlock(source);
      done = reorient(corners.data(), corners.data(), source, 0, &result, &unused);
    }
    GlobalFree(source);
  }
  FreeLibrary(library);
  if (!done || !result) {
    if (result) GlobalFree(result);
    return true;
  }
  const SIZE_T size = GlobalSize(result);
  PackedDib dib;
  if (const void* p = GlobalLock(result)) {
    dib.assign(static_cast<const uint8_t*>(p), static_cast<const uint8_t*>(p) + size);
    GlobalUnlock(result);
  }
  GlobalFree(result);
  if (DIBIsValid(dib)) {
    AdoptReorientedDib(record, std::move(dib), screenBits);
    FreeDisplayCopy(record);
  }
  return true;
}

void UpdateWindowPalette(HWND window) {
  ImageList* list = GetImageList(window);
  if (!list) return;
  list->DropPalette();
  const ImageRecord* first = list->chain.get();
  if (!first) return;
  const ScreenInfo screen = CurrentScreen();
  if (first->displayFlags & kFlagDither) {
    // A dithered image shows through the fixed display palette.
    HPALETTE fixed = MakeVGAPal(screen.displayColours);
    if (!fixed) ReportError(imaging::kErrGlobalAlloc, kSFD_Body, "MakeVGAhPal");
    list->SetOwnedPalette(fixed);
  } else if (first->next) {
    list->SetOwnedPalette(MakeInterleavePalette(first));
  } else {
    list->SetSharedPalette(RecordPalette(*first));
  }
}

bool SFD_Body(ShowRequest request) {
  const BusyCursor busy;
  const HWND window = request.window;
  uint32_t light = 0, dark = 0;
  TwoToneColours(window, light, dark);
  const bool replace = !(request.flags & kFlagAppend);
  if (replace) {
    if (ImageList* list = GetImageList(window)) {
      list->DropPalette();
      FreeImageChain(list->chain);
    }
  }

  auto record = Load(request);
  if (!record) {
    InvalidateRect(window, nullptr, TRUE);
    return false;
  }
  const ScreenInfo screen = CurrentScreen();
  RECT client{};
  GetClientRect(window, &client);
  record->placedClientWidth = client.right;
  record->placedClientHeight = client.bottom;
  record->window = reinterpret_cast<uintptr_t>(window);
  FreeDisplayCopy(*record);
  PlaceForScrolling(*record);
  if (NeedsLibraryOrientation(record->displayFlags)) ApplyOrientation(*record, screen.bits);
  AdjustPaletteForDisplay(record->displayFlags, record->pixels, light, dark);
  ApplyAutomaticDisplayTest(*record, screen.bits);
  GiveRecordPalette(*record);

  ImageList* list = EnsureImageList(window);
  if (!list) return false;
  if (replace) {
    list->chain = std::move(record);
  } else {
    AppendToChain(list->chain, std::move(record));
  }
  UpdateWindowPalette(window);
  InvalidateRect(window, nullptr, replace ? TRUE : FALSE);
  list->flags |= kListShowsImages;
  UpdateScrollRanges(window);
  SendMessageA(window, WM_QUERYNEWPALETTE, 0, 0);
  return true;
}

bool SetOrientation(HWND window, int k) {
  ImageList* list = GetImageList(window);
  if (!list || !list->chain) return false;
  if (k < 0 || k > 7) return true;
  ImageRecord& first = *list->chain;
  first.displayFlags = (first.displayFlags & ~kOrientationFlags) | OrientationFlags(k);
  if (!ApplyOrientation(first, CurrentScreen().bits)) return false;
  UpdateWindowPalette(window);
  UpdateScrollRanges(window);
  InvalidateRect(window, nullptr, TRUE);
  return true;
}

bool SetImageFlags(HWND window, uint32_t flags) {
  ImageList* list = GetImageList(window);
  if (!list) return false;
  for (ImageRecord* r = list->chain.get(); r; r = r->next.get()) {
    r->displayFlags = flags;
    FreeDisplayCopy(*r);
  }
  UpdateWindowPalette(window);
  UpdateScrollRanges(window);
  InvalidateRect(window, nullptr, TRUE);
  return true;
}

}  // namespace tavik
