// The directory list on real folders: the chain of ancestors and the visible subfolders, the path of
// every item, moving by Enter and double click, the do-nothing rules, failures, drives, and the linked
// file list and label.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "fslists/directory_list_box.h"
#include "fslists/file_list_box.h"
#include "fslists/path_text.h"
#include "gui/application.h"
#include "gui/label.h"
#include "list_test_support.h"
#include "runtime/ansi.h"
#include "runtime/exceptions.h"
#include "temp_dir.h"

namespace {

using Strings = std::vector<std::string>;

// The items a folder's chain gives: the drive root, then every folder name of the path.
Strings ChainOf(const std::string& path)
{
    Strings chain{path.substr(0, 3)};
    std::string rest = path.substr(3);
    for (size_t slash; (slash = rest.find('\\')) != std::string::npos; rest.erase(0, slash + 1))
        chain.push_back(rest.substr(0, slash));
    if (!rest.empty())
        chain.push_back(rest);
    return chain;
}

Strings Concat(Strings a, const Strings& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class DirectoryListTest : public ListTest {
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        dir.MakeDir("A");
        dir.MakeDir("A\\B");
        dir.MakeDir("A\\B\\K");
        for (const char* sub : {"drivers", "Config", "mid", ".hidden", "sys"})
            dir.MakeDir(std::string("A\\B\\K\\") + sub);
        SetFileAttributesA((dir / "A\\B\\K\\sys").c_str(), FILE_ATTRIBUTE_SYSTEM);
        dir.WriteFile("A\\B\\K\\file.txt", "not a folder");
        deep = dir / "A\\B\\K";
        list.SetBounds(10, 10, 217, 161);
        list.SetParent(&host);
        list.OnChange = [this] { ++changes; };
    }

    TempDir dir;
    std::string deep;
    ListHost host;
    TDirectoryListBox list{&host};
    int changes = 0;
};

}  // namespace

TEST_F(DirectoryListTest, DeepFolderShowsItsChainThenItsVisibleSubfoldersSorted)
{
    list.SetFolderPath(deep);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(list.FolderPath(), deep);
    EXPECT_EQ(CurrentDir(), deep);
    const Strings chain = ChainOf(deep);
    EXPECT_EQ(ItemTexts(list), Concat(chain, {"Config", "drivers", "mid"}));
    const int current = static_cast<int>(chain.size()) - 1;
    EXPECT_EQ(list.ItemIndex(), current);
    EXPECT_EQ(static_cast<TDirGlyph>(list.ItemData(0)), TDirGlyph::dgOpenFolder);
    EXPECT_EQ(static_cast<TDirGlyph>(list.ItemData(current)), TDirGlyph::dgCurrentFolder);
    EXPECT_EQ(static_cast<TDirGlyph>(list.ItemData(current + 1)), TDirGlyph::dgClosedFolder);

    // The path of every kind of item.
    EXPECT_EQ(list.PathOfItem(0), deep.substr(0, 3));
    EXPECT_EQ(list.PathOfItem(current - 1), dir / "A\\B");
    EXPECT_EQ(list.PathOfItem(current - 2), dir / "A");
    EXPECT_EQ(list.PathOfItem(1), deep.substr(0, deep.find('\\', 3)));
    EXPECT_EQ(list.PathOfItem(current), deep);
    EXPECT_EQ(list.PathOfItem(current + 1), deep + "\\Config");
    EXPECT_EQ(list.PathOfItem(list.Count()), "");
    try {
        list.PathOfItem(-1);
        ADD_FAILURE() << "no failure";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (-1)");
    }
}

TEST_F(DirectoryListTest, DriveRootIsOneCurrentItemThenTheRootsSubfolders)
{
    const std::string root = deep.substr(0, 3);
    list.SetFolderPath(root);
    EXPECT_EQ(list.FolderPath(), root);
    const Strings items = ItemTexts(list);
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items[0], root);
    EXPECT_EQ(static_cast<TDirGlyph>(list.ItemData(0)), TDirGlyph::dgCurrentFolder);
    EXPECT_EQ(list.ItemIndex(), 0);
    Strings subfolders;
    for (const TSubfolder& folder : CollectSubfolders(root))
        subfolders.push_back(folder.Text);
    EXPECT_EQ(items, Concat({root}, subfolders));
    EXPECT_GT(items.size(), 1u);
    EXPECT_EQ(list.PathOfItem(1), root + items[1]);
}

