#include <sanitizer/asan_interface.h>

#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "winplat/base.h"
#include "winplat/global_growth.h"
#include "winplat/memory.h"
#include "winplat/sanitizer.h"
#include "winplat/testing.h"

namespace {

using winplat::GlobalReAllocLocked;
using winplat::testing::GlobalAllocFailure;
using winplat::testing::GlobalReallocMoves;
using Bytes = std::vector<unsigned char>;

unsigned lockCount(HGLOBAL h) { return GlobalFlags(h) & GMEM_LOCKCOUNT; }

HGLOBAL blockOf(const char* text, size_t n) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, n);
    std::memcpy(GlobalLock(h), text, n);
    GlobalUnlock(h);
    return h;
}

// Grown or shrunk, in place within the room or moved, already locked or not: the size is exact,
// the contents that fit stay, one lock is added and the data is where GlobalLock finds it.
TEST(GlobalGrowth, ResizesAndAddsOneLockInOneCall) {
    struct Case {
        bool moves;
        unsigned locksBefore;
        SIZE_T bytes;
    };
    for (const Case c : {Case{false, 0, 9}, Case{true, 0, 9}, Case{false, 1, 4000}, Case{true, 2, 9},
                         Case{false, 0, 3}, Case{true, 1, 3}}) {
        SCOPED_TRACE(testing::Message() << c.moves << " " << c.locksBefore << " " << c.bytes);
        GlobalReallocMoves policy(c.moves);
        HGLOBAL h = blockOf("abcdefgh", 8);
        for (unsigned k = 0; k < c.locksBefore; ++k) GlobalLock(h);
        auto* data = static_cast<unsigned char*>(GlobalReAllocLocked(h, c.bytes));
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(GlobalSize(h), c.bytes);
        EXPECT_EQ(lockCount(h), c.locksBefore + 1);
        EXPECT_EQ(GlobalLock(h), data);
        GlobalUnlock(h);
        EXPECT_EQ(GlobalHandle(data), h);
        const size_t kept = c.bytes < 8 ? c.bytes : 8;
        const char* text = "abcdefgh";
        EXPECT_EQ(Bytes(data, data + kept), Bytes(text, text + kept));
        data[c.bytes - 1] = 'z';  // the whole new size is writable
        for (unsigned k = 0; k <= c.locksBefore; ++k) GlobalUnlock(h);
        EXPECT_EQ(lockCount(h), 0u);
        GlobalFree(h);
    }
}

// Moves exactly when GlobalReAlloc with GMEM_MOVEABLE would: always when forced, never within the
// room otherwise; a pointer from before a move names no block any more.
TEST(GlobalGrowth, MovesAsAMoveableReallocationDoes) {
    for (const bool moves : {false, true}) {
        SCOPED_TRACE(moves);
        GlobalReallocMoves policy(moves);
        HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 100);
        ASSERT_EQ(GlobalReAlloc(h, 101, 0), h);  // room to 150
        void* before = GlobalLock(h);
        GlobalUnlock(h);
        void* after = GlobalReAllocLocked(h, 150);
        ASSERT_NE(after, nullptr);
        EXPECT_EQ(after != before, moves);
        EXPECT_EQ(GlobalHandle(before) == h, !moves);
        GlobalUnlock(h);
        GlobalFree(h);
    }
}

// Every refusal leaves the block as it was: size, contents and lock count; each says why.
TEST(GlobalGrowth, RefusalsLeaveTheBlockUnlockedAndAsItWas) {
    HGLOBAL h = blockOf("abcd", 4);
    SetLastError(0);
    EXPECT_EQ(GlobalReAllocLocked(h, 0), nullptr) << "0 bytes would discard the block";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    {
        GlobalAllocFailure fail(1);
        EXPECT_EQ(GlobalReAllocLocked(h, 64), nullptr);
        EXPECT_EQ(fail.failures(), 1);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    }
    EXPECT_EQ(GlobalSize(h), 4u);
    EXPECT_EQ(lockCount(h), 0u);
    const auto* data = static_cast<const unsigned char*>(GlobalLock(h));
    EXPECT_EQ(Bytes(data, data + 4), (Bytes{'a', 'b', 'c', 'd'}));
    GlobalUnlock(h);
    GlobalFree(h);
    EXPECT_EQ(GlobalReAllocLocked(h, 8), nullptr) << "a freed handle";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(GlobalReAllocLocked(nullptr, 8), nullptr);
}

// A discarded block gets storage again and comes back locked; a fixed block keeps no lock count.
TEST(GlobalGrowth, DiscardedAndFixedBlocks) {
    HGLOBAL discarded = GlobalAlloc(GMEM_MOVEABLE, 0);
    ASSERT_TRUE(GlobalFlags(discarded) & GMEM_DISCARDED);
    ASSERT_NE(GlobalReAllocLocked(discarded, 5), nullptr);
    EXPECT_EQ(GlobalFlags(discarded), 1u) << "one lock, no longer discarded";
    EXPECT_EQ(GlobalSize(discarded), 5u);
    GlobalUnlock(discarded);
    GlobalFree(discarded);

    HGLOBAL fixed = GlobalAlloc(GMEM_FIXED, 4);
    void* data = GlobalReAllocLocked(fixed, 400);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(GlobalSize(fixed), 400u);
    EXPECT_EQ(lockCount(fixed), 0u);
    EXPECT_EQ(GlobalHandle(data), fixed);
    GlobalFree(fixed);
}

// The room past the new size stays poisoned, so a read past GlobalSize through the pointer the
// call gave is caught as after GlobalReAlloc.
TEST(GlobalGrowth, TheRoomPastTheNewSizeIsPoisonedUnderAddressSanitizer) {
#if defined(WINPLAT_ADDRESS_SANITIZER)
    GlobalReallocMoves policy(false);
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 100);
    ASSERT_EQ(GlobalReAlloc(h, 101, 0), h);
    auto* p = static_cast<unsigned char*>(GlobalReAllocLocked(h, 120));
    ASSERT_NE(p, nullptr);
    EXPECT_FALSE(__asan_address_is_poisoned(p + 119));
    EXPECT_TRUE(__asan_address_is_poisoned(p + 120));
    GlobalUnlock(h);
    GlobalFree(h);
#else
    GTEST_SKIP() << "not built with AddressSanitizer";
#endif
}

}  // namespace
