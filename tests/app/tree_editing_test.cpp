// The folder tree on the main window while a folder's name is edited in place: the window's shortcut keys
// leave the editor its keys, and renaming the folder the views show carries the views along; what the
// tree's menu does to a sub-folder reaches both lists.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/form1.h"
#include "dialog_driver.h"
#include "gui/application.h"
#include "key_press.h"
#include "menu_driver.h"
#include "runtime/ansi.h"
#include "shell_menu_use.h"
#include "temp_dir.h"
#include "../shelltree/tree_test_support.h"

namespace {

// Closes whatever dialog box shows: a question with "Nie", any other with Cancel.
void Dismiss(HWND dialog)
{
    DialogDriver::Press(dialog, GetDlgItem(dialog, IDNO) ? IDNO : IDCANCEL);
}

class TreeEditing : public testing::Test {
protected:
    void SetUp() override
    {
        Application().OnException = [this](const std::exception& e) { shown.push_back(e.what()); };
        dir.MakeDir("folder");
        dir.WriteFile("folder\\plik.txt", "x");
        form.Show();
        tree().SetSelectedPath(dir / "folder");
    }
    void TearDown() override { Application().OnException = nullptr; }

    TShellTreeView& tree() { return form.ShellTreeView1; }
    HWND Editor() { return reinterpret_cast<HWND>(SendMessageW(tree().Handle(), TVM_GETEDITCONTROL, 0, 0)); }

    TempDir dir;
    TForm1 form{nullptr};
    std::vector<std::string> shown;
};

}  // namespace

