// The print dialog: the record it hands to the platform (at the seam where the dialog function is
// called), the choice it puts into the printer object, the cancel path, and the platform's real dialog.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "fake_spooler.h"
#include "file_dialog_typing.h"
#include "gui/application.h"
#include "dialogs/dev_names.h"
#include "dialogs/print_dialog.h"
#include "printing/printer.h"
#include "runtime/exceptions.h"

namespace {

HGLOBAL NewBlock(const void* bytes, size_t size)
{
    HGLOBAL block = GlobalAlloc(GHND, size);
    std::memcpy(GlobalLock(block), bytes, size);
    GlobalUnlock(block);
    return block;
}

std::string BlockBytes(HGLOBAL block)
{
    if (!block)
        return {};
    const void* data = GlobalLock(block);
    std::string bytes(static_cast<const char*>(data), GlobalSize(block));
    GlobalUnlock(block);
    return bytes;
}

// Stands in for the platform's dialog: keeps what it was given and answers as a driver would.
struct FakePrintDialog {
    PRINTDLGA record{};
    TDevNamesTexts namesGiven;
    size_t namesSize = 0;
    std::string devModeGiven;
    HGLOBAL printerDevMode = nullptr;  // the printer's own block while the dialog runs
    std::string printerSettings;
    int calls = 0;

    BOOL result = TRUE;
    std::optional<TDevNamesTexts> answerNames;  // a new DEVNAMES block in place of the one given
    std::optional<short> answerCopiesInDevMode;   // a new DEVMODE block with this count
    DWORD answerFlags = 0;                        // replaces the range, collate and print-to-file flags
    WORD answerCopies = 1;
    WORD answerFrom = 0;
    WORD answerTo = 0;
    HGLOBAL devModeReturned = nullptr;

    BOOL operator()(PRINTDLGA* r)
    {
        ++calls;
        record = *r;
        printerDevMode = SharedPrinter().DevModeHandle();
        printerSettings = BlockBytes(printerDevMode);
        if (r->hDevNames) {
            namesSize = GlobalSize(r->hDevNames);
            const std::string bytes = BlockBytes(r->hDevNames);
            namesGiven = ReadDevNames(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
        }
        devModeGiven = BlockBytes(r->hDevMode);
        if (answerNames) {
            const std::vector<unsigned char> block = BuildDevNames(*answerNames);
            if (r->hDevNames)
                GlobalFree(r->hDevNames);
            r->hDevNames = NewBlock(block.data(), block.size());
        }
        if (answerCopiesInDevMode) {
            DEVMODEA devMode{};
            devMode.dmSize = sizeof(devMode);
            devMode.dmFields = DM_COPIES;
            devMode.dmCopies = *answerCopiesInDevMode;
            if (r->hDevMode)
                GlobalFree(r->hDevMode);
            r->hDevMode = NewBlock(&devMode, sizeof(devMode));
        }
        devModeReturned = r->hDevMode;
        if (result) {
            constexpr DWORD kAnswered = PD_SELECTION | PD_PAGENUMS | PD_COLLATE | PD_PRINTTOFILE;
            r->Flags = (r->Flags & ~kAnswered) | answerFlags;
            r->nCopies = answerCopies;
            r->nFromPage = answerFrom;
            r->nToPage = answerTo;
        }
        return result;
    }
};

template <typename F>
std::string ErrorOf(F&& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "no error";
}

class PrintDialogSeam : public testing::Test {
protected:
    void SetUp() override
    {
        fake.Printers = {{"Laser", ""}, {"Ink", ""}};
        fake.ProfileDevice = "Laser,winspool,LPT1:";
        previous_ = SetSharedPrinter(std::make_unique<TPrinter>(Borrow(fake)));
        savedFunction_ = PrintDialogFunction;
        PrintDialogFunction = [this](PRINTDLGA* r) { return dialogFake(r); };
    }
    void TearDown() override
    {
        PrintDialogFunction = savedFunction_;
        SetSharedPrinter(std::move(previous_));
    }

