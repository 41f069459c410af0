// Reads where things are on the screen for the end-to-end scripts, as a person would by looking:
// it never clicks or types (xdotool does that, through the X server). Client points are given at 96 DPI,
// as the window's layout is, and scaled to the DPI the window runs at.
//   look exists "<caption>"            exit 0 when a visible top-level window has that caption
//   look size "<caption>"              width height of the window's client area, in pixels
//   look frame "<caption>"             screen left top right bottom of the whole window
//   look dialog -                      exit 0 when a dialog box (message box, file dialog) is shown and
//                                         has the keyboard focus, so it takes what is typed
//   look point "<caption>" X Y         screen x y of client point X Y of the window
//   look control "<caption>" "<text>"  screen x y of the middle of the control showing that text
//   look item "<caption>" X Y "<text>" screen x y of the middle of the list item with that text, in the
//                                         list box at client point X Y of the window
//   look text "<caption>" X Y          the text of the control at client point X Y (UTF-8)
//   look focused "<caption>" X Y       exit 0 when the control at client point X Y has the focus
//   look checked "<caption>" "<text>"  exit 0 when the button showing that text is checked
//   look list "<caption>" X Y          the items of the list box at client point X Y, one a line
//   look node "<caption>" X Y "<text>" screen x y of the middle of the label of the shown tree node with
//                                         that text, in the tree view at client point X Y
//   look selected "<caption>" X Y      the text of the selected node of that tree (an empty line: none)
//   look editing "<caption>" X Y       exit 0 when a label of that tree is being edited; prints the label
//   look menu -                        exit 0 when a popup menu is shown; prints its screen x y
//   look cwd "<caption>"               the current directory of the process that shows the window
// A caption "+<caption>" names the other visible window of the program whose window has that caption
// (a window without a caption of its own, like the about window).
#include <windows.h>
#include <commctrl.h>
#include <winternl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

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

int Dpi()
{
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

POINT ClientPoint(const char* x, const char* y)
{
    return POINT{MulDiv(std::atoi(x), Dpi(), 96), MulDiv(std::atoi(y), Dpi(), 96)};
}

// GetWindowText does not ask a control of another process for its text; WM_GETTEXT does.
std::wstring TextOf(HWND window)
{
    wchar_t buf[1024] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, &copied);
    return buf;
}

struct FoundChild {
    std::wstring text;
    HWND found = nullptr;
};

