// foxhost: runs a FoxPro program file in a console, with a main window of its own.
//   foxhost [--kit-trace] [--print-dialogs] [--version2=fail|integer] script.prg [args...]
#include "Interpreter.h"
#include "WinPlatform.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  bool trace = false, printDialogs = false;
  auto version2 = foxhost::Interpreter::Version2::kEdition;
  int i = 1;
  for (; i < argc && std::strncmp(argv[i], "--", 2) == 0; ++i) {
    const std::string option = argv[i];
    if (option == "--kit-trace") trace = true;
    else if (option == "--print-dialogs") printDialogs = true;
    else if (option == "--version2=fail") version2 = foxhost::Interpreter::Version2::kFails;
    else if (option == "--version2=integer") version2 = foxhost::Interpreter::Version2::kInteger;
    else {
      std::fprintf(stderr, "foxhost: unknown option %s\n", argv[i]);
      return 2;
    }
  }
  if (i >= argc) {
    std::fprintf(stderr,
                 "usage: foxhost [--kit-trace] [--print-dialogs] [--version2=fail|integer] "
                 "program.prg [arguments...]\n");
    return 2;
  }
  foxhost::WinPlatform platform;
  platform.SetPrintDialogs(printDialogs);
  foxhost::Interpreter interpreter(platform);
  platform.SetInterpreter(&interpreter);
  interpreter.SetVersion2(version2);
  interpreter.SetKitTrace(trace);
  const std::vector<std::string> args(argv + i + 1, argv + argc);
  const int status = interpreter.RunFile(argv[i], args);
  std::fputs("\n", stdout);
  return status;
}
