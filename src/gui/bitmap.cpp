#include "gui/bitmap.h"

bool TBitmap::LoadFromResourceName(const std::wstring& name)
{
    SetHandle(UniqueBitmap(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))));
    return !Empty();
}

void TBitmap::SetHandle(UniqueBitmap bitmap)
{
    handle_ = std::move(bitmap);
    width_ = height_ = 0;
    HBITMAP bmp = handle_.get();
    if (!bmp)
        return;
    BITMAP info{};
    GetObjectW(bmp, sizeof(info), &info);
    width_ = info.bmWidth;
    height_ = info.bmHeight;
    UniqueDc dc(CreateCompatibleDC(nullptr));
    SelectObjectGuard sel(dc.get(), bmp);
    transparentColor_ = GetPixel(dc.get(), 0, height_ - 1);
}

void TBitmap::DrawTransparent(HDC dc, int x, int y, int srcX, int w, int h, int dpi) const
{
    if (!handle_)
        return;
    UniqueDc src(CreateCompatibleDC(dc));
    SelectObjectGuard sel(src.get(), handle_.get());
    TransparentBlt(dc, x, y, MulDiv(w, dpi, 96), MulDiv(h, dpi, 96), src.get(), srcX, 0, w, h,
                   transparentColor_);
}
