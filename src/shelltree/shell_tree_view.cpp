#include "shelltree/shell_tree_view.h"

#include <climits>
#include <cwchar>
#include <optional>
#include <utility>

#include "gui/application.h"
#include "gui/wait_cursor.h"
#include "runtime/ansi_case.h"
#include "runtime/ansi_path.h"
#include "runtime/exceptions.h"
#include "runtime/format.h"
#include "shelltree/id_list.h"
#include "shelltree/shell_access.h"

namespace {

class FlagGuard {
public:
    explicit FlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagGuard() { flag_ = false; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    bool& flag_;
};

// A node's images are found out when the control first draws it: asking the shell for icons costs more
// than all else a node needs, and most nodes of a big folder are never seen.
constexpr int kImagesPending = INT_MIN;
// The same, and an open image of 0 then takes the normal one.
constexpr int kImagesPendingWithFallback = INT_MIN + 1;

// The first children of a node filled before the tree is shown have their icons asked for ahead: a screenful.
constexpr int kIconsAhead = 40;

// A plain folder (see PlainFolderItem) is one step below its parent; anything else the shell decides.
bool PlainFolder(const TShellFolder& item)
{
    if (!item.RelativeIdList() || IdListItemCount(item.RelativeIdList()) != 1)
        return false;
    const TComPtr<IShellFolder> parent = item.ParentFolderInterface();
    return parent && PlainFolderItem(parent.get(), item.RelativeIdList(), item.AbsoluteIdList());
}

std::string PathErrorMessage(const std::string& path)
{
    return Format("Error setting path: \"%s\"", path.c_str());
}

// Everything up to and including the last backslash or colon.
std::wstring DirectoryPart(const std::wstring& path)
{
    const std::size_t end = path.find_last_of(L"\\:");
    return end == std::wstring::npos ? std::wstring() : path.substr(0, end + 1);
}

// path is folder itself or lies below it (letter case ignored).
bool PathWithin(const std::wstring& path, const std::wstring& folder)
{
    if (folder.empty() || path.size() < folder.size())
        return false;
    const int length = static_cast<int>(folder.size());
    if (CompareStringOrdinal(path.data(), length, folder.data(), length, TRUE) != CSTR_EQUAL)
        return false;
    return path.size() == folder.size() || folder.back() == L'\\' || path[folder.size()] == L'\\';
}

// Makes a folder current in the form the lists' ANSI calls take, when it has one: they read the current
// directory back.
bool EnterDirectory(const std::wstring& folder)
{
    if (std::optional<std::string> ansi = AnsiPathOf(folder))
        return SetCurrentDirectoryA(ansi->c_str()) != FALSE;
    return SetCurrentDirectoryW(folder.c_str()) != FALSE;
}

// A folder that is the process's current directory, or holds it, can be neither renamed nor deleted: the
// current directory moves to the folder's parent. Gives where it was, or nothing when it did not move.
// The shell's commands take wide paths: a folder the code page cannot name needs no short name here.
std::wstring LeaveFolder(const std::wstring& folder)
{
    if (!PathWithin(LongCurrentDirectory(), folder))
        return std::wstring();
    const std::wstring current = WideCurrentDirectory();
    const std::wstring parent = DirectoryPart(folder);
    if (parent.empty() || !EnterDirectory(parent))
        return std::wstring();
    return current;
}

// For a rename the current directory leaves the folder; afterwards it goes into the folder under its new
// name, or back where it was when there was no rename.
class CurrentDirectoryRelease {
public:
    explicit CurrentDirectoryRelease(const std::wstring& folder)
        : below_(LongCurrentDirectory()), saved_(LeaveFolder(folder))
    {
        below_ = saved_.empty() ? std::wstring() : below_.substr(folder.size());
    }
    ~CurrentDirectoryRelease()
    {
        if (!saved_.empty())
            SetCurrentDirectoryW(saved_.c_str());
    }
    CurrentDirectoryRelease(const CurrentDirectoryRelease&) = delete;
    CurrentDirectoryRelease& operator=(const CurrentDirectoryRelease&) = delete;

