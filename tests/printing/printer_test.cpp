// The printer object against a scripted spooler: printer lists of both families, the default printer,
// devices and their DEVMODE, documents and pages, handle states, the canvas, and the errors.
#include <gtest/gtest.h>

#include <cstring>

#include "fake_spooler.h"
#include "printing/printer.h"
#include "printing/printer_canvas.h"
#include "runtime/exceptions.h"
#include "runtime/os_error.h"

namespace {

template <typename F>
std::string PrinterError(F&& f)
{
    try {
        f();
    } catch (const EPrinter& e) {
        return e.what();
    } catch (const std::exception& e) {
        return std::string("other error: ") + e.what();
    }
    return "no error";
}

std::vector<std::string> Texts(const std::vector<TPrinterListItem>& list)
{
    std::vector<std::string> texts;
    for (const TPrinterListItem& item : list)
        texts.push_back(item.Text);
    return texts;
}

class PrinterTest : public testing::Test {
protected:
    PrinterTest()
    {
        fake.Printers = {{"Laser", ""}, {"Ink", ""}};
        fake.ProfileDevice = "Laser,winspool,LPT1:";
    }

    TPrinter& Printer()
    {
        if (!printer)
            printer = std::make_unique<TPrinter>(Borrow(fake));
        return *printer;
    }

    int Count(const std::string& prefix) const { return static_cast<int>(LogLines(fake.Log, prefix).size()); }

    TFakeSpooler fake;
    std::unique_ptr<TPrinter> printer;
};

TEST_F(PrinterTest, NtFamilyListsThePrinterNamesOnceInEnumerationOrder)
{
    const auto& list = Printer().PrinterList();
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"Laser", "Ink"}));
    for (const TPrinterListItem& item : list) {
        EXPECT_EQ(item.Device.DriverName(), "");
        EXPECT_EQ(item.Device.PortName(), "");
        EXPECT_EQ(item.Device.DeviceName(), item.Text);
    }
    EXPECT_EQ(LogLines(fake.Log, "EnumPrintersA"),
              (std::vector<std::string>{"EnumPrintersA 6 4", "EnumPrintersA 6 4 buffer"}));
    // Printers installed later are not seen: the list is kept for the run.
    fake.Printers.push_back({"Plotter", ""});
    EXPECT_EQ(&Printer().PrinterList(), &list);
    EXPECT_EQ(list.size(), 2u);
    EXPECT_EQ(Count("EnumPrintersA"), 2);
}

TEST_F(PrinterTest, OtherFamilyGivesOneEntryForEachPort)
{
    fake.NtFamily = false;
    fake.Printers = {{"Laser", "LPT1:, FILE:"}, {"Ink", "USB001:,,COM1: "}, {"Plotter", "LPT3:,LPT4:,LPT5:"}};
    const auto& list = Printer().PrinterList();
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"Laser on LPT1:", "Laser on FILE:", "Ink on USB001:",
                                                     "Ink on COM1: ", "Plotter on LPT3:", "Plotter on LPT4:",
                                                     "Plotter on LPT5:"}));
    EXPECT_EQ(list[1].Device.PortName(), "FILE:");  // the leading blank goes
    EXPECT_EQ(list[3].Device.PortName(), "COM1: ");  // a trailing one stays
    EXPECT_EQ(list[0].Device.DeviceName(), "Laser");
    EXPECT_EQ(list[0].Device.DriverName(), "");
    EXPECT_EQ(LogLines(fake.Log, "EnumPrintersA").front(), "EnumPrintersA 2 5");
}

TEST_F(PrinterTest, FailedEnumerationLeavesTheListEmptyForTheRun)
{
    fake.EnumerationFails = true;
    EXPECT_TRUE(Printer().PrinterList().empty());
    fake.EnumerationFails = false;
    EXPECT_TRUE(Printer().PrinterList().empty());
    EXPECT_EQ(PrinterError([&] { Printer().StartJob(); }), "There is no default printer currently selected");
}

