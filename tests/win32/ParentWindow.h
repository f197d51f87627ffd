// A visible top-level window owned by a thread of its own that keeps pumping messages, to
// parent the server's child windows. The server's CreateWindow sends messages to a parent in
// another process; a parent owned by the thread that waits in a synchronous DDE request would
// not answer them until the request timed out.
#pragma once

#include <windows.h>

#include <thread>

namespace tavik::test {

class ParentWindow {
public:
  ParentWindow(int x = 50, int y = 50, int width = 400, int height = 300);
  ~ParentWindow();
  ParentWindow(const ParentWindow&) = delete;
  ParentWindow& operator=(const ParentWindow&) = delete;

  HWND Handle() const { return window_; }

private:
  std::thread thread_;
  HWND window_ = nullptr;
  DWORD threadId_ = 0;
};

}  // namespace tavik::test