    void Renamed(const std::wstring& folder)
    {
        if (saved_.empty())
            return;
        EnterDirectory(folder + below_);
        saved_.clear();
    }

private:
    std::wstring below_;  // the current directory's part below the folder, names in their long form
    std::wstring saved_;  // empty: the current directory was not moved
};

}  // namespace

TCustomShellTreeView::TCustomShellTreeView(TComponent* owner) : TCustomTreeView(owner)
{
    SetShowRoot(false);
    // Sets the shell's image lists up on its own thread meanwhile.
    iconPrefetch_ = std::make_unique<TShellIconPrefetch>();
}

TCustomShellTreeView::~TCustomShellTreeView()
{
    notifier_.reset();  // its thread ends before anything of the tree goes
}

TShellFolder* TCustomShellTreeView::NodeFolder(const TTreeNode* node)
{
    return node ? node->Data<TShellFolder>() : nullptr;
}

void TCustomShellTreeView::Loaded()
{
    loading_ = false;
    AssignImageList();
    LoadRoot();
}

void TCustomShellTreeView::SetRoot(const std::string& root)
{
    if (AnsiLowerCase(root) == AnsiLowerCase(root_))
        return;
    previousRoot_ = root_;
    root_ = root;
    if (!busy_)
        LoadRoot();
}

void TCustomShellTreeView::SetObjectTypes(TShellObjectTypes types)
{
    objectTypes_ = types;
    if (!busy_)
        LoadRoot();
}

void TCustomShellTreeView::SetUseShellImages(bool value)
{
    useShellImages_ = value;
    AssignImageList();
}

// Only while the tree is not on screen yet (at start) is there time between a node's filling and its drawing for
// the thread to get ahead; on screen the drawing follows at once, and the thread would only compete with it
// (a 10,000-folder expand: 0.69-0.94 s without, 0.85-1.17 s with).
bool TCustomShellTreeView::PrefetchesIcons() const
{
    return useShellImages_ && !(HandleAllocated() && IsWindowVisible(Handle()));
}

HIMAGELIST TCustomShellTreeView::ShownImages()
{
    if (!useShellImages_)
        return nullptr;
    if (!systemImages_)
        systemImages_ = SystemSmallImageList();
    return systemImages_;
}

void TCustomShellTreeView::AssignImageList()
{
    if (!HandleAllocated())
        return;
    FlagGuard guard(imageListGuard_);
    SendMessageW(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(ShownImages()));
}

void TCustomShellTreeView::CreateWnd()
{
    TCustomTreeView::CreateWnd();
    if (loading_)
        return;  // the images come with the first nodes, when the prefetch thread has the shell's lists ready
    AssignImageList();
    if (rootLoading_)
        return;
    // Nothing may leave here: the parent is creating its other controls.
    try {
        LoadRoot();
    } catch (...) {
        Application().HandleCurrentException();
    }
}

LRESULT TCustomShellTreeView::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (IsShellMenuMessage(msg)) {
        HandleShellMenuMessage(msg, wParam, lParam);
        return 0;
    }
    if (msg == TVM_SETIMAGELIST && !imageListGuard_) {
        // Whoever asks, the tree shows its own choice of images.
        FlagGuard guard(imageListGuard_);
        return TCustomTreeView::WndProc(msg, TVSIL_NORMAL, reinterpret_cast<LPARAM>(ShownImages()));
    }
    return TCustomTreeView::WndProc(msg, wParam, lParam);
}

void TCustomShellTreeView::ClearItems()
{
    UpdateGuard update(*this);
    Clear();
}

void TCustomShellTreeView::SetNodeImages(TTreeNode* node, bool openFallback)
{
    node->SetImageIndex(kImagesPending);
    node->SetSelectedIndex(openFallback ? kImagesPendingWithFallback : kImagesPending);
}

void TCustomShellTreeView::GetImageIndex(TTreeNode* node)
{
    if (node->ImageIndex() != kImagesPending)
        return;
    const TShellFolder* item = NodeFolder(node);
    node->SetImageIndex(item ? ShellImageOf(*item, false) : 0);
}

int TCustomShellTreeView::ShellImageOf(const TShellFolder& item, bool open)
{
    if (!PlainFolder(item))
        return SystemIconIndex(item.AbsoluteIdList(), false, open);
    // The first plain folder asks the shell for the generic icon on behalf of all the others.
    int& known = plainFolderImages_[open ? 1 : 0];
    if (known == kImagesPending)
        known = SystemIconIndex(item.AbsoluteIdList(), false, open);
    return known;
}

