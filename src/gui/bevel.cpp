#include "gui/bevel.h"

#include "gui/panel.h"

LRESULT TBevel::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        RECT rc;
        GetClientRect(Handle(), &rc);
        DrawBevelFrame(dc, rc, TPanelBevel::bvLowered);
        EndPaint(Handle(), &ps);
        return 0;
    }
    if (msg == WM_NCHITTEST)
        return HTTRANSPARENT;  // clicks go to what lies beneath
    return TWinControl::WndProc(msg, wParam, lParam);
}
