#include "listing/print_layout.h"

std::int64_t RoundHalfEven(std::int64_t numerator, std::int64_t denominator)
{
    std::int64_t quotient = numerator / denominator;
    std::int64_t remainder = numerator % denominator;
    if (remainder < 0) {  // floor division, so the remainder is in [0, denominator)
        remainder += denominator;
        --quotient;
    }
    const std::int64_t twice = 2 * remainder;
    if (twice > denominator || (twice == denominator && quotient % 2 != 0))
        ++quotient;
    return quotient;
}

int LayoutUnit(int pixelsPerInch)
{
    return static_cast<int>(RoundHalfEven(pixelsPerInch, 25));
}

int FontHeightForPoints(int points, int pixelsPerInch)
{
    return -static_cast<int>(RoundHalfEven(static_cast<std::int64_t>(points) * pixelsPerInch, 72));
}
