// The library's process-wide state and the seam to the server connection and the desktop.
// The command functions are portable; everything that needs Windows goes through ServerLink.
#pragma once

#include "CommandBuffer.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace tavik::hostlib {

// Event numbers of the advise items (SIZE 0 .. MOUSERECT 10).
enum Event : int {
  kEventSize = 0, kEventDblClick, kEventMouseBox, kEventMouseDown, kEventDragDrop,
  kEventMouseLine, kEventDestroy, kEventMouseUp, kEventMouseMove, kEventClick, kEventMouseRect,
  kEventCount,
};
const char* EventName(int event);
// The advise code that starts (odd) or stops (even) an event.
inline int AdviseStartCode(int event) { return 2 * event + 1; }
inline int AdviseStopCode(int event) { return 2 * event + 2; }

class ServerLink {
public:
  virtual ~ServerLink() = default;

  // Finds the host windows, starts the DDE client and connects, starting the server if need be.
  virtual void Connect() = 0;
  virtual void Disconnect() = 0;
  virtual bool Connected() const = 0;
  virtual bool Poke(const char* text) = 0;
  // Replaces the text in `buffer` by the server's answer, at most `capacity` bytes, NUL-closed.
  virtual bool Request(char* buffer, std::size_t capacity, uint32_t timeout) = 0;
  virtual bool Advise(int code, int32_t window) = 0;

  // A plain message box without owner.
  virtual void ShowMessageBox(const char* text, const char* caption) = 0;
  virtual intptr_t SendWindowMessage(int32_t window, uint32_t message, uintptr_t wParam,
                                     intptr_t lParam) = 0;
  virtual void MoveAndRepaint(int32_t window, int32_t x, int32_t y, int32_t width,
                              int32_t height) = 0;
  // After IMCREATES: keep `child` filling `parent`.
  virtual void WatchParent(int32_t child, int32_t parent) = 0;
  virtual void RestoreParents() = 0;
  virtual void RightMenu(int32_t window, bool win32s) = 0;
  // Windows version word: low byte major version, top bit set when not Windows NT.
  virtual uint32_t VersionWord() = 0;
  virtual void RegisterDialogMessage() = 0;
};

struct LibraryState {
  uint8_t active = 0;
  int32_t hostMainWindow = 0;
  int32_t hostMainClientWindow = 0;
  uint32_t commandTimeout = 50000;
  CommandBuffer command;
  uint32_t showFlags = 0;
  int32_t memoWorkArea = -1;
  std::string memoField;
  int32_t variableMode = 0;
  int32_t linkMode = 0;
  uint8_t platformFlags = 0;
};

LibraryState& State();
ServerLink& Link();
// The Win32 library installs its DDE link at process attach; tests install a recorder.
void SetLink(ServerLink* link);

// Platform flag bits.
enum : uint8_t { kWin32s = 0x01, kVersion4 = 0x02, kWin32sOld = 0x04, kWindowsNT = 0x08 };
uint8_t PlatformFlags(uint32_t versionWord);

}  // namespace tavik::hostlib
