#include "gui/tree_view.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

#include "gui/application.h"
#include "runtime/ansi.h"
#include "runtime/exceptions.h"

namespace {

struct SortContext {
    const std::function<int(TTreeNode&, TTreeNode&)>* compare;
};

int CALLBACK SortCallback(LPARAM a, LPARAM b, LPARAM context)
{
    try {
        auto* ctx = reinterpret_cast<SortContext*>(context);
        return (*ctx->compare)(*reinterpret_cast<TTreeNode*>(a), *reinterpret_cast<TTreeNode*>(b));
    } catch (...) {
        Application().HandleCurrentException();
        return 0;
    }
}

// Sets a value for the length of a scope.
template <typename T>
class ScopedValue {
public:
    ScopedValue(T& target, T value) : target_(target), old_(target) { target_ = value; }
    ~ScopedValue() { target_ = old_; }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

private:
    T& target_;
    T old_;
};

void CollectSubtree(TTreeNode* node, std::vector<HTREEITEM>& items)
{
    items.push_back(node->ItemId());
    for (TTreeNode* child = node->GetFirstChild(); child; child = child->GetNextSibling())
        CollectSubtree(child, items);
}

}  // namespace

// ---- TTreeNode

void TTreeNode::SetItem(TVITEMW& item) const
{
    item.hItem = item_;
    SendMessageW(treeView_.Handle(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

std::string TTreeNode::Text() const
{
    wchar_t buffer[1024] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = item_;
    item.pszText = buffer;
    item.cchTextMax = static_cast<int>(std::size(buffer));
    SendMessageW(treeView_.Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return WideToAnsi(item.pszText ? item.pszText : L"");
}

void TTreeNode::SetText(const std::string& text)
{
    std::wstring wide = AnsiToWide(text);
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.pszText = wide.data();
    SetItem(item);
}

void TTreeNode::SetImageIndex(int index)
{
    if (index == imageIndex_)
        return;
    imageIndex_ = index;
    Invalidate();
}

void TTreeNode::SetSelectedIndex(int index)
{
    if (index == selectedIndex_)
        return;
    selectedIndex_ = index;
    Invalidate();
}

void TTreeNode::Invalidate() const
{
    RECT r{};
    std::memcpy(&r, &item_, sizeof(item_));  // the control reads the node from the rectangle's first bytes
    if (SendMessageW(treeView_.Handle(), TVM_GETITEMRECT, FALSE, reinterpret_cast<LPARAM>(&r)))
        InvalidateRect(treeView_.Handle(), &r, TRUE);
}

void TTreeNode::SetOverlayIndex(int index)
{
    overlayIndex_ = index;
    TVITEMW item{};
    item.mask = TVIF_STATE;
    item.stateMask = TVIS_OVERLAYMASK;
    item.state = index >= 0 ? INDEXTOOVERLAYMASK(index + 1) : 0;
    SetItem(item);
}

bool TTreeNode::HasChildren() const
{
    TVITEMW item{};
    item.mask = TVIF_CHILDREN;
    item.hItem = item_;
    SendMessageW(treeView_.Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.cChildren != 0;
}

void TTreeNode::SetHasChildren(bool value)
{
    TVITEMW item{};
    item.mask = TVIF_CHILDREN;
    item.cChildren = value ? 1 : 0;
    SetItem(item);
}

bool TTreeNode::Expanded() const
{
    return (SendMessageW(treeView_.Handle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item_), TVIS_EXPANDED) &
            TVIS_EXPANDED) != 0;
}

void TTreeNode::Expand()
{
    treeView_.ExpandNode(this);
}

void TTreeNode::Collapse()
{
    SendMessageW(treeView_.Handle(), TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(item_));
}

bool TTreeNode::Selected() const
{
    return treeView_.Selected() == this;
}

TTreeNode* TTreeNode::Relative(UINT relation) const
{
    auto item = reinterpret_cast<HTREEITEM>(
        SendMessageW(treeView_.Handle(), TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item_)));
    return treeView_.NodeFromItem(item);
}

TTreeNode* TTreeNode::Parent() const
{
    return Relative(TVGN_PARENT);
}

TTreeNode* TTreeNode::GetFirstChild() const
{
    return Relative(TVGN_CHILD);
}

TTreeNode* TTreeNode::GetNextSibling() const
{
    return Relative(TVGN_NEXT);
}

TTreeNode* TTreeNode::GetPrevSibling() const
{
    return Relative(TVGN_PREVIOUS);
}

TTreeNode* TTreeNode::GetNext() const
{
    if (TTreeNode* child = GetFirstChild())
        return child;
    for (const TTreeNode* node = this; node; node = node->Parent())
        if (TTreeNode* sibling = node->GetNextSibling())
            return sibling;
    return nullptr;
}

int TTreeNode::Level() const
{
    int level = 0;
    for (TTreeNode* p = Parent(); p; p = p->Parent())
        ++level;
    return level;
}

int TTreeNode::Count() const
{
    int count = 0;
    for (TTreeNode* child = GetFirstChild(); child; child = child->GetNextSibling())
        ++count;
    return count;
}

void TTreeNode::Delete()
{
    treeView_.DeleteNode(this);
}

// ---- TCustomTreeView

TCustomTreeView::TCustomTreeView(TComponent* owner) : TWinControl(owner)
{
    SetTabStop(true);
    SetColor(clWindow);
}

TCustomTreeView::~TCustomTreeView() = default;

void TCustomTreeView::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.className = WC_TREEVIEWW;
    params.style |= TVS_HASBUTTONS | TVS_HASLINES;
    if (showRoot_)
        params.style |= TVS_LINESATROOT;
    if (!readOnly_)
        params.style |= TVS_EDITLABELS;
    params.exStyle |= WS_EX_CLIENTEDGE;
}

void TCustomTreeView::CreateWnd()
{
    nodes_.clear();  // left from a window that went without telling
    deleting_ = 0;
    TWinControl::CreateWnd();
    SendMessageW(Handle(), TVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
    SendMessageW(Handle(), TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Font().Color())));
    SendMessageW(Handle(), TVM_SETINDENT, static_cast<WPARAM>(Scale(indent_)), 0);
}

void TCustomTreeView::FontChanged()
{
    TWinControl::FontChanged();
    if (HandleAllocated())
        SendMessageW(Handle(), TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Font().Color())));
}

