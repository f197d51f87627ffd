#pragma once
// The exports of UlvaneSpell.dll: plain C, standard call, 32-bit numbers, nothing thrown across.

#include <windows.h>

extern "C" {

// Unpacks the base-list string for word length index + 1 from RCDATA 2000 + index of `module`
// into `buffer`, which holds the size string's count plus one characters. Non-zero on success.
int WINAPI LoadStrings(HMODULE module, int index, char* buffer, int key);
// Binary search of `word` among the records of `list` (record width = length of word); on a miss
// `low` and `high` bound the place where it belongs. Non-zero when found.
int WINAPI BFindWord(const wchar_t* word, const wchar_t* list, int* low, int* high);
// Linear scan of the `length`-character records of `list`, ignoring letter case.
int WINAPI FindWordInString(const char* word, const char* list, int length);
// Writes the next word from the 1-based `position` into `buffer` (256 bytes) and returns the
// position just past it; an empty word at the end of the text.
int WINAPI GetNextWordC(int position, const char* text, char* buffer);
// The wavy underline from leftX to rightX at markY in colorNow, kept off the selection.
int WINAPI DrawSquiggles(HDC dc, int leftX, int markY, int rightX, int selStartX, int selEndX, int selEndTopY,
                         int selStartBottomY, COLORREF eraseColor, COLORREF passiveColor, COLORREF colorNow);
}
