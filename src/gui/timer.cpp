#include "gui/timer.h"

#include <windows.h>

#include <map>

#include "gui/application.h"

namespace {
std::map<UINT_PTR, TTimer*>& Timers()
{
    static std::map<UINT_PTR, TTimer*> timers;
    return timers;
}
}  // namespace

TTimer::~TTimer()
{
    enabled_ = false;
    Update();
}

void TTimer::SetInterval(unsigned ms)
{
    if (ms != interval_) {
        interval_ = ms;
        if (id_) {  // restart with the new interval
            KillTimer(nullptr, id_);
            Timers().erase(id_);
            id_ = 0;
        }
        Update();
    }
}

void TTimer::SetEnabled(bool enabled)
{
    if (enabled != enabled_) {
        enabled_ = enabled;
        Update();
    }
}

void TTimer::SetOnTimer(TNotifyEvent handler)
{
    onTimer_ = std::move(handler);
    Update();
}

void TTimer::Update()
{
    const bool want = enabled_ && interval_ > 0 && onTimer_;
    if (want && !id_) {
        id_ = SetTimer(nullptr, 0, interval_, &TTimer::TimerProc);
        if (id_)
            Timers()[id_] = this;
    } else if (!want && id_) {
        KillTimer(nullptr, id_);
        Timers().erase(id_);
        id_ = 0;
    }
}

void TTimer::Tick()
{
    if (onTimer_)
        onTimer_();
}

void CALLBACK TTimer::TimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    const auto it = Timers().find(id);
    if (it == Timers().end())
        return;
    try {
        it->second->Tick();
    } catch (...) {
        Application().HandleCurrentException();
    }
}
