#include "Startup.h"

#include <cstring>

#include "DdeServer.h"
#include "ErrorBox.h"
#include "MessageLoop.h"
#include "Platform.h"
#include "ServerResources.h"
#include "ServerState.h"
#include "WindowClasses.h"

namespace tavik {
namespace {

bool Contains(const char* text, const char* what) { return text && std::strstr(text, what); }

void CacheStockObjects() {
  ServerState& s = Server();
  s.nullBrush = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  s.nullPen = static_cast<HPEN>(GetStockObject(NULL_PEN));
  s.blackPen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
  s.systemFixedFont = static_cast<HFONT>(GetStockObject(SYSTEM_FIXED_FONT));
}

void StoreScreenResolution() {
  HDC screen = GetDC(nullptr);
  Server().logPixelsX = GetDeviceCaps(screen, LOGPIXELSX);
  Server().logPixelsY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
}

void ReportCannotInitialize() {
  char text[128] = "Could not initialize Tavik for Windows Server.";
  LoadStringA(Server().instance, IDS_CANNOT_INITIALIZE, text, sizeof text);
  MessageBoxA(nullptr, text, "TAVIKW32", MB_OK | MB_ICONWARNING);
}

}  // namespace

bool HasVisibleSwitch(const char* commandLine) {
  return Contains(commandLine, "/V") || Contains(commandLine, "/v");
}

bool HasFixedCaptionSwitch(const char* commandLine) {
  return Contains(commandLine, "/E0") || Contains(commandLine, "/e0");
}

int RunServer(HINSTANCE instance, const char* commandLine) {
  ServerState& s = Server();
  s.instance = instance;
  InstallErrorBoxReporter();

  RegisterServerClasses(instance);
  s.platformFlags |= PlatformFlagsFromVersion(GetVersion());
  LoadOptionalLibraries(s.platformFlags);
  CacheStockObjects();
  s.accelerators = LoadAcceleratorsA(instance, IDA_TAVIK_ACCEL);

  // The creation parameter marks the server window (and carries the command line).
  HWND window = CreateWindowA(kServerClass, "Tavik for Windows",
                              WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VSCROLL, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                              instance, const_cast<char*>(commandLine ? commandLine : ""));
  if (!window) return 0;
  ShowWindow(window, SW_SHOWMINNOACTIVE);
  if (!HasVisibleSwitch(commandLine)) ShowWindow(window, SW_HIDE);
  UpdateWindow(window);

  if (!InitializeDde()) {
    ReportCannotInitialize();
    DestroyWindow(window);
    FreeOptionalLibraries(instance, s.platformFlags);
    return 0;
  }
  Errors().displayMode = HasFixedCaptionSwitch(commandLine) ? 0 : kShowRoutineMode;
  SendMessageA(window, kMsgRegisterDdeNames, 0, 0);
  StoreScreenResolution();
  LoadCtl3d(instance, s.platformFlags);

  const int code = RunMessageLoop();

  FreeOptionalLibraries(instance, s.platformFlags);
  UninitializeDde();
  return code;
}

}  // namespace tavik
