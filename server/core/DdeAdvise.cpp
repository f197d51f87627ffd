#include <cstdio>
#include <cstring>

#include "DdeServer.h"
#include "DdeTransactions.h"
#include "ServerState.h"
#include "TavikWindow.h"

namespace tavik {
namespace {

char gItemBuffer[kDdeTextBufferSize];
char gAdviseBuffer[kAdviseBufferSize];
bool gCaptureAdvise = false;

struct NotifyWord {
  const char* word;
  uint16_t bit;
};

constexpr NotifyWord kNotifyWords[] = {
    {"SIZE", kNotifySize},           {"DBLCLICK", kNotifyDblClick},
    {"MOUSEBOX", kNotifyMouseBox},   {"MOUSEDOWN", kNotifyMouseDown},
    {"DRAGDROP", kNotifyDragDrop},   {"MOUSELINE", kNotifyMouseLine},
    {"MOUSEUP", kNotifyMouseUp},     {"MOUSEMOVE", kNotifyMouseMove},
    {"CLICK", kNotifyClick},         {"MOUSERECT", kNotifyMouseRect},
    {"DESTROY", kNotifyDestroy},
};

uint16_t NotifyBitOf(const char* word) {
  for (const auto& entry : kNotifyWords)
    if (std::strcmp(entry.word, word) == 0) return entry.bit;
  return 0;
}

HDDEDATA Answer(bool yes) {
  return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(yes ? TRUE : FALSE));
}

// Advise links carry notifications of image windows; MMEDIA conversations have none.
bool IsAdviseTopic(HSZ topic, bool& graph) {
  const DdeNames& names = Names();
  graph = DdeCmpStringHandles(topic, names.graph) == 0;
  return graph || DdeCmpStringHandles(topic, names.image) == 0;
}

HDDEDATA ChangeAdvise(UINT format, HSZ topic, HSZ item, bool start) {
  bool graph = false;
  if (format != CF_TEXT || !IsAdviseTopic(topic, graph)) return Answer(false);
  if (!QueryItemText(item, gItemBuffer, sizeof gItemBuffer)) return Answer(false);

  if (std::strcmp(gItemBuffer, "CAPTURE") == 0) {
    gCaptureAdvise = start;
    if (start) PostMessageA(Server().window, kMsgStartCapture, 0, 0);
    return Answer(true);
  }
  if (std::strcmp(gItemBuffer, "TWSRC") == 0 || std::strcmp(gItemBuffer, "TWACQ") == 0)
    return Answer(true);

  // "WORD handle": the word, white space, the window handle in decimal.
  char word[kDdeTextBufferSize] = {};
  long long handle = 0;
  if (std::sscanf(gItemBuffer, "%255s %lld", word, &handle) != 2) return Answer(false);
  const HWND window = HandleFromNumber(handle);
  if (!IsInWindowList(window)) return Answer(std::strcmp(word, "DESTROY") == 0);

  TavikWindow* record = LockTavikWindow(window);
  if (!record) return Answer(false);
  const uint16_t bit = NotifyBitOf(word);
  if (!bit) return Answer(false);
  uint16_t& notify = record->NotifyWord(graph);
  if (start)
    notify |= bit;
  else
    notify &= static_cast<uint16_t>(~bit);
  return Answer(true);
}

}  // namespace

HDDEDATA OnAdviseStart(UINT format, HSZ topic, HSZ item) { return ChangeAdvise(format, topic, item, true); }
HDDEDATA OnAdviseStop(UINT format, HSZ topic, HSZ item) { return ChangeAdvise(format, topic, item, false); }

HDDEDATA OnAdviseRequest(UINT format, HSZ item) {
  if (format != CF_TEXT) return nullptr;
  return TextDataHandle(item, gAdviseBuffer);
}

void SetAdviseText(const char* text) {
  std::strncpy(gAdviseBuffer, text, sizeof gAdviseBuffer - 1);
  gAdviseBuffer[sizeof gAdviseBuffer - 1] = '\0';
}

bool CaptureAdviseActive() { return gCaptureAdvise; }

}  // namespace tavik
