#pragma once
// The framework's tree view over SysTreeView32. Each node is a TTreeNode owned by its tree, and owns what
// it carries; nodes go with their window. Expansion, selection and label editing arrive as reflected
// notifications and pass through virtual checks that a specialised tree replaces; an expansion asked for by
// code runs the same check directly, so an exception raised there reaches the caller.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include "gui/win_control.h"

class TCustomTreeView;

class TTreeNode {
public:
    TTreeNode(TCustomTreeView& treeView, HTREEITEM item) : treeView_(treeView), item_(item) {}
    TTreeNode(const TTreeNode&) = delete;
    TTreeNode& operator=(const TTreeNode&) = delete;

    HTREEITEM ItemId() const { return item_; }
    TCustomTreeView& TreeView() const { return treeView_; }

    std::string Text() const;
    void SetText(const std::string& text);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    int SelectedIndex() const { return selectedIndex_; }
    void SetSelectedIndex(int index);
    // An overlay of the image list (0 is its first); -1 for none.
    int OverlayIndex() const { return overlayIndex_; }
    void SetOverlayIndex(int index);
    // Shows the expand button whether or not child nodes exist.
    bool HasChildren() const;
    void SetHasChildren(bool value);

    bool Expanded() const;
    // Expands the node after the tree's expansion check allows it (which may fill it).
    void Expand();
    void Collapse();
    bool Selected() const;

    TTreeNode* Parent() const;
    TTreeNode* GetFirstChild() const;
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    // The next node in depth-first order: first child, else next sibling, else an ancestor's next sibling.
    TTreeNode* GetNext() const;
    int Level() const;
    // The number of direct child nodes.
    int Count() const;
    // Removes the node with all below it; the node object is gone afterwards.
    void Delete();

    // What the node carries, of the type its tree puts there; freed with the node.
    template <typename T>
    T* Data() const
    {
        return static_cast<T*>(data_.get());
    }
    template <typename T>
    void SetData(std::unique_ptr<T> data)
    {
        data_ = DataPtr(data.release(), [](void* p) { std::default_delete<T>()(static_cast<T*>(p)); });
    }
    void FreeData() { data_.reset(); }

private:
    friend class TCustomTreeView;
    using DataPtr = std::unique_ptr<void, void (*)(void*)>;
    TTreeNode* Relative(UINT relation) const;
    void Invalidate() const;
    void SetItem(TVITEMW& item) const;

    TCustomTreeView& treeView_;
    HTREEITEM item_;
    int imageIndex_ = 0;
    int selectedIndex_ = 0;
    int overlayIndex_ = -1;
    DataPtr data_{nullptr, nullptr};
};

using TTVChangedEvent = std::function<void(TTreeNode* node)>;
using TTVChangingEvent = std::function<void(TTreeNode* node, bool& allowChange)>;
using TTVExpandingEvent = std::function<void(TTreeNode* node, bool& allowExpansion)>;
using TTVEditedEvent = std::function<void(TTreeNode* node, std::string& text)>;

class TCustomTreeView : public TWinControl {
public:
    explicit TCustomTreeView(TComponent* owner);
    ~TCustomTreeView() override;

    // A new node as the last child of parent (top level when parent is null).
    TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
    // A new node just before sibling, under the same parent.
    TTreeNode* Insert(TTreeNode* sibling, const std::string& text);
    // Removes every node.
    void Clear();
    TTreeNode* GetFirstNode() const;
    TTreeNode* NodeFromItem(HTREEITEM item) const;
    int NodeCount() const { return static_cast<int>(nodes_.size()); }

    TTreeNode* Selected() const;
    // Selects node (null clears the selection); the control reports the change as the user's would be.
    void SetSelected(TTreeNode* node);
    TTreeNode* TopItem() const;
    void SetTopItem(TTreeNode* node);

