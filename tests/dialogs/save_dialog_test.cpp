// The save dialog: the record handed to the platform (at the seam where the dialog function is called),
// what is read back from it, and the real dialog of the platform worked by hand.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "file_dialog_typing.h"
#include "gui/application.h"
#include "gui/form.h"
#include "dialogs/save_dialog.h"
#include "runtime/exceptions.h"
#include "temp_dir.h"

using namespace std::string_literals;

namespace {

// Stands in for the platform's dialog: keeps what it was given, answers as told.
struct FakeDialog {
    OPENFILENAMEA record{};
    std::string filterList;  // every string of the list with its terminator
    std::string nameOffered;
    std::string defaultExt;
    std::string answer;  // the buffer's new bytes
    DWORD addFlags = 0;
    DWORD filterIndex = 1;
    BOOL result = TRUE;

    BOOL operator()(OPENFILENAMEA* r)
    {
        record = *r;
        filterList.clear();
        for (const char* p = r->lpstrFilter; p && *p; p += strlen(p) + 1)
            filterList.append(p, strlen(p) + 1);
        nameOffered = r->lpstrFile;
        defaultExt = r->lpstrDefExt ? r->lpstrDefExt : "";
        if (result) {
            memset(r->lpstrFile, 0, r->nMaxFile);
            memcpy(r->lpstrFile, answer.data(), answer.size());
            // The platform decides these two flags itself.
            r->Flags = (r->Flags & ~static_cast<DWORD>(OFN_READONLY | OFN_EXTENSIONDIFFERENT)) | addFlags;
            r->nFilterIndex = filterIndex;
        }
        return result;
    }
};

class SaveDialogSeam : public testing::Test {
protected:
    void SetUp() override
    {
        savedSave_ = SaveFileNameFunction;
        savedOpen_ = OpenFileNameFunction;
        SaveFileNameFunction = OpenFileNameFunction = [this](OPENFILENAMEA* r) { return fake(r); };
    }
    void TearDown() override
    {
        SaveFileNameFunction = savedSave_;
        OpenFileNameFunction = savedOpen_;
    }
    FakeDialog fake;

private:
    TFileDialogFunction savedSave_, savedOpen_;
};

TSaveDialog& AsOnTheMainWindow(TSaveDialog& dialog)
{
    dialog.SetFilter("Pliki tekstowe|*.txt");
    dialog.SetDefaultExt("txt");
    return dialog;
}

}  // namespace

TEST_F(SaveDialogSeam, RecordOfTheMainWindowsSaveDialog)
{
    TSaveDialog dialog(nullptr);
    AsOnTheMainWindow(dialog).SetFileName("C:\\stare\\lista.txt");
    fake.answer = "C:\\dane\\lista.txt";
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(fake.record.Flags, 0x880024u);  // hook, hide read-only, sizing, Explorer
    EXPECT_EQ(fake.record.FlagsEx, 0u);
    EXPECT_EQ(fake.filterList, "Pliki tekstowe\0*.txt\0"s);
    EXPECT_EQ(fake.defaultExt, "txt");
    EXPECT_EQ(fake.record.nMaxFile, 260u);
    EXPECT_EQ(fake.record.lStructSize, sizeof(OPENFILENAMEA));
    EXPECT_EQ(fake.record.nFilterIndex, 1u);
    EXPECT_EQ(fake.record.hwndOwner, Application().Handle());
    EXPECT_TRUE(fake.record.lpfnHook == ExplorerDialogHook);
    EXPECT_EQ(fake.nameOffered, "C:\\stare\\lista.txt");
    EXPECT_EQ(fake.record.lpstrInitialDir, nullptr);  // the platform decides
    EXPECT_EQ(fake.record.lpstrTitle, nullptr);       // the platform's own caption
    EXPECT_EQ(dialog.FileName(), "C:\\dane\\lista.txt");
    EXPECT_EQ(dialog.SelectedFiles(), std::vector<std::string>{"C:\\dane\\lista.txt"});

    dialog.SetFileName(std::string(300, 'n'));  // offered cut to the buffer, never beyond it
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(fake.nameOffered, std::string(260, 'n'));
}

