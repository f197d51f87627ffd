#include "DdeServer.h"

#include <cstring>

#include "DdeTransactions.h"
#include "TavikWindow.h"

namespace tavik {
namespace {

DWORD gInstance = 0;
DdeNames gNames;

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
  if (!onImage && !onGraph) return;
  // DDEML asks for the data with advise requests during each post; they answer the buffer.
  HSZ itemHandle = DdeCreateStringHandleA(gInstance, item, CP_WINANSI);
  SetAdviseText(text);
  if (onImage) DdePostAdvise(gInstance, gNames.image, itemHandle);
  if (onGraph) DdePostAdvise(gInstance, gNames.graph, itemHandle);
  if (itemHandle) DdeFreeStringHandle(gInstance, itemHandle);
}

void PostFixedNotification(const char* item, const char* text) {
  HSZ itemHandle = DdeCreateStringHandleA(gInstance, item, CP_WINANSI);
  SetAdviseText(text);
  DdePostAdvise(gInstance, gNames.image, itemHandle);
  if (itemHandle) DdeFreeStringHandle(gInstance, itemHandle);
}

}  // namespace tavik