// The open image is found out on its own: the control asks for it only to draw the node selected.
void TCustomShellTreeView::GetSelectedIndex(TTreeNode* node)
{
    const int state = node->SelectedIndex();
    if (state != kImagesPending && state != kImagesPendingWithFallback)
        return;
    const TShellFolder* item = NodeFolder(node);
    int open = item ? ShellImageOf(*item, true) : 0;
    if (state == kImagesPendingWithFallback && open == 0) {
        GetImageIndex(node);
        open = node->ImageIndex();
    }
    node->SetSelectedIndex(open);
}

void TCustomShellTreeView::LoadRoot()
{
    if (loading_)
        return;
    std::string error;
    TIdList list;
    TRootFolder folder{};
    if (FindRootFolder(root_, folder)) {
        list = SpecialFolderIdList(RootFolderCsidl(folder));
    } else if (!root_.empty()) {
        root_ = RootPathText(root_);
        try {
            TComPtr<IShellFolder> desktop = DesktopFolderInterface();
            if (ParseDisplayNameToIdList(desktop.get(), root_, list) != S_OK)
                list.reset();
        } catch (const EOleSysError&) {
            list.reset();
        }
    }
    if (list) {
        rootItem_ = ItemFromAbsolute(list.get());
    } else {
        error = PathErrorMessage(root_);
        root_ = previousRoot_;
    }

    if (rootItem_) {
        FlagGuard rootLoading(rootLoading_);
        ClearItems();
        TTreeNode* top = AddChild(nullptr, "");
        top->SetData(std::make_unique<TShellFolder>(nullptr, rootItem_->FolderInterfaceRef(),
                                                    rootItem_->AbsoluteIdList()));
        const TShellFolder& item = *NodeFolder(top);
        top->SetText(ShellDisplayName(DesktopFolderInterface().get(), item.AbsoluteIdList(), SHGDN_NORMAL));
        if (useShellImages_) {
            SetNodeImages(top, false);
            if (PrefetchesIcons())
                iconPrefetch_->Ask(item.AbsoluteIdList());
        }
        top->SetHasChildren(item.ClaimsSubFolders());
        top->Expand();
        SetSelected(top);
    }
    if (!error.empty())
        throw Exception(error);
}

bool TCustomShellTreeView::SetUpNode(TTreeNode* node, TTreeNode* parent, const void* relative)
{
    // Its own folder interface is bound when the node is first filled (or anything else asks for it).
    node->SetData(TShellFolder::BoundWhenAsked(NodeFolder(parent), relative));
    const TShellFolder& item = *NodeFolder(node);
    node->SetText(item.InFolderName());
    if (useShellImages_)
        SetNodeImages(node, true);
    else if (node->SelectedIndex() == 0)
        node->SetSelectedIndex(node->ImageIndex());
    node->SetHasChildren(item.ClaimsSubFolders());
    if (item.ItemStates().Contains(TShellItemState::siShared))
        node->SetOverlayIndex(0);
    if (objectTypes_.Contains(TShellObjectType::otNonFolders) && item.FolderInterface())
        node->SetHasChildren(HasEnumeratedItems(item.FolderInterface(), ObjectTypesFlags(objectTypes_)));
    if (OnAddFolder) {
        bool canAdd = true;
        OnAddFolder(NodeFolder(node), canAdd);
        if (!canAdd)
            return false;
    }
    return true;
}

void TCustomShellTreeView::FillNode(TTreeNode* node)
{
    TWaitCursor wait;
    UpdateGuard update(*this);
    TShellFolder* item = NodeFolder(node);
    if (!item || !item->FolderInterface())
        return;
    TComPtr<IEnumIDList> items;
    if (item->FolderInterface()->EnumObjects(Application().Handle(), ObjectTypesFlags(objectTypes_),
                                             items.put()) != S_OK ||
        !items)
        return;
    const bool prefetch = PrefetchesIcons();
    int prefetched = 0;
    for (;;) {
        ITEMIDLIST* raw = nullptr;
        if (items->Next(1, &raw, nullptr) != S_OK || !raw) {
            TIdList stray = ShellIdList(raw);
            break;
        }
        TIdList relative = ShellIdList(raw);  // the item keeps its own copy
        TTreeNode* child = AddChild(node, "");
        bool keep = false;
        try {
            keep = SetUpNode(child, node, relative.get());
        } catch (...) {
            child->Delete();
            throw;
        }
        if (!keep)
            child->Delete();
        else if (prefetch && ++prefetched <= kIconsAhead)
            iconPrefetch_->Ask(NodeFolder(child)->AbsoluteIdList());
    }
    CustomSort(node, [](TTreeNode& a, TTreeNode& b) {
        const TShellFolder* fa = NodeFolder(&a);
        const TShellFolder* fb = NodeFolder(&b);
        TComPtr<IShellFolder> parent = fa->ParentFolderInterface();
        if (!parent)
            return 0;
        const HRESULT hr = parent->CompareIDs(0, Pidl(fa->RelativeIdList()), Pidl(fb->RelativeIdList()));
        if (FAILED(hr))
            return 0;  // a failed comparison is no order
        return static_cast<int>(static_cast<short>(hr & 0xFFFF));
    });
}

