#pragma once
// What the saved and the printed listing share: the listing counter, the range of exported items and
// the text of a listing line.
#include <cstdint>
#include <string>

#include "listing/listing_options.h"

// The running line number of every export of this run, saved or printed: 0 at start, lost at exit.
std::int32_t ListingCounter();
void SetListingCounter(std::int32_t value);

// Starts an export, after its dialog was confirmed: numbering "separate" restarts the counter at 0.
void BeginListing(TNumbering numbering);

// The items an export covers: First, First + 1, ..., First + Count - 1.
struct TItemRange {
    int First = 0;
    int Count = 0;
};
// From the start position to the end of a list of itemCount items; empty when the start is past the end.
TItemRange ListingItemRange(int itemCount, int startPosition);

// Advances the counter and returns the line: the new number (nothing with "none"), a space, the item.
std::string ComposeListingLine(const std::string& item, TNumbering numbering);
// The same into line, whose memory a long listing reuses from one line to the next.
void ComposeListingLine(const std::string& item, TNumbering numbering, std::string& line);
