#include "DdeServer.h"

#include <cstring>
#include <string>
#include <vector>

#include "DdeTransactions.h"
#include "ServerState.h"
#include "TavikWindow.h"

namespace tavik {
namespace {

DWORD gInstance = 0;
DdeNames gNames;

// A notification raised while a transaction is being served waits until that transaction has
// been answered: a client blocked in a synchronous transaction that receives advise data first
// sees its own transaction fail under Wine's DDEML, although the server carried it out.
struct PendingNotification {
  std::string item;
  std::string text;
  bool onImage;
  bool onGraph;
};
std::vector<PendingNotification> gPending;
int gTransactionDepth = 0;

UINT FlushMessage() {
  static const UINT message = RegisterWindowMessageA("TavikPostPendingNotifications");
  return message;
}

void PostNow(const std::string& item, const std::string& text, bool onImage, bool onGraph) {
  // DDEML asks for the data with advise requests during each post; they answer the buffer.
  HSZ itemHandle = DdeCreateStringHandleA(gInstance, item.c_str(), CP_WINANSI);
  SetAdviseText(text.c_str());
  if (onImage) DdePostAdvise(gInstance, gNames.image, itemHandle);
  if (onGraph) DdePostAdvise(gInstance, gNames.graph, itemHandle);
  if (itemHandle) DdeFreeStringHandle(gInstance, itemHandle);
}

void Post(const char* item, const char* text, bool onImage, bool onGraph) {
  if (gTransactionDepth == 0) {
    PostNow(item, text, onImage, onGraph);
    return;
  }
  if (gPending.empty()) PostMessageA(Server().window, FlushMessage(), 0, 0);
  gPending.push_back({item, text, onImage, onGraph});
}

HSZ KeptString(const char* text) {
  HSZ handle = DdeCreateStringHandleA(gInstance, text, CP_WINANSI);
  if (handle) DdeKeepStringHandle(gInstance, handle);
  return handle;
}

void FreeString(HSZ& handle) {
  if (handle) DdeFreeStringHandle(gInstance, handle);
  handle = nullptr;
}

}  // namespace

bool InitializeDde() {
  const UINT result = DdeInitializeA(&gInstance, DdeCallback,
                                     APPCLASS_STANDARD | CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS,
                                     0);
  if (result != DMLERR_NO_ERROR) gInstance = 0;
  return gInstance != 0;
}

void UninitializeDde() {
  if (gInstance) DdeUninitialize(gInstance);
  gInstance = 0;
}

DWORD DdeInstance() { return gInstance; }
const DdeNames& Names() { return gNames; }

void RegisterDdeNames() {
  gNames.service = KeptString("TAVIKW32");
  gNames.image = KeptString("IMAGE");
  gNames.graph = KeptString("GRAPH");
  gNames.mmedia = KeptString("MMEDIA");
  gNames.cmd = KeptString("CMD");
  gNames.showData = KeptString("SHOWDATA");
  gNames.showBmData = KeptString("SHOWBMDATA");
  gNames.printData = KeptString("PRINTDATA");
  gNames.convertData = KeptString("CONVERTDATA");
  DdeNameService(gInstance, gNames.service, nullptr, DNS_REGISTER);
}

void UnregisterDdeNames() {
  if (gNames.service) DdeNameService(gInstance, gNames.service, nullptr, DNS_UNREGISTER);
  for (HSZ* handle : {&gNames.service, &gNames.image, &gNames.graph, &gNames.mmedia, &gNames.cmd,
                      &gNames.showData, &gNames.showBmData, &gNames.printData, &gNames.convertData})
    FreeString(*handle);
}

void PostWindowNotification(HWND window, uint16_t bit, const char* item, const char* text) {
  TavikWindow* record = LockTavikWindow(window);
  if (!record) return;
  const bool onImage = (record->imageNotify & bit) != 0;
  const bool onGraph = (record->graphNotify & bit) != 0;
  if (onImage || onGraph) Post(item, text, onImage, onGraph);
}

void PostNotificationOnTopic(bool graphTopic, const char* item, const char* text) {
  Post(item, text, !graphTopic, graphTopic);
}

void PostFixedNotification(const char* item, const char* text) { Post(item, text, true, false); }

bool PostPendingNotifications(UINT message) {
  if (message != FlushMessage()) return false;
  std::vector<PendingNotification> pending;
  pending.swap(gPending);
  for (const auto& p : pending) PostNow(p.item, p.text, p.onImage, p.onGraph);
  return true;
}

TransactionScope::TransactionScope() { ++gTransactionDepth; }
TransactionScope::~TransactionScope() { --gTransactionDepth; }

}  // namespace tavik