TEST_F(TreeEditing, TheWindowsShortcutKeysWaitWhileAFolderNameIsEdited)
{
    TTreeNode* node = tree().Selected();
    ASSERT_NE(node, nullptr);
    tree().EditText(node);
    HWND editor = Editor();
    ASSERT_NE(editor, nullptr);
    SetWindowTextW(editor, L"zmieniona");
    {
        DialogDriver driver(Dismiss);
        PressKey(editor, VK_F1);
        PressKey(editor, 'S', true);
        PressKey(editor, 'P', true);
        EXPECT_FALSE(driver.Done()) << "a dialog showed: " << std::string(driver.Caption().begin(), driver.Caption().end());
        EXPECT_FALSE(form.Panel1.Visible());
        EXPECT_EQ(Editor(), editor);

        // Escape cancels the edit instead of asking whether to leave.
        PressKey(editor, VK_ESCAPE);
        EXPECT_FALSE(driver.Done());
    }
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(node->Text(), "folder");
    EXPECT_EQ(GetFileAttributesA((dir / "zmieniona").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(shown.empty());

    // With the editor closed the keys are the window's again.
    PressKey(tree().Handle(), VK_F1);
    EXPECT_TRUE(form.Panel1.Visible());
}

TEST_F(TreeEditing, RenamingTheFolderTheViewsShowCarriesThemAlong)
{
    TTreeNode* node = tree().Selected();
    ASSERT_NE(node, nullptr);
    ASSERT_EQ(CurrentDirectoryPath(), dir / "folder");  // the lists made it current

    // Return on the name as it stands renames nothing and reports nothing.
    tree().EditText(node);
    PressKey(Editor(), VK_RETURN);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_TRUE(shown.empty()) << shown.front();

    tree().EditText(node);
    SetWindowTextW(Editor(), L"nowa");
    PressKey(Editor(), VK_RETURN);
    EXPECT_TRUE(shown.empty()) << shown.front();
    EXPECT_EQ(node->Text(), "nowa");
    EXPECT_EQ(tree().SelectedPath(), dir / "nowa");
    EXPECT_EQ(form.DirectoryListBox1.FolderPath(), dir / "nowa");
    EXPECT_EQ(form.FileListBox1.FolderPath(), dir / "nowa");
    EXPECT_EQ(form.FileListBox1.Count(), 1);
    EXPECT_EQ(CurrentDirectoryPath(), dir / "nowa");
}

TEST_F(TreeEditing, TheWindowWatchesNoFolderAndRightClicksShowTheShellsMenu)
{
    EXPECT_FALSE(tree().AutoRefresh());
    EXPECT_EQ(tree().WatchedPath(), "");
    EXPECT_EQ(tree().NotifierThreadId(), 0u);
    EXPECT_TRUE(tree().AutoContextMenus());
    EXPECT_TRUE(tree().RightClickSelect());
}

// A folder the code page cannot name is entered by its short name; renaming it while it is selected must
// still release the current directory, which then follows it to its new name.
TEST_F(TreeEditing, AFolderTheCodePageCannotNameIsRenamedWhileTheViewsShowIt)
{
    const std::wstring cyrillic = AnsiToWide(dir.Path()) + L"\\\u041f\u0430\u043f\u043a\u0430";
    ASSERT_TRUE(CreateDirectoryW(cyrillic.c_str(), nullptr));
    const HANDLE h = CreateFileW((cyrillic + L"\\w.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    tree().RefreshNode(tree().Selected()->Parent());  // the folder came after the branch was listed
    TTreeNode* parent = tree().Selected()->Parent();
    TTreeNode* node = nullptr;
    std::string seen;
    for (TTreeNode* c = parent->GetFirstChild(); c && !node; c = c->GetNextSibling()) {
        seen += c->Text() + " ";
        if (c->Text() == "?????")
            node = c;
    }
    ASSERT_NE(node, nullptr) << seen;
    tree().SetSelected(node);  // as the user's click does
    ASSERT_EQ(form.FileListBox1.Count(), 1);
    ASSERT_NE(CurrentDirectoryPath().find('~'), std::string::npos) << CurrentDirectoryPath();  // its short name

    tree().EditText(node);
    SetWindowTextW(Editor(), L"nowa");
    PressKey(Editor(), VK_RETURN);
    EXPECT_TRUE(shown.empty()) << shown.front();
    EXPECT_EQ(GetFileAttributesW(cyrillic.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(node->Text(), "nowa");
    EXPECT_EQ(tree().SelectedPath(), dir / "nowa");
    EXPECT_EQ(form.FileListBox1.FolderPath(), dir / "nowa");
    EXPECT_EQ(form.FileListBox1.Count(), 1);
    EXPECT_EQ(CurrentDirectoryPath(), dir / "nowa");
}

// Deleting or renaming a sub-folder of the folder the views show, through the tree's menu: the command that
// succeeded reports nothing, and the tree and both lists show the folder as the disk has it then.
TEST_F(TreeEditing, TheMenusDeleteAndRenameOfASubfolderReachAllThreeViews)
{
    // Names code page 1250 cannot hold, shown as ????? and ??????.
    const std::wstring b14 = AnsiToWide(dir / "b14"), papka = b14 + L"\\\u041f\u0430\u043f\u043a\u0430";
    ASSERT_TRUE(CreateDirectoryW(b14.c_str(), nullptr) && CreateDirectoryW(papka.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((b14 + L"\\\u0414\u0440\u0443\u0433\u0430\u044f").c_str(), nullptr));
    tree().RefreshNode(tree().Selected()->Parent());  // b14 came after the branch was listed
    tree().SetSelectedPath(dir / "b14");
    TTreeNode* top = tree().Selected();
    ASSERT_NE(top, nullptr);
    top->Expand();
    // The directory list's items after b14's own: what a save of the folder list writes last.
    const auto subfolders = [&] {
        const auto items = form.DirectoryListBox1.ItemTexts();
        return std::vector<std::string>(std::find(items->begin(), items->end(), "b14") + 1, items->end());
    };
    ASSERT_EQ(subfolders(), (std::vector<std::string>{"??????", "?????"}));

    TTreeNode* node = ChildNamed(top, "?????");
    ASSERT_NE(node, nullptr);
    {
        MenuDriver menu(ShellMenuCommand(*TCustomShellTreeView::NodeFolder(node), "delete"));
        DialogDriver confirm([](HWND dialog) { DialogDriver::Press(dialog, IDYES); });
        RightClickOn(tree().Handle(), node);
        EXPECT_TRUE(menu.Shown() && confirm.Done());
    }
    ForgetTrashed(papka.substr(b14.size() + 1));
    EXPECT_EQ(GetFileAttributesW(papka.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(shown.empty()) << shown.front();
    EXPECT_EQ(ChildTexts(top), std::vector<std::string>{"??????"});
    EXPECT_EQ(subfolders(), std::vector<std::string>{"??????"});

    node = ChildNamed(top, "??????");
    ASSERT_NE(node, nullptr);
    {
        MenuDriver menu(ShellMenuCommand(*TCustomShellTreeView::NodeFolder(node), "rename"));
        RightClickOn(tree().Handle(), node);
    }
    ASSERT_NE(Editor(), nullptr);
    SetWindowTextW(Editor(), L"Nowa");
    PressKey(Editor(), VK_RETURN);
    EXPECT_TRUE(shown.empty()) << shown.front();
    EXPECT_EQ(ChildTexts(top), std::vector<std::string>{"Nowa"});
    EXPECT_EQ(subfolders(), std::vector<std::string>{"Nowa"});
    EXPECT_EQ(tree().Selected(), top);
    EXPECT_EQ(form.FileListBox1.FolderPath(), dir / "b14");
}
