#include "KitLibrary.h"

#include <array>

namespace tavik::kit {
namespace {

const KitHostServices* g_host = nullptr;

// The host calls an idle routine back by the id its ActivateIdle gave; ids are the host's.
struct IdleSlot {
  int32_t id = 0;
  KitIdleRoutine routine = nullptr;
};
std::array<IdleSlot, 8> g_idle{};

}  // namespace

const KitHostServices* Host() { return g_host; }
void SetHost(const KitHostServices* host) { g_host = host; }

int32_t ActivateIdle(KitIdleRoutine routine) {
  if (!g_host || !routine) return 0;
  for (IdleSlot& slot : g_idle) {
    if (slot.id != 0) continue;
    const int32_t id = g_host->ActivateIdle(routine);
    if (id == 0) return 0;
    slot = {id, routine};
    return id;
  }
  return 0;
}

bool RunIdle(int32_t id) {
  for (const IdleSlot& slot : g_idle) {
    if (slot.id == id && id != 0) {
      slot.routine();
      return true;
    }
  }
  return false;
}

void DeActivateIdle(int32_t id) {
  if (!g_host || id == 0) return;
  for (IdleSlot& slot : g_idle) {
    if (slot.id == id) slot = {};
  }
  g_host->DeActivateIdle(id);
}

}  // namespace tavik::kit

extern "C" intptr_t KIT_CALL DispatchAPI(int32_t request, void* argument) {
  using namespace tavik::kit;
  switch (request) {
    case kKitGetTable: {
      const auto* host = static_cast<const KitHostServices*>(argument);
      // A host built against an older, shorter service table would have us call past its end.
      if (!host || host->size < sizeof(KitHostServices)) return 0;
      SetHost(host);
      return reinterpret_cast<intptr_t>(&kitLibraryTable);
    }
    case kKitCall: {
      const auto* call = static_cast<const KitCallArgs*>(argument);
      if (!call || !call->parameters || call->index < 0 || call->index >= kitLibraryTable.count)
        return -1;
      if (call->parameters->count < 0 || call->parameters->count > kKitMaxParameters) return -1;
      kitLibraryTable.functions[call->index].routine(call->parameters);
      return 0;
    }
    case kKitIdle: {
      const auto id = static_cast<int32_t>(reinterpret_cast<intptr_t>(argument));
      return RunIdle(id) ? 0 : -1;
    }
    default:
      return -1;
  }
}
