#pragma once
// Paths between the platform's UTF-16 and the ANSI calls the lists and the listing file make.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

// The platform's short form of a path (GetShortPathNameW, with its arguments and result). A volume may make
// no short names at all, and the call then gives the long name back: tests put such a function here.
using TShortPathFunction = std::function<DWORD(LPCWSTR longPath, LPWSTR shortPath, DWORD size)>;
extern TShortPathFunction ShortPathNameFunction;
// The short form of an existing path through that function; empty when the call fails.
std::wstring ShortPathOf(const std::wstring& path);

// A path the ANSI calls take for the same file or folder: the path itself when the code page holds it
// exactly, else with each name it cannot hold replaced by that name's short form. None when some name
// has neither (no short form, or the path does not exist).
std::optional<std::string> AnsiPathOf(const std::wstring& path);

// The process's current directory in a form the ANSI calls take for that very folder (see AnsiPathOf).
std::string CurrentDirectory();
// The process's current directory as the platform holds it, for the wide calls.
std::wstring WideCurrentDirectory();
// The same with each name in its long form: comparable with the paths the shell gives.
std::wstring LongCurrentDirectory();

// The path as the user knows it: names given in their short form shown by their long names ("?" for
// what the code page cannot show); every other name as it stands.
std::string ShownPathOf(const std::string& path);
