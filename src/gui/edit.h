#pragma once
// A one-line edit; OnChange on every change of its text, typed or set.
#include "gui/win_control.h"

class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* owner);
    TNotifyEvent OnChange;
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    void SelectAll();

protected:
    void CreateParams(TCreateParams& params) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    virtual void Change();

private:
    bool readOnly_ = false;
};
