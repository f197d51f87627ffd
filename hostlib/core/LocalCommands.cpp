// Functions that work on host objects and variables, and the connection time-out.
#include "HostFunctions.h"
#include "KitLibrary.h"
#include "Results.h"
#include "ScanInts.h"

#include <string>

namespace tavik::hostlib {
namespace {

constexpr int32_t kObjectWindowOption = 16;

KitValue LogicalFalse() {
  KitValue v{};
  v.type = kKitLogical;
  return v;
}

}  // namespace

void KIT_CALL IMGETOBJWIN(KitParamBlock* p) {
  const Parameters params(p);
  const KitHostServices* host = kit::Host();
  KitValue object;
  if (!host || !params.Load(0, &object) || object.type != kKitObject) {
    ReturnInt(0);
    return;
  }
  const int32_t hostWindow = host->ObjectWindow(&object, kObjectWindowOption);
  const auto handle = reinterpret_cast<intptr_t>(hostWindow ? host->WindowHandle(hostWindow) : nullptr);
  ReturnInt(static_cast<int32_t>(handle));
}

void KIT_CALL IMCREOBJ(KitParamBlock* p) {
  KitValue result = LogicalFalse();
  std::string className;
  if (kit::Host() && Parameters(p).String(0, &className)) {
    const std::string expression = "CREATE('" + className + "')";
    if (kit::Host()->Evaluate(&result, expression.c_str()) != 0) result = LogicalFalse();
  }
  ReturnValue(result);
}

void KIT_CALL IMSETOP(KitParamBlock* p) {
  const Parameters params(p);
  const KitHostServices* host = kit::Host();
  KitValue object, value;
  std::string property;
  if (!host || !params.Load(0, &object) || object.type != kKitObject ||
      !params.String(1, &property) || !params.Load(2, &value)) {
    ReturnLogical(false);
    return;
  }
  const bool ok = host->SetProperty(&object, property.c_str(), &value) == 0;
  Parameters::Release(value, params.IsReference(2));
  ReturnLogical(ok);
}

void KIT_CALL IMGETOP(KitParamBlock* p) {
  const Parameters params(p);
  const KitHostServices* host = kit::Host();
  KitValue object, value = LogicalFalse();
  std::string property;
  if (host && params.Load(0, &object) && object.type == kKitObject &&
      params.String(1, &property)) {
    if (host->GetProperty(&object, property.c_str(), &value) != 0) value = LogicalFalse();
  }
  ReturnValue(value);
}

void KIT_CALL IMSCANINTS(KitParamBlock* p) {
  const Parameters params(p);
  const KitHostServices* host = kit::Host();
  std::string text;
  int32_t stored = 0;
  if (host && params.String(0, &text)) {
    IntScanner scanner(text);
    for (int i = 1; i < params.Count() && params.IsReference(i); ++i) {
      int32_t number;
      if (!scanner.Next(&number)) break;
      KitValue value{};
      value.type = kKitInteger;
      value.width = kHandleWidth;
      value.integer = number;
      if (host->Store(&p->p[i].locator, &value) != 0) break;
      ++stored;
    }
  }
  ReturnInt(stored);
}

void KIT_CALL IMDDETO(KitParamBlock* p) {
  const Parameters params(p);
  if (params.Count() == 0) {
    State().commandTimeout = 5000;
  } else {
    int32_t seconds;
    if (!params.Integer(0, &seconds)) {
      ReturnLogical(false);
      return;
    }
    // Negative seconds and products past 32 bits would wrap into nonsense waits.
    const int64_t ms = static_cast<int64_t>(seconds < 0 ? 0 : seconds) * 1000;
    State().commandTimeout = static_cast<uint32_t>(ms > UINT32_MAX / 4 ? UINT32_MAX / 4 : ms);
  }
  ReturnLogical(true);
}

}  // namespace tavik::hostlib
