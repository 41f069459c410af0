#pragma once
// A timer on the GUI thread: OnTimer every Interval milliseconds while enabled. Without a handler
// no platform timer exists at all.
#include <windows.h>

#include "gui/component.h"

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner) : TComponent(owner) {}
    ~TTimer() override;

    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned ms);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    void SetOnTimer(TNotifyEvent handler);
    // Whether a platform timer is running now.
    bool Running() const { return id_ != 0; }
    // Runs the handler as an expiry of the timer does.
    void Tick();

private:
    void Update();
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);

    unsigned interval_ = 1000;
    bool enabled_ = true;
    TNotifyEvent onTimer_;
    UINT_PTR id_ = 0;
};
