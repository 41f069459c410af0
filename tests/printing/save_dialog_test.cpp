// The save dialog: the record handed to the platform (at the seam where the dialog function is called),
// what is read back from it, and the real dialog under the platform, worked by a user's hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_driver.h"
#include "file_dialog_typing.h"
#include "gui/application.h"
#include "gui/form.h"
#include "printing/save_dialog.h"
#include "runtime/exceptions.h"
#include "temp_dir.h"

using namespace std::string_literals;

namespace {

// What a dialog function saw of the record, and how it answers.
struct FakeDialog {
    OPENFILENAMEA record{};
    std::string filterList;  // up to and with the empty description that ends it
    std::string nameOffered;
    std::string defaultExt;
    bool initialDirGiven = false;
    bool titleGiven = false;
    int calls = 0;
    // The answer: the buffer's new bytes, flags to add, the filter index, the result.
    std::string answer;
    DWORD addFlags = 0;
    DWORD filterIndex = 1;
    BOOL result = TRUE;

    TFileDialogFunction Function()
    {
        return [this](OPENFILENAMEA* r) {
            ++calls;
            record = *r;
            filterList.clear();
            if (r->lpstrFilter)
                for (const char* p = r->lpstrFilter; *p; p += strlen(p) + 1)
                    filterList.append(p, strlen(p) + 1);
            nameOffered = r->lpstrFile;
            defaultExt = r->lpstrDefExt ? r->lpstrDefExt : "";
            initialDirGiven = r->lpstrInitialDir != nullptr;
            titleGiven = r->lpstrTitle != nullptr;
            if (result) {
                memset(r->lpstrFile, 0, r->nMaxFile);
                memcpy(r->lpstrFile, answer.data(), answer.size());
                // The platform decides these two itself.
                r->Flags = (r->Flags & ~static_cast<DWORD>(OFN_READONLY | OFN_EXTENSIONDIFFERENT)) | addFlags;
                r->nFilterIndex = filterIndex;
            }
            return result;
        };
    }
};

// Puts a fake in place of the platform's save dialog for one test.
class SaveDialogSeam : public testing::Test {
protected:
    void SetUp() override { saved_ = SaveFileNameFunction; SaveFileNameFunction = fake.Function(); }
    void TearDown() override { SaveFileNameFunction = saved_; }
    FakeDialog fake;

private:
    TFileDialogFunction saved_;
};

TSaveDialog& MainWindowSaveDialog(TSaveDialog& dialog)
{
    dialog.SetFilter("Pliki tekstowe|*.txt");
    dialog.SetDefaultExt("txt");
    return dialog;
}

}  // namespace

TEST_F(SaveDialogSeam, RecordOfTheMainWindowsSaveDialog)
{
    TSaveDialog dialog(nullptr);
    MainWindowSaveDialog(dialog).SetFileName("C:\\stare\\lista.txt");
    fake.answer = "C:\\dane\\lista.txt";
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(fake.calls, 1);
    EXPECT_EQ(fake.record.Flags, 0x880024u);  // hook, hide read-only, sizing, Explorer
    EXPECT_EQ(fake.record.FlagsEx, 0u);
    EXPECT_EQ(fake.filterList, "Pliki tekstowe\0*.txt\0"s);
    EXPECT_EQ(fake.defaultExt, "txt");
    EXPECT_EQ(fake.record.nMaxFile, 260u);
    EXPECT_EQ(fake.record.lStructSize, sizeof(OPENFILENAMEA));
    EXPECT_EQ(fake.record.nFilterIndex, 1u);
    EXPECT_EQ(fake.record.hwndOwner, Application().Handle());
    EXPECT_EQ(fake.record.hInstance, GetModuleHandleA(nullptr));
    EXPECT_TRUE(fake.record.lpfnHook == ExplorerDialogHook);
    EXPECT_EQ(fake.nameOffered, "C:\\stare\\lista.txt");
    EXPECT_FALSE(fake.initialDirGiven);  // the platform decides
    EXPECT_FALSE(fake.titleGiven);       // the platform's own caption
    EXPECT_EQ(dialog.FileName(), "C:\\dane\\lista.txt");
    EXPECT_EQ(dialog.SelectedFiles(), std::vector<std::string>{"C:\\dane\\lista.txt"});
    EXPECT_EQ(dialog.DialogWindow(), nullptr);
}

