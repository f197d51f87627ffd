// The host side of the library kit: loading libraries, calling their functions with a
// parameter block, and the services a library calls back.
#include "Interpreter.h"

#include <cstring>

namespace foxhost {
namespace {

Interpreter* g_interpreter = nullptr;  // the kit's services carry no context: one host per process

std::string LibraryBase(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) name.erase(dot);
  return Upper(name);
}

}  // namespace

struct Interpreter::Kit {
  static Interpreter& I() { return *g_interpreter; }

  static void KIT_CALL RetInt(int32_t value, int32_t width) {
    KitValue v{};
    v.type = kKitInteger;
    v.integer = value;
    v.width = static_cast<int16_t>(width);
    SetResult(v);
  }
  static void KIT_CALL RetLogical(int32_t value) {
    KitValue v{};
    v.type = kKitLogical;
    v.integer = value ? 1 : 0;
    SetResult(v);
  }
  static void KIT_CALL RetValue(const KitValue* value) {
    if (value) SetResult(*value);
  }
  static void SetResult(const KitValue& v) {
    Interpreter& in = I();
    // A character result set twice gives its first handle back.
    if (in.callResultSet_ && in.callResult_.type == kKitCharacter) FreeHand(in.callResult_.handle);
    in.callResult_ = v;
    in.callResultSet_ = true;
  }

  static int32_t KIT_CALL Load(const KitLocator* where, KitValue* value) {
    if (!where || !value) return -1;
    try {
      Interpreter& in = I();
      if (where->nameIndex < 0 || static_cast<std::size_t>(where->nameIndex) >= in.nameTable_.size()) return -1;
      const std::string& name = in.nameTable_[static_cast<std::size_t>(where->nameIndex)];
      if (where->type == 'F') {
        DbfTable* t = in.tables_.At(where->workArea);
        const int field = t ? t->FieldIndex(name) : -1;
        if (field < 0) return -1;
        *value = in.ToKit(t->Get(field));
        return 0;
      }
      Cell c = in.Find(name);
      if (!c) return -1;
      *value = in.ToKit(*c);
      return 0;
    } catch (...) {
      return -1;
    }
  }
  static int32_t KIT_CALL Store(const KitLocator* where, const KitValue* value) {
    if (!where || !value) return -1;
    try {
      Interpreter& in = I();
      if (where->nameIndex < 0 || static_cast<std::size_t>(where->nameIndex) >= in.nameTable_.size()) return -1;
      const std::string& name = in.nameTable_[static_cast<std::size_t>(where->nameIndex)];
      const Value v = in.FromKit(*value);
      if (where->type == 'F') {
        DbfTable* t = in.tables_.At(where->workArea);
        const int field = t ? t->FieldIndex(name) : -1;
        if (field < 0) return -1;
        t->Set(field, v);
        return 0;
      }
      Cell c = in.Find(name);
      if (!c) c = in.Declare(name, false);
      *c = v;
      return 0;
    } catch (...) {
      return -1;
    }
  }
  static int32_t KIT_CALL Evaluate(KitValue* result, const char* expression) {
    if (!result || !expression) return 11;
    Interpreter& in = I();
    in.Trace(std::string("evaluate ") + expression);
    const std::size_t depth = in.frames_.size();
    try {
      if (Upper(expression) == "VERSION(2)" && in.version2_ != Version2::kEdition) {
        if (in.version2_ == Version2::kFails) return 11;
        KitValue v{};
        v.type = kKitInteger;
        v.integer = 2;
        *result = v;
        return 0;
      }
      const ExprPtr e = ParseExpression(expression);
      *result = in.ToKit(in.Eval(*e));
      return 0;
    } catch (const ScriptError& error) {
      in.frames_.resize(depth);
      return error.code;
    } catch (...) {
      in.frames_.resize(depth);
      return 11;
    }
  }
  static int32_t KIT_CALL Execute(const char* command) {
    if (!command) return 11;
    Interpreter& in = I();
    in.Trace(std::string("execute ") + command);
    return in.ExecuteCommand(command);
  }
  static int32_t KIT_CALL Dialog(int32_t scheme, const char* text, const char* buttons) {
    Interpreter& in = I();
    in.Trace(std::string("dialog ") + (text ? text : ""));
    return in.platform_.ShowMessageBox(text ? text : "", 0, "FoxPro") ? 1 : 0;
  }

