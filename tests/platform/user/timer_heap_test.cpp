// The timers' heap against a plain list of the same timers: after every change its top must be
// the timer that fires first (earliest due, earliest set among equals), each timer found by its
// window and id, and taking the top again and again must give the whole list in firing order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "user/timer_heap.h"

namespace {

using winplat::user::firesBefore;
using winplat::user::Timer;
using winplat::user::TimerHeap;

HWND windowNumber(int n) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1000 + n)); }

// The same timers, kept in a vector.
struct Model {
    std::vector<Timer> timers;

    Timer* find(HWND window, UINT_PTR id) {
        for (Timer& t : timers) {
            if (t.window == window && t.id == id) return &t;
        }
        return nullptr;
    }
    void put(const Timer& timer) {
        if (Timer* old = find(timer.window, timer.id)) {
            *old = timer;
        } else {
            timers.push_back(timer);
        }
    }
    void erase(HWND window, UINT_PTR id) {
        std::erase_if(timers, [&](const Timer& t) { return t.window == window && t.id == id; });
    }
    std::vector<Timer> inFiringOrder() const {
        std::vector<Timer> sorted = timers;
        std::sort(sorted.begin(), sorted.end(), firesBefore);
        return sorted;
    }
};

// A fixed pseudo-random sequence, so a failure repeats.
struct Steps {
    uint32_t state = 12345;
    uint32_t next(uint32_t below) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % below;
    }
};

void expectSame(const TimerHeap& heap, Model& model, int step) {
    ASSERT_EQ(heap.size(), model.timers.size()) << "step " << step;
    const std::vector<Timer> sorted = model.inFiringOrder();
    if (sorted.empty()) {
        EXPECT_EQ(heap.top(), nullptr) << "step " << step;
        return;
    }
    ASSERT_NE(heap.top(), nullptr) << "step " << step;
    EXPECT_EQ(heap.top()->window, sorted.front().window) << "step " << step;
    EXPECT_EQ(heap.top()->id, sorted.front().id) << "step " << step;
    for (const Timer& t : model.timers) {
        const Timer* found = heap.find(t.window, t.id);
        ASSERT_NE(found, nullptr) << "step " << step;
        EXPECT_EQ(found->due, t.due) << "step " << step;
        EXPECT_EQ(found->order, t.order) << "step " << step;
    }
}

void expectDrainsInOrder(TimerHeap& heap, const Model& model) {
    std::vector<std::pair<HWND, UINT_PTR>> taken;
    while (const Timer* top = heap.top()) {
        taken.emplace_back(top->window, top->id);
        const Timer copy = *top;
        ASSERT_TRUE(heap.erase(copy.window, copy.id));
    }
    std::vector<std::pair<HWND, UINT_PTR>> expected;
    for (const Timer& t : model.inFiringOrder()) expected.emplace_back(t.window, t.id);
    EXPECT_EQ(taken, expected);
}

TEST(TimerHeapTest, EveryChangeKeepsTheFirstToFireOnTop) {
    TimerHeap heap;
    Model model;
    Steps steps;
    uint64_t order = 0;
    for (int step = 0; step < 3000; ++step) {
        // Few windows and ids, so puts often replace and erases often hit; few due times, so ties
        // between timers due together are common.
        const HWND window = windowNumber(static_cast<int>(steps.next(4)));
        const UINT_PTR id = steps.next(24);
        const uint64_t due = 100 + steps.next(40);
        switch (steps.next(6)) {
            case 0:
            case 1: {
                const Timer timer{window, id, 10, due, nullptr, order++};
                heap.put(timer);
                model.put(timer);
                break;
            }
            case 2:
                EXPECT_EQ(heap.erase(window, id), model.find(window, id) != nullptr) << "step " << step;
                model.erase(window, id);
                break;
            case 3:
                if (const Timer* top = heap.top()) {
                    // As a fetch does: the top moves to its next period.
                    model.find(top->window, top->id)->due = due + 40;
                    heap.reschedule(*top, due + 40);
                }
                break;
            case 4:
                if (const Timer* found = heap.find(window, id)) {
                    // A timer deep in the heap moved either way.
                    model.find(window, id)->due = due;
                    heap.reschedule(*found, due);
                }
                break;
            default:
                if (steps.next(20) == 0) {
                    heap.eraseWindow(window);
                    std::erase_if(model.timers, [&](const Timer& t) { return t.window == window; });
                }
                break;
        }
        expectSame(heap, model, step);
        if (HasFatalFailure()) return;
    }
    expectDrainsInOrder(heap, model);
}

TEST(TimerHeapTest, TimersDueTogetherComeOutInTheOrderTheyWereSet) {
    TimerHeap heap;
    Model model;
    // Set in reverse of their ids, all due at once, then one set again: it goes last.
    for (UINT_PTR id = 20; id >= 1; --id) {
        const Timer timer{windowNumber(0), id, 10, 500, nullptr, 20 - id};
        heap.put(timer);
        model.put(timer);
    }
    const Timer again{windowNumber(0), 20, 10, 500, nullptr, 100};
    heap.put(again);
    model.put(again);
    ASSERT_EQ(heap.top()->id, 19u) << "the timer set again lost its place at the front";
    expectDrainsInOrder(heap, model);
}

TEST(TimerHeapTest, ATimerIsFoundByItsWindowAndIdTogether) {
    TimerHeap heap;
    heap.put({windowNumber(1), 7, 10, 100, nullptr, 0});
    heap.put({windowNumber(2), 7, 10, 200, nullptr, 1});
    heap.put({nullptr, 7, 10, 300, nullptr, 2});
    ASSERT_NE(heap.find(windowNumber(2), 7), nullptr);
    EXPECT_EQ(heap.find(windowNumber(2), 7)->due, 200u);
    EXPECT_EQ(heap.find(nullptr, 7)->due, 300u);
    EXPECT_EQ(heap.find(windowNumber(1), 8), nullptr);
    EXPECT_EQ(heap.find(windowNumber(3), 7), nullptr);
    heap.eraseWindow(windowNumber(1));
    EXPECT_EQ(heap.find(windowNumber(1), 7), nullptr);
    EXPECT_EQ(heap.size(), 2u) << "another window's timer of the same id went too";
    EXPECT_EQ(heap.top()->due, 200u);
}

}  // namespace
