// foxhost running programs with the real TAVIKI32.FLL against the real server under Wine.
#include "DdeTestClient.h"
#include "DialogProbe.h"
#include "ServerProcess.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace tavik::test {
namespace {

// The folder of the test programs, as a Windows path.
std::string ProgramsFolder() {
  std::string folder = "Z:" TAVIK_TEST_DATA "/prg";
  for (char& c : folder) {
    if (c == '/') c = '\\';
  }
  return folder;
}

// foxhost in its own process with its output in a pipe.
class Foxhost {
public:
  explicit Foxhost(const std::string& arguments, const std::string& folder = ProgramFolder()) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE write = nullptr;
    if (!CreatePipe(&read_, &write, &inherit, 0)) return;
    SetHandleInformation(read_, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write;
    startup.hStdError = write;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::string command = "\"" + folder + "foxhost.exe\" " + arguments;
    const std::string programs = ProgramsFolder();
    CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, programs.c_str(),
                   &startup, &process_);
    CloseHandle(write);
  }
  ~Foxhost() {
    if (process_.hProcess) {
      if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
      CloseHandle(process_.hProcess);
      CloseHandle(process_.hThread);
    }
    if (read_) CloseHandle(read_);
  }

  bool Started() const { return process_.hProcess != nullptr; }
  DWORD ProcessId() const { return process_.dwProcessId; }

  // Reads output until `text` has appeared or `milliseconds` pass.
  bool WaitFor(const std::string& text, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (output_.find(text) == std::string::npos) {
      if (!ReadSome() && WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0) {
        while (ReadSome()) {}
        return output_.find(text) != std::string::npos;
      }
      if (GetTickCount() - start > milliseconds) return false;
      // DdeConnect broadcasts to every top-level window, ours too: keep answering.
      PumpFor(20);
    }
    return true;
  }
  // Waits for the end; the exit code, or -1 when it had to be killed.
  int Finish(DWORD milliseconds = 60000) {
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      PumpFor(20);
      ReadSome();
      if (GetTickCount() - start > milliseconds) {
        TerminateProcess(process_.hProcess, 99);
        return -1;
      }
    }
    while (ReadSome()) {}
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<int>(code);
  }
  const std::string& Output() const { return output_; }

private:
  bool ReadSome() {
    DWORD available = 0;
    if (!PeekNamedPipe(read_, nullptr, 0, nullptr, &available, nullptr) || available == 0) return false;
    char buffer[4096];
    DWORD got = 0;
    if (!ReadFile(read_, buffer, available < sizeof buffer ? available : sizeof buffer, &got, nullptr) || got == 0)
      return false;
    // The console's text mode writes CR LF; the programs' lines are compared without the CR.
    for (DWORD i = 0; i < got; ++i) {
      if (buffer[i] != '\r') output_ += buffer[i];
    }
    return true;
  }

  PROCESS_INFORMATION process_{};
  HANDLE read_ = nullptr;
  std::string output_;
};

