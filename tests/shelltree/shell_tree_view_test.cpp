// The shell folder tree on Wine's real shell namespace: building from the root, the prefix walk of a
// path, the guards, the failures, lazy filling and rebuilding a node.
#include <gtest/gtest.h>

#include <map>

#include <memory>
#include <string>
#include <vector>

#include "gui/application.h"
#include "gui/form.h"
#include "runtime/exceptions.h"
#include "shelltree/shell_access.h"
#include "shelltree/shell_tree_view.h"
#include "temp_dir.h"
#include "tree_test_support.h"

namespace {

class ShellTree : public testing::Test {
protected:
    void SetUp() override
    {
        host = std::make_unique<TreeHostForm>();
        tree = std::make_unique<TShellTreeView>(host.get());
        tree->SetBounds(0, 0, 253, 449);
        tree->SetParent(host.get());
        tree->OnChange = [this](TTreeNode* node) { changes.push_back(node); };
        Application().OnException = [this](const std::exception& e) { shown.push_back(e.what()); };
    }
    void TearDown() override
    {
        Application().OnException = nullptr;
        tree.reset();
        host.reset();
    }
    TTreeNode* Top() const { return tree->GetFirstNode(); }
    TShellFolder* Item(TTreeNode* node) const { return TCustomShellTreeView::NodeFolder(node); }

    std::unique_ptr<TreeHostForm> host;
    std::unique_ptr<TShellTreeView> tree;
    std::vector<TTreeNode*> changes;
    std::vector<std::string> shown;
};

}  // namespace

TEST_F(ShellTree, BuildsOneExpandedSelectedDesktopNodeWithItsFoldersInTheShellsOrder)
{
    EXPECT_EQ(tree->GetFirstNode(), nullptr);  // nothing before the end of loading
    tree->Loaded();
    TTreeNode* top = Top();
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->GetNextSibling(), nullptr);
    EXPECT_TRUE(top->Expanded());
    EXPECT_TRUE(top->Selected());
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], top);
    EXPECT_TRUE(IdListEmpty(Item(top)->AbsoluteIdList()));
    EXPECT_EQ(top->Text(), ShellDisplayName(DesktopFolderInterface().get(), Item(top)->AbsoluteIdList(), SHGDN_NORMAL));

    const std::vector<TTreeNode*> children = ChildNodes(top);
    ASSERT_GE(children.size(), 2u);
    // The computer is among them, and they stand in the order the desktop's own comparison gives.
    TIdList computer = SpecialFolderIdList(CSIDL_DRIVES);
    bool sawComputer = false;
    for (size_t i = 0; i < children.size(); ++i) {
        sawComputer |= SameIdList(Item(children[i])->AbsoluteIdList(), computer.get());
        EXPECT_EQ(Item(children[i])->ParentItem(), Item(top));
        if (i > 0) {
            const HRESULT hr = DesktopFolderInterface()->CompareIDs(0, Pidl(Item(children[i - 1])->RelativeIdList()),
                                                                    Pidl(Item(children[i])->RelativeIdList()));
            EXPECT_LE(static_cast<short>(hr & 0xFFFF), 0) << children[i - 1]->Text() << " / " << children[i]->Text();
        }
    }
    EXPECT_TRUE(sawComputer);
    EXPECT_TRUE(shown.empty());
}

TEST_F(ShellTree, APathTwoLevelsBelowADriveRootExpandsTheWayAndSelectsIt)
{
    DriveFolder d;
    const std::string target = d.Make("a");
    d.Make("a\\b");
    tree->Loaded();
    changes.clear();
    tree->SetSelectedPath(target);

    TTreeNode* node = tree->Selected();
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(tree->SelectedPath(), target);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], node);
    EXPECT_EQ(node->Text(), "a");
    EXPECT_FALSE(node->Expanded());
    EXPECT_EQ(node->GetFirstChild(), nullptr);  // filled only when it is first expanded
    EXPECT_TRUE(node->HasChildren());
    // The first-level folder, the drive and the computer are expanded; the computer hangs under the desktop.
    TTreeNode* first = node->Parent();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(Item(first)->ParsingPath(), d.Path());
    TTreeNode* drive = first->Parent();
    ASSERT_NE(drive, nullptr);
    EXPECT_EQ(Item(drive)->ParsingPath(), "C:\\");
    TTreeNode* computer = drive->Parent();
    ASSERT_NE(computer, nullptr);
    TIdList computerList = SpecialFolderIdList(CSIDL_DRIVES);
    EXPECT_TRUE(SameIdList(Item(computer)->AbsoluteIdList(), computerList.get()));
    EXPECT_EQ(computer->Parent(), Top());
    for (TTreeNode* n : {first, drive, computer})
        EXPECT_TRUE(n->Expanded()) << n->Text();

    // The same path again changes nothing.
    tree->SetSelectedPath(target);
    EXPECT_EQ(changes.size(), 1u);
    EXPECT_EQ(tree->Selected(), node);
}

