#include "gui/bevel.h"

#include "gui/panel.h"

LRESULT TBevel::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT) {
        PaintDc paint(Handle());
        DrawBevelFrame(paint.get(), paint.client(), TPanelBevel::bvLowered);
        return 0;
    }
    if (msg == WM_NCHITTEST)
        return HTTRANSPARENT;  // clicks go to what lies beneath
    return TWinControl::WndProc(msg, wParam, lParam);
}
