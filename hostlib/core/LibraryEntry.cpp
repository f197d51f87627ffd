// The load and unload routines, and the functions whose work is still to come.
#include "HostFunctions.h"
#include "KitLibrary.h"
#include "LibraryMessages.h"
#include "Results.h"

namespace tavik::hostlib {

void KIT_CALL LibraryLoad(KitParamBlock*) {
  LibraryState& state = State();
  if (state.active != 0) return;
  Link().RegisterDialogMessage();
  state.platformFlags = PlatformFlags(Link().VersionWord());
  const KitHostServices* host = kit::Host();
  KitValue version{};
  if (!host || host->Evaluate(&version, "VERSION(2)") != 0 || version.integer != 0) {
    if (host) host->Dialog(6, LibraryMessage(kMsgIncompatible), "OK");
    return;
  }
  ++state.active;
  state.showFlags = 0;
  state.memoWorkArea = -1;
  state.memoField.clear();
  state.variableMode = 0;
  state.linkMode = 0;
  Link().Connect();
}

void KIT_CALL LibraryUnload(KitParamBlock*) {
  LibraryState& state = State();
  if (state.active == 0) return;
  --state.active;
  Link().RestoreParents();
  Link().Disconnect();
}

// Attribute, event, data-transfer and dialog functions: their routines arrive with that work.
#define TAVIK_LATER(name) \
  void KIT_CALL name(KitParamBlock*) {}
TAVIK_LATER(IMGET) TAVIK_LATER(IMGETHW) TAVIK_LATER(IMSET) TAVIK_LATER(IMSETHW)
TAVIK_LATER(IMDCADV) TAVIK_LATER(IMMBOXADV) TAVIK_LATER(IMMDADV) TAVIK_LATER(IMMUADV)
TAVIK_LATER(IMMMADV) TAVIK_LATER(IMCADV) TAVIK_LATER(IMDROPADV) TAVIK_LATER(IMRECTADV)
TAVIK_LATER(IMLINK) TAVIK_LATER(IMUNLINK) TAVIK_LATER(IMREGCB) TAVIK_LATER(IMUNREGCB)
TAVIK_LATER(IMCAPTURE) TAVIK_LATER(IMPAUSECB) TAVIK_LATER(IMRESUMECB) TAVIK_LATER(IMQUEUE)
TAVIK_LATER(IMOPENDLG)
#undef TAVIK_LATER

}  // namespace tavik::hostlib
