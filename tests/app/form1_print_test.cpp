// "Drukuj obraz katalogu" on the real main window: the message the user sees when there is no printer,
// and a listing printed through the platform's print dialog onto the system's printer.
#include <gtest/gtest.h>

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
