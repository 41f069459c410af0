// The listing line and the range of items an export covers. A line is the counter's new value in
// decimal (nothing with numbering "none"), one blank and the item exactly; the counter rises by one for
// every line, past its largest value on from its smallest. The range runs from the start position to the
// last item and never outside the list.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "listing/listing_composition.h"
#include "runtime/int_conversion.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 9)
        return 0;
    const auto word = [&](std::size_t at) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(data[at]) | (static_cast<std::uint32_t>(data[at + 1]) << 8) |
                                         (static_cast<std::uint32_t>(data[at + 2]) << 16) |
                                         (static_cast<std::uint32_t>(data[at + 3]) << 24));
    };
    const std::int32_t counter = word(0);
    const std::int32_t second = word(4);
    const auto numbering = static_cast<TNumbering>(data[8] % 3);
    const std::string item(reinterpret_cast<const char*>(data + 9), size - 9);

    // The range, for a list of any size and any start.
    const int count = second & 0x7FFFFFFF;
    const TItemRange range = ListingItemRange(count, counter);
    FUZZ_CHECK(range.Count >= 0 && range.First >= 0);
    FUZZ_CHECK(range.Count == 0 || static_cast<std::int64_t>(range.First) + range.Count == count);
    FUZZ_CHECK(range.Count == 0 || range.First == (counter < 0 ? 0 : counter));
    FUZZ_CHECK((range.Count == 0) == (std::max<std::int32_t>(counter, 0) >= count));

    SetListingCounter(counter);
    BeginListing(numbering);
    const std::int32_t before = ListingCounter();
    FUZZ_CHECK(before == (numbering == TNumbering::nmSeparate ? 0 : counter));
    const std::string line = ComposeListingLine(item, numbering);
    const std::int32_t after = ListingCounter();
    FUZZ_CHECK(static_cast<std::uint32_t>(after) == static_cast<std::uint32_t>(before) + 1u);

    const std::size_t blank = line.size() - item.size() - 1;
    FUZZ_CHECK(line.size() > item.size() && line[blank] == ' ' && line.compare(blank + 1, item.size(), item) == 0);
    const std::string number = line.substr(0, blank);
    if (numbering == TNumbering::nmNone) {
        FUZZ_CHECK(number.empty());
    } else {
        FUZZ_CHECK_MSG(TryStrToInt(number) == after, Shown(line));
        FUZZ_CHECK(number == std::to_string(static_cast<long long>(after)));
    }
    return 0;
}