bool TCustomShellTreeView::CanExpand(TTreeNode* node)
{
    const bool allow = TCustomTreeView::CanExpand(node);
    if (allow) {
        if (TShellFolder* item = NodeFolder(node)) {
            if (item->IsFolderItem()) {
                if (node->HasChildren() && !node->GetFirstChild())
                    FillNode(node);
            } else {
                const std::wstring path = item->WideParsingPath();
                const std::wstring directory = DirectoryPart(path);
                ShellExecuteW(Handle(), nullptr, path.c_str(), nullptr, directory.c_str(), SW_HIDE);
            }
        }
        // Only a fill decides the button: a vetoed expansion must leave the folder openable later.
        node->SetHasChildren(node->GetFirstChild() != nullptr);
    }
    return allow;
}

bool TCustomShellTreeView::Edit(TTreeNode* node, std::string& text)
{
    if (OnEdited)
        OnEdited(node, text);
    TShellFolder* item = NodeFolder(node);
    // Accepting the label as it stands is no rename.
    if (!item || text == node->Text())
        return false;
    {
        CurrentDirectoryRelease release(item->WideParsingPath());
        if (!item->RenameItem(text))
            return false;
        release.Renamed(item->WideParsingPath());
    }
    node->SetText(item->InFolderName());
    // The selected folder has a new path: whoever follows the selection is told. A selection below it moves
    // up to it first, as a user's move would: the nodes below name old paths and go.
    bool selectionBelow = false;
    for (TTreeNode* n = Selected(); n && !selectionBelow; n = n->Parent())
        selectionBelow = n->Parent() == node;
    if (selectionBelow)
        SetSelected(node);
    else if (node == Selected())
        Change(node);
    else if (Selected() && node->Parent() == Selected())
        ContentsChange();
    // The loaded nodes below still name the old path: drop them, the next expansion lists them afresh.
    if (node->GetFirstChild()) {
        UpdateGuard update(*this);
        node->Collapse();
        while (TTreeNode* child = node->GetFirstChild())
            child->Delete();
        node->SetHasChildren(true);
    }
    return false;
}

void TCustomShellTreeView::DestroyNodes()
{
    notifier_.reset();
    TCustomTreeView::DestroyNodes();
}

TTreeNode* TCustomShellTreeView::VerbNode() const
{
    TTreeNode* clicked = RightClickSelect() ? RightClickNode() : nullptr;
    return clicked ? clicked : Selected();
}

void TCustomShellTreeView::ContextPopup(POINT clientPos, bool& handled)
{
    if (!autoContextMenus_)
        return;
    handled = true;
    ShowShellContextMenu(*this, SelectedShellFolder(), clientPos);
}

void TCustomShellTreeView::BeforeVerb(const std::string& verb, bool& takenOver)
{
    if (SameVerb(verb, "rename")) {
        if (TTreeNode* node = VerbNode()) {
            EditText(node);
            takenOver = true;
        }
    } else if (SameVerb(verb, "delete")) {
        leftDirectory_.clear();
        if (const TShellFolder* item = SelectedShellFolder())
            leftDirectory_ = LeaveFolder(item->WideParsingPath());
    } else if (SameVerb(verb, "open")) {
        // What the shell starts runs in the item's folder.
        savedDirectory_ = WideCurrentDirectory();
        if (const TShellFolder* item = SelectedShellFolder()) {
            const std::wstring directory = DirectoryPart(item->WideParsingPath());
            if (!directory.empty())
                EnterDirectory(directory);
        }
    }
}

