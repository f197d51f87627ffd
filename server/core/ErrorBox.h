// The server's error reporter: counts every report and shows it in a message box unless
// the client silenced the boxes.
#pragma once

#include "ErrorReport.h"

namespace tavik {

struct ErrorSettings {
  long displaySwitch = 1;  // below 1: no boxes (ERRORLEVEL)
  long counter = 0;        // grows with every report, shown or not
  int displayMode = kShowRoutineMode;
};

ErrorSettings& Errors();

// Installs the message-box reporter as the process-wide reporter.
void InstallErrorBoxReporter();

}  // namespace tavik
