#pragma once
// Works the platform's file dialog as a user does: types a name into its file name box and confirms,
// or cancels. A watchdog closes dialogs left open, so a test that goes wrong fails instead of hanging.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dialog_driver.h"

// The edit box the file name is typed into: inside the name combo box (cmb13), or the plain edt1.
inline HWND FileNameEdit(HWND dialog)
{
    if (HWND combo = GetDlgItem(dialog, 0x47c)) {
        if (HWND inner = FindWindowExA(combo, nullptr, "ComboBox", nullptr))
            combo = inner;
        if (HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr))
            return edit;
        return combo;
    }
    return GetDlgItem(dialog, 0x480);
}

inline void TypeFileNameAndConfirm(HWND dialog, const std::string& name)
{
    SetWindowTextA(FileNameEdit(dialog), name.c_str());
    DialogDriver::Press(dialog, IDOK);
}

inline void CancelDialog(HWND dialog)
{
    DialogDriver::Press(dialog, IDCANCEL);
}

// Cancels every dialog box of this thread still open after the given time, again and again, until
// it is destroyed. Fired() tells whether this watchdog had to, so one test's timeout is its own.
class DialogWatchdog {
public:
    explicit DialogWatchdog(UINT milliseconds = 15000)
    {
        timer_ = SetTimer(nullptr, 0, milliseconds, Tick);
        Active().push_back(this);
    }
    ~DialogWatchdog()
    {
        KillTimer(nullptr, timer_);
        auto& active = Active();
        active.erase(std::remove(active.begin(), active.end(), this), active.end());
    }
    DialogWatchdog(const DialogWatchdog&) = delete;
    DialogWatchdog& operator=(const DialogWatchdog&) = delete;
    bool Fired() const { return fired_; }

private:
    static std::vector<DialogWatchdog*>& Active()
    {
        static std::vector<DialogWatchdog*> active;
        return active;
    }
    static BOOL CALLBACK CancelOne(HWND hwnd, LPARAM self)
    {
        wchar_t cls[32] = {};
        GetClassNameW(hwnd, cls, 32);
        if (IsWindowVisible(hwnd) && wcscmp(cls, L"#32770") == 0) {
            reinterpret_cast<DialogWatchdog*>(self)->fired_ = true;
            PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD)
    {
        for (DialogWatchdog* w : Active())
            if (w->timer_ == id)
                EnumThreadWindows(GetCurrentThreadId(), CancelOne, reinterpret_cast<LPARAM>(w));
    }

    UINT_PTR timer_ = 0;
    bool fired_ = false;
};
