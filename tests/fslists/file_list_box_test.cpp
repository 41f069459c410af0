// The file list on real folders: which entries it shows and in what order, masks, folder entries,
// moving between folders and what a failed move leaves, selection, and the linked edit.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <random>

#include "fslists/file_list_box.h"
#include "fslists/path_routines.h"
#include "gui/application.h"
#include "list_test_support.h"
#include "runtime/ansi.h"
#include "runtime/exceptions.h"
#include "temp_dir.h"

namespace {

using Strings = std::vector<std::string>;

class FileListTest : public ListTest {
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        // The folder of the example: two text files, a program, a hidden file and a subfolder.
        dir.WriteFile("b.txt", "b");
        dir.WriteFile("A.TXT", "a");
        dir.WriteFile("x.exe", "x");
        dir.WriteFile("h.txt", "h");
        SetFileAttributesA((dir / "h.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
        dir.MakeDir("sub");
        list.SetBounds(10, 10, 217, 233);
        list.SetParent(&host);
        list.SetFolderPath(dir.Path());
        list.OnChange = [this] { ++changes; };
    }

    TempDir dir;
    ListHost host;
    TFileListBox list{&host};
    int changes = 0;
};

}  // namespace

TEST_F(FileListTest, ExampleFolderListsThePlainFilesInCaseBlindOrder)
{
    EXPECT_EQ(ItemTexts(list), Strings({"A.TXT", "b.txt", "x.exe"}));
    EXPECT_EQ(list.FolderPath(), dir.Path());
    EXPECT_EQ(CurrentDir(), dir.Path());  // the list's folder is made current and stays so
    EXPECT_EQ(static_cast<TFileGlyph>(list.ItemData(2)), TFileGlyph::fgProgram);
    EXPECT_EQ(static_cast<TFileGlyph>(list.ItemData(0)), TFileGlyph::fgOtherFile);
    EXPECT_EQ(list.ItemIndex(), -1);  // nothing selected after a read
    EXPECT_EQ(GetWindowLongW(list.Handle(), GWL_STYLE) & (LBS_SORT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS),
              LBS_SORT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS);
}

TEST_F(FileListTest, MasksOfSeveralPatternsEmptyPatternsAndDuplicates)
{
    list.SetMask("*.txt;*.exe");
    EXPECT_EQ(ItemTexts(list), Strings({"A.TXT", "b.txt", "x.exe"}));
    // The same pattern twice, in two letter cases: every text file is listed twice.
    list.SetMask("*.txt;*.TXT");
    EXPECT_EQ(ItemTexts(list), Strings({"A.TXT", "A.TXT", "b.txt", "b.txt"}));
    list.SetMask("");
    EXPECT_EQ(list.Count(), 0);
    list.SetMask(";");
    EXPECT_EQ(list.Count(), 0);
    list.SetMask("*.exe;");
    EXPECT_EQ(ItemTexts(list), Strings({"x.exe"}));
    list.SetMask("nothing*.zzz;x.*");
    EXPECT_EQ(ItemTexts(list), Strings({"x.exe"}));
    // "*.*" also matches names without a dot.
    dir.WriteFile("README", "r");
    list.SetMask("*.*");
    EXPECT_EQ(ItemTexts(list), Strings({"A.TXT", "b.txt", "README", "x.exe"}));
    const int before = changes;
    list.SetMask("*.*");  // the same mask: no read, no notification
    EXPECT_EQ(changes, before);
}

TEST_F(FileListTest, FolderEntriesWithTheirGlyphOnlyWhileGlyphsAreShown)
{
    list.SetFileType(TFileType{TFileAttr::ftDirectory, TFileAttr::ftNormal});
    EXPECT_EQ(ItemTexts(list), PlatformSortedOrder({"[.]", "[..]", "[sub]", "A.TXT", "b.txt", "x.exe"}));
    EXPECT_EQ(static_cast<TFileGlyph>(list.ItemData(list.FindExact("[sub]", -1))), TFileGlyph::fgNone);

    list.SetShowGlyphs(true);
    EXPECT_GE(list.ItemHeight(), 16);
    list.SetMask("s*");  // re-read with glyphs on
    EXPECT_EQ(ItemTexts(list), Strings({"[sub]"}));
    EXPECT_EQ(static_cast<TFileGlyph>(list.ItemData(0)), TFileGlyph::fgFolder);

    // Without ftNormal only entries sharing an asked-for bit: here the read-only file.
    SetFileAttributesA((dir / "b.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    list.SetMask("*.*");
    list.SetFileType(TFileType{TFileAttr::ftReadOnly});
    EXPECT_EQ(ItemTexts(list), Strings({"b.txt"}));
    SetFileAttributesA((dir / "b.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    // Hidden asked for: the hidden file appears.
    list.SetFileType(TFileType{TFileAttr::ftHidden, TFileAttr::ftNormal});
    EXPECT_EQ(ItemTexts(list), Strings({"A.TXT", "b.txt", "h.txt", "x.exe"}));
}

TEST_F(FileListTest, TheShownFolderInAnotherLetterCaseIsNotReadAgain)
{
    dir.WriteFile("c.txt", "new");
    const int before = changes;
    std::string upper = dir.Path();
    CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    list.SetFolderPath(upper);
    EXPECT_EQ(ItemTexts(list), Strings({"A.TXT", "b.txt", "x.exe"}));
    EXPECT_EQ(changes, before);
    EXPECT_EQ(list.FolderPath(), dir.Path());
    list.SetMask("*.txt");  // a real change reads again
    EXPECT_EQ(ItemTexts(list), Strings({"A.TXT", "b.txt", "c.txt"}));
}

TEST_F(FileListTest, EnterPathTakesAFolderAMaskOrAFileName)
{
    TempDir other;
    other.WriteFile("one.txt", "1");
    other.WriteFile("two.exe", "2");
    list.EnterPath(other / "*.txt");
    EXPECT_EQ(list.FolderPath(), other.Path());
    EXPECT_EQ(list.Mask(), "*.txt");
    EXPECT_EQ(ItemTexts(list), Strings({"one.txt"}));

    // A folder alone keeps the mask.
    list.EnterPath(dir.Path());
    EXPECT_EQ(list.FolderPath(), dir.Path());
    EXPECT_EQ(list.Mask(), "*.txt");
    EXPECT_EQ(ItemTexts(list), Strings({"A.TXT", "b.txt"}));

    // A file that is listed is selected.
    list.EnterPath(dir / "b.txt");
    EXPECT_EQ(list.SelectedFileName(), "b.txt");
    EXPECT_EQ(list.SelectedFilePath(), dir / "b.txt");
    // A file the mask hides becomes the mask.
    list.EnterPath(dir / "x.exe");
    EXPECT_EQ(list.Mask(), "x.exe");
    EXPECT_EQ(ItemTexts(list), Strings({"x.exe"}));
    EXPECT_EQ(list.SelectedFileName(), "x.exe");
    // A bracketed folder entry of the current folder.
    list.EnterPath("[sub]");
    EXPECT_EQ(list.FolderPath(), dir / "sub");
}

TEST_F(FileListTest, AMissingFolderFailsWithFileNotFoundAndChangesNothing)
{
    const std::string cwd = CurrentDir();
    const int before = changes;
    for (int viaEnterPath = 0; viaEnterPath < 2; ++viaEnterPath) {
        try {
            if (viaEnterPath)
                list.EnterPath(dir / "missing");
            else
                list.SetFolderPath(dir / "missing");
            ADD_FAILURE() << "no failure";
        } catch (const EInOutError& e) {
            EXPECT_STREQ(e.what(), "File not found");
            EXPECT_EQ(e.ErrorCode(), 2);
        }
        EXPECT_EQ(list.FolderPath(), dir.Path());
        EXPECT_EQ(ItemTexts(list), Strings({"A.TXT", "b.txt", "x.exe"}));
        EXPECT_EQ(CurrentDir(), cwd);
        EXPECT_EQ(changes, before);
    }
}

TEST_F(FileListTest, AFileDatedOutsideThePackedDateYearsIsStillAFile)
{
    dir.WriteFile("old.txt", "from 1975");
    dir.WriteFile("far.txt", "from 2150");
    SetFileYear(dir / "old.txt", 1975);
    SetFileYear(dir / "far.txt", 2150);
    list.SetMask("*.txt");
    EXPECT_EQ(ItemTexts(list), Strings({"A.TXT", "b.txt", "far.txt", "old.txt"}));
    // Taken for a folder, these would fail to be entered; they are selected as the files they are.
    list.EnterPath(dir / "old.txt");
    EXPECT_EQ(list.FolderPath(), dir.Path());
    EXPECT_EQ(list.SelectedFileName(), "old.txt");
    list.EnterPath(dir / "far.txt");
    EXPECT_EQ(list.SelectedFileName(), "far.txt");
    const TSplitPath split = SplitPathText(dir / "old.txt");
    EXPECT_EQ(split.file, "old.txt");
}

TEST_F(FileListTest, DriveRootListsTheRootItself)
{
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string root = std::string(windows, 2) + "\\";
    list.SetFolderPath(root);
    EXPECT_EQ(list.FolderPath(), root);
    Strings expected;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((root + "*.*").c_str(), &fd);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    do {
        if (!(fd.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
            expected.push_back(fd.cFileName);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    EXPECT_EQ(ItemTexts(list), PlatformSortedOrder(expected));
    list.SetFileType(TFileType{TFileAttr::ftDirectory, TFileAttr::ftNormal});
    const Strings items = ItemTexts(list);
    EXPECT_EQ(std::count(items.begin(), items.end(), "[..]"), 0);  // a root has no parent entry
    EXPECT_EQ(std::count(items.begin(), items.end(), "[windows]"), 1);
}

TEST_F(FileListTest, PolishNamesKeepTheirBytesAndTheLocaleOrder)
{
    ASSERT_EQ(GetACP(), 1250u) << "run with LANG=pl_PL.UTF-8 (scripts/env.sh)";
    TempDir polish;
    // Code page 1250: Żółw, łąka, Ćma, ścieżka, Zebra, Łódź, lato, cma.
    const Strings names = {"\xAF\xF3\xB3w.txt", "\xB3\xB9ka.txt", "\xC6ma.txt", "\x9C\x63ie\xBFka.txt",
                           "Zebra.txt", "\xA3\xF3\x64\x9F.txt", "lato.txt", "cmb.txt"};
    for (const std::string& n : names)
        polish.WriteFile(n, n);
    list.SetFolderPath(polish.Path());
    const Strings items = ItemTexts(list);
    EXPECT_EQ(items, PlatformSortedOrder(names));
    // Polish letters sort after their plain letters: c, ć; l, ł; s, ś; z, ż.
    auto at = [&](const std::string& n) { return std::find(items.begin(), items.end(), n) - items.begin(); };
    EXPECT_LT(at("cmb.txt"), at("\xC6ma.txt"));
    EXPECT_LT(at("lato.txt"), at("\xB3\xB9ka.txt"));
    EXPECT_LT(at("Zebra.txt"), at("\xAF\xF3\xB3w.txt"));
    list.SetMask("\xA3*");  // a mask with a Polish capital matches the name in any case
    EXPECT_EQ(ItemTexts(list), Strings({"\xB3\xB9ka.txt", "\xA3\xF3\x64\x9F.txt"}));  // ą before ó
}


// The items stand in the platform's own order of the names; names the order takes for equal may stand either way.
static void ExpectPlatformOrder(const Strings& items, const Strings& names)
{
    const Strings platform = PlatformSortedOrder(names);
    ASSERT_EQ(items.size(), platform.size());
    for (size_t i = 0; i < items.size(); ++i)
        EXPECT_TRUE(items[i] == platform[i] || CompareEqual(items[i], platform[i]))
            << i << ": " << items[i] << " / " << platform[i];
}
TEST_F(FileListTest, OrderIsExactlyThePlatformSortedListsOrder)
{
    TempDir many;
    std::mt19937 random(4);
    const std::string letters = "abcXYZ019 -_.~'!()[]{}@#$%^&+=,\xB9\xA5\xB3\xA3\xE6\xC6\xEA\xCA\xF3\xD3\x9C\x8C\xBF\xAF\x9F\x8F";
    Strings names;
    while (names.size() < 400) {
        std::string name;
        const size_t len = 1 + random() % 8;
        for (size_t i = 0; i < len; ++i)
            name += letters[random() % letters.size()];
        if (name.back() == '.' || name.back() == ' ' || name.front() == ' ' || name.front() == '.')
            continue;
        HANDLE h = CreateFileA((many / name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            continue;  // a name that exists already but for case
        CloseHandle(h);
        names.push_back(name);
    }
    list.SetFolderPath(many.Path());
    ExpectPlatformOrder(ItemTexts(list), names);
    // The hourglass of a long read is gone afterwards.
    EXPECT_NE(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
}

TEST_F(FileListTest, LongNamesAlikeAtTheStartStandInThePlatformsOrder)
{
    TempDir alike;
    // Over a hundred characters each, the same long start, the ends differing in what sorts subtly.
    const std::string start = "Sprawozdanie z dzia\xB3\x61lno\x9C\x63i zarz\xB9\x64u sp\xF3\xB3ki akcyjnej za rok "
                              "obrotowy zako\xF1\x63zony w grudniu wersja ";
    const Strings ends = {"1.txt", "10.txt", "2.txt", "A.txt", "a-b.txt", "ab.txt", "a b.txt", "'a.txt", "\xB9.txt",
                          "\xA5Z.TXT", "z.txt", "\xBF.txt", "co-op", "coop", "co op", "x", "x y", "ostateczna",
                          "Ostateczna 2"};
    Strings names;
    for (const std::string& end : ends) {
        names.push_back(start + end);
        alike.WriteFile(names.back(), "");
    }
    list.SetFolderPath(alike.Path());
    ExpectPlatformOrder(ItemTexts(list), names);
}

TEST_F(FileListTest, SelectingByNameNotifiesOnceAndTheLinkedEditFollows)
{
    TEdit edit(&host);
    edit.SetBounds(250, 10, 100, 20);
    edit.SetParent(&host);
    list.SetFileEdit(&edit);
    const int before = changes;
    list.SetSelectedFileName("B.TXT");  // the search ignores letter case
    EXPECT_EQ(list.SelectedFileName(), "b.txt");
    EXPECT_EQ(changes, before + 1);
    EXPECT_EQ(edit.Text(), "b.txt");
    list.SetSelectedFileName("b.TXT");  // the same name: nothing happens
    EXPECT_EQ(changes, before + 1);
    list.SetSelectedFileName("A.TXT");  // a match at index 0 is found as well
    EXPECT_EQ(list.ItemIndex(), 0);
    list.SetSelectedFileName("none.txt");
    EXPECT_EQ(list.ItemIndex(), -1);
    EXPECT_EQ(list.SelectedFilePath(), "");
    EXPECT_EQ(edit.Text(), "*.*");  // nothing selected: the mask
}

TEST_F(FileListTest, AClickOnAnItemNotifiesWhenTheSelectionMoved)
{
    host.Show();
    RECT r;
    SendMessageW(list.Handle(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    const int before = changes;
    PostMessageW(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(list.Handle(), WM_LBUTTONUP, 0, at);
    Pump();
    EXPECT_EQ(list.SelectedFileName(), "b.txt");
    EXPECT_EQ(changes, before + 1);
}

TEST_F(FileListTest, ALinkedEditThatGoesAwayIsForgotten)
{
    {
        TEdit edit(&host);
        edit.SetParent(&host);
        list.SetFileEdit(&edit);
        EXPECT_EQ(list.FileEdit(), &edit);
    }
    EXPECT_EQ(list.FileEdit(), nullptr);
    list.SetSelectedFileName("x.exe");  // would write to the edit that is gone
    EXPECT_EQ(list.SelectedFileName(), "x.exe");
}

TEST_F(FileListTest, NamesTheCodePageCannotHoldAreShownWithQuestionMarksNeverAsWildcards)
{
    const std::wstring base = AnsiToWide(dir.Path());
    for (const wchar_t* name : {L"\u041f\u0430\u043f\u043a\u0430.txt", L"a\uff0ab.txt", L"na\u00efve.txt"}) {
        const HANDLE file = CreateFileW((base + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0,
                                        nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
    }
    dir.WriteFile("axb.txt", "x");
    list.SetMask("*.txt");
    const Strings items = ItemTexts(list);
    for (const char* shown : {"?????.txt", "a?b.txt", "na?ve.txt", "axb.txt"})
        EXPECT_NE(std::find(items.begin(), items.end(), shown), items.end()) << shown;
    // A mask typed with a character the code page lacks matches that character, not any one.
    list.SetMaskText(L"a\uff0ab.txt");
    EXPECT_EQ(list.Mask(), "a?b.txt");
    EXPECT_EQ(ItemTexts(list), Strings{"a?b.txt"});
    list.SetMaskText(L"\u041f*");
    EXPECT_EQ(ItemTexts(list), Strings{"?????.txt"});
    list.SetMaskText(L"na\u00efve.*");
    EXPECT_EQ(ItemTexts(list), Strings{"na?ve.txt"});
    list.SetMask("a?b.txt");  // a "?" typed as such is the wildcard it always was
    EXPECT_EQ(ItemTexts(list).size(), 2u);
}
