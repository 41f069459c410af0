#include "lead_bytes.h"

#include "runtime/lead_byte.h"

namespace {
bool g_doubleByte = false;
}  // namespace

void UseDoubleByteCodePage(bool on)
{
    g_doubleByte = on;
}

bool IsLeadByte(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return g_doubleByte && ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC));
}

std::vector<size_t> CharacterStarts(const std::string& text)
{
    std::vector<size_t> starts;
    for (size_t i = 0; i < text.size(); i += IsLeadByte(text[i]) ? 2 : 1)
        starts.push_back(i);
    return starts;
}

bool HasWholeCharacter(const std::string& text, char c)
{
    for (size_t i : CharacterStarts(text))
        if (text[i] == c)
            return true;
    return false;
}

bool EndsInsideCharacter(const std::string& text)
{
    const std::vector<size_t> starts = CharacterStarts(text);
    return !starts.empty() && IsLeadByte(text[starts.back()]) && starts.back() + 1 == text.size();
}

bool EndsWithWholeCharacter(const std::string& text, char c)
{
    const std::vector<size_t> starts = CharacterStarts(text);
    return !starts.empty() && starts.back() + 1 == text.size() && text.back() == c;
}

std::vector<std::string> SplitAtWholeCharacter(const std::string& text, char c)
{
    std::vector<std::string> pieces(1);
    const std::vector<size_t> starts = CharacterStarts(text);
    for (size_t n = 0; n < starts.size(); ++n) {
        const size_t end = n + 1 < starts.size() ? starts[n + 1] : text.size();
        if (text[starts[n]] == c && end == starts[n] + 1)
            pieces.emplace_back();
        else
            pieces.back() += text.substr(starts[n], end - starts[n]);
    }
    return pieces;
}