TEST_F(SaveDialogSeam, FlagsFollowTheOptions)
{
    TSaveDialog dialog(nullptr);
    dialog.SetOptions({TOpenOption::ofOverwritePrompt, TOpenOption::ofPathMustExist, TOpenOption::ofShowHelp,
                       TOpenOption::ofForceShowHidden});
    dialog.SetOptionsEx({TOpenOptionEx::ofExNoPlacesBar});
    dialog.Execute();
    EXPECT_EQ(fake.record.Flags, 0x20u | 0x2u | 0x800u | 0x10u | 0x10000000u | 0x80000u);
    EXPECT_EQ(fake.record.FlagsEx, 1u);
    EXPECT_EQ(fake.record.lpstrFilter, nullptr);  // an empty filter gives an empty list

    // The old style: no Explorer flag, the classic hook, the name's extension as the default.
    dialog.SetOptions({TOpenOption::ofOldStyleDialog, TOpenOption::ofNoChangeDir});
    dialog.SetFileName("C:\\a.b\\raport.log");
    dialog.Execute();
    EXPECT_EQ(fake.record.Flags, 0x20u | 0x8u);
    EXPECT_TRUE(fake.record.lpfnHook == ClassicDialogHook);
    EXPECT_EQ(fake.defaultExt, "log");
    dialog.SetFileName("C:\\a.b\\raport");
    dialog.Execute();
    EXPECT_EQ(fake.defaultExt, "");  // the folder's dot is no extension

    dialog.SetOptions({});
    dialog.SetDialogTemplate("EXTRA");
    dialog.SetTitle("Zapisz");
    dialog.SetInitialDir("C:\\dane\\");
    dialog.SetFilter("A|*.a|B|*.b;*.c");
    dialog.Execute();
    EXPECT_EQ(fake.record.Flags, 0x20u | 0x40u | 0x80000u);
    EXPECT_STREQ(fake.record.lpTemplateName, "EXTRA");
    EXPECT_STREQ(fake.record.lpstrTitle, "Zapisz");
    EXPECT_STREQ(fake.record.lpstrInitialDir, "C:\\dane");
    EXPECT_EQ(fake.filterList, "A\0*.a\0B\0*.b;*.c\0"s);
}

TEST_F(SaveDialogSeam, ResultsReadBackAndACancelChangesNothing)
{
    TSaveDialog dialog(nullptr);
    dialog.SetFilter("Teksty|*.txt|Dzienniki|*.log");
    fake.answer = "C:\\dane\\x.log";
    fake.addFlags = OFN_EXTENSIONDIFFERENT | OFN_READONLY;
    fake.filterIndex = 2;
    ASSERT_TRUE(dialog.Execute());
    EXPECT_TRUE(dialog.Options().Contains(TOpenOption::ofExtensionDifferent));
    EXPECT_TRUE(dialog.Options().Contains(TOpenOption::ofReadOnly));
    EXPECT_EQ(dialog.FilterIndex(), 2);

    // The next run starts from what was chosen; the two options say what came back.
    fake.addFlags = 0;
    fake.filterIndex = 1;
    fake.answer = "C:\\dane\\y.txt";
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(fake.record.nFilterIndex, 2u);
    EXPECT_EQ(fake.nameOffered, "C:\\dane\\x.log");
    EXPECT_FALSE(dialog.Options().Contains(TOpenOption::ofExtensionDifferent));
    EXPECT_FALSE(dialog.Options().Contains(TOpenOption::ofReadOnly));

    fake.result = FALSE;  // cancelled, or the dialog failed
    dialog.SetFilterIndex(2);
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), "C:\\dane\\y.txt");
    EXPECT_EQ(dialog.FilterIndex(), 2);
}

TEST_F(SaveDialogSeam, MultipleChoiceGivesFullPaths)
{
    TOpenDialog dialog(nullptr);
    dialog.SetOptions({TOpenOption::ofAllowMultiSelect});
    fake.answer = "C:\\dane\0a.txt\0D:\\inne\\b.txt\0\\\\serwer\\c.txt\0\0"s;
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(fake.record.nMaxFile, 65519u);
    EXPECT_EQ(dialog.SelectedFiles(),
              (std::vector<std::string>{"C:\\dane\\a.txt", "D:\\inne\\b.txt", "\\\\serwer\\c.txt"}));
    EXPECT_EQ(dialog.FileName(), "C:\\dane\\a.txt");
    fake.answer = "C:\\dane\\jeden.txt\0\0"s;  // one field: the chosen name itself
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.SelectedFiles(), std::vector<std::string>{"C:\\dane\\jeden.txt"});
    dialog.SetOptions({TOpenOption::ofAllowMultiSelect, TOpenOption::ofOldStyleDialog});
    fake.answer = "C:\\ a.txt b.txt";  // blanks separate the fields in the classic dialog
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.SelectedFiles(), (std::vector<std::string>{"C:\\a.txt", "C:\\b.txt"}));
}

