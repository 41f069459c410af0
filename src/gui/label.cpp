#include "gui/label.h"

void TLabel::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.className = L"STATIC";
    params.style |= SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY;
}

void TLabel::CreateWnd()
{
    TWinControl::CreateWnd();
    AdjustSize();
}

void TLabel::FontChanged()
{
    TWinControl::FontChanged();
    AdjustSize();
}

void TLabel::SetCaption(const std::wstring& caption)
{
    TWinControl::SetCaption(caption);
    AdjustSize();
}

void TLabel::SetAutoSize(bool on)
{
    autoSize_ = on;
    AdjustSize();
}

void TLabel::AdjustSize()
{
    if (!autoSize_ || !HandleAllocated())
        return;
    const std::wstring text = Caption();
    HDC dc = GetDC(Handle());
    SIZE size{};
    {
        SelectObjectGuard font(dc, FontHandle());
        // Measured the way the static control draws it, plus the overhang of a slanted last letter.
        RECT r{0, 0, 0, 0};
        DrawTextW(dc, text.empty() ? L" " : text.c_str(), text.empty() ? 1 : static_cast<int>(text.size()), &r,
                  DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        size.cx = text.empty() ? 0 : r.right + (tm.tmItalic ? tm.tmAveCharWidth + tm.tmOverhang : 0);
        size.cy = r.bottom;
    }
    ReleaseDC(Handle(), dc);
    SetWindowPos(Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT TLabel::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == CN_COMMAND) {
        const UINT code = HIWORD(wParam);
        if ((code == STN_CLICKED || code == STN_DBLCLK) && OnClick)
            OnClick();
        return 0;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}
