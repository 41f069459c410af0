#pragma once
// Conversion between the program's single-byte ANSI text and the platform's UTF-16.
#include <string>

std::wstring AnsiToWide(const std::string& text);
std::string WideToAnsi(const std::wstring& text);