    TFakeSpooler fake;
    FakePrintDialog dialogFake;
    TPrintDialog dialog{nullptr};

private:
    std::unique_ptr<TPrinter> previous_;
    TPrintDialogFunction savedFunction_;
};

TEST_F(PrintDialogSeam, RecordWithTheDefaults)
{
    ASSERT_TRUE(dialog.Execute());
    const PRINTDLGA& r = dialogFake.record;
    EXPECT_EQ(r.Flags, 0x10308Cu);  // hooks, no page numbers, no selection, no print to file, no warning
    EXPECT_EQ(r.lStructSize, sizeof(PRINTDLGA));
    EXPECT_EQ(r.hInstance, GetModuleHandleA(nullptr));
    EXPECT_EQ(r.hwndOwner, Application().Handle());
    EXPECT_TRUE(r.lpfnPrintHook == ClassicDialogHook);
    EXPECT_TRUE(r.lpfnSetupHook == ClassicDialogHook);
    EXPECT_EQ(r.nCopies, 0);
    EXPECT_EQ(r.nFromPage + r.nToPage + r.nMinPage + r.nMaxPage, 0);
    EXPECT_EQ(r.lpPrintTemplateName, nullptr);
    // The default printer as enumerated, and a copy of its settings: its own block is never handed out.
    EXPECT_EQ(dialogFake.namesGiven.Driver, "");
    EXPECT_EQ(dialogFake.namesGiven.Device, "Laser");
    EXPECT_EQ(dialogFake.namesGiven.Port, "");
    EXPECT_GE(dialogFake.namesSize, 8u + 5 + 3);
    EXPECT_NE(r.hDevMode, nullptr);
    EXPECT_NE(r.hDevMode, dialogFake.printerDevMode);
    EXPECT_FALSE(dialogFake.printerSettings.empty());
    EXPECT_EQ(dialogFake.devModeGiven, dialogFake.printerSettings);
    // The dialog kept its blocks and was confirmed with 1 copy: the printer took the copy it was given.
    EXPECT_EQ(SharedPrinter().DevModeHandle(), r.hDevMode);
    EXPECT_EQ(dialog.Copies(), 1);
    EXPECT_EQ(dialog.PrintRange(), TPrintRange::prAllPages);
}

TEST_F(PrintDialogSeam, FlagsAndPagesFollowTheProperties)
{
    dialog.SetOptions({TPrintDialogOption::poPrintToFile, TPrintDialogOption::poPageNums,
                       TPrintDialogOption::poSelection, TPrintDialogOption::poWarning, TPrintDialogOption::poHelp,
                       TPrintDialogOption::poDisablePrintToFile});
    dialog.SetCollate(true);
    dialog.SetPrintToFile(true);
    dialog.SetPrintRange(TPrintRange::prPageNums);
    dialog.SetFromPage(70000);
    dialog.SetToPage(3);
    dialog.SetMinPage(1);
    dialog.SetMaxPage(9);
    dialog.SetDialogTemplate("PRINTTEMPLATE");
    dialogFake.result = FALSE;
    EXPECT_FALSE(dialog.Execute());
    const PRINTDLGA& r = dialogFake.record;
    EXPECT_EQ(r.Flags, static_cast<DWORD>(PD_PAGENUMS | PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK | PD_COLLATE |
                                          PD_DISABLEPRINTTOFILE | PD_PRINTTOFILE | PD_SHOWHELP |
                                          PD_ENABLEPRINTTEMPLATE));
    EXPECT_STREQ(r.lpPrintTemplateName, "PRINTTEMPLATE");
    EXPECT_EQ(r.nFromPage, 70000 & 0xFFFF);
    EXPECT_EQ(r.nToPage, 3);
    EXPECT_EQ(r.nMinPage, 1);
    EXPECT_EQ(r.nMaxPage, 9);

    dialog.SetOptions({TPrintDialogOption::poSelection});
    dialog.SetCollate(false);
    dialog.SetPrintToFile(false);
    dialog.SetPrintRange(TPrintRange::prSelection);
    dialog.SetDialogTemplate("");
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialogFake.record.Flags, static_cast<DWORD>(PD_SELECTION | PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK |
                                                          PD_HIDEPRINTTOFILE | PD_NOPAGENUMS | PD_NOWARNING));
}

TEST_F(PrintDialogSeam, ConfirmedChoiceGoesIntoThePrinter)
{
    dialogFake.answerNames = TDevNamesTexts{"winspool", "Ink", "LPT2:"};
    dialogFake.answerCopiesInDevMode = 3;
    dialogFake.answerCopies = 1;  // the driver keeps the count itself
    dialogFake.answerFlags = PD_COLLATE | PD_SELECTION | PD_PRINTTOFILE;
    dialogFake.answerFrom = 2;
    dialogFake.answerTo = 5;
    ASSERT_TRUE(dialog.Execute());

    TPrinter& printer = SharedPrinter();
    EXPECT_EQ(printer.SelectedIndex(), 1);
    const TPrinterDevice& chosen = printer.PrinterList()[1].Device;
    EXPECT_EQ(chosen.PortName(), "LPT2:");
    EXPECT_EQ(chosen.DriverName(), "");
    EXPECT_EQ(printer.DevModeHandle(), dialogFake.devModeReturned);
    EXPECT_EQ(dialog.Copies(), 3);
    EXPECT_EQ(printer.CopyCount(), 3);
    EXPECT_TRUE(dialog.Collate());
    EXPECT_TRUE(dialog.PrintToFile());
    EXPECT_EQ(dialog.PrintRange(), TPrintRange::prSelection);
    EXPECT_EQ(dialog.FromPage(), 2);
    EXPECT_EQ(dialog.ToPage(), 5);
    // The next use makes a context with the new settings.
    EXPECT_EQ(printer.HandleState(), TPrinterHandleState::hsNone);
    printer.StartJob();
    printer.FinishJob();
    EXPECT_EQ(LogLines(fake.Log, "CreateDCA"), (std::vector<std::string>{"CreateDCA |Ink|LPT2:|copies=3"}));

    // The next run starts from what was chosen.
    dialogFake.answerNames.reset();
    dialogFake.answerCopiesInDevMode.reset();
    dialogFake.result = FALSE;
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialogFake.namesGiven.Device, "Ink");
    EXPECT_EQ(dialogFake.namesGiven.Port, "LPT2:");
    EXPECT_EQ(dialogFake.record.Flags & (PD_COLLATE | PD_SELECTION | PD_PRINTTOFILE),
              static_cast<DWORD>(PD_COLLATE | PD_SELECTION | PD_PRINTTOFILE));
    EXPECT_EQ(dialogFake.record.nFromPage, 2);
}

