// The shell's context menu in the folder tree, worked through the real menu on Wine's shell: which node a
// right click acts on, the commands the tree does itself or follows, and renaming in place.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "gui/application.h"
#include "shelltree/shell_access.h"
#include "shelltree/shell_context_menu.h"
#include "shelltree/shell_tree_view.h"
#include "dialog_driver.h"
#include "menu_driver.h"
#include "no_short_names.h"
#include "runtime/ansi.h"
#include "runtime/exceptions.h"
#include "shell_menu_use.h"
#include "tree_test_support.h"

namespace {

class ContextMenu : public TreeHostTest {
protected:
    void SetUp() override
    {
        TreeHostTest::SetUp();
        tree->OnChange = [this](TTreeNode* node) { changes.push_back(node); };
        tree->Loaded();
    }
    TShellFolder* Item(TTreeNode* node) const { return TCustomShellTreeView::NodeFolder(node); }
    // Selects the folder's node and opens it, so its sub-folders show.
    TTreeNode* Open(const std::string& path)
    {
        tree->SetSelectedPath(path);
        TTreeNode* node = tree->Selected();
        if (node)
            node->Expand();
        changes.clear();
        return node;
    }
    RECT LabelRect(TTreeNode* node) const { return NodeLabelRect(tree->Handle(), node); }
    void RightClickAt(POINT pt) { RightClickAtPoint(tree->Handle(), pt); }
    void RightClick(TTreeNode* node) { RightClickOn(tree->Handle(), node); }
    // A key pressed in the window that has the focus, as typing would deliver it.
    void Press(WPARAM vk, bool shift = false)
    {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        PostMessageW(GetFocus(), vk == VK_F10 ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, 1);
        Application().ProcessMessages();
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    }
    HWND LabelEditor() const
    {
        return reinterpret_cast<HWND>(SendMessageW(tree->Handle(), TVM_GETEDITCONTROL, 0, 0));
    }
    // Types text into the open label editor and ends the edit with a key (Return or Escape).
    void FinishLabel(const wchar_t* text, WPARAM key)
    {
        HWND edit = LabelEditor();
        ASSERT_NE(edit, nullptr);
        if (text)
            SetWindowTextW(edit, text);
        PostMessageW(edit, WM_KEYDOWN, key, 1);
        Application().ProcessMessages();
    }

    std::vector<TTreeNode*> changes;
};

}  // namespace

