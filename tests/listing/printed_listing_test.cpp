// The printed listing on a scripted printer whose device contexts record what is drawn: the grid at
// several resolutions, the header rows, the fonts, the page breaks, the counter, and a failure mid-way.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_spooler.h"
#include "listing/listing_composition.h"
#include "listing/printed_listing.h"
#include "dialogs/print_dialog.h"
#include "printing/printer.h"
#include "runtime/exceptions.h"

namespace {

// The texts of one page, in the order drawn.
using Page = std::vector<TDrawnItem>;

std::vector<std::string> Numbered(int count, int first = 1)
{
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i)
        lines.push_back(std::to_string(first + i) + " plik" + std::to_string(i) + ".txt");
    return lines;
}

TListingItemsReader ItemsOf(std::vector<std::string> items)
{
    return [items](TListingSource) { return std::make_unique<TStringListingItems>(items); };
}

std::vector<std::string> Files(int count)
{
    std::vector<std::string> files;
    for (int i = 0; i < count; ++i)
        files.push_back("plik" + std::to_string(i) + ".txt");
    return files;
}

class PrintedListingTest : public testing::Test {
protected:
    PrintedListingTest()
    {
        fake.Printers = {{"Laser", ""}};
        fake.ProfileDevice = "Laser,winspool,LPT1:";
        SetListingCounter(0);
        options.Numbering = TNumbering::nmSeparate;
    }

    TPrinter& Printer()
    {
        if (!printer)
            printer = std::make_unique<TPrinter>(Borrow(fake));
        return *printer;
    }

    void Print(const std::vector<std::string>& items)
    {
        TPrintedListing listing(Printer());
        listing.Print(options, ItemsOf(items));
        units = {listing.HorizontalUnit(), listing.VerticalUnit()};
    }

    // The pages of the one document printed, once the printer has let go of its device context.
    std::vector<Page> Pages()
    {
        printer.reset();
        std::vector<Page> pages;
        EXPECT_EQ(fake.Drawings.size(), 1u);
        if (fake.Drawings.empty())
            return pages;
        bool open = false;
        for (const TDrawnItem& item : fake.Drawings.back()) {
            if (item.Mark == "StartPage") {
                EXPECT_FALSE(open);
                pages.emplace_back();
                open = true;
            } else if (item.Mark == "EndPage") {
                EXPECT_TRUE(open);
                open = false;
            } else {
                EXPECT_TRUE(open) << "drawn outside a page: " << item.Text;
                if (!pages.empty())
                    pages.back().push_back(item);
            }
        }
        EXPECT_FALSE(open);
        return pages;
    }

    static std::vector<std::string> TextsOf(const Page& page)
    {
        std::vector<std::string> texts;
        for (const TDrawnItem& item : page)
            texts.push_back(item.Text);
        return texts;
    }

    // Rows in units, from the pixel positions.
    std::vector<int> RowsOf(const Page& page) const
    {
        std::vector<int> rows;
        for (const TDrawnItem& item : page) {
            EXPECT_EQ(item.Y % units.second, 0) << item.Text;
            rows.push_back(item.Y / units.second);
        }
        return rows;
    }

    static std::vector<int> Rows(int first, int count)
    {
        std::vector<int> rows;
        for (int i = 0; i < count; ++i)
            rows.push_back(first + 5 * i);
        return rows;
    }

    TFakeSpooler fake;
    std::unique_ptr<TPrinter> printer;
    ListingOptions options;
    std::pair<int, int> units{0, 0};
};