void TCustomShellTreeView::AfterVerb(const std::string& verb, bool succeeded)
{
    if (SameVerb(verb, "open")) {
        // Back however the command went: the lists keep the current directory where they put it.
        if (!savedDirectory_.empty())
            SetCurrentDirectoryW(savedDirectory_.c_str());
        savedDirectory_.clear();
        return;
    }
    TTreeNode* node = VerbNode();
    // A command on the selected folder or on one of its sub-folders may change what the selected folder
    // holds. A rename is not done until its editor closes, and tells then.
    const bool selectedFolderTouched = succeeded && node && Selected() &&
                                       (node == Selected() || node->Parent() == Selected()) && !IsEditing();
    if (SameVerb(verb, "delete")) {
        // A deletion the user called off is reported as done as well: only a folder that is gone loses its
        // node. One that stays takes the current directory back if it held it. A folder outside the file
        // system (the trash, the control panel) has no path to look at, and stays. The shell's path of a
        // folder that is gone still names it, where a short form would be gone with it.
        const std::wstring left = std::exchange(leftDirectory_, std::wstring());
        const TShellFolder* item = NodeFolder(node);
        const bool gone = item && item->ItemStates().Contains(TShellItemState::siFileSystem) &&
                          GetFileAttributesW(item->WideParsingPath().c_str()) == INVALID_FILE_ATTRIBUTES;
        if (!succeeded || !node || (item && !gone)) {
            if (!left.empty())
                SetCurrentDirectoryW(left.c_str());
            return;
        }
        // A selection in the deleted folder moves to its parent first, as a user's move would, so the views
        // that follow the selection leave it; they read the parent then.
        for (TTreeNode* n = Selected(); n; n = n->Parent())
            if (n == node) {
                SetSelected(node->Parent());
                node->Delete();
                return;
            }
        node->Delete();
    } else if (succeeded && node && SameVerb(verb, "paste")) {
        RefreshNode(node);
    }
    if (selectedFolderTouched)
        ContentsChange();
}

void TCustomShellTreeView::ContentsChange()
{
    if (OnContentsChange)
        OnContentsChange();
}

void TCustomShellTreeView::SetAutoRefresh(bool value)
{
    autoRefresh_ = value;
    UpdateNotifier();
}

void TCustomShellTreeView::Change(TTreeNode* node)
{
    UpdateNotifier();
    TCustomTreeView::Change(node);
}

void TCustomShellTreeView::UpdateNotifier()
{
    std::string path;
    if (autoRefresh_ && HandleAllocated()) {
        const TShellFolder* item = NodeFolder(Selected());
        if (!item)
            item = rootItem_.get();
        if (item)
            path = item->ParsingPath();
        if (path.find('\\') == std::string::npos)
            path.clear();  // a virtual folder: nothing on disk to watch
    }
    if (path.empty()) {
        notifier_.reset();
        return;
    }
    if (notifier_ && notifier_->Path() == path)
        return;
    notifier_.reset();  // the old thread ends before a new one starts
    notifier_ = std::make_unique<TShellChangeNotifier>(path, [this] {
        if (TTreeNode* selected = Selected())
            RefreshNode(selected);
    });
}

TShellFolder* TCustomShellTreeView::SelectedShellFolder() const
{
    return NodeFolder(VerbNode());
}

std::string TCustomShellTreeView::SelectedPath() const
{
    const TShellFolder* item = SelectedShellFolder();
    return item ? item->ParsingPath() : std::string();
}

void TCustomShellTreeView::SetSelectedPath(const std::string& path)
{
    TIdList list;
    try {
        TComPtr<IShellFolder> desktop = DesktopFolderInterface();
        OleCheck(ParseDisplayNameToIdList(desktop.get(), path, list));
    } catch (const EOleSysError&) {
        throw EInvalidPath(PathErrorMessage(path));
    }
    if (!list)
        throw EInvalidPath(PathErrorMessage(path));
    SelectIdList(list.get());
}