TEST_F(PrinterTest, NoPrinterRaisesNoDefaultPrinterAgainAtEveryTry)
{
    fake.Printers.clear();
    fake.ProfileDevice = "";
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_EQ(PrinterError([&] { Printer().StartJob(); }), "There is no default printer currently selected");
        EXPECT_EQ(PrinterError([&] { Printer().PrintableWidth(); }), "There is no default printer currently selected");
        EXPECT_EQ(PrinterError([&] { Printer().CopyCount(); }), "There is no default printer currently selected");
    }
    EXPECT_FALSE(Printer().IsPrinting());
    EXPECT_EQ(Count("CreateDCA"), 0);
    EXPECT_EQ(Count("CreateICA"), 0);
    // Each try asks for the default again.
    EXPECT_EQ(Count("GetProfileStringA device"), 6);
}

TEST_F(PrinterTest, DefaultEnumerationErrors)
{
    fake.DefaultEnumerationError = ERROR_INVALID_NAME;
    EXPECT_EQ(PrinterError([&] { Printer().SelectedIndex(); }), "There is no default printer currently selected");
    EXPECT_EQ(PrinterError([&] { Printer().SelectedIndex(); }), "There is no default printer currently selected");

    fake.DefaultEnumerationError = ERROR_ACCESS_DENIED;
    try {
        Printer().SelectedIndex();
        FAIL() << "no error";
    } catch (const EOSError& e) {
        EXPECT_EQ(e.ErrorCode(), 5u);
        EXPECT_EQ(std::string(e.what()).rfind("System Error.  Code: 5.\r\n", 0), 0u) << e.what();
        EXPECT_GT(std::strlen(e.what()), std::strlen("System Error.  Code: 5.\r\n"));
    }
    // A short buffer is no error: the default comes from the second call.
    fake.DefaultEnumerationError = 0;
    fake.DefaultRecord = "Ink";
    EXPECT_EQ(Printer().SelectedIndex(), 1);
    EXPECT_EQ(Count("GetProfileStringA"), 0);
}

TEST_F(PrinterTest, DefaultNameMissingFromTheListIsNoDefault)
{
    fake.ProfileDevice = "Plotter,winspool,LPT1:";
    EXPECT_EQ(PrinterError([&] { Printer().SelectedIndex(); }), "There is no default printer currently selected");
    EXPECT_EQ(Count("OpenPrinterA"), 0);
}

TEST_F(PrinterTest, DefaultPrinterIsFoundIgnoringCase)
{
    fake.Printers = {{"Ink", ""}, {"Laser", ""}};
    fake.ProfileDevice = "laser,winspool,LPT1:";
    EXPECT_EQ(Printer().SelectedIndex(), 1);
    // The entry is chosen as it was enumerated: its own name, empty driver and port.
    Printer().PrintableWidth();
    EXPECT_EQ(LogLines(fake.Log, "CreateICA"), (std::vector<std::string>{"CreateICA |Laser||copies=1"}));
    EXPECT_EQ(LogLines(fake.Log, "OpenPrinterA"), (std::vector<std::string>{"OpenPrinterA Laser"}));
    EXPECT_EQ(Printer().CopyCount(), 1);
}

TEST_F(PrinterTest, SetDeviceMatchesTheEnumeratedEntryThenAppends)
{
    HGLOBAL devMode = GlobalAlloc(GHND, sizeof(DEVMODEA));
    static_cast<DEVMODEA*>(GlobalLock(devMode))->dmCopies = 4;
    GlobalUnlock(devMode);

    Printer().SetDevice("Laser", "winspool", "LPT1:", devMode);
    EXPECT_EQ(Printer().SelectedIndex(), 0);
    const auto& list = Printer().PrinterList();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Device.PortName(), "LPT1:");
    EXPECT_EQ(list[0].Device.DriverName(), "");
    EXPECT_EQ(list[0].Text, "Laser");
    EXPECT_EQ(Printer().DevModeHandle(), devMode);
    EXPECT_EQ(Printer().CopyCount(), 4);
    EXPECT_EQ(Count("DocumentPropertiesA"), 0);  // the settings handed in are kept

    // The entry now has a port: another port is another entry.
    Printer().SetDevice("Laser", "winspool", "LPT2:", nullptr);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[2].Text, "Laser on LPT2:");
    EXPECT_EQ(list[2].Device.DriverName(), "winspool");
    EXPECT_EQ(Printer().SelectedIndex(), 2);
    // Passing no DEVMODE drops the one held: the printer's own settings are read again.
    EXPECT_EQ(LogLines(fake.Log, "DocumentPropertiesA"), (std::vector<std::string>{"DocumentPropertiesA 0",
                                                                                  "DocumentPropertiesA 2"}));
    EXPECT_NE(Printer().DevModeHandle(), nullptr);
    EXPECT_EQ(Printer().CopyCount(), 1);

    // Names compare byte for byte.
    Printer().SetDevice("ink", "", "", nullptr);
    EXPECT_EQ(list.back().Text, "ink on ");
    EXPECT_EQ(Printer().SelectedIndex(), 3);
    EXPECT_EQ(Printer().PrintableWidth(), 2480);
    EXPECT_EQ(LogLines(fake.Log, "CreateICA").back(), "CreateICA |ink||copies=1");
}

