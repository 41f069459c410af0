#pragma once
// The platform's print dialog: the user picks the printer, its settings and the copy count, and a
// confirmed choice goes into the program's printer object.
#include <windows.h>
#include <commdlg.h>

#include <functional>

#include "dialogs/common_dialog.h"
#include "runtime/enum_set.h"

enum class TPrintDialogOption { poPrintToFile, poPageNums, poSelection, poWarning, poHelp, poDisablePrintToFile };
using TPrintDialogOptions = TEnumSet<TPrintDialogOption>;

enum class TPrintRange { prAllPages, prSelection, prPageNums };

// The platform function that runs the print dialog on its record: PrintDlgA. Tests put their own here
// to see the record the dialog gets and to answer as a driver the machine does not have would.
using TPrintDialogFunction = std::function<BOOL(PRINTDLGA*)>;
extern TPrintDialogFunction PrintDialogFunction;

class TPrintDialog : public TCommonDialog {
public:
    explicit TPrintDialog(TComponent* owner) : TCommonDialog(owner) {}

    bool Collate() const { return collate_; }
    void SetCollate(bool on) { collate_ = on; }
    int Copies() const { return copies_; }
    // Also the printer's copy count.
    void SetCopies(int copies);
    int FromPage() const { return fromPage_; }
    void SetFromPage(int page) { fromPage_ = page; }
    int ToPage() const { return toPage_; }
    void SetToPage(int page) { toPage_ = page; }
    int MinPage() const { return minPage_; }
    void SetMinPage(int page) { minPage_ = page; }
    int MaxPage() const { return maxPage_; }
    void SetMaxPage(int page) { maxPage_ = page; }
    TPrintDialogOptions Options() const { return options_; }
    void SetOptions(TPrintDialogOptions options) { options_ = options; }
    bool PrintToFile() const { return printToFile_; }
    void SetPrintToFile(bool on) { printToFile_ = on; }
    TPrintRange PrintRange() const { return printRange_; }
    void SetPrintRange(TPrintRange range) { printRange_ = range; }

    // Raises the printer's error before showing anything when no printer can be named. Cancel, or a
    // failure of the platform's dialog, answers false and leaves the printer object untouched.
    bool Execute() override;

private:
    bool collate_ = false;
    int copies_ = 0;
    int fromPage_ = 0;
    int toPage_ = 0;
    int minPage_ = 0;
    int maxPage_ = 0;
    TPrintDialogOptions options_;
    bool printToFile_ = false;
    TPrintRange printRange_ = TPrintRange::prAllPages;
};
