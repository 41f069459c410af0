#pragma once
// Shows the hourglass for as long as it lives and then puts the previous cursor back.
#include <windows.h>

class TWaitCursor {
public:
    TWaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~TWaitCursor() { SetCursor(previous_); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;

private:
    HCURSOR previous_;
};
