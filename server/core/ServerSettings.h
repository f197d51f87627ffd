// The server's settings file, tavik.ini in the Windows directory.
#pragma once

#include <cstdint>

namespace tavik {

// Reads the start-up keys, writing each missing one with its default, and applies them.
void ReadStartupSettings(uint32_t& platformFlags);
// Makes the palette choice of the settings dialog persistent.
void WriteBackPaletteSetting(uint32_t platformFlags);

}  // namespace tavik
