// The server's window classes and the slots of their extra bytes.
#pragma once

#include <windows.h>

namespace tavik {

inline constexpr char kServerClass[] = "TAVIKW32";
inline constexpr char kViewerClass[] = "TAVIKWDD";
inline constexpr char kImageClass[] = "TAVIKWIG";
inline constexpr char kThermometerClass[] = "TAVIKTHM";

// Six pointer-sized slots per window of the first three classes. On the 32-bit target these are
// the six 32-bit slots at byte indexes 0..20; the 64-bit target needs room for 64-bit handles.
enum WindowSlot : int {
  kSlotImageList = 0,
  kSlotTavikWindow = 1,
  kSlotSaveSettings = 2,
  kSlotPrintSettings = 3,
  kSlotBackgroundBrush = 4,
  kSlotHelpContext = 5,
  kWindowSlotCount = 6,
};

inline constexpr int SlotOffset(int slot) { return slot * static_cast<int>(sizeof(LONG_PTR)); }

inline LONG_PTR GetSlot(HWND window, int slot) { return GetWindowLongPtrA(window, SlotOffset(slot)); }
inline void SetSlot(HWND window, int slot, LONG_PTR value) {
  SetWindowLongPtrA(window, SlotOffset(slot), value);
}

// True for windows of the server's three record-carrying classes (and the server window).
bool IsServerClassWindow(HWND window);

bool RegisterServerClasses(HINSTANCE instance);

}  // namespace tavik
