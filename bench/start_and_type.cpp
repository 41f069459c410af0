// Times a program from outside, as its user waits for it: the start until the window is shown, painted
// and idle with its lists filled, and the typing of a mask until the file list shows the final result.
//
// Usage:
//   bench_start_and_type start <exe> <folder> [lists]
//       Starts <exe> in <folder>; with "lists", also waits until the file list holds the files of the
//       desktop folder and the directory list its chain and subfolders. Prints `value start <ms>`.
//   bench_start_and_type type <exe> <folder> <text> <count> <delay-ms>...
//       Starts <exe>, waits as above, then for each delay: selects the mask edit's text, types <text> with
//       that many milliseconds between the keys, and waits until the file list holds <count> items of
//       that mask, painted. Prints `value type-<delay> <ms>` from the last key, and puts the mask back.
// The program is ended (terminated) afterwards.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_clock.h"

namespace {

PROCESS_INFORMATION g_child{};

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "bench_start_and_type: %s\n", what);
    if (g_child.hProcess)
        TerminateProcess(g_child.hProcess, 2);
    std::exit(2);
}

struct Windows {
    HWND main = nullptr;
    HWND fileList = nullptr;  // the sorted list box
    HWND dirList = nullptr;   // the other list box
    HWND mask = nullptr;      // the edit that holds the mask
    std::vector<HWND> all;
};

DWORD g_pid = 0;

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM lParam)
{
    auto* w = reinterpret_cast<Windows*>(lParam);
    w->all.push_back(hwnd);
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (_wcsicmp(cls, L"ListBox") == 0) {
        if (GetWindowLongW(hwnd, GWL_STYLE) & LBS_SORT)
            w->fileList = hwnd;
        else
            w->dirList = hwnd;
    }
    return TRUE;
}

BOOL CALLBACK FindMain(HWND hwnd, LPARAM lParam)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == g_pid && IsWindowVisible(hwnd) && GetWindowTextLengthW(hwnd) > 0) {
        *reinterpret_cast<HWND*>(lParam) = hwnd;
        return FALSE;
    }
    return TRUE;
}

LRESULT Ask(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, msg, wParam, lParam, SMTO_NORMAL, 120000, &result))
        Fail("the program does not answer");
    return static_cast<LRESULT>(result);
}

