// What the language needs from the machine it runs on: the console host supplies Windows,
// the tests a fake.
#pragma once

#include "LibraryKit.h"
#include "Value.h"

#include <memory>
#include <string>

namespace foxhost {

class Platform {
public:
  virtual ~Platform() = default;
  virtual void Print(const std::string& text) = 0;
  // MESSAGEBOX: the button the user chose (IDOK 1, ...).
  virtual int ShowMessageBox(const std::string& text, int flags, const std::string& title) = 0;
  // Serves waiting messages once (DOEVENTS).
  virtual void DoEvents() = 0;
  // Serves messages for up to `milliseconds`; false when the user closed the main window.
  virtual bool WaitEvents(int milliseconds) = 0;
  // INKEY: a key code, or 0 after `seconds` (0 = do not wait).
  virtual int Inkey(double seconds) = 0;
  virtual void WaitWindow(const std::string& text, double timeoutSeconds) = 0;
  virtual std::shared_ptr<HostObject> CreateObject(const std::string& className) = 0;
  virtual intptr_t MainWindow() = 0;
  virtual intptr_t MainClientWindow() = 0;
  virtual intptr_t FindWindowByTitle(const std::string& title) = 0;

  // A loaded link library: its DispatchAPI, or null with `error` set.
  virtual void* LoadLink(const std::string& path, KitDispatchEntry* entry) = 0;
  virtual void FreeLink(void* module) = 0;
};

}  // namespace foxhost
