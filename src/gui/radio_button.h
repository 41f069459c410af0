#pragma once
// A radio button; checking one clears the other radio buttons of the same parent.
#include "gui/win_control.h"

class TRadioButton : public TWinControl {
public:
    explicit TRadioButton(TComponent* owner);
    bool Checked() const;
    void SetChecked(bool checked);
    TNotifyEvent OnClick;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    bool FirstOfGroup() const;
    bool checked_ = false;
};
