#pragma once
// The calls into the shell namespace the folder items and the tree are built on: the task allocator,
// the desktop, display names, icons, binding a child to its folder interface, comparing lists.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>

#include "runtime/com_ptr.h"
#include "shelltree/id_list.h"

// The system's text for a component-object result, or "OLE error %.8x" when it has none.
std::string OleErrorMessage(HRESULT hr);
// Raises EOleSysError for a failed (negative) result.
void OleCheck(HRESULT hr);

// The shell's task allocator, which makes every list the shell hands out.
IdListAllocator& ShellAllocator();
// Takes over a list the shell handed out.
inline TIdList ShellIdList(ITEMIDLIST* list)
{
    return TIdList(ShellAllocator(), list);
}
inline LPCITEMIDLIST Pidl(const void* list)
{
    return static_cast<LPCITEMIDLIST>(list);
}
inline LPCITEMIDLIST Pidl(const TIdList& list)
{
    return reinterpret_cast<LPCITEMIDLIST>(list.get());
}

// The desktop's folder interface; raises EOleSysError when the shell has none.
TComPtr<IShellFolder> DesktopFolderInterface();
// A new list for the desktop (the empty list); raises EOleSysError on failure.
TIdList DesktopIdList();
// The absolute list of a special folder (a CSIDL value), or none when the shell gives none.
TIdList SpecialFolderIdList(int csidl);
// The desktop parses text into an absolute list: no window, no bind context, the whole text, no attributes.
HRESULT ParseDisplayNameToIdList(IShellFolder* desktop, const std::string& text, TIdList& list);

// The text of a name the shell returned; a wide string it allocated goes back to its allocator.
std::string StrRetText(STRRET& name, const void* list);
// The name folder gives the item list (relative to it) in the form flags ask for (SHGDN_*).
std::string ShellDisplayName(IShellFolder* folder, const void* list, DWORD flags);
// The same name as the shell gives it, before any conversion to the code page; empty on failure.
std::wstring ShellDisplayNameWide(IShellFolder* folder, const void* list, DWORD flags);
// The system image list of small icons; the shell sets its image lists up at the first question (under Wine
// 60 to 100 ms).
HIMAGELIST SystemSmallImageList();
// The index of the item's icon (absolute list) in the system image list; 0 when the shell gives none.
int SystemIconIndex(const void* absoluteList, bool large, bool open);
// A folder of the file system that is no drive, is marked neither system nor read-only and holds no
// desktop.ini has no icon of its own: the shell gives every such folder the same generic icon. (Windows reads
// a desktop.ini only in a marked folder; Wine in any folder, and it cannot mark a folder read-only.) The
// attributes come from the item's identifier; the one look at the disk costs a fraction of the shell's.
// relative is the item's one-item list in parent, absolute its whole list.
bool PlainFolderItem(IShellFolder* parent, const void* relative, const void* absolute);
// The item's own folder interface, or none.
TComPtr<IShellFolder> BindFolderInterface(IShellFolder* parent, const void* list, HWND window);
// Whether an enumeration of folder with flags (SHCONTF_*) yields at least one item.
bool HasEnumeratedItems(IShellFolder* folder, DWORD flags);
// Whether two absolute lists name the same item: the desktop compares them equal, and their parsing
// names are the same but for letter case.
bool SameIdList(const void* a, const void* b);
