#include "gui/image.h"

void TImage::SetIcon(const std::wstring& resourceName)
{
    icon_.reset(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), resourceName.c_str(), IMAGE_ICON, Scale(32), Scale(32), 0)));
    Invalidate();
}

LRESULT TImage::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        RECT rc;
        GetClientRect(Handle(), &rc);
        FillRect(dc, &rc, BackgroundBrush());
        if (icon_)
            DrawIconEx(dc, 0, 0, icon_.get(), Scale(32), Scale(32), 0, nullptr, DI_NORMAL);
        EndPaint(Handle(), &ps);
        return 0;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}
