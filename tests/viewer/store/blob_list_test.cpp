#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "store/blob_list.h"
#include "store/block_pool.h"
#include "store_test_support.h"
#include "winplat/memory.h"
#include "winplat/testing.h"

namespace {

using lect32::BlobList;
using winplat::testing::GlobalAllocFailure;

uint16_t add(BlobList& list, const std::string& text) {
    const uint16_t index = list.AppendItem(static_cast<uint16_t>(text.size()));
    if (index >= lect32::kAddCannotLock || text.empty()) return index;
    uint8_t* item = list.LockItem(index);
    std::memcpy(item, text.data(), text.size());
    list.Unlock();
    return index;
}

std::vector<std::string> items(BlobList& list) {
    std::vector<std::string> out;
    for (uint16_t i = 0; i < list.GetCount(); ++i) {
        const uint16_t length = list.GetItemSize(i);
        const uint8_t* item = list.LockItem(i);
        out.emplace_back(reinterpret_cast<const char*>(item), length);
        list.Unlock();
    }
    return out;
}

// The whole block: length table then data, as a caller walking it would see.
std::vector<uint8_t> block(BlobList& list) {
    return store_test::blockBytes(list.GetHandle(), list.GetTotalSize());
}

TEST(BlobList, ItemsFollowTheirLengthTable) {
    BlobList list;
    EXPECT_EQ(add(list, "abc"), 0);
    EXPECT_EQ(add(list, ""), 1);
    EXPECT_EQ(add(list, "hello"), 2);
    EXPECT_EQ(list.GetTotalSize(), 6 + 8);
    EXPECT_EQ(block(list), (std::vector<uint8_t>{3, 0, 0, 0, 5, 0, 'a', 'b', 'c', 'h', 'e', 'l', 'l', 'o'}));
    EXPECT_EQ(items(list), (std::vector<std::string>{"abc", "", "hello"}));
    EXPECT_EQ(list.GetItemOffset(2), 0);  // not locked
    ASSERT_EQ(list.Lock(), 1);
    EXPECT_EQ(list.GetItemOffset(2), 3);
    EXPECT_EQ(list.GetItemOffset(3), 8);
    list.Unlock();
    EXPECT_EQ(list.FindFreeSlot(), 1);
}

TEST(BlobList, LockStateRules) {
    BlobList list;
    EXPECT_EQ(list.Lock(), 0);    // no block
    EXPECT_EQ(list.Unlock(), 1);  // was not locked
    EXPECT_EQ(list.LockItem(0), nullptr);
    add(list, "x");
    ASSERT_NE(list.LockItem(0), nullptr);
    EXPECT_EQ(list.LockItem(0), nullptr);  // never locks twice
    EXPECT_EQ(list.Lock(), 1);
    EXPECT_EQ(GlobalFlags(list.GetHandle()) & GMEM_LOCKCOUNT, 1u);
    EXPECT_EQ(list.Unlock(), 1);
    EXPECT_EQ(GlobalFlags(list.GetHandle()) & GMEM_LOCKCOUNT, 0u);
    EXPECT_FALSE(list.IsLocked());
}

TEST(BlobList, AppendKeepsTheLockStateItFound) {
    BlobList list;
    add(list, "one");
    ASSERT_EQ(list.Lock(), 1);
    const HGLOBAL before = list.GetHandle();
    EXPECT_EQ(list.AppendItem(4), 1);
    EXPECT_TRUE(list.IsLocked());
    EXPECT_NE(list.GetHandle(), before);  // the block moved; the pointer must be the new one
    EXPECT_EQ(list.GetBlockPointer(), GlobalLock(list.GetHandle()));
    GlobalUnlock(list.GetHandle());
    EXPECT_EQ(GlobalFlags(list.GetHandle()) & GMEM_LOCKCOUNT, 1u);
    const uint8_t* p = list.GetBlockPointer();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(p + 4), 3), "one");
    list.Unlock();
    EXPECT_EQ(list.AppendItem(1), 2);
    EXPECT_FALSE(list.IsLocked());
}

