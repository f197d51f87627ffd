// The opcode table: for every opcode its name, whether it may be poked and whether it is served
// as a request, and the parsers that turn its text into a Command.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "CommandArgs.h"

namespace tavik {

// What the DDE layer does with the window after a command succeeded.
enum OpcodeTrait : uint32_t {
  kTraitDrawing = 0x1,         // mark the locked record drawn and invalidate the window
  kTraitTextOutput = 0x2,      // as drawing, except on the print page
  kTraitDestroysWindow = 0x4,  // the record is gone: nothing is left to unlock
};

// Reads the arguments after the opcode; false when one that is required is missing or bad.
using ArgumentParser = bool (*)(CommandCursor&, Command&);

struct OpcodeInfo {
  Op op;
  std::string_view name;
  ArgumentParser poke;     // null: rejected when poked
  ArgumentParser request;  // null: the request answers nothing
  uint32_t traits;
};

// Every opcode the server knows, in ascending order.
std::span<const OpcodeInfo> OpcodeTable();

// The entry of an opcode, null for opcodes the server does not know.
const OpcodeInfo* FindOpcode(int32_t op);

bool OpcodeHasTrait(int32_t op, uint32_t trait);

// A whole command text: the opcode, then its arguments. nullopt when the text is empty, the
// opcode is missing or rejected when poked, or an argument is missing.
std::optional<Command> ParsePoke(std::string_view text);

// A whole request item: a leading decimal opcode, then its arguments. nullopt when no opcode can
// be read, the opcode is not served, or an argument is missing. A create request whose title
// cannot be read reports error 105 as the server always has.
std::optional<Command> ParseRequest(std::string_view item);

}  // namespace tavik
