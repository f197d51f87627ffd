// The orderly end that starts when the server window is destroyed.
#pragma once

#include <windows.h>

namespace tavik {

void BeginShutdown(HWND serverWindow);

}  // namespace tavik
