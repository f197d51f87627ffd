// A DDE client for tests: one DDEML client instance, conversations by topic, and transactions
// that pump the message queue after each call (Wine drops every second back-to-back request
// otherwise).
#pragma once

#include <windows.h>
#include <ddeml.h>

#include <optional>
#include <string>
#include <vector>

namespace tavik::test {

class DdeTestClient {
public:
  DdeTestClient();
  ~DdeTestClient();
  DdeTestClient(const DdeTestClient&) = delete;
  DdeTestClient& operator=(const DdeTestClient&) = delete;

  // Connects on `topic` of service TAVIKW32; false when refused. Replaces any earlier one.
  bool Connect(const char* topic);
  void Disconnect();

  // The answer text, or nothing when the server answered 0. Requests are read-only, so a
  // request refused with DMLERR_NOTPROCESSED by Wine's lost-message fault may be retried.
  std::optional<std::string> Request(const std::string& item, bool retry = true);
  // True when the server acknowledged the poke.
  bool Poke(const std::string& item, const std::string& text);
  bool PokeData(const std::string& item, const std::vector<unsigned char>& bytes, UINT format);
  bool AdviseStart(const std::string& item);
  bool AdviseStop(const std::string& item);

  // Notifications received on advise links: item and data text, oldest first.
  struct Notification {
    std::string item;
    std::string text;
  };
  std::vector<Notification> TakeNotifications();
  // Pumps messages until a notification arrives or `milliseconds` pass.
  bool WaitForNotification(DWORD milliseconds);

  UINT LastError() const;

private:
  static HDDEDATA CALLBACK Callback(UINT type, UINT format, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR);
  HDDEDATA Transact(const std::string& item, UINT format, UINT type, const void* data, DWORD size,
                    DWORD* status = nullptr);

  DWORD instance_ = 0;
  HCONV conversation_ = nullptr;
};

// Serves the thread's waiting messages.
void PumpMessages();
// Serves messages until the queue has stayed empty for a few milliseconds.
void SettleQueue();
// Pumps messages for `milliseconds`.
void PumpFor(DWORD milliseconds);

}  // namespace tavik::test
