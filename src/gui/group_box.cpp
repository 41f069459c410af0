#include "gui/group_box.h"

#include <uxtheme.h>

void TGroupBox::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.className = L"BUTTON";
    params.style |= BS_GROUPBOX | WS_CLIPCHILDREN;
    // The dialog manager goes into the box for Tab and the arrow keys.
    params.exStyle |= WS_EX_CONTROLPARENT;
}

void TGroupBox::CreateWnd()
{
    TWinControl::CreateWnd();
    SetWindowTheme(Handle(), L" ", L" ");  // no class of the theme matches: classic drawing
}

LRESULT TGroupBox::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // The group box is transparent by default; paint its own background so children sit on its colour.
    if (msg == WM_ERASEBKGND) {
        RECT rc;
        GetClientRect(Handle(), &rc);
        FillRect(reinterpret_cast<HDC>(wParam), &rc, BackgroundBrush());
        return 1;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}
