#include "DebugTrace.h"

#include "Module.h"

#include <windows.h>

#include <mutex>
#include <string>

namespace lexivane::control {

namespace {

std::wstring TraceFilePath() {
  wchar_t path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameW(ThisModule(), path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L"\\/")) + L"\\UlvaneDebug.txt";
}

}  // namespace

void TraceError(std::string_view routine, std::string_view message) {
  static std::once_flag fresh;
  const std::wstring path = TraceFilePath();
  if (path.empty()) return;
  std::call_once(fresh, [&] { DeleteFileW(path.c_str()); });
  char date[64] = {}, time[64] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, sizeof(date));
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, time, sizeof(time));
  std::string name(routine.substr(0, 32));
  name.resize(32, ' ');
  std::string line = std::string(date) + " " + time + " :" + name + ": Error!  " + std::string(message) + "\r\n";
  HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace lexivane::control
