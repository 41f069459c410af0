#include "gui/image.h"

void TImage::SetIcon(const std::wstring& resourceName)
{
    icon_.reset(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), resourceName.c_str(), IMAGE_ICON, Scale(32), Scale(32), 0)));
    Invalidate();
}

void TImage::SetBitmap(TBitmap bitmap)
{
    bitmap_ = std::move(bitmap);
    Invalidate();
}

void TImage::SetStretch(bool on)
{
    stretch_ = on;
    Invalidate();
}

LRESULT TImage::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT) {
        PaintDc paint(Handle());
        const HDC dc = paint.get();
        const RECT& rc = paint.client();
        FillRect(dc, &rc, BackgroundBrush());
        if (!bitmap_.Empty()) {
            UniqueDc src(CreateCompatibleDC(dc));
            SelectObjectGuard sel(src.get(), bitmap_.Handle());
            if (stretch_) {
                // Halftone averages the pixels a shrunk picture drops, so a photograph keeps its look.
                SetStretchBltMode(dc, HALFTONE);
                SetBrushOrgEx(dc, 0, 0, nullptr);
                StretchBlt(dc, 0, 0, rc.right, rc.bottom, src.get(), 0, 0, bitmap_.Width(), bitmap_.Height(),
                           SRCCOPY);
            } else {
                BitBlt(dc, 0, 0, bitmap_.Width(), bitmap_.Height(), src.get(), 0, 0, SRCCOPY);
            }
        } else if (icon_) {
            DrawIconEx(dc, 0, 0, icon_.get(), Scale(32), Scale(32), 0, nullptr, DI_NORMAL);
        }
        return 0;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}
