#pragma once
// Works a popup menu of this thread from inside its own loop, as a user at the keyboard would: a thread
// timer waits for the menu to show, notes its items, then moves the highlight down to the item with the
// wanted command and presses Return, or presses Escape when no command is wanted.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "window_poller.h"

class MenuDriver {
public:
    // command 0: close the menu without choosing.
    explicit MenuDriver(UINT command) : command_(command) {}
    MenuDriver(const MenuDriver&) = delete;
    MenuDriver& operator=(const MenuDriver&) = delete;

    // The menu was seen.
    bool Shown() const { return shown_; }
    // Its command numbers, in order (0 for separators), as the menu was when it showed.
    const std::vector<UINT>& Commands() const { return commands_; }
    // Its screen position when it showed.
    POINT Position() const { return position_; }

    // Runs once while the menu is up, when it is first seen.
    std::function<void()> OnShown;

private:
    void Found(HWND window);

    UINT command_;
    bool shown_ = false;
    int presses_ = 0;
    std::vector<UINT> commands_;
    POINT position_{};
    WindowPoller poller_{L"#32768", [this](HWND window) { Found(window); }};
};
