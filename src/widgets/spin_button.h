#pragma once
// The up/down button pair of the spin edit: two repeating buttons stacked so that they share one pixel
// row, answering the arrow keys and the space key when the pair itself has the focus.
#include <string>

#include "gui/win_control.h"
#include "widgets/timer_speed_button.h"

class TSpinButton : public TWinControl {
public:
    explicit TSpinButton(TComponent* owner);

    TTimerSpeedButton& UpPart() { return upPart_; }
    TTimerSpeedButton& DownPart() { return downPart_; }
    TTimerSpeedButton* FocusedPart() const { return focusedPart_; }
    void SetFocusedPart(TTimerSpeedButton* part);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* control) { focusControl_ = control; }

    // An empty name restores the part's own glyph with one image.
    void SetUpGlyph(const std::wstring& resourceName, int numGlyphs = 1);
    void SetDownGlyph(const std::wstring& resourceName, int numGlyphs = 1);
    int UpNumGlyphs() const { return upPart_.NumGlyphs(); }
    int DownNumGlyphs() const { return downPart_.NumGlyphs(); }

    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

    // Lays the parts out for a pair of width w and height h (96-DPI pixels).
    void FitParts(int w, int h);

protected:
    void CreateParams(TCreateParams& params) override;
    void ApplyBounds() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void PartPressed(TTimerSpeedButton& part);
    bool AcceptsFocusChange() const;

    TTimerSpeedButton upPart_{this};
    TTimerSpeedButton downPart_{this};
    TTimerSpeedButton* focusedPart_ = &upPart_;
    TWinControl* focusControl_ = nullptr;
};
