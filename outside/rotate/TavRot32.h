// TAVROT32.DLL: reorients a packed DIB into one of the eight corner orders.
//
// Entry point, exported by ordinal 2 (and by name as "ReorientDIB"), standard call:
//
//   BOOL WINAPI ReorientDIB(const BYTE* corners, const BYTE* cornersAgain, HGLOBAL dib,
//                           LONG reserved, HGLOBAL* result, HGLOBAL* unused);
//
//   corners       four bytes: which source corner (A = 0 top left, B = 1 top right,
//                 C = 2 bottom right, D = 3 bottom left) goes to the result's top-left,
//                 top-right, bottom-right and bottom-left corner.
//   cornersAgain  the same four bytes again (callers pass them twice; they are not read).
//   dib           a global memory block holding a packed DIB (40- or 12-byte header, 1, 4, 8 or
//                 24 bits, uncompressed); it is only read.
//   reserved      0.
//   result        receives a new movable global block with the reoriented DIB (40-byte
//                 header, colour table copied, one spare zero row); the caller frees it.
//   unused        may be null; set to 0 when given.
//
// Returns TRUE and sets *result when done, FALSE (and *result 0) for a corner order that is not
// one of the eight, a DIB it cannot read, or too little memory.
#pragma once

#include <windows.h>

inline constexpr WORD kReorientOrdinal = 2;
using ReorientDibFn = BOOL(WINAPI*)(const BYTE* corners, const BYTE* cornersAgain, HGLOBAL dib,
                                     LONG reserved, HGLOBAL* result, HGLOBAL* unused);
