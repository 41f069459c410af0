#include "runtime/ansi_path.h"

#include <windows.h>

#include <vector>

#include "runtime/ansi.h"

TShortPathFunction ShortPathNameFunction = GetShortPathNameW;

namespace {

std::vector<std::wstring> SplitAtBackslash(const std::wstring& path)
{
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (size_t at; (at = path.find(L'\\', start)) != std::wstring::npos; start = at + 1)
        parts.push_back(path.substr(start, at - start));
    parts.push_back(path.substr(start));
    return parts;
}

// One of the platform's path conversions (GetShortPathNameW, GetLongPathNameW); empty when it fails.
std::wstring Converted(const std::function<DWORD(LPCWSTR, LPWSTR, DWORD)>& convert, const std::wstring& path)
{
    const DWORD size = convert(path.c_str(), nullptr, 0);
    if (size == 0)
        return {};
    std::wstring result(size, L'\0');
    const DWORD n = convert(path.c_str(), result.data(), size);
    if (n == 0 || n >= size)
        return {};
    result.resize(n);
    return result;
}

}  // namespace

std::wstring ShortPathOf(const std::wstring& path)
{
    return Converted(ShortPathNameFunction, path);
}

std::optional<std::string> AnsiPathOf(const std::wstring& path)
{
    if (std::optional<std::string> exact = ExactAnsi(path))
        return exact;
    const std::wstring shortPath = ShortPathOf(path);
    const std::vector<std::wstring> longParts = SplitAtBackslash(path);
    const std::vector<std::wstring> shortParts = SplitAtBackslash(shortPath);
    if (shortPath.empty() || shortParts.size() != longParts.size())
        return std::nullopt;
    // Names the code page holds keep their long form: only the others take their short one.
    std::string result;
    for (size_t i = 0; i < longParts.size(); ++i) {
        std::optional<std::string> part = ExactAnsi(longParts[i]);
        if (!part)
            part = ExactAnsi(shortParts[i]);
        if (!part)
            return std::nullopt;
        if (i > 0)
            result += '\\';
        result += *part;
    }
    return result;
}

std::string ShownPathOf(const std::string& path)
{
    const std::wstring wide = AnsiToWide(path);
    if (wide.find(L'~') == std::wstring::npos)
        return path;  // no name in a short form: nothing to look up
    const std::wstring longPath = Converted(GetLongPathNameW, wide);
    const std::vector<std::wstring> given = SplitAtBackslash(wide);
    const std::vector<std::wstring> known = SplitAtBackslash(longPath);
    if (longPath.empty() || known.size() != given.size())
        return path;
    std::string result;
    for (size_t i = 0; i < given.size(); ++i) {
        // A name that is its own long form keeps its letter case as given.
        const bool same = CompareStringOrdinal(given[i].data(), static_cast<int>(given[i].size()), known[i].data(),
                                               static_cast<int>(known[i].size()), TRUE) == CSTR_EQUAL;
        if (i > 0)
            result += '\\';
        result += WideToAnsi(same ? given[i] : known[i]);
    }
    return result;
}

std::wstring WideCurrentDirectory()
{
    std::wstring dir(MAX_PATH + 1, L'\0');
    DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(dir.size()), dir.data());
    if (n >= dir.size()) {
        dir.resize(n + 1);
        n = GetCurrentDirectoryW(static_cast<DWORD>(dir.size()), dir.data());
    }
    dir.resize(n < dir.size() ? n : 0);
    return dir;
}

std::string CurrentDirectory()
{
    // The ANSI call would give a look-alike of a name the code page cannot hold: another folder's name.
    const std::wstring dir = WideCurrentDirectory();
    if (std::optional<std::string> path = AnsiPathOf(dir))
        return *path;
    return WideToAnsi(dir);  // no exact form: entering it fails, as it should
}

std::wstring LongCurrentDirectory()
{
    // The lists enter a folder the code page cannot name by its short name.
    const std::wstring dir = WideCurrentDirectory();
    const std::wstring longForm = Converted(GetLongPathNameW, dir);
    return longForm.empty() ? dir : longForm;
}
