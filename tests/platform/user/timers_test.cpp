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

// Many timers on a few windows, some replaced and some killed before the loop runs: they fire
// in the order of their due times, each next period counted from its tick, ties to the timer set
// first (a replaced timer counts as set when it was replaced).
TEST_F(TimersTest, ManyTimersFireInDueOrder) {
    const HWND windows[] = {make(WS_POPUP, 0, 0, 10, 10), make(WS_POPUP, 0, 0, 10, 10), make(WS_POPUP, 0, 0, 10, 10)};
    struct Expected {
        HWND window;
        UINT_PTR id;
        UINT period;
        uint64_t due;
    };
    std::vector<Expected> model;  // in the order set
    auto set = [&](HWND window, UINT_PTR id, UINT period) {
        ASSERT_EQ(SetTimer(window, id, period, nullptr), id);
        std::erase_if(model, [&](const Expected& e) { return e.window == window && e.id == id; });
        model.push_back({window, id, period, clock_.nowMs() + period});
    };
    for (UINT_PTR id = 1; id <= 60; ++id) set(windows[id % 3], id, 10 + static_cast<UINT>(id * 7 % 23));
    for (UINT_PTR id = 5; id <= 60; id += 11) {
        ASSERT_TRUE(KillTimer(windows[id % 3], id));
        std::erase_if(model, [&](const Expected& e) { return e.window == windows[id % 3] && e.id == id; });
    }
    clock_.advance(3);
    for (UINT_PTR id = 2; id <= 60; id += 9) set(windows[id % 3], id, 12);
    const uint64_t until = clock_.nowMs() + 150;

    std::vector<std::pair<HWND, UINT_PTR>> expected;
    for (;;) {
        auto next = std::min_element(model.begin(), model.end(), [](const Expected& a, const Expected& b) {
            return a.due < b.due;  // min_element keeps the first of equals: the one set first
        });
        if (next->due > until) break;
        expected.emplace_back(next->window, next->id);
        next->due += next->period;  // it keeps its place in the order set
    }
    EXPECT_EQ(pumpUntil(clock_, until), expected);
}

// A look for one window's messages takes the earliest timer of the window or its descendants,
// though other timers are due before it; a look for thread messages takes timers without a
// window alone; a range without WM_TIMER takes none.
TEST_F(TimersTest, AFilteredLookTakesOnlyTheTimersItNames) {
    HWND other = make(WS_POPUP, 0, 0, 10, 10);
    HWND parent = make(WS_POPUP, 0, 0, 10, 10);
    HWND child = make(WS_CHILD, 0, 0, 5, 5, parent);
    SetTimer(other, 1, 10, nullptr);
    SetTimer(parent, 2, 40, nullptr);
    SetTimer(child, 3, 30, nullptr);
    const UINT_PTR thread = SetTimer(nullptr, 0, 35, nullptr);
    clock_.advance(50);
    struct Case {
        HWND filter;
        UINT first;
        UINT last;
        HWND window;  // of the WM_TIMER taken; none when nothing is
        UINT_PTR id;
    };
    const HWND threadOnly = reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1));
    const Case cases[] = {
        {parent, 0, 0, child, 3},
        {child, 0, 0, child, 3},
        {threadOnly, 0, 0, nullptr, thread},
        {nullptr, 0, 0, other, 1},
        {parent, WM_USER, WM_USER + 10, nullptr, 0},
        {parent, WM_TIMER, WM_TIMER, child, 3},
    };
    for (const Case& c : cases) {
        MSG msg{};
        const BOOL taken = PeekMessageA(&msg, c.filter, c.first, c.last, PM_NOREMOVE);
        EXPECT_EQ(taken != FALSE, c.id != 0) << "filter " << c.filter << " id " << c.id;
        if (!taken || !c.id) continue;
        EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
        EXPECT_EQ(msg.hwnd, c.window);
        EXPECT_EQ(msg.wParam, c.id);
    }
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, parent, 0, 0, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, parent, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 2u) << "the child's timer, taken, moved on to its next period";
    EXPECT_FALSE(PeekMessageA(&msg, parent, 0, 0, PM_NOREMOVE)) << "neither is due again until 80";
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, other) << "the other window's timer still waits, first in due order";
    EXPECT_TRUE(KillTimer(nullptr, thread));
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
