#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "winplat/sync.h"

namespace {

TEST(CriticalSection, IsRecursiveForItsOwner) {
    CRITICAL_SECTION cs;
    InitializeCriticalSection(&cs);
    EnterCriticalSection(&cs);
    EnterCriticalSection(&cs);  // must not deadlock
    EXPECT_TRUE(TryEnterCriticalSection(&cs));
    LeaveCriticalSection(&cs);
    LeaveCriticalSection(&cs);
    LeaveCriticalSection(&cs);
    DeleteCriticalSection(&cs);
}

TEST(CriticalSection, ExcludesOtherThreads) {
    CRITICAL_SECTION cs;
    InitializeCriticalSection(&cs);
    EnterCriticalSection(&cs);
    BOOL otherGotIt = TRUE;
    std::thread([&] { otherGotIt = TryEnterCriticalSection(&cs); }).join();
    EXPECT_FALSE(otherGotIt);
    LeaveCriticalSection(&cs);

    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 10000; ++i) {
                EnterCriticalSection(&cs);
                long seen = counter;
                counter = seen + 1;
                LeaveCriticalSection(&cs);
            }
        });
    }
    for (auto& th : threads) th.join();
    EXPECT_EQ(counter, 40000);
    DeleteCriticalSection(&cs);
}

}  // namespace
