// The names the shell hands back and the item ID lists they may live in. A name stored in a list's first
// item (STRRET_OFFSET) or in the fixed buffer (STRRET_CSTR) is read no further than its item or buffer,
// holds no terminator, and is the bytes found there; a cleaned name only loses "?" and cleaning it again
// changes nothing. A list made of the input's items measures, copies, joins, cuts and splits into
// prefixes consistently.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "shelltree/id_list.h"
#include "shelltree/shell_names.h"

namespace {

class CheckedAllocator : public IdListAllocator {
public:
    void* Alloc(std::size_t size) noexcept override
    {
        void* block = ::operator new(size == 0 ? 1 : size, std::nothrow);
        if (block)
            live_[block] = size;
        return block;
    }
    void Free(void* block) noexcept override
    {
        if (!block)
            return;
        FUZZ_CHECK(live_.erase(block) == 1);
        ::operator delete(block);
    }
    ~CheckedAllocator() { FUZZ_CHECK(live_.empty()); }

private:
    std::map<void*, std::size_t> live_;
};

void CheckName(const std::string& raw, const std::string& read, std::size_t room)
{
    FUZZ_CHECK(read.size() <= room);
    FUZZ_CHECK(read.find('\0') == std::string::npos);
    FUZZ_CHECK(raw.compare(0, read.size(), read) == 0);
    FUZZ_CHECK(read.size() == room || raw[read.size()] == '\0');

    const std::string clean = CleanDisplayName(read);
    FUZZ_CHECK(CleanDisplayName(clean) == clean);
    std::string withoutMarks = read;
    withoutMarks.erase(std::remove(withoutMarks.begin(), withoutMarks.end(), '?'), withoutMarks.end());
    FUZZ_CHECK_MSG(clean == read || clean == withoutMarks, Shown(read) + " gave " + Shown(clean));
    // The shell's marks before a digit go; a name that merely starts with "?" keeps them.
    const bool marked = read.size() > 1 && read[0] == '?' && read[1] >= '0' && read[1] <= '9';
    FUZZ_CHECK_MSG(marked == (clean != read), Shown(read) + " gave " + Shown(clean));
    FUZZ_CHECK(IsClassIdName(read) == (read.rfind("::{", 0) == 0));
}

// Items from the input: each takes a length byte (at least 2, the count itself) and that many bytes.
std::vector<std::uint8_t> ListFrom(const std::uint8_t*& data, std::size_t& size, std::size_t maxItems)
{
    std::vector<std::uint8_t> list;
    for (std::size_t n = 0; n < maxItems && size >= 1; ++n) {
        const std::size_t count = 2 + data[0] % 40;
        ++data;
        --size;
        list.push_back(static_cast<std::uint8_t>(count));
        list.push_back(0);
        for (std::size_t i = 2; i < count; ++i) {
            list.push_back(size ? *data : 0);
            if (size) {
                ++data;
                --size;
            }
        }
    }
    list.push_back(0);
    list.push_back(0);
    return list;
}

void CheckLists(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b)
{
    CheckedAllocator allocator;
    FUZZ_CHECK(IdListSize(a.data()) == a.size());
    FUZZ_CHECK(IdListSize(nullptr) == 0);
    const std::size_t items = IdListItemCount(a.data());
    FUZZ_CHECK(IdListEmpty(a.data()) == (items == 0));

    TIdList copy = CopyIdList(allocator, a.data());
    FUZZ_CHECK(copy && std::memcmp(copy.get(), a.data(), a.size()) == 0);

    TIdList joined = JoinIdLists(allocator, a.data(), b.data());
    FUZZ_CHECK(IdListSize(joined.get()) == a.size() + b.size() - 2);
    FUZZ_CHECK(IdListItemCount(joined.get()) == items + IdListItemCount(b.data()));
    FUZZ_CHECK(std::memcmp(joined.get(), a.data(), a.size() - 2) == 0);
    FUZZ_CHECK(std::memcmp(joined.get() + a.size() - 2, b.data(), b.size()) == 0);

    const std::vector<TIdList> prefixes = IdListPrefixes(allocator, a.data());
    FUZZ_CHECK(prefixes.size() == items);
    for (std::size_t i = 0; i < prefixes.size(); ++i) {
        FUZZ_CHECK(IdListItemCount(prefixes[i].get()) == i);
        const std::size_t bytes = IdListSize(prefixes[i].get()) - 2;
        FUZZ_CHECK(std::memcmp(prefixes[i].get(), a.data(), bytes) == 0);
    }

    StripLastItemId(copy.get());
    FUZZ_CHECK(IdListItemCount(copy.get()) == (items ? items - 1 : 0));
    if (items)
        FUZZ_CHECK(IdListSize(copy.get()) == IdListSize(prefixes.back().get()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::size_t offset = data[0];
    const bool cstr = data[1] & 1;
    data += 2;
    size -= 2;

    if (cstr) {
        // The fixed buffer of a STRRET, as the shell may fill it: up to its end, with or without terminator.
        char buffer[260];
        const std::size_t n = size < sizeof(buffer) ? size : sizeof(buffer);
        std::memcpy(buffer, data, n);
        std::memset(buffer + n, 'x', sizeof(buffer) - n);
        const std::string raw(buffer, sizeof(buffer));
        CheckName(raw, BoundedNameText(buffer, sizeof(buffer)), sizeof(buffer));
        return 0;
    }

    // A name stored inside the first item of a list: the item alone is allocated, so a read past it is caught.
    const std::vector<std::uint8_t> list = ListFrom(data, size, 3);
    const std::size_t itemSize = list[0];  // 0 for the empty list, whose terminator is all there is
    std::vector<std::uint8_t> firstItem(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(std::max<std::size_t>(itemSize, 2)));
    const std::string name = OffsetNameText(firstItem.data(), offset);
    if (offset >= itemSize)
        FUZZ_CHECK(name.empty());
    else
        CheckName(std::string(firstItem.begin() + static_cast<std::ptrdiff_t>(offset), firstItem.end()), name,
                  itemSize - offset);
    FUZZ_CHECK(OffsetNameText(nullptr, offset).empty());

    const std::vector<std::uint8_t> second = ListFrom(data, size, 4);
    CheckLists(list, second);
    return 0;
}
