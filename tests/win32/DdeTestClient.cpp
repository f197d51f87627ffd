#include "DdeTestClient.h"

#include <cstring>

namespace tavik::test {
namespace {

// Generous: CI machines run several Wine processes on two cores.
constexpr DWORD kTimeout = 15000;

// DDEML calls back on the thread of its instance; tests use one client at a time.
std::vector<DdeTestClient::Notification>* gNotifications = nullptr;
DWORD gInstance = 0;

std::string StringOf(HSZ handle) {
  char text[512] = {};
  DdeQueryStringA(gInstance, handle, text, sizeof text, CP_WINANSI);
  return text;
}

}  // namespace

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Late DDE messages of a finished transaction confuse the next one under Wine: serve the
// queue until it has stayed empty for a moment.
void SettleQueue() {
  int quiet = 0;
  while (quiet < 3) {
    MSG msg;
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      quiet = 0;
    } else {
      Sleep(2);
      ++quiet;
    }
  }
}

void PumpFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    PumpMessages();
    Sleep(10);
  } while (GetTickCount() - start < milliseconds);
}

DdeTestClient::DdeTestClient() {
  DdeInitializeA(&instance_, Callback, APPCMD_CLIENTONLY, 0);
  gInstance = instance_;
  gNotifications = new std::vector<Notification>;
}

DdeTestClient::~DdeTestClient() {
  Disconnect();
  if (instance_) DdeUninitialize(instance_);
  delete gNotifications;
  gNotifications = nullptr;
  gInstance = 0;
}

HDDEDATA CALLBACK DdeTestClient::Callback(UINT type, UINT, HCONV, HSZ, HSZ item, HDDEDATA data,
                                          ULONG_PTR, ULONG_PTR) {
  if (type == XTYP_ADVDATA && gNotifications) {
    char text[1024] = {};
    DdeGetData(data, reinterpret_cast<LPBYTE>(text), sizeof text - 1, 0);
    gNotifications->push_back({StringOf(item), text});
    return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(DDE_FACK));
  }
  return nullptr;
}

bool DdeTestClient::Connect(const char* topic) {
  Disconnect();
  HSZ service = DdeCreateStringHandleA(instance_, "TAVIKW32", CP_WINANSI);
  HSZ topicHandle = DdeCreateStringHandleA(instance_, topic, CP_WINANSI);
  conversation_ = DdeConnect(instance_, service, topicHandle, nullptr);
  DdeFreeStringHandle(instance_, service);
  DdeFreeStringHandle(instance_, topicHandle);
  PumpMessages();
  return conversation_ != nullptr;
}

void DdeTestClient::Disconnect() {
  if (conversation_) DdeDisconnect(conversation_);
  conversation_ = nullptr;
  PumpMessages();
}

HDDEDATA DdeTestClient::Transact(const std::string& item, UINT format, UINT type, const void* data,
                                 DWORD size, DWORD* status) {
  if (!conversation_) return nullptr;
  HSZ itemHandle = DdeCreateStringHandleA(instance_, item.c_str(), CP_WINANSI);
  DWORD result = 0;
  HDDEDATA answer =
      DdeClientTransaction(static_cast<LPBYTE>(const_cast<void*>(data)), size, conversation_,
                           itemHandle, format, type, kTimeout, &result);
  DdeFreeStringHandle(instance_, itemHandle);
  SettleQueue();
  if (status) *status = result;
  return answer;
}

std::optional<std::string> DdeTestClient::Request(const std::string& item, bool retry) {
  for (int attempt = 0; attempt < (retry ? 2 : 1); ++attempt) {
    HDDEDATA answer = Transact(item, CF_TEXT, XTYP_REQUEST, nullptr, 0);
    if (answer) {
      std::string text(DdeGetData(answer, nullptr, 0, 0), '\0');
      DdeGetData(answer, reinterpret_cast<LPBYTE>(text.data()), static_cast<DWORD>(text.size()), 0);
      DdeFreeDataHandle(answer);
      text.resize(std::strlen(text.c_str()));
      return text;
    }
    if (LastError() != DMLERR_NOTPROCESSED) break;
  }
  return std::nullopt;
}

// Wine answers every completed poke with a non-null handle; only the status word tells
// whether the server acknowledged it.
bool DdeTestClient::Poke(const std::string& item, const std::string& text) {
  DWORD status = 0;
  return Transact(item, CF_TEXT, XTYP_POKE, text.c_str(), static_cast<DWORD>(text.size() + 1),
                  &status) != nullptr &&
         (status & DDE_FACK) != 0;
}

bool DdeTestClient::PokeData(const std::string& item, const std::vector<unsigned char>& bytes,
                             UINT format) {
  DWORD status = 0;
  return Transact(item, format, XTYP_POKE, bytes.data(), static_cast<DWORD>(bytes.size()),
                  &status) != nullptr &&
         (status & DDE_FACK) != 0;
}

bool DdeTestClient::AdviseStart(const std::string& item) {
  return Transact(item, CF_TEXT, XTYP_ADVSTART, nullptr, 0) != nullptr;
}

bool DdeTestClient::AdviseStop(const std::string& item) {
  return Transact(item, CF_TEXT, XTYP_ADVSTOP, nullptr, 0) != nullptr;
}

std::vector<DdeTestClient::Notification> DdeTestClient::TakeNotifications() {
  std::vector<Notification> taken;
  taken.swap(*gNotifications);
  return taken;
}

bool DdeTestClient::WaitForNotification(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (gNotifications->empty() && GetTickCount() - start < milliseconds) {
    PumpMessages();
    Sleep(10);
  }
  return !gNotifications->empty();
}

UINT DdeTestClient::LastError() const { return DdeGetLastError(instance_); }

}  // namespace tavik::test
