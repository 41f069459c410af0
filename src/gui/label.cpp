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

namespace {

// How far right the text's ink reaches when drawn from x 0, in pixels; 0 for no ink. Some fonts draw
// wider than their measured advances (under Wine a small hinted sans serif does by a few pixels), and
// a label sized by the advances alone would cut its last letter.
int InkWidth(HDC dc, HFONT font, const std::wstring& text, int width, int height)
{
    if (text.empty() || width <= 0 || height <= 0)
        return 0;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueDc mem(CreateCompatibleDC(dc));
    if (!bitmap || !bits || !mem)
        return 0;
    SelectObjectGuard selBitmap(mem.get(), bitmap.get());
    SelectObjectGuard selFont(mem.get(), font);
    RECT r{0, 0, width, height};
    SetBkColor(mem.get(), RGB(255, 255, 255));
    ExtTextOutW(mem.get(), 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    SetTextColor(mem.get(), RGB(0, 0, 0));
    SetBkMode(mem.get(), TRANSPARENT);
    DrawTextW(mem.get(), text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    int ink = 0;
    for (int y = 0; y < height; ++y)
        for (int x = width - 1; x >= ink; --x)
            if ((pixels[y * width + x] & 0xFFFFFF) != 0xFFFFFF) {
                ink = x + 1;
                break;
            }
    return ink;
}

}  // namespace

void TLabel::AdjustSize()
{
    if (!autoSize_ || !HandleAllocated())
        return;
    const std::wstring text = Caption();
    SIZE size{};
    {
        const WindowDc window(Handle());
        const HDC dc = window.get();
        SelectObjectGuard font(dc, FontHandle());
        // Measured the way the static control draws it, plus the overhang of a slanted last letter.
        RECT r{0, 0, 0, 0};
        DrawTextW(dc, text.empty() ? L" " : text.c_str(), text.empty() ? 1 : static_cast<int>(text.size()), &r,
                  DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        size.cx = text.empty() ? 0 : r.right + (tm.tmItalic ? tm.tmAveCharWidth + tm.tmOverhang : 0);
        size.cy = r.bottom;
        const int ink = InkWidth(dc, FontHandle(), text, r.right + 2 * tm.tmAveCharWidth + 4, r.bottom);
        if (ink > size.cx)
            size.cx = ink;
    }
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
