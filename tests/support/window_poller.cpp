#include "window_poller.h"

#include <cwchar>
#include <map>

namespace {

struct Search {
    const wchar_t* windowClass;
    HWND found;
};

BOOL CALLBACK FindWindowOfClass(HWND hwnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<Search*>(lParam);
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    if (IsWindowVisible(hwnd) && wcscmp(cls, search->windowClass) == 0) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

std::map<UINT_PTR, WindowPoller*>& Pollers()
{
    static std::map<UINT_PTR, WindowPoller*> pollers;
    return pollers;
}

}  // namespace

HWND FindThreadWindow(const wchar_t* windowClass)
{
    Search search{windowClass, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindWindowOfClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

WindowPoller::WindowPoller(const wchar_t* windowClass, std::function<void(HWND)> found)
    : windowClass_(windowClass), found_(std::move(found))
{
    timer_ = SetTimer(nullptr, 0, 50, Tick);
    if (timer_)
        Pollers()[timer_] = this;
}

void WindowPoller::Stop()
{
    if (!timer_)
        return;
    KillTimer(nullptr, timer_);
    Pollers().erase(timer_);
    timer_ = 0;
}

void CALLBACK WindowPoller::Tick(HWND, UINT, UINT_PTR id, DWORD)
{
    const auto it = Pollers().find(id);
    if (it == Pollers().end())
        return;
    WindowPoller* poller = it->second;
    if (HWND window = FindThreadWindow(poller->windowClass_))
        poller->found_(window);
}
