// The server completes tavik.ini at start-up and writes back only the palette choice.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "ServerProcess.h"

namespace tavik::test {
namespace {

std::string IniPath() {
  char folder[MAX_PATH] = {};
  GetWindowsDirectoryA(folder, MAX_PATH);
  return std::string(folder) + "\\tavik.ini";
}

std::string Value(const char* key) {
  char value[512] = {};
  GetPrivateProfileStringA("Images", key, "<missing>", value, sizeof value, "tavik.ini");
  return value;
}

void Set(const char* key, const char* value) {
  WritePrivateProfileStringA("Images", key, value, "tavik.ini");
}

class SettingsFile : public ::testing::Test {
protected:
  void SetUp() override { DeleteFileA(IniPath().c_str()); }
  void TearDown() override { DeleteFileA(IniPath().c_str()); }

  static void RunServerOnce() {
    ServerProcess server;
    ASSERT_TRUE(server.Started());
    EXPECT_EQ(server.Stop(), 0);
  }
};

TEST_F(SettingsFile, MissingFileIsCreatedWithTheStartupKeys) {
  RunServerOnce();
  const struct {
    const char* key;
    const char* value;
  } expected[] = {{"PICPack", "OFF"},   {"DropX", "0"},        {"DropY", "0"},
                  {"DropWidth", "200"}, {"DropHeight", "150"}, {"GrabPalette", "ON"},
                  {"Dither", "FloydSteinberg"}, {"UseJPEGINI", "ON"}};
  for (const auto& e : expected) {
    SCOPED_TRACE(e.key);
    EXPECT_EQ(Value(e.key), e.value);
  }
  // Keys read only when their user needs them are not written at start-up.
  EXPECT_EQ(Value("CaptureFile"), "<missing>");
  EXPECT_EQ(Value("GRAYSHIFT"), "<missing>");
}

TEST_F(SettingsFile, UnusableValuesAreReplacedAndOthersKept) {
  Set("DropWidth", "0");
  Set("DropHeight", "75");
  Set("Dither", "bayer");
  Set("GrabPalette", "off");  // lower case: grabbing at start-up, "OFF" once upper-cased
  RunServerOnce();
  EXPECT_EQ(Value("DropWidth"), "200");
  EXPECT_EQ(Value("DropHeight"), "75");
  EXPECT_EQ(Value("Dither"), "bayer");
  EXPECT_EQ(Value("GrabPalette"), "ON");
}

}  // namespace
}  // namespace tavik::test
