#pragma once
// One button of the spin pair: a speed button that repeats its click while held down (first after
// FirstRepeatDelay, then every RepeatInterval) and can show a focus frame.
#include <memory>

#include "gui/speed_button.h"
#include "gui/timer.h"

class TTimerSpeedButton : public TSpeedButton {
public:
    static constexpr unsigned FirstRepeatDelay = 400;
    static constexpr unsigned RepeatInterval = 100;

    explicit TTimerSpeedButton(TComponent* owner) : TSpeedButton(owner) {}

    bool RepeatEnabled() const { return repeatEnabled_; }
    void SetRepeatEnabled(bool on) { repeatEnabled_ = on; }
    bool ShowFocusFrame() const { return showFocusFrame_; }
    void SetShowFocusFrame(bool on);
    // Made on the first press; null before.
    TTimer* AutoRepeatTimer() const { return autoRepeatTimer_.get(); }

    // The left button went down on the part (before the repeat starts).
    TNotifyEvent OnMouseDown;

protected:
    void MouseDown() override;
    void MouseUp() override;
    void MouseCaptureLost() override;
    void Paint(HDC dc) override;

private:
    void TimerExpired();

    bool repeatEnabled_ = false;
    bool showFocusFrame_ = false;
    std::unique_ptr<TTimer> autoRepeatTimer_;
};