TEST_F(PrintedListingTest, GridAndTypeAtPrinterResolutions)
{
    struct Case {
        int ppiX, ppiY, unitX, unitY, header, line;
    };
    for (const Case c : {Case{300, 300, 12, 12, -50, -38}, Case{360, 360, 14, 14, -60, -45},
                         Case{600, 600, 24, 24, -100, -75}, Case{720, 720, 29, 29, -120, -90},
                         Case{600, 300, 24, 12, -50, -38}}) {
        SCOPED_TRACE(std::to_string(c.ppiX) + "x" + std::to_string(c.ppiY));
        fake = TFakeSpooler();
        fake.Printers = {{"Laser", ""}};
        fake.ProfileDevice = "Laser";
        fake.PixelsPerInchX = c.ppiX;
        fake.PixelsPerInchY = c.ppiY;
        options.Header = "Nag\xB3\xF3wek listy";
        Print(Files(2));
        EXPECT_EQ(units, std::make_pair(c.unitX, c.unitY));
        const std::vector<Page> pages = Pages();
        ASSERT_EQ(pages.size(), 1u);
        ASSERT_EQ(pages[0].size(), 3u);
        const TDrawnItem& header = pages[0][0];
        EXPECT_EQ(header.Text, "Nag\xB3\xF3wek listy");
        EXPECT_EQ(header.X, 5 * c.unitX);
        EXPECT_EQ(header.Y, 5 * c.unitY);
        EXPECT_EQ(header.FontFace, "Times New Roman");
        EXPECT_EQ(header.FontHeight, c.header);
        for (int i = 1; i <= 2; ++i) {
            EXPECT_EQ(pages[0][i].X, 5 * c.unitX);
            EXPECT_EQ(pages[0][i].Y, (12 + 5 * i) * c.unitY);
            EXPECT_EQ(pages[0][i].FontFace, "Times New Roman");
            EXPECT_EQ(pages[0][i].FontHeight, c.line);
        }
        EXPECT_EQ(TextsOf(pages[0]), (std::vector<std::string>{"Nag\xB3\xF3wek listy", "1 plik0.txt", "2 plik1.txt"}));
    }
}

TEST_F(PrintedListingTest, RowsWithAndWithoutHeaderOnAFullFirstPage)
{
    struct Case {
        std::string header;
        THeaderSpacing spacing;
        int firstRow;
    };
    for (const Case& c : {Case{"Spis", THeaderSpacing::hsWithGap, 17}, Case{"Spis", THeaderSpacing::hsWithoutGap, 13},
                          Case{"", THeaderSpacing::hsWithGap, 5}, Case{"   ", THeaderSpacing::hsWithoutGap, 13}}) {
        SCOPED_TRACE("header '" + c.header + "' first row " + std::to_string(c.firstRow));
        printer.reset();
        fake.Drawings.clear();
        options.Header = c.header;
        options.HeaderSpacing = c.spacing;
        Print(Files(55));
        const std::vector<Page> pages = Pages();
        ASSERT_EQ(pages.size(), 1u);
        Page lines = pages[0];
        if (!c.header.empty()) {
            EXPECT_EQ(lines.front().Text, c.header);
            EXPECT_EQ(lines.front().Y, 5 * units.second);
            lines.erase(lines.begin());
        }
        EXPECT_EQ(RowsOf(lines), Rows(c.firstRow, 55));  // the last at 287, 283, 275
        EXPECT_EQ(TextsOf(lines), Numbered(55));
    }
}

TEST_F(PrintedListingTest, FiftyFiveLinesAPageAndNoEmptyPageAfterAFullOne)
{
    struct Case {
        std::string header;
        int lines;
        std::vector<int> perPage;
    };
    for (const Case& c : {Case{"", 0, {0}}, Case{"Spis", 0, {1}}, Case{"Spis", 1, {2}}, Case{"Spis", 55, {56}},
                          Case{"Spis", 56, {56, 1}}, Case{"Spis", 110, {56, 55}}, Case{"Spis", 111, {56, 55, 1}},
                          Case{"Spis", 200, {56, 55, 55, 35}}}) {
        SCOPED_TRACE(std::to_string(c.lines) + " lines, header '" + c.header + "'");
        printer.reset();
        fake.Drawings.clear();
        options.Header = c.header;
        Print(Files(c.lines));
        const std::vector<Page> pages = Pages();
        std::vector<int> perPage;
        std::vector<std::string> all;
        for (const Page& page : pages) {
            perPage.push_back(static_cast<int>(page.size()));
            for (const std::string& text : TextsOf(page))
                all.push_back(text);
        }
        EXPECT_EQ(perPage, c.perPage);
        // The header once, first; then every line in order. Without either, one empty page.
        std::vector<std::string> expected;
        if (!c.header.empty())
            expected.push_back(c.header);
        for (const std::string& line : Numbered(c.lines))
            expected.push_back(line);
        EXPECT_EQ(all, expected);
        for (size_t p = 1; p < pages.size(); ++p)
            EXPECT_EQ(RowsOf(pages[p]), Rows(5, static_cast<int>(pages[p].size())));
    }
}

