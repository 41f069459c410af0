// Item ID list operations on hand-built lists; every block goes back to the allocator that made it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

#include "shelltree/id_list.h"

namespace {

// Hands out malloc blocks and remembers them, so a test sees a leak, a foreign free or a double free.
class CountingAllocator : public IdListAllocator {
public:
    ~CountingAllocator() { EXPECT_TRUE(live.empty()) << live.size() << " list(s) never freed"; }
    void* Alloc(std::size_t size) noexcept override
    {
        if (failNext) {
            failNext = false;
            return nullptr;
        }
        void* p = std::malloc(size ? size : 1);
        std::memset(p, 0xCD, size);  // the operation must clear or fill every byte itself
        live.insert(p);
        return p;
    }
    void Free(void* block) noexcept override
    {
        EXPECT_EQ(live.erase(block), 1u) << "freed a block this allocator did not hand out";
        std::free(block);
    }
    std::set<void*> live;
    bool failNext = false;
};

// A list of items with the given byte counts; item k's data bytes are all k + 1.
std::vector<std::uint8_t> MakeList(std::initializer_list<unsigned> itemSizes)
{
    std::vector<std::uint8_t> bytes;
    std::uint8_t fill = 1;
    for (unsigned size : itemSizes) {
        bytes.push_back(static_cast<std::uint8_t>(size & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(size >> 8));
        bytes.insert(bytes.end(), size - 2, fill++);
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

std::vector<std::uint8_t> Bytes(const TIdList& list)
{
    return std::vector<std::uint8_t>(list.get(), list.get() + IdListSize(list.get()));
}

}  // namespace

TEST(IdList, SizeCountsTheTerminatorAndEveryItem)
{
    EXPECT_EQ(IdListSize(nullptr), 0u);
    EXPECT_EQ(IdListSize(MakeList({}).data()), 2u);
    EXPECT_EQ(IdListSize(MakeList({20, 14}).data()), 36u);
    // A count above 255 uses both bytes of the little-endian count.
    EXPECT_EQ(IdListSize(MakeList({300, 4}).data()), 306u);
    EXPECT_EQ(IdListItemCount(MakeList({20, 14, 6}).data()), 3u);
    const auto list = MakeList({20, 14});
    EXPECT_EQ(NextItemId(list.data()), list.data() + 20);
    EXPECT_TRUE(IdListEmpty(nullptr));
    EXPECT_TRUE(IdListEmpty(MakeList({}).data()));
    EXPECT_FALSE(IdListEmpty(list.data()));
}

TEST(IdList, AllocGivesZeroFilledBlocksOrNone)
{
    CountingAllocator a;
    TIdList list = AllocIdList(a, 6);
    ASSERT_TRUE(list);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(list.get()[i], 0);
    a.failNext = true;
    EXPECT_FALSE(AllocIdList(a, 6));
}

TEST(IdList, CopyAndJoin)
{
    CountingAllocator a;
    const auto l = MakeList({20, 14});
    EXPECT_EQ(Bytes(CopyIdList(a, l.data())), l);
    EXPECT_FALSE(CopyIdList(a, nullptr));

    // No first list, and the empty first list, both give a copy of the second.
    EXPECT_EQ(Bytes(JoinIdLists(a, nullptr, l.data())), l);
    EXPECT_EQ(Bytes(JoinIdLists(a, MakeList({}).data(), l.data())), l);
    // The first list's items, then the whole second list.
    EXPECT_EQ(Bytes(JoinIdLists(a, MakeList({6}).data(), MakeList({4, 5}).data())),
              (std::vector<std::uint8_t>{6, 0, 1, 1, 1, 1, 4, 0, 1, 1, 5, 0, 2, 2, 2, 0, 0}));
    EXPECT_EQ(Bytes(JoinIdLists(a, l.data(), nullptr)), l);
    EXPECT_EQ(IdListSize(JoinIdLists(a, l.data(), l.data()).get()), 70u);

    a.failNext = true;
    EXPECT_THROW(CopyIdList(a, l.data()), std::exception);
}

TEST(IdList, StripLastItemCutsInPlace)
{
    auto three = MakeList({5, 6, 7});
    StripLastItemId(three.data());
    EXPECT_EQ(IdListItemCount(three.data()), 2u);
    EXPECT_EQ(IdListSize(three.data()), 13u);
    auto one = MakeList({9});
    StripLastItemId(one.data());
    EXPECT_TRUE(IdListEmpty(one.data()));
    auto empty = MakeList({});
    StripLastItemId(empty.data());
    EXPECT_TRUE(IdListEmpty(empty.data()));
    StripLastItemId(nullptr);
}

TEST(IdList, LastItemIsAOneItemListAndBytesCompareWhole)
{
    const auto l = MakeList({4, 5, 3});
    const std::uint8_t* last = LastItemId(l.data());
    ASSERT_EQ(last, l.data() + 9);
    EXPECT_EQ(IdListSize(last), 5u);  // the item and the list's own terminator
    EXPECT_EQ(LastItemId(MakeList({}).data()), nullptr);
    EXPECT_EQ(LastItemId(nullptr), nullptr);

    EXPECT_TRUE(SameIdListBytes(l.data(), MakeList({4, 5, 3}).data()));
    EXPECT_FALSE(SameIdListBytes(l.data(), MakeList({4, 5}).data()));  // a prefix is not the list
    auto changed = MakeList({4, 5, 3});
    changed[11] = 9;  // a data byte of the last item
    EXPECT_FALSE(SameIdListBytes(l.data(), changed.data()));
    EXPECT_TRUE(SameIdListBytes(nullptr, nullptr));
    EXPECT_FALSE(SameIdListBytes(l.data(), nullptr));
}

TEST(IdList, PrefixesFromTheEmptyListUpShortestFirst)
{
    CountingAllocator a;
    const auto l = MakeList({4, 5, 3});
    const std::vector<TIdList> prefixes = IdListPrefixes(a, l.data());
    ASSERT_EQ(prefixes.size(), 3u);
    EXPECT_EQ(Bytes(prefixes[0]), MakeList({}));
    EXPECT_EQ(Bytes(prefixes[1]), (std::vector<std::uint8_t>{4, 0, 1, 1, 0, 0}));
    EXPECT_EQ(Bytes(prefixes[2]), (std::vector<std::uint8_t>{4, 0, 1, 1, 5, 0, 2, 2, 2, 0, 0}));
    EXPECT_TRUE(IdListPrefixes(a, MakeList({}).data()).empty());
    EXPECT_TRUE(IdListPrefixes(a, nullptr).empty());
    EXPECT_EQ(a.live.size(), 3u);  // the prefixes, until they go out of scope
}

TEST(IdList, OwnerFreesThroughTheAllocatorThatMadeTheList)
{
    CountingAllocator a, b;
    TIdList fromA = AllocIdList(a, 2);
    TIdList fromB = AllocIdList(b, 2);
    fromA = std::move(fromB);  // frees a's block through a, keeps b's
    EXPECT_TRUE(a.live.empty());
    EXPECT_EQ(fromA.Allocator(), &b);
    EXPECT_EQ(b.live.size(), 1u);
    std::uint8_t* raw = fromA.release();
    EXPECT_FALSE(fromA);
    b.Free(raw);
}
