// Commands that destroy, show, hide, activate and colour windows, and the data-transfer block.
#include "ServerCommands.h"
#include "ServerState.h"
#include "TavikWindow.h"
#include "WindowClasses.h"

namespace tavik {
namespace {

DataParameters gDataParameters;
COLORREF gNewWindowBackground = RGB(255, 255, 255);

bool IsWindowHandle(HWND window) { return window && window != PrintPageHandle() && IsWindow(window); }

}  // namespace

const DataParameters& LastDataParameters() { return gDataParameters; }
COLORREF NewWindowBackground() { return gNewWindowBackground; }
void SetNewWindowBackground(COLORREF colour) { gNewWindowBackground = colour; }

bool ServerCommands::Destroy(const CommandContext& context, const DestroyArgs& args) {
  const HWND window = args.window ? HandleFromNumber(*args.window) : CurrentWindow();
  if (!IsInWindowList(window)) return false;
  return DestroyWindow(window) != FALSE;
}

// Any window of the system, listed or not.
bool ServerCommands::ShowHide(const CommandContext&, const ShowHideArgs& args) {
  const HWND window = HandleFromNumber(args.window);
  if (!IsWindowHandle(window)) return false;
  const int command = args.show ? args.showCommand.value_or(SW_SHOW) : SW_HIDE;
  ShowWindow(window, command);
  return true;
}

bool ServerCommands::Activate(const CommandContext&, const ActivateArgs& args) {
  const HWND window = args.window ? HandleFromNumber(args.window) : CurrentWindow();
  if (!IsWindowHandle(window)) return false;
  SendMessageA(window, WM_ACTIVATE, WA_CLICKACTIVE, 0);
  return true;
}

bool ServerCommands::WindowBackground(const CommandContext&, const BackgroundArgs& args) {
  const HWND window = HandleFromNumber(args.window);
  if (!IsInWindowList(window)) return false;
  if (auto old = reinterpret_cast<HBRUSH>(GetSlot(window, kSlotBackgroundBrush))) DeleteObject(old);
  const COLORREF colour = args.colour & 0x00FFFFFFu;
  HBRUSH brush = colour == RGB(255, 255, 255) ? nullptr : CreateSolidBrush(colour);
  SetSlot(window, kSlotBackgroundBrush, reinterpret_cast<LONG_PTR>(brush));
  InvalidateRect(window, nullptr, TRUE);
  return true;
}

bool ServerCommands::SetDataParameters(const CommandContext& context,
                                       const DataParameters& parameters) {
  // Image bytes to show need a window to show them in.
  const HWND current = CurrentWindow();
  if (context.op == Op::IMSHOWDATA && (!current || current == PrintPageHandle())) return false;
  if (context.op == Op::IMBITMAPDATA && !current) return false;
  gDataParameters = parameters;
  return true;
}

}  // namespace tavik
