#include "ErrorReport.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavik {
namespace {

TEST(ErrorMessageText, KnowsEveryCodeOfTheTable) {
  EXPECT_EQ(ErrorMessageText(51), "Couldn't allocate memory!");
  EXPECT_EQ(ErrorMessageText(72), "Wrong image data format!");
  EXPECT_EQ(ErrorMessageText(102), "Internal error, LockTavikWindow");
  EXPECT_EQ(ErrorMessageText(103), "");
  EXPECT_EQ(ErrorMessageText(104), "Error in CreateCompatibleBitmap");
  EXPECT_EQ(ErrorMessageText(125), "Process canceled");
  EXPECT_EQ(ErrorMessageText(157), "Memory management troubles, please exit");
  EXPECT_EQ(ErrorMessageText(49), "");
  EXPECT_EQ(ErrorMessageText(159), "");
}

TEST(RoutineName, OutOfRangeNamesNoModule) {
  EXPECT_EQ(RoutineName(kReadDib), "ReadDib");
  EXPECT_EQ(RoutineName(kLoadWMF), "LoadWMF");
  EXPECT_EQ(RoutineName(kNewNode), "newnode");
  EXPECT_EQ(RoutineName(60), "NO MODULE");
  EXPECT_EQ(RoutineName(-1), "NO MODULE");
}

struct BoxCase {
  const char* name;
  int code;
  int routine;
  const char* detail;
  int mode;
  const char* caption;
  const char* text;
};

TEST(ComposeErrorBox, CaptionsAndTexts) {
  const std::vector<BoxCase> cases = {
      {"routine in caption", 54, kLoadGIF, nullptr, kShowRoutineMode, "Tavik: LoadGIF",
       "Error opening a file!"},
      {"routine and detail", 105, kDdeCallback, "CREATEFWIN", kShowRoutineMode,
       "Tavik: DdeCallback CREATEFWIN", "Error in window title"},
      {"/E0 fixed caption", 54, kLoadGIF, "x", 0, "Tavik Error", "Error opening a file!"},
      {"code above table", 160, kLoadGIF, nullptr, kShowRoutineMode, "Tavik Internal Error",
       "Undefined Error!"},
      {"code below table", 49, kLoadGIF, nullptr, 0, "Tavik Internal Error", "Undefined Error!"},
      {"routine 60 is NO MODULE", 52, 60, nullptr, kShowRoutineMode, "Tavik: NO MODULE",
       "Error reading file!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto box = ComposeErrorBox(c.code, c.routine, c.detail, c.mode, ErrorMessageText(c.code));
    EXPECT_EQ(box.caption, c.caption);
    EXPECT_EQ(box.text, c.text);
  }
}

class Collector final : public ErrorReporter {
public:
  int Report(int code, int routine, const char* detail) override {
    seen.push_back({code, routine, detail ? detail : ""});
    return 1;
  }
  struct Seen {
    int code, routine;
    std::string detail;
  };
  std::vector<Seen> seen;
};

TEST(ReportError, GoesToTheInstalledReporterUntilRemoved) {
  Collector collector;
  SetErrorReporter(&collector);
  EXPECT_EQ(ReportError(72, kLoadBMP, "rows"), 1);
  SetErrorReporter(nullptr);
  EXPECT_EQ(ReportError(72, kLoadBMP), 0);
  ASSERT_EQ(collector.seen.size(), 1u);
  EXPECT_EQ(collector.seen[0].code, 72);
  EXPECT_EQ(collector.seen[0].routine, kLoadBMP);
  EXPECT_EQ(collector.seen[0].detail, "rows");
}

}  // namespace
}  // namespace tavik
