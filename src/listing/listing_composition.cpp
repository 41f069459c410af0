#include "listing/listing_composition.h"

namespace {
std::int32_t g_listingCounter = 0;
}  // namespace

std::int32_t ListingCounter()
{
    return g_listingCounter;
}

void SetListingCounter(std::int32_t value)
{
    g_listingCounter = value;
}

void BeginListing(TNumbering numbering)
{
    if (numbering == TNumbering::nmSeparate)
        g_listingCounter = 0;
}

TItemRange ListingItemRange(int itemCount, int startPosition)
{
    // The window never hands over a negative start; should one come, the list starts at its first item.
    const int first = startPosition < 0 ? 0 : startPosition;
    if (first >= itemCount)
        return TItemRange{first, 0};
    return TItemRange{first, itemCount - first};
}

std::string ComposeListingLine(const std::string& item, TNumbering numbering)
{
    std::string line;
    ComposeListingLine(item, numbering, line);
    return line;
}

void ComposeListingLine(const std::string& item, TNumbering numbering, std::string& line)
{
    // A 32-bit counter: past its largest value it goes on from the smallest, as the number shows.
    g_listingCounter = static_cast<std::int32_t>(static_cast<std::uint32_t>(g_listingCounter) + 1u);
    line.clear();
    if (numbering != TNumbering::nmNone)
        line += std::to_string(g_listingCounter);
    line += ' ';
    line += item;
}
