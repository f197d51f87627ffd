#include "ParentWindow.h"

#include <future>

namespace tavik::test {

ParentWindow::ParentWindow(int x, int y, int width, int height) {
  std::promise<HWND> made;
  auto ready = made.get_future();
  thread_ = std::thread([&made, this, x, y, width, height] {
    threadId_ = GetCurrentThreadId();
    HWND window = CreateWindowA("STATIC", "test parent", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, x, y,
                                width, height, nullptr, nullptr, nullptr, nullptr);
    made.set_value(window);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (window) DestroyWindow(window);
  });
  window_ = ready.get();
}

ParentWindow::~ParentWindow() {
  PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
  thread_.join();
}

}  // namespace tavik::test
