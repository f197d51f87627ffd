// The four create functions: requests whose answer is the new window's handle.
#include "HostFunctions.h"
#include "Results.h"

#include <string>

namespace tavik::hostlib {
namespace {

constexpr int32_t kHostClientParent = -1;
constexpr int32_t kInactiveWidth = 2;

// Sends "op [name] values..." with the parent at `parentIndex` (or none) mapped from -1 to the
// host main client window. The new handle, or 0; `parent` gets the parent that was sent.
int32_t CreateRequest(int32_t op, const Parameters& params, int parentIndex, int32_t* parent) {
  std::string name;
  if (!params.String(0, &name)) return 0;
  CommandBuffer& buffer = State().command;
  buffer.Reset();
  buffer.AppendInt(op);
  buffer.AppendString(" [");
  buffer.AppendString(name);
  buffer.AppendString("]");
  for (int i = 1; i < params.Count(); ++i) {
    std::string text;
    int32_t number;
    if (params.String(i, &text)) {
      buffer.AppendString(" ");
      buffer.AppendString(text);
    } else if (params.Integer(i, &number)) {
      if (i == parentIndex) {
        if (number == kHostClientParent) number = State().hostMainClientWindow;
        if (parent) *parent = number;
      }
      buffer.AppendArg(number);
    }
  }
  buffer.AppendChar(0);
  if (!RequestCommand(State().commandTimeout)) return 0;
  return AnswerNumber(buffer.Text());
}

// Runs one create function; false when the library is inactive (its result is then set).
bool Active() {
  if (State().active) return true;
  ReturnInt(0, kInactiveWidth);
  return false;
}

}  // namespace

void KIT_CALL IMCREATEF(KitParamBlock* p) {
  if (Active()) ReturnInt(CreateRequest(26, Parameters(p), 5, nullptr));
}

void KIT_CALL IMCREATEO(KitParamBlock* p) {
  if (Active()) ReturnInt(CreateRequest(28, Parameters(p), 5, nullptr));
}

void KIT_CALL IMCREATEE(KitParamBlock* p) {
  if (!Active()) return;
  const int32_t window = CreateRequest(27, Parameters(p), -1, nullptr);
  if (window > 0) Link().Advise(AdviseStartCode(kEventDestroy), window);
  ReturnInt(window);
}

void KIT_CALL IMCREATES(KitParamBlock* p) {
  if (!Active()) return;
  int32_t parent = 0;
  const int32_t window = CreateRequest(71, Parameters(p), 1, &parent);
  if (window > 0 && parent != 0) Link().WatchParent(window, parent);
  ReturnInt(window);
}

}  // namespace tavik::hostlib
