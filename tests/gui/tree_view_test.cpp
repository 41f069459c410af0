// The framework's tree view: nodes own what they carry, expansion passes through the tree's check once,
// and the control's own selection moves while nodes are deleted are not reported.
#include <gtest/gtest.h>

#include <cstring>
#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

#include "gui/application.h"
#include "gui/form.h"
#include "gui/tree_view.h"

namespace {

class HostForm : public TForm {
public:
    HostForm() : TForm(nullptr) { SetClientSize(200, 300); }
};

// Counts the live objects carried by nodes.
struct Carried {
    explicit Carried(int& live) : live_(live) { ++live_; }
    ~Carried() { --live_; }
    int& live_;
};

class CheckedTree : public TCustomTreeView {
public:
    using TCustomTreeView::TCustomTreeView;
    std::function<bool(TTreeNode*)> check;
    int checks = 0;
    // What each context-menu request saw: the node acted on and the client point.
    struct Request {
        TTreeNode* clicked;
        POINT at;
    };
    std::vector<Request> requests;

protected:
    bool CanExpand(TTreeNode* node) override
    {
        ++checks;
        return check ? check(node) : TCustomTreeView::CanExpand(node);
    }
    void ContextPopup(POINT clientPos, bool& handled) override
    {
        requests.push_back({RightClickNode(), clientPos});
        handled = true;
    }
};

class TreeView : public testing::Test {
protected:
    void SetUp() override
    {
        tree = std::make_unique<CheckedTree>(&host);
        tree->SetBounds(0, 0, 200, 300);
        tree->SetParent(&host);
        tree->OnChange = [this](TTreeNode* node) { changes.push_back(node); };
    }
    TTreeNode* Add(TTreeNode* parent, const char* text)
    {
        TTreeNode* node = tree->AddChild(parent, text);
        node->SetData(std::make_unique<Carried>(live));
        return node;
    }
    HostForm host;
    std::unique_ptr<CheckedTree> tree;
    std::vector<TTreeNode*> changes;
    int live = 0;
};

}  // namespace

TEST_F(TreeView, NodesFreeWhatTheyCarryWhenDeletedClearedOrWhenTheWindowGoes)
{
    TTreeNode* a = Add(nullptr, "a");
    TTreeNode* b = Add(a, "b");
    Add(b, "c");
    Add(nullptr, "d");
    EXPECT_EQ(live, 4);
    EXPECT_EQ(tree->NodeCount(), 4);
    b->Delete();
    EXPECT_EQ(live, 2);
    EXPECT_EQ(a->GetFirstChild(), nullptr);
    tree->Clear();
    EXPECT_EQ(live, 0);
    EXPECT_EQ(tree->GetFirstNode(), nullptr);

    Add(Add(nullptr, "x"), "y");
    EXPECT_EQ(live, 2);
    DestroyWindow(host.Handle());  // takes the tree's window with it
    EXPECT_EQ(live, 0);
    EXPECT_EQ(tree->NodeCount(), 0);
}

TEST_F(TreeView, DepthFirstOrderInsertBeforeAndSorting)
{
    TTreeNode* a = Add(nullptr, "a");
    TTreeNode* b = Add(a, "b");
    TTreeNode* c = Add(b, "c");
    TTreeNode* d = Add(nullptr, "d");
    TTreeNode* first = tree->Insert(a, "first");
    EXPECT_EQ(tree->GetFirstNode(), first);
    EXPECT_EQ(first->GetNext(), a);
    EXPECT_EQ(a->GetNext(), b);
    EXPECT_EQ(b->GetNext(), c);
    EXPECT_EQ(c->GetNext(), d);  // up and over to the next sibling of an ancestor
    EXPECT_EQ(d->GetNext(), nullptr);
    EXPECT_EQ(c->Level(), 2);

    Add(d, "3");
    Add(d, "1");
    Add(d, "2");
    tree->CustomSort(d, [](TTreeNode& x, TTreeNode& y) { return x.Text().compare(y.Text()); });
    std::string order;
    for (TTreeNode* n = d->GetFirstChild(); n; n = n->GetNextSibling())
        order += n->Text();
    EXPECT_EQ(order, "123");
}