BOOL CALLBACK MatchText(HWND hwnd, LPARAM param)
{
    auto* f = reinterpret_cast<FoundChild*>(param);
    if (IsWindowVisible(hwnd) && f->text == TextOf(hwnd)) {
        f->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND ChildWithText(HWND top, const std::wstring& text)
{
    FoundChild f{text};
    EnumChildWindows(top, MatchText, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

int PrintCentre(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    return 0;
}

struct OtherSearch {
    HWND main;
    DWORD pid;
    HWND found;
};

// The window named by a caption, or by "+caption" the other visible top-level window of its process.
HWND FindNamed(const std::string& name)
{
    if (name.empty() || name[0] != '+')
        return FindTop(Widen(name.c_str()));
    OtherSearch search{FindTop(Widen(name.c_str() + 1)), 0, nullptr};
    if (!search.main)
        return nullptr;
    GetWindowThreadProcessId(search.main, &search.pid);
    EnumWindows(
        [](HWND h, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<OtherSearch*>(p);
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            if (h != s->main && pid == s->pid && IsWindowVisible(h)) {
                s->found = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ChildAt(HWND top, POINT pt)
{
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

// Memory in the process that owns a window, for the messages whose records the system does not carry
// across processes (the tree view's).
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, size_t size)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_)
            remote_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBuffer()
    {
        if (remote_)
            VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
        if (process_)
            CloseHandle(process_);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    bool Ok() const { return remote_ != nullptr; }
    char* Address() const { return static_cast<char*>(remote_); }
    void Write(const void* data, size_t bytes, size_t at = 0) const
    {
        WriteProcessMemory(process_, Address() + at, data, bytes, nullptr);
    }
    void Read(void* data, size_t bytes, size_t at = 0) const
    {
        ReadProcessMemory(process_, Address() + at, data, bytes, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* remote_ = nullptr;
};

std::wstring NodeText(HWND tree, HTREEITEM item)
{
    RemoteBuffer buffer(tree, sizeof(TVITEMW) + 1024 * sizeof(wchar_t));
    if (!buffer.Ok())
        return L"";
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = reinterpret_cast<wchar_t*>(buffer.Address() + sizeof(TVITEMW));
    tv.cchTextMax = 1024;
    buffer.Write(&tv, sizeof(tv));
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(buffer.Address()));
    std::vector<wchar_t> text(1025, L'\0');
    buffer.Read(text.data(), 1024 * sizeof(wchar_t), sizeof(TVITEMW));
    return text.data();
}

HTREEITEM NextItem(HWND tree, HTREEITEM item, UINT relation)
{
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

// Screen x y of the middle of the label of the tree node with that text, if it is in view.
int PrintNode(HWND tree, const std::wstring& text)
{
    for (HTREEITEM item = NextItem(tree, nullptr, TVGN_FIRSTVISIBLE); item;
         item = NextItem(tree, item, TVGN_NEXTVISIBLE)) {
        if (NodeText(tree, item) != text)
            continue;
        RemoteBuffer buffer(tree, sizeof(RECT));
        RECT r{};
        static_assert(sizeof(HTREEITEM) <= sizeof(RECT));
        std::memcpy(&r, &item, sizeof(item));  // the control reads the node from the rectangle's first bytes
        buffer.Write(&r, sizeof(r));
        if (!buffer.Ok() || !SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(buffer.Address())))
            return 1;
        buffer.Read(&r, sizeof(r));
        RECT client{};
        GetClientRect(tree, &client);
        if (r.bottom <= client.top || r.top >= client.bottom)
            return 1;  // scrolled out of view
        POINT pt{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(tree, &pt);
        std::printf("%ld %ld\n", pt.x, pt.y);
        return 0;
    }
    return 1;
}

BOOL CALLBACK FindPopupMenu(HWND hwnd, LPARAM found)
{
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    if (wcscmp(cls, L"#32768") != 0 || !IsWindowVisible(hwnd))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
}

// A popup menu shown now (looking it up by class name alone also finds one that is not up).
HWND PopupMenuShown()
{
    HWND menu = nullptr;
    EnumWindows(FindPopupMenu, reinterpret_cast<LPARAM>(&menu));
    return menu;
}

std::wstring ProcessCurrentDirectory(HWND window)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process)
        return L"";
    using QueryProc = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<QueryProc>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    std::wstring result;
    if (query && query(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) == 0) {
        // The process parameters hold the current directory as a counted string (64-bit layout).
        char* parameters = nullptr;
        UNICODE_STRING path{};
        if (ReadProcessMemory(process, reinterpret_cast<char*>(basic.PebBaseAddress) + 0x20, &parameters,
                              sizeof(parameters), nullptr) &&
            ReadProcessMemory(process, parameters + 0x38, &path, sizeof(path), nullptr) && path.Buffer) {
            result.resize(path.Length / sizeof(wchar_t));
            ReadProcessMemory(process, path.Buffer, result.data(), path.Length, nullptr);
        }
    }
    CloseHandle(process);
    if (result.size() > 3 && result.back() == L'\\')
        result.pop_back();
    return result;
}

}  // namespace

int main(int argc, char** argv)
{
    SetProcessDPIAware();
    if (argc < 3)
        return 2;
    const std::string cmd = argv[1];
    if (cmd == "dialog") {
        HWND d = FindWindowW(L"#32770", nullptr);
        if (!d || !IsWindowVisible(d) || !IsWindowEnabled(d))
            return 1;
        GUITHREADINFO info{sizeof(info)};
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(d, nullptr), &info))
            return 1;
        return info.hwndFocus && (info.hwndFocus == d || IsChild(d, info.hwndFocus)) ? 0 : 1;
    }
    if (cmd == "menu") {
        HWND menu = PopupMenuShown();
        if (!menu)
            return 1;
        RECT r{};
        GetWindowRect(menu, &r);
        std::printf("%ld %ld\n", r.left, r.top);
        return 0;
    }
    HWND top = FindNamed(argv[2]);
    if (cmd == "exists")
        return top ? 0 : 1;
    if (!top)
        return 1;
    if (cmd == "cwd") {
        std::printf("%s\n", Narrow(ProcessCurrentDirectory(top)).c_str());
        return 0;
    }
    if (cmd == "size" || cmd == "frame") {
        RECT r{};
        if (cmd == "size") {
            GetClientRect(top, &r);
            std::printf("%ld %ld\n", r.right, r.bottom);
        } else {
            GetWindowRect(top, &r);
            std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
        }
        return 0;
    }
    if (cmd == "control" || cmd == "checked") {
        if (argc < 4)
            return 2;
        HWND child = ChildWithText(top, Widen(argv[3]));
        if (!child)
            return 1;
        if (cmd == "checked")
            return SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED ? 0 : 1;
        return PrintCentre(child);
    }
    if (argc < 5)
        return 2;
    const POINT at = ClientPoint(argv[3], argv[4]);
    if (cmd == "point") {
        POINT pt = at;
        ClientToScreen(top, &pt);
        std::printf("%ld %ld\n", pt.x, pt.y);
        return 0;
    }
    HWND child = ChildAt(top, at);
    if (!child)
        return 1;
    if (cmd == "focused") {
        GUITHREADINFO info{sizeof(info)};
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info))
            return 1;
        return info.hwndFocus == child ? 0 : 1;
    }
    if (cmd == "text") {
        std::printf("%s\n", Narrow(TextOf(child)).c_str());
        return 0;
    }
    if (cmd == "list") {
        const LRESULT count = SendMessageW(child, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t buf[1024] = {};
            if (SendMessageW(child, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0) < 1024)
                SendMessageW(child, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
            std::printf("%s\n", Narrow(buf).c_str());
        }
        return 0;
    }
    if (cmd == "selected") {
        HTREEITEM item = NextItem(child, nullptr, TVGN_CARET);
        std::printf("%s\n", item ? Narrow(NodeText(child, item)).c_str() : "");
        return 0;
    }
    if (cmd == "editing") {
        HWND edit = reinterpret_cast<HWND>(SendMessageW(child, TVM_GETEDITCONTROL, 0, 0));
        if (!edit || !IsWindowVisible(edit))
            return 1;
        std::printf("%s\n", Narrow(TextOf(edit)).c_str());
        return 0;
    }
    if (cmd == "node" && argc >= 6)
        return PrintNode(child, Widen(argv[5]));
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