// Whether the node's item is the one the list names; the list has as many items as the item's list.
bool TCustomShellTreeView::NodeNamesList(const TShellFolder& item, const void* list)
{
    if (SameIdListBytes(item.AbsoluteIdList(), list))
        return true;
    // A child of its parent's folder: that folder tells the last items apart, which is all that can differ
    // between siblings, at a small part of the cost of the desktop comparing the whole lists.
    const std::uint8_t* relative = item.RelativeIdList();
    if (IdListItemCount(relative) == 1) {
        if (TComPtr<IShellFolder> parent = item.ParentFolderInterface()) {
            const HRESULT hr = parent->CompareIDs(0, Pidl(relative), Pidl(LastItemId(list)));
            if (SUCCEEDED(hr) && static_cast<short>(hr & 0xFFFF) != 0)
                return false;
        }
    }
    return SameIdList(item.AbsoluteIdList(), list);
}

// Depth-first, in the order of the control, through start and the nodes below it. A list never names
// the same item as a list of another length, so only nodes whose lists are as long as the one looked
// for are compared, and nothing below them is looked at: the search costs the nodes on the way, not
// every node loaded.
TTreeNode* TCustomShellTreeView::FindFolderNode(const void* list, TTreeNode* start) const
{
    if (!start)
        return nullptr;
    const std::size_t wanted = IdListItemCount(list);
    const std::function<TTreeNode*(TTreeNode*)> search = [&](TTreeNode* node) -> TTreeNode* {
        if (const TShellFolder* item = NodeFolder(node)) {
            const std::size_t items = IdListItemCount(item->AbsoluteIdList());
            if (items == wanted && NodeNamesList(*item, list))
                return node;
            if (items >= wanted)
                return nullptr;
        }
        for (TTreeNode* child = node->GetFirstChild(); child; child = child->GetNextSibling())
            if (TTreeNode* found = search(child))
                return found;
        return nullptr;
    };
    return search(start);
}

void TCustomShellTreeView::SelectIdList(const void* list)
{
    if (busy_ || loading_)
        return;
    if (const TShellFolder* selected = NodeFolder(Selected()))
        if (SameIdList(selected->AbsoluteIdList(), list))
            return;
    FlagGuard busy(busy_);
    // Painting is suspended once a node on the way opens: turning it back on makes the control measure
    // every open node again, which a walk through open nodes only would pay for nothing.
    std::optional<UpdateGuard> update;
    const std::vector<TIdList> prefixes = IdListPrefixes(ShellAllocator(), list);
    TTreeNode* current = GetFirstNode();
    for (const TIdList& prefix : prefixes)
        if (TTreeNode* found = FindFolderNode(prefix.get(), current)) {
            if (!found->Expanded() && !update)
                update.emplace(*this);
            found->Expand();
            current = found;
        }
    SetSelected(FindFolderNode(list, current));
}

void TCustomShellTreeView::RefreshNode(TTreeNode* node)
{
    TShellFolder* old = NodeFolder(node);
    if (!old || !old->FolderInterface())
        return;
    TWaitCursor wait;
    UpdateGuard update(*this);
    auto absoluteOf = [](const TShellFolder& item) {
        return JoinIdLists(ShellAllocator(), item.ParentItem() ? item.ParentItem()->AbsoluteIdList() : nullptr,
                           item.RelativeIdList());
    };
    TIdList topList, selectedList;
    if (const TShellFolder* top = NodeFolder(TopItem()))
        topList = absoluteOf(*top);
    if (const TShellFolder* selected = NodeFolder(Selected()))
        selectedList = absoluteOf(*selected);

    TTreeNode* parentNode = node->Parent();
    TTreeNode* fresh = Insert(node, "");
    fresh->SetData(std::make_unique<TShellFolder>(NodeFolder(parentNode), old->FolderInterfaceRef(),
                                                  old->RelativeIdList()));
    FillNode(fresh);
    const TShellFolder& item = *NodeFolder(fresh);
    SetNodeImages(fresh, false);
    fresh->SetHasChildren(item.ClaimsSubFolders());
    fresh->SetText(item.InFolderName());

    // Open again what was open below the old node.
    const int level = node->Level();
    for (TTreeNode* n = node; n; n = n->GetNext()) {
        if (n != node && n->Level() <= level)
            break;
        const TShellFolder* former = NodeFolder(n);
        if (!former || !n->Expanded())
            continue;
        if (TTreeNode* found = FindFolderNode(former->AbsoluteIdList(), fresh))
            found->Expand();
    }
    node->Delete();

    if (selectedList)
        SetSelected(FindFolderNode(selectedList.get(), GetFirstNode()));
    if (topList)
        SetTopItem(FindFolderNode(topList.get(), GetFirstNode()));
}
