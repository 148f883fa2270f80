// The timers of one table: a binary min-heap by due time, so the next to fire is at the top and
// taking it or starting its next period costs O(log n) however many are set, with each timer also
// found by its window and id.
//
// Timers due together go in the order they were set: a timer's 'order' is its place in that
// sequence, and the heap breaks ties by it.
#ifndef WINPLAT_SRC_USER_TIMER_HEAP_H
#define WINPLAT_SRC_USER_TIMER_HEAP_H

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "winplat/user.h"

namespace winplat::user {

struct Timer {
    HWND window;
    UINT_PTR id;
    UINT period;
    uint64_t due;
    TIMERPROC procedure;
    uint64_t order;  // when it was set: the tie-breaker between timers due together
};

// Whether 'a' fires before 'b': the earlier due, the one set first among equals.
inline bool firesBefore(const Timer& a, const Timer& b) {
    return a.due != b.due ? a.due < b.due : a.order < b.order;
}

class TimerHeap {
public:
    // The timer the window and id name, or null.
    const Timer* find(HWND window, UINT_PTR id) const;
    // Adds the timer, or puts it in place of the one of the same window and id.
    void put(const Timer& timer);
    bool erase(HWND window, UINT_PTR id);
    void eraseWindow(HWND window);
    void clear();

    // The earliest due (earliest set among equals); null when empty.
    const Timer* top() const { return heap_.empty() ? nullptr : &slots_[heap_.front()].timer; }
    // Moves the timer the heap holds to a new due time.
    void reschedule(const Timer& timer, uint64_t due);

    size_t size() const { return heap_.size(); }
    // Every timer, in no particular order.
    template <class Visit>
    void forEach(Visit&& visit) const {
        for (uint32_t slot : heap_) visit(slots_[slot].timer);
    }

private:
    struct Key {
        HWND window;
        UINT_PTR id;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& key) const;
    };
    // Timers stay in their slot while they live, so the heap and the index hold slot numbers;
    // 'place' is the slot's position in the heap.
    struct Slot {
        Timer timer;
        size_t place;
    };

    bool earlier(uint32_t a, uint32_t b) const;
    void placeAt(size_t place, uint32_t slot);
    void siftUp(size_t place);
    void siftDown(size_t place);
    void restore(size_t place);
    uint32_t slotOf(const Timer& timer) const;
    void eraseSlot(uint32_t slot);

    std::vector<Slot> slots_;
    std::vector<uint32_t> freeSlots_;
    std::vector<uint32_t> heap_;
    std::unordered_map<Key, uint32_t, KeyHash> index_;
};

}  // namespace winplat::user

#endif
