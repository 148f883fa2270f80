#include "text/text_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "winplat/testing.h"

namespace {

using lect32::TextStore;

std::string Pattern(uint16_t item, size_t size) { return std::string(size, static_cast<char>('A' + item % 26)); }

// Appends items of the given sizes, each filled with its own letter.
void Append(TextStore& store, std::initializer_list<size_t> sizes) {
    for (const size_t size : sizes) {
        const uint16_t n = store.AddItem();
        ASSERT_NE(n, TextStore::kNoItem);
        ASSERT_TRUE(store.SetItemString(n, Pattern(n, size)));
    }
}

// Sets item n to its letter at a new size, so a lost or shifted byte shows.
void Resize(TextStore& store, uint16_t n, size_t size, int expected = 1) {
    ASSERT_EQ(store.SetItemString(n, Pattern(n, size)), expected) << "item " << n << " to " << size;
}

struct Layout {
    std::vector<uint16_t> items;
    std::vector<uint16_t> bytes;
    bool operator==(const Layout&) const = default;
};

Layout LayoutOf(const TextStore& store) {
    Layout layout;
    for (int b = 0; b < store.GetBlockCount(); ++b) {
        layout.items.push_back(store.GetBlockItemCount(b));
        layout.bytes.push_back(store.GetBlockSize(b));
    }
    return layout;
}

void ExpectItemsIntact(TextStore& store, const std::vector<size_t>& sizes) {
    ASSERT_TRUE(store.CheckConsistency());
    ASSERT_EQ(store.GetItemCount(), sizes.size());
    for (uint16_t n = 0; n < sizes.size(); ++n) EXPECT_EQ(store.CopyItem(n), Pattern(n, sizes[n])) << "item " << n;
}

TEST(TextStore, AppendingToAnEmptyStoreUsesOneBlockWithoutMemory) {
    TextStore store;
    EXPECT_EQ(store.GetBlockCount(), 0);
    EXPECT_EQ(store.AddItem(), 0);
    EXPECT_EQ(store.GetBlockCount(), 1);
    EXPECT_EQ(store.GetTotalSize(), 0u);
    EXPECT_EQ(store.LockItem(0), nullptr) << "no memory until bytes arrive";
    EXPECT_TRUE(store.CheckConsistency());
}

TEST(TextStore, TheLastItemOfALastBlockSplitsOffAlone) {
    TextStore store;
    Append(store, {40000, 30000});
    EXPECT_EQ(LayoutOf(store), (Layout{{1, 1}, {40000, 30000}}));
    ExpectItemsIntact(store, {40000, 30000});
}

TEST(TextStore, InsertBeforeTheFirstItemOfALaterBlockCountsInThePreviousBlock) {
    TextStore store;
    Append(store, {40000, 40000});
    ASSERT_TRUE(store.InsertItem(1));
    EXPECT_EQ(LayoutOf(store), (Layout{{2, 1}, {40000, 40000}}));
    EXPECT_TRUE(store.CheckConsistency());
}

// Block 0 holds A (62000) and C (3000), block 1 holds D: growing C, the last item of a full block,
// takes it to the start of the next block when that one has room, else into a new block after.
TEST(TextStore, GrowingTheLastItemOfAFullBlockMovesItOn) {
    TextStore roomy;
    Append(roomy, {62000, 3000, 60000});
    ASSERT_EQ(LayoutOf(roomy), (Layout{{2, 1}, {65000, 60000}}));
    Resize(roomy, 1, 3600);
    EXPECT_EQ(LayoutOf(roomy), (Layout{{1, 2}, {62000, 63600}}));
    ExpectItemsIntact(roomy, {62000, 3600, 60000});

    TextStore full;
    Append(full, {62000, 3000, 63000});
    Resize(full, 1, 3600);
    EXPECT_EQ(LayoutOf(full), (Layout{{1, 1, 1}, {62000, 3600, 63000}}));
    ExpectItemsIntact(full, {62000, 3600, 63000});
}

// From block 0 [A], block 1 [C, D]: growing C, the first item of a later block, takes it to the
// end of the previous block when that one has room, else into a new block before.
TEST(TextStore, GrowingTheFirstItemOfAFullLaterBlockMovesItBack) {
    TextStore roomy;
    Append(roomy, {62000, 3000, 60000});
    Resize(roomy, 1, 3600);
    Resize(roomy, 0, 20000);
    ASSERT_EQ(LayoutOf(roomy), (Layout{{1, 2}, {20000, 63600}})) << "83,600 bytes do not merge";
    Resize(roomy, 1, 5600);
    EXPECT_EQ(LayoutOf(roomy), (Layout{{2, 1}, {25600, 60000}}));
    ExpectItemsIntact(roomy, {20000, 5600, 60000});

    TextStore full;
    Append(full, {62000, 3000, 60000});
    Resize(full, 1, 3600);
    Resize(full, 1, 5600);
    EXPECT_EQ(LayoutOf(full), (Layout{{1, 1, 1}, {62000, 5600, 60000}}));
    ExpectItemsIntact(full, {62000, 5600, 60000});
}

TEST(TextStore, AMiddleItemSplitsItsBlockTowardTheSmallerSide) {
    TextStore stays;  // as many bytes after it as before: it stays, the later items move
    Append(stays, {30000, 1000, 30000});
    Resize(stays, 1, 6000);
    EXPECT_EQ(LayoutOf(stays), (Layout{{2, 1}, {36000, 30000}}));
    ExpectItemsIntact(stays, {30000, 6000, 30000});

    TextStore moves;  // fewer bytes after it: it moves with them
    Append(moves, {30000, 1000, 20000});
    Resize(moves, 1, 20000);
    EXPECT_EQ(LayoutOf(moves), (Layout{{1, 2}, {30000, 40000}}));
    ExpectItemsIntact(moves, {30000, 20000, 20000});
}

TEST(TextStore, GrowingInsideTheBlockLimitFailsUnchanged) {
    TextStore store;
    for (int i = 0; i < 14; ++i) Append(store, {40000});
    Append(store, {30000, 1000, 30000});
    ASSERT_EQ(store.GetBlockCount(), 15);
    const Layout before = LayoutOf(store);
    Resize(store, 15, 6000, 0);
    EXPECT_EQ(LayoutOf(store), before) << "a split needs fewer than 15 blocks";
    EXPECT_EQ(store.CopyItem(15), Pattern(15, 1000));

    TextStore fourteen;
    for (int i = 0; i < 13; ++i) Append(fourteen, {40000});
    Append(fourteen, {30000, 1000, 30000});
    ASSERT_EQ(fourteen.GetBlockCount(), 14);
    Resize(fourteen, 14, 6000);
    EXPECT_EQ(fourteen.GetBlockCount(), 15);
    EXPECT_TRUE(fourteen.CheckConsistency());
}

TEST(TextStore, SixteenBlocksRefuseAnyMove) {
    TextStore store;
    for (int i = 0; i < 14; ++i) Append(store, {40000});
    Append(store, {20000, 3000});     // block 13: [40000, 20000, 3000]
    Resize(store, 14, 30000);         // split: the item moves with the one after it
    Resize(store, 15, 33000);
    ASSERT_EQ(store.GetBlockCount(), 15);
    Resize(store, 14, 33000);         // first of a full block: a new block before it
    ASSERT_EQ(store.GetBlockCount(), 16);
    EXPECT_TRUE(store.CanGrow(32535));
    EXPECT_FALSE(store.CanGrow(32536)) << "the most room left in a block is 32,535 bytes";

    Append(store, {0});
    Resize(store, 16, 40000, 0);
    EXPECT_EQ(store.GetItemLength(16), 0);
    EXPECT_EQ(store.GetBlockCount(), 16);
    EXPECT_TRUE(store.CheckConsistency());
    EXPECT_EQ(store.CopyItem(15), Pattern(15, 33000));
}

TEST(TextStore, ShrinkingMergesOnlyBelow65535Bytes) {
    TextStore store;
    Append(store, {40000, 40000});
    Resize(store, 1, 25535);
    EXPECT_EQ(store.GetBlockCount(), 2) << "65,535 bytes together are not merged";
    Resize(store, 1, 25534);
    EXPECT_EQ(LayoutOf(store), (Layout{{2}, {65534}}));
    ExpectItemsIntact(store, {40000, 25534});
}

TEST(TextStore, ShrinkingMergesWithTheNextBlockWhenThePreviousIsFull) {
    TextStore store;
    Append(store, {62000, 3000, 63000});
    Resize(store, 1, 3600);  // three blocks: [62000] [3600] [63000]
    Resize(store, 0, 65000);
    ASSERT_EQ(LayoutOf(store), (Layout{{1, 1, 1}, {65000, 3600, 63000}}));
    Resize(store, 1, 1000);
    EXPECT_EQ(LayoutOf(store), (Layout{{1, 2}, {65000, 64000}}));
    ExpectItemsIntact(store, {65000, 1000, 63000});
}

TEST(TextStore, AnEmptiedBlockHandsItsEmptyItemsOn) {
    TextStore store;
    Append(store, {40000, 40000, 0});
    ASSERT_EQ(LayoutOf(store), (Layout{{1, 2}, {40000, 40000}}));
    ASSERT_TRUE(store.DeleteBytes(1, 0, 40000));
    EXPECT_EQ(LayoutOf(store), (Layout{{3}, {40000}}));
    ExpectItemsIntact(store, {40000, 0, 0});
}

TEST(TextStore, ItemAndByteLimits) {
    TextStore store;
    for (int i = 0; i < TextStore::kMaxItems; ++i) ASSERT_TRUE(store.AppendItem()) << i;
    EXPECT_FALSE(store.CanAddItems(1));
    EXPECT_TRUE(store.CanAddItems(0));
    EXPECT_FALSE(store.CanGrow(1));
    EXPECT_EQ(store.AddItem(), TextStore::kNoItem);
    EXPECT_FALSE(store.InsertItem(0));
    EXPECT_EQ(store.GetItemCount(), TextStore::kMaxItems);
    ASSERT_TRUE(store.DeleteItem(0));
    EXPECT_TRUE(store.CanAddItems(1));

    TextStore bytes;
    Append(bytes, {65535});
    EXPECT_FALSE(bytes.SetItemLength(0, 65536));
    EXPECT_FALSE(bytes.InsertBytes(0, 0, "x", 1));
    ASSERT_TRUE(bytes.DeleteBytes(0, 0, 1));
    EXPECT_TRUE(bytes.InsertBytes(0, 0, "x", 1));
    EXPECT_EQ(bytes.GetItemLength(0), 65535);
    EXPECT_FALSE(bytes.DeleteItem(1)) << "not an item";
}

TEST(TextStore, FindStringIsExactAndFindOrAddStable) {
    TextStore store;
    store.FindOrAddString("abcd");
    const uint16_t abc = store.FindOrAddString("abc");
    EXPECT_EQ(abc, 1);
    EXPECT_EQ(store.FindString("abc"), 1) << "not the longer item that begins with it";
    EXPECT_EQ(store.FindOrAddString("abc"), abc);
    EXPECT_EQ(store.FindString("ABC"), TextStore::kNoItem);
    EXPECT_EQ(store.GetItemCount(), 2);
}

TEST(TextStore, WordsSplitJoinAndEmptyItems) {
    TextStore store;
    Append(store, {4});
    ASSERT_TRUE(store.AppendWord(0, 0x1234));
    EXPECT_EQ(store.CopyItem(0), std::string("AAAA\x34\x12", 6));
    EXPECT_EQ(store.GetItemWordCount(0), 3);
    EXPECT_EQ(store.GetItemDwordCount(0), 1);
    ASSERT_TRUE(store.SplitItem(0, 2, false));
    EXPECT_EQ(store.CopyItem(0), "AA");
    EXPECT_EQ(store.CopyItem(1), std::string("AA\x34\x12", 4));
    ASSERT_TRUE(store.SplitItem(1, 0, true));
    EXPECT_EQ(store.FindEmptyItem(), 2);
    ASSERT_TRUE(store.JoinWithNext(0));
    EXPECT_EQ(store.CopyItem(0), std::string("AAAA\x34\x12", 6));
    ASSERT_TRUE(store.DeleteItemRange(0, 2));
    EXPECT_EQ(store.GetItemCount(), 0);
    EXPECT_FALSE(store.DeleteItemRange(0, 1));
    EXPECT_TRUE(store.CheckConsistency());
}

TEST(TextStore, ReallocDoesNotCarryBytesWhenTheItemMoves) {
    TextStore store;
    Append(store, {30000, 1000, 20000});
    ASSERT_TRUE(store.ReallocItemDwords(1, 5000));
    EXPECT_EQ(store.GetItemLength(1), 20000);
    ASSERT_TRUE(store.CheckConsistency());
    EXPECT_EQ(store.CopyItem(0), Pattern(0, 30000));
    EXPECT_EQ(store.CopyItem(2), Pattern(2, 20000));
}

// Bytes taken out of an item stay as room behind it: giving them back, anywhere in the item, needs
// no memory and moves nothing outside the item. Every item keeps its bytes, the blocks their sizes.
TEST(TextStore, AnItemRegrowsIntoTheRoomItsEditsLeftWithoutMemory) {
    struct Case {
        uint16_t item;
        uint16_t removeAt;
        uint16_t insertAt;
    };
    for (const Case c : {Case{0, 0, 0}, Case{1, 40, 84}, Case{2, 84, 50}, Case{1, 0, 84}}) {
        SCOPED_TRACE(c.item);
        TextStore store;
        Append(store, {100, 100, 100});
        ASSERT_TRUE(store.DeleteBytes(c.item, c.removeAt, 16));
        const std::string edited = std::string(16, 'z');
        {
            winplat::testing::GlobalAllocFailure noMemory(1, 1000);
            ASSERT_EQ(store.InsertBytes(c.item, c.insertAt, edited.data(), 16), 1);
        }
        ASSERT_TRUE(store.CheckConsistency());
        for (uint16_t n = 0; n < 3; ++n) {
            const std::string expected = n == c.item ? Pattern(n, 84).insert(c.insertAt, edited) : Pattern(n, 100);
            EXPECT_EQ(store.CopyItem(n), expected) << "item " << n;
        }
        EXPECT_EQ(store.GetTotalSize(), 300u);
        EXPECT_EQ(LayoutOf(store), (Layout{{3}, {300}}));
    }
}

}  // namespace
