#pragma once
// Works a modal dialog of this thread from inside its own message loop, as a user would: a thread
// timer looks for the next dialog box (class #32770) that appears and runs the action on it once.
#include <windows.h>

#include <functional>
#include <string>

#include "window_poller.h"

class DialogDriver {
public:
    explicit DialogDriver(std::function<void(HWND dialog)> action) : action_(std::move(action)) {}
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    bool Done() const { return done_; }
    // What the dialog showed: its caption and the text of its static controls, joined by '\n'.
    const std::wstring& Caption() const { return caption_; }
    const std::wstring& Text() const { return text_; }

    // Clicks a button of the dialog as the mouse would (posted, so the action returns first).
    static void Press(HWND dialog, int id);

private:
    void Found(HWND dialog);

    std::function<void(HWND)> action_;
    bool done_ = false;
    std::wstring caption_;
    std::wstring text_;
    WindowPoller poller_{L"#32770", [this](HWND dialog) { Found(dialog); }};
};
