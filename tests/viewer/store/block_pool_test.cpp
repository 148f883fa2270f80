#include <algorithm>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "store/block_pool.h"
#include "winplat/memory.h"
#include "winplat/testing.h"

namespace {

using lect32::BlockPool;
using winplat::testing::GlobalAllocFailure;
using winplat::testing::liveGlobalBlocks;

TEST(BlockPool, ThirtyTwoSlotsThenAFreedOneIsReused) {
    BlockPool pool;
    std::vector<void*> out;
    for (int i = 0; i < 32; ++i) {
        out.push_back(pool.Alloc(100, false));
        ASSERT_NE(out.back(), nullptr) << i;
    }
    EXPECT_EQ(std::set<void*>(out.begin(), out.end()).size(), 32u);
    EXPECT_EQ(pool.Alloc(100, false), nullptr);
    ASSERT_EQ(pool.Free(out[5]), 1);
    EXPECT_EQ(pool.InUse(), 31);
    void* again = pool.Alloc(200, false);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(pool.InUse(), 32);
    EXPECT_EQ(pool.Alloc(1, false), nullptr);
    EXPECT_EQ(pool.Free(out[5]), 0);  // that block went back already
    EXPECT_EQ(pool.Free(again), 1);
}

TEST(BlockPool, BlocksAreLockedSizedAsAskedAndFreedWithThePool) {
    const size_t live = liveGlobalBlocks();
    {
        BlockPool pool;
        struct Case {
            int size;
            SIZE_T bytes;
        };
        for (const Case c : {Case{-1, 65535}, Case{64000, 64000}, Case{65536 + 10, 10}, Case{1, 1}}) {
            void* p = pool.Alloc(c.size, false);
            ASSERT_NE(p, nullptr) << c.size;
            const HGLOBAL block = GlobalHandle(p);
            EXPECT_EQ(GlobalSize(block), c.bytes) << c.size;
            EXPECT_EQ(GlobalFlags(block) & GMEM_LOCKCOUNT, 1u);
        }
        EXPECT_EQ(liveGlobalBlocks(), live + 4);
    }
    EXPECT_EQ(liveGlobalBlocks(), live);
}

TEST(BlockPool, ZeroFillClearsTheBlock) {
    BlockPool pool;
    auto* bytes = static_cast<uint8_t*>(pool.Alloc(4000, true));
    ASSERT_NE(bytes, nullptr);
    for (int k = 0; k < 4000; ++k) ASSERT_EQ(bytes[k], 0) << k;
}

TEST(BlockPool, FailedAllocationKeepsTheSlotFree) {
    BlockPool pool;
    {
        GlobalAllocFailure fail(1);
        EXPECT_EQ(pool.Alloc(10, false), nullptr);
    }
    EXPECT_EQ(pool.InUse(), 0);
    EXPECT_EQ(pool.Free(nullptr), 0);
    int local = 0;
    EXPECT_EQ(pool.Free(&local), 0);
}

}  // namespace

namespace {

using Bytes = std::vector<uint8_t>;

winplat::GlobalBlock blockWith(const Bytes& bytes) {
    winplat::GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
    const winplat::GlobalPin pin(block.get());
    std::copy(bytes.begin(), bytes.end(), pin.as<uint8_t>());
    return block;
}

Bytes bytesOf(HGLOBAL block) {
    const winplat::GlobalPin pin(block);
    const auto* data = pin.as<const uint8_t>();
    return Bytes(data, data + GlobalSize(block));
}

// The gap opens at the start, inside and at the end, in place or moved: the tail moves up by n,
// the block holds the old size plus n, and it stays locked exactly while the pin lives.
TEST(GrowBlockLocked, OpensTheGapAndHoldsOneLock) {
    struct Case {
        uint32_t at, n;
        Bytes expected;  // gap bytes written as 0
    };
    for (const bool moves : {false, true}) {
        winplat::testing::GlobalReallocMoves policy(moves);
        for (const Case& c : {Case{0, 2, {0, 0, 1, 2, 3}}, Case{1, 1, {1, 0, 2, 3}}, Case{3, 2, {1, 2, 3, 0, 0}}}) {
            SCOPED_TRACE(testing::Message() << moves << " at " << c.at);
            winplat::GlobalBlock block = blockWith({1, 2, 3});
            {
                const winplat::GlobalPin pin = lect32::GrowBlockLocked(block, 3, c.at, c.n);
                ASSERT_TRUE(pin);
                EXPECT_EQ(GlobalFlags(block.get()) & GMEM_LOCKCOUNT, 1u);
                std::fill_n(pin.as<uint8_t>() + c.at, c.n, uint8_t{0});
            }
            EXPECT_EQ(GlobalFlags(block.get()) & GMEM_LOCKCOUNT, 0u);
            EXPECT_EQ(bytesOf(block.get()), c.expected);
        }
    }
}

TEST(GrowBlockLocked, AnEmptyOwnerGetsANewLockedBlock) {
    winplat::GlobalBlock block;
    const winplat::GlobalPin pin = lect32::GrowBlockLocked(block, 0, 0, 6);
    ASSERT_TRUE(pin);
    ASSERT_TRUE(block);
    EXPECT_EQ(GlobalSize(block.get()), 6u);
    EXPECT_EQ(pin.data(), GlobalLock(block.get()));
    GlobalUnlock(block.get());
}

// A gap past the end, a size over the limit (and one exactly on it) and refused memory.
TEST(GrowBlockLocked, RefusalsLeaveTheBlockAsItWas) {
    const Bytes start{1, 2, 3};
    winplat::GlobalBlock block = blockWith(start);
    EXPECT_FALSE(lect32::GrowBlockLocked(block, 3, 4, 1)) << "past the end";
    EXPECT_FALSE(lect32::GrowBlockLocked(block, 3, 0, 8, 10)) << "one over the limit";
    {
        GlobalAllocFailure fail(1);
        EXPECT_FALSE(lect32::GrowBlockLocked(block, 3, 1, 1));
        EXPECT_EQ(fail.failures(), 1);
    }
    EXPECT_EQ(GlobalFlags(block.get()) & GMEM_LOCKCOUNT, 0u);
    EXPECT_EQ(bytesOf(block.get()), start);
    EXPECT_TRUE(lect32::GrowBlockLocked(block, 3, 0, 7, 10)) << "exactly on the limit";
    EXPECT_EQ(GlobalSize(block.get()), 10u);
    winplat::GlobalBlock empty;
    {
        GlobalAllocFailure fail(1);
        EXPECT_FALSE(lect32::GrowBlockLocked(empty, 0, 0, 4));
    }
    EXPECT_FALSE(empty);
}

}  // namespace
