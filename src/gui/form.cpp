#include "gui/form.h"

#include "gui/application.h"

SetLayeredWindowAttributesProc SetLayeredWindowAttributesPtr = nullptr;

void LoadLayeredWindowApi()
{
    if (HMODULE user = GetModuleHandleW(L"User32.dll"))
        SetLayeredWindowAttributesPtr = reinterpret_cast<SetLayeredWindowAttributesProc>(
            reinterpret_cast<void*>(GetProcAddress(user, "SetLayeredWindowAttributes")));
}

TForm::TForm(TComponent* owner) : TWinControl(owner)
{
    SetVisible(false);
    SetColor(clBtnFace);
    SetFont(TFont(L"MS Sans Serif", -11, clWindowText));
    Application().RegisterForm(this);
}

TForm::~TForm()
{
    Application().FormDestroyed(this);
}

void TForm::SetClientSize(int width, int height)
{
    clientWidth_ = width;
    clientHeight_ = height;
    if (HandleAllocated()) {
        const RECT r = CreateRect();
        SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TForm::CreateParams(TCreateParams& params)
{
    params.style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
    if (systemMenu_)
        params.style |= WS_SYSMENU | WS_MINIMIZEBOX;
    params.exStyle = WS_EX_CONTROLPARENT;
    if (Application().MainForm() == this)
        params.exStyle |= WS_EX_APPWINDOW;
}

HWND TForm::ParentWindowForCreate() const
{
    return Application().Handle();
}

RECT TForm::CreateRect() const
{
    TCreateParams params;
    const_cast<TForm*>(this)->CreateParams(params);
    RECT r{0, 0, Scale(clientWidth_), Scale(clientHeight_)};
    AdjustWindowRectEx(&r, params.style, FALSE, params.exStyle);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    int x = Scale(Left());
    int y = Scale(Top());
    if (position_ == TPosition::poScreenCenter) {
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        x = work.left + ((work.right - work.left) - w) / 2;
        y = work.top + ((work.bottom - work.top) - h) / 2;
    }
    return RECT{x, y, x + w, y + h};
}

void TForm::CreateWnd()
{
    TWinControl::CreateWnd();
    if (alphaBlend_)
        ApplyLayered();
}

void TForm::SetVisible(bool visible)
{
    const bool wasHidden = !HandleAllocated() || !IsWindowVisible(Handle());
    if (visible)
        HandleNeeded();
    if (visible && wasHidden && position_ == TPosition::poScreenCenter) {
        const RECT r = CreateRect();
        SetWindowPos(Handle(), nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    TWinControl::SetVisible(visible);
    if (visible && HandleAllocated())
        SetForegroundWindow(Handle());
}

void TForm::Close()
{
    if (HandleAllocated())
        SendMessageW(Handle(), WM_CLOSE, 0, 0);
}

void TForm::DoCreate()
{
    try {
        FormCreate();
    } catch (...) {
        Application().HandleCurrentException();
    }
}

LRESULT TForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_ACTIVATE:
        // The control that had the keyboard gets it back when the window is active again (after a message
        // box, a dialog, another program); the platform would give it to the window itself.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(Handle(), focus))
                focused_ = focus;
        } else if (!HIWORD(wParam) && focused_ && IsWindow(focused_) && IsChild(Handle(), focused_) &&
                   IsWindowEnabled(focused_) && IsWindowVisible(focused_)) {
            ::SetFocus(focused_);
            return 0;
        }
        break;
    case WM_CLOSE:
        if (Application().MainForm() == this) {
            Application().Terminate();
            return 0;
        }
        Hide();
        return 0;
    default:
        break;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}

void TForm::SetAlphaBlend(bool on)
{
    if (on == alphaBlend_)
        return;
    alphaBlend_ = on;
    ApplyLayered();
}

void TForm::SetAlphaBlendValue(BYTE value)
{
    if (value == alphaBlendValue_)
        return;
    alphaBlendValue_ = value;
    if (alphaBlend_)
        ApplyLayered();
}

void TForm::ApplyLayered()
{
    if (!HandleAllocated() || !SetLayeredWindowAttributesPtr)
        return;
    LONG ex = GetWindowLongA(Handle(), GWL_EXSTYLE);
    if (alphaBlend_) {
        if (!(ex & WS_EX_LAYERED))
            SetWindowLongA(Handle(), GWL_EXSTYLE, ex | WS_EX_LAYERED);
        SetLayeredWindowAttributesPtr(Handle(), 0, alphaBlendValue_, LWA_ALPHA);
    } else if (ex & WS_EX_LAYERED) {
        SetWindowLongA(Handle(), GWL_EXSTYLE, ex & ~WS_EX_LAYERED);
    }
}