    // Painting stays off from the first BeginUpdate to the matching EndUpdate, then the tree repaints once.
    void BeginUpdate();
    void EndUpdate();
    // Orders the direct children of parent (the top level when null) by compare (<0, 0, >0).
    void CustomSort(TTreeNode* parent, const std::function<int(TTreeNode&, TTreeNode&)>& compare);

    int Indent() const { return indent_; }
    void SetIndent(int indent);
    // Lines and expand buttons left of the top-level nodes.
    bool ShowRoot() const { return showRoot_; }
    void SetShowRoot(bool value);
    // Without it, a click on the selected node's label edits it.
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    // While a right click is handled, the node under the mouse is the one acted on; the selection stays.
    bool RightClickSelect() const { return rightClickSelect_; }
    void SetRightClickSelect(bool value) { rightClickSelect_ = value; }

    // The node whose row holds the client point, or null.
    TTreeNode* GetNodeAt(int x, int y) const;
    // Opens the label editor on node, as a slow second click on its label does (not on a read-only tree).
    void EditText(TTreeNode* node);
    // A label editor is open.
    bool IsEditing() const;
    bool HoldsKeyboard() const override { return IsEditing(); }

    TTVChangedEvent OnChange;
    TTVChangingEvent OnChanging;
    TTVExpandingEvent OnExpanding;
    TTVEditedEvent OnEdited;

    // Keeps painting off for a scope.
    class UpdateGuard {
    public:
        explicit UpdateGuard(TCustomTreeView& tree) : tree_(tree) { tree_.BeginUpdate(); }
        ~UpdateGuard() { tree_.EndUpdate(); }
        UpdateGuard(const UpdateGuard&) = delete;
        UpdateGuard& operator=(const UpdateGuard&) = delete;

    private:
        TCustomTreeView& tree_;
    };

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void FontChanged() override;
    void ColorChanged() override;

    // The control is about to draw node's image, or its image when selected: the last moment to set it.
    virtual void GetImageIndex(TTreeNode* node);
    virtual void GetSelectedIndex(TTreeNode* node);
    // Before a node expands: raises OnExpanding; false forbids the expansion.
    virtual bool CanExpand(TTreeNode* node);
    // Before the selection moves to node (null: cleared): raises OnChanging; false keeps the selection.
    virtual bool CanChange(TTreeNode* node);
    // After the selection moved: raises OnChange.
    virtual void Change(TTreeNode* node);
    // A label edit was accepted with text: raises OnEdited and shows the text. Returns whether the control
    // is to take the edited text itself.
    virtual bool Edit(TTreeNode* node, std::string& text);
    // The window goes: every node goes with it.
    virtual void DestroyNodes();
    // A context menu is asked for at a client point: a right click, the menu key or Shift+F10 (then at the
    // selected node). handled = true keeps the platform's own handling out.
    virtual void ContextPopup(POINT clientPos, bool& handled);
    // The node under the mouse while a right click is handled (with RightClickSelect), else null.
    TTreeNode* RightClickNode() const { return rightClickNode_; }

private:
    friend class TTreeNode;
    TTreeNode* InsertItem(HTREEITEM parent, HTREEITEM after, const std::string& text);
    void DeleteNode(TTreeNode* node);
    void ExpandNode(TTreeNode* node);
    LRESULT Notify(NMHDR* header);
    void UpdateStyle(DWORD bit, bool on);
    void ContextMenuRequest(LPARAM screenPos, bool reflected);

    std::unordered_map<HTREEITEM, std::unique_ptr<TTreeNode>> nodes_;
    int updateCount_ = 0;
    int deleting_ = 0;                        // the control's own selection moves during deletion are not told
    TTreeNode* expandingByCode_ = nullptr;    // its check has run already
    bool editing_ = false;                    // a label edit has begun and not yet ended
    bool painting_ = false;                   // the control draws: what it asks for is what it shows
    int indent_ = 19;
    bool showRoot_ = true;
    bool readOnly_ = false;
    bool rightClickSelect_ = true;
    TTreeNode* rightClickNode_ = nullptr;
};
