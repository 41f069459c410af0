// Reads where things are on the screen for the end-to-end scripts, as a person would by looking:
// it never clicks or types (xdotool does that, through the X server).
//   look origin "<caption>"            screen x y of the window's client area
//   look exists "<caption>"            exit 0 when a visible top-level window has that caption
//   look dialog -                      exit 0 when a dialog box (message box, file dialog) is shown
//   look item "<caption>" X Y "<text>" screen x y of the middle of the list item with that text, in the
//                                         list box at client point X Y of the window
//   look text "<caption>" X Y          the text of the control at client point X Y (UTF-8)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::wstring Widen(const char* s)
{
    const int n = MultiByteToWideChar(CP_UTF8, 0, s, -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s, -1, w.data(), n);
    w.resize(static_cast<size_t>(n) - 1);
    return w;
}

std::string Narrow(const std::wstring& w)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, s.data(), n, nullptr, nullptr);
    s.resize(static_cast<size_t>(n) - 1);
    return s;
}

HWND FindTop(const std::wstring& caption)
{
    HWND h = FindWindowW(nullptr, caption.c_str());
    return h && IsWindowVisible(h) ? h : nullptr;
}

HWND ChildAt(HWND top, int x, int y)
{
    POINT pt{x, y};
    HWND child = ChildWindowFromPointEx(top, pt, CWP_SKIPINVISIBLE);
    // Go down through containers (group boxes, panels).
    while (child && child != top) {
        POINT inner = pt;
        MapWindowPoints(top, child, &inner, 1);
        HWND deeper = ChildWindowFromPointEx(child, inner, CWP_SKIPINVISIBLE);
        if (!deeper || deeper == child)
            break;
        child = deeper;
    }
    return child;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    const std::string cmd = argv[1];
    if (cmd == "dialog") {
        HWND d = FindWindowW(L"#32770", nullptr);
        return d && IsWindowVisible(d) ? 0 : 1;
    }
    HWND top = FindTop(Widen(argv[2]));
    if (cmd == "exists")
        return top ? 0 : 1;
    if (!top)
        return 1;
    if (cmd == "origin") {
        POINT pt{0, 0};
        ClientToScreen(top, &pt);
        std::printf("%ld %ld\n", pt.x, pt.y);
        return 0;
    }
    if (argc < 5)
        return 2;
    HWND child = ChildAt(top, std::atoi(argv[3]), std::atoi(argv[4]));
    if (!child)
        return 1;
    if (cmd == "text") {
        wchar_t buf[1024] = {};
        GetWindowTextW(child, buf, 1024);
        std::printf("%s\n", Narrow(buf).c_str());
        return 0;
    }
    if (cmd == "item" && argc >= 6) {
        const std::wstring text = Widen(argv[5]);
        const LRESULT index = SendMessageW(child, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(text.c_str()));
        if (index == LB_ERR)
            return 1;
        RECT r{};
        SendMessageW(child, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        POINT pt{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(child, &pt);
        std::printf("%ld %ld\n", pt.x, pt.y);
        return 0;
    }
    return 2;
}
