#include "shelltree/shell_context_menu.h"

#include <shlobj.h>

#include "gui/win_control.h"
#include "runtime/ansi_case.h"
#include "shelltree/shell_access.h"
#include "shelltree/shell_folder.h"

namespace {

constexpr UINT kFirstCommand = 1;
constexpr UINT kLastCommand = 0x7FFF;

// The one shell menu open in the process, held only while it is shown.
TComPtr<IContextMenu2> g_openMenu;

TComPtr<IContextMenu> ItemMenu(TShellFolder& item, HWND window)
{
    TComPtr<IShellFolder> parent = item.ParentFolderInterface();
    TComPtr<IContextMenu> menu;
    if (!parent)
        return menu;
    LPCITEMIDLIST items[] = {Pidl(item.RelativeIdList())};
    if (FAILED(parent->GetUIObjectOf(window, 1, items, IID_IContextMenu, nullptr, menu.put_void())))
        menu.reset();
    return menu;
}

std::string VerbOf(IContextMenu* menu, UINT command)
{
    char verb[256] = {};
    menu->GetCommandString(command, GCS_VERBA, nullptr, verb, sizeof(verb));
    verb[sizeof(verb) - 1] = '\0';
    return verb;
}

// The command of popup (filled by menu) whose verb is verb, or 0.
UINT FindVerb(IContextMenu* menu, HMENU popup, const char* verb)
{
    const int count = GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        const UINT id = GetMenuItemID(popup, i);
        if (id >= kFirstCommand && id <= kLastCommand && SameVerb(VerbOf(menu, id - kFirstCommand), verb))
            return id;
    }
    return 0;
}

// Some shells leave their rename command out whenever a flag besides CMF_CANRENAME is asked for. For an
// item that can be renamed, the command of a second menu asked with CMF_CANRENAME alone, text and all, is
// placed after the delete command; choosing it goes to that second menu.
struct BorrowedRename {
    TComPtr<IContextMenu> menu;
    UINT id = 0;
};

BorrowedRename BorrowRename(TShellFolder& item, HWND window, IContextMenu* menu, HMENU popup)
{
    BorrowedRename borrowed;
    if (FindVerb(menu, popup, "rename") || !item.ItemAbilities().Contains(TShellItemAbility::saCanRename))
        return borrowed;
    TComPtr<IContextMenu> second = ItemMenu(item, window);
    const UniqueMenu scratch(CreatePopupMenu());
    if (!second || !scratch.get() ||
        FAILED(second->QueryContextMenu(scratch.get(), 0, kFirstCommand, kLastCommand, CMF_CANRENAME)))
        return borrowed;
    const UINT id = FindVerb(second.get(), scratch.get(), "rename");
    if (!id || GetMenuState(popup, id, MF_BYCOMMAND) != static_cast<UINT>(-1))
        return borrowed;  // none, or its number is taken
    wchar_t text[256] = {};
    GetMenuStringW(scratch.get(), id, text, 256, MF_BYCOMMAND);
    int position = -1;  // at the end unless a delete command is there
    if (const UINT remove = FindVerb(menu, popup, "delete"))
        for (int i = 0, n = GetMenuItemCount(popup); i < n; ++i)
            if (GetMenuItemID(popup, i) == remove)
                position = i + 1;
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_STRING;
    info.wID = id;
    info.dwTypeData = text;
    if (!InsertMenuItemW(popup, static_cast<UINT>(position), TRUE, &info))
        return borrowed;
    borrowed.menu = std::move(second);
    borrowed.id = id;
    return borrowed;
}

}  // namespace

bool SameVerb(const std::string& verb, const char* name)
{
    return AnsiLowerCase(verb) == AnsiLowerCase(name);
}

bool IsShellMenuMessage(UINT msg)
{
    return msg == WM_DRAWITEM || msg == WM_MEASUREITEM || msg == WM_INITMENUPOPUP || msg == WM_MENUCHAR;
}

void HandleShellMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (g_openMenu)
        g_openMenu->HandleMenuMsg(msg, wParam, lParam);
}

bool ShellMenuOpen()
{
    return static_cast<bool>(g_openMenu);
}

void ShowShellContextMenu(TWinControl& control, TShellFolder* item, POINT clientPos)
{
    if (!item)
        return;
    HWND window = control.Handle();
    TComPtr<IContextMenu> menu = ItemMenu(*item, window);
    if (!menu)
        return;
    POINT screen = clientPos;
    ClientToScreen(window, &screen);
    const UniqueMenu popup(CreatePopupMenu());
    if (!popup.get())
        return;
    menu->QueryContextMenu(popup.get(), 0, kFirstCommand, kLastCommand, CMF_EXPLORE | CMF_CANRENAME);
    const BorrowedRename rename = BorrowRename(*item, window, menu.get(), popup.get());

    UINT chosen = 0;
    {
        // The menu's own items may be drawn by the shell: while it is up, its messages go there.
        struct OpenMenu {
            explicit OpenMenu(IContextMenu* m)
            {
                if (FAILED(m->QueryInterface(IID_IContextMenu2, g_openMenu.put_void())))
                    g_openMenu.reset();
            }
            ~OpenMenu() { g_openMenu.reset(); }
        } open(menu.get());
        chosen = static_cast<UINT>(TrackPopupMenu(popup.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y,
                                                  0, window, nullptr));
    }
    if (chosen < kFirstCommand || chosen > kLastCommand)
        return;

    IContextMenu* owner = rename.id && chosen == rename.id ? rename.menu.get() : menu.get();
    const UINT command = chosen - kFirstCommand;
    const std::string verb = VerbOf(owner, command);
    auto* hooks = dynamic_cast<IShellVerbHooks*>(&control);
    bool takenOver = false;
    if (hooks)
        hooks->BeforeVerb(verb, takenOver);
    HRESULT result = S_OK;
    if (!takenOver) {
        CMINVOKECOMMANDINFO info{};
        info.cbSize = sizeof(info);
        info.hwnd = window;
        info.lpVerb = MAKEINTRESOURCEA(command);
        info.nShow = SW_SHOWNORMAL;
        result = owner->InvokeCommand(&info);
    }
    if (hooks)
        hooks->AfterVerb(verb, takenOver || result == S_OK);
}
