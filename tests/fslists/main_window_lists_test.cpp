// The two lists on the main window: their places, looks and keyboard order, the mask edit re-filtering at
// every keystroke, the directory list handing its folder to the file list, and saving either list.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "app/form1.h"
#include "dialog_driver.h"
#include "file_dialog_typing.h"
#include "gui/application.h"
#include "listing/listing_composition.h"
#include "list_test_support.h"
#include "runtime/exceptions.h"
#include "temp_dir.h"

namespace {

using Strings = std::vector<std::string>;

class MainWindowLists : public ListTest {
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        Application().OnException = [this](const std::exception& e) { errors.push_back(e.what()); };
        for (const char* name : {"b.txt", "A.TXT", "x.exe", "c.doc", "bb.txt"})
            dir.WriteFile(name, name);
        dir.MakeDir("sub");
        dir.MakeDir("Alfa");
    }
    void TearDown() override
    {
        SetListingCounter(0);
        EXPECT_FALSE(watchdog.Fired());
        ListTest::TearDown();
    }
    void ClickSave(TForm1& form, const std::string& path)
    {
        DialogDriver driver([&](HWND window) { TypeFileNameAndConfirm(window, path); });
        PostMessageW(form.SpeedButton2.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageW(form.SpeedButton2.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        Pump();
        EXPECT_TRUE(driver.Done());
    }
    void Type(TEdit& edit, const char* keys)
    {
        for (const char* k = keys; *k; ++k) {
            PostMessageW(edit.Handle(), WM_CHAR, static_cast<WPARAM>(*k), 1);
            Pump();
            typed.push_back(ItemTexts(form->FileListBox1));
        }
    }

    TempDir dir;
    std::vector<std::string> errors;
    std::vector<Strings> typed;
    TForm1* form = nullptr;
    DialogWatchdog watchdog;
};

// What the platform's search finds for a pattern, without folders and hidden files, in list order.
Strings PlainFilesMatching(const std::string& folder, const std::string& pattern)
{
    Strings names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\" + pattern).c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do
        if (!(fd.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
            names.push_back(fd.cFileName);
    while (FindNextFileA(h, &fd));
    FindClose(h);
    return PlatformSortedOrder(names);
}

int IndexOf(const TWinControl& parent, const TWinControl& child)
{
    const auto& all = parent.Controls();
    return static_cast<int>(std::find(all.begin(), all.end(), &child) - all.begin());
}

}  // namespace

TEST_F(MainWindowLists, PlacesLooksAndKeyboardOrder)
{
    TForm1 main(nullptr);
    // Made first, so first in the keyboard order; the directory list after the last option group and
    // the tree, before the help panel.
    EXPECT_EQ(IndexOf(main, main.FileListBox1), 0);
    EXPECT_EQ(IndexOf(main, main.Edit1), 1);
    EXPECT_GT(IndexOf(main, main.DirectoryListBox1), IndexOf(main, main.GroupBox3));
    EXPECT_GT(IndexOf(main, main.DirectoryListBox1), IndexOf(main, main.ShellTreeView1));
    EXPECT_EQ(IndexOf(main, main.DirectoryListBox1) + 1, IndexOf(main, main.Panel1));
    EXPECT_EQ(GetWindow(main.FileListBox1.Handle(), GW_HWNDPREV), nullptr);

    struct Expect {
        TCustomListBox& list;
        int left, top, width, height;
    };
    for (const Expect& e : {Expect{main.FileListBox1, 272, 228, 217, 233}, Expect{main.DirectoryListBox1, 272, 28, 217, 161}}) {
        const RECT r = e.list.BoundsInPixels();
        EXPECT_EQ(r.left, main.Scale(e.left));
        EXPECT_EQ(r.top, main.Scale(e.top));
        EXPECT_EQ(r.right - r.left, main.Scale(e.width));
        EXPECT_EQ(r.bottom - r.top, main.Scale(e.height));
        EXPECT_EQ(e.list.Color(), RGB(243, 243, 243));
        EXPECT_EQ(e.list.Font().Name(), L"Arial");
        EXPECT_EQ(e.list.Font().Height(), -12);
        EXPECT_EQ(e.list.Font().Color(), RGB(0, 0, 128));
        EXPECT_EQ(e.list.ItemHeight(), 16);
        EXPECT_EQ(SendMessageW(e.list.Handle(), LB_GETITEMHEIGHT, 0, 0), main.Scale(16));
        EXPECT_TRUE(GetWindowLongW(e.list.Handle(), GWL_STYLE) & WS_BORDER);  // the flat frame
        EXPECT_FALSE(GetWindowLongW(e.list.Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
        EXPECT_TRUE(GetWindowLongW(e.list.Handle(), GWL_STYLE) & WS_TABSTOP);
    }
    EXPECT_TRUE(main.FileListBox1.ShowGlyphs());
    EXPECT_EQ(main.FileListBox1.Mask(), "*.*");
    EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindowLists, TheDirectoryListLeadsTheFileListAndTheMaskFiltersAtEveryKeystroke)
{
    TForm1 main(nullptr);
    form = &main;
    main.Show();
    main.DirectoryListBox1.SetFolderPath(dir.Path());
    EXPECT_EQ(main.FileListBox1.FolderPath(), dir.Path());
    EXPECT_EQ(ItemTexts(main.FileListBox1), Strings({"A.TXT", "b.txt", "bb.txt", "c.doc", "x.exe"}));

    main.Edit1.SetFocus();
    main.Edit1.SelectAll();
    Type(main.Edit1, "b*.t*");
    ASSERT_EQ(typed.size(), 5u);
    const char* masks[] = {"b", "b*", "b*.", "b*.t", "b*.t*"};
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(typed[i], PlainFilesMatching(dir.Path(), masks[i])) << masks[i];
    EXPECT_EQ(typed[0], Strings());
    EXPECT_EQ(typed[4], Strings({"b.txt", "bb.txt"}));
    EXPECT_EQ(main.FileListBox1.Mask(), "b*.t*");

    // Opening a subfolder in the directory list takes the file list along; the mask stays.
    const int sub = main.DirectoryListBox1.FindExact("sub", -1);
    ASSERT_GE(sub, 0);
    main.DirectoryListBox1.SetItemIndex(sub);
    main.DirectoryListBox1.OpenSelectedItem();
    EXPECT_EQ(main.FileListBox1.FolderPath(), dir / "sub");
    EXPECT_EQ(main.FileListBox1.Mask(), "b*.t*");
    EXPECT_EQ(main.FileListBox1.Count(), 0);
    EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindowLists, SavingTheMaskedFileListAndTheDirectoryListGivesTheirItems)
{
    TForm1 main(nullptr);
    form = &main;
    main.Show();
    main.DirectoryListBox1.SetFolderPath(dir.Path());
    main.Edit1.SetText("*.txt;*.exe");
    main.nr2.SetChecked(true);   // no numbers
    main.na1.SetChecked(true);   // an empty line before the header
    main.naglowek.SetText("Pliki");
    main.dr1.SetChecked(true);
    ClickSave(main, dir / "lista.txt");
    // Without numbers a line is one space and the item.
    const std::string files = "\r\nPliki\r\n A.TXT\r\n b.txt\r\n bb.txt\r\n x.exe\r\n";
    EXPECT_EQ(ReadFileBytes(dir / "lista.txt"), files);

    // The directory list, appended, from the second item on and without the gap.
    main.dr2.SetChecked(true);
    main.na2.SetChecked(true);
    main.naglowek.SetText("Katalogi");
    main.pozycja.SetValue(1);
    ClickSave(main, dir / "lista.txt");
    std::string dirs = "Katalogi\r\n";
    const std::string path = dir.Path();
    std::string rest = path.substr(3);
    for (size_t slash; (slash = rest.find('\\')) != std::string::npos; rest.erase(0, slash + 1))
        dirs += " " + rest.substr(0, slash) + "\r\n";  // the drive root is item 0, before the start
    dirs += " " + rest + "\r\n Alfa\r\n sub\r\n";
    EXPECT_EQ(ReadFileBytes(dir / "lista.txt"), files + dirs);
    EXPECT_TRUE(errors.empty()) << errors.front();
}

namespace {

// Keys as the keyboard gives them: into the input queue, to the window with the focus.
void SendKeys(const std::wstring& text)
{
    std::vector<INPUT> keys;
    for (wchar_t c : text) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wScan = c;
        in.ki.dwFlags = KEYEVENTF_UNICODE;
        keys.push_back(in);
        in.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        keys.push_back(in);
    }
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
}

void SendVirtualKey(WORD key, bool up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof(INPUT));
}

}  // namespace

TEST_F(MainWindowLists, AMaskTypedFastOrSlowEndsOnWhatAFreshReadOfItFinds)
{
    // Enough files for a read to take a while, so that keys come while the list is being read.
    for (int i = 0; i < 2000; ++i)
        dir.WriteFile("plik" + std::to_string(i) + (i % 3 ? ".txt" : ".doc"), "");
    TForm1 main(nullptr);
    form = &main;
    main.Show();
    main.DirectoryListBox1.SetFolderPath(dir.Path());
    main.Edit1.SetFocus();
    // Until every key is handled and the list shows the mask the edit holds; the list as it then stands.
    const auto settled = [&] {
        for (int i = 0; i < 500; ++i) {
            Pump();
            if (main.FileListBox1.Mask() == main.Edit1.Text() && !GetQueueStatus(QS_ALLINPUT))
                break;
            Sleep(10);
        }
        return ItemTexts(main.FileListBox1);
    };
    for (const wchar_t* mask : {L"*.txt", L"p*.d", L"plik1*"}) {
        // All keys at once: each key finds the next waiting.
        main.Edit1.SelectAll();
        SendKeys(mask);
        const Strings fast = settled();
        EXPECT_EQ(main.Edit1.Caption(), mask);
        const std::string text = main.Edit1.Text();
        EXPECT_EQ(main.FileListBox1.Mask(), text);
        EXPECT_EQ(fast, PlainFilesMatching(dir.Path(), text)) << text;
        // One key at a time, each handled before the next.
        main.Edit1.SelectAll();
        for (const wchar_t* k = mask; *k; ++k) {
            SendKeys(std::wstring(1, *k));
            settled();
        }
        EXPECT_EQ(main.Edit1.Caption(), mask);
        EXPECT_EQ(ItemTexts(main.FileListBox1), fast) << text;
    }
    // A key that changes nothing (an arrow) waits behind the last one: the list still ends on the mask.
    main.Edit1.SelectAll();
    SendKeys(L"*.doc");
    SendVirtualKey(VK_RIGHT, false);
    SendVirtualKey(VK_RIGHT, true);
    EXPECT_EQ(settled(), PlainFilesMatching(dir.Path(), "*.doc"));
    EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindowLists, ASaveRightAfterTheMaskChangedSavesTheListOfThatMask)
{
    TForm1 main(nullptr);
    form = &main;
    main.Show();
    main.DirectoryListBox1.SetFolderPath(dir.Path());
    main.Edit1.SetFocus();
    main.nr2.SetChecked(true);
    main.naglowek.SetText("");
    // The dialog answers at once, without a message loop in which the list could catch up by itself.
    const TFileDialogFunction saved = SaveFileNameFunction;
    const std::string target = dir / "lista.txt";
    SaveFileNameFunction = [&](OPENFILENAMEA* record) -> BOOL {
        lstrcpynA(record->lpstrFile, target.c_str(), static_cast<int>(record->nMaxFile));
        return TRUE;
    };
    // A key held down waits in the queue: the change of the mask is taken up only once keys are done.
    SendVirtualKey(VK_SHIFT, false);
    main.Edit1.SetText("*.txt");
    main.SpeedButton2Click();
    SendVirtualKey(VK_SHIFT, true);
    SaveFileNameFunction = saved;
    Pump();
    EXPECT_EQ(ReadFileBytes(target), " A.TXT\r\n b.txt\r\n bb.txt\r\n");
    EXPECT_TRUE(errors.empty());
}
