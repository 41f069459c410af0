#include "dialogs/common_dialog.h"

#include <commdlg.h>
#include <float.h>

#include <vector>

#include "gui/application.h"
#include "gui/form.h"
#include "gui/window_take_over.h"

TCommonDialog* DialogBeingCreated = nullptr;
std::function<void(int)> HelpContextHandler;

namespace {

// The active window when the running dialog was started: the form the dialog belongs to.
HWND g_windowBeforeDialog = nullptr;

BOOL CALLBACK DisableTaskWindow(HWND window, LPARAM lParam)
{
    if (IsWindowVisible(window) && IsWindowEnabled(window)) {
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(window);
        EnableWindow(window, FALSE);
    }
    return TRUE;
}

// Every other window of the application is disabled for the life of the dialog; afterwards they are
// enabled again, the window that was active is activated and the focus goes back where it was.
class TTaskWindowsDisabled {
public:
    TTaskWindowsDisabled() : active_(GetActiveWindow()), previousBefore_(g_windowBeforeDialog)
    {
        g_windowBeforeDialog = active_;
        EnumThreadWindows(GetCurrentThreadId(), DisableTaskWindow, reinterpret_cast<LPARAM>(&disabled_));
        focus_ = GetFocus();
    }
    ~TTaskWindowsDisabled()
    {
        for (HWND window : disabled_)
            if (IsWindow(window))
                EnableWindow(window, TRUE);
        if (active_ && IsWindow(active_))
            SetActiveWindow(active_);
        if (focus_ && IsWindow(focus_))
            SetFocus(focus_);
        g_windowBeforeDialog = previousBefore_;
    }
    TTaskWindowsDisabled(const TTaskWindowsDisabled&) = delete;
    TTaskWindowsDisabled& operator=(const TTaskWindowsDisabled&) = delete;

private:
    HWND active_;
    HWND previousBefore_;
    HWND focus_ = nullptr;
    std::vector<HWND> disabled_;
};

// A platform dialog may change the floating-point settings; they are put back as they were.
class TFloatingPointState {
public:
    TFloatingPointState() : control_(_controlfp(0, 0)) {}
    ~TFloatingPointState()
    {
        _clearfp();
        _controlfp(control_, kMask);
    }
    TFloatingPointState(const TFloatingPointState&) = delete;
    TFloatingPointState& operator=(const TFloatingPointState&) = delete;

private:
    static constexpr unsigned kMask = _MCW_EM | _MCW_RC | _MCW_DN;
    unsigned control_;
};

BOOL CALLBACK FirstMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM lParam)
{
    *reinterpret_cast<HMONITOR*>(lParam) = monitor;
    return FALSE;
}

TForm* FormOf(HWND window)
{
    return window ? dynamic_cast<TForm*>(TWinControl::FromHandle(window)) : nullptr;
}

HMONITOR ReferenceMonitor()
{
    TForm* form = FormOf(g_windowBeforeDialog ? g_windowBeforeDialog : GetActiveWindow());
    if (!form)
        form = Application().MainForm();
    if (form && form->HandleAllocated())
        return MonitorFromWindow(form->Handle(), MONITOR_DEFAULTTONEAREST);
    HMONITOR first = nullptr;
    EnumDisplayMonitors(nullptr, nullptr, FirstMonitor, reinterpret_cast<LPARAM>(&first));
    return first ? first : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
}

}  // namespace

UINT HelpMessageId()
{
    static const UINT id = RegisterWindowMessageA("commdlg_help");
    return id;
}

TCommonDialog::TCommonDialog(TComponent* owner) : TComponent(owner) {}

void TCommonDialog::TakeOver(HWND window, WPARAM wParam, LPARAM lParam)
{
    TCommonDialog* dialog = DialogBeingCreated;
    if (!dialog)
        return;
    dialog->AttachDialogWindow(window);
    if (dialog->DialogWindow() == window)
        dialog->ObjectWindowProc(WM_INITDIALOG, wParam, lParam);
    DialogBeingCreated = nullptr;
}