TEST_F(DirectoryListTest, SubfoldersDifferingOnlyInLetterCaseGiveOneItem)
{
    const std::string unix = UnixPathOf(deep);
    if (unix.empty())
        GTEST_SKIP() << "only a case-sensitive file system behind the platform can hold both";
    // The platform refuses a second name that differs only in case; the Unix side does not.
    ASSERT_TRUE(RunUnix("/bin/mkdir \"" + unix + "/config\" \"" + unix + "/MID\""));
    auto caseTwins = [&] {
        int entries = 0;
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((deep + "\\*").c_str(), &fd);
        do
            entries += CompareEqual(fd.cFileName, "config") || CompareEqual(fd.cFileName, "mid");
        while (FindNextFileA(h, &fd));
        FindClose(h);
        return entries;
    };
    for (int wait = 0; wait < 100 && caseTwins() < 4; ++wait)
        Sleep(50);
    ASSERT_EQ(caseTwins(), 4);
    EXPECT_EQ(CollectSubfolders(deep).size(), 3u);
    list.SetFolderPath(deep);
    const Strings items = ItemTexts(list);
    ASSERT_EQ(items.size(), ChainOf(deep).size() + 3);
    EXPECT_TRUE(CompareEqual(items[items.size() - 3], "config"));
    EXPECT_EQ(items[items.size() - 2], "drivers");
    EXPECT_TRUE(CompareEqual(items[items.size() - 1], "mid"));
}

TEST_F(DirectoryListTest, AHiddenCurrentFolderAndAncestorKeepTheirItems)
{
    dir.MakeDir("A\\B\\K\\.hidden\\inner");
    list.SetFolderPath(deep + "\\.hidden\\inner");
    const Strings items = ItemTexts(list);
    EXPECT_EQ(items, Concat(ChainOf(deep), {".hidden", "inner"}));
    list.SetFolderPath(deep + "\\.hidden");
    EXPECT_EQ(ItemTexts(list), Concat(ChainOf(deep), {".hidden", "inner"}));
    EXPECT_EQ(static_cast<TDirGlyph>(list.ItemData(list.ItemIndex())), TDirGlyph::dgCurrentFolder);
}