TEST(OpenDialog, InitialDirLosesOneTrailingBackslashExceptAtARoot)
{
    TOpenDialog dialog(nullptr);
    for (const auto& [given, kept] : {std::pair{"D:\\Data\\", "D:\\Data"}, {"D:\\", "D:\\"}, {"\\", "\\"},
                                      {"D:\\Data\\\\", "D:\\Data\\"}}) {
        dialog.SetInitialDir(given);
        EXPECT_EQ(dialog.InitialDir(), kept);
    }
}

// A dialog left open is cancelled; the timeout is that watchdog's alone, so the tests after it still
// tell their own.
TEST(DialogWatchdog, CancelsALeftDialogAndTellsOnlyItsOwnTimeout)
{
    {
        DialogWatchdog first{200};
        EXPECT_EQ(MessageBoxW(nullptr, L"left open", L"watchdog", MB_OKCANCEL), IDCANCEL);
        EXPECT_TRUE(first.Fired());
    }
    DialogWatchdog second{200};
    EXPECT_FALSE(second.Fired());
}

// The platform's own dialog, filled in and confirmed from inside its loop.
class RealSaveDialog : public testing::Test {
protected:
    void SetUp() override { AsOnTheMainWindow(dialog); }
    void TearDown() override { EXPECT_FALSE(watchdog.Fired()); }
    TempDir dir;
    TSaveDialog dialog{nullptr};
    DialogWatchdog watchdog;
};

TEST_F(RealSaveDialog, TypedNamesShownFilterPlacementAndEvents)
{
    int shows = 0, closes = 0, showsSeen = -1, filterCount = 0;
    bool attached = false;
    RECT rect{};
    std::string filterShown, liveName;
    dialog.OnShow = [&] { ++shows; };
    dialog.OnClose = [&] { ++closes; };
    {
        DialogDriver driver([&](HWND window) {
            attached = dialog.DialogWindow() && GetParent(dialog.DialogWindow()) == window;
            showsSeen = shows;
            GetWindowRect(window, &rect);
            HWND types = GetDlgItem(window, 0x470);  // the file type box
            filterCount = static_cast<int>(SendMessageA(types, CB_GETCOUNT, 0, 0));
            char text[128] = {};
            GetWindowTextA(types, text, sizeof(text));
            filterShown = text;
            SetWindowTextA(FileNameEdit(window), (dir / "lista").c_str());
            liveName = dialog.FileName();  // asked from the open dialog
            DialogDriver::Press(window, IDOK);
        });
        ASSERT_TRUE(dialog.Execute());
    }
    EXPECT_EQ(dialog.FileName(), dir / "lista.txt");
    EXPECT_TRUE(attached);
    EXPECT_EQ(showsSeen, 1);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(dialog.DialogWindow(), nullptr);
    EXPECT_EQ(filterCount, 1);
    EXPECT_EQ(filterShown, "Pliki tekstowe");
    EXPECT_NE(liveName.find("lista"), std::string::npos);
    // No form is active: the screen's monitor; in the middle across, a third of the free height down.
    MONITORINFO info{sizeof(info)};
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    const RECT& m = info.rcMonitor;
    EXPECT_EQ(rect.left, m.left + (m.right - m.left - (rect.right - rect.left)) / 2);
    EXPECT_EQ(rect.top, m.top + (m.bottom - m.top - (rect.bottom - rect.top)) / 3);

    DialogDriver driver([&](HWND window) { TypeFileNameAndConfirm(window, dir / "lista.log"); });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), dir / "lista.log");
}

TEST_F(RealSaveDialog, CancelLeavesTheNameAsItWasAndOtherWindowsAreDisabledMeanwhile)
{
    {
        TForm form(nullptr);
        form.SetClientSize(200, 100);
        form.Show();
        bool enabledDuring = true;
        DialogDriver driver([&](HWND window) {
            enabledDuring = IsWindowEnabled(form.Handle()) != FALSE;
            SetWindowTextA(FileNameEdit(window), (dir / "inna").c_str());
            CancelDialog(window);
        });
        EXPECT_FALSE(dialog.Execute());
        EXPECT_EQ(dialog.FileName(), "");  // empty on the first run
        EXPECT_FALSE(enabledDuring);
        EXPECT_TRUE(IsWindowEnabled(form.Handle()));
        EXPECT_EQ(GetActiveWindow(), form.Handle());
    }
    dialog.SetFileName(dir / "stara.txt");
    DialogDriver driver([&](HWND window) { CancelDialog(window); });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), dir / "stara.txt");
}

