#include "LibraryMessages.h"

namespace tavik::hostlib {

const char* LibraryMessage(int id) {
  switch (id) {
    case kMsgNoMainWindow: return "Unable to locate FoxPro main window!";
    case kMsgCannotStart:
      return "       Cannot start TAVIKW32.EXE!\n\nPlace TAVIKW32.EXE somewhere in your PATH,\n"
             "or start TAVIKW32.EXE manually using the RUN\nitem from the Program Manager's "
             "FILE menu.";
    case kMsgNoClient: return "Could not initialize TavikImage client!";
    case kMsgTwain: return "TWAIN functions are now in ACQLINK.FLL";
    case kMsgCaption: return "Tavik/FoxPro";
    case kMsgNoMemory: return "Memory allocation error, no memory available!";
    case kMsgIncompatible:
      return "Incompatible version of Tavik Images.\nTavik functions will not be available!";
    case kMsgNotAvailable: return "Tavik not available.";
    default: return "";
  }
}

}  // namespace tavik::hostlib
