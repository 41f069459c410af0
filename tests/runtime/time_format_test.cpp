// The long time format a locale's settings give, and times formatted with it.
#include <gtest/gtest.h>

#include "runtime/time_format.h"

namespace {

TTimeSettings Settings(bool leadingZero, bool twelveHour, bool designatorFirst, const char* separator = ":",
                       const char* am = "AM", const char* pm = "PM")
{
    TTimeSettings s;
    s.LeadingZero = leadingZero;
    s.TwelveHour = twelveHour;
    s.DesignatorFirst = designatorFirst;
    s.Separator = separator;
    s.AM = am;
    s.PM = pm;
    return s;
}

std::string Long(const TTimeSettings& s, int h, int m, int sec)
{
    return FormatTime(LongTimeFormat(s), s, h, m, sec);
}

}  // namespace

TEST(LongTimeFormat, BuiltFromTheFourSettings)
{
    EXPECT_EQ(LongTimeFormat(Settings(true, false, false)), "hh:mm:ss");
    EXPECT_EQ(LongTimeFormat(Settings(false, false, false)), "h:mm:ss");
    // A 24-hour clock has no designator wherever the locale would put it.
    EXPECT_EQ(LongTimeFormat(Settings(true, false, true)), "hh:mm:ss");
    EXPECT_EQ(LongTimeFormat(Settings(false, true, false)), "h:mm:ss AMPM");
    EXPECT_EQ(LongTimeFormat(Settings(false, true, true)), "AMPM h:mm:ss");
    EXPECT_EQ(LongTimeFormat(Settings(true, true, true)), "AMPM hh:mm:ss");
}

TEST(FormatTime, TwentyFourHourClock)
{
    const TTimeSettings zero = Settings(true, false, false);
    EXPECT_EQ(Long(zero, 0, 5, 7), "00:05:07");
    EXPECT_EQ(Long(zero, 9, 5, 7), "09:05:07");
    EXPECT_EQ(Long(zero, 21, 5, 7), "21:05:07");
    EXPECT_EQ(Long(zero, 23, 59, 59), "23:59:59");
    // Without the leading zero only the hour loses it; minutes and seconds keep two digits.
    const TTimeSettings noZero = Settings(false, false, false, ".");
    EXPECT_EQ(Long(noZero, 0, 5, 7), "0.05.07");
    EXPECT_EQ(Long(noZero, 9, 5, 7), "9.05.07");
    EXPECT_EQ(Long(noZero, 21, 0, 0), "21.00.00");
}

TEST(FormatTime, TwelveHourClockCountsOneToTwelve)
{
    const TTimeSettings after = Settings(false, true, false);
    EXPECT_EQ(Long(after, 0, 5, 7), "12:05:07 AM");
    EXPECT_EQ(Long(after, 9, 5, 7), "9:05:07 AM");
    EXPECT_EQ(Long(after, 11, 59, 59), "11:59:59 AM");
    EXPECT_EQ(Long(after, 12, 0, 0), "12:00:00 PM");
    EXPECT_EQ(Long(after, 21, 5, 7), "9:05:07 PM");
    const TTimeSettings before = Settings(true, true, true, "-", "rano", "po");
    EXPECT_EQ(Long(before, 0, 5, 7), "rano 12-05-07");
    EXPECT_EQ(Long(before, 9, 5, 7), "rano 09-05-07");
    EXPECT_EQ(Long(before, 13, 5, 7), "po 01-05-07");
}

TEST(FormatTime, SubstitutedTextsAreNotReadAsFormat)
{
    // A separator or designator that looks like a format letter stays as it is.
    const TTimeSettings odd = Settings(true, true, false, "h", "mm", "ss");
    EXPECT_EQ(Long(odd, 1, 2, 3), "01h02h03 mm");
    EXPECT_EQ(Long(odd, 13, 2, 3), "01h02h03 ss");
    // A multi-character separator is used whole; an empty designator leaves its space.
    const TTimeSettings wide = Settings(false, true, false, " : ", "", "");
    EXPECT_EQ(Long(wide, 14, 30, 0), "2 : 30 : 00 ");
}