TCommonDialog::~TCommonDialog()
{
    DetachDialogWindow();
    if (DialogBeingCreated == this)
        DialogBeingCreated = nullptr;
}

void TCommonDialog::AttachDialogWindow(HWND window)
{
    // The dialog's own procedure works on ANSI messages, as the ANSI dialog functions made it.
    dialogWindow_.Attach(
        window, this, [this](UINT msg, WPARAM wParam, LPARAM lParam) { return ObjectWindowProc(msg, wParam, lParam); },
        TWindowTakeOver::TCharacters::Ansi);
}

void TCommonDialog::DetachDialogWindow()
{
    dialogWindow_.Release();
}

// An event handler that fails is told to the user by the take-over's barrier, and the dialog stays open.
LRESULT TCommonDialog::ObjectWindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessage message{msg, wParam, lParam, 0};
    DialogWindowProc(message);
    return message.Result;
}

void TCommonDialog::DefaultHandler(TMessage& message)
{
    message.Result = dialogWindow_.CallPrevious(message.Msg, message.WParam, message.LParam);
}

void TCommonDialog::DoShow()
{
    if (OnShow)
        OnShow();
}

void TCommonDialog::DoClose()
{
    if (OnClose)
        OnClose();
}

void TCommonDialog::DialogWindowProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_INITDIALOG:
        DoShow();
        message.Result = 0;
        break;
    case WM_DESTROY:
        DefaultHandler(message);
        DoClose();
        break;
    case WM_NCDESTROY:
        // The window is gone after this.
        DefaultHandler(message);
        DetachDialogWindow();
        break;
    default:
        DefaultHandler(message);
        break;
    }
}

bool TCommonDialog::HelpMessageHook(TMessage& message)
{
    if (message.Msg != HelpMessageId() || helpContext_ == 0)
        return false;
    if (HelpContextHandler)
        HelpContextHandler(helpContext_);
    message.Result = 0;
    return true;
}

BOOL TCommonDialog::RunTaskModal(const std::function<BOOL()>& dialogFunction)
{
    TTaskWindowsDisabled windows;
    // The application's owner window hands its messages to HelpMessageHook first.
    TWindowTakeOver helpHook;
    helpHook.Attach(Application().Handle(), this, [this, &helpHook](UINT msg, WPARAM wParam, LPARAM lParam) {
        TMessage message{msg, wParam, lParam, 0};
        if (HelpMessageHook(message))
            return message.Result;
        return helpHook.CallPrevious(msg, wParam, lParam);
    });
    TFloatingPointState floatingPoint;
    DialogBeingCreated = this;
    struct TClearCreating {
        ~TClearCreating() { DialogBeingCreated = nullptr; }
    } clearCreating;
    return dialogFunction();
}

UINT_PTR CALLBACK ClassicDialogHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        if (message == WM_INITDIALOG) {
            CenterDialogWindow(window);
            TCommonDialog::TakeOver(window, wParam, lParam);
        }
    } catch (...) {
        Application().HandleCurrentException();
    }
    return 0;
}

UINT_PTR CALLBACK ExplorerDialogHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        if (message == WM_INITDIALOG)
            TCommonDialog::TakeOver(window, wParam, lParam);
        else if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == static_cast<UINT>(CDN_INITDONE))
            CenterDialogWindow(GetParent(window));
    } catch (...) {
        Application().HandleCurrentException();
    }
    return 0;
}

void CenterDialogWindow(HWND window)
{
    RECT rect{};
    if (!window || !GetWindowRect(window, &rect))
        return;
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(ReferenceMonitor(), &info))
        return;
    const RECT& m = info.rcMonitor;
    const int left = m.left + ((m.right - m.left) - (rect.right - rect.left)) / 2;
    const int top = m.top + ((m.bottom - m.top) - (rect.bottom - rect.top)) / 3;
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