TEST_F(PrintDialogSeam, CopiesFromTheDialogWhenTheDriverDoesNotKeepThem)
{
    dialogFake.answerCopiesInDevMode = 1;
    dialogFake.answerCopies = 4;
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Copies(), 4);
    EXPECT_EQ(SharedPrinter().CopyCount(), 4);
}

TEST_F(PrintDialogSeam, CancelLeavesThePrinterUntouched)
{
    TPrinter& printer = SharedPrinter();
    const int width = printer.PrintableWidth();  // an information context is held
    const HDC context = printer.DeviceHandle();
    const HGLOBAL devMode = printer.DevModeHandle();
    const std::string settings = BlockBytes(devMode);
    const size_t logSize = fake.Log.size();

    dialogFake.answerNames = TDevNamesTexts{"winspool", "Ink", "LPT2:"};
    dialogFake.answerCopiesInDevMode = 7;
    dialogFake.answerFlags = PD_COLLATE;
    dialogFake.result = FALSE;
    EXPECT_FALSE(dialog.Execute());

    EXPECT_EQ(printer.SelectedIndex(), 0);
    EXPECT_EQ(printer.DevModeHandle(), devMode);
    EXPECT_EQ(BlockBytes(devMode), settings);
    EXPECT_EQ(printer.HandleState(), TPrinterHandleState::hsInfo);
    EXPECT_EQ(printer.DeviceHandle(), context);
    EXPECT_EQ(printer.PrintableWidth(), width);
    EXPECT_EQ(printer.PrinterList()[1].Device.PortName(), "");
    EXPECT_EQ(LogLines(std::vector<std::string>(fake.Log.begin() + static_cast<long>(logSize), fake.Log.end()), "Create"),
              std::vector<std::string>{});
    EXPECT_FALSE(dialog.Collate());
    EXPECT_EQ(dialog.Copies(), 0);
}

TEST_F(PrintDialogSeam, NoPrinterRaisesBeforeAnyDialogShows)
{
    fake.Printers.clear();
    EXPECT_EQ(ErrorOf([&] { dialog.Execute(); }), "There is no default printer currently selected");
    EXPECT_EQ(ErrorOf([&] { dialog.Execute(); }), "There is no default printer currently selected");
    EXPECT_EQ(dialogFake.calls, 0);
}

