// Commands that put images into windows and change how they are shown: 35, the data of 36, 41,
// 42, 43, 44, 64, 76 and 85.
#include <algorithm>
#include <span>

#include "CommandInterpreter.h"
#include "ImageList.h"
#include "ServerCommands.h"
#include "ServerState.h"
#include "ShowImage.h"
#include "ScrollBars.h"
#include "TavikWindow.h"
#include "Zoom.h"

namespace tavik {
namespace {

constexpr uint32_t kDitherFlag = 0x4000, kAntialiasFlag = 0x8000;

// A listed window that is not the print page.
HWND ImageWindow(int32_t number) {
  const HWND window = HandleFromNumber(number);
  if (!window || window == PrintPageHandle() || !IsInWindowList(window)) return nullptr;
  return window;
}

bool ShowsImages(HWND window) {
  const ImageList* list = GetImageList(window);
  return list && list->chain;
}

// Menus list the zoom levels of the window's own list; they are made again when next needed.
void ForgetZoomMenus(HWND window) {
  TavikWindow* record = LockTavikWindow(window);
  if (!record) return;
  const ImageList* list = GetImageList(window);
  record->zoomDepth = static_cast<int16_t>(list ? list->levels.size() : 0);
  if (record->popupMenu) DestroyMenu(record->popupMenu);
  record->popupMenu = record->zoomMenu = record->unzoomMenu = nullptr;
  record->flags |= kWinPopupRebuild;
}

// A show request at the window's scale.
ShowRequest RequestFor(HWND window, const TavikWindow& record, uint32_t flags, const std::string& name,
                       const Placement& placement, int32_t subImage) {
  ShowRequest request;
  request.window = window;
  request.flags = flags;
  request.name = name;
  request.top = placement.destination.top;
  request.left = placement.destination.left;
  request.bottom = placement.destination.bottom;
  request.right = placement.destination.right;
  request.cropTop = placement.crop.top;
  request.cropLeft = placement.crop.left;
  request.cropBottom = placement.crop.bottom;
  request.cropRight = placement.crop.right;
  request.scaleX = record.scaleX;
  request.scaleY = record.scaleY;
  request.subImage = subImage;
  return request;
}

}  // namespace

bool ServerCommands::ShowFile(const CommandContext& context, const ShowFileArgs& args) {
  if (context.op != Op::IMSHOW) return false;
  const HWND window = ImageWindow(context.window);
  const TavikWindow* record = LockTavikWindow(window);
  if (!record) return false;
  ShowRequest request = RequestFor(window, *record, args.flags, args.file, args.placement, args.subImage);
  request.source = ShowSource::kFile;
  return SFD_Body(std::move(request));
}

// The bytes poked to SHOWDATA after opcode 36, read no further than the transfer really holds.
bool ShowFromData(HWND window, HDDEDATA data) {
  const TavikWindow* record = LockTavikWindow(window);
  if (!record || !data) return false;
  const DataParameters& p = LastDataParameters();
  if (p.op != Op::IMSHOWDATA) return false;
  DWORD held = 0;
  const auto* bytes = reinterpret_cast<const uint8_t*>(DdeAccessData(data, &held));
  if (!bytes) return false;
  ShowRequest request = RequestFor(window, *record, p.flags, p.name, p.placement, p.subImage);
  request.source = ShowSource::kData;
  request.data = std::span<const uint8_t>(bytes, std::min<DWORD>(held, static_cast<DWORD>(p.dataSize)));
  const bool shown = SFD_Body(std::move(request));
  DdeUnaccessData(data);
  return shown;
}

bool ServerCommands::Zoom(const CommandContext& context, const ZoomArgs& args) {
  const HWND window = ImageWindow(context.window);
  if (!window) return false;
  if (context.op == Op::IMZOOM) {
    return args.value != 0 && tavik::Zoom(window, 0, 0, args.value, args.value);
  }
  return context.op == Op::IMUNZOOM && Unzoom(window, args.value);
}

// Display processing of the window's images: 44 dithers, 43 smooths (1-bit images only);
// mode 0 turns it off, 1 on, 2 on and zooms into the rectangle.
bool ServerCommands::Process(const CommandContext& context, const ProcessArgs& args) {
  const HWND window = ImageWindow(context.window);
  if (!window || !ShowsImages(window) || args.mode < 0 || args.mode > 2) return false;
  const bool smoothing = context.op == Op::IMAALIAS;
  const uint32_t flag = smoothing ? kAntialiasFlag : kDitherFlag;
  ImageList* list = GetImageList(window);
  bool any = false;
  for (ImageRecord* r = list->chain.get(); r; r = r->next.get()) {
    if (smoothing && r->bitsPerPixel != 1) continue;
    any = true;
    r->displayFlags = args.mode ? r->displayFlags | flag : r->displayFlags & ~flag;
    FreeDisplayCopy(*r);
  }
  if (!any) return false;
  InvalidateRect(window, nullptr, TRUE);
  if (args.mode == 2) {
    const RECT area{args.rect.left, args.rect.top, args.rect.right, args.rect.bottom};
    return ZoomToRectangle(window, area);
  }
  return true;
}

bool ServerCommands::SetDisplayFlags(const CommandContext&, const DisplayFlagsArgs& args) {
  const HWND window = ImageWindow(args.window);
  return window && SetImageFlags(window, args.flags);
}

bool ServerCommands::Rotate(const CommandContext&, const RotateArgs& args) {
  const HWND window = ImageWindow(args.window);
  return window && SetOrientation(window, args.orientation);
}

bool ServerCommands::Transfer(const CommandContext&, const TransferArgs& args) {
  const HWND to = ImageWindow(args.to);
  const HWND from = ImageWindow(args.from);
  if (!to || !from) return false;
  if (to == from) return true;
  if (const ImageList* own = GetImageList(to); own && (own->flags & kListPainting)) return false;
  auto list = DetachImageList(from);
  if (list) {
    for (ImageRecord* r = list->chain.get(); r; r = r->next.get()) r->window = reinterpret_cast<uintptr_t>(to);
  }
  AttachImageList(to, std::move(list));
  for (HWND window : {to, from}) {
    ForgetZoomMenus(window);
    UpdateScrollRanges(window);
    InvalidateRect(window, nullptr, TRUE);
  }
  return true;
}

}  // namespace tavik
