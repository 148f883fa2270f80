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
