// The per-window record of every image and viewer window, and the server's window list.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "DrawingState.h"

namespace tavik {

// Record flag bits.
enum TavikWindowFlag : uint32_t {
  kWinDrawn = 0x2,
  kWinCreatedAsChild = 0x4,
  kWinPopupEnabled = 0x8,
  kWinPopupRebuild = 0x10,
  kWinRecording = 0x20,
  kWinOffscreen = 0x40,
  kWinDibAttribute = 0x80,
  kWinFillsParent = 0x100,
  kWinClearZoom = 0x200,
  kWinSizeFirstChild = 0x400,
  kWinMouseReflection = 0x800,
  kWinPaintImages = 0x1000,
  kWinPaintRecording = 0x2000,
  kWinPaintOffscreen = 0x4000,
  kWinStretch = 0x8000,
  kWinFreehand = 0x10000,
  kWinFreehandStroke = 0x20000,
};
inline constexpr uint32_t kDefaultWindowFlags = 0x7058;

// Notification bits of the IMAGE and GRAPH words.
enum NotifyBit : uint16_t {
  kNotifySize = 0x0001,
  kNotifyDblClick = 0x0002,
  kNotifyMouseBox = 0x0004,
  kNotifyMouseDown = 0x0008,
  kNotifyDragDrop = 0x0010,
  kNotifyMouseLine = 0x0020,
  kNotifyMouseUp = 0x0040,
  kNotifyMouseMove = 0x0080,
  kNotifyClick = 0x0100,
  kNotifyMouseRect = 0x0200,
  kNotifyDestroy = 0x0800,
};

struct TavikWindow {
  HWND window = nullptr;
  HMENU popupMenu = nullptr;
  HMENU zoomMenu = nullptr;
  HMENU unzoomMenu = nullptr;
  uint32_t zoomDragFlags = 0;
  uint16_t imageNotify = 0;
  uint16_t graphNotify = 0;
  int16_t zoomDepth = 0;
  int32_t clientWidth = 0;
  int32_t clientHeight = 0;
  int32_t frameWidth = 0;
  int32_t frameHeight = 0;
  DrawingState drawing;
  uint32_t flags = kDefaultWindowFlags;
  uint32_t popupItems = 0xFFFFFFFFu;
  uint32_t zoomItems = 0;
  uint32_t unzoomItems = 0;
  POINT popupPoint{0, 0};
  char text[256] = {};
  int32_t scaleX = 100;
  int32_t scaleY = 100;
  std::vector<POINT> points;
  uint32_t textAlign = 0;
  RECT trackRect{0, 0, 0, 0};  // x, y, width, height

  uint16_t& NotifyWord(bool graphTopic) { return graphTopic ? graphNotify : imageNotify; }
};

// Window handles travel as 32-bit decimal numbers (64-bit Windows keeps them sign-extended).
inline int HandleNumber(HWND window) { return static_cast<int>(reinterpret_cast<LONG_PTR>(window)); }
inline HWND HandleFromNumber(long long number) {
  return reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<int>(number)));
}

// The record of a window, or nullptr for a null or -1 handle or a window without one.
TavikWindow* LockTavikWindow(HWND window);

// Makes a window's record (in its extra bytes); nullptr for a null or -1 handle.
TavikWindow* AllocTavikWindow(HWND window);
// Frees the record and everything its drawing state owns; clears the slot.
void FreeTavikWindow(HWND window);

// The window list: newest first, as windows are put at the front when created.
void AddToWindowList(HWND window);
void RemoveFromWindowList(HWND window);
bool IsInWindowList(HWND window);
// Oldest first, over a snapshot, since handlers may destroy windows and so unlink them.
std::vector<HWND> WindowListOldestFirst();
// Sends one message to every listed window, the oldest first.
void BroadcastToWindowList(UINT message, WPARAM wParam, LPARAM lParam);

// The current window: 0 for none, PrintPageHandle() for the print page.
HWND CurrentWindow();
void SetCurrentWindow(HWND window);

}  // namespace tavik