TEST_F(DirectoryListTest, EnterAndDoubleClickOpenTheSelectedItem)
{
    host.Show();
    list.SetFolderPath(deep);
    list.SetFocus();
    // Enter on the drive root, through the message loop with its keyboard order.
    list.SetItemIndex(0);
    PostMessageW(list.Handle(), WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    EXPECT_EQ(list.FolderPath(), deep.substr(0, 3));
    EXPECT_EQ(changes, 2);

    list.SetFolderPath(deep);
    list.SetItemIndex(static_cast<int>(ChainOf(deep).size()) - 2);  // the parent B
    SendMessageW(list.Handle(), WM_CHAR, VK_RETURN, 0);
    EXPECT_EQ(list.FolderPath(), dir / "A\\B");
    // A double click on a subfolder.
    RECT r;
    const int k = list.Count() - 1;
    ASSERT_EQ(list.Items(k), "K");
    SendMessageW(list.Handle(), LB_GETITEMRECT, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM(r.left + 40, (r.top + r.bottom) / 2);
    PostMessageW(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(list.Handle(), WM_LBUTTONUP, 0, at);
    PostMessageW(list.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageW(list.Handle(), WM_LBUTTONUP, 0, at);
    Pump();
    EXPECT_EQ(list.FolderPath(), deep);
}

TEST_F(DirectoryListTest, TheShownFolderWrittenOtherwiseDoesNothing)
{
    list.SetFolderPath(deep);
    ASSERT_EQ(changes, 1);
    std::string upper = deep;
    CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    list.SetFolderPath(upper);  // the volume ignores case
    list.SetFolderPath("");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(list.FolderPath(), deep);

    // A trailing mask, file name or backslash is dropped: one notification each.
    list.SetFolderPath(dir / "A\\B\\*.txt");
    EXPECT_EQ(list.FolderPath(), dir / "A\\B");
    list.SetFolderPath(deep + "\\");
    EXPECT_EQ(list.FolderPath(), deep);
    EXPECT_EQ(changes, 3);
    // Written in another case, the path keeps the case it was given in.
    list.SetFolderPath(dir / "a\\b");
    EXPECT_EQ(ItemTexts(list).back(), "K");
    EXPECT_EQ(list.Items(list.ItemIndex()), "b");
}

TEST_F(DirectoryListTest, AMissingFolderFailsAndChangesNothing)
{
    list.SetFolderPath(deep);
    const Strings items = ItemTexts(list);
    const std::string cwd = CurrentDir();
    try {
        list.SetFolderPath(deep + "\\gone\\deeper");
        ADD_FAILURE() << "no failure";
    } catch (const EInOutError& e) {
        EXPECT_TRUE(e.ErrorCode() == 2 || e.ErrorCode() == 3) << e.ErrorCode();
    }
    try {
        list.SetFolderPath(deep + "\\gone");
        ADD_FAILURE() << "no failure";
    } catch (const EInOutError& e) {
        EXPECT_STREQ(e.what(), "File not found");
    }
    EXPECT_EQ(list.FolderPath(), deep);
    EXPECT_EQ(ItemTexts(list), items);
    EXPECT_EQ(CurrentDir(), cwd);
    EXPECT_EQ(changes, 1);
}

TEST_F(DirectoryListTest, AnotherDriveIsEnteredWithOneNotification)
{
    const std::string unix = UnixPathOf(deep);
    if (unix.empty())
        GTEST_SKIP() << "needs a second drive onto the same folders";
    // The same folders seen through the drive of the Unix root (past the prefix's link to its C: drive).
    std::string onZ = "Z:" + unix;
    const std::string link = "/dosdevices/c:/";
    if (const size_t at = onZ.find(link); at != std::string::npos)
        onZ.replace(at, link.size(), "/drive_c/");
    for (char& c : onZ)
        if (c == '/')
            c = '\\';
    list.SetFolderPath(deep);
    list.SetFolderPath(onZ);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(list.DriveLetter(), 'Z');
    EXPECT_EQ(list.FolderPath(), onZ);
    EXPECT_EQ(ItemTexts(list), Concat(ChainOf(onZ), {"Config", "drivers", "mid"}));
    // Back by a drive change alone: the folder the platform remembers for that drive.
    list.ChangeDrive(deep[0]);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(list.DriveLetter(), deep[0]);
    EXPECT_EQ(list.FolderPath(), CurrentDir());
    EXPECT_EQ(list.Items(0), deep.substr(0, 3));
    list.ChangeDrive(static_cast<char>(tolower(deep[0])));  // the same drive: nothing
    EXPECT_EQ(changes, 3);
}

TEST_F(DirectoryListTest, LinkedFileListFollowsAndHandsEnteredPathsOver)
{
    TFileListBox files(&host);
    files.SetBounds(250, 10, 200, 150);
    files.SetParent(&host);
    list.SetFileList(&files);
    list.SetFolderPath(deep);
    EXPECT_EQ(files.FolderPath(), deep);
    EXPECT_EQ(ItemTexts(files), Strings({"file.txt"}));
    // The file list gives a whole path to the directory list, which hands the folder back.
    files.EnterPath(dir / "A\\*.*");
    EXPECT_EQ(list.FolderPath(), dir / "A");
    EXPECT_EQ(files.FolderPath(), dir / "A");
    EXPECT_EQ(files.Mask(), "*.*");
    list.SetFileList(nullptr);
    files.EnterPath(deep);
    EXPECT_EQ(list.FolderPath(), dir / "A");  // no longer linked
}

TEST_F(DirectoryListTest, ALinkedLabelShowsThePathShortenedToTheListsWidth)
{
    TLabel label(&host);
    label.SetBounds(10, 200, 10, 13);
    label.SetParent(&host);
    list.SetWidth(120);
    list.SetDirLabel(&label);
    list.SetFolderPath(deep);
    const std::string caption = WideToAnsi(label.Caption());
    EXPECT_NE(caption, deep);
    EXPECT_NE(caption.find("...\\"), std::string::npos) << caption;
    EXPECT_EQ(caption.substr(caption.size() - 2), "\\K");
    EXPECT_LE(label.BoundsInPixels().right - label.BoundsInPixels().left, list.Scale(120) + 4);
    {
        TLabel gone(&host);
        gone.SetParent(&host);
        list.SetDirLabel(&gone);
    }
    EXPECT_EQ(list.DirLabel(), nullptr);
    list.SetFolderPath(dir.Path());  // would write to the label that is gone
}

TEST_F(DirectoryListTest, AfterTheShownFolderWentAwayItsAncestorsAndTheRootOpenFromAnyDrive)
{
    const std::string root = deep.substr(0, 3);
    auto goAway = [&](const char* name) {
        const std::string folder = deep + "\\" + name;
        list.SetFolderPath(folder);
        // The save dialog moves the process elsewhere, and the folder is deleted from outside.
        ASSERT_TRUE(SetCurrentDirectoryA("Z:\\"));
        ASSERT_TRUE(RemoveDirectoryA(folder.c_str()));
    };
    goAway("mid");
    list.SetFolderPath(list.PathOfItem(list.ItemIndex() - 1));
    EXPECT_EQ(list.FolderPath(), deep);
    goAway("Config");
    list.SetFolderPath(list.PathOfItem(1));
    EXPECT_EQ(list.FolderPath(), deep.substr(0, deep.find('\\', 3)));
    goAway("drivers");
    list.SetFolderPath(list.PathOfItem(0));
    EXPECT_EQ(list.FolderPath(), root);
    EXPECT_EQ(list.Items(0), root);

    // The drive's remembered folder (kept for the process as "=C:") gone as well: its root.
    const std::string remembered = std::string("=") + root.substr(0, 2);
    list.SetFolderPath(deep);
    dir.MakeDir("A\\B\\K\\gone");
    ASSERT_TRUE(SetEnvironmentVariableA(remembered.c_str(), (deep + "\\gone").c_str()));
    goAway("gone");
    const std::string first = list.PathOfItem(1);
    list.SetFolderPath(first);
    SetEnvironmentVariableA(remembered.c_str(), nullptr);
    EXPECT_EQ(list.FolderPath(), first);
    list.ChangeDrive('Z');
    ASSERT_TRUE(SetEnvironmentVariableA(remembered.c_str(), (deep + "\\gone").c_str()));
    list.ChangeDrive(root[0]);
    SetEnvironmentVariableA(remembered.c_str(), nullptr);
    EXPECT_EQ(list.FolderPath(), root);
}

TEST_F(DirectoryListTest, SubfoldersTheCodePageCannotNameAreShownWithQuestionMarksAndReachedByTheirShortNames)
{
    // The search no longer brings short names: one is asked for only where the long name cannot serve.
    const std::string base = dir / "names";
    dir.MakeDir("names");
    const std::wstring wideBase = AnsiToWide(base);
    for (const wchar_t* name : {L"na\u00efve", L"\u041f\u0430\u043f\u043a\u0430"}) {
        ASSERT_TRUE(CreateDirectoryW((wideBase + L"\\" + name).c_str(), nullptr));
        const HANDLE file = CreateFileW((wideBase + L"\\" + name + L"\\marker").c_str(), GENERIC_WRITE, 0,
                                        nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
    }
    dir.MakeDir("names\\naive");
    dir.MakeDir("names\\\xAF\xF3\xB3w");  // Żółw: the code page holds it, the long name serves
    list.SetFolderPath(base);
    const int first = static_cast<int>(ChainOf(base).size());
    ASSERT_EQ(ItemTexts(list), Concat(ChainOf(base), {"naive", "na?ve", "\xAF\xF3\xB3w", "?????"}));
    EXPECT_EQ(list.PathOfItem(first), base + "\\naive");
    EXPECT_EQ(list.PathOfItem(first + 2), base + "\\\xAF\xF3\xB3w");
    for (int at : {first + 1, first + 3}) {
        const std::string path = list.PathOfItem(at);
        EXPECT_NE(path.find('~'), std::string::npos) << path;
        EXPECT_TRUE(FileExists(path + "\\marker")) << path;  // that folder, not its look-alike
    }
}
