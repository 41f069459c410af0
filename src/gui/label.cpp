#include "gui/label.h"

void TLabel::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.className = L"STATIC";
    params.style |= SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY;
}

// Made at the size of its text (CreateRect): moving a label after it is made cost a start more than measuring.
RECT TLabel::CreateRect() const
{
    RECT r = TWinControl::CreateRect();
    if (autoSize_) {
        const SIZE size = const_cast<TLabel*>(this)->TextSize();
        r.right = r.left + size.cx;
        r.bottom = r.top + size.cy;
    }
    return r;
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

// Measured on a memory DC like the screen's: a window's own DC would cost a trip to the window manager for its
// visible region, and the label need not exist yet.
SIZE TLabel::TextSize()
{
    const std::wstring text = Caption();
    const UniqueDc dc(CreateCompatibleDC(nullptr));
    SelectObjectGuard font(dc.get(), FontHandle());
    // Measured the way the static control draws it, plus the overhang of a slanted last letter.
    RECT r{0, 0, 0, 0};
    DrawTextW(dc.get(), text.empty() ? L" " : text.c_str(), text.empty() ? 1 : static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.get(), &tm);
    SIZE size{text.empty() ? 0 : r.right + (tm.tmItalic ? tm.tmAveCharWidth + tm.tmOverhang : 0), r.bottom};
    const int ink = InkWidth(dc.get(), FontHandle(), text, r.right + 2 * tm.tmAveCharWidth + 4, r.bottom);
    if (ink > size.cx)
        size.cx = ink;
    return size;
}

void TLabel::AdjustSize()
{
    if (!autoSize_ || !HandleAllocated())
        return;
    const SIZE size = TextSize();
    RECT now{};
    GetWindowRect(Handle(), &now);
    if (now.right - now.left == size.cx && now.bottom - now.top == size.cy)
        return;  // a clock's next second, as a rule
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
