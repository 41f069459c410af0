#pragma once
// A top-level window holding controls: client size at 96 DPI, centring, fixed border without title-bar
// buttons, the creation handler, and constant transparency through a layered window.
#include "gui/win_control.h"

using SetLayeredWindowAttributesProc = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
// Looked up by name in User32.dll when the program starts; null where the platform lacks it.
// Tests put their own function here to watch the calls.
extern SetLayeredWindowAttributesProc SetLayeredWindowAttributesPtr;
void LoadLayeredWindowApi();

enum class TPosition { poDesigned, poScreenCenter };

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }
    void SetClientSize(int width, int height);
    void SetPosition(TPosition position) { position_ = position; }
    // With the system menu come the title-bar buttons; without it, none.
    void SetSystemMenu(bool on) { systemMenu_ = on; }
    // Shown from hidden, a centred window is centred again.
    void SetVisible(bool visible) override;
    // Closes the window as its close box would: the main window ends the program, any other hides.
    void Close();

    bool AlphaBlend() const { return alphaBlend_; }
    void SetAlphaBlend(bool on);
    BYTE AlphaBlendValue() const { return alphaBlendValue_; }
    void SetAlphaBlendValue(BYTE value);

    // A key pressed in the window: true when it was one of the window's shortcuts, which it then ran.
    virtual bool IsShortCut(const MSG& /*msg*/) { return false; }

    // While the window is busy (an export runs to its end inside a command) it takes no input: the
    // message loop drops the mouse and keyboard messages meant for it and its controls, so no command
    // starts inside another one when messages run mid-way (the printer's abort procedure). Repaints,
    // timers and posted work still run.
    bool Busy() const { return busy_ > 0; }
    void BeginBusy() { ++busy_; }
    void EndBusy() { --busy_; }

protected:
    void CreateParams(TCreateParams& params) override;
    HWND ParentWindowForCreate() const override;
    RECT CreateRect() const override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void CreateWnd() override;
    // Runs the creation handler; a failure there is shown and the window is made all the same.
    void DoCreate();
    virtual void FormCreate() {}

private:
    void ApplyLayered();

    int clientWidth_ = 0;
    int clientHeight_ = 0;
    TPosition position_ = TPosition::poDesigned;
    bool systemMenu_ = true;
    bool alphaBlend_ = false;
    BYTE alphaBlendValue_ = 255;
    int busy_ = 0;
    HWND focused_ = nullptr;  // the control that had the keyboard when the window was last deactivated
};

// The window is busy for the life of the guard.
class TBusyForm {
public:
    explicit TBusyForm(TForm& form) : form_(form) { form_.BeginBusy(); }
    ~TBusyForm() { form_.EndBusy(); }
    TBusyForm(const TBusyForm&) = delete;
    TBusyForm& operator=(const TBusyForm&) = delete;

private:
    TForm& form_;
};
