#include "window_fixture.h"

namespace window_test {
namespace {

using TimersTest = WindowTest;

// Runs the loop until 'until' on the virtual clock, dispatching; returns the WM_TIMERs seen.
std::vector<std::pair<HWND, UINT_PTR>> pumpUntil(winplat::testing::VirtualClock& clock, uint64_t until) {
    std::vector<std::pair<HWND, UINT_PTR>> fired;
    MSG msg{};
    while (clock.nowMs() <= until) {
        if (!GetMessageA(&msg, nullptr, 0, 0)) break;
        if (clock.nowMs() > until) break;
        if (msg.message == WM_TIMER) fired.emplace_back(msg.hwnd, msg.wParam);
        DispatchMessageA(&msg);
    }
    return fired;
}

TEST_F(TimersTest, FiftyMillisecondTimerFiresTwentyTimesInAVirtualSecond) {
    HWND window = make(WS_POPUP, 0, 0, 10, 10);
    ASSERT_EQ(SetTimer(window, 7, 50, nullptr), 7u);
    const auto fired = pumpUntil(clock_, 1000 + 1000);
    EXPECT_EQ(fired.size(), 20u);
    EXPECT_EQ(recorder().messagesOf(window, true, {WM_TIMER}).size(), 20u);
}

TEST_F(TimersTest, TimersFireInDueOrder) {
    HWND a = make(WS_POPUP, 0, 0, 10, 10);
    HWND b = make(WS_POPUP, 0, 0, 10, 10);
    SetTimer(a, 1, 30, nullptr);
    SetTimer(b, 2, 20, nullptr);
    SetTimer(a, 3, 45, nullptr);
    const auto fired = pumpUntil(clock_, 1000 + 60);
    // Due at 1020 (b 2), 1030 (a 1), 1040 (b 2), 1045 (a 3), then 1060 for both a 1 and b 2: a tie
    // goes to the timer set first, a 1.
    const std::vector<std::pair<HWND, UINT_PTR>> expected{{b, 2}, {a, 1}, {b, 2}, {a, 3}, {a, 1}, {b, 2}};
    EXPECT_EQ(fired, expected);
}

TEST_F(TimersTest, AtMostOneWmTimerPendsHoweverLateTheLoopIs) {
    HWND window = make(WS_POPUP, 0, 0, 10, 10);
    SetTimer(window, 1, 50, nullptr);
    clock_.advance(1000);  // twenty periods pass without a look at the queue
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) << "PM_NOREMOVE kept it";
    EXPECT_EQ(msg.wParam, 1u);
    const uint64_t now = clock_.nowMs();
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "no pile-up of the missed periods";
    EXPECT_EQ(clock_.nowMs(), now + 50) << "the empty look moved virtual time to the next period";
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(TimersTest, TimerWaitsForOtherMessages) {
    HWND window = make(WS_POPUP, 0, 0, 10, 10);
    SetTimer(window, 1, 10, nullptr);
    clock_.advance(10);
    PostMessageA(window, WM_USER, 0, 0);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
}

TEST_F(TimersTest, SameWindowAndIdReplacesTheTimer) {
    HWND window = make(WS_POPUP, 0, 0, 10, 10);
    SetTimer(window, 1, 50, nullptr);
    clock_.advance(40);
    SetTimer(window, 1, 100, nullptr);  // starts afresh: due 100 ms from now, not 10
    const auto fired = pumpUntil(clock_, clock_.nowMs() + 250);
    EXPECT_EQ(fired.size(), 2u);
}

TEST_F(TimersTest, KillTimerStopsItAndFailsForUnknownTimers) {
    HWND window = make(WS_POPUP, 0, 0, 10, 10);
    SetTimer(window, 1, 10, nullptr);
    clock_.advance(20);
    EXPECT_TRUE(KillTimer(window, 1));
    MSG msg{};
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "a due timer killed makes no WM_TIMER";
    EXPECT_FALSE(KillTimer(window, 1));
    EXPECT_FALSE(KillTimer(window, 2));
}

std::vector<std::pair<UINT_PTR, DWORD>>& procedureCalls() {
    static std::vector<std::pair<UINT_PTR, DWORD>> calls;
    return calls;
}

void CALLBACK countTicks(HWND window, UINT message, UINT_PTR id, DWORD time) {
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(message, static_cast<UINT>(WM_TIMER));
    procedureCalls().emplace_back(id, time);
}

TEST_F(TimersTest, TimersWithoutAWindowGetNewIdsAndCallTheirProcedure) {
    procedureCalls().clear();
    const UINT_PTR first = SetTimer(nullptr, 5, 100, countTicks);
    const UINT_PTR second = SetTimer(nullptr, 5, 100, countTicks);
    EXPECT_NE(first, 0u);
    EXPECT_NE(second, first) << "without a window the id asked for is ignored";
    EXPECT_EQ(SetTimer(nullptr, first, 300, countTicks), first) << "an existing id is replaced";
    pumpUntil(clock_, 1000 + 300);
    // Both are due at 1300: the one set earlier goes first, and the replaced timer counts as new.
    EXPECT_EQ(procedureCalls(), (std::vector<std::pair<UINT_PTR, DWORD>>{{second, 1100}, {second, 1200},
                                                                           {second, 1300}, {first, 1300}}));
    EXPECT_TRUE(KillTimer(nullptr, first));
}

TEST_F(TimersTest, ForgedTimerProcedureIsNotCalled) {
    procedureCalls().clear();
    HWND window = make(WS_POPUP, 0, 0, 10, 10);
    MSG forged{window, WM_TIMER, 1, reinterpret_cast<LPARAM>(countTicks), 0, {}};
    EXPECT_EQ(DispatchMessageA(&forged), 0);
    EXPECT_TRUE(procedureCalls().empty());
}

TEST_F(TimersTest, ElapseBelowTheMinimumIsRaisedToIt) {
    HWND window = make(WS_POPUP, 0, 0, 10, 10);
    SetTimer(window, 1, 0, nullptr);
    MSG msg{};
    clock_.advance(USER_TIMER_MINIMUM - 1);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE));
    EXPECT_EQ(clock_.nowMs(), 1000u + USER_TIMER_MINIMUM) << "the empty look moved time on to the due time";
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
}

}  // namespace
}  // namespace window_test
