// The server's settings file, tavik.ini in the Windows directory.
#pragma once

#include <cstdint>

#include "Settings.h"

namespace tavik {

// Reads the start-up keys, writing each missing one with its default; sets the palette flag.
void ReadStartupSettings(uint32_t& platformFlags);
// Makes the palette choice of the settings dialog persistent.
void WriteBackPaletteSetting(uint32_t platformFlags);

// What start-up read, for the parts that use it (viewer placement, dithering, PIC, JPEG).
const StartupSettings& CurrentStartupSettings();

}  // namespace tavik
