#include <cstdio>
#include <string>

#include "CommandInterpreter.h"
#include "DdeServer.h"
#include "DdeTransactions.h"

namespace tavik {
namespace {

char gItemBuffer[kDdeTextBufferSize];
int gLastOpcode = 0;

// Opcodes that answer requests; every other one answers 0.
bool ServesRequests(int opcode) {
  switch (opcode) {
    case 1: case 26: case 27: case 28: case 57: case 58: case 59:
    case 71: case 72: case 75: case 77: case 86: case 95:
      return true;
    default:
      return false;
  }
}

}  // namespace

int LastOpcode() { return gLastOpcode; }
void SetLastOpcode(int opcode) { gLastOpcode = opcode; }

HDDEDATA OnRequest(UINT format, HSZ item) {
  if (format != CF_TEXT) return nullptr;
  if (!QueryItemText(item, gItemBuffer, sizeof gItemBuffer)) return nullptr;
  int opcode = 0;
  if (std::sscanf(gItemBuffer, "%d", &opcode) != 1) return nullptr;
  gLastOpcode = opcode;
  if (opcode >= 96 || !ServesRequests(opcode)) return nullptr;
  // The handler may run a nested message loop in which another request reuses the buffer.
  const std::string text(gItemBuffer);
  std::string answer;
  if (!AnswerRequest(opcode, text.c_str(), answer)) return nullptr;
  return TextDataHandle(item, answer.c_str());
}

}  // namespace tavik
