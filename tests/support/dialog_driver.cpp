#include "dialog_driver.h"

namespace {

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

void DialogDriver::Found(HWND dialog)
{
    if (done_)
        return;
    done_ = true;
    poller_.Stop();
    wchar_t caption[512] = {};
    GetWindowTextW(dialog, caption, 512);
    caption_ = caption;
    EnumChildWindows(dialog, CollectText, reinterpret_cast<LPARAM>(&text_));
    action_(dialog);
}

void DialogDriver::Press(HWND dialog, int id)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
