#include "listing/printed_listing.h"

#include "listing/listing_composition.h"
#include "listing/print_layout.h"
#include "dialogs/print_dialog.h"
#include "printing/printer.h"
#include "printing/printer_canvas.h"
#include "runtime/ansi.h"

void TPrintedListing::ReadPrinterUnits()
{
    const int pixelsPerInchX = printer_.DeviceCaps(LOGPIXELSX);
    pixelsPerInchY_ = printer_.DeviceCaps(LOGPIXELSY);
    horizontalUnit_ = LayoutUnit(pixelsPerInchX);
    verticalUnit_ = LayoutUnit(pixelsPerInchY_);
}

void TPrintedListing::SetPrintFont(const std::string& face, int points)
{
    TFont& font = printer_.PrintCanvas().Font();
    font.SetName(AnsiToWide(face));
    font.SetHeight(FontHeightForPoints(points, pixelsPerInchY_));
}

void TPrintedListing::PrintTextAt(int column, int row, const std::string& text)
{
    printer_.PrintCanvas().TextOut(column * horizontalUnit_, row * verticalUnit_, text);
}

void TPrintedListing::PrintListingLine(const std::string& text)
{
    // The break waits for a line to put on the new page: a listing that fills its last page exactly
    // ends there, without an empty page after it.
    if (pageLines_ == kListingLinesPerPage) {
        row_ = kListingFirstRow;
        pageLines_ = 0;
        printer_.NextPage();
    }
    PrintTextAt(kListingColumn, row_, text);
    row_ += kListingLineStep;
    ++pageLines_;
}

void TPrintedListing::Print(const ListingOptions& options, const TListingItemsReader& readItems)
{
    printer_.StartJob();
    try {
        row_ = kListingFirstRow;
        pageLines_ = 0;
        BeginListing(options.Numbering);
        ReadPrinterUnits();
        if (!options.Header.empty()) {
            SetPrintFont(kListingFace, kHeaderPoints);
            PrintTextAt(kListingColumn, kListingFirstRow, options.Header);
            row_ += options.HeaderSpacing == THeaderSpacing::hsWithGap ? kHeaderGapWith : kHeaderGapWithout;
        }
        SetPrintFont(kListingFace, kLinePoints);
        const std::unique_ptr<TListingItems> items = readItems(options.Source);
        const TItemRange range = ListingItemRange(items ? items->Count() : 0, options.StartPosition);
        for (int i = range.First; i < range.First + range.Count; ++i)
            PrintListingLine(ComposeListingLine(items->Item(i), options.Numbering));
        printer_.FinishJob();
    } catch (...) {
        // An open document would make every later print fail with "Printing in progress".
        if (printer_.IsPrinting())
            printer_.Abort();
        throw;
    }
}

bool PrintListing(TPrintDialog& dialog, const TListingOptionsReader& readOptions,
                  const TListingItemsReader& readItems)
{
    if (!dialog.Execute())
        return false;
    TPrintedListing(SharedPrinter()).Print(readOptions(), readItems);
    return true;
}
