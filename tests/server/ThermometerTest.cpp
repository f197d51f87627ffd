// Thermometer windows, in process: the Cancel button is pressed from a second thread.
#include <gtest/gtest.h>

#include <windows.h>

#include <future>

#include "ServerResources.h"
#include "ServerState.h"
#include "Thermometer.h"
#include "WindowClasses.h"

namespace tavik {
namespace {

class Thermometers : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    Server().instance = GetModuleHandleA(nullptr);
    RegisterServerClasses(Server().instance);
  }
  void SetUp() override { Server().platformFlags = kPlatformThermometers; }
};

TEST(ThermometerPercent, ProgressOverTotal) {
  const struct {
    long progress, total;
    int percent;
  } cases[] = {
      {0, 100, 0},   {50, 100, 50},  {100, 100, 100}, {1, 3, 33},
      {5, 0, 0},     {5, -4, 0},     {-5, 100, 0},    {150, 100, 100},
      {2000000000, 2100000000, 95},  // no overflow of progress x 100
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.progress << " of " << c.total);
    EXPECT_EQ(ThermometerPercent(c.progress, c.total), c.percent);
  }
}

TEST_F(Thermometers, ShowsCaptionAndGoesOnUntilCancelled) {
  HWND thermometer = OpenThermometer(100, IDS_SAVING_CAPTION, IDS_SAVING_TEXT);
  ASSERT_NE(thermometer, nullptr);
  char caption[64] = {};
  GetWindowTextA(thermometer, caption, sizeof caption);
  EXPECT_STREQ(caption, "Saving Image(s)");
  EXPECT_TRUE(IsWindowVisible(thermometer));
  EXPECT_TRUE(UpdateThermometer(thermometer, 10));

  HWND cancel = FindWindowExA(thermometer, nullptr, "BUTTON", "Cancel");
  ASSERT_NE(cancel, nullptr);
  std::async(std::launch::async, [cancel] { PostMessageA(cancel, BM_CLICK, 0, 0); }).wait();
  bool goOn = true;
  for (int i = 0; i < 50 && goOn; ++i) {
    goOn = UpdateThermometer(thermometer, 20 + i);
    Sleep(10);
  }
  EXPECT_FALSE(goOn);
  CloseThermometer(thermometer);
  EXPECT_FALSE(IsWindow(thermometer));
}

TEST_F(Thermometers, ZeroTotalPaintsWithoutDividing) {
  HWND thermometer = OpenThermometer(0, IDS_DITHERING_CAPTION, IDS_DITHER_TABLE_TEXT);
  ASSERT_NE(thermometer, nullptr);
  EXPECT_TRUE(UpdateThermometer(thermometer, 5));
  CloseThermometer(thermometer);
}

TEST_F(Thermometers, SwitchedOffThereIsNoneAndNoCancel) {
  Server().platformFlags = 0;
  HWND thermometer = OpenThermometer(100, IDS_SAVING_CAPTION, IDS_SAVING_TEXT);
  EXPECT_EQ(thermometer, nullptr);
  EXPECT_TRUE(UpdateThermometer(thermometer, 50));
  CloseThermometer(thermometer);
}

}  // namespace
}  // namespace tavik
