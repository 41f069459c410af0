#include "gui/application.h"

#include <commctrl.h>
#include <ole2.h>

#include "gui/form.h"
#include "runtime/ansi.h"
#include "runtime/app_texts.h"
#include "runtime/exceptions.h"

TApplication& Application()
{
    static TApplication app;
    return app;
}

namespace {

bool KeysHeld(HWND target)
{
    const TWinControl* control = TWinControl::OwningControl(target);
    return control && control->HoldsKeyboard();
}

LRESULT CALLBACK HiddenWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

void TApplication::Initialize()
{
    // The shell namespace and the common dialogs want a single-threaded apartment.
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    title_ = TitleFromExeName(path);
    LoadLayeredWindowApi();
    if (!handle_) {
        WNDCLASSEXW wc{sizeof(wc)};
        wc.lpfnWndProc = HiddenWindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"OrvandApplication";
        RegisterClassExW(&wc);
        const std::wstring title = AnsiToWide(title_);
        handle_ = CreateWindowExW(0, wc.lpszClassName, title.c_str(), WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  wc.hInstance, nullptr);
    }
}

int TApplication::Dpi() const
{
    if (!dpi_) {
        dpi_ = GetDeviceCaps(ScreenDc().get(), LOGPIXELSY);
        if (dpi_ <= 0)
            dpi_ = 96;
    }
    return dpi_;
}

void TApplication::RegisterForm(TForm* form)
{
    if (!mainForm_)
        mainForm_ = form;
}

void TApplication::FormDestroyed(TForm* form)
{
    if (form == mainForm_) {
        mainForm_ = nullptr;
        Terminate();
    }
}

namespace {

bool IsUserInput(UINT message)
{
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

}  // namespace

bool TApplication::HandleMessage()
{
    MSG msg;
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
        terminated_ = true;
        return false;
    }
    ProcessMessage(msg);
    return true;
}

void TApplication::ProcessMessage(MSG& msg)
{
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (auto* form = root ? dynamic_cast<TForm*>(TWinControl::FromHandle(root)) : nullptr) {
        if (form->Busy() && IsUserInput(msg.message))
            return;
        // The window's shortcut keys first, then its keyboard order (Tab, arrows in radio groups). An editor
        // open in place keeps its keys: Escape there cancels the edit, it does not ask to leave.
        try {
            if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && !KeysHeld(msg.hwnd) &&
                form->IsShortCut(msg))
                return;
        } catch (...) {
            HandleCurrentException();
            return;
        }
        if (IsDialogMessageW(root, &msg))
            return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

int TApplication::Run()
{
    terminated_ = false;
    running_ = true;
    while (!terminated_ && HandleMessage()) {
    }
    running_ = false;
    return 0;
}

void TApplication::ProcessMessages()
{
    // Each message is taken as it is peeked: a peek followed by GetMessage could block when what the
    // peek saw is gone by then.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // left for the loop
            return;
        }
        ProcessMessage(msg);
    }
}

void TApplication::Terminate()
{
    // Only a running loop is ended: a quit message left in the queue would end the next modal loop
    // (a message box) at once.
    if (running_)
        PostQuitMessage(0);
}

void TApplication::Halt(int exitCode)
{
    if (OnHalt) {
        OnHalt(exitCode);
        throw EAbort();  // the hook returned (tests): unwind silently instead of going on
    }
    ExitProcess(static_cast<UINT>(exitCode));
}

int TApplication::MessageBox(const std::wstring& text, const std::wstring& caption, UINT flags)
{
    HWND owner = GetActiveWindow();
    if (!owner && mainForm_)
        owner = mainForm_->Handle();
    return ::MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}

void TApplication::ShowException(const std::exception& e)
{
    MessageBox(AnsiToWide(MessageWithFullStop(e.what())), AnsiToWide(title_), MB_OK | MB_ICONERROR);
}

void TApplication::HandleException(const std::exception& e) noexcept
{
    if (dynamic_cast<const EAbort*>(&e))
        return;
    try {
        if (OnException)
            OnException(e);
        else
            ShowException(e);
    } catch (...) {
        // Nothing may leave the handler: it runs inside window procedures and callbacks.
    }
}

void TApplication::HandleCurrentException() noexcept
{
    try {
        throw;
    } catch (const std::exception& e) {
        HandleException(e);
    } catch (...) {
        HandleException(Exception("Unknown error"));
    }
}
