#include "gui/panel.h"

void TPanel::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.style |= WS_CLIPCHILDREN;
    if (border_)
        params.style |= WS_BORDER;
    params.exStyle |= WS_EX_CONTROLPARENT;
}

void TPanel::SetBevelOuter(TPanelBevel bevel)
{
    outer_ = bevel;
    Invalidate();
}

void TPanel::SetBevelInner(TPanelBevel bevel)
{
    inner_ = bevel;
    Invalidate();
}

LRESULT TPanel::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT) {
        PaintDc paint(Handle());
        DrawBevelFrame(paint.get(), DrawBevelFrame(paint.get(), paint.client(), outer_), inner_);
        return 0;
    }
    if (msg == WM_SIZE)
        Invalidate();  // the bevels stand at the edges
    return TWinControl::WndProc(msg, wParam, lParam);
}

RECT DrawBevelFrame(HDC dc, RECT rc, TPanelBevel bevel)
{
    if (bevel == TPanelBevel::bvNone || rc.right - rc.left < 2 || rc.bottom - rc.top < 2)
        return rc;
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF topLeft = bevel == TPanelBevel::bvRaised ? light : dark;
    const COLORREF bottomRight = bevel == TPanelBevel::bvRaised ? dark : light;
    auto line = [dc](int left, int top, int right, int bottom, COLORREF color) {
        const RECT r{left, top, right, bottom};
        SetBkColor(dc, color);
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    };
    line(rc.left, rc.top, rc.right - 1, rc.top + 1, topLeft);
    line(rc.left, rc.top, rc.left + 1, rc.bottom - 1, topLeft);
    line(rc.left, rc.bottom - 1, rc.right, rc.bottom, bottomRight);
    line(rc.right - 1, rc.top, rc.right, rc.bottom, bottomRight);
    return RECT{rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1};
}
