// The printed listing's grid and type: units of 1/25 inch and font heights in printer pixels, rounded
// half to even, for the resolutions printers have.
#include <gtest/gtest.h>

#include "listing/print_layout.h"

namespace {

TEST(RoundHalfEven, HalfwayGoesToTheEvenNeighbour)
{
    EXPECT_EQ(RoundHalfEven(5, 2), 2);    // 2.5
    EXPECT_EQ(RoundHalfEven(7, 2), 4);    // 3.5
    EXPECT_EQ(RoundHalfEven(75, 2), 38);  // 37.5
    EXPECT_EQ(RoundHalfEven(73, 2), 36);  // 36.5
    EXPECT_EQ(RoundHalfEven(-5, 2), -2);
    EXPECT_EQ(RoundHalfEven(-7, 2), -4);
    EXPECT_EQ(RoundHalfEven(144, 10), 14);
    EXPECT_EQ(RoundHalfEven(146, 10), 15);
    EXPECT_EQ(RoundHalfEven(0, 25), 0);
}

TEST(LayoutUnit, TwentyFifthOfAnInchNotAMillimetre)
{
    EXPECT_EQ(LayoutUnit(300), 12);
    EXPECT_EQ(LayoutUnit(360), 14);  // 14.4
    EXPECT_EQ(LayoutUnit(600), 24);
    EXPECT_EQ(LayoutUnit(720), 29);  // 28.8
    EXPECT_EQ(LayoutUnit(150), 6);
    EXPECT_EQ(LayoutUnit(96), 4);    // 3.84
    EXPECT_EQ(LayoutUnit(1200), 48);
    EXPECT_EQ(LayoutUnit(62), 2);    // 2.48
    EXPECT_EQ(LayoutUnit(63), 3);    // 2.52
    EXPECT_EQ(LayoutUnit(75), 3);    // 3.0 exactly
    EXPECT_EQ(LayoutUnit(1000), 40);
}

TEST(FontHeightForPoints, HeaderAndLineSizesAtPrinterResolutions)
{
    struct Case {
        int ppi, header, line;
    };
    // 12 pt and 9 pt: 300 -> 50, 37.5 (even 38); 360 -> 60, 45; 600 -> 100, 75; 720 -> 120, 90.
    for (const Case c : {Case{300, -50, -38}, Case{360, -60, -45}, Case{600, -100, -75}, Case{720, -120, -90}}) {
        EXPECT_EQ(FontHeightForPoints(kHeaderPoints, c.ppi), c.header) << c.ppi;
        EXPECT_EQ(FontHeightForPoints(kLinePoints, c.ppi), c.line) << c.ppi;
    }
    // A half that rounds down to the even value: 9 pt at 100 ppi is 12.5.
    EXPECT_EQ(FontHeightForPoints(9, 100), -12);
    EXPECT_EQ(FontHeightForPoints(9, 96), -12);
}

}  // namespace
