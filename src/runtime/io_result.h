#pragma once
// I/O result codes of the file operations and the messages the user is shown for them.
#include <string>

// The program's own codes, besides the operating system's error codes.
constexpr int ioFileNotOpen = 103;
constexpr int ioNotWritable = 105;

// The message for an I/O result code: the fixed texts, else "I/O error <code>".
std::string InOutErrorMessage(int code);

// Raises EInOutError when code is not 0.
void CheckInOutResult(int code);
