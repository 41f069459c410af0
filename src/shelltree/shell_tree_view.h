#pragma once
// The shell folder tree: one top-level node for the root folder (the desktop unless told otherwise),
// folders filled in lazily when first expanded, in the namespace's own order, and the selected folder
// exchanged as a path.
#include <climits>
#include <functional>
#include <memory>
#include <string>

#include "gui/tree_view.h"
#include "shelltree/shell_change_notifier.h"
#include "shelltree/shell_context_menu.h"
#include "shelltree/shell_folder.h"
#include "shelltree/shell_icon_prefetch.h"
#include "shelltree/shell_tree_types.h"

// Lets the owner veto each new child node; canAdd is true on entry.
using TAddFolderEvent = std::function<void(TShellFolder* folder, bool& canAdd)>;

class TCustomShellTreeView : public TCustomTreeView, public IShellVerbHooks {
public:
    explicit TCustomShellTreeView(TComponent* owner);
    ~TCustomShellTreeView() override;

    // The end of setting the tree up: it builds itself from Root now.
    void Loaded();

    // The selected folder's path; for a virtual folder its plain name; empty with nothing selected.
    std::string SelectedPath() const;
    // Selects the folder the text names, expanding its ancestors on the way. Raises EInvalidPath when the
    // shell cannot parse the text; a folder the tree does not reach clears the selection.
    void SetSelectedPath(const std::string& path);
    // The selected node's item; while a right click is handled, that of the node under the mouse.
    TShellFolder* SelectedShellFolder() const;
    // Rebuilds node and its loaded subtree from the shell, keeping open branches, selection and scroll place.
    void RefreshNode(TTreeNode* node);
    // The item a node carries, or null.
    static TShellFolder* NodeFolder(const TTreeNode* node);

    // The tree's part in the commands of its shell menu: "rename" edits the label in place instead of the
    // shell; "open" runs with the item's folder as the current directory, which is restored afterwards;
    // a successful "delete" drops the folder's node, a "paste" rebuilds it. None needs a path the ANSI
    // calls take.
    void BeforeVerb(const std::string& verb, bool& takenOver) override;
    void AfterVerb(const std::string& verb, bool succeeded) override;
    // The folder the change notifier watches now (empty when none runs), and its worker's thread.
    std::string WatchedPath() const { return notifier_ && notifier_->Active() ? notifier_->Path() : std::string(); }
    DWORD NotifierThreadId() const { return notifier_ ? notifier_->ThreadId() : 0; }

    // A command of the tree (its shell menu, a rename in place) may have changed what the selected folder
    // holds, the selection staying on it: whoever shows that folder's contents reads them again.
    TNotifyEvent OnContentsChange;

protected:
    // A TRootFolder name or a path: the folder shown as the single top-level node.
    const std::string& Root() const { return root_; }
    void SetRoot(const std::string& root);
    TShellObjectTypes ObjectTypes() const { return objectTypes_; }
    virtual void SetObjectTypes(TShellObjectTypes types);
    bool UseShellImages() const { return useShellImages_; }
    void SetUseShellImages(bool value);
    // Watches the selected folder (not its sub-folders) on a thread of its own and rebuilds its node when
    // names in it change.
    bool AutoRefresh() const { return autoRefresh_; }
    void SetAutoRefresh(bool value);
    // A right click shows the shell's context menu for the folder.
    bool AutoContextMenus() const { return autoContextMenus_; }
    void SetAutoContextMenus(bool value) { autoContextMenus_ = value; }
    TAddFolderEvent OnAddFolder;

    void CreateWnd() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void GetImageIndex(TTreeNode* node) override;
    void GetSelectedIndex(TTreeNode* node) override;
    bool CanExpand(TTreeNode* node) override;
    void Change(TTreeNode* node) override;
    bool Edit(TTreeNode* node, std::string& text) override;
    void DestroyNodes() override;
    void ContextPopup(POINT clientPos, bool& handled) override;
    // Frees every node and its item.
    virtual void ClearItems();

private:
    void LoadRoot();
    void FillNode(TTreeNode* node);
    // Gives a new child node its item, text, images and expand button; false when OnAddFolder vetoed it.
    bool SetUpNode(TTreeNode* node, TTreeNode* parent, const void* relative);
    // The node's normal and open images become the shell's icons for its item once the control asks.
    void SetNodeImages(TTreeNode* node, bool openFallback);
    // The shell's icon for the item (normal or open); a plain folder's is asked for once for all of them.
    int ShellImageOf(const TShellFolder& item, bool open);
    void SelectIdList(const void* list);
    TTreeNode* FindFolderNode(const void* list, TTreeNode* start) const;
    static bool NodeNamesList(const TShellFolder& item, const void* list);
    void AssignImageList();
    // The system image list when the tree shows the shell's images, else none.
    HIMAGELIST ShownImages();
    // Whether filled nodes have their icons asked for ahead (see TShellIconPrefetch).
    bool PrefetchesIcons() const;
    // The node a menu command acts on: the right-clicked one while that click is handled, else the selected.
    TTreeNode* VerbNode() const;
    // Starts, keeps or stops the change notifier to match AutoRefresh and the selected folder.
    void UpdateNotifier();
    void ContentsChange();

    std::string root_ = "rfDesktop";
    std::string previousRoot_ = "rfDesktop";
    std::unique_ptr<TShellFolder> rootItem_;
    TShellObjectTypes objectTypes_{TShellObjectType::otFolders};
    bool useShellImages_ = true;
    bool autoRefresh_ = false;
    bool autoContextMenus_ = true;
    std::wstring savedDirectory_;  // the current directory before an "open" from the menu
    std::wstring leftDirectory_;   // the current directory a "delete" moved out of the folder, if it did
    bool loading_ = true;
    bool busy_ = false;
    bool rootLoading_ = false;
    bool imageListGuard_ = false;
    HIMAGELIST systemImages_ = nullptr;
    int plainFolderImages_[2] = {INT_MIN, INT_MIN};  // normal and open; INT_MIN until asked for
    std::unique_ptr<TShellChangeNotifier> notifier_;
    std::unique_ptr<TShellIconPrefetch> iconPrefetch_;
};

// The tree as placed on a window: the settings made public.
class TShellTreeView : public TCustomShellTreeView {
public:
    using TCustomShellTreeView::TCustomShellTreeView;
    using TCustomShellTreeView::Root;
    using TCustomShellTreeView::SetRoot;
    using TCustomShellTreeView::ObjectTypes;
    using TCustomShellTreeView::SetObjectTypes;
    using TCustomShellTreeView::UseShellImages;
    using TCustomShellTreeView::SetUseShellImages;
    using TCustomShellTreeView::AutoRefresh;
    using TCustomShellTreeView::SetAutoRefresh;
    using TCustomShellTreeView::AutoContextMenus;
    using TCustomShellTreeView::SetAutoContextMenus;
    using TCustomShellTreeView::OnAddFolder;
};