  static KitHandle KIT_CALL AllocHand(uint32_t size) {
    Interpreter& in = I();
    // Handles are small integers; a request beyond what a 32-bit host could hold fails.
    if (size > 0x7FFFFFF0u) return 0;
    try {
      const KitHandle h = in.nextHandle_++;
      in.handles_[h].assign(size == 0 ? 1 : size, 0);
      return h;
    } catch (...) {
      return 0;
    }
  }
  static void KIT_CALL FreeHand(KitHandle h) { I().handles_.erase(h); }
  static void* KIT_CALL HandToPtr(KitHandle h) {
    auto& handles = I().handles_;
    auto it = handles.find(h);
    return it == handles.end() ? nullptr : it->second.data();
  }
  static void KIT_CALL HNop(KitHandle) {}
  static int32_t KIT_CALL SetHandSize(KitHandle h, uint32_t size) {
    auto& handles = I().handles_;
    auto it = handles.find(h);
    if (it == handles.end() || size > 0x7FFFFFF0u) return 0;
    try {
      it->second.resize(size == 0 ? 1 : size, 0);
      return 1;
    } catch (...) {
      return 0;
    }
  }
  static uint32_t KIT_CALL GetHandSize(KitHandle h) {
    auto& handles = I().handles_;
    auto it = handles.find(h);
    return it == handles.end() ? 0 : static_cast<uint32_t>(it->second.size());
  }

  static int32_t KIT_CALL FOpen(const char* name, int32_t mode) {
    if (!name) return -1;
    std::FILE* f = std::fopen(name, "rb");  // read-only: the library only reads
    if (!f) return -1;
    Interpreter& in = I();
    const int32_t channel = in.nextChannel_++;
    in.channels_[channel] = f;
    return channel;
  }
  static std::FILE* Channel(int32_t channel) {
    auto& channels = I().channels_;
    auto it = channels.find(channel);
    return it == channels.end() ? nullptr : it->second;
  }
  static int32_t KIT_CALL FRead(int32_t channel, void* buffer, int32_t count) {
    std::FILE* f = Channel(channel);
    if (!f || !buffer || count <= 0) return 0;
    return static_cast<int32_t>(std::fread(buffer, 1, static_cast<std::size_t>(count), f));
  }
  static int32_t KIT_CALL FSeek(int32_t channel, int32_t position, int32_t mode) {
    std::FILE* f = Channel(channel);
    if (!f) return -1;
    if (std::fseek(f, position, mode == 2 ? SEEK_END : mode == 1 ? SEEK_CUR : SEEK_SET) != 0) return -1;
    return static_cast<int32_t>(std::ftell(f));
  }
  static int32_t KIT_CALL FClose(int32_t channel) {
    Interpreter& in = I();
    auto it = in.channels_.find(channel);
    if (it == in.channels_.end()) return -1;
    std::fclose(it->second);
    in.channels_.erase(it);
    return 0;
  }

