#pragma once
// A plain container with an optional single border.
#include "gui/win_control.h"

class TPanel : public TWinControl {
public:
    explicit TPanel(TComponent* owner) : TWinControl(owner) {}
    void SetBorder(bool single) { border_ = single; }

protected:
    void CreateParams(TCreateParams& params) override;

private:
    bool border_ = false;
};
