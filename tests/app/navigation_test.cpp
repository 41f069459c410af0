// The three folder views of the main window kept on one folder: start-up, a move in the tree, a move in
// the directory list, and a folder that vanished.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/form1.h"
#include "dialogs/open_dialog.h"
#include "gui/application.h"
#include "key_press.h"
#include "runtime/ansi.h"
#include "runtime/exceptions.h"
#include "shelltree/shell_access.h"
#include "temp_dir.h"

namespace {

std::string CurrentDirectory()
{
    char buffer[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(sizeof(buffer), buffer);
    return buffer;
}

// The desktop's own file-system folder, as the shell names it.
std::string DesktopFolderPath()
{
    TIdList desktop = DesktopIdList();
    return ShellDisplayName(DesktopFolderInterface().get(), desktop.get(), SHGDN_FORPARSING);
}

class Navigation : public testing::Test {
protected:
    void SetUp() override
    {
        Application().OnException = [this](const std::exception& e) {
            shown.push_back(e.what());
            if (dynamic_cast<const EInOutError*>(&e))
                ++ioErrors;
        };
    }
    void TearDown() override { Application().OnException = nullptr; }

    // Counts what reaches the lists from now on, keeping the window's own handlers.
    void Watch(TForm1& form)
    {
        form.FileListBox1.OnChange = [this] { ++fileReads; };
        auto directoryHandler = form.DirectoryListBox1.OnChange;
        form.DirectoryListBox1.OnChange = [this, directoryHandler] {
            ++directoryMoves;
            if (directoryHandler)
                directoryHandler();
        };
    }

    // Each view's folder read from its control: the tree's selection, the directory list's folder and its
    // highlighted item, the file list's folder.
    static void ExpectAllOn(const TForm1& form, const std::string& folder)
    {
        const TDirectoryListBox& list = form.DirectoryListBox1;
        EXPECT_EQ((std::vector<std::string>{form.ShellTreeView1.SelectedPath(), list.FolderPath(),
                                            list.PathOfItem(list.ItemIndex()), form.FileListBox1.FolderPath()}),
                  std::vector<std::string>(4, folder));
    }

    std::vector<std::string> shown;
    int ioErrors = 0;
    int fileReads = 0;
    int directoryMoves = 0;
};

}  // namespace

TEST_F(Navigation, AfterStartAllThreeViewsShowTheDesktopsFolderWhateverTheStartDirectory)
{
    TempDir start;
    ASSERT_TRUE(SetCurrentDirectoryA(start.Path().c_str()));
    TForm1 form(nullptr);
    const std::string desktop = DesktopFolderPath();
    ASSERT_NE(desktop.find('\\'), std::string::npos);
    EXPECT_EQ(form.ShellTreeView1.SelectedPath(), desktop);
    EXPECT_EQ(form.DirectoryListBox1.FolderPath(), desktop);
    EXPECT_EQ(form.FileListBox1.FolderPath(), desktop);
    EXPECT_EQ(CurrentDirectory(), desktop);
    // The tree shows the folder under its drive, not as the desktop node.
    TTreeNode* node = form.ShellTreeView1.Selected();
    ASSERT_NE(node, nullptr);
    EXPECT_NE(node, form.ShellTreeView1.GetFirstNode());
    EXPECT_TRUE(shown.empty()) << shown.front();
    EXPECT_EQ(form.naglowek.Text(), "");  // the creation handler ran to its end
}

TEST_F(Navigation, AMoveInTheTreeMovesBothListsAndAVirtualFolderMovesNeither)
{
    TempDir dir;
    dir.MakeDir("sub");
    dir.WriteFile("sub\\plik.txt", "x");
    TForm1 form(nullptr);
    Watch(form);
    form.ShellTreeView1.SetSelectedPath(dir / "sub");
    EXPECT_EQ(form.DirectoryListBox1.FolderPath(), dir / "sub");
    EXPECT_EQ(form.FileListBox1.FolderPath(), dir / "sub");
    EXPECT_EQ(form.FileListBox1.Count(), 1);
    EXPECT_EQ(fileReads, 1);  // reached twice, read once: the second time it shows the folder already
    EXPECT_EQ(directoryMoves, 1);

    // The computer yields a plain name: both lists stay.
    TTreeNode* computer = nullptr;
    TIdList computerList = SpecialFolderIdList(CSIDL_DRIVES);
    for (TTreeNode* c = form.ShellTreeView1.GetFirstNode()->GetFirstChild(); c; c = c->GetNextSibling())
        if (SameIdList(TCustomShellTreeView::NodeFolder(c)->AbsoluteIdList(), computerList.get()))
            computer = c;
    ASSERT_NE(computer, nullptr);
    fileReads = directoryMoves = 0;
    form.ShellTreeView1.SetSelected(computer);
    EXPECT_EQ(form.ShellTreeView1.SelectedPath().find('\\'), std::string::npos);
    EXPECT_EQ(form.DirectoryListBox1.FolderPath(), dir / "sub");
    EXPECT_EQ(form.FileListBox1.FolderPath(), dir / "sub");

    // Back in the tree to the folder both lists show: nothing in them changes.
    form.ShellTreeView1.SetSelectedPath(dir / "sub");
    EXPECT_EQ(form.ShellTreeView1.SelectedPath(), dir / "sub");
    EXPECT_EQ(fileReads, 0);
    EXPECT_EQ(directoryMoves, 0);
    EXPECT_TRUE(shown.empty());
}

TEST_F(Navigation, AMoveInTheDirectoryListSelectsTheFolderInTheTree)
{
    TempDir dir;
    dir.MakeDir("a");
    dir.MakeDir("a\\b");
    TForm1 form(nullptr);
    form.ShellTreeView1.SetSelectedPath(dir / "a\\b");
    Watch(form);
    form.DirectoryListBox1.SetFolderPath(dir / "a");  // as a double click on the ancestor does
    EXPECT_EQ(form.ShellTreeView1.SelectedPath(), dir / "a");
    EXPECT_EQ(form.FileListBox1.FolderPath(), dir / "a");
    EXPECT_EQ(fileReads, 1);
    EXPECT_EQ(directoryMoves, 1);
    EXPECT_TRUE(shown.empty());
}

// Refused as a folder shut to the user is: the tree stayed on it while the lists kept their folder (a save
// then wrote theirs), and opened in the directory list it kept the highlight there.
TEST_F(Navigation, AVanishedFolderReportsTheListsErrorAndAllThreeViewsStay)
{
    TempDir dir;
    dir.MakeDir("stays");
    dir.MakeDir("goes");
    TForm1 form(nullptr);
    form.ShellTreeView1.SetSelectedPath(dir / "stays");
    TTreeNode* stays = form.ShellTreeView1.Selected();
    TTreeNode* goes = nullptr;
    for (TTreeNode* c = stays->Parent()->GetFirstChild(); c; c = c->GetNextSibling())
        if (c->Text() == "goes")
            goes = c;
    ASSERT_EQ(goes, stays->Parent()->GetFirstChild());
    form.DirectoryListBox1.SetFolderPath(dir.Path());
    ASSERT_TRUE(RemoveDirectoryA((dir / "goes").c_str()));

    PressKey(form.ShellTreeView1.Handle(), VK_DOWN);  // from its parent onto it
    ExpectAllOn(form, dir.Path());
    form.DirectoryListBox1.SetItemIndex(form.DirectoryListBox1.ItemIndex() + 1);
    PostMessageW(form.DirectoryListBox1.Handle(), WM_CHAR, VK_RETURN, 1);  // Enter on it
    Application().ProcessMessages();
    ExpectAllOn(form, dir.Path());
    form.ShellTreeView1.SetSelected(stays);
    PressKey(form.ShellTreeView1.Handle(), VK_UP);  // from its sibling onto it
    ExpectAllOn(form, dir / "stays");
    EXPECT_EQ(ioErrors, 3);
    EXPECT_EQ(shown.size(), 3u);
}

// Removed from outside while shown: every mask typed said "File not found" and left its names listed, and a
// save wrote them without a word.
TEST_F(Navigation, AFolderGoneSinceItWasShownGivesWayToTheNearestOneStillThere)
{
    TempDir dir;
    dir.WriteFile("p.txt", "x");
    for (const std::string name : {"b9", "b10"}) {
        dir.MakeDir(name);
        dir.WriteFile(name + "\\f.txt", "x");
    }
    TForm1 form(nullptr);
    const auto removeShown = [&](const char* name) {
        form.ShellTreeView1.SetSelectedPath(dir / name);
        ASSERT_TRUE(SetCurrentDirectoryA(dir.Path().c_str()));  // Wine keeps the folder the process is in
        RemoveTree(dir / name);
    };
    removeShown("b9");
    SendMessageW(form.Edit1.Handle(), EM_SETSEL, 0, -1);
    for (const char key : std::string("*.txt")) {
        PostMessageW(form.Edit1.Handle(), WM_CHAR, static_cast<WPARAM>(key), 1);  // typed
        Application().ProcessMessages();
    }
    EXPECT_EQ(shown, std::vector<std::string>{"File not found"});
    ExpectAllOn(form, dir.Path());
    EXPECT_EQ(*form.FileListBox1.ItemTexts(), std::vector<std::string>{"p.txt"});

    removeShown("b10");
    int dialogs = 0;
    const TFileDialogFunction saved = SaveFileNameFunction;
    SaveFileNameFunction = [&](OPENFILENAMEA*) { return ++dialogs < 0; };
    PostMessageW(form.SpeedButton2.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(form.SpeedButton2.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Application().ProcessMessages();
    SaveFileNameFunction = saved;
    EXPECT_EQ(dialogs, 0);  // the save stops at the error
    EXPECT_EQ(shown.size(), 2u);
    ExpectAllOn(form, dir.Path());
}

TEST_F(Navigation, TheTreeOnTheWindowWithItsSettingsAndItsPlaceInTheKeyboardOrder)
{
    TForm1 form(nullptr);
    TShellTreeView& tree = form.ShellTreeView1;
    const RECT r = tree.BoundsInPixels();
    EXPECT_EQ(r.left, tree.Scale(8));
    EXPECT_EQ(r.top, tree.Scale(12));
    EXPECT_EQ(r.right - r.left, tree.Scale(253));
    EXPECT_EQ(r.bottom - r.top, tree.Scale(449));
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(tree.Handle(), TVM_GETBKCOLOR, 0, 0)), RGB(243, 243, 243));
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(tree.Handle(), TVM_GETTEXTCOLOR, 0, 0)), RGB(0, 0, 128));
    EXPECT_EQ(static_cast<int>(SendMessageW(tree.Handle(), TVM_GETINDENT, 0, 0)), tree.Scale(19));
    const LONG style = GetWindowLongW(tree.Handle(), GWL_STYLE);
    EXPECT_FALSE(style & TVS_LINESATROOT);
    EXPECT_TRUE(style & TVS_EDITLABELS);
    EXPECT_EQ(tree.Root(), "rfDesktop");
    EXPECT_EQ(tree.ObjectTypes(), TShellObjectTypes{TShellObjectType::otFolders});
    // After the start position comes the tree, then the directory list.
    EXPECT_EQ(GetNextDlgTabItem(form.Handle(), tree.Handle(), FALSE), form.DirectoryListBox1.Handle());
    EXPECT_EQ(GetNextDlgTabItem(form.Handle(), tree.Handle(), TRUE), form.na1.Handle());
}

