#include "TavikWindow.h"

#include <algorithm>

#include "ServerState.h"
#include "WindowClasses.h"

namespace tavik {
namespace {

std::vector<HWND> gWindowList;  // newest first
HWND gCurrentWindow = nullptr;

bool IsRealWindowHandle(HWND window) { return window && window != PrintPageHandle(); }

}  // namespace

TavikWindow* LockTavikWindow(HWND window) {
  if (!IsRealWindowHandle(window) || !IsServerClassWindow(window)) return nullptr;
  return reinterpret_cast<TavikWindow*>(GetSlot(window, kSlotTavikWindow));
}

TavikWindow* AllocTavikWindow(HWND window) {
  if (!IsRealWindowHandle(window)) return nullptr;
  auto* record = new (std::nothrow) TavikWindow;
  if (!record) return nullptr;
  record->window = window;
  SetSlot(window, kSlotTavikWindow, reinterpret_cast<LONG_PTR>(record));
  return record;
}

void FreeTavikWindow(HWND window) {
  TavikWindow* record = LockTavikWindow(window);
  if (!record) return;
  record->drawing.Release();
  if (record->popupMenu) DestroyMenu(record->popupMenu);  // owns the zoom submenus
  SetSlot(window, kSlotTavikWindow, 0);
  delete record;
}

void AddToWindowList(HWND window) { gWindowList.insert(gWindowList.begin(), window); }

void RemoveFromWindowList(HWND window) {
  gWindowList.erase(std::remove(gWindowList.begin(), gWindowList.end(), window), gWindowList.end());
}

bool IsInWindowList(HWND window) {
  return window && std::find(gWindowList.begin(), gWindowList.end(), window) != gWindowList.end();
}

std::vector<HWND> WindowListOldestFirst() { return {gWindowList.rbegin(), gWindowList.rend()}; }

void BroadcastToWindowList(UINT message, WPARAM wParam, LPARAM lParam) {
  for (HWND window : WindowListOldestFirst())
    if (IsInWindowList(window)) SendMessageA(window, message, wParam, lParam);
}

HWND CurrentWindow() { return gCurrentWindow; }
void SetCurrentWindow(HWND window) { gCurrentWindow = window; }

}  // namespace tavik
