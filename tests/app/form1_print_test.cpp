// "Drukuj obraz katalogu" on the real main window: the message the user sees when there is no printer,
// and a listing printed through the platform's print dialog onto the system's printer.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/form1.h"
#include "dialog_driver.h"
#include "fake_spooler.h"
#include "file_dialog_typing.h"
#include "gui/application.h"
#include "listing/listing_composition.h"
#include "printed_pdf.h"
#include "printing/printer.h"
#include "runtime/ansi.h"
#include "dialogs/save_dialog.h"
#include "temp_dir.h"

namespace {

void ClickPrint(TForm1& form)
{
    PostMessageW(form.SpeedButton3.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(form.SpeedButton3.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Application().ProcessMessages();
}

class Form1Print : public testing::Test {
protected:
    void TearDown() override
    {
        if (replaced_)
            SetSharedPrinter(std::move(previous_));
        PrintDialogFunction = savedFunction_;
        SetListingCounter(0);
        EXPECT_FALSE(watchdog.Fired());
    }
    void UsePrinter(std::unique_ptr<TPrinter> printer)
    {
        previous_ = SetSharedPrinter(std::move(printer));
        replaced_ = true;
    }

    DialogWatchdog watchdog{60000};
    TPrintDialogFunction savedFunction_ = PrintDialogFunction;

private:
    std::unique_ptr<TPrinter> previous_;
    bool replaced_ = false;
};

TEST_F(Form1Print, WithoutPrinterTheUserIsToldSoAndNoDialogShows)
{
    TFakeSpooler fake;  // a machine with no printer installed
    UsePrinter(std::make_unique<TPrinter>(Borrow(fake)));
    int dialogs = 0;
    PrintDialogFunction = [&](PRINTDLGA* record) {
        ++dialogs;
        return PrintDlgA(record);
    };
    TForm1 form(nullptr);
    form.naglowek.SetText("Spis");
    for (int attempt = 0; attempt < 2; ++attempt) {
        DialogDriver messageBox([](HWND window) { DialogDriver::Press(window, IDOK); });
        ClickPrint(form);
        ASSERT_TRUE(messageBox.Done());
        EXPECT_EQ(messageBox.Text(), L"There is no default printer currently selected.");
        EXPECT_EQ(messageBox.Caption(), AnsiToWide(Application().Title()));
    }
    EXPECT_EQ(dialogs, 0);
    EXPECT_TRUE(LogLines(fake.Log, "StartDocA").empty());
}

TEST_F(Form1Print, HeaderPrintedOnTheSystemPrinter)
{
    const std::string folder = PdfFolder();
    if (folder.empty())
        GTEST_SKIP() << "no PDF printer folder (scripts/env.sh: ensure_printer sets ORVAND_PDF_DIR)";
    UsePrinter(std::make_unique<TPrinter>());
    std::vector<std::string> errors;
    Application().OnException = [&](const std::exception& e) { errors.push_back(e.what()); };
    TForm1 form(nullptr);
    const std::string header = "Wykaz \xB3\xF3\x64\xBC";
    form.naglowek.SetText(header);
    form.na2.SetChecked(true);
    form.nr3.SetChecked(true);
    form.pozycja.SetValue(1000000);  // past the end of any list: the header alone
    SetListingCounter(7);
    const std::vector<std::string> before = PdfFiles(folder);
    const size_t jobsBefore = QueueJobs().size();
    {
        DialogDriver printDialog([](HWND window) { DialogDriver::Press(window, IDOK); });
        ClickPrint(form);
        EXPECT_TRUE(printDialog.Done());
    }
    Application().OnException = nullptr;
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(ListingCounter(), 0);  // "tak,oddzielna" restarted it
    const std::string pdf = WaitForNewPdf(folder, before);
    ASSERT_FALSE(pdf.empty());
    const TPdfDocument document = ReadPdf(pdf);
    DeleteFileA(pdf.c_str());
    ASSERT_TRUE(document.Error.empty()) << document.Error;
    EXPECT_EQ(document.Pages, 1);
    ASSERT_EQ(document.Lines.size(), 1u);
    EXPECT_EQ(document.Lines[0].Text, header);
    // The spooler hands a document on to the queue before the print command returns.
    const size_t jobsAfter = QueueJobs().size();
    EXPECT_EQ(jobsAfter, jobsBefore + 1);

    // Cancelled: no job reaches the queue, the counter untouched.
    SetListingCounter(7);
    DialogDriver cancel([](HWND window) { CancelDialog(window); });
    ClickPrint(form);
    EXPECT_TRUE(cancel.Done());
    EXPECT_EQ(ListingCounter(), 7);
    EXPECT_EQ(QueueJobs().size(), jobsAfter);
}

}  // namespace

namespace {

void PostClick(const TWinControl& control)
{
    PostMessageW(control.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(control.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

void PostKey(HWND target, WPARAM vk)
{
    PostMessageW(target, WM_KEYDOWN, vk, 1);
    PostMessageW(target, WM_KEYUP, vk, 0xC0000001);
}

void SetCtrl(bool down)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

int g_ticks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD)
{
    ++g_ticks;
}

}  // namespace

// While a page spools, the abort procedure lets messages run. A click on "Zapisz" there printed lines 1-56
// then 117-120 and saved the rest; "Koniec" ended the process inside EndPage; "Drukuj" opened a second
// print dialog. Now the window takes no command until the export ends; repaints and timers go on.
TEST_F(Form1Print, NothingTheUserDoesAtAPageBreakRunsUntilThePrintEnds)
{
    TempDir dir;
    for (int i = 0; i < 60; ++i) {
        char name[16];
        snprintf(name, sizeof(name), "f%02d.txt", i);
        dir.WriteFile(name, "x");
    }
    TFakeSpooler fake;
    fake.Printers = {{"Laser", ""}};
    fake.ProfileDevice = "Laser,winspool,LPT1:";
    UsePrinter(std::make_unique<TPrinter>(Borrow(fake)));
    int printDialogs = 0, saveDialogs = 0, halts = 0;
    PrintDialogFunction = [&](PRINTDLGA*) { return ++printDialogs == 1; };
    const TFileDialogFunction savedSave = SaveFileNameFunction;
    SaveFileNameFunction = [&](OPENFILENAMEA*) { return ++saveDialogs < 0; };
    Application().OnHalt = [&](int) { ++halts; };
    std::vector<std::string> errors;
    Application().OnException = [&](const std::exception& e) { errors.push_back(e.what()); };

    TForm1 form(nullptr);
    form.Show();
    form.ShellTreeView1.SetSelectedPath(dir.Path());
    ASSERT_EQ(form.FileListBox1.Count(), 60);
    form.nr1.SetChecked(true);  // "tak,wspólna"
    form.naglowek.SetFocus();
    SetListingCounter(0);

    int breaks = 0;
    int ticksByTheSecondPage = 0;
    bool repainted = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 1, CountTick);
    g_ticks = 0;
    fake.OnPageBreak = [&] {
        SetCtrl(false);
        if (breaks == 1)
            repainted = !GetUpdateRect(form.FileListBox1.Handle(), nullptr, FALSE);
        if (breaks++ == 0) {
            InvalidateRect(form.FileListBox1.Handle(), nullptr, TRUE);
            const TWinControl* targets[] = {&form.SpeedButton2, &form.SpeedButton3, &form.SpeedButton4,
                                            &form.SpeedButton1, &form.dr2, &form.nr2};
            for (const TWinControl* target : targets)
                PostClick(*target);
            for (const WPARAM key : {WPARAM{VK_F1}, WPARAM{VK_ESCAPE}})
                PostKey(form.naglowek.Handle(), key);
            PostMessageW(form.naglowek.Handle(), WM_CHAR, 'x', 1);
            PostMessageW(form.Edit1.Handle(), WM_CHAR, 'q', 1);
            PostKey(form.ShellTreeView1.Handle(), VK_UP);
            PostKey(form.DirectoryListBox1.Handle(), VK_HOME);
            PostMessageW(form.DirectoryListBox1.Handle(), WM_CHAR, VK_RETURN, 1);
            PostMessageW(form.DirectoryListBox1.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 5));
            // The timer comes due: its message waits for the loop the abort procedure runs next.
            for (const DWORD start = GetTickCount();
                 !(HIWORD(GetQueueStatus(QS_TIMER)) & QS_TIMER) && GetTickCount() - start < 10000;)
                Sleep(1);
        } else {
            ticksByTheSecondPage = g_ticks;
            SetCtrl(true);
            for (const WPARAM key : {WPARAM{'S'}, WPARAM{'P'}})
                PostKey(form.naglowek.Handle(), key);
        }
    };
    {
        DialogDriver anyMessageBox([](HWND window) { DialogDriver::Press(window, IDNO); });
        ClickPrint(form);
        EXPECT_FALSE(anyMessageBox.Done());
    }
    SetCtrl(false);
    Application().ProcessMessages();
    KillTimer(nullptr, timer);
    Application().OnHalt = nullptr;
    Application().OnException = nullptr;
    SaveFileNameFunction = savedSave;

    EXPECT_EQ(breaks, 2);
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(printDialogs, 1);
    EXPECT_EQ(saveDialogs, 0);
    EXPECT_EQ(halts, 0);
    // All sixty lines, in one run: what reached the device context, read once the printer let it go.
    SetSharedPrinter(nullptr);
    std::vector<std::string> printed;
    for (const auto& page : fake.Drawings)
        for (const TDrawnItem& item : page)
            if (!item.Text.empty())
                printed.push_back(item.Text);
    ASSERT_EQ(printed.size(), 60u);
    for (int i = 0; i < 60; ++i)
        EXPECT_EQ(printed[static_cast<size_t>(i)].substr(0, printed[static_cast<size_t>(i)].find(' ')),
                  std::to_string(i + 1));
    EXPECT_EQ(ListingCounter(), 60);
    // The window as it was: no help, the same options, texts, folders.
    EXPECT_FALSE(form.Panel1.Visible());
    EXPECT_TRUE(form.dr1.Checked());
    EXPECT_TRUE(form.nr1.Checked());
    EXPECT_EQ(form.naglowek.Text(), "");
    EXPECT_EQ(form.Edit1.Text(), "*.*");
    EXPECT_EQ(form.DirectoryListBox1.FolderPath(), dir.Path());
    EXPECT_EQ(form.FileListBox1.FolderPath(), dir.Path());
    EXPECT_EQ(form.ShellTreeView1.SelectedPath(), dir.Path());
    // Repaints and timers ran meanwhile, not only once the print was over.
    EXPECT_TRUE(repainted);
    EXPECT_GT(ticksByTheSecondPage, 0);
}
