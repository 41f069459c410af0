#include "gui/speed_button.h"

#include <windowsx.h>

TSpeedButton::TSpeedButton(TComponent* owner) : TWinControl(owner) {}

void TSpeedButton::SetGlyph(const std::wstring& resourceName, int numGlyphs)
{
    glyph_.LoadFromResourceName(resourceName);
    numGlyphs_ = numGlyphs < 1 ? 1 : numGlyphs;
    Invalidate();
}

void TSpeedButton::Click()
{
    if (OnClick)
        OnClick();
}

void TSpeedButton::MouseDown()
{
    pressed_ = true;
    mouseInside_ = true;
    SetCapture(Handle());
    Invalidate();
}

void TSpeedButton::MouseUp()
{
    const bool click = pressed_ && mouseInside_;
    pressed_ = false;
    if (HasCapture())
        ReleaseCapture();
    Invalidate();
    if (click)
        Click();
}

void TSpeedButton::MouseCaptureLost()
{
    pressed_ = false;
    Invalidate();
}

void TSpeedButton::UpdateInside(LPARAM lParam)
{
    RECT rc;
    GetClientRect(Handle(), &rc);
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const bool inside = PtInRect(&rc, pt) != FALSE;
    if (inside != mouseInside_) {
        mouseInside_ = inside;
        Invalidate();
    }
}

LRESULT TSpeedButton::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (Enabled())
            MouseDown();
        return 0;
    case WM_LBUTTONUP:
        if (pressed_) {
            UpdateInside(lParam);
            MouseUp();
        }
        return 0;
    case WM_MOUSEMOVE:
        if (!hot_) {
            hot_ = true;
            TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, Handle(), 0};
            TrackMouseEvent(&tme);
            Invalidate();
        }
        if (pressed_)
            UpdateInside(lParam);
        return 0;
    case WM_MOUSELEAVE:
        hot_ = false;
        Invalidate();
        return 0;
    case WM_CAPTURECHANGED:
        if (pressed_ && reinterpret_cast<HWND>(lParam) != Handle())
            MouseCaptureLost();
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PaintDc paint(Handle());
        Paint(paint.get());
        return 0;
    }
    default:
        break;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}

void TSpeedButton::Paint(HDC dc)
{
    RECT rc;
    GetClientRect(Handle(), &rc);
    FillRect(dc, &rc, BackgroundBrush());
    const bool down = DrawnPressed();
    if (down)
        DrawEdge(dc, &rc, BDR_SUNKENOUTER, BF_RECT);
    else if (hot_ && Enabled())
        DrawEdge(dc, &rc, BDR_RAISEDINNER, BF_RECT);
    else if (!flat_)
        DrawEdge(dc, &rc, EDGE_RAISED, BF_RECT);

    const std::wstring caption = Caption();
    SelectObjectGuard font(dc, FontHandle());
    SIZE text{};
    if (!caption.empty())
        GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
    const int glyphW = glyph_.Empty() ? 0 : Scale(glyph_.Width() / numGlyphs_);
    const int glyphH = glyph_.Empty() ? 0 : Scale(glyph_.Height());
    const int spacing = (glyphW && text.cx) ? Scale(4) : 0;
    const int total = text.cx + spacing + glyphW;
    const int shift = down ? 1 : 0;
    int x = (rc.right - total) / 2 + shift;
    const int textX = layout_ == TButtonLayout::blGlyphRight ? x : x + glyphW + spacing;
    const int glyphX = layout_ == TButtonLayout::blGlyphRight ? x + text.cx + spacing : x;
    if (!caption.empty()) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, Enabled() ? ColorToRGB(Font().Color()) : GetSysColor(COLOR_GRAYTEXT));
        TextOutW(dc, textX, (rc.bottom - text.cy) / 2 + shift, caption.c_str(), static_cast<int>(caption.size()));
    }
    if (glyphW) {
        const int w = glyph_.Width() / numGlyphs_;
        const int index = (!Enabled() && numGlyphs_ > 1) ? 1 : (down && numGlyphs_ > 2) ? 2 : 0;
        glyph_.DrawTransparent(dc, glyphX, (rc.bottom - glyphH) / 2 + shift, index * w, w, glyph_.Height(), Dpi());
    }
}
