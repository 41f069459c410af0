#pragma once
// The print command: the listing on the printer chosen in the print dialog, laid out on a grid of
// 1/25-inch units, 55 lines a page, the header once at the top of the first page in a larger type.
#include <string>

#include "listing/listing_options.h"
#include "listing/save_listing.h"

class TPrinter;
class TPrintDialog;

// One print of a listing on a printer whose document has begun: the units and the position on the page.
class TPrintedListing {
public:
    explicit TPrintedListing(TPrinter& printer) : printer_(printer) {}

    // Pixels per unit across and down, from the printer's resolution.
    void ReadPrinterUnits();
    int HorizontalUnit() const { return horizontalUnit_; }
    int VerticalUnit() const { return verticalUnit_; }
    // Face and size of the canvas font, the size turned into a height in printer pixels.
    void SetPrintFont(const std::string& face, int points);
    // Draws the text with its top-left corner at the position given in units.
    void PrintTextAt(int column, int row, const std::string& text);
    // Prints a listing line at the current row and moves down; a full page is broken before the next line.
    void PrintListingLine(const std::string& text);
    int Row() const { return row_; }
    void SetRow(int row) { row_ = row; }

    // The whole document: begins it, prints the header and the item lines, and finishes it. A failure
    // on the way abandons the document before it is raised, so the next print can begin.
    void Print(const ListingOptions& options, const TListingItemsReader& readItems);

private:
    TPrinter& printer_;
    int horizontalUnit_ = 0;
    int verticalUnit_ = 0;
    int pixelsPerInchY_ = 0;
    int row_ = 5;
    int pageLines_ = 0;
};

// Runs the print dialog; when the user confirms, prints the listing on the program's printer, which the
// dialog has set to the user's choice. Returns false when the user cancelled: then nothing is printed
// and the listing counter is not touched.
bool PrintListing(TPrintDialog& dialog, const TListingOptionsReader& readOptions,
                  const TListingItemsReader& readItems);