TEST_F(ContextMenu, ARightClickActsOnTheFolderUnderTheMouseAndLeavesTheSelection)
{
    DriveFolder d;
    d.Make("a");
    d.Make("b");
    TTreeNode* top = Open(d.Path());
    ASSERT_NE(top, nullptr);
    TTreeNode* b = ChildNamed(top, "b");
    ASSERT_NE(b, nullptr);

    std::string actedOn;
    bool menuHeld = false;
    MenuDriver driver(ShellMenuCommand(*Item(b), "rename"));
    driver.OnShown = [&] {
        actedOn = tree->SelectedPath();
        menuHeld = ShellMenuOpen();
    };
    RightClick(b);
    ASSERT_TRUE(driver.Shown());
    // While the click was handled, the folder under the mouse was the selected item; the real selection
    // did not move and no change was told.
    EXPECT_EQ(actedOn, d / "b");
    EXPECT_TRUE(menuHeld);
    EXPECT_FALSE(ShellMenuOpen());
    EXPECT_EQ(tree->Selected(), top);
    EXPECT_EQ(tree->SelectedPath(), d.Path());
    EXPECT_TRUE(changes.empty());
    // The menu opened where the mouse was.
    const RECT r = LabelRect(b);
    POINT click{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(tree->Handle(), &click);
    EXPECT_LE(std::abs(driver.Position().x - click.x), 2);
    EXPECT_LE(std::abs(driver.Position().y - click.y), 2);

    // The rename command opened the label editor on that node, and the shell has renamed nothing yet.
    ASSERT_NE(LabelEditor(), nullptr);
    EXPECT_TRUE(Exists(d / "b"));
    FinishLabel(L"b2", VK_RETURN);
    EXPECT_EQ(LabelEditor(), nullptr);
    EXPECT_FALSE(Exists(d / "b"));
    EXPECT_TRUE(Exists(d / "b2"));
    EXPECT_EQ(b->Text(), "b2");
    EXPECT_EQ(Item(b)->ParsingPath(), d / "b2");
    EXPECT_EQ(tree->Selected(), top);
    EXPECT_TRUE(changes.empty());
    EXPECT_TRUE(shown.empty());

    // Escape in the editor leaves everything as it was.
    {
        MenuDriver again(ShellMenuCommand(*Item(b), "rename"));
        RightClick(b);
    }
    FinishLabel(L"other", VK_ESCAPE);
    EXPECT_EQ(LabelEditor(), nullptr);
    EXPECT_EQ(b->Text(), "b2");
    EXPECT_TRUE(Exists(d / "b2"));
    EXPECT_FALSE(Exists(d / "other"));
    EXPECT_TRUE(shown.empty());
}

TEST_F(ContextMenu, EmptySpaceAndTheKeyboardActOnTheSelectedFolder)
{
    DriveFolder d;
    d.Make("a");
    TTreeNode* top = Open(d.Path());
    ASSERT_NE(top, nullptr);
    tree->SetFocus();
    RECT client{};
    GetClientRect(tree->Handle(), &client);

    std::vector<std::string> actedOn;
    const auto record = [&](MenuDriver& driver) { driver.OnShown = [&] { actedOn.push_back(tree->SelectedPath()); }; };
    {
        MenuDriver driver(0);
        record(driver);
        RightClickAt({client.right - 5, client.bottom - 5});  // below the last node
        EXPECT_TRUE(driver.Shown());
    }
    for (const bool shiftF10 : {false, true}) {
        MenuDriver driver(0);
        record(driver);
        if (shiftF10)
            Press(VK_F10, true);
        else
            Press(VK_APPS);
        ASSERT_TRUE(driver.Shown());
        // At the selected node.
        const RECT r = LabelRect(top);
        POINT corner{r.left, r.bottom};
        ClientToScreen(tree->Handle(), &corner);
        EXPECT_LE(std::abs(driver.Position().x - corner.x), 2);
        EXPECT_LE(std::abs(driver.Position().y - corner.y), 2);
    }
    EXPECT_EQ(actedOn, std::vector<std::string>(3, d.Path()));
    EXPECT_EQ(tree->Selected(), top);
    EXPECT_TRUE(changes.empty());
    EXPECT_FALSE(tree->IsEditing());
}

TEST_F(ContextMenu, DeletingAFolderThroughTheMenuDropsItsNodeOnlyWhenTheFolderIsGone)
{
    DriveFolder d;
    d.Make("keep");
    const std::string name = "gone_" + std::to_string(GetCurrentProcessId());
    d.Make(name);
    TTreeNode* top = Open(d.Path());
    ASSERT_NE(top, nullptr);
    const auto deleteThroughMenu = [&](int answer) {
        TTreeNode* node = ChildNamed(top, name);
        ASSERT_NE(node, nullptr);
        MenuDriver menu(ShellMenuCommand(*Item(node), "delete"));
        DialogDriver confirm([answer](HWND dialog) { DialogDriver::Press(dialog, answer); });
        RightClick(node);
        EXPECT_TRUE(menu.Shown());
        EXPECT_TRUE(confirm.Done());  // the shell asked first
    };
    deleteThroughMenu(IDNO);
    EXPECT_TRUE(Exists(d / name));
    EXPECT_EQ(ChildTexts(top), (std::vector<std::string>{"gone_" + std::to_string(GetCurrentProcessId()), "keep"}));

    deleteThroughMenu(IDYES);
    ForgetTrashed(AnsiToWide(name));
    EXPECT_FALSE(Exists(d / name));
    EXPECT_EQ(ChildTexts(top), std::vector<std::string>{"keep"});
    EXPECT_EQ(tree->Selected(), top);
    EXPECT_TRUE(changes.empty());
    EXPECT_TRUE(shown.empty());
}

// The shell reports a delete answered "Nie" as done. A folder outside the file system (the trash, the
// control panel) has no path to look at afterwards: it is not taken for gone.
TEST_F(ContextMenu, AFolderOutsideTheFileSystemKeepsItsNodeAfterADelete)
{
    TTreeNode* root = tree->GetFirstNode();
    ASSERT_NE(root, nullptr);
    root->Expand();
    TTreeNode* virtualFolder = nullptr;
    for (TTreeNode* n = root->GetFirstChild(); n && !virtualFolder; n = n->GetNextSibling())
        if (!Item(n)->ItemStates().Contains(TShellItemState::siFileSystem))
            virtualFolder = n;
    ASSERT_NE(virtualFolder, nullptr);
    const std::string text = virtualFolder->Text();
    tree->SetSelected(virtualFolder);
    bool takenOver = false;
    tree->BeforeVerb("delete", takenOver);
    tree->AfterVerb("delete", true);
    EXPECT_EQ(ChildNamed(root, text), virtualFolder) << text;
    EXPECT_EQ(tree->Selected(), virtualFolder);
    EXPECT_TRUE(shown.empty()) << shown.front();
}

TEST_F(ContextMenu, OpenRunsInTheFoldersParentAndTheCurrentDirectoryComesBackHoweverItWent)
{
    DriveFolder d;
    const std::string a = d.Make("a");
    ASSERT_NE(Open(a), nullptr);
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\windows"));
    for (const bool succeeded : {true, false}) {
        bool takenOver = false;
        tree->BeforeVerb("Open", takenOver);
        EXPECT_FALSE(takenOver);  // the shell still runs it
        EXPECT_EQ(CurrentDirectoryPath(), d.Path());
        tree->AfterVerb("OPEN", succeeded);
        EXPECT_EQ(CurrentDirectoryPath(), "C:\\windows");
    }
    EXPECT_TRUE(changes.empty());
}

TEST_F(ContextMenu, APasteRebuildsTheFolderWithItsOpenBranchesOpenAgain)
{
    DriveFolder d;
    const std::string target = d.Make("target");
    d.Make("target\\x");
    d.Make("target\\x\\deep");
    d.Make("target\\y");
    tree->SetSelectedPath(d / "target\\x\\deep");
    ASSERT_NE(tree->Selected(), nullptr);
    tree->SetSelected(tree->Selected()->Parent()->Parent());
    ASSERT_EQ(tree->SelectedPath(), target);
    d.Make("target\\pasted");  // what the shell's paste brought in
    changes.clear();

    tree->AfterVerb("paste", false);  // a paste that failed changes nothing
    EXPECT_EQ(ChildTexts(tree->Selected()), (std::vector<std::string>{"x", "y"}));

    tree->AfterVerb("Paste", true);
    TTreeNode* rebuilt = tree->Selected();
    ASSERT_NE(rebuilt, nullptr);
    EXPECT_EQ(tree->SelectedPath(), target);
    EXPECT_EQ(ChildTexts(rebuilt), (std::vector<std::string>{"pasted", "x", "y"}));
    TTreeNode* x = ChildNamed(rebuilt, "x");
    ASSERT_NE(x, nullptr);
    EXPECT_TRUE(rebuilt->Expanded());
    EXPECT_TRUE(x->Expanded());
    EXPECT_EQ(ChildTexts(x), std::vector<std::string>{"deep"});
    EXPECT_TRUE(shown.empty());
}

TEST_F(ContextMenu, TheSelectedFolderIsRenamedThoughItIsTheCurrentDirectoryAndTheViewsAreTold)
{
    DriveFolder d;
    const std::string a = d.Make("a");
    TTreeNode* node = Open(a);
    ASSERT_NE(node, nullptr);
    // As the lists do with the folder the tree selects.
    ASSERT_TRUE(SetCurrentDirectoryA(a.c_str()));

    // Accepting the name as it stands is no rename at all.
    tree->EditText(node);
    FinishLabel(nullptr, VK_RETURN);
    EXPECT_TRUE(shown.empty()) << shown.front();
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(CurrentDirectoryPath(), a);

    tree->EditText(node);
    FinishLabel(L"a2", VK_RETURN);
    EXPECT_TRUE(shown.empty()) << shown.front();
    EXPECT_TRUE(Exists(d / "a2"));
    EXPECT_FALSE(Exists(a));
    EXPECT_EQ(node->Text(), "a2");
    EXPECT_EQ(tree->SelectedPath(), d / "a2");
    EXPECT_EQ(CurrentDirectoryPath(), d / "a2");
    EXPECT_EQ(changes, std::vector<TTreeNode*>{node});
}

TEST_F(ContextMenu, RenamingAFolderThatHoldsTheCurrentDirectoryMovesItAlong)
{
    DriveFolder d;
    d.Make("p");
    const std::string q = d.Make("p\\q");
    TTreeNode* selected = Open(q);
    ASSERT_NE(selected, nullptr);
    ASSERT_TRUE(SetCurrentDirectoryA(q.c_str()));
    TTreeNode* p = selected->Parent();
    tree->EditText(p);
    FinishLabel(L"p2", VK_RETURN);
    EXPECT_TRUE(shown.empty()) << shown.front();
    EXPECT_TRUE(Exists(d / "p2\\q"));
    EXPECT_EQ(CurrentDirectoryPath(), d / "p2\\q");
    // The nodes below held the old path: the selection moved up to the renamed folder, and that was told.
    EXPECT_EQ(tree->Selected(), p);
    EXPECT_EQ(tree->SelectedPath(), d / "p2");
    EXPECT_EQ(changes, std::vector<TTreeNode*>{p});
}

TEST_F(ContextMenu, ARefusedNameIsReportedWithTheTypedTextAndChangesNothing)
{
    DriveFolder d;
    const std::string a = d.Make("a");
    d.Make("taken");
    TTreeNode* node = Open(a);
    ASSERT_NE(node, nullptr);
    ASSERT_TRUE(SetCurrentDirectoryA(a.c_str()));
    for (const wchar_t* name : {L"taken", L"x\\y", L"x/y"}) {
        shown.clear();
        tree->EditText(node);
        FinishLabel(name, VK_RETURN);
        const std::string typed(name, name + wcslen(name));
        ASSERT_EQ(shown.size(), 1u) << typed;
        EXPECT_EQ(shown[0], "Rename to " + typed + " failed");
        EXPECT_EQ(node->Text(), "a");
        EXPECT_TRUE(Exists(a));
        EXPECT_EQ(CurrentDirectoryPath(), a);
    }
    EXPECT_TRUE(changes.empty());
}

TEST_F(ContextMenu, DeletingTheSelectedFolderMovesTheSelectionToItsParentFirst)
{
    DriveFolder d;
    const std::string name = "current_" + std::to_string(GetCurrentProcessId());
    const std::string doomed = d.Make(name);
    TTreeNode* top = Open(d.Path());
    ASSERT_NE(top, nullptr);
    tree->SetSelectedPath(doomed);
    ASSERT_TRUE(SetCurrentDirectoryA(doomed.c_str()));  // as the lists do
    TTreeNode* node = tree->Selected();
    ASSERT_NE(node, nullptr);
    changes.clear();
    std::vector<std::string> told;  // what the views that follow the selection read
    tree->OnChange = [&](TTreeNode* selected) {
        changes.push_back(selected);
        told.push_back(tree->SelectedPath());
        SetCurrentDirectoryA(told.back().c_str());  // as the lists do
    };
    MenuDriver menu(ShellMenuCommand(*Item(node), "delete"));
    DialogDriver confirm([](HWND dialog) { DialogDriver::Press(dialog, IDYES); });
    RightClick(node);
    ForgetTrashed(AnsiToWide(name));
    EXPECT_FALSE(Exists(doomed));
    EXPECT_EQ(tree->Selected(), top);
    EXPECT_EQ(changes, std::vector<TTreeNode*>{top});
    EXPECT_EQ(told, std::vector<std::string>{d.Path()});
    EXPECT_EQ(CurrentDirectoryPath(), d.Path());
    EXPECT_TRUE(ChildNodes(top).empty());
}

// Where folders have no short names, a folder the code page cannot name has no path the ANSI calls take, so
// the lists cannot enter it. The shell's commands take wide paths: open, delete and rename in place run.
TEST_F(ContextMenu, AFolderWithoutAShortNameIsOpenedRenamedAndDeletedAllTheSame)
{
    NoShortNames noShortNames;
    DriveFolder d;
    const std::wstring base = AnsiToWide(d.Path()) + L"\\";
    const std::wstring papka = L"\u041f\u0430\u043f\u043a\u0430", druga = L"\u0414\u0440\u0443\u0433\u0430\u044f";
    ASSERT_TRUE(CreateDirectoryW((base + papka).c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((base + druga).c_str(), nullptr));
    TTreeNode* top = Open(d.Path());
    ASSERT_NE(top, nullptr);
    TTreeNode* p = ChildNamed(top, "?????");
    TTreeNode* q = ChildNamed(top, "??????");
    ASSERT_TRUE(p && q) << ChildTexts(top).size();
    tree->SetSelected(p);
    try {  // what the lists would enter
        tree->SelectedPath();
        ADD_FAILURE() << "a path for the ANSI calls";
    } catch (const EInOutError& e) {
        EXPECT_STREQ(e.what(), "Invalid filename");
    }

    // Open runs in the folder's parent; the current directory comes back.
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\windows"));
    bool takenOver = false;
    tree->BeforeVerb("open", takenOver);
    EXPECT_EQ(CurrentDirectoryPath(), d.Path());
    tree->AfterVerb("open", true);
    EXPECT_EQ(CurrentDirectoryPath(), "C:\\windows");
    tree->SetSelected(top);

    // Renamed in place.
    tree->EditText(q);
    FinishLabel(L"Nowa", VK_RETURN);
    EXPECT_TRUE(Exists(d / "Nowa"));
    EXPECT_EQ(GetFileAttributesW((base + druga).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(q->Text(), "Nowa");

    // Deleted through the menu, confirmed: folder and node go.
    {
        MenuDriver menu(ShellMenuCommand(*Item(p), "delete"));
        DialogDriver confirm([](HWND dialog) { DialogDriver::Press(dialog, IDYES); });
        RightClick(p);
        EXPECT_TRUE(menu.Shown());
        EXPECT_TRUE(confirm.Done());
    }
    ForgetTrashed(papka);
    EXPECT_EQ(GetFileAttributesW((base + papka).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ChildTexts(top), std::vector<std::string>{"Nowa"});
    EXPECT_TRUE(shown.empty()) << shown.front();
}
