// Runs programs: variables and their scopes, statements, calls of procedures, built-in and
// library functions, and the host side of the library kit.
#pragma once

#include "LibraryKit.h"
#include "Platform.h"
#include "Program.h"
#include "Tables.h"
#include "Value.h"

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace foxhost {

class Interpreter {
public:
  explicit Interpreter(Platform& platform);
  ~Interpreter();

  // Runs a program file with its arguments (handed to its PARAMETERS). The exit code: 0, or 1
  // after an error, whose message has been printed.
  int RunFile(const std::string& path, const std::vector<std::string>& args);
  int RunSource(const std::string& source, const std::string& fileName,
                const std::vector<std::string>& args);

  // How VERSION(2) answers, for test hosts that check a library's inactive path.
  enum class Version2 { kEdition, kFails, kInteger };
  void SetVersion2(Version2 mode) { version2_ = mode; }
  // Prints each expression, command and dialog a library asks of the host.
  void SetKitTrace(bool on) { trace_ = on; }

  // Runs one command text in the running program, as the kit's command service does; 0, or
  // the error number after printing its message.
  int ExecuteCommand(const std::string& command);

  // Runs the idle routines of the loaded libraries (the platform calls this while it waits).
  void RunIdle();

  // Kit services, called through the C table (see KitServices.cpp).
  struct Kit;
  friend struct Kit;

  // Public for the built-in functions.
  Value Eval(const Expr& e);
  Value CallFunction(const std::string& name, const std::vector<const Expr*>& args);
  Platform& platform() { return platform_; }
  Tables& tables() { return tables_; }
  bool HasLibraryFunction(const std::string& name) const;
  std::string ProgramName() const;

private:
  using Cell = std::shared_ptr<Value>;
  struct Frame {
    std::map<std::string, Cell> locals;
    std::map<std::string, Cell> privates;
    const Program* program = nullptr;
    std::vector<Cell> arguments;  // what the caller passed, by reference where it could
    int line = 0;
  };
  enum class Flow { kNormal, kReturn, kExit, kLoop, kQuit };
  struct Library {
    std::string name;  // upper case, without folder or extension
    void* module = nullptr;
    KitDispatchEntry entry = nullptr;
    const KitTable* table = nullptr;
  };

  Flow RunBlock(const std::vector<Stmt>& body);
  Flow Run(const Stmt& s);
  Flow RunProcedure(const Program& program, const std::vector<Stmt>& body,
                    std::vector<Cell> arguments, Value* result);
  Value CallUser(const std::string& name, const std::vector<const Expr*>& args, bool byRefDefault);
  bool FindProcedure(const std::string& name, const Program** program, const Procedure** proc);
  Value CallLibrary(const Library& lib, int index, const std::vector<const Expr*>& args);
  void LoadLinkLibrary(const std::string& name, bool additive);
  void ReleaseLibrary(const Library& lib);
  void ReleaseAllLibraries();

  Cell Find(const std::string& name);   // null when not declared
  Cell FindOrFail(const std::string& name);
  Cell Declare(const std::string& name, bool local);
  void Assign(const Expr& target, const Value& value);
  Value NameValue(const std::string& name);
  Value MemberValue(const Expr& e);
  Value Binary(const std::string& op, const Value& a, const Value& b);

  Platform& platform_;
  Tables tables_;
  std::vector<std::unique_ptr<Program>> programs_;
  std::vector<Frame> frames_;
  std::map<std::string, Cell> publics_;
  std::vector<Library> libraries_;
  bool eventsCleared_ = false;
  bool quitting_ = false;
  Version2 version2_ = Version2::kEdition;
  int depth_ = 0;

  // Kit state.
  KitHostServices services_{};
  KitValue callResult_{};
  bool callResultSet_ = false;
  const Library* callingLibrary_ = nullptr;
  std::map<KitHandle, std::vector<char>> handles_;
  KitHandle nextHandle_ = 1;
  std::vector<std::string> nameTable_;
  std::map<int32_t, std::FILE*> channels_;
  int32_t nextChannel_ = 1;
  struct Idle {
    int32_t id;
    KitDispatchEntry entry;
  };
  std::vector<Idle> idles_;
  int32_t nextIdle_ = 1;
  std::map<int32_t, std::shared_ptr<HostObject>> objects_;
  std::map<int32_t, int> objectRefs_;
  int32_t nextObject_ = 1;
  std::vector<intptr_t> hostWindows_;

  KitValue ToKit(const Value& v);
  Value FromKit(const KitValue& k);
  int32_t ObjectId(const std::shared_ptr<HostObject>& o);
  int32_t HostWindowId(intptr_t window);
  void InstallServices();
  void Trace(const std::string& line);
  bool trace_ = false;
};

}  // namespace foxhost
