#pragma once
// Conversion between the program's single-byte ANSI text and the platform's UTF-16.
#include <optional>
#include <string>

std::wstring AnsiToWide(const std::string& text);
// Never a look-alike: a character the code page lacks becomes "?" (Año gives A?o, not Ano). For texts that
// are shown or written out, never for names handed back to the platform.
std::string WideToAnsi(const std::wstring& text);
// The text in the ANSI code page when the code page holds every character of it exactly; none otherwise.
std::optional<std::string> ExactAnsi(const std::wstring& text);
