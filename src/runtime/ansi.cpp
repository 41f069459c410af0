#include "runtime/ansi.h"

#include <windows.h>

#include <type_traits>

namespace {

// Plain ASCII is the same in every ANSI code page and in UTF-16, character for character: most names are
// nothing else, and a copy costs a fraction of the platform's conversion (a million names in a folder).
template <typename Char>
bool PlainAscii(const std::basic_string<Char>& text)
{
    for (Char c : text)
        if (static_cast<std::make_unsigned_t<Char>>(c) >= 0x80)
            return false;
    return true;
}

}  // namespace

std::wstring AnsiToWide(const std::string& text)
{
    if (text.empty())
        return {};
    if (PlainAscii(text))
        return std::wstring(text.begin(), text.end());
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), n);
    return result;
}

namespace {

// Without WC_NO_BEST_FIT_CHARS the platform picks look-alikes: a fullwidth asterisk becomes a wildcard,
// a division slash a path separator. lost is set when some character had no exact form.
std::string Convert(const std::wstring& text, bool& lost)
{
    lost = false;
    if (text.empty())
        return {};
    if (PlainAscii(text))
        return std::string(text.begin(), text.end());
    // A UTF-8 code page holds everything, and refuses the flags below.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* used = utf8 ? nullptr : &usedDefault;
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_ACP, flags, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, flags, text.data(), size, result.data(), n, nullptr, used);
    lost = usedDefault != FALSE;
    return result;
}

}  // namespace

std::string WideToAnsi(const std::wstring& text)
{
    bool lost = false;
    return Convert(text, lost);
}

std::optional<std::string> ExactAnsi(const std::wstring& text)
{
    bool lost = false;
    std::string result = Convert(text, lost);
    // What comes back must be the text itself: anything else was not held exactly.
    if (lost || AnsiToWide(result) != text)
        return std::nullopt;
    return result;
}