  static int32_t KIT_CALL MemoChan(int32_t workArea) {
    Interpreter& in = I();
    DbfTable* t = in.tables_.At(workArea == 0 ? in.tables_.Current() : workArea);
    if (!t || t->MemoPath().empty()) return -1;
    return FOpen(t->MemoPath().c_str(), 0);
  }
  static int32_t KIT_CALL NameTableIndex(const char* name) {
    if (!name || !*name) return -1;
    Interpreter& in = I();
    const std::string upper = Upper(name);
    for (std::size_t i = 0; i < in.nameTable_.size(); ++i) {
      if (in.nameTable_[i] == upper) return static_cast<int32_t>(i);
    }
    in.nameTable_.push_back(upper);
    return static_cast<int32_t>(in.nameTable_.size() - 1);
  }
  static int32_t KIT_CALL FindVar(int32_t nameIndex, int32_t workArea, KitLocator* where) {
    Interpreter& in = I();
    if (!where || nameIndex < 0 || static_cast<std::size_t>(nameIndex) >= in.nameTable_.size()) return 0;
    const int area = workArea <= 0 ? in.tables_.Current() : workArea;
    DbfTable* t = in.tables_.At(area);
    if (!t || t->FieldIndex(in.nameTable_[static_cast<std::size_t>(nameIndex)]) < 0) return 0;
    *where = KitLocator{};
    where->type = 'F';
    where->nameIndex = nameIndex;
    where->workArea = area;
    return 1;
  }
  static bool MemoOf(const KitLocator* where, int32_t* offset, int32_t* size) {
    Interpreter& in = I();
    if (!where || where->type != 'F' || where->nameIndex < 0 ||
        static_cast<std::size_t>(where->nameIndex) >= in.nameTable_.size())
      return false;
    DbfTable* t = in.tables_.At(where->workArea);
    const int field = t ? t->FieldIndex(in.nameTable_[static_cast<std::size_t>(where->nameIndex)]) : -1;
    return field >= 0 && t->MemoLocation(field, offset, size);
  }
  static int32_t KIT_CALL FindMemo(const KitLocator* where) {
    int32_t offset = 0, size = 0;
    return MemoOf(where, &offset, &size) ? offset : -1;
  }
  static int32_t KIT_CALL MemoSize(const KitLocator* where) {
    int32_t offset = 0, size = 0;
    return MemoOf(where, &offset, &size) ? size : -1;
  }
  static int32_t KIT_CALL DBRecNo(int32_t workArea) {
    Interpreter& in = I();
    DbfTable* t = in.tables_.At(workArea == 0 ? in.tables_.Current() : workArea);
    return t ? t->RecNo() : -1;
  }

  static int32_t KIT_CALL ActivateIdle(KitIdleRoutine routine) {
    Interpreter& in = I();
    if (!routine || !in.callingLibrary_) return 0;
    const int32_t id = in.nextIdle_++;
    in.idles_.push_back({id, in.callingLibrary_->entry});
    return id;
  }
  static void KIT_CALL DeActivateIdle(int32_t id) {
    auto& idles = I().idles_;
    for (std::size_t i = 0; i < idles.size(); ++i) {
      if (idles[i].id == id) {
        idles.erase(idles.begin() + static_cast<long>(i));
        return;
      }
    }
  }

  static int32_t KIT_CALL MainWindow() { return I().HostWindowId(I().platform_.MainWindow()); }
  static int32_t KIT_CALL MainClientWindow() { return I().HostWindowId(I().platform_.MainClientWindow()); }
  static int32_t KIT_CALL FindWindowByTitle(const char* title) {
    return title ? I().HostWindowId(I().platform_.FindWindowByTitle(title)) : 0;
  }
  static int32_t KIT_CALL ObjectWindow(const KitValue* object, int32_t option) {
    Interpreter& in = I();
    if (!object || object->type != kKitObject) return 0;
    auto it = in.objects_.find(object->object);
    if (it == in.objects_.end()) return 0;
    return in.HostWindowId(it->second->Window());
  }
  static void* KIT_CALL WindowHandle(int32_t hostWindow) {
    auto& windows = I().hostWindows_;
    if (hostWindow < 1 || static_cast<std::size_t>(hostWindow) > windows.size()) return nullptr;
    return reinterpret_cast<void*>(windows[static_cast<std::size_t>(hostWindow - 1)]);
  }