// Closes a server some earlier program started, so the next one finds none running.
void StopStrayServer() {
  for (int i = 0; i < 50; ++i) {
    HWND server = FindWindowA("TAVIKW32", nullptr);
    if (!server) return;
    DWORD pid = 0;
    GetWindowThreadProcessId(server, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    PostMessageA(server, WM_CLOSE, 0, 0);
    if (process) {
      WaitForSingleObject(process, 10000);
      CloseHandle(process);
    } else {
      Sleep(200);
    }
  }
}

class FoxhostE2E : public ::testing::Test {
protected:
  void SetUp() override { StopStrayServer(); }
  void TearDown() override { StopStrayServer(); }
};

TEST_F(FoxhostE2E, ScanIntsStoresTwelveAndThirtyFour) {
  ServerProcess server;
  ASSERT_TRUE(server.Started());
  Foxhost fox("scanints.prg");
  ASSERT_TRUE(fox.Started());
  EXPECT_EQ(fox.Finish(), 0) << fox.Output();
  EXPECT_NE(fox.Output().find("scanned          2         12         34          0"), std::string::npos)
      << fox.Output();
}

TEST_F(FoxhostE2E, LoadingTwiceRunsNothingTheSecondTime) {
  ServerProcess server;
  ASSERT_TRUE(server.Started());
  Foxhost fox("--kit-trace loadtwice.prg");
  EXPECT_EQ(fox.Finish(), 0) << fox.Output();
  const std::string& out = fox.Output();
  const std::size_t first = out.find("kit: evaluate VERSION(2)");
  ASSERT_NE(first, std::string::npos) << out;
  EXPECT_EQ(out.find("kit: evaluate VERSION(2)", first + 1), std::string::npos) << out;
  EXPECT_NE(out.find("loaded"), std::string::npos) << out;
}

TEST_F(FoxhostE2E, HostWhoseVersionFailsGetsMessageEightAndAnInactiveLibrary) {
  for (const char* option : {"--version2=fail", "--version2=integer"}) {
    Foxhost fox(std::string(option) + " --print-dialogs inactive.prg");
    EXPECT_EQ(fox.Finish(), 0) << fox.Output();
    const std::string& out = fox.Output();
    EXPECT_NE(out.find("dialog: FoxPro: Incompatible version of Tavik Images.\nTavik functions will not be available!"),
              std::string::npos) << option << out;
    EXPECT_NE(out.find("create  0\n"), std::string::npos) << option << out;
    // Inactive, the library never looked for the server.
    EXPECT_EQ(FindWindowA("TAVIKW32", nullptr), nullptr) << option;
  }
}

TEST_F(FoxhostE2E, ServerIsStartedWhenNotRunning) {
  ASSERT_EQ(FindWindowA("TAVIKW32", nullptr), nullptr);
  Foxhost fox("windows.prg");
  EXPECT_EQ(fox.Finish(), 0) << fox.Output();
  EXPECT_NE(fox.Output().find("top .T.\nchild of form .T.\nfilling .T.\ndestroyed .T. .T. .T."), std::string::npos)
      << fox.Output();
  EXPECT_NE(FindWindowA("TAVIKW32", nullptr), nullptr) << "the server keeps running after the host";
}

TEST_F(FoxhostE2E, ChildOfTheClientWindowKeepsFillingItWhenTheHostIsResized) {
  ServerProcess server;
  ASSERT_TRUE(server.Started());
  Foxhost fox("fill.prg");
  ASSERT_TRUE(fox.WaitFor(" screen ", 60000)) << fox.Output();
  ASSERT_TRUE(fox.WaitFor("\n", 5000));
  unsigned long long child = 0, screen = 0;
  const std::string& out = fox.Output();
  ASSERT_EQ(std::sscanf(out.c_str() + out.find("child "), "child %llu screen %llu", &child, &screen), 2) << out;
  const HWND childWindow = reinterpret_cast<HWND>(static_cast<uintptr_t>(child));
  const HWND mainWindow = reinterpret_cast<HWND>(static_cast<uintptr_t>(screen));
  const HWND client = GetParent(childWindow);
  ASSERT_NE(client, nullptr);
  EXPECT_EQ(GetParent(client), mainWindow) << "the parent is the host main client window";

  auto fills = [&] {
    RECT c{}, k{};
    GetClientRect(client, &c);
    GetWindowRect(childWindow, &k);
    return (k.right - k.left) == c.right && (k.bottom - k.top) == c.bottom;
  };
  for (const SIZE size : {SIZE{640, 480}, SIZE{500, 350}, SIZE{900, 700}}) {
    SetWindowPos(mainWindow, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    bool ok = false;
    for (int i = 0; i < 100 && !(ok = fills()); ++i) PumpFor(50);
    RECT c{};
    GetClientRect(client, &c);
    EXPECT_TRUE(ok) << "child does not fill the " << c.right << "x" << c.bottom << " client area";
  }
  PostMessageA(mainWindow, WM_CLOSE, 0, 0);
  EXPECT_EQ(fox.Finish(), 0) << fox.Output();
}

TEST_F(FoxhostE2E, CommandsFailQuietlyOnceTheServerHasGone) {
  const std::string flag = ProgramsFolder() + "\\gone.flag";
  DeleteFileA(flag.c_str());
  ServerProcess server;
  ASSERT_TRUE(server.Started());
  Foxhost fox("gone.prg");
  ASSERT_TRUE(fox.WaitFor("waiting", 60000)) << fox.Output();
  EXPECT_NE(fox.Output().find("before .T. .T."), std::string::npos) << fox.Output();
  server.Stop();
  HANDLE file = CreateFileA(flag.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  EXPECT_EQ(fox.Finish(), 0) << fox.Output();
  DeleteFileA(flag.c_str());
  EXPECT_NE(fox.Output().find("after .F.          0          0"), std::string::npos) << fox.Output();
  EXPECT_EQ(FindWindowA("TAVIKW32", nullptr), nullptr) << "no reconnection while loaded";
}

TEST_F(FoxhostE2E, WithNoServerToStartTheLocateDialogAndMessageTwoComeUp) {
  // foxhost and the library alone in a folder: TAVIKW32 is neither beside them nor registered.
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string alone = std::string(temp) + "foxhost-alone\\";
  CreateDirectoryA(alone.c_str(), nullptr);
  for (const char* file : {"foxhost.exe", "TAVIKI32.FLL"})
    ASSERT_TRUE(CopyFileA((ProgramFolder() + file).c_str(), (alone + file).c_str(), FALSE)) << file;
  Foxhost fox("\"" + ProgramsFolder() + "\\alone.prg\"", alone);
  ASSERT_TRUE(fox.Started());
  auto locate = WaitForDialog(fox.ProcessId(), 60000, "Locate TAVIKW32.EXE");
  ASSERT_TRUE(locate.has_value()) << fox.Output();
  CloseDialog(locate->window, IDCANCEL);
  auto box = WaitForDialog(fox.ProcessId(), 30000, "Tavik Images for FoxPro");
  ASSERT_TRUE(box.has_value()) << fox.Output();
  EXPECT_NE(box->text.find("Cannot start TAVIKW32.EXE!"), std::string::npos) << box->text;
  CloseDialog(box->window, IDOK);
  EXPECT_EQ(fox.Finish(), 0) << fox.Output();
  EXPECT_NE(fox.Output().find("alone          0 .F."), std::string::npos) << fox.Output();
  for (const char* file : {"foxhost.exe", "TAVIKI32.FLL"}) DeleteFileA((alone + file).c_str());
  RemoveDirectoryA(alone.c_str());
}

}  // namespace
}  // namespace tavik::test