TEST_F(TreeView, ExpansionByCodeRunsTheCheckOnceAndLetsItsFailureReachTheCaller)
{
    TTreeNode* a = Add(nullptr, "a");
    a->SetHasChildren(true);
    tree->check = [&](TTreeNode* node) {
        Add(node, "filled");
        return true;
    };
    a->Expand();
    EXPECT_EQ(tree->checks, 1);
    EXPECT_TRUE(a->Expanded());
    EXPECT_EQ(a->Count(), 1);

    TTreeNode* b = Add(nullptr, "b");
    b->SetHasChildren(true);
    tree->check = [](TTreeNode*) -> bool { throw std::runtime_error("no"); };
    EXPECT_THROW(b->Expand(), std::runtime_error);
    EXPECT_FALSE(b->Expanded());

    tree->check = [](TTreeNode*) { return false; };
    Add(b, "child");
    b->Expand();
    EXPECT_FALSE(b->Expanded());
}

TEST_F(TreeView, SelectionChangesAreReportedButNotTheMovesOfADeletion)
{
    TTreeNode* a = Add(nullptr, "a");
    TTreeNode* b = Add(nullptr, "b");
    tree->SetSelected(a);
    ASSERT_EQ(changes, std::vector<TTreeNode*>{a});
    EXPECT_TRUE(a->Selected());
    tree->SetSelected(a);  // already selected
    EXPECT_EQ(changes.size(), 1u);
    a->Delete();  // the control moves the selection on by itself
    EXPECT_EQ(changes.size(), 1u);
    tree->SetSelected(nullptr);
    tree->SetSelected(b);
    EXPECT_EQ(tree->Selected(), b);
    EXPECT_EQ(changes.back(), b);
    bool allow = false;
    tree->OnChanging = [&](TTreeNode*, bool& ok) { ok = allow; };
    TTreeNode* c = Add(nullptr, "c");
    tree->SetSelected(c);
    EXPECT_EQ(tree->Selected(), b);
}

TEST_F(TreeView, AMenuRequestNamesTheNodeUnderTheMouseAndTheKeysAskAtTheSelection)
{
    TTreeNode* a = Add(nullptr, "a");
    TTreeNode* b = Add(nullptr, "b");
    tree->SetSelected(a);
    changes.clear();
    RECT r{};
    const HTREEITEM item = b->ItemId();
    std::memcpy(&r, &item, sizeof(item));
    ASSERT_TRUE(SendMessageW(tree->Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)));
    POINT screen{r.left + 2, r.top + 2};
    ClientToScreen(tree->Handle(), &screen);
    // As the control asks, on itself or through its parent.
    SendMessageW(tree->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree->Handle()),
                 MAKELPARAM(screen.x, screen.y));
    SendMessageW(host.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree->Handle()),
                 MAKELPARAM(screen.x, screen.y));
    ASSERT_EQ(tree->requests.size(), 2u);
    for (const auto& request : tree->requests) {
        EXPECT_EQ(request.clicked, b);
        EXPECT_EQ(request.at.x, r.left + 2);
        EXPECT_EQ(request.at.y, r.top + 2);
    }
    EXPECT_EQ(tree->Selected(), a);
    EXPECT_TRUE(changes.empty());

    tree->requests.clear();
    tree->SetRightClickSelect(false);
    SendMessageW(tree->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree->Handle()),
                 MAKELPARAM(screen.x, screen.y));
    tree->SetRightClickSelect(true);
    PostMessageW(tree->Handle(), WM_KEYDOWN, VK_APPS, 1);
    Application().ProcessMessages();
    ASSERT_EQ(tree->requests.size(), 2u);
    for (const auto& request : tree->requests)
        EXPECT_EQ(request.clicked, nullptr);
    // From the keyboard: at the selected node's label.
    const HTREEITEM selected = a->ItemId();
    std::memcpy(&r, &selected, sizeof(selected));
    SendMessageW(tree->Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(tree->requests[1].at.x, r.left);
    EXPECT_EQ(tree->requests[1].at.y, r.bottom);
}