TEST(BlobList, AppendFailureValues) {
    struct Case {
        uint16_t first;  // item already there (0: none)
        uint16_t n;
        uint16_t expected;
    };
    for (const Case c : {Case{0, 65533, 0}, Case{0, 65534, lect32::kAddLimit}, Case{65531, 0, 1},
                         Case{65531, 1, lect32::kAddLimit}, Case{100, 65431, 1}, Case{100, 65432, lect32::kAddLimit}}) {
        SCOPED_TRACE(c.n);
        BlobList list;
        if (c.first) {
            ASSERT_EQ(list.AppendItem(c.first), 0);
        }
        const uint16_t size = list.GetTotalSize();
        EXPECT_EQ(list.AppendItem(c.n), c.expected);
        if (c.expected == lect32::kAddLimit) {
            EXPECT_EQ(list.GetTotalSize(), size);
        }
    }
    BlobList list;
    add(list, "keep");
    for (const bool locked : {false, true}) {
        if (locked) {
            ASSERT_EQ(list.Lock(), 1);
        }
        const auto before = block(list);
        GlobalAllocFailure fail(1);
        EXPECT_EQ(list.AppendItem(3), lect32::kAddNoMemory);
        EXPECT_EQ(list.IsLocked(), locked);
        EXPECT_EQ(list.GetCount(), 1);
        EXPECT_EQ(block(list), before);
    }
}

TEST(BlobList, ResizeKeepsTheHeadAndMovesTheTail) {
    struct Case {
        uint16_t n;
        std::string middle;
    };
    for (const Case& c : {Case{0, ""}, Case{2, "bc"}, Case{4, "bcde"}}) {
        SCOPED_TRACE(c.n);
        BlobList list;
        add(list, "a");
        add(list, "bcd");
        add(list, "xyz");
        list.Lock();
        ASSERT_EQ(list.ResizeItem(1, c.n), 1);
        EXPECT_FALSE(list.IsLocked());  // always ends unlocked
        if (c.n == 4) {
            uint8_t* item = list.LockItem(1);
            item[3] = 'e';  // the grown room is the caller's to write
            list.Unlock();
        }
        EXPECT_EQ(items(list), (std::vector<std::string>{"a", c.middle, "xyz"}));
        EXPECT_EQ(list.GetTotalSize(), 6 + 4 + c.n);
    }
}

TEST(BlobList, EmptiedItemKeepsItsIndexAndIsReused) {
    BlobList list;
    add(list, "first");
    add(list, "second");
    add(list, "third");
    ASSERT_EQ(list.ResizeItem(1, 0), 1);
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(items(list), (std::vector<std::string>{"first", "", "third"}));
    EXPECT_EQ(list.FindFreeSlot(), 1);
    EXPECT_EQ(list.GetFreeCount(), 0);  // a plain resize does not count it as reusable
    EXPECT_EQ(list.AddItem(2), 3);
    ASSERT_EQ(list.FreeItem(0), 1);
    EXPECT_EQ(list.GetFreeCount(), 1);
    EXPECT_EQ(list.AddItem(2), 0);  // the first length-0 item
    EXPECT_EQ(list.GetFreeCount(), 0);
    EXPECT_EQ(list.GetItemSize(0), 2);
}

TEST(BlobList, DeleteTakesTheItemAndItsEntryOut) {
    BlobList list;
    add(list, "aa");
    add(list, "bbb");
    add(list, "c");
    ASSERT_EQ(list.DeleteItem(1), 1);
    EXPECT_EQ(items(list), (std::vector<std::string>{"aa", "c"}));
    EXPECT_EQ(list.GetTotalSize(), 4 + 3);
    {
        GlobalAllocFailure fail(1, 3);
        EXPECT_EQ(list.DeleteItem(0), 0);
        EXPECT_EQ(list.ResizeItem(0, 5), 0);
        EXPECT_EQ(list.ResizeItem(0, 1), 0);
    }
    EXPECT_EQ(items(list), (std::vector<std::string>{"aa", "c"}));
    ASSERT_EQ(list.DeleteItem(0), 1);
    ASSERT_EQ(list.DeleteItem(0), 1);
    EXPECT_EQ(list.GetHandle(), nullptr);
    EXPECT_EQ(list.GetTotalSize(), 0);
}

TEST(BlobList, ResizePastTheLimitIsRefused) {
    BlobList list;
    add(list, "abc");
    ASSERT_EQ(list.AppendItem(65000), 1);
    const auto before = block(list);
    EXPECT_EQ(list.ResizeItem(0, 3 + 65535 - list.GetTotalSize() + 1), 0);
    EXPECT_EQ(block(list), before);
    EXPECT_EQ(list.ResizeItem(0, static_cast<uint16_t>(3 + 65535 - list.GetTotalSize())), 1);
    EXPECT_EQ(list.GetTotalSize(), 65535);
}

}  // namespace