TEST_F(PrintDialogSeam, ChoiceRefusedWhileADocumentIsOpen)
{
    SharedPrinter().StartJob();
    dialogFake.answerNames = TDevNamesTexts{"", "Ink", ""};
    dialogFake.answerCopiesInDevMode = 2;
    EXPECT_EQ(ErrorOf([&] { dialog.Execute(); }), "Printing in progress");
    EXPECT_TRUE(SharedPrinter().IsPrinting());
    EXPECT_EQ(SharedPrinter().SelectedIndex(), 0);
    SharedPrinter().FinishJob();
}

// The platform's own print dialog on the machine's printers (under Wine, the CUPS printers).
class RealPrintDialog : public testing::Test {
protected:
    void SetUp() override
    {
        DWORD needed = 0;
        DWORD count = 0;
        EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed, &count);
        if (needed == 0)
            GTEST_SKIP() << "no printer installed (scripts/env.sh: ensure_printer)";
        previous_ = SetSharedPrinter(std::make_unique<TPrinter>());
    }
    void TearDown() override
    {
        EXPECT_FALSE(watchdog.Fired());
        if (previous_ || printerReplaced_)
            SetSharedPrinter(std::move(previous_));
    }

    static std::string DefaultPrinterName()
    {
        char device[1024] = {};
        GetProfileStringA("windows", "device", "", device, sizeof(device));
        return std::string(device).substr(0, std::string(device).find(','));
    }

    TPrintDialog dialog{nullptr};
    DialogWatchdog watchdog;

private:
    std::unique_ptr<TPrinter> previous_;
    bool printerReplaced_ = true;
};

TEST_F(RealPrintDialog, ConfirmedWithTheDefaultPrinterAndACopyCount)
{
    bool attached = false;
    RECT rect{};
    int shows = 0;
    dialog.OnShow = [&] { ++shows; };
    {
        DialogDriver driver([&](HWND window) {
            attached = dialog.DialogWindow() == window;
            GetWindowRect(window, &rect);
            SetDlgItemInt(window, 0x482, 3, FALSE);  // the copies box
            DialogDriver::Press(window, IDOK);
        });
        ASSERT_TRUE(dialog.Execute());
    }
    TPrinter& printer = SharedPrinter();
    const TPrinterDevice& chosen = printer.PrinterList()[static_cast<size_t>(printer.SelectedIndex())].Device;
    EXPECT_EQ(chosen.DeviceName(), DefaultPrinterName());
    EXPECT_NE(printer.DevModeHandle(), nullptr);
    EXPECT_TRUE(attached);
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(dialog.DialogWindow(), nullptr);
    EXPECT_EQ(dialog.Copies(), 3);
    EXPECT_EQ(printer.CopyCount(), 3);
    // No form is active: the screen's monitor; in the middle across, a third of the free height down.
    MONITORINFO info{sizeof(info)};
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    const RECT& m = info.rcMonitor;
    EXPECT_EQ(rect.left, m.left + (m.right - m.left - (rect.right - rect.left)) / 2);
    EXPECT_EQ(rect.top, m.top + (m.bottom - m.top - (rect.bottom - rect.top)) / 3);
    // The printer can make a context for what the dialog chose.
    EXPECT_GT(printer.PrintableWidth(), 0);
}

TEST_F(RealPrintDialog, CancelLeavesThePrinterAsItWas)
{
    TPrinter& printer = SharedPrinter();
    const int width = printer.PrintableWidth();
    const HDC context = printer.DeviceHandle();
    const HGLOBAL devMode = printer.DevModeHandle();
    const int copies = printer.CopyCount();
    DialogDriver driver([&](HWND window) {
        SetDlgItemInt(window, 0x482, copies + 4, FALSE);
        CancelDialog(window);
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(printer.DevModeHandle(), devMode);
    EXPECT_EQ(printer.CopyCount(), copies);
    EXPECT_EQ(printer.DeviceHandle(), context);
    EXPECT_EQ(printer.PrintableWidth(), width);
    EXPECT_EQ(dialog.Copies(), 0);
}

}  // namespace
