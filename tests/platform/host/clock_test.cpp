#include <gtest/gtest.h>

#include "winplat/host.h"
#include "winplat/testing.h"
#include "winplat/time.h"

namespace {

TEST(Clock, VirtualClockMovesOnlyWhenToldAndSleepDoesNotWait) {
    winplat::testing::VirtualClock clock(5000);
    EXPECT_EQ(GetTickCount(), 5000u);
    EXPECT_EQ(GetTickCount(), 5000u) << "virtual time stands still";
    Sleep(3'600'000);  // an hour, at once
    EXPECT_EQ(GetTickCount(), 5000u + 3'600'000u);
    clock.advance(250);
    EXPECT_EQ(GetTickCount(), 3'605'250u);
}

TEST(Clock, TickCountWrapsAt32Bits) {
    winplat::testing::VirtualClock clock(0xFFFFFFF0ull);
    Sleep(0x20);
    EXPECT_EQ(GetTickCount(), 0x10u);
}

TEST(Clock, VirtualClocksNestAndTheRealClockReturns) {
    {
        winplat::testing::VirtualClock outer(100);
        {
            winplat::testing::VirtualClock inner(7);
            EXPECT_EQ(GetTickCount(), 7u);
        }
        EXPECT_EQ(GetTickCount(), 100u);
    }
    const DWORD before = GetTickCount();
    Sleep(20);
    const DWORD elapsed = GetTickCount() - before;
    EXPECT_GE(elapsed, 15u) << "the real clock is back and Sleep really waits";
}

}  // namespace
