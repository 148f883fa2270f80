#include <sanitizer/asan_interface.h>
#include <sys/resource.h>

#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "winplat/base.h"
#include "winplat/memory.h"
#include "winplat/testing.h"
#include "winplat/sanitizer.h"

namespace {

using winplat::testing::GlobalAllocFailure;
using winplat::testing::GlobalReallocMoves;
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
    winplat::testing::ScopedDebugAsserts off(false);  // probes an unsupported flag
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

// A block grown a byte at a time: reported sizes and contents stay exact, and in place growth
// (release builds) keeps the data where it is except when the room runs out, a bounded number of
// times; forced moves (sanitizer builds) move it on every step.
TEST(GlobalMemory, GrowingStepByStepKeepsSizeAndContentsAndMovesRarelyUnlessForced) {
    for (const bool always : {false, true}) {
        SCOPED_TRACE(always ? "always moves" : "grows in place");
        GlobalReallocMoves policy(always);
        HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 1);
        *static_cast<unsigned char*>(GlobalLock(h)) = 0;
        GlobalUnlock(h);
        const void* last = nullptr;
        int moves = 0;
        for (unsigned size = 2; size <= 4000; ++size) {
            ASSERT_EQ(GlobalReAlloc(h, size, GMEM_MOVEABLE), h);
            ASSERT_EQ(GlobalSize(h), size) << "the size asked for, not the room behind it";
            auto* p = static_cast<unsigned char*>(GlobalLock(h));
            moves += p != last ? 1 : 0;
            last = p;
            p[size - 1] = static_cast<unsigned char>(size - 1);
            if (size % 500 == 0) {
                for (unsigned k = 0; k < size; ++k) ASSERT_EQ(p[k], static_cast<unsigned char>(k)) << size;
            }
            GlobalUnlock(h);
        }
        if (always) {
            EXPECT_EQ(moves, 3999);
        } else {
            EXPECT_LT(moves, 25) << "growth by half again needs about 20 moves to 4000 bytes";
        }
        GlobalFree(h);
    }
}

// Shrinking within the room stays in place; shrinking far below it gives the memory back (a move).
// Either is an allocation the failure plan may refuse, so tests see the same refusals in any build.
TEST(GlobalMemory, ReallocationsThatMayMoveAreRefusedByThePlanEvenWithinTheRoom) {
    GlobalReallocMoves policy(false);
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 100);
    ASSERT_EQ(GlobalReAlloc(h, 101, 0), h);  // now with room to 150
    const void* roomy = GlobalLock(h);
    GlobalUnlock(h);
    {
        GlobalAllocFailure plan(1, 3);
        EXPECT_EQ(GlobalReAlloc(h, 120, 0), nullptr);
        EXPECT_EQ(GlobalReAlloc(h, 90, GMEM_MOVEABLE), nullptr);
        EXPECT_EQ(GlobalReAlloc(h, 10, 0), nullptr);
        EXPECT_EQ(plan.failures(), 3);
    }
    EXPECT_EQ(GlobalSize(h), 101u);
    ASSERT_EQ(GlobalReAlloc(h, 140, 0), h);
    EXPECT_EQ(GlobalLock(h), roomy) << "grown within the room";
    GlobalUnlock(h);
    ASSERT_EQ(GlobalReAlloc(h, 60, 0), h);
    EXPECT_EQ(GlobalLock(h), roomy) << "shrunk within the room";
    GlobalUnlock(h);
    ASSERT_EQ(GlobalReAlloc(h, 20, 0), h);
    EXPECT_NE(GlobalLock(h), roomy) << "less than a quarter used: the room is given back";
    EXPECT_EQ(GlobalSize(h), 20u);
    GlobalUnlock(h);
    GlobalFree(h);
}

// What a build does by default: sanitizer builds move on every reallocation that may move.
TEST(GlobalMemory, SanitizerBuildsMoveOnEveryReallocationByDefault) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 100);
    ASSERT_EQ(GlobalReAlloc(h, 101, 0), h);
    const void* before = GlobalLock(h);
    GlobalUnlock(h);
    ASSERT_EQ(GlobalReAlloc(h, 102, 0), h);  // within the room the first growth left
    const void* after = GlobalLock(h);
    GlobalUnlock(h);
    EXPECT_EQ(after != before, GlobalReallocMoves::sanitizerDefault());
    GlobalFree(h);
}

