#include <cstring>

#include <gtest/gtest.h>

#include "winplat/base.h"
#include "winplat/memory.h"
#include "winplat/testing.h"

namespace {

using winplat::testing::GlobalAllocFailure;
using winplat::testing::liveGlobalBlocks;

TEST(GlobalMemory, MoveableBlockCountsLocks) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 100);
    ASSERT_TRUE(h);
    EXPECT_EQ(GlobalSize(h), 100u);
    EXPECT_EQ(GlobalFlags(h) & GMEM_LOCKCOUNT, 0u);

    void* p1 = GlobalLock(h);
    void* p2 = GlobalLock(h);
    ASSERT_TRUE(p1);
    EXPECT_EQ(p1, p2);
    EXPECT_EQ(GlobalFlags(h) & GMEM_LOCKCOUNT, 2u);
    EXPECT_EQ(GlobalHandle(p1), h);

    EXPECT_TRUE(GlobalUnlock(h)) << "still locked once";
    SetLastError(12345);
    EXPECT_FALSE(GlobalUnlock(h));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR)) << "unlocked to zero is not an error";
    EXPECT_FALSE(GlobalUnlock(h));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
    EXPECT_EQ(GlobalFree(h), nullptr);
}

TEST(GlobalMemory, ZeroInitAndRequestedSize) {
    HGLOBAL h = GlobalAlloc(GHND, 37);
    ASSERT_TRUE(h);
    EXPECT_EQ(GlobalSize(h), 37u) << "the size asked for, not a rounded one";
    auto* p = static_cast<unsigned char*>(GlobalLock(h));
    for (int i = 0; i < 37; ++i) ASSERT_EQ(p[i], 0) << i;
    GlobalUnlock(h);
    GlobalFree(h);
}

TEST(GlobalMemory, ReallocKeepsContentsAndZeroesGrowth) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 4);
    std::memcpy(GlobalLock(h), "abcd", 4);
    GlobalUnlock(h);

    ASSERT_EQ(GlobalReAlloc(h, 10, GMEM_MOVEABLE | GMEM_ZEROINIT), h) << "a moveable block keeps its handle";
    EXPECT_EQ(GlobalSize(h), 10u);
    auto* p = static_cast<char*>(GlobalLock(h));
    EXPECT_EQ(std::memcmp(p, "abcd\0\0\0\0\0\0", 10), 0);
    GlobalUnlock(h);

    ASSERT_EQ(GlobalReAlloc(h, 2, 0), h);
    p = static_cast<char*>(GlobalLock(h));
    EXPECT_EQ(std::memcmp(p, "ab", 2), 0);
    EXPECT_EQ(GlobalSize(h), 2u);
    GlobalUnlock(h);
    GlobalFree(h);
}

TEST(GlobalMemory, UnlockedReallocMovesTheDataSoOldPointersAreStale) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 16);
    void* before = GlobalLock(h);
    GlobalUnlock(h);
    ASSERT_TRUE(GlobalReAlloc(h, 32, 0));
    void* after = GlobalLock(h);
    EXPECT_NE(before, after);
    EXPECT_EQ(GlobalHandle(before), nullptr);
    EXPECT_EQ(GlobalHandle(after), h);
    GlobalUnlock(h);
    GlobalFree(h);
}

TEST(GlobalMemory, LockedBlockDoesNotMoveUnlessAllowed) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 16);
    void* p = GlobalLock(h);
    EXPECT_EQ(GlobalReAlloc(h, 4096, 0), nullptr) << "growing a locked block in place is impossible";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(GlobalSize(h), 16u) << "a failed realloc leaves the block as it was";
    EXPECT_EQ(GlobalLock(h), p);
    GlobalUnlock(h);

    EXPECT_EQ(GlobalReAlloc(h, 8, 0), h) << "shrinking in place is fine while locked";
    EXPECT_EQ(GlobalLock(h), p);
    GlobalUnlock(h);

    EXPECT_EQ(GlobalReAlloc(h, 4096, GMEM_MOVEABLE), h) << "GMEM_MOVEABLE lets a locked block move";
    EXPECT_EQ(GlobalSize(h), 4096u);
    GlobalUnlock(h);
    GlobalFree(h);
}

