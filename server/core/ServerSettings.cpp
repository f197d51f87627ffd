#include "ServerSettings.h"

#include <windows.h>

#include <cstring>

#include "ServerState.h"

namespace tavik {
namespace {

constexpr char kFile[] = "tavik.ini";
constexpr char kSection[] = "Images";

}  // namespace

void ReadStartupSettings(uint32_t& platformFlags) {
  char value[81] = {};
  if (!GetPrivateProfileStringA(kSection, "GrabPalette", "", value, sizeof value, kFile)) {
    WritePrivateProfileStringA(kSection, "GrabPalette", "ON", kFile);
    lstrcpyA(value, "ON");
  }
  if (std::strcmp(value, "OFF") == 0)
    platformFlags &= ~kPlatformGrabPalette;
  else
    platformFlags |= kPlatformGrabPalette;
}

void WriteBackPaletteSetting(uint32_t platformFlags) {
  char value[81] = {};
  if (!GetPrivateProfileStringA(kSection, "GrabPalette", "", value, sizeof value, kFile)) return;
  CharUpperA(value);
  const bool grab = (platformFlags & kPlatformGrabPalette) != 0;
  if (grab && std::strcmp(value, "OFF") == 0)
    WritePrivateProfileStringA(kSection, "GrabPalette", "ON", kFile);
  else if (!grab && std::strcmp(value, "ON") == 0)
    WritePrivateProfileStringA(kSection, "GrabPalette", "OFF", kFile);
}

}  // namespace tavik