  static std::shared_ptr<HostObject> ObjectOf(const KitValue* object) {
    if (!object || object->type != kKitObject) return nullptr;
    auto& objects = I().objects_;
    auto it = objects.find(object->object);
    return it == objects.end() ? nullptr : it->second;
  }
  static int32_t KIT_CALL SetProperty(const KitValue* object, const char* property, const KitValue* value) {
    auto o = ObjectOf(object);
    if (!o || !property || !value) return 1734;
    try {
      return o->Set(Upper(property), I().FromKit(*value)) ? 0 : 1734;
    } catch (...) {
      return 1734;
    }
  }
  static int32_t KIT_CALL GetProperty(const KitValue* object, const char* property, KitValue* value) {
    auto o = ObjectOf(object);
    if (!o || !property || !value) return 1734;
    try {
      Value v;
      if (!o->Get(Upper(property), &v)) return 1734;
      *value = I().ToKit(v);
      return 0;
    } catch (...) {
      return 1734;
    }
  }
  static void KIT_CALL ObjectRef(const KitValue* object) {
    if (ObjectOf(object)) ++I().objectRefs_[object->object];
  }
  static void KIT_CALL ObjectRelease(const KitValue* object) {
    if (!ObjectOf(object)) return;
    Interpreter& in = I();
    if (--in.objectRefs_[object->object] <= 0) {
      in.objectRefs_.erase(object->object);
      in.objects_.erase(object->object);
    }
  }
};

void Interpreter::InstallServices() {
  g_interpreter = this;
  services_ = KitHostServices{
      sizeof(KitHostServices), Kit::RetInt, Kit::RetLogical, Kit::RetValue, Kit::Load, Kit::Store,
      Kit::Evaluate, Kit::Execute, Kit::Dialog, Kit::AllocHand, Kit::FreeHand, Kit::HandToPtr,
      Kit::HNop, Kit::HNop, Kit::SetHandSize, Kit::GetHandSize, Kit::FOpen, Kit::FRead, Kit::FSeek,
      Kit::FClose, Kit::MemoChan, Kit::NameTableIndex, Kit::FindVar, Kit::FindMemo, Kit::MemoSize,
      Kit::DBRecNo, Kit::ActivateIdle, Kit::DeActivateIdle, Kit::MainWindow, Kit::MainClientWindow,
      Kit::FindWindowByTitle, Kit::ObjectWindow, Kit::WindowHandle, Kit::SetProperty,
      Kit::GetProperty, Kit::ObjectRef, Kit::ObjectRelease};
}

int Interpreter::ExecuteCommand(const std::string& command) {
  const std::size_t frames = frames_.size();
  const int depth = depth_;
  try {
    const Stmt s = ParseStatement(command);
    if (Run(s) == Flow::kQuit) quitting_ = true;
    return 0;
  } catch (const ScriptError& error) {
    // The command's error is the command's: the program that waited for it goes on.
    frames_.resize(frames);
    depth_ = depth;
    platform_.Print("\nError " + std::to_string(error.code) + " in " + command + ": " + error.message + "\n");
    return error.code;
  } catch (...) {
    frames_.resize(frames);
    depth_ = depth;
    return 11;
  }
}

void Interpreter::Trace(const std::string& line) {
  if (trace_) platform_.Print("\nkit: " + line);
}

int32_t Interpreter::ObjectId(const std::shared_ptr<HostObject>& o) {
  for (const auto& [id, object] : objects_) {
    if (object == o) return id;
  }
  const int32_t id = nextObject_++;
  objects_[id] = o;
  return id;
}

int32_t Interpreter::HostWindowId(intptr_t window) {
  if (window == 0) return 0;
  for (std::size_t i = 0; i < hostWindows_.size(); ++i) {
    if (hostWindows_[i] == window) return static_cast<int32_t>(i + 1);
  }
  hostWindows_.push_back(window);
  return static_cast<int32_t>(hostWindows_.size());
}