TEST(GlobalMemory, DiscardedBlocks) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 0);
    ASSERT_TRUE(h);
    EXPECT_TRUE(GlobalFlags(h) & GMEM_DISCARDED);
    EXPECT_EQ(GlobalLock(h), nullptr);
    ASSERT_EQ(GlobalReAlloc(h, 8, GMEM_MOVEABLE), h);
    EXPECT_FALSE(GlobalFlags(h) & GMEM_DISCARDED);
    EXPECT_TRUE(GlobalLock(h));
    GlobalUnlock(h);
    ASSERT_EQ(GlobalReAlloc(h, 0, GMEM_MOVEABLE), h);
    EXPECT_TRUE(GlobalFlags(h) & GMEM_DISCARDED);
    EXPECT_EQ(GlobalSize(h), 0u);
    GlobalFree(h);
}

TEST(GlobalMemory, FixedBlocksLockWithoutCounting) {
    HGLOBAL h = GlobalAlloc(GPTR, 8);
    void* p = GlobalLock(h);
    ASSERT_TRUE(p);
    EXPECT_EQ(GlobalFlags(h) & GMEM_LOCKCOUNT, 0u);
    EXPECT_FALSE(GlobalUnlock(h));
    EXPECT_EQ(GlobalReAlloc(h, 64, 0), nullptr) << "a fixed block may not move without GMEM_MOVEABLE";
    EXPECT_EQ(GlobalFree(h), nullptr);
}

TEST(GlobalMemory, InvalidAndStaleHandlesGiveFailureValues) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 8);
    ASSERT_EQ(GlobalFree(h), nullptr);
    SetLastError(0);
    EXPECT_EQ(GlobalFree(h), h) << "freeing twice hands the handle back";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(GlobalLock(h), nullptr);
    EXPECT_FALSE(GlobalUnlock(h));
    EXPECT_EQ(GlobalSize(h), 0u);
    EXPECT_EQ(GlobalFlags(h), static_cast<UINT>(GMEM_INVALID_HANDLE));
    EXPECT_EQ(GlobalReAlloc(h, 4, 0), nullptr);
    EXPECT_EQ(GlobalLock(nullptr), nullptr);
    int local = 0;
    EXPECT_EQ(GlobalHandle(&local), nullptr);
}

TEST(GlobalMemory, UnsupportedFlagsAndAbsurdSizesFail) {
    EXPECT_EQ(GlobalAlloc(0x10000, 8), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, SIZE_T{1} << 40), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
}

TEST(GlobalMemory, FailureInjectionRefusesTheChosenAllocations) {
    const size_t live = liveGlobalBlocks();
    HGLOBAL kept = GlobalAlloc(GMEM_MOVEABLE, 8);
    std::memcpy(GlobalLock(kept), "12345678", 8);
    GlobalUnlock(kept);
    {
        GlobalAllocFailure plan(2, 2);  // the 2nd and 3rd allocation fail
        HGLOBAL a = GlobalAlloc(GMEM_MOVEABLE, 8);
        EXPECT_TRUE(a);
        EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, 8), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
        EXPECT_EQ(GlobalReAlloc(kept, 16, 0), nullptr) << "a reallocation needing storage is an allocation";
        EXPECT_EQ(GlobalSize(kept), 8u);
        EXPECT_EQ(std::memcmp(GlobalLock(kept), "12345678", 8), 0) << "failure keeps the old contents";
        GlobalUnlock(kept);
        HGLOBAL b = GlobalAlloc(GMEM_MOVEABLE, 8);
        EXPECT_TRUE(b) << "the plan covers only two allocations";
        EXPECT_EQ(plan.failures(), 2);
        GlobalFree(a);
        GlobalFree(b);
    }
    HGLOBAL after = GlobalAlloc(GMEM_MOVEABLE, 8);
    EXPECT_TRUE(after) << "the plan ends with its scope";
    GlobalFree(after);
    GlobalFree(kept);
    EXPECT_EQ(liveGlobalBlocks(), live);
}

TEST(GlobalMemory, FreeingALockedBlockIsReportedToTheDebugSink) {
    winplat::testing::DebugCapture capture;
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 8);
    GlobalLock(h);
    EXPECT_EQ(GlobalFree(h), nullptr);
#ifndef NDEBUG
    EXPECT_TRUE(capture.contains("still locked"));
#endif
}

}  // namespace
