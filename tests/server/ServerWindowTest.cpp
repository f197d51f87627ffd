// The server window seen from outside: start-up switches, its dialogs, journal cancel, the end.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "DdeTestClient.h"
#include "DialogProbe.h"
#include "ServerProcess.h"

namespace tavik::test {
namespace {

std::string GrabPaletteInFile() {
  char value[81] = {};
  GetPrivateProfileStringA("Images", "GrabPalette", "", value, sizeof value, "tavik.ini");
  return value;
}

TEST(ServerWindow, HiddenWithoutSwitch) {
  ServerProcess server;
  ASSERT_TRUE(server.Started());
  EXPECT_FALSE(IsWindowVisible(server.Window()));
  EXPECT_EQ(server.Stop(), 0);
}

TEST(ServerWindow, VisibleSwitchLeavesItMinimizedAndInactive) {
  for (const char* arguments : {"/v", "/V", "x/vx /E0"}) {
    SCOPED_TRACE(arguments);
    ServerProcess server(arguments);
    ASSERT_TRUE(server.Started());
    HWND window = server.Window();
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(IsIconic(window));
    EXPECT_NE(GetForegroundWindow(), window);

    // Restoring it does nothing: it refuses to open.
    PostMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    ShowWindowAsync(window, SW_RESTORE);
    PumpFor(300);
    EXPECT_TRUE(IsIconic(window));
    EXPECT_EQ(server.Stop(), 0);
  }
}

TEST(ServerWindow, CancelledJournalHookIsReported) {
  ServerProcess server;
  ASSERT_TRUE(server.Started());
  // The system never sends this under Wine; the test stands in for it.
  ASSERT_TRUE(PostThreadMessageA(server.ThreadId(), WM_CANCELJOURNAL, 0, 0));
  const auto box = WaitForDialog(server.ProcessId(), 5000);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, "Tavikw32");
  EXPECT_EQ(box->text, "System-wide mouse capture has been cancelled.");
  CloseDialog(box->window);
  PumpFor(100);
  DdeTestClient client;  // still serving
  EXPECT_TRUE(client.Connect("IMAGE"));
  client.Disconnect();
  EXPECT_EQ(server.Stop(), 0);
}

TEST(ServerWindow, SettingsDialogChoiceIsWrittenBackAtShutdown) {
  WritePrivateProfileStringA("Images", "GrabPalette", "ON", "tavik.ini");
  {
    ServerProcess server;
    ASSERT_TRUE(server.Started());
    PostMessageA(server.Window(), WM_SYSCOMMAND, 2, 0);
    auto dialog = WaitForDialog(server.ProcessId(), 5000, "Settings");
    ASSERT_TRUE(dialog.has_value());
    EXPECT_EQ(IsDlgButtonChecked(dialog->window, 222), BST_CHECKED);  // Grab Palette
    EXPECT_EQ(IsDlgButtonChecked(dialog->window, 221), BST_UNCHECKED);
    SendMessageA(GetDlgItem(dialog->window, 221), BM_CLICK, 0, 0);
    CloseDialog(dialog->window, 216);
    PumpFor(200);

    // Reopened, the dialog shows the choice; Cancel keeps it.
    PostMessageA(server.Window(), WM_SYSCOMMAND, 2, 0);
    dialog = WaitForDialog(server.ProcessId(), 5000, "Settings");
    ASSERT_TRUE(dialog.has_value());
    EXPECT_EQ(IsDlgButtonChecked(dialog->window, 221), BST_CHECKED);
    SendMessageA(GetDlgItem(dialog->window, 222), BM_CLICK, 0, 0);
    CloseDialog(dialog->window, 217);
    PumpFor(200);
    EXPECT_EQ(GrabPaletteInFile(), "ON");  // in memory only until shutdown
    EXPECT_EQ(server.Stop(), 0);
  }
  EXPECT_EQ(GrabPaletteInFile(), "OFF");
  WritePrivateProfileStringA("Images", "GrabPalette", "ON", "tavik.ini");
}

TEST(ServerWindow, AboutDialog) {
  ServerProcess server;
  ASSERT_TRUE(server.Started());
  PostMessageA(server.Window(), WM_SYSCOMMAND, 4, 0);
  const auto dialog = WaitForDialog(server.ProcessId(), 5000, "About Tavik Media Server");
  ASSERT_TRUE(dialog.has_value());
  CloseDialog(dialog->window);
  EXPECT_TRUE(WaitUntilClosed(dialog->window, 3000));
  EXPECT_EQ(server.Stop(), 0);
}

}  // namespace
}  // namespace tavik::test
