#pragma once
// While one lives, folders have no short names, as on a volume of Windows 10 or 11 other than the system
// drive: the short-name call gives the long name back. Wine always makes short names.
#include <windows.h>

#include <cwchar>

#include "runtime/ansi_path.h"

class NoShortNames {
public:
    NoShortNames()
    {
        ShortPathNameFunction = [](LPCWSTR longPath, LPWSTR shortPath, DWORD size) -> DWORD {
            const DWORD length = static_cast<DWORD>(std::wcslen(longPath));
            if (!shortPath || size <= length)
                return length + 1;
            std::wcscpy(shortPath, longPath);
            return length;
        };
    }
    ~NoShortNames() { ShortPathNameFunction = GetShortPathNameW; }
    NoShortNames(const NoShortNames&) = delete;
    NoShortNames& operator=(const NoShortNames&) = delete;
};