TEST_F(RealSaveDialog, ARefusedChoiceKeepsTheDialogOpen)
{
    int asked = 0;
    dialog.OnCanClose = [&](bool& canClose) { canClose = ++asked > 1; };
    std::optional<DialogDriver> second;
    DialogDriver first([&](HWND window) {
        TypeFileNameAndConfirm(window, dir / "pierwsza.txt");
        second.emplace([&](HWND again) { TypeFileNameAndConfirm(again, dir / "druga.txt"); });
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(dialog.FileName(), dir / "druga.txt");
}

TEST_F(RealSaveDialog, FilterIndexFollowsTheChoiceWhileOpen)
{
    dialog.SetFilter("Pliki tekstowe|*.txt|Dzienniki|*.log");
    int typeChanges = 0, liveBefore = 0, liveAfter = 0;
    dialog.OnTypeChange = [&] { ++typeChanges; };
    // Picks an entry of the file type box as the mouse does: the box tells the dialog.
    auto pick = [](HWND window, int index) {
        HWND types = GetDlgItem(window, 0x470);
        SendMessageA(types, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        for (const WORD code : {CBN_SELCHANGE, CBN_SELENDOK})
            SendMessageA(window, WM_COMMAND, MAKEWPARAM(0x470, code), reinterpret_cast<LPARAM>(types));
    };
    {
        DialogDriver driver([&](HWND window) {
            liveBefore = dialog.FilterIndex();
            pick(window, 1);
            liveAfter = dialog.FilterIndex();
            TypeFileNameAndConfirm(window, dir / "dziennik");
        });
        ASSERT_TRUE(dialog.Execute());
    }
    EXPECT_EQ(liveBefore, 1);
    EXPECT_EQ(liveAfter, 2);
    EXPECT_EQ(typeChanges, 1);
    EXPECT_EQ(dialog.FilterIndex(), 2);
    EXPECT_EQ(dialog.FileName(), dir / "dziennik.log");  // the platform takes the chosen type's extension
    DialogDriver driver([&](HWND window) {
        pick(window, 0);
        CancelDialog(window);
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FilterIndex(), 2);  // unchanged by a cancelled run
}

TEST_F(RealSaveDialog, HelpMessageAndAFailingEventWhileOpen)
{
    std::vector<int> helped;
    std::vector<std::string> shown;
    HelpContextHandler = [&](int context) { helped.push_back(context); };
    Application().OnException = [&](const std::exception& e) { shown.push_back(e.what()); };
    dialog.SetHelpContext(17);
    dialog.OnShow = [] { throw Exception("blad w OnShow"); };
    DialogDriver driver([&](HWND window) {
        SendMessageA(Application().Handle(), HelpMessageId(), 0, 0);
        TypeFileNameAndConfirm(window, dir / "dalej");
    });
    EXPECT_TRUE(dialog.Execute());  // the failure was shown and the dialog went on
    SendMessageA(Application().Handle(), HelpMessageId(), 0, 0);  // no dialog: nobody answers
    HelpContextHandler = nullptr;
    Application().OnException = nullptr;
    EXPECT_EQ(helped, std::vector<int>{17});
    EXPECT_EQ(shown, std::vector<std::string>{"blad w OnShow"});
    EXPECT_EQ(dialog.FileName(), dir / "dalej.txt");
}

namespace {

// Types a name, as typed (any character), and confirms.
void TypeWideNameAndConfirm(HWND dialog, const std::wstring& name)
{
    SetWindowTextW(FileNameEdit(dialog), name.c_str());
    DialogDriver::Press(dialog, IDOK);
}

std::wstring Wide(const std::string& text)
{
    const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), n);
    wide.resize(wcslen(wide.c_str()));
    return wide;
}

// Runs the dialog through a row of steps, each on the dialog as the step before left it (a refused
// name leaves it open); the last step is to end it.
bool RunSteps(TSaveDialog& dialog, std::vector<std::function<void(HWND)>> steps)
{
    std::vector<std::unique_ptr<DialogDriver>> drivers;
    std::function<void(size_t)> arm = [&](size_t i) {
        drivers.push_back(std::make_unique<DialogDriver>([&, i](HWND window) {
            if (i + 1 < steps.size())
                arm(i + 1);
            steps[i](window);
        }));
    };
    arm(0);
    return dialog.Execute();
}

class RealSaveDialogRefusals : public RealSaveDialog {
protected:
    void SetUp() override
    {
        RealSaveDialog::SetUp();
        Application().OnException = [this](const std::exception& e) { shown.push_back(e.what()); };
    }
    void TearDown() override
    {
        Application().OnException = nullptr;
        RealSaveDialog::TearDown();
    }
    std::vector<std::string> shown;
};

}  // namespace

// The platform's dialog builds the path in buffers of MAX_PATH characters: a longer one ends the dialog as
// if cancelled, or runs the program off the end of its buffers. Such a name never reaches that code.
TEST_F(RealSaveDialogRefusals, APathLongerThanTheBufferIsRefusedAndTheDialogStaysOpen)
{
    std::string folder = dir.Path();
    while (folder.size() < 229) {
        folder += '\\';
        folder.append(std::min<size_t>(100, 229 - folder.size()), 'k');
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
    }
    ASSERT_EQ(folder.size(), 229u);
    dialog.SetInitialDir(folder);
    const std::wstring fits(25, L'n');  // 229 + 1 + 25 + ".txt": 259 characters and the terminator
    const bool confirmed = RunSteps(dialog, {
        [&](HWND w) { TypeWideNameAndConfirm(w, L"C:\\" + std::wstring(300, L'x')); },
        [&](HWND w) { TypeWideNameAndConfirm(w, std::wstring(46, L'n')); },
        [&](HWND w) { TypeWideNameAndConfirm(w, std::wstring(26, L'n')); },
        [&](HWND w) { TypeWideNameAndConfirm(w, fits); },
    });
    ASSERT_TRUE(confirmed);
    EXPECT_EQ(shown, std::vector<std::string>(3, "Invalid filename"));
    EXPECT_EQ(dialog.FileName(), folder + "\\" + std::string(25, 'n') + ".txt");
}

// The platform hands the chosen path over in the code page with look-alikes: naïve.txt as naive.txt, another
// file. A name the code page cannot hold is refused; a folder it cannot hold is named by its short form.
TEST_F(RealSaveDialogRefusals, NamesTheCodePageCannotHold)
{
    dir.WriteFile("naive.txt", "stary");
    dialog.SetInitialDir(dir.Path());
    bool confirmed = RunSteps(dialog, {
        [&](HWND w) { TypeWideNameAndConfirm(w, L"na\u00efve"); },
        [&](HWND w) { TypeWideNameAndConfirm(w, L"\uff0a"); },  // fullwidth asterisk: no wildcard either
        [&](HWND w) { CancelDialog(w); },
    });
    EXPECT_FALSE(confirmed);
    EXPECT_EQ(shown, std::vector<std::string>(2, "Invalid filename"));
    EXPECT_EQ(ReadFileBytes(dir / "naive.txt"), "stary");

    // A folder named in Cyrillic letters, shown by the dialog: the choice reaches into it.
    const std::wstring folder = Wide(dir.Path()) + L"\\\u041f\u0430\u043f\u043a\u0430";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    wchar_t shortForm[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameW(folder.c_str(), shortForm, MAX_PATH), 0u);
    char shortAnsi[MAX_PATH] = {};
    WideCharToMultiByte(CP_ACP, 0, shortForm, -1, shortAnsi, MAX_PATH, nullptr, nullptr);
    dialog.SetInitialDir(shortAnsi);
    shown.clear();
    confirmed = RunSteps(dialog, {[&](HWND w) { TypeWideNameAndConfirm(w, L"lista"); }});
    ASSERT_TRUE(confirmed);
    EXPECT_TRUE(shown.empty());
    const std::string chosen = dialog.FileName();
    EXPECT_EQ(chosen.find('?'), std::string::npos) << chosen;
    HANDLE file = CreateFileA(chosen.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << chosen;
    CloseHandle(file);
    EXPECT_NE(GetFileAttributesW((folder + L"\\lista.txt").c_str()), INVALID_FILE_ATTRIBUTES) << chosen;
}
