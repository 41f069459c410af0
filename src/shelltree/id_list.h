#pragma once
// Item ID lists as the shell lays them out: a run of items, each a 16-bit little-endian byte count (the
// count itself included) followed by its data, ended by a zero count. The empty list (the terminator alone)
// is the folder itself; relative to the desktop it is the desktop. Every list is owned by a TIdList, which
// releases it through the allocator that made it.
#include <cstddef>
#include <cstdint>
#include <vector>

// Where lists come from and go back to: the shell's task allocator in the program, anything in tests.
class IdListAllocator {
public:
    // A block of at least size bytes, or nullptr when there is none.
    virtual void* Alloc(std::size_t size) noexcept = 0;
    virtual void Free(void* block) noexcept = 0;

protected:
    ~IdListAllocator() = default;
};

// One owned list, or none.
class TIdList {
public:
    TIdList() = default;
    // Takes over a list that allocator made (nullptr gives none).
    TIdList(IdListAllocator& allocator, void* list) noexcept;
    ~TIdList() { reset(); }
    TIdList(TIdList&& other) noexcept;
    TIdList& operator=(TIdList&& other) noexcept;
    TIdList(const TIdList&) = delete;
    TIdList& operator=(const TIdList&) = delete;

    std::uint8_t* get() const { return list_; }
    explicit operator bool() const { return list_ != nullptr; }
    IdListAllocator* Allocator() const { return allocator_; }
    // Gives the list up; the caller frees it with Allocator().
    std::uint8_t* release() noexcept;
    void reset() noexcept;

private:
    IdListAllocator* allocator_ = nullptr;
    std::uint8_t* list_ = nullptr;
};

// A new zero-filled block of size bytes, or none when the allocator gives none.
TIdList AllocIdList(IdListAllocator& allocator, std::size_t size);
// The position just after the item at item.
const std::uint8_t* NextItemId(const std::uint8_t* item);
// 0 for none; otherwise 2 plus the byte counts of all items.
std::size_t IdListSize(const void* list);
// The number of items before the terminator; 0 for none.
std::size_t IdListItemCount(const void* list);
// True for none and for the empty list.
bool IdListEmpty(const void* list);
// The last item of the list, which with the terminator after it is a one-item list; none for an empty list.
const std::uint8_t* LastItemId(const void* list);
// Whether two lists hold the same bytes (two nones are alike; none and a list are not).
bool SameIdListBytes(const void* a, const void* b);
// A new list holding the same bytes; none for none. Raises when the allocator has no memory.
TIdList CopyIdList(IdListAllocator& allocator, const void* list);
// A new list: the items of first (which may be none) followed by the whole of second (none counts as empty).
TIdList JoinIdLists(IdListAllocator& allocator, const void* first, const void* second);
// Cuts the list in place before its last item; an empty list (or none) stays as it is.
void StripLastItemId(void* list);
// All proper prefixes of list, from the empty list up to the list without its last item, shortest first:
// n lists for a list of n items, none for the empty list.
std::vector<TIdList> IdListPrefixes(IdListAllocator& allocator, const void* list);
