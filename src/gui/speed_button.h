#pragma once
// A flat button that never takes the focus: raised when the pointer is over it, sunk while pressed,
// and it clicks when the mouse button is released over it. A picture may stand beside the caption.
#include "gui/bitmap.h"
#include "gui/win_control.h"

enum class TButtonLayout { blGlyphLeft, blGlyphRight };

class TSpeedButton : public TWinControl {
public:
    explicit TSpeedButton(TComponent* owner);

    // The picture: NumGlyphs images of equal width side by side (up, disabled, clicked, down).
    void SetGlyph(const std::wstring& resourceName, int numGlyphs = 1);
    const TBitmap& Glyph() const { return glyph_; }
    int NumGlyphs() const { return numGlyphs_; }
    void SetLayout(TButtonLayout layout) { layout_ = layout; }
    void SetFlat(bool flat) { flat_ = flat; }

    // Clicks as the mouse would.
    virtual void Click();
    TNotifyEvent OnClick;

    // Drawn pressed: the left button went down on it, and the pointer is over it now.
    bool DrawnPressed() const { return pressed_ && mouseInside_; }
    bool HasCapture() const { return HandleAllocated() && GetCapture() == Handle(); }

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    virtual void MouseDown();
    virtual void MouseUp();
    // Another window took the mouse while the button was held: it is released without a click.
    virtual void MouseCaptureLost();
    virtual void Paint(HDC dc);

private:
    void UpdateInside(LPARAM lParam);

    TBitmap glyph_;
    int numGlyphs_ = 1;
    TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
    bool flat_ = true;
    bool pressed_ = false;
    bool mouseInside_ = false;
    bool hot_ = false;
};