KitValue Interpreter::ToKit(const Value& v) {
  KitValue k{};
  switch (v.type) {
    case 'C': {
      k.type = kKitCharacter;
      k.length = static_cast<int32_t>(v.text.size());
      k.handle = Kit::AllocHand(static_cast<uint32_t>(v.text.size() + 1));
      if (!k.handle) Fail(43, "There is not enough memory to complete this operation.");
      std::memcpy(Kit::HandToPtr(k.handle), v.text.data(), v.text.size());
      break;
    }
    case 'N':
      k.type = kKitNumeric;
      k.real = v.number;
      k.decimals = static_cast<int16_t>(v.decimals);
      k.width = static_cast<int16_t>(v.width > 0 ? v.width : 10 + (v.decimals ? v.decimals + 1 : 0));
      break;
    case 'L': k.type = kKitLogical; k.integer = v.logical ? 1 : 0; break;
    case 'D': k.type = kKitDate; k.real = v.number; break;
    case 'O':
      k.type = kKitObject;
      k.object = v.object ? ObjectId(v.object) : 0;
      break;
    default: k.type = kKitNull;
  }
  return k;
}

Value Interpreter::FromKit(const KitValue& k) {
  switch (k.type) {
    case kKitCharacter: {
      auto it = handles_.find(k.handle);
      if (it == handles_.end() || k.length < 0) return Value::Char("");
      const std::size_t length = std::min<std::size_t>(static_cast<std::size_t>(k.length), it->second.size());
      return Value::Char(std::string(it->second.data(), length));
    }
    case kKitInteger: {
      Value v = Value::Num(k.integer);
      v.width = k.width;
      return v;
    }
    case kKitNumeric: {
      Value v = Value::Num(k.real, k.decimals);
      return v;
    }
    case kKitLogical: return Value::Log(k.integer != 0);
    case kKitDate: return Value::Date(k.real);
    case kKitObject: {
      auto it = objects_.find(k.object);
      return it == objects_.end() ? Value::Log(false) : Value::Obj(it->second);
    }
    default: return Value::Null();
  }
}

bool Interpreter::HasLibraryFunction(const std::string& name) const {
  for (const Library& lib : libraries_) {
    for (int i = 0; lib.table && i < lib.table->count; ++i) {
      if (lib.table->functions[i].name && name == lib.table->functions[i].name) return true;
    }
  }
  return false;
}

namespace {

// Runs a nameless entry (load or unload) of a library's table.
void RunEntry(KitDispatchEntry entry, const KitTable* table, int32_t kind) {
  for (int i = 0; table && i < table->count; ++i) {
    if (table->functions[i].parameterCount != kind) continue;
    KitParamBlock block{};
    KitCallArgs call{i, 0, &block};
    entry(kKitCall, &call);
  }
}

}  // namespace

void Interpreter::LoadLinkLibrary(const std::string& name, bool additive) {
  if (!additive) ReleaseAllLibraries();
  std::string path = name;
  const std::size_t slash = path.find_last_of("/\\");
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) path += ".fll";
  const std::string base = LibraryBase(path);
  Library lib;
  lib.name = base;
  lib.module = platform_.LoadLink(path, &lib.entry);
  if (!lib.module || !lib.entry) Fail(1, "File '" + path + "' does not exist.");
  lib.table = reinterpret_cast<const KitTable*>(lib.entry(kKitGetTable, &services_));
  if (!lib.table) {
    platform_.FreeLink(lib.module);
    Fail(1, "File '" + path + "' is not a library.");
  }
  // The same library again (ADDITIVE) stays one entry; the host still runs its load routine,
  // which is the library's to make harmless.
  bool known = false;
  for (Library& l : libraries_) {
    if (l.name == base) {
      platform_.FreeLink(lib.module);
      lib = l;
      known = true;
    }
  }
  if (!known) libraries_.push_back(lib);
  const Library* saved = callingLibrary_;
  callingLibrary_ = &libraries_.back();
  for (const Library& l : libraries_) {
    if (l.name == base) callingLibrary_ = &l;
  }
  RunEntry(lib.entry, lib.table, kKitLoadEntry);
  callingLibrary_ = saved;
}

