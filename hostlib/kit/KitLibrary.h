// The library side of the kit: DispatchAPI, the host's services, and the idle routine hand-over.
// A library defines `kitLibraryTable`; the kit's DispatchAPI hands it to the host.
#pragma once

#include "LibraryKit.h"

extern "C" {
extern const KitTable kitLibraryTable;
#ifdef _WIN32
__declspec(dllexport)
#endif
intptr_t KIT_CALL DispatchAPI(int32_t request, void* argument);
}

namespace tavik::kit {

// The services of the host that loaded the library; null before it asked for the table.
const KitHostServices* Host();
// Tests put their fake host in place with this.
void SetHost(const KitHostServices* host);

// Registers `routine` with the host's idle service; the id, or 0 when the host refused.
int32_t ActivateIdle(KitIdleRoutine routine);
void DeActivateIdle(int32_t id);
// Runs the idle routine registered under `id`; false for an unknown id.
bool RunIdle(int32_t id);

}  // namespace tavik::kit
