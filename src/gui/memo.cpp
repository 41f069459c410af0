#include "gui/memo.h"

void TMemo::CreateParams(TCreateParams& params)
{
    TEdit::CreateParams(params);
    if (wordWrap_)
        params.style &= ~ES_AUTOHSCROLL;
    params.style |= ES_MULTILINE | ES_WANTRETURN;
}

std::vector<std::wstring> TMemo::Lines() const
{
    std::vector<std::wstring> lines;
    const std::wstring text = Caption();
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) {
            if (start < text.size())
                lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

void TMemo::SetLines(const std::vector<std::wstring>& lines)
{
    std::wstring text;
    for (const auto& line : lines)
        text += line + L"\r\n";
    SetCaption(text);
}