TEST_F(TreeView, AnOpenLabelEditorHoldsTheKeyboard)
{
    TTreeNode* a = Add(nullptr, "a");
    EXPECT_FALSE(tree->HoldsKeyboard());
    tree->EditText(a);
    HWND editor = reinterpret_cast<HWND>(SendMessageW(tree->Handle(), TVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(tree->HoldsKeyboard());
    EXPECT_EQ(TWinControl::OwningControl(editor), tree.get());
    SendMessageW(tree->Handle(), TVM_ENDEDITLABELNOW, TRUE, 0);
    EXPECT_FALSE(tree->HoldsKeyboard());
    tree->SetReadOnly(true);
    tree->EditText(a);
    EXPECT_FALSE(tree->IsEditing());
}

namespace {

// Gives every node image 0 and selected image 1, and notes for which nodes each was asked.
class ImageTree : public TCustomTreeView {
public:
    using TCustomTreeView::TCustomTreeView;
    std::vector<TTreeNode*> askedNormal;
    std::vector<TTreeNode*> askedSelected;

protected:
    void GetImageIndex(TTreeNode* node) override
    {
        askedNormal.push_back(node);
        node->SetImageIndex(0);
    }
    void GetSelectedIndex(TTreeNode* node) override
    {
        askedSelected.push_back(node);
        node->SetSelectedIndex(1);
    }
};

bool Holds(const std::vector<TTreeNode*>& nodes, TTreeNode* node)
{
    return std::find(nodes.begin(), nodes.end(), node) != nodes.end();
}

}  // namespace

TEST(TreeViewImages, TheControlDrawingANodeAsksOnlyForTheImageItShowsAndCodeForEither)
{
    HostForm host;
    ImageTree tree(&host);
    tree.SetBounds(0, 0, 200, 300);
    tree.SetParent(&host);
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24, 2, 0);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 16);
    ReleaseDC(nullptr, screen);
    ImageList_Add(images, bitmap, nullptr);
    SendMessageW(tree.Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
    TTreeNode* a = tree.AddChild(nullptr, "a");
    TTreeNode* b = tree.AddChild(nullptr, "b");
    host.Show();
    UpdateWindow(tree.Handle());
    EXPECT_TRUE(tree.askedSelected.empty());  // drawn, but none selected
    EXPECT_TRUE(Holds(tree.askedNormal, a));
    EXPECT_TRUE(Holds(tree.askedNormal, b));

    tree.askedNormal.clear();
    tree.SetSelected(b);
    UpdateWindow(tree.Handle());
    EXPECT_TRUE(Holds(tree.askedSelected, b));
    EXPECT_FALSE(Holds(tree.askedSelected, a));
    EXPECT_FALSE(Holds(tree.askedNormal, b));  // drawn selected: its normal image is not shown

    // Asked for by code, outside drawing, both are the node's own.
    tree.askedNormal.clear();
    tree.askedSelected.clear();
    for (TTreeNode* node : {a, b}) {
        TVITEMW item{};
        item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        item.hItem = node->ItemId();
        ASSERT_TRUE(SendMessageW(tree.Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        EXPECT_EQ(item.iImage, 0);
        EXPECT_EQ(item.iSelectedImage, 1);
    }
    EXPECT_EQ(tree.askedNormal, (std::vector<TTreeNode*>{a, b}));
    EXPECT_EQ(tree.askedSelected, (std::vector<TTreeNode*>{a, b}));
    SendMessageW(tree.Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
    ImageList_Destroy(images);
    DeleteObject(bitmap);
}
