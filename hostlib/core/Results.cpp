#include "Results.h"

#include "KitLibrary.h"
#include "LibraryMessages.h"

#include <cctype>
#include <cstring>

namespace tavik::hostlib {

void ReturnInt(int32_t value, int32_t width) {
  if (const KitHostServices* host = kit::Host()) host->RetInt(value, width);
}

void ReturnLogical(bool value) {
  if (const KitHostServices* host = kit::Host()) host->RetLogical(value ? 1 : 0);
}

void ReturnValue(const KitValue& value) {
  if (const KitHostServices* host = kit::Host()) host->RetValue(&value);
}

void ShowMemoryShortage() {
  Link().ShowMessageBox(LibraryMessage(kMsgNoMemory), LibraryMessage(kMsgCaption));
}

bool ReturnString(std::string_view text) {
  const KitHostServices* host = kit::Host();
  if (!host) return false;
  const KitHandle handle = host->AllocHand(static_cast<uint32_t>(text.size() + 1));
  void* data = handle ? host->HandToPtr(handle) : nullptr;
  if (!data) {
    if (handle) host->FreeHand(handle);
    ShowMemoryShortage();
    return false;
  }
  std::memcpy(data, text.data(), text.size());
  static_cast<char*>(data)[text.size()] = 0;
  KitValue value{};
  value.type = kKitCharacter;
  value.length = static_cast<int32_t>(text.size());
  value.handle = handle;
  host->RetValue(&value);
  return true;
}

bool PokeCommand() { return Link().Poke(State().command.Text()); }

bool RequestCommand(uint32_t timeout) {
  CommandBuffer& buffer = State().command;
  buffer.Text();
  if (!Link().Request(buffer.Data(), CommandBuffer::kCapacity, timeout)) return false;
  buffer.AdoptText();
  return true;
}

int32_t AnswerNumber(const char* answer) {
  const std::size_t limit = strnlen(answer, 10);
  std::size_t i = 0;
  while (i < limit && answer[i] == ' ') ++i;
  bool negative = false;
  if (i < limit && answer[i] == '-') {
    negative = true;
    ++i;
  }
  int64_t value = 0;
  for (; i < limit && std::isdigit(static_cast<unsigned char>(answer[i])); ++i) {
    value = value * 10 + (answer[i] - '0');
  }
  // Ten characters hold at most nine digits after a sign: no overflow of int32 beyond this.
  if (value > INT32_MAX) value = INT32_MAX;
  return static_cast<int32_t>(negative ? -value : value);
}

int32_t CurrentWindow() {
  CommandBuffer& buffer = State().command;
  buffer.Reset();
  buffer.AppendString("1 3");
  if (!RequestCommand(State().commandTimeout)) return 0;
  return AnswerNumber(buffer.Text());
}

}  // namespace tavik::hostlib