TEST_F(PrinterTest, DocumentsAndPages)
{
    EXPECT_EQ(PrinterError([&] { Printer().NextPage(); }), "Printer is not currently printing");
    EXPECT_EQ(PrinterError([&] { Printer().FinishJob(); }), "Printer is not currently printing");
    EXPECT_EQ(PrinterError([&] { Printer().PrintCanvas().TextOut(0, 0, "x"); }), "Printer is not currently printing");
    EXPECT_EQ(Printer().CurrentPage(), 0);

    Printer().StartJob();
    EXPECT_TRUE(Printer().IsPrinting());
    EXPECT_EQ(Printer().CurrentPage(), 1);
    EXPECT_EQ(PrinterError([&] { Printer().StartJob(); }), "Printing in progress");
    EXPECT_EQ(PrinterError([&] { Printer().SetDevice("Ink", "", "", nullptr); }), "Printing in progress");
    EXPECT_EQ(PrinterError([&] { Printer().SetCopyCount(2); }), "Printing in progress");
    EXPECT_EQ(PrinterError([&] { Printer().ChangeHandleState(TPrinterHandleState::hsNone); }),
              "Printing in progress");
    EXPECT_TRUE(Printer().IsPrinting());
    EXPECT_EQ(Printer().CurrentPage(), 1);
    EXPECT_EQ(Printer().SelectedIndex(), 0);

    Printer().NextPage();
    Printer().NextPage();
    EXPECT_EQ(Printer().CurrentPage(), 3);
    Printer().FinishJob();
    EXPECT_FALSE(Printer().IsPrinting());
    EXPECT_EQ(Printer().CurrentPage(), 0);

    std::vector<std::string> calls;
    for (const std::string& line : fake.Log)
        if (line.rfind("CreateDCA", 0) == 0 || line.rfind("SetAbortProc", 0) == 0 || line.rfind("StartDocA", 0) == 0 ||
            line.rfind("StartPage", 0) == 0 || line.rfind("EndPage", 0) == 0 || line.rfind("EndDoc", 0) == 0)
            calls.push_back(line);
    EXPECT_EQ(calls, (std::vector<std::string>{"CreateDCA |Laser||copies=1", "SetAbortProc", "StartDocA []",
                                               "StartPage", "EndPage", "StartPage", "EndPage", "StartPage",
                                               "EndPage", "EndDoc"}));
}

TEST_F(PrinterTest, DeviceContextIsReusedAfterFinishJobAndRenewedAfterACopyCountWrite)
{
    Printer().StartJob();
    Printer().FinishJob();
    EXPECT_EQ(Printer().HandleState(), TPrinterHandleState::hsDevice);
    Printer().StartJob();
    Printer().FinishJob();
    EXPECT_EQ(Count("CreateDCA"), 1);
    EXPECT_EQ(Count("DeleteDC"), 0);

    Printer().SetCopyCount(3);
    EXPECT_EQ(Printer().HandleState(), TPrinterHandleState::hsNone);
    EXPECT_EQ(LogLines(fake.Log, "DeleteDC"), (std::vector<std::string>{"DeleteDC device"}));
    EXPECT_EQ(Printer().CopyCount(), 3);
    Printer().StartJob();
    Printer().FinishJob();
    EXPECT_EQ(LogLines(fake.Log, "CreateDCA"),
              (std::vector<std::string>{"CreateDCA |Laser||copies=1", "CreateDCA |Laser||copies=3"}));
}

