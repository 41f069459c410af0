#pragma once
// A frame drawn around a part of its parent: a lowered box. Whatever it frames lies above it.
#include "gui/win_control.h"

class TBevel : public TWinControl {
public:
    explicit TBevel(TComponent* owner) : TWinControl(owner) {}

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};
