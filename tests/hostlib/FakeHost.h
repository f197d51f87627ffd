// A host for native tests: memory handles, variables by locator, results and a scripted
// expression service, behind the kit's service table; and a link that records what the
// library sends.
#pragma once

#include "LibraryKit.h"
#include "LibraryState.h"

#include <map>
#include <string>
#include <vector>

namespace tavik::test {

struct FakeHost {
  FakeHost();
  ~FakeHost();

  KitHandle NewString(const std::string& text);
  std::string StringOf(KitHandle handle) const;

  // The last result set by the library; type 0 when none.
  KitValue result{};
  int32_t resultWidth = 0;
  bool hasResult = false;
  std::string ResultText() const;

  // Variables addressed by their name index.
  std::map<int32_t, KitValue> variables;
  // Answers of the expression service; a missing expression fails.
  std::map<std::string, KitValue> expressions;
  std::vector<std::string> dialogs;
  std::vector<std::string> evaluated;
  std::map<KitHandle, std::vector<char>> handles;
  KitHandle nextHandle = 1;
  bool allocFails = false;
  int32_t objectWindow = 0;

  KitHostServices services{};
  static FakeHost* current;
};

class RecordingLink : public hostlib::ServerLink {
public:
  void Connect() override { ++connects; }
  void Disconnect() override { ++disconnects; }
  bool Connected() const override { return true; }
  bool Poke(const char* text) override;
  bool Request(char* buffer, std::size_t capacity, uint32_t timeout) override;
  bool Advise(int code, int32_t window) override;
  void ShowMessageBox(const char* text, const char* caption) override;
  intptr_t SendWindowMessage(int32_t window, uint32_t message, uintptr_t wParam,
                             intptr_t lParam) override;
  void MoveAndRepaint(int32_t, int32_t, int32_t, int32_t, int32_t) override;
  void WatchParent(int32_t child, int32_t parent) override;
  void RestoreParents() override {}
  void RightMenu(int32_t window, bool win32s) override;
  uint32_t VersionWord() override { return 0x0A; }
  void RegisterDialogMessage() override {}

  std::vector<std::string> sent;          // "poke:...", "request:...", "advise:..." and the like
  std::map<std::string, std::string> answers;  // request text -> answer
  bool pokeFails = false;
  std::vector<uint32_t> requestTimeouts;
  int connects = 0, disconnects = 0;
};

// Parameters by value or by reference, in a block the routines take.
struct Arg {
  KitParameter p{};
};
Arg S(const std::string& text);
Arg I(int32_t value);
Arg N(double value);
Arg L(bool value);
Arg Obj(int32_t reference);
Arg Ref(int32_t nameIndex);
KitParamBlock Block(const std::vector<Arg>& args);

}  // namespace tavik::test
