#pragma once
// A key press posted to a window and the loop run over it, as typing would deliver it, with Ctrl held
// when asked.
#include <windows.h>

#include "gui/application.h"

inline void PressKey(HWND target, WPARAM vk, bool ctrl = false)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(keys);
    PostMessageW(target, WM_KEYDOWN, vk, 1);
    Application().ProcessMessages();
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}
