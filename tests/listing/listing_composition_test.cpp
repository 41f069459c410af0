// The listing counter, the item range and the text of a listing line, as both outputs use them.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "listing/listing_composition.h"

namespace {

// The item lines of one export, the way each output forms them.
std::vector<std::string> Export(const std::vector<std::string>& items, TNumbering numbering, int start)
{
    BeginListing(numbering);
    std::vector<std::string> lines;
    const TItemRange range = ListingItemRange(static_cast<int>(items.size()), start);
    for (int i = range.First; i < range.First + range.Count; ++i)
        lines.push_back(ComposeListingLine(items[static_cast<size_t>(i)], numbering));
    return lines;
}

const std::vector<std::string> kItems{"alfa.txt", "beta.txt", "gamma.txt"};

class ListingComposition : public testing::Test {
protected:
    void SetUp() override { SetListingCounter(0); }
    void TearDown() override { SetListingCounter(0); }
};

}  // namespace

TEST_F(ListingComposition, CommonNumberingGoesOnAcrossExports)
{
    EXPECT_EQ(Export(kItems, TNumbering::nmCommon, 1), (std::vector<std::string>{"1 beta.txt", "2 gamma.txt"}));
    EXPECT_EQ(Export(kItems, TNumbering::nmCommon, 1), (std::vector<std::string>{"3 beta.txt", "4 gamma.txt"}));
    EXPECT_EQ(ListingCounter(), 4);
}

TEST_F(ListingComposition, SeparateNumberingRestartsAndCountsLinesNotPositions)
{
    SetListingCounter(41);
    EXPECT_EQ(Export(kItems, TNumbering::nmSeparate, 1), (std::vector<std::string>{"1 beta.txt", "2 gamma.txt"}));
    EXPECT_EQ(Export(kItems, TNumbering::nmSeparate, 1), (std::vector<std::string>{"1 beta.txt", "2 gamma.txt"}));
    std::vector<std::string> seven;
    for (int i = 0; i < 7; ++i)
        seven.push_back(std::string(1, 'f').append(std::to_string(i)));
    EXPECT_EQ(Export(seven, TNumbering::nmSeparate, 5), (std::vector<std::string>{"1 f5", "2 f6"}));
}

TEST_F(ListingComposition, NoNumberingStillAdvancesTheCounter)
{
    EXPECT_EQ(Export(kItems, TNumbering::nmNone, 1), (std::vector<std::string>{" beta.txt", " gamma.txt"}));
    EXPECT_EQ(ListingCounter(), 2);
    Export(kItems, TNumbering::nmNone, 1);
    EXPECT_EQ(ListingCounter(), 4);

    SetListingCounter(0);
    const std::vector<std::string> ten(10, "x");
    Export(ten, TNumbering::nmNone, 0);
    EXPECT_EQ(Export({"next"}, TNumbering::nmCommon, 0), std::vector<std::string>{"11 next"});
}

TEST_F(ListingComposition, RangeFromTheStartToTheEnd)
{
    EXPECT_EQ(Export(kItems, TNumbering::nmCommon, 0).size(), 3u);
    EXPECT_EQ(Export(kItems, TNumbering::nmSeparate, 2), std::vector<std::string>{"1 gamma.txt"});  // n - 1
    const TItemRange last = ListingItemRange(3, 2);
    EXPECT_EQ(last.First, 2);
    EXPECT_EQ(last.Count, 1);
    // At or past the end, and on an empty list: no line, and the counter stays.
    SetListingCounter(7);
    EXPECT_TRUE(Export(kItems, TNumbering::nmCommon, 3).empty());
    EXPECT_TRUE(Export(kItems, TNumbering::nmCommon, 1000).empty());
    EXPECT_TRUE(Export({}, TNumbering::nmNone, 0).empty());
    EXPECT_EQ(ListingCounter(), 7);
    EXPECT_EQ(ListingItemRange(3, INT_MAX).Count, 0);
    // Only "separate" resets, even when nothing follows.
    EXPECT_TRUE(Export({}, TNumbering::nmSeparate, 0).empty());
    EXPECT_EQ(ListingCounter(), 0);
    // A negative start cannot come from the window; it is read as the first item, never before it.
    EXPECT_EQ(ListingItemRange(3, -4).First, 0);
    EXPECT_EQ(ListingItemRange(3, -4).Count, 3);
}

TEST_F(ListingComposition, CounterWrapsToNegativeLikeA32BitInteger)
{
    SetListingCounter(INT32_MAX - 1);
    EXPECT_EQ(ComposeListingLine("a", TNumbering::nmCommon), "2147483647 a");
    EXPECT_EQ(ComposeListingLine("b", TNumbering::nmCommon), "-2147483648 b");
    EXPECT_EQ(ComposeListingLine("c", TNumbering::nmCommon), "-2147483647 c");
}
