#include "widgets/timer_speed_button.h"

void TTimerSpeedButton::SetShowFocusFrame(bool on)
{
    if (on != showFocusFrame_) {
        showFocusFrame_ = on;
        Invalidate();
    }
}

void TTimerSpeedButton::MouseDown()
{
    TSpeedButton::MouseDown();
    if (OnMouseDown)
        OnMouseDown();
    if (repeatEnabled_) {
        if (!autoRepeatTimer_) {
            autoRepeatTimer_ = std::make_unique<TTimer>(this);
            autoRepeatTimer_->SetEnabled(false);
            autoRepeatTimer_->SetOnTimer([this] { TimerExpired(); });
        }
        autoRepeatTimer_->SetInterval(FirstRepeatDelay);
        autoRepeatTimer_->SetEnabled(true);
    }
}

void TTimerSpeedButton::MouseUp()
{
    TSpeedButton::MouseUp();
    if (autoRepeatTimer_)
        autoRepeatTimer_->SetEnabled(false);
}

void TTimerSpeedButton::MouseCaptureLost()
{
    TSpeedButton::MouseCaptureLost();
    // The press is over: no more repeats.
    if (autoRepeatTimer_)
        autoRepeatTimer_->SetEnabled(false);
}

void TTimerSpeedButton::TimerExpired()
{
    autoRepeatTimer_->SetInterval(RepeatInterval);
    if (DrawnPressed() && HasCapture()) {
        try {
            Click();
        } catch (...) {
            autoRepeatTimer_->SetEnabled(false);
            throw;
        }
    }
}

void TTimerSpeedButton::Paint(HDC dc)
{
    TSpeedButton::Paint(dc);
    if (showFocusFrame_) {
        RECT r;
        GetClientRect(Handle(), &r);
        InflateRect(&r, -3, -3);
        if (DrawnPressed())
            OffsetRect(&r, 1, 1);
        DrawFocusRect(dc, &r);
    }
}
