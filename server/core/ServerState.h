// Server-wide state made at start-up and read by every other file of the server.
#pragma once

#include <windows.h>

#include <cstdint>

namespace tavik {

// Platform flag bits.
enum PlatformFlag : uint32_t {
  kPlatformWin32s = 0x01,
  kPlatformVersion4 = 0x02,
  kPlatformOldWin32s = 0x04,
  kPlatformMediaWindows = 0x08,
  kPlatformGrabPalette = 0x10,
  kPlatform3dControls = 0x20,
  kPlatformThermometers = 0x40,
  kPlatformNT = 0x80,
};

// Private messages of the server window.
inline constexpr UINT kMsgRegisterDdeNames = WM_USER + 1;
inline constexpr UINT kMsgShowHelpContext = WM_USER + 2;
inline constexpr UINT kMsgStartCapture = WM_USER + 13;
inline constexpr UINT kMsgMouseRectCancelled = WM_USER + 17;

// System-menu commands of the server window (raw wParam of WM_SYSCOMMAND).
enum ServerCommand : WPARAM {
  kCmdHelpIndex = 1,
  kCmdSettings = 2,
  kCmdViewer = 3,
  kCmdAbout = 4,
  kCmdCapture = 5,
};

// Help contexts shown by F1 while a dialog or popup of a window is open.
inline constexpr LONG_PTR kHelpPopupMenu = 901;
inline constexpr LONG_PTR kHelpSettings = 902;
inline constexpr LONG_PTR kHelpSave = 906;

inline constexpr const char kHelpFile[] = "TAVIKMS.HLP";

// The window handle that stands for the print page.
inline HWND PrintPageHandle() { return reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1)); }

struct ServerState {
  HINSTANCE instance = nullptr;
  HWND window = nullptr;
  uint32_t platformFlags = kPlatformThermometers;
  ATOM imageClassAtom = 0;
  HACCEL accelerators = nullptr;
  HHOOK helpHook = nullptr;
  // The system-wide journal hook held during rectangle tracking and screen capture.
  HHOOK journalHook = nullptr;

  HBRUSH nullBrush = nullptr;
  HPEN nullPen = nullptr;
  HPEN blackPen = nullptr;
  HFONT systemFixedFont = nullptr;

  int logPixelsX = 96;
  int logPixelsY = 96;
  int ditherColors = 256;
};

ServerState& Server();

}  // namespace tavik
