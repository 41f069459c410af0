#pragma once
// Finds what a thread shows while it sits in a modal loop (a dialog box, a popup menu): a thread timer,
// which runs inside any loop of the thread, looks every 50 ms for a visible window of one class.
#include <windows.h>

#include <functional>

// A visible top-level window of the class ("#32770" a dialog box, "#32768" a popup menu) on this thread,
// or nullptr.
HWND FindThreadWindow(const wchar_t* windowClass);

// Hands every window of the class it finds to found(), tick after tick, until stopped or destroyed.
class WindowPoller {
public:
    WindowPoller(const wchar_t* windowClass, std::function<void(HWND)> found);
    ~WindowPoller() { Stop(); }
    WindowPoller(const WindowPoller&) = delete;
    WindowPoller& operator=(const WindowPoller&) = delete;

    void Stop();

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);

    const wchar_t* windowClass_;
    std::function<void(HWND)> found_;
    UINT_PTR timer_ = 0;
};
