// F1 in a dialog asks the server window for the help context of the dialog's owner.
#include <gtest/gtest.h>

#include <windows.h>

#include <future>

#include "DialogProbe.h"
#include "Dialogs.h"
#include "HelpHook.h"
#include "ServerState.h"
#include "WindowClasses.h"

namespace tavik {
namespace {

// Stands in for the server window's procedure once it exists, so that the help request is
// recorded instead of starting the help engine.
LPARAM gHelpContextAsked = 0;
LRESULT CALLBACK RecordHelpRequests(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kMsgShowHelpContext) {
    gHelpContextAsked = lParam;
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST(HelpHook, F1InTheSettingsDialogAsksForItsHelpContext) {
  Server().instance = GetModuleHandleA(nullptr);
  RegisterServerClasses(Server().instance);
  // The server window, made the way start-up makes it (its creation installs the hook).
  HWND server = CreateWindowA(kServerClass, "Tavik for Windows", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                              100, nullptr, nullptr, Server().instance, const_cast<char*>(""));
  ASSERT_NE(server, nullptr);
  ASSERT_EQ(Server().window, server);
  SetWindowLongPtrA(server, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordHelpRequests));

  auto presser = std::async(std::launch::async, [] {
    auto dialog = test::WaitForDialog(GetCurrentProcessId(), 5000, "Settings");
    if (!dialog) return false;
    HWND focus = GetDlgItem(dialog->window, 216);
    PostMessageA(focus, WM_KEYDOWN, VK_F1, 0);
    Sleep(200);
    test::CloseDialog(dialog->window, 217);
    return true;
  });
  RunSettingsDialog(server);  // the help context is 902 while it is open
  ASSERT_TRUE(presser.get());

  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  EXPECT_EQ(gHelpContextAsked, kHelpSettings);
  EXPECT_EQ(GetSlot(server, kSlotHelpContext), 0);  // cleared once the dialog is gone

  RemoveHelpHook();
  DestroyWindow(server);
  Server().window = nullptr;
}

}  // namespace
}  // namespace tavik
