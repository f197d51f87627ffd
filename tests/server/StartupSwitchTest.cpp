#include <gtest/gtest.h>

#include "Platform.h"
#include "ServerState.h"
#include "Startup.h"

namespace tavik {
namespace {

TEST(StartupSwitches, FoundAsPlainSubstringsAnywhere) {
  const struct {
    const char* line;
    bool visible;
    bool fixedCaption;
  } cases[] = {
      {"", false, false},         {"/v", true, false},        {"/V", true, false},
      {"/E0", false, true},       {"/e0", false, true},       {"/E0 /V", true, true},
      {"abc/vdef", true, false},  {"x/e0y", false, true},     {"/E", false, false},
      {"/E1", false, false},      {"-v", false, false},       {"\\V", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(HasVisibleSwitch(c.line), c.visible);
    EXPECT_EQ(HasFixedCaptionSwitch(c.line), c.fixedCaption);
  }
}

TEST(PlatformFlags, FromTheVersionWord) {
  const struct {
    const char* name;
    DWORD version;
    uint32_t flags;
  } cases[] = {
      {"Windows NT 3.51", 0x04213303, kPlatformNT},
      {"Windows NT 4", 0x05650004, kPlatformNT | kPlatformVersion4},
      {"Windows 10", 0x4A61000A, kPlatformNT | kPlatformVersion4},
      {"Windows 95", 0xC3B60004, kPlatformVersion4},
      {"Win32s on 3.1", 0x80000A03, kPlatformWin32s | kPlatformOldWin32s},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PlatformFlagsFromVersion(c.version), c.flags);
  }
}

}  // namespace
}  // namespace tavik
