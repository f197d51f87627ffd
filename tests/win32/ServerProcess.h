// Starts the real server in its own process for end-to-end tests, and stops it again.
#pragma once

#include <windows.h>

#include <string>

namespace tavik::test {

class ServerProcess {
public:
  // Starts TAVIKW32.exe from the test program's folder with `arguments` and waits until its
  // DDE service answers.
  explicit ServerProcess(const std::string& arguments = "");
  ~ServerProcess();
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  bool Started() const { return window_ != nullptr; }
  HWND Window() const { return window_; }
  DWORD ProcessId() const { return process_.dwProcessId; }
  DWORD ThreadId() const { return process_.dwThreadId; }

  // Closes the server window as a user would and returns the exit code; -1 when the server
  // did not end within the time and had to be killed.
  int Stop(DWORD milliseconds = 10000);

private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

// The folder of the running test program, with a trailing backslash.
std::string ProgramFolder();

}  // namespace tavik::test
