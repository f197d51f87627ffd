#include "ServerSettings.h"

#include "PrivateProfileStore.h"
#include "ServerState.h"

namespace tavik {
namespace {

StartupSettings gStartup;

}  // namespace

void ReadStartupSettings(uint32_t& platformFlags) {
  PrivateProfileStore store;
  gStartup = LoadStartupSettings(store);
  if (gStartup.grabPalette)
    platformFlags |= kPlatformGrabPalette;
  else
    platformFlags &= ~kPlatformGrabPalette;
}

void WriteBackPaletteSetting(uint32_t platformFlags) {
  PrivateProfileStore store;
  StorePaletteSetting(store, (platformFlags & kPlatformGrabPalette) != 0);
}

const StartupSettings& CurrentStartupSettings() { return gStartup; }

}  // namespace tavik
