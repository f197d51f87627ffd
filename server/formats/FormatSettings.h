// The settings file as the loaders and writers see it: GRAYSHIFT and the JPEG sections of
// tavik.ini. The server installs its private-profile store, the tool the file named by --ini;
// with nothing installed every key reads as its default.
#pragma once

#include "Settings.h"

namespace tavik {

// Not owned; the caller keeps it alive while it is installed. nullptr uninstalls.
void SetFormatSettingsStore(ProfileStore* store);

int FormatGrayShift();
// "UseJPEGINI" of section "Images": false only for exactly "OFF"; a missing key is written "ON".
bool FormatUseJpegIni();
JpegDecodeSettings FormatJpegDecodeSettings();
JpegEncodeSettings FormatJpegEncodeSettings();

}  // namespace tavik