TEST_F(SaveDialogSeam, FlagsFollowTheOptions)
{
    TSaveDialog dialog(nullptr);
    dialog.SetOptions({TOpenOption::ofOverwritePrompt, TOpenOption::ofPathMustExist, TOpenOption::ofShowHelp,
                       TOpenOption::ofForceShowHidden});
    dialog.SetOptionsEx({TOpenOptionEx::ofExNoPlacesBar});
    fake.answer = "x";
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(fake.record.Flags, 0x20u | 0x2u | 0x800u | 0x10u | 0x10000000u | 0x80000u);
    EXPECT_EQ(fake.record.FlagsEx, 1u);
    EXPECT_TRUE(fake.filterList.empty());  // an empty filter gives an empty list
    EXPECT_EQ(fake.record.lpstrFilter, nullptr);

    // The old style: no Explorer flag, the classic hook, and the name's extension as the default.
    dialog.SetOptions({TOpenOption::ofOldStyleDialog, TOpenOption::ofNoChangeDir});
    dialog.SetOptionsEx({});
    dialog.SetFileName("C:\\a.b\\raport.log");
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(fake.record.Flags, 0x20u | 0x8u);
    EXPECT_TRUE(fake.record.lpfnHook == ClassicDialogHook);
    EXPECT_EQ(fake.defaultExt, "log");
    dialog.SetFileName("C:\\a.b\\raport");
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(fake.defaultExt, "");  // the folder's dot is no extension

    // A template and a title are passed on.
    dialog.SetOptions({});
    dialog.SetDialogTemplate("EXTRA");
    dialog.SetTitle("Zapisz listę");
    dialog.SetInitialDir("C:\\dane\\");
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(fake.record.Flags, 0x20u | 0x40u | 0x80000u);
    EXPECT_STREQ(fake.record.lpTemplateName, "EXTRA");
    EXPECT_TRUE(fake.titleGiven);
    EXPECT_TRUE(fake.initialDirGiven);
}

TEST_F(SaveDialogSeam, ResultsReadBackAndCancelChangesNothing)
{
    TSaveDialog dialog(nullptr);
    dialog.SetFilter("Teksty|*.txt|Dzienniki|*.log");
    fake.answer = "C:\\dane\\x.log";
    fake.addFlags = OFN_EXTENSIONDIFFERENT | OFN_READONLY;
    fake.filterIndex = 2;
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(fake.filterList, "Teksty\0*.txt\0Dzienniki\0*.log\0"s);
    EXPECT_TRUE(dialog.Options().Contains(TOpenOption::ofExtensionDifferent));
    EXPECT_TRUE(dialog.Options().Contains(TOpenOption::ofReadOnly));
    EXPECT_EQ(dialog.FilterIndex(), 2);

    // The next run starts from what was chosen; the two options say what came back.
    fake.addFlags = 0;
    fake.filterIndex = 1;
    fake.answer = "C:\\dane\\y.txt";
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(fake.record.nFilterIndex, 2u);
    EXPECT_EQ(dialog.FilterIndex(), 1);
    EXPECT_EQ(fake.nameOffered, "C:\\dane\\x.log");
    EXPECT_FALSE(dialog.Options().Contains(TOpenOption::ofExtensionDifferent));
    EXPECT_FALSE(dialog.Options().Contains(TOpenOption::ofReadOnly));

    // Cancel (or a failing dialog): false, and nothing changes.
    fake.result = FALSE;
    dialog.SetFilterIndex(2);
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), "C:\\dane\\y.txt");
    EXPECT_EQ(dialog.FilterIndex(), 2);
}

