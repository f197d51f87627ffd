#include "FakeHost.h"

#include "KitLibrary.h"

#include <cstring>

namespace tavik::test {

FakeHost* FakeHost::current = nullptr;

namespace {

FakeHost& H() { return *FakeHost::current; }

void KIT_CALL RetInt(int32_t v, int32_t width) {
  H().result = KitValue{};
  H().result.type = kKitInteger;
  H().result.integer = v;
  H().resultWidth = width;
  H().hasResult = true;
}
void KIT_CALL RetLogical(int32_t v) {
  H().result = KitValue{};
  H().result.type = kKitLogical;
  H().result.integer = v;
  H().hasResult = true;
}
void KIT_CALL RetValue(const KitValue* v) {
  H().result = *v;
  H().hasResult = true;
}
int32_t KIT_CALL Load(const KitLocator* where, KitValue* value) {
  auto it = H().variables.find(where->nameIndex);
  if (it == H().variables.end()) return -1;
  *value = it->second;
  // A loaded character value comes in a handle of its own, as the kit says.
  if (value->type == kKitCharacter)
    value->handle = H().NewString(H().StringOf(it->second.handle));
  return 0;
}
int32_t KIT_CALL Store(const KitLocator* where, const KitValue* value) {
  H().variables[where->nameIndex] = *value;
  return 0;
}
int32_t KIT_CALL Evaluate(KitValue* result, const char* expression) {
  H().evaluated.push_back(expression);
  auto it = H().expressions.find(expression);
  if (it == H().expressions.end()) return 11;
  *result = it->second;
  return 0;
}
int32_t KIT_CALL Execute(const char*) { return 0; }
int32_t KIT_CALL Dialog(int32_t scheme, const char* text, const char* buttons) {
  H().dialogs.push_back(std::to_string(scheme) + "|" + text + "|" + buttons);
  return 1;
}
KitHandle KIT_CALL AllocHand(uint32_t size) {
  if (H().allocFails) return 0;
  const KitHandle h = H().nextHandle++;
  H().handles[h].assign(size, 0);
  return h;
}
void KIT_CALL FreeHand(KitHandle h) { H().handles.erase(h); }
void* KIT_CALL HandToPtr(KitHandle h) {
  auto it = H().handles.find(h);
  return it == H().handles.end() ? nullptr : it->second.data();
}
void KIT_CALL Nop(KitHandle) {}
int32_t KIT_CALL SetHandSize(KitHandle h, uint32_t size) {
  auto it = H().handles.find(h);
  if (it == H().handles.end()) return 0;
  it->second.resize(size);
  return 1;
}
uint32_t KIT_CALL GetHandSize(KitHandle h) {
  auto it = H().handles.find(h);
  return it == H().handles.end() ? 0 : static_cast<uint32_t>(it->second.size());
}
int32_t KIT_CALL FOpen(const char*, int32_t) { return -1; }
int32_t KIT_CALL FRead(int32_t, void*, int32_t) { return 0; }
int32_t KIT_CALL FSeek(int32_t, int32_t, int32_t) { return -1; }
int32_t KIT_CALL FClose(int32_t) { return 0; }
int32_t KIT_CALL MinusOne(int32_t) { return -1; }
int32_t KIT_CALL NameTableIndex(const char*) { return -1; }
int32_t KIT_CALL FindVar(int32_t, int32_t, KitLocator*) { return 0; }
int32_t KIT_CALL MemoQuery(const KitLocator*) { return -1; }
int32_t KIT_CALL ActivateIdle(KitIdleRoutine) { return 1; }
void KIT_CALL DeActivateIdle(int32_t) {}
int32_t KIT_CALL NoWindow() { return 0; }
int32_t KIT_CALL FindWindowByTitle(const char*) { return 0; }
int32_t KIT_CALL ObjectWindow(const KitValue* object, int32_t option) {
  return option == 16 && object->type == kKitObject ? H().objectWindow : 0;
}
void* KIT_CALL WindowHandle(int32_t w) { return reinterpret_cast<void*>(static_cast<intptr_t>(w * 2)); }
int32_t KIT_CALL SetProperty(const KitValue*, const char* property, const KitValue* value) {
  if (std::string(property) != "Caption") return 1;
  H().variables[-1] = *value;
  return 0;
}
int32_t KIT_CALL GetProperty(const KitValue*, const char* property, KitValue* value) {
  if (std::string(property) != "Width") return 1;
  *value = KitValue{};
  value->type = kKitInteger;
  value->integer = 640;
  return 0;
}
void KIT_CALL ObjectNop(const KitValue*) {}

}  // namespace

FakeHost::FakeHost() {
  current = this;
  services = KitHostServices{sizeof(KitHostServices), RetInt, RetLogical, RetValue, Load, Store,
                             Evaluate, Execute, Dialog, AllocHand, FreeHand, HandToPtr, Nop, Nop,
                             SetHandSize, GetHandSize, FOpen, FRead, FSeek, FClose, MinusOne,
                             NameTableIndex, FindVar, MemoQuery, MemoQuery, MinusOne,
                             ActivateIdle, DeActivateIdle, NoWindow, NoWindow, FindWindowByTitle,
                             ObjectWindow, WindowHandle, SetProperty, GetProperty, ObjectNop,
                             ObjectNop};
  kit::SetHost(&services);
}

FakeHost::~FakeHost() {
  kit::SetHost(nullptr);
  current = nullptr;
}

KitHandle FakeHost::NewString(const std::string& text) {
  const KitHandle h = nextHandle++;
  handles[h].assign(text.begin(), text.end());
  return h;
}

std::string FakeHost::StringOf(KitHandle handle) const {
  auto it = handles.find(handle);
  return it == handles.end() ? std::string() : std::string(it->second.begin(), it->second.end());
}

std::string FakeHost::ResultText() const {
  if (result.type != kKitCharacter) return "";
  return StringOf(result.handle).substr(0, static_cast<std::size_t>(result.length));
}

bool RecordingLink::Poke(const char* text) {
  sent.push_back(std::string("poke:") + text);
  return !pokeFails;
}

bool RecordingLink::Request(char* buffer, std::size_t capacity, uint32_t timeout) {
  sent.push_back(std::string("request:") + buffer);
  requestTimeouts.push_back(timeout);
  auto it = answers.find(buffer);
  if (it == answers.end()) return false;
  std::strncpy(buffer, it->second.c_str(), capacity - 1);
  buffer[capacity - 1] = 0;
  return true;
}

bool RecordingLink::Advise(int code, int32_t window) {
  sent.push_back("advise:" + std::to_string(code) + " " + std::to_string(window));
  return true;
}

void RecordingLink::ShowMessageBox(const char* text, const char* caption) {
  sent.push_back(std::string("box:") + caption + "|" + text);
}

intptr_t RecordingLink::SendWindowMessage(int32_t window, uint32_t message, uintptr_t wParam,
                                          intptr_t lParam) {
  sent.push_back("message:" + std::to_string(window) + " " + std::to_string(message) + " " +
                 std::to_string(wParam) + " " + std::to_string(lParam));
  return 0;
}

void RecordingLink::MoveAndRepaint(int32_t w, int32_t x, int32_t y, int32_t cx, int32_t cy) {
  sent.push_back("move:" + std::to_string(w) + " " + std::to_string(x) + " " + std::to_string(y) +
                 " " + std::to_string(cx) + " " + std::to_string(cy));
}

void RecordingLink::WatchParent(int32_t child, int32_t parent) {
  sent.push_back("watch:" + std::to_string(child) + " " + std::to_string(parent));
}

void RecordingLink::RightMenu(int32_t window, bool win32s) {
  sent.push_back("rightmenu:" + std::to_string(window) + (win32s ? " win32s" : ""));
}

namespace {
Arg ValueArg(char type) {
  Arg a;
  a.p.kind = 'V';
  a.p.value.type = type;
  return a;
}
}  // namespace

Arg S(const std::string& text) {
  Arg a = ValueArg(kKitCharacter);
  a.p.value.length = static_cast<int32_t>(text.size());
  a.p.value.handle = FakeHost::current->NewString(text);
  return a;
}
Arg I(int32_t value) {
  Arg a = ValueArg(kKitInteger);
  a.p.value.integer = value;
  return a;
}
Arg N(double value) {
  Arg a = ValueArg(kKitNumeric);
  a.p.value.real = value;
  return a;
}
Arg L(bool value) {
  Arg a = ValueArg(kKitLogical);
  a.p.value.integer = value ? 1 : 0;
  return a;
}
Arg Obj(int32_t reference) {
  Arg a = ValueArg(kKitObject);
  a.p.value.object = reference;
  return a;
}
Arg Ref(int32_t nameIndex) {
  Arg a;
  a.p.kind = 'R';
  a.p.locator.type = 'R';
  a.p.locator.nameIndex = nameIndex;
  return a;
}

KitParamBlock Block(const std::vector<Arg>& args) {
  KitParamBlock block{};
  block.count = static_cast<int32_t>(args.size());
  for (std::size_t i = 0; i < args.size() && i < kKitMaxParameters; ++i) block.p[i] = args[i].p;
  return block;
}

}  // namespace tavik::test
