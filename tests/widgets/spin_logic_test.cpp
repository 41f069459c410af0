// The spin edit's number rules without a window: text to number, clamping, wrap-around, accepted keys.
#include <gtest/gtest.h>

#include <climits>

#include "runtime/int_conversion.h"
#include "widgets/spin_logic.h"

TEST(TryStrToInt, DecimalWithBlanksAndSign)
{
    EXPECT_EQ(TryStrToInt("0"), 0);
    EXPECT_EQ(TryStrToInt("  42"), 42);
    EXPECT_EQ(TryStrToInt("+7"), 7);
    EXPECT_EQ(TryStrToInt("-5"), -5);
    EXPECT_EQ(TryStrToInt("007"), 7);
    EXPECT_EQ(TryStrToInt("2147483647"), INT_MAX);
    EXPECT_EQ(TryStrToInt("-2147483648"), INT_MIN);
}

TEST(TryStrToInt, HexadecimalPrefixesAsA32BitPattern)
{
    EXPECT_EQ(TryStrToInt("$FF"), 255);
    EXPECT_EQ(TryStrToInt("x1a"), 26);
    EXPECT_EQ(TryStrToInt("X1A"), 26);
    EXPECT_EQ(TryStrToInt("0x10"), 16);
    EXPECT_EQ(TryStrToInt("0X10"), 16);
    EXPECT_EQ(TryStrToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(TryStrToInt("$80000000"), INT_MIN);
    EXPECT_EQ(TryStrToInt("-$10"), -16);
    EXPECT_EQ(TryStrToInt("$100000000"), std::nullopt);  // more than 32 bits
}

TEST(TryStrToInt, RefusesWhatIsNotAWholeNumber)
{
    for (const char* text : {"", " ", "+", "-", "$", "0x", "1,5", "1.5", "12 ", "1a", "2147483648",
                             "-2147483649", "99999999999", "--1", "$G"})
        EXPECT_EQ(TryStrToInt(text), std::nullopt) << '"' << text << '"';
    EXPECT_EQ(StrToIntDef("1,5", 3), 3);
}

TEST(ClampSpinValue, NoLimitsWhenEqualOtherwiseInside)
{
    EXPECT_EQ(ClampSpinValue(-5, 0, 0), -5);
    EXPECT_EQ(ClampSpinValue(INT_MIN, 7, 7), INT_MIN);
    EXPECT_EQ(ClampSpinValue(20, 1, 10), 10);
    EXPECT_EQ(ClampSpinValue(-3, 1, 10), 1);
    EXPECT_EQ(ClampSpinValue(5, 1, 10), 5);
}

TEST(WrappingAdd, StepsWrapAroundIn32Bits)
{
    EXPECT_EQ(WrappingAdd(INT_MAX, 1), INT_MIN);
    EXPECT_EQ(WrappingAdd(INT_MIN, -1), INT_MAX);
    EXPECT_EQ(WrappingAdd(0, -1), -1);
}

TEST(IsAcceptedSpinChar, DigitsSignsSeparatorAndControlsButNotEnter)
{
    for (char c : std::string("0123456789+-,"))
        EXPECT_TRUE(IsAcceptedSpinChar(c, ',', true)) << c;
    EXPECT_FALSE(IsAcceptedSpinChar('.', ',', true));  // not this user's separator
    EXPECT_TRUE(IsAcceptedSpinChar('.', '.', true));
    EXPECT_FALSE(IsAcceptedSpinChar('a', ',', true));
    EXPECT_FALSE(IsAcceptedSpinChar(' ', ',', true));
    EXPECT_FALSE(IsAcceptedSpinChar('\r', ',', true));  // Enter always refused
    EXPECT_TRUE(IsAcceptedSpinChar('\b', ',', true));
    EXPECT_TRUE(IsAcceptedSpinChar('\x03', ',', true));  // Ctrl+C
    // With the editor disabled: nothing printable and no backspace, other controls still pass.
    EXPECT_FALSE(IsAcceptedSpinChar('5', ',', false));
    EXPECT_FALSE(IsAcceptedSpinChar('\b', ',', false));
    EXPECT_TRUE(IsAcceptedSpinChar('\x03', ',', false));
    EXPECT_FALSE(IsAcceptedSpinChar('\r', ',', false));
}
