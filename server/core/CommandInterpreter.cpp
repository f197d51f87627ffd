#include "CommandInterpreter.h"

// The interpreter serves no opcode yet: every command and request answers 0, every data poke
// fails, as the protocol prescribes for opcodes it does not serve.

namespace tavik {

int InterpretCommand(const char*, HWND&) { return 0; }
bool AnswerRequest(int, const char*, std::string&) { return false; }
bool ShowFromData(HWND, HDDEDATA) { return false; }
bool ShowBitmapFromData(HWND, HDDEDATA) { return false; }
bool PrintFromData(HDDEDATA) { return false; }
bool ConvertFromData(HDDEDATA) { return false; }

}  // namespace tavik
