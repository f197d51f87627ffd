// The create requests: image windows of every kind, child-class windows and media windows.
#include <cstdint>

#include <windows.h>
#include <shellapi.h>

#include "ErrorReport.h"
#include "Platform.h"
#include "ServerCommands.h"
#include "ServerState.h"
#include "TavikWindow.h"
#include "WindowClasses.h"

namespace tavik {
namespace {

constexpr char kChildClass[] = "TAVIRREG";
// No open command, position notifications, ANSI notifications.
constexpr DWORD kMediaWindowStyle = 0x8180;

struct Geometry {
  int x, y, width, height;
};

// -1 stands for the system's default position; the size is computed after that replacement,
// in the 32-bit arithmetic the coordinates travel in (so all -1 gives a size of 0).
Geometry GeometryOf(const WireRect& r) {
  auto fix = [](int32_t v) { return v == -1 ? static_cast<int32_t>(CW_USEDEFAULT) : v; };
  const int32_t top = fix(r.top), left = fix(r.left), bottom = fix(r.bottom), right = fix(r.right);
  auto minus = [](int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
  };
  return {left, top, minus(right, left), minus(bottom, top)};
}

void FillParentClientArea(HWND window, HWND parent) {
  RECT client;
  GetClientRect(parent, &client);
  MoveWindow(window, 0, 0, client.right, client.bottom, TRUE);
}

// Steps after creation shared by the image-window kinds: background, record flags, current
// window, placement, showing.
bool FinishImageWindow(HWND window, Op op, HWND parent, int routine, const char* detail) {
  const COLORREF background = NewWindowBackground();
  if (background != RGB(255, 255, 255))
    SetSlot(window, kSlotBackgroundBrush, reinterpret_cast<LONG_PTR>(CreateSolidBrush(background)));
  TavikWindow* record = LockTavikWindow(window);
  if (!record) {
    if (op != Op::IMCREATEO) ReportError(kErrLockTavikWindow, routine, detail);
    return false;
  }
  if (op == Op::IMCREATEE || op == Op::IMCREATEO)
    record->flags &= ~kWinCreatedAsChild;
  else
    record->flags |= kWinCreatedAsChild;
  if (op == Op::IMCREATES) record->flags |= kWinFillsParent;
  SetCurrentWindow(window);
  if (op == Op::IMCREATES) FillParentClientArea(window, parent);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  return true;
}

std::optional<int32_t> CreateMediaWindow(Op op, const CreateArgs& args, HWND parent) {
  const MciWndCreateFn create = MediaWindowCreator();
  if (!create) return std::nullopt;
  HWND window = create(parent, Server().instance, args.style | kMediaWindowStyle, nullptr);
  if (!window) return std::nullopt;
  if (op == Op::MEDIAWINDOWFILL) {
    MoveWindow(window, 0, 0, 1, 1, FALSE);
    FillParentClientArea(window, parent);
  } else {
    const Geometry g = GeometryOf(args.rect);
    MoveWindow(window, g.x, g.y, g.width, g.height, TRUE);
  }
  DragAcceptFiles(window, TRUE);
  return HandleNumber(window);
}

// The child-class window belongs to a component outside the server: no record, no list entry.
std::optional<int32_t> CreateChildClassWindow(const CreateArgs& args, HWND parent) {
  if (!(Server().platformFlags & (kPlatformNT | kPlatformVersion4))) return std::nullopt;
  const Geometry g = GeometryOf(args.rect);
  HWND window = CreateWindowExA(0, kChildClass, args.title.c_str(), WS_CHILD | WS_CLIPSIBLINGS, g.x,
                                g.y, g.width, g.height, parent, nullptr, Server().instance, nullptr);
  if (!window) {
    ReportError(kErrCreateF, kCreateFO);
    return std::nullopt;
  }
  ShowWindow(window, SW_SHOWNORMAL);
  return HandleNumber(window);
}

}  // namespace

std::optional<int32_t> ServerCommands::CreateWindowFor(const CommandContext& context,
                                                       const CreateArgs& args) {
  const Op op = context.op;
  HWND parent = nullptr;
  if (op != Op::IMCREATEE) {
    parent = HandleFromNumber(args.parent);
    if (!parent || !IsWindow(parent)) return std::nullopt;
  }
  if (op == Op::MEDIAWINDOW || op == Op::MEDIAWINDOWFILL) return CreateMediaWindow(op, args, parent);
  if (op == Op::CHILDCLASSWINDOW) return CreateChildClassWindow(args, parent);

  const Geometry g = op == Op::IMCREATES ? GeometryOf({-1, -1, -1, -1}) : GeometryOf(args.rect);
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  if (op == Op::IMCREATEO) style = WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS;
  if (op == Op::IMCREATEE) style = WS_OVERLAPPEDWINDOW;
  const bool isE = op == Op::IMCREATEE;
  HWND window = CreateWindowExA(0, kImageClass, args.title.c_str(), style, g.x, g.y, g.width,
                                g.height, parent, nullptr, Server().instance, nullptr);
  if (!window) {
    if (isE)
      ReportError(kErrCreateE, kDdeCallback, "CREATEEWIN");
    else if (op != Op::IMCREATEO)
      ReportError(kErrCreateF, kCreateFO);
    return std::nullopt;
  }
  if (!FinishImageWindow(window, op, parent, isE ? kDdeCallback : kCreateFO,
                         isE ? "CREATEEWIN" : nullptr))
    return std::nullopt;
  return HandleNumber(window);
}

}  // namespace tavik
