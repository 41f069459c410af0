#pragma once
// A shell item: its identifier within its parent folder and from the desktop, its parent item and its own
// folder interface, with the names, attributes and renaming the folder tree needs.
#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <string>

#include "runtime/enum_set.h"
#include "runtime/com_ptr.h"
#include "shelltree/id_list.h"

enum class TShellItemState {
    siHidden, siLink, siReadOnly, siShared, siFileSystem, siFileSystemAncestor, siRemovable, siValidate
};
using TShellItemStates = TEnumSet<TShellItemState>;

enum class TShellItemAbility {
    saCanCopy, saCanDelete, saCanLink, saCanMove, saCanRename, saDropTarget, saHasPropSheet
};
using TShellItemAbilities = TEnumSet<TShellItemAbility>;

class TShellFolder {
public:
    // parent may be null (the item then belongs to the desktop item); folder may be null; relative is copied.
    TShellFolder(TShellFolder* parent, TComPtr<IShellFolder> folder, const void* relative);
    virtual ~TShellFolder() = default;
    TShellFolder(const TShellFolder&) = delete;
    TShellFolder& operator=(const TShellFolder&) = delete;

    const std::uint8_t* RelativeIdList() const { return relative_.get(); }
    const std::uint8_t* AbsoluteIdList() const { return absolute_.get(); }
    TShellFolder* ParentItem() const { return parent_; }
    // An item whose own folder interface is bound from its parent's (from the desktop's when parent is
    // null) only when it is first asked for: a folder of thousands of subfolders is listed without binding
    // each of them, which costs more than all else a listed subfolder needs.
    static std::unique_ptr<TShellFolder> BoundWhenAsked(TShellFolder* parent, const void* relative);

    IShellFolder* FolderInterface() const { return FolderInterfaceRef().get(); }
    const TComPtr<IShellFolder>& FolderInterfaceRef() const;
    // The parent item's folder interface; for the desktop item, the desktop's own.
    TComPtr<IShellFolder> ParentFolderInterface() const;

    // The name shown for the item inside its folder.
    std::string InFolderName() const;
    // The file-system path, or for a virtual folder its ordinary display name. A path is given in a form
    // the ANSI calls take for this very item; one that has none raises EInOutError (path not found).
    std::string ParsingPath() const;
    // The same as the shell gives it, for the wide calls: any item has one, renamed or gone.
    std::wstring WideParsingPath() const;
    bool IsFolderItem() const;
    bool ClaimsSubFolders() const;
    TShellItemStates ItemStates() const;
    TShellItemAbilities ItemAbilities() const;
    // Gives the item a new name through its folder; false when it cannot be renamed,
    // raises "Rename to %s failed" when the shell refuses the name.
    bool RenameItem(const std::string& newName);

private:
    ULONG Attributes(ULONG request) const;

    TIdList relative_;
    TIdList absolute_;
    TShellFolder* parent_ = nullptr;
    mutable TComPtr<IShellFolder> folder_;
    mutable bool bindPending_ = false;
    TShellFolder* bindParent_ = nullptr;  // whose folder interface binds this one; none: the desktop's
};

// The one item for the desktop, made on first use and kept for the whole run; the parent of every item
// made without one.
TShellFolder& DesktopItem();
// A new item for an absolute list, child of the desktop item, with the list's own folder interface
// (or the desktop's when it has none).
std::unique_ptr<TShellFolder> ItemFromAbsolute(const void* absoluteList);
