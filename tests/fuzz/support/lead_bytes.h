#pragma once
// The fuzz build's answer to "is this a lead byte?", in place of the platform's: a single-byte code page,
// or a double-byte one laid out like Shift-JIS (lead bytes 0x81-0x9F and 0xE0-0xFC, trail bytes that can be
// "\" or "|"), chosen by each input.
#include <string>
#include <vector>

void UseDoubleByteCodePage(bool on);

// The positions where the characters of text start, under the code page in use.
std::vector<size_t> CharacterStarts(const std::string& text);
// Whether c stands in text as a whole character, not as the second byte of one.
bool HasWholeCharacter(const std::string& text, char c);
// Whether the text ends inside a character (a lead byte with nothing after it).
bool EndsInsideCharacter(const std::string& text);
// Whether the last character of text is c (a whole character, not a second byte).
bool EndsWithWholeCharacter(const std::string& text, char c);
// The text cut at every whole character c; n cuts give n + 1 pieces.
std::vector<std::string> SplitAtWholeCharacter(const std::string& text, char c);
