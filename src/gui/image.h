#pragma once
// A picture: an icon from the program's resources drawn at the control's size.
#include <string>

#include "gui/win_control.h"

class TImage : public TWinControl {
public:
    explicit TImage(TComponent* owner) : TWinControl(owner) {}
    void SetIcon(const std::wstring& resourceName);
    HICON Icon() const { return icon_.get(); }

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    UniqueIcon icon_;
};
