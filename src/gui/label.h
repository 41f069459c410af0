#pragma once
// A line of static text, clickable when OnClick is set. With AutoSize (the default) it takes the size
// of its text, so no font the system substitutes cuts it off.
#include "gui/win_control.h"

class TLabel : public TWinControl {
public:
    explicit TLabel(TComponent* owner) : TWinControl(owner) {}
    void SetCaption(const std::wstring& caption) override;
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    TNotifyEvent OnClick;

protected:
    void CreateParams(TCreateParams& params) override;
    RECT CreateRect() const override;
    void FontChanged() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    SIZE TextSize();
    void AdjustSize();
    bool autoSize_ = true;
};
