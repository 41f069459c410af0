#include "runtime/ansi.h"

#include <windows.h>

#include <algorithm>
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
    // No byte of any code page makes more than one UTF-16 unit (a four-byte UTF-8 character makes two): one call
    // into room enough, instead of one to measure and one to convert.
    std::wstring result(text.size(), L'\0');
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(),
                                      static_cast<int>(result.size()));
    result.resize(static_cast<size_t>(n > 0 ? n : 0));
    return result;
}

namespace {

// The most bytes the ANSI code page makes of one UTF-16 unit: two in a double-byte code page, three in UTF-8.
size_t MaxBytesPerUnit()
{
    static const size_t most = [] {
        CPINFO info{};
        return GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 0 ? std::min<size_t>(info.MaxCharSize, 3) : 3;
    }();
    return most;
}

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
    // One call into room for the longest form (measuring first cost as much as converting: 100,000 long names,
    // 0.1 s), then a copy of what it made.
    const int size = static_cast<int>(text.size());
    thread_local std::string room;
    room.resize(std::max(room.size(), text.size() * MaxBytesPerUnit()));
    const int n = WideCharToMultiByte(CP_ACP, flags, text.data(), size, room.data(), static_cast<int>(room.size()),
                                      nullptr, used);
    lost = usedDefault != FALSE;
    return std::string(room.data(), static_cast<size_t>(n > 0 ? n : 0));
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
