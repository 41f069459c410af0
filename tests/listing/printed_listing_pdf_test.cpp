// The printed listing for real: the platform's print dialog confirmed by hand, the system's printer
// (under Wine the CUPS PDF printer), and the PDF read back: pages, lines and their order, and where
// the lines stand on the 1/25-inch grid.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "file_dialog_typing.h"
#include "listing/listing_composition.h"
#include "listing/print_layout.h"
#include "listing/printed_listing.h"
#include "printed_pdf.h"
#include "dialogs/print_dialog.h"
#include "printing/printer.h"

namespace {

const std::string kHeader = "Spis plik\xF3w \xB3\xB9k";  // Polish letters, as the ANSI code page holds them

std::vector<std::string> Files(int count)
{
    std::vector<std::string> files;
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof(name), "plik%03d.txt", i);
        files.push_back(name);
    }
    return files;
}

class PrintedPdf : public testing::Test {
protected:
    void SetUp() override
    {
        folder_ = PdfFolder();
        if (folder_.empty())
            GTEST_SKIP() << "no PDF printer folder (scripts/env.sh: ensure_printer sets ORVAND_PDF_DIR)";
        previous_ = SetSharedPrinter(std::make_unique<TPrinter>());
        replaced_ = true;
        SetListingCounter(0);
    }
    void TearDown() override
    {
        if (replaced_)
            SetSharedPrinter(std::move(previous_));
        SetListingCounter(0);
        EXPECT_FALSE(watchdog.Fired());
    }

    // Prints through the print dialog, confirmed as it opens, and reads back the PDF that comes out.
    TPdfDocument Print(const ListingOptions& options, const std::vector<std::string>& items)
    {
        const std::string title = "orvand_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++jobs_) + "x";
        const std::vector<std::string> before = PdfFiles(folder_);
        SharedPrinter().SetJobTitle(title);  // only to know our document among others in the folder
        DialogDriver driver([](HWND window) { DialogDriver::Press(window, IDOK); });
        const bool printed = PrintListing(
            dialog, [&] { return options; },
            [&](TListingSource) { return std::make_unique<TStringListingItems>(items); });
        EXPECT_TRUE(printed);
        EXPECT_TRUE(driver.Done());
        const std::string pdf = WaitForNewPdf(folder_, before, title);
        TPdfDocument document;
        if (pdf.empty()) {
            document.Error = "no PDF arrived in " + folder_;
            return document;
        }
        document = ReadPdf(pdf);
        if (!std::getenv("ORVAND_KEEP_PDF"))
            DeleteFileA(pdf.c_str());
        else
            lastPdf = pdf;
        return document;
    }

    // One layout unit down and across in points, from the printer's resolution.
    double UnitPointsY() { return PointsOf(LOGPIXELSY); }
    double UnitPointsX() { return PointsOf(LOGPIXELSX); }

    TPrintDialog dialog{nullptr};
    DialogWatchdog watchdog{60000};
    std::string lastPdf;

private:
    double PointsOf(int caps)
    {
        const int ppi = SharedPrinter().DeviceCaps(caps);
        return LayoutUnit(ppi) * 72.0 / ppi;
    }

    std::string folder_;
    std::unique_ptr<TPrinter> previous_;
    bool replaced_ = false;
    int jobs_ = 0;
};

TEST_F(PrintedPdf, ListingsOfSeveralLengthsWithAndWithoutHeader)
{
    struct Case {
        int lines;
        std::string header;
        THeaderSpacing spacing;
        int pages;
    };
    const std::vector<Case> cases = {
        {1, "", THeaderSpacing::hsWithGap, 1},     // first: fixes where a 9-point line's top lands
        {0, "", THeaderSpacing::hsWithGap, 1},     {55, "", THeaderSpacing::hsWithGap, 1},
        {56, "", THeaderSpacing::hsWithGap, 2},    {200, "", THeaderSpacing::hsWithGap, 4},
        {0, kHeader, THeaderSpacing::hsWithGap, 1},  {1, kHeader, THeaderSpacing::hsWithGap, 1},
        {55, kHeader, THeaderSpacing::hsWithGap, 1}, {56, kHeader, THeaderSpacing::hsWithGap, 2},
        {200, kHeader, THeaderSpacing::hsWithGap, 4}, {56, kHeader, THeaderSpacing::hsWithoutGap, 2},
    };
    double lineOffset = 0;    // a 9-point line's top in the PDF, less its row
    double headerOffset = 0;  // the same for the 12-point header
    bool headerSeen = false;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.lines) + " lines, header '" + c.header + "'" +
                     (c.spacing == THeaderSpacing::hsWithoutGap ? " without gap" : ""));
        ListingOptions options;
        options.Numbering = TNumbering::nmSeparate;
        options.Header = c.header;
        options.HeaderSpacing = c.spacing;
        const TPdfDocument pdf = Print(options, Files(c.lines));
        ASSERT_TRUE(pdf.Error.empty()) << pdf.Error;
        EXPECT_EQ(pdf.Pages, c.pages);

        std::vector<std::string> expected;
        if (!c.header.empty())
            expected.push_back(c.header);
        const std::vector<std::string> files = Files(c.lines);
        for (int i = 0; i < c.lines; ++i)
            expected.push_back(std::to_string(i + 1) + " " + files[static_cast<size_t>(i)]);
        std::vector<std::string> texts;
        for (const TPdfLine& line : pdf.Lines)
            texts.push_back(line.Text);
        EXPECT_EQ(texts, expected);
        if (texts != expected)
            continue;

        const double unitX = UnitPointsX();
        const double unitY = UnitPointsY();
        const int firstRow = c.header.empty() ? 5 : (c.spacing == THeaderSpacing::hsWithGap ? 17 : 13);
        size_t index = 0;
        if (!c.header.empty()) {
            const TPdfLine& header = pdf.Lines[0];
            EXPECT_EQ(header.Page, 1);
            EXPECT_NEAR(header.Left, 5 * unitX, 0.05);
            if (!headerSeen) {
                headerOffset = header.Top - 5 * unitY;
                headerSeen = true;
                EXPECT_GT(headerOffset, 0.0);
                EXPECT_LT(headerOffset, 12.0);
            }
            EXPECT_NEAR(header.Top - headerOffset, 5 * unitY, 0.05);
            index = 1;
        }
        for (int i = 0; i < c.lines; ++i, ++index) {
            const TPdfLine& line = pdf.Lines[index];
            const int page = i / kListingLinesPerPage + 1;
            const int row = (page == 1 ? firstRow : 5) + 5 * (i % kListingLinesPerPage);
            if (lineOffset == 0) {
                ASSERT_EQ(row, 5);
                lineOffset = line.Top - 5 * unitY;
                EXPECT_GT(lineOffset, 0.0);
                EXPECT_LT(lineOffset, 9.0);
            }
            EXPECT_EQ(line.Page, page) << line.Text;
            EXPECT_NEAR(line.Left, 5 * unitX, 0.05) << line.Text;
            EXPECT_NEAR(line.Top - lineOffset, row * unitY, 0.05) << line.Text;
        }
    }
}

}  // namespace
