#include "dialog_driver.h"

namespace {
DialogDriver* g_active = nullptr;

struct FindState {
    HWND found = nullptr;
};

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM lParam)
{
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    if (IsWindowVisible(hwnd) && wcscmp(cls, L"#32770") == 0) {
        reinterpret_cast<FindState*>(lParam)->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectText(HWND hwnd, LPARAM lParam)
{
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    if (_wcsicmp(cls, L"Static") == 0) {
        wchar_t text[1024] = {};
        GetWindowTextW(hwnd, text, 1024);
        if (text[0]) {
            auto* out = reinterpret_cast<std::wstring*>(lParam);
            if (!out->empty())
                *out += L"\n";
            *out += text;
        }
    }
    return TRUE;
}
}  // namespace

DialogDriver::DialogDriver(std::function<void(HWND)> action) : action_(std::move(action))
{
    g_active = this;
    timer_ = SetTimer(nullptr, 0, 50, Tick);
}

DialogDriver::~DialogDriver()
{
    if (timer_)
        KillTimer(nullptr, timer_);
    if (g_active == this)
        g_active = nullptr;
}

void CALLBACK DialogDriver::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_active)
        g_active->Poll();
}

void DialogDriver::Poll()
{
    if (done_)
        return;
    FindState state;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&state));
    if (!state.found)
        return;
    done_ = true;
    KillTimer(nullptr, timer_);
    timer_ = 0;
    wchar_t caption[512] = {};
    GetWindowTextW(state.found, caption, 512);
    caption_ = caption;
    EnumChildWindows(state.found, CollectText, reinterpret_cast<LPARAM>(&text_));
    action_(state.found);
}

void DialogDriver::Press(HWND dialog, int id)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
