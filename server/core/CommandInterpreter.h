// What the DDE layer asks of the command interpreter.
#pragma once

#include <windows.h>
#include <ddeml.h>

#include <string>

namespace tavik {

// Carries out a poked command text. `target` is the window whose record is locked for the
// command (0 or -1 when none); a command naming another window exchanges it. Returns the
// opcode carried out, or 0 on any failure.
int InterpretCommand(const char* text, HWND& target);

// Answers a request whose item text begins with `opcode`; false when it fails or the opcode
// serves no request.
bool AnswerRequest(int opcode, const char* text, std::string& answer);

// Data pokes: image file bytes for the current window, the printer or a file, using the
// parameters of the last data-transfer command. False when the operation fails.
bool ShowFromData(HWND window, HDDEDATA data);
bool ShowBitmapFromData(HWND window, HDDEDATA data);
bool PrintFromData(HDDEDATA data);
bool ConvertFromData(HDDEDATA data);

}  // namespace tavik
