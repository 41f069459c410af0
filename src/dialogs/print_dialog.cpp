#include "dialogs/print_dialog.h"

#include <cstring>

#include "gui/application.h"
#include "dialogs/dev_names.h"
#include "printing/global_block.h"
#include "printing/printer.h"

TPrintDialogFunction PrintDialogFunction = PrintDlgA;

namespace {

constexpr size_t kNameBufferSize = 1024;

// A new movable, zero-filled block holding the bytes.
UniqueGlobal GlobalBlockOf(const std::vector<unsigned char>& bytes)
{
    UniqueGlobal block(GlobalAlloc(GHND, bytes.size()));
    if (!block)
        return {};
    GlobalLockGuard lock(block.get());
    if (!lock.get())
        return {};
    std::memcpy(lock.get(), bytes.data(), bytes.size());
    return block;
}

// The chosen printer and its settings, as the dialog takes them: a DEVNAMES block (only when the
// printer holds settings) and a copy of the DEVMODE block; the printer's own block stays with it.
void PrinterToHandles(TPrinter& printer, UniqueGlobal& devNames, UniqueGlobal& devMode)
{
    char device[kNameBufferSize] = {};
    char driver[kNameBufferSize] = {};
    char port[kNameBufferSize] = {};
    HGLOBAL printerDevMode = nullptr;
    printer.GetDevice(device, driver, port, printerDevMode);
    if (printerDevMode)
        devNames = GlobalBlockOf(BuildDevNames({driver, device, port}));
    devMode = CopyGlobalBlock(printerDevMode);
}

// The dialog's choice into the printer, which takes over the returned DEVMODE block.
void HandlesToPrinter(TPrinter& printer, UniqueGlobal& devNames, UniqueGlobal& devMode)
{
    if (!devNames)
        return;
    TDevNamesTexts texts;
    {
        GlobalLockGuard lock(devNames.get());
        if (!lock.get())
            return;
        texts = ReadDevNames(static_cast<const unsigned char*>(lock.get()), GlobalSize(devNames.get()));
    }
    try {
        printer.SetDevice(texts.Device, texts.Driver, texts.Port, devMode.get());
    } catch (...) {
        // Refused before the block was taken over ("Printing in progress"): it is still ours to free.
        if (printer.DevModeHandle() == devMode.get())
            devMode.release();
        throw;
    }
    devMode.release();
}

}  // namespace

void TPrintDialog::SetCopies(int copies)
{
    copies_ = copies;
    SharedPrinter().SetCopyCount(copies);
}

bool TPrintDialog::Execute()
{
    TPrinter& printer = SharedPrinter();
    UniqueGlobal devNames;
    UniqueGlobal devMode;
    PrinterToHandles(printer, devNames, devMode);

    PRINTDLGA record{};
    record.lStructSize = sizeof(record);
    record.hInstance = GetModuleHandleA(nullptr);
    record.hwndOwner = Application().Handle();
    record.hDevMode = devMode.get();
    record.hDevNames = devNames.get();

    DWORD flags = PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK;
    if (printRange_ == TPrintRange::prSelection)
        flags |= PD_SELECTION;
    else if (printRange_ == TPrintRange::prPageNums)
        flags |= PD_PAGENUMS;
    if (collate_)
        flags |= PD_COLLATE;
    if (!options_.Contains(TPrintDialogOption::poPrintToFile))
        flags |= PD_HIDEPRINTTOFILE;
    if (!options_.Contains(TPrintDialogOption::poPageNums))
        flags |= PD_NOPAGENUMS;
    if (!options_.Contains(TPrintDialogOption::poSelection))
        flags |= PD_NOSELECTION;
    if (options_.Contains(TPrintDialogOption::poDisablePrintToFile))
        flags |= PD_DISABLEPRINTTOFILE;
    if (printToFile_)
        flags |= PD_PRINTTOFILE;
    if (options_.Contains(TPrintDialogOption::poHelp))
        flags |= PD_SHOWHELP;
    if (!options_.Contains(TPrintDialogOption::poWarning))
        flags |= PD_NOWARNING;
    if (!DialogTemplate().empty()) {
        flags |= PD_ENABLEPRINTTEMPLATE;
        record.lpPrintTemplateName = DialogTemplate().c_str();
    }
    record.Flags = flags;
    record.nFromPage = static_cast<WORD>(fromPage_);
    record.nToPage = static_cast<WORD>(toPage_);
    record.nMinPage = static_cast<WORD>(minPage_);
    record.nMaxPage = static_cast<WORD>(maxPage_);
    record.nCopies = 0;  // the dialog shows the count the DEVMODE holds
    record.lpfnPrintHook = ClassicDialogHook;
    record.lpfnSetupHook = ClassicDialogHook;

    const BOOL confirmed = RunTaskModal([&] { return PrintDialogFunction(&record); });
    // The dialog may have freed the blocks it was given and made new ones: own whatever it left.
    devMode.release();
    devNames.release();
    devMode.reset(record.hDevMode);
    devNames.reset(record.hDevNames);
    if (!confirmed)
        return false;

    HandlesToPrinter(printer, devNames, devMode);
    collate_ = (record.Flags & PD_COLLATE) != 0;
    printToFile_ = (record.Flags & PD_PRINTTOFILE) != 0;
    if (record.Flags & PD_SELECTION)
        printRange_ = TPrintRange::prSelection;
    else if (record.Flags & PD_PAGENUMS)
        printRange_ = TPrintRange::prPageNums;
    else
        printRange_ = TPrintRange::prAllPages;
    fromPage_ = record.nFromPage;
    toPage_ = record.nToPage;
    // A driver that makes the copies itself reports 1 here and keeps the count in the DEVMODE.
    SetCopies(record.nCopies == 1 ? printer.CopyCount() : record.nCopies);
    return true;
}
