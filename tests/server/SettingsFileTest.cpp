// The server completes tavik.ini at start-up and writes back only the palette choice.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "DdeTestClient.h"
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

// A 2x1 16-bit BlackIsZero TIFF (little-endian, uncompressed): loading it needs GRAYSHIFT.
std::vector<unsigned char> Gray16Tiff() {
  std::vector<unsigned char> b = {'I', 'I', 42, 0, 8, 0, 0, 0};
  auto u16 = [&b](unsigned v) { b.push_back(v & 0xFF); b.push_back((v >> 8) & 0xFF); };
  auto u32 = [&](unsigned v) { u16(v & 0xFFFF); u16(v >> 16); };
  const struct { unsigned tag, type, value; } entries[] = {
      {256, 3, 2}, {257, 3, 1}, {258, 3, 16}, {259, 3, 1}, {262, 3, 1},
      {273, 4, 8 + 2 + 9 * 12 + 4}, {277, 3, 1}, {278, 3, 1}, {279, 4, 4}};
  u16(9);
  for (const auto& e : entries) {
    u16(e.tag);
    u16(e.type);
    u32(1);
    if (e.type == 3) {
      u16(e.value);
      u16(0);
    } else {
      u32(e.value);
    }
  }
  u32(0);
  u16(0x0000);
  u16(0xFFFF);
  return b;
}

TEST_F(SettingsFile, GrayShiftIsReadAndRepairedWhenAnImageNeedsIt) {
  Set("GRAYSHIFT", "20");
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  const std::string path = std::string(folder) + "gray16.tif";
  const auto bytes = Gray16Tiff();
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);

  ServerProcess server;
  ASSERT_TRUE(server.Started());
  EXPECT_EQ(Value("GRAYSHIFT"), "20");  // not a start-up key
  DdeTestClient client;
  ASSERT_TRUE(client.Connect("IMAGE"));
  ASSERT_TRUE(client.Request("27 [gray] 10 10 110 110", false).has_value());
  EXPECT_TRUE(client.Poke("CMD", "35 [" + path + "] 1 -1 -1 -1 -1 -1 -1 -1 -1 0"));
  client.Disconnect();
  EXPECT_EQ(server.Stop(), 0);
  EXPECT_EQ(Value("GRAYSHIFT"), "3");
  DeleteFileA(path.c_str());
}

}  // namespace
}  // namespace tavik::test
