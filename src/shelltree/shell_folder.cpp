#include "shelltree/shell_folder.h"

#include "runtime/ansi.h"
#include "runtime/ansi_path.h"
#include "runtime/exceptions.h"
#include "runtime/format.h"
#include "shelltree/shell_access.h"

namespace {

// Set while the desktop item itself is made: it has no parent item.
bool g_makingDesktopItem = false;

}  // namespace

TShellFolder& DesktopItem()
{
    static const std::unique_ptr<TShellFolder> desktop = [] {
        TIdList list = DesktopIdList();
        g_makingDesktopItem = true;
        try {
            auto item = std::make_unique<TShellFolder>(nullptr, DesktopFolderInterface(), list.get());
            g_makingDesktopItem = false;
            return item;
        } catch (...) {
            g_makingDesktopItem = false;
            throw;
        }
    }();
    return *desktop;
}

TShellFolder::TShellFolder(TShellFolder* parent, TComPtr<IShellFolder> folder, const void* relative)
    : relative_(CopyIdList(ShellAllocator(), relative)), parent_(parent), folder_(std::move(folder))
{
    if (parent_) {
        absolute_ = JoinIdLists(ShellAllocator(), parent_->AbsoluteIdList(), relative);
    } else {
        TIdList desktop = DesktopIdList();
        absolute_ = JoinIdLists(ShellAllocator(), desktop.get(), relative);
        if (!g_makingDesktopItem)
            parent_ = &DesktopItem();
    }
}

std::unique_ptr<TShellFolder> TShellFolder::BoundWhenAsked(TShellFolder* parent, const void* relative)
{
    auto item = std::make_unique<TShellFolder>(parent, TComPtr<IShellFolder>(), relative);
    item->bindPending_ = true;
    item->bindParent_ = parent;
    return item;
}

const TComPtr<IShellFolder>& TShellFolder::FolderInterfaceRef() const
{
    if (bindPending_) {
        bindPending_ = false;
        folder_ = BindFolderInterface(bindParent_ ? bindParent_->FolderInterface() : nullptr, RelativeIdList(),
                                      nullptr);
    }
    return folder_;
}

TComPtr<IShellFolder> TShellFolder::ParentFolderInterface() const
{
    if (!parent_)
        return DesktopFolderInterface();
    return parent_->FolderInterfaceRef();
}

std::string TShellFolder::InFolderName() const
{
    return ShellDisplayName(ParentFolderInterface().get(), RelativeIdList(), SHGDN_INFOLDER);
}

