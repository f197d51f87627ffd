// The server's DDE instance, its names, and the notifications it posts to advise links.
#pragma once

#include <windows.h>
#include <ddeml.h>

#include <cstdint>

namespace tavik {

inline constexpr UINT kImageDataFormat = 128;  // clipboard format of image file bytes

struct DdeNames {
  HSZ service = nullptr;
  HSZ image = nullptr;
  HSZ graph = nullptr;
  HSZ mmedia = nullptr;
  HSZ cmd = nullptr;
  HSZ showData = nullptr;
  HSZ showBmData = nullptr;
  HSZ printData = nullptr;
  HSZ convertData = nullptr;
};

bool InitializeDde();
void UninitializeDde();
DWORD DdeInstance();
const DdeNames& Names();

// Makes and keeps the string handles, then registers the service name.
void RegisterDdeNames();
// Unregisters the service name, then frees the string handles.
void UnregisterDdeNames();

HDDEDATA CALLBACK DdeCallback(UINT type, UINT format, HCONV conversation, HSZ hsz1, HSZ hsz2,
                              HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);

// Posts a notification of `window` on each topic whose notification word has `bit`.
void PostWindowNotification(HWND window, uint16_t bit, const char* item, const char* text);
// Posts a notification on one topic whatever the window's notification words say.
void PostNotificationOnTopic(bool graphTopic, const char* item, const char* text);
// Posts a notification on a fixed item (CAPTURE, TWSRC, TWACQ): topic IMAGE only.
void PostFixedNotification(const char* item, const char* text);

// Marks the time a transaction is being served: notifications raised meanwhile are posted
// once it has been answered.
struct TransactionScope {
  TransactionScope();
  ~TransactionScope();
  TransactionScope(const TransactionScope&) = delete;
  TransactionScope& operator=(const TransactionScope&) = delete;
};
// Posts the notifications held back during a transaction; false for any other message.
bool PostPendingNotifications(UINT message);

// Whether the client asked to be told the capture file name (advise on CAPTURE).
bool CaptureAdviseActive();

}  // namespace tavik