TEST_F(SaveDialogSeam, LongNamesAreCutToTheBufferNotBeyond)
{
    TSaveDialog dialog(nullptr);
    dialog.SetFileName(std::string(300, 'n'));
    fake.answer = "ok";
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(fake.nameOffered, std::string(260, 'n'));
}

TEST_F(SaveDialogSeam, MultipleChoiceGivesFullPaths)
{
    TOpenDialog dialog(nullptr);
    dialog.SetOptions({TOpenOption::ofAllowMultiSelect});
    const TFileDialogFunction fakeFunction = fake.Function();
    const TFileDialogFunction savedOpen = OpenFileNameFunction;
    OpenFileNameFunction = fakeFunction;
    fake.answer = "C:\\dane\0a.txt\0D:\\inne\\b.txt\0\\\\serwer\\c.txt\0\0"s;
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(fake.record.nMaxFile, 65519u);
    EXPECT_EQ(dialog.SelectedFiles(),
              (std::vector<std::string>{"C:\\dane\\a.txt", "D:\\inne\\b.txt", "\\\\serwer\\c.txt"}));
    EXPECT_EQ(dialog.FileName(), "C:\\dane\\a.txt");

    // One field alone: the folder part is the chosen name itself.
    fake.answer = "C:\\dane\\jeden.txt\0\0"s;
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.SelectedFiles(), std::vector<std::string>{"C:\\dane\\jeden.txt"});

    // The classic dialog separates the fields with blanks.
    dialog.SetOptions({TOpenOption::ofAllowMultiSelect, TOpenOption::ofOldStyleDialog});
    fake.answer = "C:\\ a.txt b.txt";
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.SelectedFiles(), (std::vector<std::string>{"C:\\a.txt", "C:\\b.txt"}));
    OpenFileNameFunction = savedOpen;
}

TEST(OpenDialog, InitialDirLosesOneTrailingBackslashExceptAtARoot)
{
    TOpenDialog dialog(nullptr);
    dialog.SetInitialDir("D:\\Data\\");
    EXPECT_EQ(dialog.InitialDir(), "D:\\Data");
    dialog.SetInitialDir("D:\\");
    EXPECT_EQ(dialog.InitialDir(), "D:\\");
    dialog.SetInitialDir("\\");
    EXPECT_EQ(dialog.InitialDir(), "\\");
    dialog.SetInitialDir("D:\\Data\\\\");
    EXPECT_EQ(dialog.InitialDir(), "D:\\Data\\");
}

TEST(BuildFilterList, BarsBecomeTerminatorsAndTheListIsClosed)
{
    EXPECT_EQ(BuildFilterList(""), "");
    EXPECT_EQ(BuildFilterList("Pliki tekstowe|*.txt"), "Pliki tekstowe\0*.txt\0\0"s);
    EXPECT_EQ(BuildFilterList("A|*.a|B|*.b;*.c"), "A\0*.a\0B\0*.b;*.c\0\0"s);
}

TEST(CenterDialogWindow, MiddleAcrossAndAThirdDown)
{
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 301, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    CenterDialogWindow(window);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    RECT r{};
    GetWindowRect(window, &r);
    const RECT& m = info.rcMonitor;
    EXPECT_EQ(r.left, m.left + (m.right - m.left - 301) / 2);
    EXPECT_EQ(r.top, m.top + (m.bottom - m.top - 200) / 3);
    EXPECT_EQ(r.right - r.left, 301);  // not resized
    DestroyWindow(window);
}

// The real dialog of the platform, filled in and confirmed from inside its own loop.
class RealSaveDialog : public testing::Test {
protected:
    TempDir dir;
    TSaveDialog dialog{nullptr};
    DialogWatchdog watchdog;
    void SetUp() override { MainWindowSaveDialog(dialog); }
};