std::wstring TextOf(HWND hwnd)
{
    wchar_t buffer[512] = {};
    Ask(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

std::wstring ListText(HWND list, int index)
{
    const LRESULT n = Ask(list, LB_GETTEXTLEN, static_cast<WPARAM>(index));
    if (n == LB_ERR || n > 1000)
        return {};
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    Ask(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(n));
    return text;
}

Windows Find()
{
    Windows w;
    EnumWindows(FindMain, reinterpret_cast<LPARAM>(&w.main));
    if (!w.main)
        return w;
    w.all.push_back(w.main);
    EnumChildWindows(w.main, CollectChild, reinterpret_cast<LPARAM>(&w));
    return w;
}

bool Painted(const Windows& w)
{
    for (HWND hwnd : w.all)
        if (IsWindowVisible(hwnd) && GetUpdateRect(hwnd, nullptr, FALSE))
            return false;
    return true;
}

// What the lists show after a start: the desktop folder's files, and its chain of folders and subfolders.
struct Expected {
    int files = -1;
    int dirs = -1;
    HWND mask = nullptr;  // when set, the edit must hold *.*
};

Expected DesktopLists()
{
    char desktop[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop)))
        Fail("no desktop folder");
    Expected e{0, 1};
    for (const char* p = desktop; *p; ++p)
        if (*p == '\\' && p[1])
            ++e.dirs;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((std::string(desktop) + "\\*.*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const DWORD a = data.dwFileAttributes;
            if (a & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
                continue;
            const std::string name = data.cFileName;
            if (a & FILE_ATTRIBUTE_DIRECTORY) {
                if (name != "." && name != "..")
                    ++e.dirs;
            } else {
                ++e.files;
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    return e;
}

// Polls until the window is up, painted and answering, with the lists as expected.
Windows WaitReady(const Expected& expected, double limitMs)
{
    const double start = NowMs();
    for (;;) {
        if (NowMs() - start > limitMs)
            Fail("the window did not get ready in time");
        Windows w = Find();
        if (w.main) {
            Ask(w.main, WM_NULL);
            bool ready = true;
            if (expected.files >= 0)
                ready = w.fileList && Ask(w.fileList, LB_GETCOUNT) == expected.files;
            if (ready && expected.mask)
                ready = TextOf(expected.mask) == L"*.*";
            if (ready && expected.dirs >= 0)
                ready = w.dirList && Ask(w.dirList, LB_GETCOUNT) == expected.dirs;
            if (ready && Painted(w))
                return w;
        }
        Sleep(2);
    }
}

HWND MaskEdit(const Windows& w)
{
    for (HWND hwnd : w.all) {
        wchar_t cls[32] = {};
        GetClassNameW(hwnd, cls, 32);
        if (_wcsicmp(cls, L"Edit") == 0 && TextOf(hwnd) == L"*.*")
            return hwnd;
    }
    Fail("no mask edit");
}

void Click(HWND hwnd)
{
    RECT r;
    GetWindowRect(hwnd, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
}

void TypeChar(wchar_t c)
{
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wScan = in[1].ki.wScan = c;
    in[0].ki.dwFlags = KEYEVENTF_UNICODE;
    in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

bool EndsWithIgnoringCase(const std::wstring& text, const std::wstring& end)
{
    return text.size() >= end.size() && _wcsicmp(text.c_str() + text.size() - end.size(), end.c_str()) == 0;
}

// Types text into the mask edit and returns the milliseconds from the last key to the final list.
double TypeMask(DWORD thread, const Windows& w, HWND edit, const std::wstring& text, int count, int delayMs)
{
    GUITHREADINFO info{sizeof(info)};
    for (int attempt = 0; attempt < 5 && (!GetGUIThreadInfo(thread, &info) || info.hwndFocus != edit); ++attempt) {
        SetForegroundWindow(w.main);
        Click(edit);
        for (int i = 0; i < 400; ++i) {
            if (GetGUIThreadInfo(thread, &info) && info.hwndFocus == edit)
                break;
            Sleep(5);
        }
        Sleep(200);  // the button's release, before the text is selected
    }
    if (!GetGUIThreadInfo(thread, &info) || info.hwndFocus != edit)
        Fail("the mask edit did not get the focus");
    Ask(edit, EM_SETSEL, 0, -1);
    double last = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (i > 0 && delayMs > 0)
            Sleep(static_cast<DWORD>(delayMs));
        TypeChar(text[i]);
        last = NowMs();
    }
    const std::wstring extension = text.substr(text.find_last_of(L'*') + 1);
    for (;;) {
        if (NowMs() - last > 60000) {
            std::fprintf(stderr, "mask '%ls', %d items, first '%ls', painted %d\n", TextOf(edit).c_str(),
                         static_cast<int>(Ask(w.fileList, LB_GETCOUNT)), ListText(w.fileList, 0).c_str(),
                         Painted(w) ? 1 : 0);
            Fail("the mask's list did not come");
        }
        if (TextOf(edit) == text && Ask(w.fileList, LB_GETCOUNT) == count &&
            EndsWithIgnoringCase(ListText(w.fileList, 0), extension) &&
            EndsWithIgnoringCase(ListText(w.fileList, count - 1), extension) && Painted(w))
            return NowMs() - last;
        Sleep(2);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
        Fail("usage: start|type <exe> <folder> ...");
    const std::string mode = argv[1];
    std::string commandLine = std::string("\"") + argv[2] + "\"";
    const bool lists = mode == "type" || (argc > 4 && std::string(argv[4]) == "lists");
    const Expected expected = lists ? DesktopLists() : Expected{};

    STARTUPINFOA si{sizeof(si)};
    PROCESS_INFORMATION& pi = g_child;
    const double start = NowMs();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, argv[3], &si, &pi))
        Fail("cannot start the program");
    g_pid = pi.dwProcessId;
    Windows w = WaitReady(expected, 300000);
    const double ready = NowMs() - start;
    if (mode == "start") {
        PrintValue("start", ready);
    } else if (mode == "type" && argc >= 7) {
        const std::string narrow = argv[4];
        const std::wstring text(narrow.begin(), narrow.end());
        const int count = std::atoi(argv[5]);
        const HWND edit = MaskEdit(w);
        for (int i = 6; i < argc; ++i) {
            const int delay = std::atoi(argv[i]);
            const double ms = TypeMask(pi.dwThreadId, w, edit, text, count, delay);
            char key[32];
            std::snprintf(key, sizeof key, "type-%d", delay);
            PrintValue(key, ms);
            // The mask back to *.* for the next speed, untimed.
            Ask(edit, EM_SETSEL, 0, -1);
            for (wchar_t c : std::wstring(L"*.*"))
                TypeChar(c);
            Expected back = expected;
            back.mask = edit;
            WaitReady(back, 300000);
        }
    } else {
        Fail("unknown mode");
    }
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return 0;
}
