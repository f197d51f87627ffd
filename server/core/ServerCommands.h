// The server's side of the command protocol: the handler the portable interpreter calls, one
// method per opcode family, defined in the file of the concern it belongs to.
#pragma once

#include <windows.h>

#include "CommandShell.h"

namespace tavik {

class ServerCommands final : public CommandHandler {
public:
  // Window commands (WindowCommands.cpp).
  bool Destroy(const CommandContext&, const DestroyArgs&) override;
  bool ShowHide(const CommandContext&, const ShowHideArgs&) override;
  bool Activate(const CommandContext&, const ActivateArgs&) override;
  bool WindowBackground(const CommandContext&, const BackgroundArgs&) override;
  bool SetDataParameters(const CommandContext&, const DataParameters&) override;

  // Create requests (CreateWindows.cpp).
  std::optional<int32_t> CreateWindowFor(const CommandContext&, const CreateArgs&) override;

  // Images in windows: show, zoom, display processing, flags, orientation, list transfer
  // (ImageCommands.cpp).
  bool ShowFile(const CommandContext&, const ShowFileArgs&) override;
  bool Zoom(const CommandContext&, const ZoomArgs&) override;
  bool Process(const CommandContext&, const ProcessArgs&) override;
  bool SetDisplayFlags(const CommandContext&, const DisplayFlagsArgs&) override;
  bool Rotate(const CommandContext&, const RotateArgs&) override;
  bool Transfer(const CommandContext&, const TransferArgs&) override;
};

// The window list and the current window's lock, as the interpreter sees them. `target` is the
// window whose record the command works on; an exchange moves it.
class ServerWindowLocks final : public WindowLocks {
public:
  explicit ServerWindowLocks(HWND& target) : target_(target) {}
  int32_t CurrentWindow() const override;
  bool IsListed(int32_t window) const override;
  bool ExchangeLock(int32_t window) override;

private:
  HWND& target_;
};

// The parameters of the last data-transfer command, consumed by the data poke that follows.
const DataParameters& LastDataParameters();

// The colour new windows get as background (white: the class brush).
COLORREF NewWindowBackground();
void SetNewWindowBackground(COLORREF colour);

}  // namespace tavik
