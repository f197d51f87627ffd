// One handler per DDE transaction type; DdeCallback validates and hands each to its handler.
#pragma once

#include <windows.h>
#include <ddeml.h>

namespace tavik {

inline constexpr size_t kDdeTextBufferSize = 256;  // command and item-name buffers
inline constexpr size_t kAdviseBufferSize = 512;

HDDEDATA OnConnect(HSZ topic, HSZ service);
HDDEDATA OnRequest(UINT format, HSZ item);
HDDEDATA OnPoke(UINT format, HSZ item, HDDEDATA data);
HDDEDATA OnAdviseStart(UINT format, HSZ topic, HSZ item);
HDDEDATA OnAdviseStop(UINT format, HSZ topic, HSZ item);
HDDEDATA OnAdviseRequest(UINT format, HSZ item);

// The text that advise requests answer while a notification is being posted.
void SetAdviseText(const char* text);

// A CF_TEXT data handle holding `text` for `item`; DDEML frees it after delivery.
HDDEDATA TextDataHandle(HSZ item, const char* text);

// Copies the text of a string handle into `buffer` (NUL-terminated). False when the text does
// not fit in `size` - 1 bytes: a longer text is refused, never cut and parsed.
bool QueryItemText(HSZ item, char* buffer, size_t size);
// Copies poked text data into `buffer`; false unless a NUL ends it within `size` bytes.
bool CopyPokedText(HDDEDATA data, char* buffer, size_t size);

// The opcode of the last command poke or request.
int LastOpcode();
void SetLastOpcode(int opcode);

}  // namespace tavik
