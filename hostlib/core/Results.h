// Results through the host's result services, and the helpers every command function shares.
#pragma once

#include "LibraryKit.h"
#include "LibraryState.h"
#include "Parameters.h"

#include <cstdint>
#include <string_view>

namespace tavik::hostlib {

inline constexpr int32_t kHandleWidth = 10;

void ReturnInt(int32_t value, int32_t width = kHandleWidth);
void ReturnLogical(bool value);
// A character result in a host memory handle; false (with the memory box) when none is left.
bool ReturnString(std::string_view text);
void ReturnValue(const KitValue& value);
void ShowMemoryShortage();

// Pokes the command buffer's text.
bool PokeCommand();
// Requests the command buffer's text; on success the buffer holds the answer.
bool RequestCommand(uint32_t timeout);
// The number at the start of an answer: up to 10 characters, blanks, a sign, digits, a
// fraction; truncated. 0 when there are no digits.
int32_t AnswerNumber(const char* answer);
// The server's current window (request "1 3"); 0 when the request fails.
int32_t CurrentWindow();
// The current window -1 stands for the page between IMSTARTPAG and IMENDPAGE.
inline constexpr int32_t kPageWindow = -1;

}  // namespace tavik::hostlib