TEST_F(ShellTree, AWriteFromTheChangeHandlerOfAWriteIsIgnored)
{
    DriveFolder d;
    const std::string a = d.Make("a");
    const std::string b = d.Make("b");
    tree->Loaded();
    int nested = 0;
    tree->OnChange = [&](TTreeNode*) {
        ++nested;
        tree->SetSelectedPath(b);
    };
    tree->SetSelectedPath(a);
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(tree->SelectedPath(), a);
    EXPECT_TRUE(shown.empty());
}

TEST_F(ShellTree, UnparsableTextRaisesInvalidPathAndLeavesTheSelection)
{
    tree->Loaded();
    TTreeNode* before = tree->Selected();
    changes.clear();
    for (const std::string text : {"C:\\no such folder\\x", "fsdf sdf"}) {
        try {
            tree->SetSelectedPath(text);
            ADD_FAILURE() << "no exception for " << text;
        } catch (const EInvalidPath& e) {
            EXPECT_EQ(std::string(e.what()), "Error setting path: \"" + text + "\"");
        }
    }
    EXPECT_EQ(tree->Selected(), before);
    EXPECT_TRUE(changes.empty());
}

TEST_F(ShellTree, AFolderTheTreeDoesNotListClearsTheSelection)
{
    DriveFolder d;
    d.Make("a");
    const std::string hidden = d.Make("a\\.hidden");  // a leading dot makes a folder hidden
    const std::string shown = d.Make("a\\shown");
    tree->Loaded();
    tree->SetSelectedPath(shown);
    ASSERT_EQ(tree->SelectedPath(), shown);
    // Hidden folders are not listed.
    TTreeNode* a = tree->Selected()->Parent();
    ASSERT_EQ(ChildNodes(a).size(), 1u);
    changes.clear();

    tree->SetSelectedPath(hidden);
    EXPECT_EQ(tree->Selected(), nullptr);
    EXPECT_EQ(tree->SelectedPath(), "");
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], nullptr);
}

TEST_F(ShellTree, VirtualFoldersYieldTheirPlainNameAndDrivesTheirRoot)
{
    tree->Loaded();
    TIdList computerList = SpecialFolderIdList(CSIDL_DRIVES);
    TTreeNode* computer = nullptr;
    for (TTreeNode* c : ChildNodes(Top()))
        if (SameIdList(Item(c)->AbsoluteIdList(), computerList.get()))
            computer = c;
    ASSERT_NE(computer, nullptr);
    tree->SetSelected(computer);
    const std::string name = tree->SelectedPath();
    EXPECT_EQ(name, ShellDisplayName(DesktopFolderInterface().get(), computerList.get(), SHGDN_NORMAL));
    EXPECT_EQ(name, computer->Text());
    EXPECT_FALSE(name.empty());
    EXPECT_EQ(name.find('\\'), std::string::npos);

    tree->SetSelectedPath("C:\\");
    EXPECT_EQ(tree->SelectedPath(), "C:\\");
    EXPECT_EQ(tree->Selected()->Parent(), computer);
}

TEST_F(ShellTree, TheDesktopsOwnPathWrittenBackSelectsItsFolderUnderItsDrive)
{
    tree->Loaded();
    const std::string desktopPath = tree->SelectedPath();
    ASSERT_NE(desktopPath.find('\\'), std::string::npos) << desktopPath;
    changes.clear();
    tree->SetSelectedPath(desktopPath);
    TTreeNode* node = tree->Selected();
    ASSERT_NE(node, nullptr);
    EXPECT_NE(node, Top());
    EXPECT_GE(node->Level(), 3);  // desktop, computer, drive, ... folder
    EXPECT_EQ(tree->SelectedPath(), desktopPath);
    EXPECT_EQ(changes.size(), 1u);
}