void TCustomTreeView::ColorChanged()
{
    TWinControl::ColorChanged();
    if (HandleAllocated())
        SendMessageW(Handle(), TVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
}

void TCustomTreeView::SetIndent(int indent)
{
    indent_ = indent;
    if (HandleAllocated())
        SendMessageW(Handle(), TVM_SETINDENT, static_cast<WPARAM>(Scale(indent_)), 0);
}

void TCustomTreeView::UpdateStyle(DWORD bit, bool on)
{
    if (!HandleAllocated())
        return;
    LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
    style = on ? (style | bit) : (style & ~static_cast<LONG_PTR>(bit));
    SetWindowLongPtrW(Handle(), GWL_STYLE, style);
}

void TCustomTreeView::SetShowRoot(bool value)
{
    showRoot_ = value;
    UpdateStyle(TVS_LINESATROOT, value);
}

void TCustomTreeView::SetReadOnly(bool value)
{
    readOnly_ = value;
    UpdateStyle(TVS_EDITLABELS, !value);
}

TTreeNode* TCustomTreeView::NodeFromItem(HTREEITEM item) const
{
    if (!item)
        return nullptr;
    auto it = nodes_.find(item);
    return it == nodes_.end() ? nullptr : it->second.get();
}

TTreeNode* TCustomTreeView::InsertItem(HTREEITEM parent, HTREEITEM after, const std::string& text)
{
    HandleNeeded();
    std::wstring wide = AnsiToWide(text);
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    // The control asks for the images when it draws the node, so they can be found out that late.
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = wide.data();
    insert.item.iImage = I_IMAGECALLBACK;
    insert.item.iSelectedImage = I_IMAGECALLBACK;
    auto item = reinterpret_cast<HTREEITEM>(
        SendMessageW(Handle(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    if (!item)
        throw Exception("Failed to insert a tree node");
    auto node = std::make_unique<TTreeNode>(*this, item);
    TTreeNode* result = node.get();
    nodes_[item] = std::move(node);
    TVITEMW param{};
    param.mask = TVIF_PARAM;
    param.lParam = reinterpret_cast<LPARAM>(result);
    result->SetItem(param);
    return result;
}

TTreeNode* TCustomTreeView::AddChild(TTreeNode* parent, const std::string& text)
{
    return InsertItem(parent ? parent->ItemId() : TVI_ROOT, TVI_LAST, text);
}

TTreeNode* TCustomTreeView::Insert(TTreeNode* sibling, const std::string& text)
{
    if (!sibling)
        return AddChild(nullptr, text);
    TTreeNode* parent = sibling->Parent();
    TTreeNode* previous = sibling->GetPrevSibling();
    return InsertItem(parent ? parent->ItemId() : TVI_ROOT, previous ? previous->ItemId() : TVI_FIRST, text);
}

void TCustomTreeView::DeleteNode(TTreeNode* node)
{
    std::vector<HTREEITEM> doomed;
    CollectSubtree(node, doomed);
    {
        ScopedValue<int> deleting(deleting_, deleting_ + 1);
        SendMessageW(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node->ItemId()));
    }
    for (HTREEITEM item : doomed) {
        if (rightClickNode_ && rightClickNode_->ItemId() == item)
            rightClickNode_ = nullptr;
        nodes_.erase(item);
    }
}

void TCustomTreeView::Clear()
{
    if (HandleAllocated()) {
        ScopedValue<int> deleting(deleting_, deleting_ + 1);
        SendMessageW(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    }
    rightClickNode_ = nullptr;
    nodes_.clear();
}

void TCustomTreeView::DestroyNodes()
{
    rightClickNode_ = nullptr;
    nodes_.clear();
}

TTreeNode* TCustomTreeView::GetNodeAt(int x, int y) const
{
    if (!HandleAllocated())
        return nullptr;
    TVHITTESTINFO hit{};
    hit.pt = {x, y};
    SendMessageW(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    constexpr UINT onRow = TVHT_ONITEM | TVHT_ONITEMINDENT | TVHT_ONITEMBUTTON | TVHT_ONITEMRIGHT;
    return (hit.flags & onRow) ? NodeFromItem(hit.hItem) : nullptr;
}

void TCustomTreeView::EditText(TTreeNode* node)
{
    if (!node || readOnly_)
        return;
    // The control edits labels only while it has the focus.
    if (GetFocus() != Handle())
        ::SetFocus(Handle());
    SendMessageW(Handle(), TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(node->ItemId()));
}

bool TCustomTreeView::IsEditing() const
{
    return HandleAllocated() && SendMessageW(Handle(), TVM_GETEDITCONTROL, 0, 0) != 0;
}

void TCustomTreeView::ContextPopup(POINT /*clientPos*/, bool& /*handled*/)
{
}

void TCustomTreeView::ContextMenuRequest(LPARAM screenPos, bool reflected)
{
    // Signed coordinates (a screen left of or above the main one); windowsx.h would rename node methods.
    POINT pt{static_cast<short>(LOWORD(screenPos)), static_cast<short>(HIWORD(screenPos))};
    TTreeNode* clicked = nullptr;
    if (pt.x == -1 && pt.y == -1) {
        // From the keyboard: at the selected node, as far as it is in view.
        pt = {0, 0};
        if (TTreeNode* selected = Selected()) {
            RECT r{};
            const HTREEITEM item = selected->ItemId();
            std::memcpy(&r, &item, sizeof(item));  // the control reads the node from the rectangle's first bytes
            if (SendMessageW(Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r))) {
                RECT client{};
                GetClientRect(Handle(), &client);
                pt = {std::clamp(r.left, client.left, client.right), std::clamp(r.bottom, client.top, client.bottom)};
            }
        }
    } else {
        ScreenToClient(Handle(), &pt);
        if (rightClickSelect_)
            clicked = GetNodeAt(pt.x, pt.y);
    }
    // The clicked node shows as the drop target while its menu is up; the selection itself does not move.
    struct Clicked {
        TCustomTreeView& tree;
        TTreeNode* saved;
        bool highlighted;
        Clicked(TCustomTreeView& t, TTreeNode* node) : tree(t), saved(t.rightClickNode_), highlighted(node != nullptr)
        {
            tree.rightClickNode_ = node;
            if (node)
                SendMessageW(tree.Handle(), TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(node->ItemId()));
        }
        ~Clicked()
        {
            if (highlighted && tree.HandleAllocated())
                SendMessageW(tree.Handle(), TVM_SELECTITEM, TVGN_DROPHILITE, 0);
            tree.rightClickNode_ = saved;
        }
    } scope(*this, clicked);
    bool handled = false;
    ContextPopup(pt, handled);
    if (!handled && !reflected)
        DefaultHandler(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Handle()), screenPos);  // on to the parent
}

TTreeNode* TCustomTreeView::GetFirstNode() const
{
    if (!HandleAllocated())
        return nullptr;
    return NodeFromItem(reinterpret_cast<HTREEITEM>(SendMessageW(Handle(), TVM_GETNEXTITEM, TVGN_ROOT, 0)));
}

TTreeNode* TCustomTreeView::Selected() const
{
    if (!HandleAllocated())
        return nullptr;
    return NodeFromItem(reinterpret_cast<HTREEITEM>(SendMessageW(Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

void TCustomTreeView::SetSelected(TTreeNode* node)
{
    HandleNeeded();
    SendMessageW(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node ? node->ItemId() : nullptr));
}

TTreeNode* TCustomTreeView::TopItem() const
{
    if (!HandleAllocated())
        return nullptr;
    return NodeFromItem(
        reinterpret_cast<HTREEITEM>(SendMessageW(Handle(), TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0)));
}

void TCustomTreeView::SetTopItem(TTreeNode* node)
{
    if (node)
        SendMessageW(Handle(), TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(node->ItemId()));
}

void TCustomTreeView::BeginUpdate()
{
    if (updateCount_++ == 0 && HandleAllocated())
        SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TCustomTreeView::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0 && HandleAllocated()) {
        SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
        InvalidateRect(Handle(), nullptr, TRUE);
    }
}

void TCustomTreeView::CustomSort(TTreeNode* parent, const std::function<int(TTreeNode&, TTreeNode&)>& compare)
{
    if (!HandleAllocated())
        return;
    SortContext context{&compare};
    TVSORTCB sort{};
    sort.hParent = parent ? parent->ItemId() : TVI_ROOT;
    sort.lpfnCompare = SortCallback;
    sort.lParam = reinterpret_cast<LPARAM>(&context);
    SendMessageW(Handle(), TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
}

void TCustomTreeView::ExpandNode(TTreeNode* node)
{
    if (node->Expanded())
        return;
    if (!CanExpand(node))
        return;
    ScopedValue<TTreeNode*> byCode(expandingByCode_, node);
    SendMessageW(Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node->ItemId()));
}

bool TCustomTreeView::CanExpand(TTreeNode* node)
{
    bool allow = true;
    if (OnExpanding)
        OnExpanding(node, allow);
    return allow;
}

void TCustomTreeView::GetImageIndex(TTreeNode* /*node*/)
{
}

void TCustomTreeView::GetSelectedIndex(TTreeNode* /*node*/)
{
}

bool TCustomTreeView::CanChange(TTreeNode* node)
{
    bool allow = true;
    if (OnChanging)
        OnChanging(node, allow);
    return allow;
}

void TCustomTreeView::Change(TTreeNode* node)
{
    if (OnChange)
        OnChange(node);
}

bool TCustomTreeView::Edit(TTreeNode* node, std::string& text)
{
    if (OnEdited)
        OnEdited(node, text);
    node->SetText(text);
    return false;
}

LRESULT TCustomTreeView::Notify(NMHDR* header)
{
    switch (header->code) {
    case TVN_ITEMEXPANDINGW:
    case TVN_ITEMEXPANDINGA: {
        // The item part of the record is laid out alike in both forms up to the text pointer; the low two
        // bits of the action say expand or collapse.
        auto* nm = reinterpret_cast<NMTREEVIEWW*>(header);
        TTreeNode* node = NodeFromItem(nm->itemNew.hItem);
        if (!node || (nm->action & 0x0003) != TVE_EXPAND || node == expandingByCode_)
            return FALSE;
        return CanExpand(node) ? FALSE : TRUE;
    }
    case TVN_SELCHANGINGW:
    case TVN_SELCHANGINGA: {
        if (deleting_)
            return FALSE;
        auto* nm = reinterpret_cast<NMTREEVIEWW*>(header);
        return CanChange(NodeFromItem(nm->itemNew.hItem)) ? FALSE : TRUE;
    }
    case TVN_SELCHANGEDW:
    case TVN_SELCHANGEDA: {
        if (deleting_)
            return 0;
        auto* nm = reinterpret_cast<NMTREEVIEWW*>(header);
        // Once the selection itself moves, the right-clicked node no longer stands in for it: whoever
        // follows the change reads the real one.
        rightClickNode_ = nullptr;
        Change(NodeFromItem(nm->itemNew.hItem));
        return 0;
    }
    case TVN_GETDISPINFOW:
    case TVN_GETDISPINFOA: {
        // The fields asked for here lie alike in both forms.
        auto* info = reinterpret_cast<NMTVDISPINFOW*>(header);
        TTreeNode* node = NodeFromItem(info->item.hItem);
        if (!node)
            return 0;
        // While the control draws, a node shows one of its images, the selected one only when it is drawn
        // selected: the other, which may cost as much to find out, is asked for when it is shown, or asked
        // for by code, and meanwhile the shown one stands in for it.
        const bool drawing = painting_ && (info->item.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE));
        const bool drawnSelected = drawing && node->Selected();
        const auto normal = [&] {
            GetImageIndex(node);
            return node->ImageIndex();
        };
        const auto selected = [&] {
            GetSelectedIndex(node);
            return node->SelectedIndex();
        };
        if (info->item.mask & TVIF_IMAGE)
            info->item.iImage = drawnSelected ? selected() : normal();
        if (info->item.mask & TVIF_SELECTEDIMAGE)
            info->item.iSelectedImage = drawing && !drawnSelected ? normal() : selected();
        return 0;
    }
    case TVN_BEGINLABELEDITW:
        editing_ = !readOnly_;
        return readOnly_ ? TRUE : FALSE;
    case TVN_ENDLABELEDITW: {
        // The control may report the end of one edit twice (again when the edit box loses the focus).
        if (!editing_)
            return FALSE;
        editing_ = false;
        auto* info = reinterpret_cast<NMTVDISPINFOW*>(header);
        TTreeNode* node = NodeFromItem(info->item.hItem);
        if (!node || !info->item.pszText)
            return FALSE;  // cancelled
        std::string text = WideToAnsi(info->item.pszText);
        return Edit(node, text) ? TRUE : FALSE;
    }
    default:
        return 0;
    }
}

LRESULT TCustomTreeView::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case CN_NOTIFY:
        return Notify(reinterpret_cast<NMHDR*>(lParam));
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) != Handle())
            break;
        ContextMenuRequest(lParam, false);
        return 0;
    case CN_CONTEXTMENU:
        // Some tree controls send the request for a right click to their parent instead of themselves.
        ContextMenuRequest(lParam, true);
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        // The menu key and Shift+F10 ask for the selected node's menu; the key itself goes no further, so no
        // second request follows from the platform's handling of it.
        if (wParam == VK_APPS || (wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_MENU) >= 0 &&
                                  GetKeyState(VK_CONTROL) >= 0)) {
            ContextMenuRequest(static_cast<LPARAM>(-1), false);
            return 0;
        }
        break;
    case WM_KEYUP:
        if (wParam == VK_APPS)
            return 0;
        break;
    case WM_PAINT: {
        ScopedValue<bool> painting(painting_, true);
        return TWinControl::WndProc(msg, wParam, lParam);
    }
    case WM_DESTROY:
        ++deleting_;  // the control empties itself now: nothing more to tell
        DestroyNodes();
        break;
    default:
        break;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}
