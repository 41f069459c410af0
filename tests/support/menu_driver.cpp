#include "menu_driver.h"

void MenuDriver::Found(HWND window)
{
    HMENU menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
    if (!menu)
        return;
    const int count = GetMenuItemCount(menu);
    if (!shown_) {
        shown_ = true;
        RECT r{};
        GetWindowRect(window, &r);
        position_ = {r.left, r.top};
        for (int i = 0; i < count; ++i)
            commands_.push_back(GetMenuItemID(menu, i) == static_cast<UINT>(-1) ? 0 : GetMenuItemID(menu, i));
        if (OnShown)
            OnShown();
    }
    bool present = false;
    UINT highlighted = 0;
    for (int i = 0; i < count; ++i) {
        const UINT id = GetMenuItemID(menu, i);
        present |= command_ && id == command_;
        if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE)
            highlighted = id;
    }
    if (!present || ++presses_ > 2 * count + 2) {
        poller_.Stop();
        PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    } else if (highlighted == command_) {
        poller_.Stop();
        PostMessageW(window, WM_CHAR, '\r', 0);
    } else {
        PostMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
    }
}
