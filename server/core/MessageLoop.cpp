#include "MessageLoop.h"

#include <cstdio>

#include "DdeServer.h"
#include "ServerState.h"
#include "TavikWindow.h"

namespace tavik {

void OnJournalCancelled() {
  Server().journalHook = nullptr;
  for (HWND window : WindowListOldestFirst()) {
    TavikWindow* record = LockTavikWindow(window);
    if (!record) continue;
    if ((record->imageNotify | record->graphNotify) & kNotifyMouseRect) {
      record->imageNotify &= static_cast<uint16_t>(~kNotifyMouseRect);
      record->graphNotify &= static_cast<uint16_t>(~kNotifyMouseRect);
      PostMessageA(window, kMsgMouseRectCancelled, 0, 0);
    }
  }
  MessageBoxA(nullptr, "System-wide mouse capture has been cancelled.", "Tavikw32",
              MB_OK | MB_ICONWARNING);
}

int RunMessageLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_CANCELJOURNAL) {
      OnJournalCancelled();
      continue;
    }
    if (Server().accelerators && TranslateAcceleratorA(Server().window, Server().accelerators, &msg))
      continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace tavik
