#pragma once
// A bitmap loaded from the program's resources; drawn transparent where it has the colour of its
// bottom-left pixel.
#include <string>

#include "gui/handles.h"

class TBitmap {
public:
    TBitmap() = default;
    // Loads the named bitmap resource; false when there is none.
    bool LoadFromResourceName(const std::wstring& name);
    // Takes the bitmap over; its size is read from it.
    void SetHandle(UniqueBitmap bitmap);
    bool Empty() const { return !handle_; }
    HBITMAP Handle() const { return handle_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF TransparentColor() const { return transparentColor_; }
    // Draws the part srcX..srcX+w of the bitmap at x, y scaled to w*scale/96 and h*scale/96.
    void DrawTransparent(HDC dc, int x, int y, int srcX, int w, int h, int dpi = 96) const;

private:
    UniqueBitmap handle_;
    int width_ = 0;
    int height_ = 0;
    COLORREF transparentColor_ = 0;
};
