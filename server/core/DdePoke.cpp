#include <string>

#include "CommandInterpreter.h"
#include "DdeServer.h"
#include "DdeTransactions.h"
#include "ServerState.h"
#include "TavikWindow.h"

namespace tavik {
namespace {

char gCommandBuffer[kDdeTextBufferSize];

HDDEDATA Acknowledge() { return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(DDE_FACK)); }

bool IsDrawingOpcode(int opcode) {
  switch (opcode) {
    case 3: case 4: case 5: case 6: case 7: case 9: case 10: case 12: case 15: case 17: case 18:
    case 31: case 32: case 33: case 34: case 97:
      return true;
    default:
      return false;
  }
}

// A drawing command changed the target window: mark it and repaint it unless it is recording.
HDDEDATA FinishDrawing(HWND target) {
  TavikWindow* record = LockTavikWindow(target);
  if (!record) return nullptr;
  record->flags |= kWinDrawn;
  if (!(record->flags & kWinRecording)) InvalidateRect(record->window, nullptr, FALSE);
  return Acknowledge();
}

HDDEDATA PokeCommand(HDDEDATA data) {
  if (!CopyPokedText(data, gCommandBuffer, sizeof gCommandBuffer)) return nullptr;
  // Nested message loops of the command may reuse the buffer: work on a copy.
  const std::string text(gCommandBuffer);
  HWND target = CurrentWindow();
  const int opcode = InterpretCommand(text.c_str(), target);
  SetLastOpcode(opcode);
  if (opcode == 0) return nullptr;
  if (IsDrawingOpcode(opcode)) return FinishDrawing(target);
  if (opcode == 22 || opcode == 23) {
    if (CurrentWindow() == PrintPageHandle()) return Acknowledge();
    return FinishDrawing(target);
  }
  return Acknowledge();
}

bool IsLiveCurrentWindow(HWND window) { return window && window != PrintPageHandle(); }

HDDEDATA PokeImageData(HSZ item, HDDEDATA data) {
  const DdeNames& names = Names();
  const HWND current = CurrentWindow();
  bool done = false;
  if (DdeCmpStringHandles(item, names.showData) == 0) {
    if (!IsLiveCurrentWindow(current)) return nullptr;
    done = ShowFromData(current, data);
  } else if (DdeCmpStringHandles(item, names.printData) == 0) {
    done = PrintFromData(data);
  } else if (DdeCmpStringHandles(item, names.convertData) == 0) {
    done = ConvertFromData(data);
  } else if (DdeCmpStringHandles(item, names.showBmData) == 0) {
    if (!IsLiveCurrentWindow(current)) return nullptr;
    done = ShowBitmapFromData(current, data);
  } else {
    return nullptr;
  }
  // A failed operation answers 0, so the client learns of it even when error boxes are off.
  return done ? Acknowledge() : nullptr;
}

}  // namespace

HDDEDATA OnPoke(UINT format, HSZ item, HDDEDATA data) {
  if (format == CF_TEXT && DdeCmpStringHandles(item, Names().cmd) == 0) return PokeCommand(data);
  if (format == kImageDataFormat) return PokeImageData(item, data);
  return nullptr;
}

}  // namespace tavik
