// Create requests and window commands over real DDE, against the real server.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "DdeTestClient.h"
#include "DialogProbe.h"
#include "ParentWindow.h"
#include "ServerProcess.h"

namespace tavik::test {
namespace {

std::string Number(HWND window) {
  return std::to_string(static_cast<int>(reinterpret_cast<LONG_PTR>(window)));
}

HWND FromNumber(const std::string& text) {
  return reinterpret_cast<HWND>(static_cast<LONG_PTR>(std::stoi(text)));
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string TitleOf(HWND window) {
  char title[128] = {};
  GetWindowTextA(window, title, sizeof title);
  return title;
}

class WindowCommands : public ::testing::Test {
protected:
  static void SetUpTestSuite() { server_ = std::make_unique<ServerProcess>(); }
  static void TearDownTestSuite() { server_.reset(); }

  void SetUp() override {
    ASSERT_TRUE(server_ && server_->Started());
    parentWindow_ = std::make_unique<ParentWindow>();
    parent_ = parentWindow_->Handle();
    ASSERT_NE(parent_, nullptr);
    ASSERT_TRUE(client_.Connect("IMAGE"));
  }
  void TearDown() override {
    client_.Disconnect();
    parentWindow_.reset();
  }

  // Create requests act, so they are never retried.
  HWND Create(const std::string& item) {
    const auto answer = client_.Request(item, false);
    return answer ? FromNumber(*answer) : nullptr;
  }
  std::string WithParent(const char* format) {
    char item[256];
    std::snprintf(item, sizeof item, format, Number(parent_).c_str());
    return item;
  }
  bool Command(const std::string& text) { return client_.Poke("CMD", text); }

  static std::unique_ptr<ServerProcess> server_;
  std::unique_ptr<ParentWindow> parentWindow_;
  HWND parent_ = nullptr;
  DdeTestClient client_;
};

std::unique_ptr<ServerProcess> WindowCommands::server_;

TEST_F(WindowCommands, CreateRequestsMakeEachKind) {
  const struct {
    const char* name;
    const char* item;  // %s: the parent
    const char* title;
    bool child, owned;
  } cases[] = {
      {"F", "26 [F window] 10 20 110 220 %s", "F window", true, false},
      {"F, plain title", "26 Plain 10 20 110 220 %s", "Plain", true, false},
      {"O", "28 [O window] 10 20 110 220 %s", "O window", false, true},
      {"E", "27 [E window] 10 20 110 220", "E window", false, false},
      {"S", "71 [S window] %s", "S window", true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HWND window = Create(WithParent(c.item));
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(ClassOf(window), "TAVIKWIG");
    EXPECT_EQ(TitleOf(window), c.title);
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ((style & WS_CHILD) != 0, c.child);
    EXPECT_EQ(GetAncestor(window, GA_PARENT) == parent_, c.child);
    EXPECT_EQ(GetWindow(window, GW_OWNER) == parent_, c.owned);
    EXPECT_TRUE(Command("25 " + Number(window)));
    EXPECT_FALSE(IsWindow(window));
  }
}

TEST_F(WindowCommands, PlacementFollowsRowFirstRectangles) {
  HWND window = Create(WithParent("26 [placed] 10 20 110 220 %s"));
  ASSERT_NE(window, nullptr);
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 20);
  EXPECT_EQ(r.top, 10);
  EXPECT_EQ(r.right - r.left, 200);
  EXPECT_EQ(r.bottom - r.top, 100);

  // All -1: the default position, and a size of 0 (subtracted after the replacement).
  HWND defaulted = Create(WithParent("26 [default] -1 -1 -1 -1 %s"));
  ASSERT_NE(defaulted, nullptr);
  GetWindowRect(defaulted, &r);
  EXPECT_EQ(r.right - r.left, 0);
  EXPECT_EQ(r.bottom - r.top, 0);

  // The S window fills its parent's client area.
  HWND filling = Create(WithParent("71 [fill] %s"));
  ASSERT_NE(filling, nullptr);
  RECT parentClient, client;
  GetClientRect(parent_, &parentClient);
  GetClientRect(filling, &client);
  EXPECT_EQ(client.right, parentClient.right);
  EXPECT_EQ(client.bottom, parentClient.bottom);
  for (HWND w : {window, defaulted, filling}) EXPECT_TRUE(Command("25 " + Number(w)));
}

TEST_F(WindowCommands, CreateRequestsThatFail) {
  EXPECT_EQ(Create("26 [no parent] 1 1 50 50 12345678"), nullptr);
  EXPECT_EQ(Create("28 [no parent] 1 1 50 50 12345678"), nullptr);
  EXPECT_EQ(Create(WithParent("26 [missing a coordinate] 1 1 50 %s")), nullptr);
  EXPECT_EQ(Create(WithParent(("26 [" + std::string(300, 'n') + "] 1 1 5 5 %s").c_str())), nullptr);
}

TEST_F(WindowCommands, UnreadableTitleIsReported) {
  const struct {
    const char* item;
    const char* caption;
  } cases[] = {{"26", "Tavik: DdeCallback CREATEFWIN"}, {"27", "Tavik: DdeCallback CREATEEWIN"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.item);
    const DWORD pid = server_->ProcessId();
    auto probe = std::async(std::launch::async, [pid] {
      auto box = WaitForDialog(pid, 5000);
      if (box) CloseDialog(box->window);
      return box;
    });
    EXPECT_EQ(Create(c.item), nullptr);
    const auto box = probe.get();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, c.caption);
    EXPECT_EQ(box->text, "Error in window title");
  }
}

TEST_F(WindowCommands, DestroyAndClose) {
  HWND first = Create(WithParent("26 [first] 0 0 50 50 %s"));
  HWND second = Create(WithParent("26 [second] 0 60 50 110 %s"));
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  // 48 closes the current window: the last one created.
  EXPECT_TRUE(Command("48"));
  EXPECT_FALSE(IsWindow(second));
  EXPECT_TRUE(IsWindow(first));
  // With no current window left, 48 fails.
  EXPECT_FALSE(Command("48"));
  EXPECT_TRUE(Command("25 " + Number(first)));
  // A handle that was valid but whose window is gone has left the list.
  EXPECT_FALSE(Command("25 " + Number(first)));
  EXPECT_FALSE(Command("25 " + Number(parent_)));  // not one of the server's windows
  EXPECT_TRUE(IsWindow(parent_));
  EXPECT_FALSE(Command("25"));
  EXPECT_FALSE(Command("25 -0"));
}

TEST_F(WindowCommands, ShowHideActsOnAnyWindow) {
  HWND window = Create(WithParent("26 [shown] 0 0 50 50 %s"));
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(Command("39 " + Number(window) + " 0"));
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_TRUE(Command("39 " + Number(window) + " 1"));
  EXPECT_TRUE(IsWindowVisible(window));
  // Not in the window list, yet shown and hidden all the same.
  EXPECT_TRUE(Command("39 " + Number(parent_) + " 0"));
  PumpFor(50);
  EXPECT_FALSE(IsWindowVisible(parent_));
  EXPECT_TRUE(Command("39 " + Number(parent_) + " 1"));
  PumpFor(50);
  EXPECT_TRUE(IsWindowVisible(parent_));
  EXPECT_FALSE(Command("39 12345678 1"));
  EXPECT_TRUE(Command("66 " + Number(window)));
  EXPECT_FALSE(Command("66 12345678"));
  EXPECT_TRUE(Command("25 " + Number(window)));
}

// A top-level window: Wine shows a child of another process's window only through that
// process's surface, so its pixels cannot be read back here.
TEST_F(WindowCommands, BackgroundColourPaintsTheWindow) {
  HWND window = Create("27 [red] 100 500 200 600");
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(Command("84 " + Number(window) + " 255"));  // COLORREF red
  EXPECT_FALSE(Command("84 " + Number(parent_) + " 255"));
  PumpFor(300);
  RECT r;
  GetWindowRect(window, &r);
  HDC screen = GetDC(nullptr);
  const COLORREF pixel = GetPixel(screen, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(pixel, RGB(255, 0, 0));
  EXPECT_TRUE(Command("25 " + Number(window)));
}

TEST_F(WindowCommands, DestroyNotificationAndLinksOnLiveWindows) {
  HWND window = Create(WithParent("26 [watched] 0 0 50 50 %s"));
  ASSERT_NE(window, nullptr);
  const std::string h = Number(window);
  EXPECT_TRUE(client_.AdviseStart("SIZE " + h));
  EXPECT_FALSE(client_.AdviseStart("size " + h + " "));
  EXPECT_FALSE(client_.AdviseStart("NOSUCHWORD " + h));
  EXPECT_TRUE(client_.AdviseStart("DESTROY " + h));
  client_.TakeNotifications();
  EXPECT_TRUE(Command("25 " + h)) << "DDE error " << client_.LastError();
  ASSERT_TRUE(client_.WaitForNotification(3000));
  const auto seen = client_.TakeNotifications();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].item, "DESTROY " + h);
  EXPECT_EQ(seen[0].text, h);
}

TEST(ServerShutdown, DestroyNotificationsGoOutOldestFirstBeforeTheServiceEnds) {
  ServerProcess server;
  ASSERT_TRUE(server.Started());
  DdeTestClient client;
  ASSERT_TRUE(client.Connect("GRAPH"));
  std::vector<std::string> windows;
  for (const char* title : {"[oldest]", "[middle]", "[newest]"}) {
    auto answer = client.Request(std::string("27 ") + title + " 0 0 100 100", false);
    ASSERT_TRUE(answer.has_value());
    EXPECT_TRUE(client.AdviseStart("DESTROY " + *answer));
    windows.push_back(*answer);
  }
  EXPECT_EQ(server.Stop(), 0);
  PumpFor(500);
  const auto seen = client.TakeNotifications();
  ASSERT_EQ(seen.size(), windows.size());
  for (size_t i = 0; i < windows.size(); ++i) {
    EXPECT_EQ(seen[i].item, "DESTROY " + windows[i]);
    EXPECT_EQ(seen[i].text, windows[i]);
  }
}

TEST(JournalCancel, TrackingWindowsAreToldOnGraphWhenTheyShowNoImages) {
  ServerProcess server;
  ASSERT_TRUE(server.Started());
  DdeTestClient client;
  ASSERT_TRUE(client.Connect("GRAPH"));
  auto answer = client.Request("27 [tracking] 0 0 100 100", false);
  ASSERT_TRUE(answer.has_value());
  ASSERT_TRUE(client.AdviseStart("MOUSERECT " + *answer));
  client.TakeNotifications();
  ASSERT_TRUE(PostThreadMessageA(server.ThreadId(), WM_CANCELJOURNAL, 0, 0));
  const auto box = WaitForDialog(server.ProcessId(), 5000);
  ASSERT_TRUE(box.has_value());
  ASSERT_TRUE(client.WaitForNotification(3000));
  CloseDialog(box->window);
  const auto seen = client.TakeNotifications();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].item, "MOUSERECT " + *answer);
  EXPECT_EQ(seen[0].text, *answer + " -1 -1");
  EXPECT_EQ(server.Stop(), 0);
}

}  // namespace
}  // namespace tavik::test
