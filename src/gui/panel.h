#pragma once
// A plain container with an optional single border and optional bevels: an outer one at its edge and
// an inner one just inside it, each raised or lowered.
#include "gui/win_control.h"

enum class TPanelBevel { bvNone, bvLowered, bvRaised };

class TPanel : public TWinControl {
public:
    explicit TPanel(TComponent* owner) : TWinControl(owner) {}
    void SetBorder(bool single) { border_ = single; }
    TPanelBevel BevelOuter() const { return outer_; }
    void SetBevelOuter(TPanelBevel bevel);
    TPanelBevel BevelInner() const { return inner_; }
    void SetBevelInner(TPanelBevel bevel);

protected:
    void CreateParams(TCreateParams& params) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    bool border_ = false;
    TPanelBevel outer_ = TPanelBevel::bvNone;
    TPanelBevel inner_ = TPanelBevel::bvNone;
};

// Draws a one-pixel frame just inside rc: raised is light at the top and left and dark at the bottom
// and right, lowered the other way round. Returns rc shrunk by the frame.
RECT DrawBevelFrame(HDC dc, RECT rc, TPanelBevel bevel);
