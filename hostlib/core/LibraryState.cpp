#include "LibraryState.h"

namespace tavik::hostlib {
namespace {

// Until a link is installed every transaction fails, as on an unconnected library.
class NoLink final : public ServerLink {
public:
  void Connect() override {}
  void Disconnect() override {}
  bool Connected() const override { return false; }
  bool Poke(const char*) override { return false; }
  bool Request(char*, std::size_t, uint32_t) override { return false; }
  bool Advise(int, int32_t) override { return false; }
  void ShowMessageBox(const char*, const char*) override {}
  intptr_t SendWindowMessage(int32_t, uint32_t, uintptr_t, intptr_t) override { return 0; }
  void MoveAndRepaint(int32_t, int32_t, int32_t, int32_t, int32_t) override {}
  void WatchParent(int32_t, int32_t) override {}
  void RestoreParents() override {}
  void RightMenu(int32_t, bool) override {}
  uint32_t VersionWord() override { return 4; }
  void RegisterDialogMessage() override {}
};

NoLink g_noLink;
ServerLink* g_link = &g_noLink;
LibraryState g_state;

}  // namespace

const char* EventName(int event) {
  static const char* const kNames[kEventCount] = {
      "SIZE", "DBLCLICK", "MOUSEBOX", "MOUSEDOWN", "DRAGDROP", "MOUSELINE",
      "DESTROY", "MOUSEUP", "MOUSEMOVE", "CLICK", "MOUSERECT"};
  return event >= 0 && event < kEventCount ? kNames[event] : nullptr;
}

LibraryState& State() { return g_state; }
ServerLink& Link() { return *g_link; }
void SetLink(ServerLink* link) { g_link = link ? link : &g_noLink; }

uint8_t PlatformFlags(uint32_t versionWord) {
  const uint32_t major = versionWord & 0xFF;
  const bool notNT = (versionWord & 0x80000000u) != 0;
  uint8_t flags = 0;
  if (notNT && major < 4) flags |= kWin32s;
  if (major >= 4) flags |= kVersion4;
  if ((flags & kWin32s) && !(flags & kVersion4)) flags |= kWin32sOld;
  if (!notNT) flags |= kWindowsNT;
  return flags;
}

}  // namespace tavik::hostlib
