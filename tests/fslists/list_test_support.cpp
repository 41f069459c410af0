#include "list_test_support.h"

#include <windows.h>

#include "gui/application.h"
#include "runtime/ansi.h"

ListHost::ListHost() : TForm(nullptr)
{
    SetClientSize(500, 400);
    SetColor(clWhite);
    HandleNeeded();
}

void ListTest::SetUp()
{
    savedDirectory_ = CurrentDir();
    // A main window closed by an earlier test leaves its quit message behind.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

void ListTest::TearDown()
{
    SetCurrentDirectoryA(savedDirectory_.c_str());
    Application().OnException = nullptr;
}

void ListTest::Pump()
{
    for (int round = 0; round < 3; ++round) {
        Application().ProcessMessages();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
}

std::vector<std::string> ItemTexts(const TCustomListBox& list)
{
    std::vector<std::string> texts;
    for (int i = 0; i < list.Count(); ++i)
        texts.push_back(list.Items(i));
    return texts;
}

std::vector<std::string> PlatformSortedOrder(const std::vector<std::string>& texts)
{
    HWND list = CreateWindowExA(0, "LISTBOX", "", WS_POPUP | LBS_SORT | LBS_HASSTRINGS, 0, 0, 100, 100, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    for (const std::string& t : texts)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t.c_str()));
    std::vector<std::string> sorted;
    const int n = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        std::string text(static_cast<size_t>(SendMessageA(list, LB_GETTEXTLEN, i, 0)) + 1, '\0');
        text.resize(static_cast<size_t>(SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        sorted.push_back(text);
    }
    DestroyWindow(list);
    return sorted;
}

bool CompareEqual(const std::string& a, const std::string& b)
{
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

void SetFileYear(const std::string& path, int year)
{
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = 1;
    st.wDay = 1;
    st.wHour = 12;
    FILETIME ft{};
    SystemTimeToFileTime(&st, &ft);
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);
}

std::string CurrentDir()
{
    char dir[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(MAX_PATH, dir);
    return dir;
}
