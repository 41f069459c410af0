#include "shelltree/id_list.h"

#include <cstring>
#include <utility>

#include "runtime/exceptions.h"

namespace {

// Items need not be aligned: read the count byte by byte.
std::size_t ItemSize(const std::uint8_t* item)
{
    return static_cast<std::size_t>(item[0]) | (static_cast<std::size_t>(item[1]) << 8);
}

TIdList AllocOrRaise(IdListAllocator& allocator, std::size_t size)
{
    TIdList list = AllocIdList(allocator, size);
    if (!list)
        throw Exception("Out of memory");
    return list;
}

}  // namespace

TIdList::TIdList(IdListAllocator& allocator, void* list) noexcept
    : allocator_(list ? &allocator : nullptr), list_(static_cast<std::uint8_t*>(list))
{
}

TIdList::TIdList(TIdList&& other) noexcept
    : allocator_(std::exchange(other.allocator_, nullptr)), list_(std::exchange(other.list_, nullptr))
{
}

TIdList& TIdList::operator=(TIdList&& other) noexcept
{
    if (this != &other) {
        reset();
        allocator_ = std::exchange(other.allocator_, nullptr);
        list_ = std::exchange(other.list_, nullptr);
    }
    return *this;
}

std::uint8_t* TIdList::release() noexcept
{
    allocator_ = nullptr;
    return std::exchange(list_, nullptr);
}

void TIdList::reset() noexcept
{
    if (list_)
        allocator_->Free(list_);
    list_ = nullptr;
    allocator_ = nullptr;
}

TIdList AllocIdList(IdListAllocator& allocator, std::size_t size)
{
    void* block = allocator.Alloc(size);
    if (block)
        std::memset(block, 0, size);
    return TIdList(allocator, block);
}

const std::uint8_t* NextItemId(const std::uint8_t* item)
{
    return item + ItemSize(item);
}

std::size_t IdListSize(const void* list)
{
    if (!list)
        return 0;
    std::size_t size = 2;
    for (auto item = static_cast<const std::uint8_t*>(list); ItemSize(item) != 0; item = NextItemId(item))
        size += ItemSize(item);
    return size;
}

std::size_t IdListItemCount(const void* list)
{
    std::size_t count = 0;
    if (list)
        for (auto item = static_cast<const std::uint8_t*>(list); ItemSize(item) != 0; item = NextItemId(item))
            ++count;
    return count;
}

bool IdListEmpty(const void* list)
{
    return !list || ItemSize(static_cast<const std::uint8_t*>(list)) == 0;
}

const std::uint8_t* LastItemId(const void* list)
{
    if (IdListEmpty(list))
        return nullptr;
    auto item = static_cast<const std::uint8_t*>(list);
    const std::uint8_t* last = item;
    for (; ItemSize(item) != 0; item = NextItemId(item))
        last = item;
    return last;
}

bool SameIdListBytes(const void* a, const void* b)
{
    if (!a || !b)
        return a == b;
    const std::size_t size = IdListSize(a);
    return size == IdListSize(b) && std::memcmp(a, b, size) == 0;
}

TIdList CopyIdList(IdListAllocator& allocator, const void* list)
{
    if (!list)
        return {};
    const std::size_t size = IdListSize(list);
    TIdList copy = AllocOrRaise(allocator, size);
    std::memcpy(copy.get(), list, size);
    return copy;
}

TIdList JoinIdLists(IdListAllocator& allocator, const void* first, const void* second)
{
    static const std::uint8_t kEmpty[2] = {0, 0};
    if (!second)
        second = kEmpty;
    const std::size_t firstItems = first ? IdListSize(first) - 2 : 0;
    const std::size_t secondSize = IdListSize(second);
    TIdList joined = AllocOrRaise(allocator, firstItems + secondSize);
    if (firstItems)
        std::memcpy(joined.get(), first, firstItems);
    std::memcpy(joined.get() + firstItems, second, secondSize);
    return joined;
}

void StripLastItemId(void* list)
{
    if (IdListEmpty(list))
        return;
    auto item = static_cast<std::uint8_t*>(list);
    std::uint8_t* last = item;
    for (; ItemSize(item) != 0; item += ItemSize(item))
        last = item;
    last[0] = 0;
    last[1] = 0;
}

std::vector<TIdList> IdListPrefixes(IdListAllocator& allocator, const void* list)
{
    std::vector<TIdList> prefixes;
    const std::size_t count = IdListItemCount(list);
    prefixes.reserve(count);
    auto end = static_cast<const std::uint8_t*>(list);
    for (std::size_t n = 0; n < count; ++n) {
        // The first n items and a terminator.
        const std::size_t bytes = static_cast<std::size_t>(end - static_cast<const std::uint8_t*>(list));
        TIdList prefix = AllocOrRaise(allocator, bytes + 2);  // zero-filled: the terminator is there
        if (bytes)
            std::memcpy(prefix.get(), list, bytes);
        prefixes.push_back(std::move(prefix));
        end = NextItemId(end);
    }
    return prefixes;
}
