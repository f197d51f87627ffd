// foxhost on Windows: the main window with its client area (_SCREEN), forms, waiting while
// serving messages, message boxes, and loading link libraries.
#pragma once

#include "Interpreter.h"
#include "Platform.h"

#include <windows.h>

namespace foxhost {

class WinPlatform : public Platform {
public:
  WinPlatform();
  ~WinPlatform() override;

  void SetInterpreter(Interpreter* interpreter) { interpreter_ = interpreter; }
  // Dialogs print "dialog: caption: text" and answer OK instead of waiting for a user.
  void SetPrintDialogs(bool on) { printDialogs_ = on; }

  void Print(const std::string& text) override;
  int ShowMessageBox(const std::string& text, int flags, const std::string& title) override;
  void DoEvents() override;
  bool WaitEvents(int milliseconds) override;
  int Inkey(double seconds) override;
  void WaitWindow(const std::string& text, double timeoutSeconds) override;
  std::shared_ptr<HostObject> CreateObject(const std::string& className) override;
  intptr_t MainWindow() override { return reinterpret_cast<intptr_t>(main_); }
  intptr_t MainClientWindow() override { return reinterpret_cast<intptr_t>(client_); }
  intptr_t FindWindowByTitle(const std::string& title) override;
  void* LoadLink(const std::string& path, KitDispatchEntry* entry) override;
  void FreeLink(void* module) override;

  HWND Main() const { return main_; }
  bool Closed() const { return closed_; }

private:
  static LRESULT CALLBACK MainProc(HWND, UINT, WPARAM, LPARAM);
  bool Pump();  // false once the main window has been closed

  HWND main_ = nullptr;
  HWND client_ = nullptr;
  bool closed_ = false;
  bool printDialogs_ = false;
  Interpreter* interpreter_ = nullptr;
  std::shared_ptr<HostObject> screen_;
};

}  // namespace foxhost