TEST_F(RealSaveDialog, TypedNameGetsTheDefaultExtension)
{
    int shows = 0;
    int closes = 0;
    dialog.OnShow = [&] { ++shows; };
    dialog.OnClose = [&] { ++closes; };
    bool openDuringAction = false;
    int showsSeen = -1;
    RECT rect{};
    std::string liveName;
    std::string filterShown;
    int filterCount = 0;
    DialogDriver driver([&](HWND window) {
        openDuringAction = dialog.DialogWindow() != nullptr && GetParent(dialog.DialogWindow()) == window;
        showsSeen = shows;
        GetWindowRect(window, &rect);
        HWND types = GetDlgItem(window, 0x470);  // the file type box (cmb1)
        filterCount = static_cast<int>(SendMessageA(types, CB_GETCOUNT, 0, 0));
        char text[128] = {};
        GetWindowTextA(types, text, sizeof(text));
        filterShown = text;
        SetWindowTextA(FileNameEdit(window), (dir / "lista").c_str());
        liveName = dialog.FileName();  // asked from the open dialog
        DialogDriver::Press(window, IDOK);
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(dialog.FileName(), dir / "lista.txt");
    EXPECT_EQ(dialog.SelectedFiles(), std::vector<std::string>{dir / "lista.txt"});
    EXPECT_TRUE(openDuringAction);
    EXPECT_EQ(showsSeen, 1);
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(dialog.DialogWindow(), nullptr);
    EXPECT_EQ(filterCount, 1);
    EXPECT_EQ(filterShown, "Pliki tekstowe");
    EXPECT_NE(liveName.find("lista"), std::string::npos);
    // Placed on the screen's monitor: in the middle across, a third of the free height down.
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    const RECT& m = info.rcMonitor;
    EXPECT_EQ(rect.left, m.left + (m.right - m.left - (rect.right - rect.left)) / 2);
    EXPECT_EQ(rect.top, m.top + (m.bottom - m.top - (rect.bottom - rect.top)) / 3);
    EXPECT_FALSE(DialogWatchdog::Fired());
}

TEST_F(RealSaveDialog, NameWithAnExtensionKeepsIt)
{
    DialogDriver driver([&](HWND window) { TypeFileNameAndConfirm(window, dir / "lista.log"); });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), dir / "lista.log");
    EXPECT_FALSE(DialogWatchdog::Fired());
}

TEST_F(RealSaveDialog, CancelLeavesTheNameAsItWas)
{
    {
        DialogDriver driver([&](HWND window) {
            SetWindowTextA(FileNameEdit(window), (dir / "inna").c_str());
            CancelDialog(window);
        });
        EXPECT_FALSE(dialog.Execute());
        EXPECT_TRUE(driver.Done());
        EXPECT_EQ(dialog.FileName(), "");  // empty on the first run
    }
    dialog.SetFileName(dir / "stara.txt");
    DialogDriver driver([&](HWND window) { CancelDialog(window); });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), dir / "stara.txt");
    EXPECT_EQ(dialog.FilterIndex(), 1);
    EXPECT_FALSE(DialogWatchdog::Fired());
}

