#pragma once
// A picture: an icon from the program's resources drawn at the control's size, or a bitmap, drawn
// at its own size or, with Stretch, stretched to the control's.
#include <string>

#include "gui/bitmap.h"
#include "gui/win_control.h"

class TImage : public TWinControl {
public:
    explicit TImage(TComponent* owner) : TWinControl(owner) {}
    void SetIcon(const std::wstring& resourceName);
    HICON Icon() const { return icon_.get(); }
    void SetBitmap(TBitmap bitmap);
    const TBitmap& Bitmap() const { return bitmap_; }
    bool Stretch() const { return stretch_; }
    void SetStretch(bool on);

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    UniqueIcon icon_;
    TBitmap bitmap_;
    bool stretch_ = false;
};