std::string TShellFolder::ParsingPath() const
{
    TComPtr<IShellFolder> desktop = DesktopFolderInterface();
    const std::wstring path = ShellDisplayNameWide(desktop.get(), AbsoluteIdList(), SHGDN_FORPARSING);
    const bool fileSystemPath = (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') ||
                                path.compare(0, 2, L"\\\\") == 0;
    if (!fileSystemPath)
        return ShellDisplayName(desktop.get(), AbsoluteIdList(), SHGDN_FORPARSING);
    // The lists hand a folder's path to the ANSI calls: it must name this folder, never a look-alike
    // (a Cyrillic name as "?????", which is a mask; naïve as naive, another folder).
    if (std::optional<std::string> exact = AnsiPathOf(path))
        return *exact;
    throw EInOutError(ERROR_PATH_NOT_FOUND);
}

std::wstring TShellFolder::WideParsingPath() const
{
    TComPtr<IShellFolder> desktop = DesktopFolderInterface();
    const std::wstring path = ShellDisplayNameWide(desktop.get(), AbsoluteIdList(), SHGDN_FORPARSING);
    if (path.compare(0, 3, L"::{") == 0)
        return ShellDisplayNameWide(desktop.get(), AbsoluteIdList(), SHGDN_NORMAL);
    return path;
}

ULONG TShellFolder::Attributes(ULONG request) const
{
    TComPtr<IShellFolder> parent = ParentFolderInterface();
    if (!parent)
        return 0;
    LPCITEMIDLIST items[] = {Pidl(relative_)};
    ULONG answer = request;
    parent->GetAttributesOf(1, items, &answer);  // whatever bits the answer holds are taken
    return answer;
}

bool TShellFolder::IsFolderItem() const
{
    return (Attributes(SFGAO_FOLDER) & SFGAO_FOLDER) != 0;
}

bool TShellFolder::ClaimsSubFolders() const
{
    return (Attributes(SFGAO_HASSUBFOLDER) & SFGAO_HASSUBFOLDER) != 0;
}

TShellItemStates TShellFolder::ItemStates() const
{
    TShellItemStates states;
    if (!ParentFolderInterface())
        return states;
    struct Flag {
        TShellItemState state;
        ULONG flag;
    };
    const ULONG display = Attributes(SFGAO_HIDDEN | SFGAO_LINK | SFGAO_READONLY | SFGAO_SHARE);
    for (const Flag& f : {Flag{TShellItemState::siHidden, SFGAO_HIDDEN}, Flag{TShellItemState::siLink, SFGAO_LINK},
                          Flag{TShellItemState::siReadOnly, SFGAO_READONLY},
                          Flag{TShellItemState::siShared, SFGAO_SHARE}})
        if (display & f.flag)
            states.Include(f.state);
    const ULONG other = Attributes(0);
    for (const Flag& f : {Flag{TShellItemState::siFileSystem, SFGAO_FILESYSTEM},
                          Flag{TShellItemState::siFileSystemAncestor, SFGAO_FILESYSANCESTOR},
                          Flag{TShellItemState::siRemovable, SFGAO_REMOVABLE},
                          Flag{TShellItemState::siValidate, SFGAO_VALIDATE}})
        if (other & f.flag)
            states.Include(f.state);
    return states;
}

TShellItemAbilities TShellFolder::ItemAbilities() const
{
    TShellItemAbilities abilities;
    if (!ParentFolderInterface())
        return abilities;
    struct Flag {
        TShellItemAbility ability;
        ULONG flag;
    };
    const ULONG answer = Attributes(0x177);
    for (const Flag& f : {Flag{TShellItemAbility::saCanCopy, SFGAO_CANCOPY},
                          Flag{TShellItemAbility::saCanDelete, SFGAO_CANDELETE},
                          Flag{TShellItemAbility::saCanLink, SFGAO_CANLINK},
                          Flag{TShellItemAbility::saCanMove, SFGAO_CANMOVE},
                          Flag{TShellItemAbility::saCanRename, SFGAO_CANRENAME},
                          Flag{TShellItemAbility::saDropTarget, SFGAO_DROPTARGET},
                          Flag{TShellItemAbility::saHasPropSheet, SFGAO_HASPROPSHEET}})
        if (answer & f.flag)
            abilities.Include(f.ability);
    return abilities;
}

namespace {

// The item the folder finds under a name, or none.
TIdList ChildByName(IShellFolder* folder, const std::wstring& name)
{
    std::wstring text = name;
    ITEMIDLIST* found = nullptr;
    ULONG eaten = 0;
    if (FAILED(folder->ParseDisplayName(nullptr, nullptr, text.data(), &eaten, &found, nullptr)))
        found = nullptr;
    return ShellIdList(found);
}

}  // namespace

bool TShellFolder::RenameItem(const std::string& newName)
{
    if (!ItemAbilities().Contains(TShellItemAbility::saCanRename))
        return false;
    TComPtr<IShellFolder> parent = ParentFolderInterface();
    const std::wstring wide = AnsiToWide(newName);
    const auto sameItem = [&](const TIdList& a, const void* b) {
        const HRESULT hr = parent->CompareIDs(0, Pidl(a), Pidl(b));
        return SUCCEEDED(hr) && static_cast<short>(hr & 0xFFFF) == 0;
    };
    // Whether another item bears the name already: then no answer of the shell can mean it was renamed.
    const TIdList before = ChildByName(parent.get(), wide);
    const bool nameTaken = before && !sameItem(before, relative_.get());

    ITEMIDLIST* renamed = nullptr;
    const HRESULT hr = parent->SetNameOf(nullptr, Pidl(relative_), wide.c_str(), SHGDN_NORMAL, &renamed);
    TIdList newRelative = ShellIdList(renamed);
    if (hr != S_OK)
        newRelative.reset();
    if (!newRelative && !nameTaken) {
        // A shell may rename and then fail to read the renamed item back: the parent folder finds it by its
        // new name. After a refusal, the item found is at most this one under its old name.
        TIdList found = ChildByName(parent.get(), wide);
        if (found && (hr == S_OK || !sameItem(found, relative_.get()) ||
                      ShellDisplayName(parent.get(), found.get(), SHGDN_INFOLDER | SHGDN_FOREDITING) == newName))
            newRelative = std::move(found);
    }
    if (hr != S_OK && !newRelative)
        throw Exception(Format("Rename to %s failed", newName.c_str()));
    if (!newRelative)
        return true;  // renamed, but the folder cannot find it again: it keeps the identifiers it had
    TIdList newAbsolute = parent_ ? JoinIdLists(ShellAllocator(), parent_->AbsoluteIdList(), newRelative.get())
                                  : CopyIdList(ShellAllocator(), newRelative.get());
    // The folder interface bound under the old name would still list the old path; one not bound yet is
    // bound under the new name when asked for.
    TComPtr<IShellFolder> folder;
    if (folder_)
        folder = BindFolderInterface(parent.get(), newRelative.get(), nullptr);
    relative_ = std::move(newRelative);
    absolute_ = std::move(newAbsolute);
    if (folder)
        folder_ = std::move(folder);
    return true;
}

std::unique_ptr<TShellFolder> ItemFromAbsolute(const void* absoluteList)
{
    TComPtr<IShellFolder> folder = BindFolderInterface(DesktopFolderInterface().get(), absoluteList, nullptr);
    if (!folder)
        folder = DesktopFolderInterface();
    return std::make_unique<TShellFolder>(&DesktopItem(), std::move(folder), absoluteList);
}