TEST_F(RealSaveDialog, OtherWindowsAreDisabledWhileItRuns)
{
    {
        TForm form(nullptr);
        form.SetClientSize(200, 100);
        form.Show();
        ASSERT_TRUE(IsWindowEnabled(form.Handle()));
        bool enabledDuring = true;
        DialogDriver driver([&](HWND window) {
            enabledDuring = IsWindowEnabled(form.Handle()) != FALSE;
            CancelDialog(window);
        });
        EXPECT_FALSE(dialog.Execute());
        EXPECT_FALSE(enabledDuring);
        EXPECT_TRUE(IsWindowEnabled(form.Handle()));
        EXPECT_EQ(GetActiveWindow(), form.Handle());  // active again
    }
    // The form was the application's first, so its end asked the message loop to end: not for the next test.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

TEST_F(RealSaveDialog, ARefusedChoiceKeepsTheDialogOpen)
{
    int asked = 0;
    dialog.OnCanClose = [&](bool& canClose) {
        ++asked;
        canClose = asked > 1;  // refuse the first choice, take the second
    };
    DialogDriver driver([&](HWND window) {
        TypeFileNameAndConfirm(window, dir / "pierwsza.txt");
        // The second try comes once the first was refused.
        SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
            KillTimer(nullptr, id);
            EnumThreadWindows(
                GetCurrentThreadId(),
                [](HWND w, LPARAM) {
                    wchar_t cls[32] = {};
                    GetClassNameW(w, cls, 32);
                    if (IsWindowVisible(w) && wcscmp(cls, L"#32770") == 0) {
                        SetWindowTextA(FileNameEdit(w), "druga.txt");
                        DialogDriver::Press(w, IDOK);
                    }
                    return TRUE;
                },
                0);
        });
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(asked, 2);
    EXPECT_NE(dialog.FileName().find("druga.txt"), std::string::npos);
    EXPECT_FALSE(DialogWatchdog::Fired());
}

// Picks an entry of the file type box as the mouse does: the box tells the dialog of the new selection.
void PickFileType(HWND dialog, int index)
{
    HWND types = GetDlgItem(dialog, 0x470);
    SendMessageA(types, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    for (const WORD code : {CBN_SELCHANGE, CBN_SELENDOK})
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(0x470, code), reinterpret_cast<LPARAM>(types));
}

TEST_F(RealSaveDialog, FilterIndexFollowsTheChoiceWhileOpen)
{
    dialog.SetFilter("Pliki tekstowe|*.txt|Dzienniki|*.log");
    int typeChanges = 0;
    dialog.OnTypeChange = [&] { ++typeChanges; };
    int liveBefore = 0;
    int liveAfter = 0;
    DialogDriver driver([&](HWND window) {
        liveBefore = dialog.FilterIndex();
        PickFileType(window, 1);  // the user picks the second type
        liveAfter = dialog.FilterIndex();
        TypeFileNameAndConfirm(window, dir / "dziennik");
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(liveBefore, 1);
    EXPECT_EQ(liveAfter, 2);
    EXPECT_EQ(typeChanges, 1);
    EXPECT_EQ(dialog.FilterIndex(), 2);  // the stored index is the last one chosen
    EXPECT_EQ(dialog.FileName(), dir / "dziennik.log");  // the platform takes the chosen type's extension

    DialogDriver cancelDriver([&](HWND window) {
        PickFileType(window, 0);
        CancelDialog(window);
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FilterIndex(), 2);  // unchanged by a cancelled run
    EXPECT_FALSE(DialogWatchdog::Fired());
}

TEST_F(RealSaveDialog, HelpMessageReachesTheDialogOnlyWhileItRuns)
{
    std::vector<int> helped;
    HelpContextHandler = [&](int context) { helped.push_back(context); };
    dialog.SetHelpContext(17);
    LRESULT answered = -1;
    DialogDriver driver([&](HWND window) {
        answered = SendMessageA(Application().Handle(), HelpMessageId(), 0, 0);
        CancelDialog(window);
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(helped, std::vector<int>{17});
    EXPECT_EQ(answered, 0);
    SendMessageA(Application().Handle(), HelpMessageId(), 0, 0);  // no dialog: nobody answers
    EXPECT_EQ(helped.size(), 1u);
    HelpContextHandler = nullptr;
}

TEST_F(RealSaveDialog, AFailingEventIsShownAndTheDialogGoesOn)
{
    std::vector<std::string> shown;
    Application().OnException = [&](const std::exception& e) { shown.push_back(e.what()); };
    dialog.OnShow = [] { throw Exception("blad w OnShow"); };
    DialogDriver driver([&](HWND window) { TypeFileNameAndConfirm(window, dir / "dalej"); });
    EXPECT_TRUE(dialog.Execute());
    Application().OnException = nullptr;
    EXPECT_EQ(shown, std::vector<std::string>{"blad w OnShow"});
    EXPECT_EQ(dialog.FileName(), dir / "dalej.txt");
    EXPECT_FALSE(DialogWatchdog::Fired());
}
