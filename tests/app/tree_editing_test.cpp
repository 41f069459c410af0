// The folder tree on the main window while a folder's name is edited in place: the window's shortcut keys
// leave the editor its keys, and renaming the folder the views show carries the views along.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/form1.h"
#include "dialog_driver.h"
#include "gui/application.h"
#include "key_press.h"
#include "menu_driver.h"
#include "runtime/ansi.h"
#include "no_short_names.h"
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
    TShellFolder* Item(TTreeNode* node) { return TCustomShellTreeView::NodeFolder(node); }
    // Folders named in Cyrillic, which code page 1250 cannot hold, in a folder b14 selected in the tree and
    // opened: the node of each by its text, in the tree as the user sees it.
    TTreeNode* SelectCyrillicPair()
    {
        const std::wstring b14 = AnsiToWide(dir / "b14");
        CreateDirectoryW(b14.c_str(), nullptr);
        for (const wchar_t* name : {kPapka, kDruga})
            if (!CreateDirectoryW((b14 + L"\\" + name).c_str(), nullptr))
                return nullptr;
        tree().RefreshNode(tree().Selected()->Parent());  // b14 came after the branch was listed
        tree().SetSelectedPath(dir / "b14");
        TTreeNode* node = tree().Selected();
        if (node)
            node->Expand();
        return node;
    }
    // The directory list's items below b14, as a save of the folder list would write them.
    std::vector<std::string> Subfolders()
    {
        const auto items = form.DirectoryListBox1.ItemTexts();
        std::vector<std::string> below;
        bool after = false;
        for (const std::string& item : *items) {
            if (after)
                below.push_back(item);
            after = after || item == "b14";
        }
        return below;
    }
    static constexpr const wchar_t* kPapka = L"\u041f\u0430\u043f\u043a\u0430";      // shows as ?????
    static constexpr const wchar_t* kDruga = L"\u0414\u0440\u0443\u0433\u0430\u044f";  // shows as ??????
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
    TTreeNode* b14 = SelectCyrillicPair();
    ASSERT_NE(b14, nullptr);
    ASSERT_EQ(form.DirectoryListBox1.FolderPath(), dir / "b14");
    ASSERT_EQ(Subfolders(), (std::vector<std::string>{"??????", "?????"}));
    const std::wstring b14Wide = AnsiToWide(dir / "b14");

    TTreeNode* papka = ChildNamed(b14, "?????");
    ASSERT_NE(papka, nullptr);
    {
        MenuDriver menu(ShellMenuCommand(*Item(papka), "delete"));
        DialogDriver confirm([](HWND dialog) { DialogDriver::Press(dialog, IDYES); });
        RightClickOn(tree().Handle(), papka);
        EXPECT_TRUE(menu.Shown());
        EXPECT_TRUE(confirm.Done());
    }
    ForgetTrashed(kPapka);
    EXPECT_EQ(GetFileAttributesW((b14Wide + L"\\" + kPapka).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(shown.empty()) << shown.front();
    EXPECT_EQ(tree().Selected(), b14);
    EXPECT_EQ(ChildTexts(b14), std::vector<std::string>{"??????"});
    EXPECT_EQ(Subfolders(), std::vector<std::string>{"??????"});
    EXPECT_EQ(form.FileListBox1.FolderPath(), dir / "b14");

    TTreeNode* druga = ChildNamed(b14, "??????");
    ASSERT_NE(druga, nullptr);
    {
        MenuDriver menu(ShellMenuCommand(*Item(druga), "rename"));
        RightClickOn(tree().Handle(), druga);
        EXPECT_TRUE(menu.Shown());
    }
    ASSERT_NE(Editor(), nullptr);
    SetWindowTextW(Editor(), L"Nowa");
    PressKey(Editor(), VK_RETURN);
    EXPECT_TRUE(shown.empty()) << shown.front();
    EXPECT_NE(GetFileAttributesA((dir / "b14\\Nowa").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ChildTexts(b14), std::vector<std::string>{"Nowa"});
    EXPECT_EQ(Subfolders(), std::vector<std::string>{"Nowa"});
    EXPECT_EQ(tree().Selected(), b14);
    EXPECT_EQ(form.FileListBox1.FolderPath(), dir / "b14");
}

// Where folders have no short names, a folder the code page cannot name can be handled by the shell's
// commands, but the lists cannot enter it: selecting it says so, and the lists stay where they were.
TEST_F(TreeEditing, WithoutShortNamesOnlyEnteringSuchAFolderFails)
{
    NoShortNames noShortNames;
    TTreeNode* b14 = SelectCyrillicPair();
    ASSERT_NE(b14, nullptr);
    TTreeNode* papka = ChildNamed(b14, "?????");
    ASSERT_NE(papka, nullptr);

    tree().SetSelected(papka);  // as the user's click does
    EXPECT_EQ(shown, std::vector<std::string>{"Invalid filename"});
    EXPECT_EQ(form.DirectoryListBox1.FolderPath(), dir / "b14");
    EXPECT_EQ(form.FileListBox1.FolderPath(), dir / "b14");
    EXPECT_EQ(CurrentDirectoryPath(), dir / "b14");
}
