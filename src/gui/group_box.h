#pragma once
// A framed box with a caption that holds other controls. The caption takes the font's colour: the
// visual style would draw it in the theme's own colour, so the box is drawn without one.
#include "gui/win_control.h"

class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(TComponent* owner) : TWinControl(owner) {}

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};
