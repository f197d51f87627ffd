// The server's one message loop.
#pragma once

#include <windows.h>

namespace tavik {

// Runs until the quit message; returns its code.
int RunMessageLoop();

// The system ended the journal hook that held a system-wide mouse capture.
void OnJournalCancelled();

}  // namespace tavik
