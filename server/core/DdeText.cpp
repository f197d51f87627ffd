#include <cstring>

#include "DdeServer.h"
#include "DdeTransactions.h"

namespace tavik {

HDDEDATA TextDataHandle(HSZ item, const char* text) {
  const DWORD length = static_cast<DWORD>(std::strlen(text)) + 1;
  return DdeCreateDataHandle(DdeInstance(), reinterpret_cast<LPBYTE>(const_cast<char*>(text)),
                             length, 0, item, CF_TEXT, 0);
}

bool QueryItemText(HSZ item, char* buffer, size_t size) {
  std::memset(buffer, 0, size);
  const DWORD length = DdeQueryStringA(DdeInstance(), item, nullptr, 0, CP_WINANSI);
  if (length == 0 || length >= size) return false;
  DdeQueryStringA(DdeInstance(), item, buffer, static_cast<DWORD>(size), CP_WINANSI);
  return true;
}

bool CopyPokedText(HDDEDATA data, char* buffer, size_t size) {
  std::memset(buffer, 0, size);
  if (!data) return false;
  const DWORD copied = DdeGetData(data, reinterpret_cast<LPBYTE>(buffer), static_cast<DWORD>(size), 0);
  return copied > 0 && std::memchr(buffer, '\0', copied) != nullptr;
}

}  // namespace tavik
