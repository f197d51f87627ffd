#include "ServerSettings.h"

#include "FormatSettings.h"
#include "PrivateProfileStore.h"
#include "ServerState.h"

namespace tavik {
namespace {

StartupSettings gStartup;
PrivateProfileStore gFileStore;

}  // namespace

void ReadStartupSettings(uint32_t& platformFlags) {
  gStartup = LoadStartupSettings(gFileStore);
  // The loaders and writers read their keys (GRAYSHIFT, the JPEG sections) when they need them.
  SetFormatSettingsStore(&gFileStore);
  if (gStartup.grabPalette)
    platformFlags |= kPlatformGrabPalette;
  else
    platformFlags &= ~kPlatformGrabPalette;
}

void WriteBackPaletteSetting(uint32_t platformFlags) {
  StorePaletteSetting(gFileStore, (platformFlags & kPlatformGrabPalette) != 0);
}

const StartupSettings& CurrentStartupSettings() { return gStartup; }

}  // namespace tavik
