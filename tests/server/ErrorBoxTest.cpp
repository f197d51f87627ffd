// The message-box reporter, in process: a second thread reads each box and closes it.
#include <gtest/gtest.h>

#include <windows.h>

#include <future>
#include <optional>

#include "DialogProbe.h"
#include "ErrorBox.h"
#include "ServerState.h"

namespace tavik {
namespace {

class ErrorBoxes : public ::testing::Test {
protected:
  void SetUp() override {
    Server().instance = GetModuleHandleA(nullptr);
    InstallErrorBoxReporter();
    saved_ = Errors();
  }
  void TearDown() override {
    Errors() = saved_;
    SetErrorReporter(nullptr);
  }

  // Reports and returns the box that appeared (closed again), or nothing.
  std::optional<test::DialogSeen> ReportAndRead(int code, int routine, const char* detail) {
    auto probe = std::async(std::launch::async, [] {
      auto box = test::WaitForDialog(GetCurrentProcessId(), 3000);
      if (box) test::CloseDialog(box->window);
      return box;
    });
    ReportError(code, routine, detail);
    return probe.get();
  }

  ErrorSettings saved_;
};

TEST_F(ErrorBoxes, CaptionAndTextByCodeRoutineAndMode) {
  const struct {
    const char* name;
    int code;
    int routine;
    const char* detail;
    int mode;
    const char* caption;
    const char* text;
  } cases[] = {
      {"routine named", 54, kLoadGIF, nullptr, kShowRoutineMode, "Tavik: LoadGIF",
       "Error opening a file!"},
      {"routine and detail", 105, kDdeCallback, "CREATEFWIN", kShowRoutineMode,
       "Tavik: DdeCallback CREATEFWIN", "Error in window title"},
      {"/E0", 54, kLoadGIF, nullptr, 0, "Tavik Error", "Error opening a file!"},
      {"undefined code", 160, kLoadGIF, nullptr, kShowRoutineMode, "Tavik Internal Error",
       "Undefined Error!"},
      {"routine 60", 52, 60, nullptr, kShowRoutineMode, "Tavik: NO MODULE", "Error reading file!"},
      {"two-line message", 95, kPrintGX, nullptr, kShowRoutineMode, "Tavik: PrintGX",
       "Could not locate printer setup!\nTry Print Setup..."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Errors().displayMode = c.mode;
    const long before = Errors().counter;
    const auto box = ReportAndRead(c.code, c.routine, c.detail);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, c.caption);
    EXPECT_EQ(box->text, c.text);
    EXPECT_EQ(Errors().counter, before + 1);
  }
}

TEST_F(ErrorBoxes, SilencedBoxesStillCount) {
  Errors().displaySwitch = 0;
  const long before = Errors().counter;
  auto probe = std::async(std::launch::async,
                          [] { return test::NoDialogWithin(GetCurrentProcessId(), 500); });
  EXPECT_EQ(ReportError(54, kLoadGIF), 0);
  EXPECT_EQ(ReportError(72, kReadDib), 0);
  EXPECT_TRUE(probe.get());
  EXPECT_EQ(Errors().counter, before + 2);
}

// The resource string table is generated from the same list as the portable table.
TEST_F(ErrorBoxes, StringTableHoldsEveryMessage) {
  for (int code = kErrMinMarker; code <= kErrMaxMarker; ++code) {
    SCOPED_TRACE(code);
    char text[128] = {};
    LoadStringA(Server().instance, static_cast<UINT>(code), text, sizeof text);
    EXPECT_EQ(std::string(text), std::string(ErrorMessageText(code)));
  }
}

}  // namespace
}  // namespace tavik