TEST_F(PrinterTest, PrintableSizeFromAnInformationContextOutsideADocument)
{
    fake.PageWidth = 2400;
    fake.PageHeight = 3400;
    EXPECT_EQ(Printer().PrintableHeight(), 3400);
    EXPECT_EQ(Printer().HandleState(), TPrinterHandleState::hsInfo);
    EXPECT_EQ(LogLines(fake.Log, "GetDeviceCaps").back(), "GetDeviceCaps info 10");

    Printer().StartJob();
    EXPECT_EQ(LogLines(fake.Log, "DeleteDC"), (std::vector<std::string>{"DeleteDC info"}));
    EXPECT_EQ(Printer().PrintableHeight(), 3400);
    EXPECT_EQ(Printer().PrintableWidth(), 2400);
    EXPECT_EQ(LogLines(fake.Log, "GetDeviceCaps").back(), "GetDeviceCaps device 8");
    Printer().FinishJob();
    // The device context answers for information too.
    Printer().PrintableHeight();
    EXPECT_EQ(Count("CreateICA"), 1);
    EXPECT_EQ(LogLines(fake.Log, "GetDeviceCaps").back(), "GetDeviceCaps device 10");
}

TEST_F(PrinterTest, WithoutDevModeThereIsNoCopyCount)
{
    fake.DevModeFails = true;
    EXPECT_EQ(PrinterError([&] { Printer().CopyCount(); }), "Operation not supported on selected printer");
    EXPECT_EQ(PrinterError([&] { Printer().SetCopyCount(2); }), "Operation not supported on selected printer");
    EXPECT_EQ(Printer().DevModeHandle(), nullptr);
    // Printing goes on without settings.
    Printer().StartJob();
    Printer().FinishJob();
    EXPECT_EQ(LogLines(fake.Log, "CreateDCA"), (std::vector<std::string>{"CreateDCA |Laser||no devmode"}));

    // A printer that cannot be opened is chosen all the same, without settings.
    TFakeSpooler closed;
    closed.Printers = fake.Printers;
    closed.ProfileDevice = fake.ProfileDevice;
    closed.OpenFails = true;
    TPrinter other(Borrow(closed));
    EXPECT_EQ(other.SelectedIndex(), 0);
    EXPECT_TRUE(LogLines(closed.Log, "DocumentPropertiesA").empty());
    EXPECT_EQ(PrinterError([&] { other.CopyCount(); }), "Operation not supported on selected printer");
}

TEST_F(PrinterTest, ContextThatCannotBeMadeIsNotValidUntilItCanBe)
{
    Printer().PrintableWidth();
    fake.CreateFails = true;
    EXPECT_EQ(PrinterError([&] { Printer().StartJob(); }), "Printer selected is not valid");
    EXPECT_FALSE(Printer().IsPrinting());
    // The information context it replaced is gone; the next use asks for one again instead of answering 0.
    EXPECT_EQ(PrinterError([&] { Printer().DeviceHandle(); }), "Printer selected is not valid");
    fake.CreateFails = false;
    EXPECT_NE(Printer().DeviceHandle(), nullptr);
    Printer().StartJob();
    EXPECT_TRUE(Printer().IsPrinting());
    Printer().FinishJob();
}

TEST_F(PrinterTest, GetDeviceNeverWritesPastItsBuffers)
{
    const std::string device(2000, 'D');
    const std::string driver(1500, 'R');
    const std::string port(1024, 'P');
    Printer().SetDevice(device, driver, port, nullptr);
    struct Guarded {
        char buffer[1024];
        char guard[64];
    };
    Guarded d, r, p;
    for (Guarded* g : {&d, &r, &p}) {
        std::memset(g->buffer, 'x', sizeof(g->buffer));
        std::memset(g->guard, 0x7F, sizeof(g->guard));
    }
    HGLOBAL devMode = nullptr;
    Printer().GetDevice(d.buffer, r.buffer, p.buffer, devMode);
    for (Guarded* g : {&d, &r, &p}) {
        EXPECT_EQ(std::strlen(g->buffer), 1023u);
        EXPECT_EQ(std::string(g->guard, sizeof(g->guard)), std::string(sizeof(g->guard), '\x7F'));
    }
    EXPECT_EQ(d.buffer[0], 'D');
    EXPECT_EQ(r.buffer[0], 'R');
    EXPECT_EQ(p.buffer[0], 'P');
    EXPECT_EQ(devMode, Printer().DevModeHandle());
    EXPECT_NE(devMode, nullptr);

    // Names that fit come back whole.
    Printer().SetDevice("Ink", "winspool", "LPT1:", nullptr);
    Printer().GetDevice(d.buffer, r.buffer, p.buffer, devMode);
    EXPECT_STREQ(d.buffer, "Ink");
    EXPECT_STREQ(r.buffer, "");  // the enumerated entry keeps its empty driver
    EXPECT_STREQ(p.buffer, "LPT1:");
}

