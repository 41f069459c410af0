#pragma once
// Double-byte code pages: whether a byte starts a two-byte character, whose second byte may look like
// "\", ":" or "|" and must not be taken for one.

// True for a lead byte of the system's ANSI code page; never without Windows, where the single-byte
// code pages of the program's users are assumed.
bool IsLeadByte(char c);
