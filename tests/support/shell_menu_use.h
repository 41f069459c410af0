#pragma once
// Working the folder tree's shell menu as a user does: the command number of a verb in an item's menu,
// a right click on a node through the control's own mouse handling, and clearing out of the trash what a
// test deleted through the menu.
#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <string>

#include "gui/application.h"
#include "gui/tree_view.h"
#include "shelltree/shell_access.h"
#include "shelltree/shell_folder.h"
#include "temp_dir.h"

// The command number the shell gives verb in an item's menu (the tree asks with the same numbering).
inline UINT ShellMenuCommand(TShellFolder& item, const char* verb)
{
    TComPtr<IContextMenu> menu;
    LPCITEMIDLIST items[] = {Pidl(item.RelativeIdList())};
    if (FAILED(item.ParentFolderInterface()->GetUIObjectOf(nullptr, 1, items, IID_IContextMenu, nullptr,
                                                           menu.put_void())))
        return 0;
    HMENU popup = CreatePopupMenu();
    menu->QueryContextMenu(popup, 0, 1, 0x7FFF, CMF_CANRENAME);
    UINT found = 0;
    for (int i = 0; i < GetMenuItemCount(popup) && !found; ++i) {
        const UINT id = GetMenuItemID(popup, i);
        char name[256] = {};
        if (id >= 1 && id <= 0x7FFF && SUCCEEDED(menu->GetCommandString(id - 1, GCS_VERBA, nullptr, name, 256)) &&
            _stricmp(name, verb) == 0)
            found = id;
    }
    DestroyMenu(popup);
    return found;
}

// The client rectangle of a node's label.
inline RECT NodeLabelRect(HWND tree, TTreeNode* node)
{
    RECT r{};
    const HTREEITEM item = node->ItemId();
    std::memcpy(&r, &item, sizeof(item));
    SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
    return r;
}

// A right click at a client point of the tree, through the control's own mouse handling; returns when the
// menu and its command are over.
inline void RightClickAtPoint(HWND tree, POINT pt)
{
    // The control reads where the click was from the message's own mouse position: the pointer is there.
    POINT screen = pt;
    ClientToScreen(tree, &screen);
    // The pointer moves through the X server: on a busy machine motion from an earlier move may still be
    // on its way and take the pointer back, and the control places its menu where the pointer last was.
    // Move it until it stays.
    for (int steady = 0, waited = 0; steady < 3 && waited < 3000; waited += 10) {
        POINT now{};
        Application().ProcessMessages();
        if (GetCursorPos(&now) && now.x == screen.x && now.y == screen.y) {
            ++steady;
        } else {
            steady = 0;
            SetCursorPos(screen.x, screen.y);
        }
        Sleep(10);
    }
    PostMessageW(tree, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(pt.x, pt.y));
    PostMessageW(tree, WM_RBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    Application().ProcessMessages();
}

// A right click on the middle of a node's label.
inline void RightClickOn(HWND tree, TTreeNode* node)
{
    const RECT r = NodeLabelRect(tree, node);
    RightClickAtPoint(tree, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

// The shell moves deleted folders to the trash, which under Wine is the user's own: what a test put there
// goes again.
inline void ForgetTrashed(const std::wstring& name)
{
    wchar_t value[MAX_PATH] = {};
    std::wstring data;
    if (GetEnvironmentVariableW(L"XDG_DATA_HOME", value, MAX_PATH) && value[0] == L'/') {
        data = std::wstring(L"Z:") + value;
    } else if (GetEnvironmentVariableW(L"WINEHOMEDIR", value, MAX_PATH)) {
        data = value;
        if (data.rfind(L"\\??\\", 0) == 0)
            data = data.substr(4);
        data += L"\\.local\\share";
    } else {
        return;
    }
    for (wchar_t& c : data)
        if (c == L'/')
            c = L'\\';
    RemoveTree(data + L"\\Trash\\files\\" + name);
    DeleteFileW((data + L"\\Trash\\info\\" + name + L".trashinfo").c_str());
}