TEST_F(PrinterTest, CanvasFontGetsThePrinterResolutionAndKeepsAHeightSetAfterwards)
{
    fake.PixelsPerInchY = 600;
    TPrinterCanvas& canvas = Printer().PrintCanvas();
    EXPECT_EQ(canvas.Font().PixelsPerInch(), 96);
    EXPECT_EQ(canvas.Font().Size(), 8);
    Printer().StartJob();
    EXPECT_EQ(canvas.Font().PixelsPerInch(), 600);
    EXPECT_EQ(canvas.Font().Size(), 8);
    EXPECT_EQ(canvas.Font().Height(), -67);

    canvas.Font().SetName(L"Times New Roman");
    canvas.Font().SetHeight(-75);
    canvas.TextOut(120, 240, "1 alfa.txt");
    Printer().NextPage();
    canvas.Font().SetHeight(-100);
    canvas.TextOut(120, 120, "2 beta.txt");
    Printer().FinishJob();
    EXPECT_EQ(canvas.Font().Height(), -100);
    printer.reset();

    ASSERT_EQ(fake.Drawings.size(), 1u);
    std::vector<std::string> seen;
    for (const TDrawnItem& item : fake.Drawings[0]) {
        if (!item.Mark.empty())
            seen.push_back(item.Mark);
        else
            seen.push_back(item.Text + " @" + std::to_string(item.X) + "," + std::to_string(item.Y) + " " +
                           item.FontFace + " " + std::to_string(item.FontHeight));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"StartPage", "1 alfa.txt @120,240 Times New Roman -75", "EndPage",
                                              "StartPage", "2 beta.txt @120,120 Times New Roman -100", "EndPage"}));
}

LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP)
        ++*reinterpret_cast<int*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST_F(PrinterTest, WindowMessagesRunWhileThePageIsSpooled)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"OrvandCountingWindow";
    RegisterClassW(&wc);
    HWND window = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    int handled = 0;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&handled));

    Printer().StartJob();
    PostMessageW(window, WM_APP, 0, 0);
    Printer().NextPage();  // the fake spooler asks the abort procedure at EndPage
    EXPECT_EQ(handled, 1);
    PostMessageW(window, WM_APP, 0, 0);
    Printer().FinishJob();
    EXPECT_EQ(handled, 2);
    DestroyWindow(window);
}

TEST_F(PrinterTest, DestructionEndsAnOpenDocumentAndReleasesEverything)
{
    Printer().StartJob();
    EXPECT_EQ(fake.LiveContexts(), 1);
    EXPECT_EQ(fake.OpenSpoolerHandles(), 1);
    fake.Log.clear();
    printer.reset();
    EXPECT_EQ(fake.Log, (std::vector<std::string>{"EndPage", "EndDoc", "DeleteDC device", "ClosePrinter"}));
    EXPECT_EQ(fake.LiveContexts(), 0);
    EXPECT_EQ(fake.OpenSpoolerHandles(), 0);
}

}  // namespace

TEST_F(PrinterTest, SpoolerFailuresAreReportedNotTakenForAPrintout)
{
    // A refused document: an error, and no job left open.
    fake.StartDocError = ERROR_ACCESS_DENIED;
    EXPECT_EQ(PrinterError([&] { Printer().StartJob(); }).rfind("other error: System Error.  Code: 5.", 0), 0u);
    EXPECT_FALSE(Printer().IsPrinting());
    EXPECT_EQ(Printer().CurrentPage(), 0);
    // The user cancelled (a print-to-file name): silent.
    fake.StartDocError = ERROR_CANCELLED;
    EXPECT_THROW(Printer().StartJob(), EAbort);
    EXPECT_FALSE(Printer().IsPrinting());
    // A page the spooler cannot take: the error reaches the caller, which abandons the document.
    fake.StartDocError = 0;
    fake.EndPageFails = true;
    Printer().StartJob();
    EXPECT_THROW(Printer().NextPage(), EOSError);
    Printer().Abort();
    EXPECT_FALSE(Printer().IsPrinting());
    fake.EndPageFails = false;
    Printer().StartJob();  // the next print works
    Printer().FinishJob();
}