namespace {

std::vector<std::string> ItemsOf(const TCustomListBox& list)
{
    std::vector<std::string> items;
    for (int i = 0; i < list.Count(); ++i)
        items.push_back(list.Items(i));
    return items;
}

TTreeNode* ChildByText(TTreeNode* parent, const std::string& text)
{
    for (TTreeNode* c = parent->GetFirstChild(); c; c = c->GetNextSibling())
        if (c->Text() == text)
            return c;
    return nullptr;
}

}  // namespace

// A Cyrillic folder came to the lists as "?????", which the file list took for a mask: the parent's files
// of five letters were listed (and saved), and the mask stayed on them. naïve came as naive: the other
// folder's files.
TEST_F(Navigation, TreeFoldersTheCodePageCannotHoldAreListedThemselves)
{
    TempDir dir;
    dir.WriteFile("abcde", "five letters");
    const std::wstring base = AnsiToWide(dir.Path());
    for (const auto& [name, file] : {std::pair{L"\u041f\u0430\u043f\u043a\u0430", L"w.txt"},
                                     std::pair{L"na\u00efve", L"i.txt"}, std::pair{L"naive", L"n.txt"}}) {
        ASSERT_TRUE(CreateDirectoryW((base + L"\\" + name).c_str(), nullptr));
        const HANDLE h = CreateFileW((base + L"\\" + name + L"\\" + file).c_str(), GENERIC_WRITE, 0, nullptr,
                                     CREATE_NEW, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        CloseHandle(h);
    }
    TForm1 form(nullptr);
    form.ShellTreeView1.SetSelectedPath(dir.Path());
    TTreeNode* parent = form.ShellTreeView1.Selected();
    ASSERT_NE(parent, nullptr);
    form.ShellTreeView1.SetSelected(parent);
    parent->Expand();
    for (const auto& [text, files] : {std::pair{"?????", "w.txt"}, std::pair{"na?ve", "i.txt"},
                                      std::pair{"naive", "n.txt"}}) {
        TTreeNode* node = ChildByText(parent, text);
        ASSERT_NE(node, nullptr) << text;
        form.ShellTreeView1.SetSelected(node);  // as the user's click does
        EXPECT_EQ(ItemsOf(form.FileListBox1), std::vector<std::string>{files}) << text;
        EXPECT_EQ(form.FileListBox1.Mask(), "*.*");
        EXPECT_EQ(form.DirectoryListBox1.Items(form.DirectoryListBox1.ItemIndex()), text);
        EXPECT_EQ(form.DirectoryListBox1.FolderPath(), form.FileListBox1.FolderPath());
    }
    // The parent lists its own file again; all three stand in the directory list and open themselves there.
    form.ShellTreeView1.SetSelected(parent);
    EXPECT_EQ(ItemsOf(form.FileListBox1), std::vector<std::string>{"abcde"});
    for (const auto& [text, files] : {std::pair{"?????", "w.txt"}, std::pair{"na?ve", "i.txt"},
                                      std::pair{"naive", "n.txt"}}) {
        TDirectoryListBox& list = form.DirectoryListBox1;
        list.SetFolderPath(dir.Path());
        const std::vector<std::string> listed = ItemsOf(list);
        const auto at = std::find(listed.begin(), listed.end(), text);
        ASSERT_NE(at, listed.end()) << text;
        list.SetFolderPath(list.PathOfItem(static_cast<int>(at - listed.begin())));  // as a double click does
        EXPECT_EQ(ItemsOf(form.FileListBox1), std::vector<std::string>{files}) << text;
        EXPECT_EQ(list.Items(list.ItemIndex()), text);
    }
    EXPECT_TRUE(shown.empty()) << shown.front();
}
