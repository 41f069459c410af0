#pragma once
// Lower-casing of single-byte text in the ANSI code page, as the user's locale does it.
#include <string>

std::string AnsiLowerCase(std::string text);
