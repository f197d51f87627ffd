// The library's DDE client on a thread of its own. The host's thread waits for each
// transaction while serving the messages sent to its windows: the server's CreateWindow for a
// child of a host window, and ShowWindow on one, send such messages, and a thread blocked in a
// synchronous transaction would not answer them until the transaction timed out.
#pragma once

#include <windows.h>
#include <ddeml.h>

#include <cstddef>
#include <cstdint>
#include <functional>

namespace tavik::hostlib {

class DdeThread {
public:
  // Starts the thread and its client-only DDE instance; false when DDEML refused.
  bool Start(HWND notifyWindow, UINT notifyMessage);
  void Stop();
  bool Running() const { return thread_ != nullptr; }

  bool Connect();
  bool Connected() const { return conversation_ != nullptr; }
  bool Poke(const char* text, uint32_t timeout);
  bool Request(char* buffer, std::size_t capacity, uint32_t timeout);
  bool Advise(const char* item, bool start, uint32_t timeout);

private:
  // Runs `job` on the DDE thread while this thread serves its sent messages.
  bool Run(const std::function<bool()>& job);
  static DWORD WINAPI ThreadMain(void* self);
  static HDDEDATA CALLBACK Callback(UINT type, UINT format, HCONV conversation, HSZ topic,
                                    HSZ item, HDDEDATA data, ULONG_PTR, ULONG_PTR);
  HDDEDATA Transact(const char* item, UINT type, const void* data, DWORD size, uint32_t timeout,
                    DWORD* status);

  HANDLE thread_ = nullptr;
  DWORD threadId_ = 0;
  HANDLE ready_ = nullptr;
  DWORD instance_ = 0;
  HCONV volatile conversation_ = nullptr;
  HWND notifyWindow_ = nullptr;
  UINT notifyMessage_ = 0;
};

}  // namespace tavik::hostlib
