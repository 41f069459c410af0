#include "runtime/ansi.h"

#include <windows.h>

std::wstring AnsiToWide(const std::string& text)
{
    if (text.empty())
        return {};
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