void Interpreter::ReleaseLibrary(const Library& lib) {
  const Library* saved = callingLibrary_;
  callingLibrary_ = &lib;
  RunEntry(lib.entry, lib.table, kKitUnloadEntry);
  callingLibrary_ = saved;
  for (std::size_t i = 0; i < idles_.size();) {
    if (idles_[i].entry == lib.entry) idles_.erase(idles_.begin() + static_cast<long>(i));
    else ++i;
  }
  platform_.FreeLink(lib.module);
}

void Interpreter::ReleaseAllLibraries() {
  while (!libraries_.empty()) {
    const Library lib = libraries_.back();
    libraries_.pop_back();
    ReleaseLibrary(lib);
  }
}

void Interpreter::RunIdle() {
  const std::vector<Idle> idles = idles_;  // a routine may deactivate itself
  for (const Idle& idle : idles) idle.entry(kKitIdle, reinterpret_cast<void*>(static_cast<intptr_t>(idle.id)));
}

Value Interpreter::CallLibrary(const Library& lib, int index, const std::vector<const Expr*>& args) {
  const KitFunction& f = lib.table->functions[index];
  // The type string says how many parameters are required and how many are allowed.
  const std::string types = f.types ? f.types : "";
  std::vector<std::string> kinds;
  for (std::size_t start = 0; !types.empty() && start <= types.size();) {
    const std::size_t comma = types.find(',', start);
    kinds.push_back(types.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  std::size_t required = 0;
  for (const std::string& k : kinds) {
    if (!k.empty() && k[0] != '.') ++required;
  }
  if (args.size() < required) Fail(1229, "Too few arguments.");
  if (args.size() > kinds.size() || args.size() > kKitMaxParameters) Fail(1230, "Too many arguments.");
  KitParamBlock block{};
  block.count = static_cast<int32_t>(args.size());
  std::vector<KitHandle> temporaries;
  struct FreeTemporaries {
    Interpreter* self;
    std::vector<KitHandle>* handles;
    ~FreeTemporaries() {
      for (KitHandle h : *handles) self->handles_.erase(h);
    }
  } freeTemporaries{this, &temporaries};
  for (std::size_t i = 0; i < args.size(); ++i) {
    KitParameter& p = block.p[i];
    const Expr* a = args[i];
    if (a && a->kind == Expr::kReference) {
      FindOrFail(a->name);
      p.kind = 'R';
      p.locator.type = 'R';
      p.locator.nameIndex = Kit::NameTableIndex(a->name.c_str());
      continue;
    }
    const Value v = a ? Eval(*a) : Value::Log(false);
    const char want = kinds[i].empty() ? '?' : kinds[i].back();
    if ((want == 'L' && v.type != 'L') || (want == 'O' && v.type != 'O'))
      Fail(11, "Function argument value, type, or count is invalid.");
    p.kind = 'V';
    p.value = ToKit(v);
    if (p.value.type == kKitCharacter) temporaries.push_back(p.value.handle);
  }
  callResult_ = KitValue{};
  callResult_.type = kKitLogical;
  callResult_.integer = 1;  // a function that sets no result answers .T.
  callResultSet_ = false;
  const Library* saved = callingLibrary_;
  callingLibrary_ = &lib;
  KitCallArgs call{index, 0, &block};
  lib.entry(kKitCall, &call);
  callingLibrary_ = saved;
  const KitValue result = callResult_;
  callResultSet_ = false;
  Value v = FromKit(result);
  if (result.type == kKitCharacter) handles_.erase(result.handle);
  return v;
}

}  // namespace foxhost