TEST_F(PrintedListingTest, CounterAndRangeAsForTheSavedListing)
{
    options.Numbering = TNumbering::nmCommon;
    options.StartPosition = 5;
    Print(Files(7));
    options.Numbering = TNumbering::nmNone;
    Print(Files(7));
    options.Numbering = TNumbering::nmCommon;
    options.StartPosition = 6;
    Print(Files(7));
    options.StartPosition = 7;  // past the end: no line, the counter stays
    options.Header = "Pusta";
    Print(Files(7));
    EXPECT_EQ(ListingCounter(), 5);
    printer.reset();
    ASSERT_EQ(fake.Drawings.size(), 1u);  // one device context served all four documents
    std::vector<std::string> texts;
    for (const TDrawnItem& item : fake.Drawings[0])
        if (item.Mark.empty())
            texts.push_back(item.Text);
    EXPECT_EQ(texts, (std::vector<std::string>{"1 plik5.txt", "2 plik6.txt", " plik5.txt", " plik6.txt",
                                               "5 plik6.txt", "Pusta"}));
}

TEST_F(PrintedListingTest, FailureMidwayAbandonsTheDocumentSoTheNextPrintWorks)
{
    TPrintedListing listing(Printer());
    auto failing = [](TListingSource) -> std::unique_ptr<TListingItems> { throw Exception("lista niedost\xEApna"); };
    EXPECT_THROW(listing.Print(options, failing), Exception);
    EXPECT_FALSE(Printer().IsPrinting());
    EXPECT_EQ(LogLines(fake.Log, "AbortDoc").size(), 1u);
    EXPECT_EQ(LogLines(fake.Log, "EndDoc").size(), 0u);

    Print(Files(3));
    EXPECT_EQ(LogLines(fake.Log, "EndDoc").size(), 1u);
}

TEST_F(PrintedListingTest, NoPrinterFailsBeforeTheCounterIsTouched)
{
    fake.Printers.clear();
    SetListingCounter(9);
    try {
        Print(Files(3));
        FAIL() << "no error";
    } catch (const EPrinter& e) {
        EXPECT_STREQ(e.what(), "There is no default printer currently selected");
    }
    EXPECT_EQ(ListingCounter(), 9);
}

// The command itself: the dialog first, the options read once it is confirmed.
class PrintListingCommand : public PrintedListingTest {
protected:
    void SetUp() override
    {
        previous_ = SetSharedPrinter(std::make_unique<TPrinter>(Borrow(fake)));
        saved_ = PrintDialogFunction;
        PrintDialogFunction = [this](PRINTDLGA*) {
            ++dialogs;
            return confirm;
        };
    }
    void TearDown() override
    {
        PrintDialogFunction = saved_;
        SetSharedPrinter(std::move(previous_));
    }

    TPrintDialog dialog{nullptr};
    BOOL confirm = TRUE;
    int dialogs = 0;
    int optionReads = 0;

    bool Run(const std::vector<std::string>& items)
    {
        return PrintListing(
            dialog,
            [this] {
                ++optionReads;
                return options;
            },
            ItemsOf(items));
    }

private:
    std::unique_ptr<TPrinter> previous_;
    TPrintDialogFunction saved_;
};

TEST_F(PrintListingCommand, CancelPrintsNothingAndLeavesTheCounter)
{
    SetListingCounter(4);
    confirm = FALSE;
    EXPECT_FALSE(Run(Files(3)));
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(optionReads, 0);
    EXPECT_EQ(ListingCounter(), 4);
    EXPECT_TRUE(LogLines(fake.Log, "StartDocA").empty());

    confirm = TRUE;
    EXPECT_TRUE(Run(Files(3)));
    EXPECT_EQ(optionReads, 1);
    EXPECT_EQ(ListingCounter(), 3);  // separate numbering
    EXPECT_EQ(LogLines(fake.Log, "EndDoc").size(), 1u);
}

}  // namespace
