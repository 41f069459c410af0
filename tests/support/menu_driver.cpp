#include "menu_driver.h"

namespace {
MenuDriver* g_active = nullptr;

BOOL CALLBACK FindMenu(HWND hwnd, LPARAM lParam)
{
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    if (IsWindowVisible(hwnd) && wcscmp(cls, L"#32768") == 0) {
        *reinterpret_cast<HWND*>(lParam) = hwnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

MenuDriver::MenuDriver(UINT command) : command_(command)
{
    g_active = this;
    timer_ = SetTimer(nullptr, 0, 50, Tick);
}

MenuDriver::~MenuDriver()
{
    if (timer_)
        KillTimer(nullptr, timer_);
    if (g_active == this)
        g_active = nullptr;
}

void CALLBACK MenuDriver::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_active)
        g_active->Poll();
}

void MenuDriver::Poll()
{
    if (done_)
        return;
    HWND window = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindMenu, reinterpret_cast<LPARAM>(&window));
    if (!window)
        return;
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
        done_ = true;
        PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    } else if (highlighted == command_) {
        done_ = true;
        PostMessageW(window, WM_CHAR, '\r', 0);
    } else {
        PostMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
    }
}
