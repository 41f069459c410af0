#pragma once
// The grid of the printed listing: units of 1/25 inch rounded to whole printer pixels, rows every
// 5 units from 5 units down, 55 lines a page, the header on the first page only, and the type sizes.
#include <cstdint>

constexpr int kListingColumn = 5;       // units from the left edge of the printable area
constexpr int kListingFirstRow = 5;     // units from its top
constexpr int kListingLineStep = 5;     // units from one line to the next
constexpr int kListingLinesPerPage = 55;
constexpr int kHeaderGapWith = 12;      // header to first line, "z odstępem"
constexpr int kHeaderGapWithout = 8;    // header to first line, "bez odstępu"
constexpr int kHeaderPoints = 12;
constexpr int kLinePoints = 9;
constexpr char kListingFace[] = "Times New Roman";

// numerator / denominator (> 0) rounded to the nearest integer, halfway values to the even one.
std::int64_t RoundHalfEven(std::int64_t numerator, std::int64_t denominator);

// Printer pixels in one layout unit: pixels per inch / 25, rounded (600 gives 24, 360 gives 14).
int LayoutUnit(int pixelsPerInch);

// The font height in printer pixels for a size in points: points * pixels per inch / 72, rounded,
// negated so the font is measured without its internal leading (9 points at 300 ppi give -38).
int FontHeightForPoints(int points, int pixelsPerInch);