TEST_F(ShellTree, ADriveRootGetsItsBackslashAndABadRootIsUndone)
{
    tree->SetRoot("C:");
    EXPECT_EQ(tree->Root(), "C:");  // stored as given until the tree is built
    tree->Loaded();
    EXPECT_EQ(tree->Root(), "C:\\");
    ASSERT_NE(Top(), nullptr);
    EXPECT_EQ(Top()->GetNextSibling(), nullptr);
    EXPECT_EQ(tree->SelectedPath(), "C:\\");
    EXPECT_TRUE(Top()->Expanded());

    changes.clear();
    try {
        tree->SetRoot("C:\\no such root");
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(std::string(e.what()), "Error setting path: \"C:\\no such root\"");
    }
    // The previous root is back, and the tree was built again from it.
    EXPECT_EQ(tree->Root(), "C:\\");
    ASSERT_NE(Top(), nullptr);
    EXPECT_EQ(tree->SelectedPath(), "C:\\");
    EXPECT_EQ(changes.size(), 1u);

    try {
        tree->SetRoot("");
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(std::string(e.what()), "Error setting path: \"\"");
    }
    EXPECT_EQ(tree->Root(), "C:\\");

    // A root folder's name, in any letter case, is not a path.
    tree->SetRoot("RFMYCOMPUTER");
    TIdList computerList = SpecialFolderIdList(CSIDL_DRIVES);
    EXPECT_TRUE(SameIdList(Item(Top())->AbsoluteIdList(), computerList.get()));
    changes.clear();
    tree->SetRoot("rfMyComputer");  // the same name: no rebuild
    EXPECT_TRUE(changes.empty());
}

TEST_F(ShellTree, AFolderThatClaimsSubFoldersButListsNoneLosesItsButtonWhenFirstExpanded)
{
    DriveFolder d;
    const std::string empty = d.Make("empty");
    d.Make("empty\\.only_hidden");
    tree->Loaded();
    tree->SetSelectedPath(empty);
    TTreeNode* node = tree->Selected();
    ASSERT_NE(node, nullptr);
    ASSERT_TRUE(Item(node)->ClaimsSubFolders());
    EXPECT_TRUE(node->HasChildren());
    node->Expand();
    EXPECT_FALSE(node->HasChildren());
    EXPECT_EQ(node->GetFirstChild(), nullptr);
}

TEST_F(ShellTree, AddFolderCanVetoNodes)
{
    DriveFolder d;
    d.Make("keep");
    d.Make("skip");
    std::vector<std::string> offered;
    tree->OnAddFolder = [&](TShellFolder* folder, bool& canAdd) {
        offered.push_back(folder->InFolderName());
        if (folder->InFolderName() == "skip")
            canAdd = false;
    };
    tree->Loaded();
    tree->SetSelectedPath(d.Path());
    TTreeNode* node = tree->Selected();
    ASSERT_NE(node, nullptr);
    offered.clear();
    node->Expand();
    EXPECT_EQ(offered, (std::vector<std::string>{"keep", "skip"}));
    ASSERT_EQ(ChildNodes(node).size(), 1u);
    EXPECT_EQ(node->GetFirstChild()->Text(), "keep");
}

TEST_F(ShellTree, RefreshingANodeListsNewFoldersAndKeepsOpenBranchesAndTheSelection)
{
    DriveFolder d;
    d.Make("a");
    d.Make("a\\b");
    const std::string inner = d.Make("a\\b\\inner");
    tree->Loaded();
    tree->SetSelectedPath(inner);
    TTreeNode* a = tree->Selected()->Parent()->Parent();
    ASSERT_EQ(Item(a)->ParsingPath(), d.Path() + "\\a");
    d.Make("a\\c");
    EXPECT_EQ(ChildNodes(a).size(), 1u);

    tree->RefreshNode(a);
    TTreeNode* selected = tree->Selected();
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(tree->SelectedPath(), inner);
    TTreeNode* newA = selected->Parent()->Parent();
    EXPECT_EQ(Item(newA)->ParsingPath(), d.Path() + "\\a");
    EXPECT_TRUE(newA->Expanded());
    EXPECT_TRUE(selected->Parent()->Expanded());
    std::vector<std::string> names;
    for (TTreeNode* c : ChildNodes(newA))
        names.push_back(c->Text());
    EXPECT_EQ(names, (std::vector<std::string>{"b", "c"}));
    // Only one node for the folder remains.
    EXPECT_EQ(ChildNodes(newA->Parent()).size(), 1u);
}