// Growth in place fills the new bytes as fresh memory would be (zeroed when asked), and a locked
// block may grow into its room without moving.
TEST(GlobalMemory, GrowthWithinTheRoomZeroesWhenAskedAndServesLockedBlocks) {
    GlobalReallocMoves policy(false);
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 8);
    std::memset(GlobalLock(h), 0x11, 8);
    GlobalUnlock(h);
    ASSERT_EQ(GlobalReAlloc(h, 9, 0), h);  // room to 12
    ASSERT_EQ(GlobalReAlloc(h, 4, 0), h);
    auto* p = static_cast<unsigned char*>(GlobalLock(h));
    ASSERT_EQ(GlobalReAlloc(h, 12, GMEM_ZEROINIT), h) << "locked, but within its room";
    EXPECT_EQ(GlobalLock(h), p);
    GlobalUnlock(h);
    EXPECT_EQ(std::vector<unsigned char>(p, p + 12),
              (std::vector<unsigned char>{0x11, 0x11, 0x11, 0x11, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(GlobalReAlloc(h, 13, GMEM_ZEROINIT), nullptr) << "past the room a locked block cannot grow";
    GlobalUnlock(h);
    GlobalFree(h);
}

// Under AddressSanitizer the room past the size is poisoned, so reading past GlobalSize is caught
// even where the storage goes on.
TEST(GlobalMemory, TheRoomPastTheSizeIsPoisonedUnderAddressSanitizer) {
#if defined(WINPLAT_ADDRESS_SANITIZER)
    GlobalReallocMoves policy(false);
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 100);
    ASSERT_EQ(GlobalReAlloc(h, 101, 0), h);
    auto* p = static_cast<unsigned char*>(GlobalLock(h));
    GlobalUnlock(h);
    EXPECT_FALSE(__asan_address_is_poisoned(p + 100));
    EXPECT_TRUE(__asan_address_is_poisoned(p + 101));
    ASSERT_EQ(GlobalReAlloc(h, 140, 0), h);
    EXPECT_FALSE(__asan_address_is_poisoned(p + 139));
    EXPECT_TRUE(__asan_address_is_poisoned(p + 140));
    ASSERT_EQ(GlobalReAlloc(h, 60, 0), h);
    EXPECT_TRUE(__asan_address_is_poisoned(p + 60));
    GlobalFree(h);
#else
    GTEST_SKIP() << "not built with AddressSanitizer";
#endif
}

// Under AddressSanitizer storage a block moved from or freed is handed back to the sanitizer's
// allocator, never reused by another block, so a pointer kept across the move or the free still
// hits poisoned bytes.
TEST(GlobalMemory, StorageLeftBehindStaysPoisonedUnderAddressSanitizer) {
#if defined(WINPLAT_ADDRESS_SANITIZER)
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 64);
    auto* before = static_cast<unsigned char*>(GlobalLock(h));
    GlobalUnlock(h);
    ASSERT_EQ(GlobalReAlloc(h, 65, GMEM_MOVEABLE), h);
    auto* after = static_cast<unsigned char*>(GlobalLock(h));
    GlobalUnlock(h);
    ASSERT_NE(after, before);
    EXPECT_TRUE(__asan_address_is_poisoned(before));
    GlobalFree(h);
    EXPECT_TRUE(__asan_address_is_poisoned(after));
    HGLOBAL next = GlobalAlloc(GMEM_MOVEABLE, 65);
    const void* reused = GlobalLock(next);
    GlobalUnlock(next);
    EXPECT_NE(reused, after) << "freed storage is not handed to the next block";
    EXPECT_NE(reused, before);
    GlobalFree(next);
#else
    GTEST_SKIP() << "not built with AddressSanitizer";
#endif
}

long minorFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// Grows a block by 'step' bytes at a time up to 'limit', as a container does when filled record by
// record, touching each new end through a lock, and frees it.
void growAndFree(unsigned step, unsigned limit) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, step);
    for (unsigned size = 2 * step; size <= limit; size += step) {
        ASSERT_EQ(GlobalReAlloc(h, size, GMEM_MOVEABLE), h);
        static_cast<unsigned char*>(GlobalLock(h))[size - 1] = 1;
        GlobalUnlock(h);
    }
    GlobalFree(h);
}

// Storage left behind by moves and frees is kept for the next blocks: filling a container to its
// limit again and again faults its pages in once, not on every pass (the C allocator, handed the
// storage back, returns it to the system once enough lies free at the top of its heap).
TEST(GlobalMemory, BlocksGrownAgainAndAgainReuseTheirStorageWithoutFreshPages) {
    if (GlobalReallocMoves::sanitizerDefault()) {
        GTEST_SKIP() << "sanitizer builds hand freed storage back so that a use after free is caught";
    }
    struct Case {
        unsigned step;
        unsigned limit;
    };
    // A span index of 4-byte spans and a string list of 20-byte names, each to its limit.
    for (const Case c : {Case{4, 65532}, Case{20, 262140}}) {
        SCOPED_TRACE(c.limit);
        growAndFree(c.step, c.limit);  // the first pass takes its storage fresh
        const long before = minorFaults();
        for (int pass = 0; pass < 3; ++pass) growAndFree(c.step, c.limit);
        EXPECT_LT(minorFaults() - before, 3) << "pages faulted in again";
    }
}

}  // namespace
