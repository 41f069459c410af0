#pragma once
// A timer on the GUI thread: OnTimer every Interval milliseconds while enabled. Without a handler
// no platform timer exists at all.
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
    static void __stdcall TimerProc(struct HWND__*, unsigned, unsigned long long, unsigned long);

    unsigned interval_ = 1000;
    bool enabled_ = true;
    TNotifyEvent onTimer_;
    unsigned long long id_ = 0;
};
