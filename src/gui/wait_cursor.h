#pragma once
// The hourglass while it lives; the previous cursor comes back at the end, also on failure.
#include <windows.h>

class TWaitCursor {
public:
    // Shows the hourglass now, or only at Show (for work that may turn out short).
    explicit TWaitCursor(bool showNow = true) : previous_(GetCursor())
    {
        if (showNow)
            Show();
    }
    ~TWaitCursor() { SetCursor(previous_); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
    void Show() { SetCursor(LoadCursorW(nullptr, IDC_WAIT)); }

private:
    HCURSOR previous_;
};