TEST_F(ShellTree, TheTreeShowsTheSystemImagesWhateverImageListIsOffered)
{
    tree->Loaded();
    const auto current = [&] { return reinterpret_cast<HIMAGELIST>(SendMessageW(tree->Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0)); };
    SHFILEINFOA info{};
    const auto system = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(current(), system);
    HIMAGELIST other = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    SendMessageW(tree->Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(other));
    EXPECT_EQ(current(), system);
    tree->SetUseShellImages(false);
    EXPECT_EQ(current(), nullptr);
    SendMessageW(tree->Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(other));
    EXPECT_EQ(current(), nullptr);
    ImageList_Destroy(other);
}

TEST_F(ShellTree, NodesShowTheShellsIconsForTheirItems)
{
    // Plain folders share the shell's generic icon, which is asked for once; a folder marked system (or
    // read-only) or holding a desktop.ini may carry its own, and is asked about itself.
    DriveFolder d;
    for (const char* name : {"a", "b", "custom", "marked", "unmarked", "z"})
        d.Make(name);
    for (const char* name : {"custom", "unmarked"}) {
        const std::string ini = d / (std::string(name) + "\\desktop.ini");
        const HANDLE file = CreateFileA(ini.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        const char text[] = "[.ShellClassInfo]\r\nIconFile=shell32.dll\r\nIconIndex=3\r\n"
                            "IconResource=shell32.dll,3\r\n";
        DWORD written = 0;
        WriteFile(file, text, sizeof(text) - 1, &written, nullptr);
        CloseHandle(file);
    }
    SetFileAttributesA((d / "custom").c_str(), FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesA((d / "marked").c_str(), FILE_ATTRIBUTE_SYSTEM);
    tree->Loaded();
    tree->SetSelectedPath(d / "a");
    TTreeNode* folder = tree->Selected()->Parent();
    ASSERT_NE(folder, nullptr);
    std::vector<TTreeNode*> nodes = {Top(), Top()->GetFirstChild(), folder};
    for (TTreeNode* child : ChildNodes(folder))
        nodes.push_back(child);
    ASSERT_EQ(nodes.size(), 9u);
    std::map<std::string, int> shown;
    for (TTreeNode* node : nodes) {
        ASSERT_NE(node, nullptr);
        // What the control draws: it asks for the images of the node when it needs them.
        TVITEMW item{};
        item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        item.hItem = node->ItemId();
        ASSERT_TRUE(SendMessageW(tree->Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        const int normal = SystemIconIndex(Item(node)->AbsoluteIdList(), false, false);
        const int open = SystemIconIndex(Item(node)->AbsoluteIdList(), false, true);
        EXPECT_EQ(item.iImage, normal) << node->Text();
        EXPECT_EQ(item.iSelectedImage, open) << node->Text();
        EXPECT_EQ(node->ImageIndex(), normal);
        shown[node->Text()] = item.iImage;
    }
    // The case above means something only when the shell did give that folder an icon of its own.
    EXPECT_NE(shown["custom"], shown["b"]);
}

TEST_F(ShellTree, ALabelEditRenamesTheFolderAndDropsTheStaleNodesBelow)
{
    DriveFolder d;
    d.Make("old");
    const std::string inner = d.Make("old\\inner");
    tree->Loaded();
    tree->SetSelectedPath(inner);
    TTreeNode* node = tree->Selected()->Parent();
    ASSERT_EQ(node->Text(), "old");
    tree->SetSelected(node);

    const auto editTo = [&](const wchar_t* text) {
        HWND edit = reinterpret_cast<HWND>(
            SendMessageW(tree->Handle(), TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(node->ItemId())));
        ASSERT_NE(edit, nullptr);
        SetWindowTextW(edit, text);
        SendMessageW(tree->Handle(), TVM_ENDEDITLABELNOW, FALSE, 0);
    };
    editTo(L"new");
    EXPECT_EQ(node->Text(), "new");
    EXPECT_EQ(Item(node)->ParsingPath(), d.Path() + "\\new");
    EXPECT_NE(GetFileAttributesA((d.Path() + "\\new\\inner").c_str()), INVALID_FILE_ATTRIBUTES);
    // The child listed under the old name is gone; expanding lists it again under the new path.
    EXPECT_EQ(node->GetFirstChild(), nullptr);
    node->Expand();
    ASSERT_NE(node->GetFirstChild(), nullptr);
    EXPECT_EQ(Item(node->GetFirstChild())->ParsingPath(), d.Path() + "\\new\\inner");

    // A name the shell refuses is reported and the label keeps its text.
    d.Make("taken");
    editTo(L"taken");
    EXPECT_EQ(node->Text(), "new");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Rename to taken failed");
}
