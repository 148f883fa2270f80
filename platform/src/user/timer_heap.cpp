#include "user/timer_heap.h"

#include <functional>
#include <type_traits>

namespace winplat::user {

size_t TimerHeap::KeyHash::operator()(const Key& key) const {
    // Windows differ in their handle, a window's timers in their id: mix both.
    const auto window = reinterpret_cast<uintptr_t>(key.window);
    return std::hash<uintptr_t>{}(window * 0x9E3779B97F4A7C15u ^ key.id);
}

const Timer* TimerHeap::find(HWND window, UINT_PTR id) const {
    const auto found = index_.find({window, id});
    return found != index_.end() ? &slots_[found->second].timer : nullptr;
}

void TimerHeap::put(const Timer& timer) {
    const auto [entry, added] = index_.try_emplace({timer.window, timer.id}, 0);
    if (!added) {
        Slot& slot = slots_[entry->second];
        slot.timer = timer;
        restore(slot.place);
        return;
    }
    uint32_t slot = static_cast<uint32_t>(slots_.size());
    if (freeSlots_.empty()) {
        slots_.push_back({timer, heap_.size()});
    } else {
        slot = freeSlots_.back();
        freeSlots_.pop_back();
        slots_[slot] = {timer, heap_.size()};
    }
    entry->second = slot;
    heap_.push_back(slot);
    siftUp(heap_.size() - 1);
}

bool TimerHeap::erase(HWND window, UINT_PTR id) {
    const auto found = index_.find({window, id});
    if (found == index_.end()) return false;
    eraseSlot(found->second);
    return true;
}

void TimerHeap::eraseWindow(HWND window) {
    std::vector<UINT_PTR> ids;
    forEach([&](const Timer& timer) {
        if (timer.window == window) ids.push_back(timer.id);
    });
    for (UINT_PTR id : ids) erase(window, id);
}

void TimerHeap::clear() {
    slots_.clear();
    freeSlots_.clear();
    heap_.clear();
    index_.clear();
}

void TimerHeap::reschedule(const Timer& timer, uint64_t due) {
    Slot& slot = slots_[slotOf(timer)];
    slot.timer.due = due;
    restore(slot.place);
}

bool TimerHeap::earlier(uint32_t a, uint32_t b) const { return firesBefore(slots_[a].timer, slots_[b].timer); }

void TimerHeap::placeAt(size_t place, uint32_t slot) {
    heap_[place] = slot;
    slots_[slot].place = place;
}

void TimerHeap::siftUp(size_t place) {
    const uint32_t moving = heap_[place];
    while (place > 0) {
        const size_t parent = (place - 1) / 2;
        if (!earlier(moving, heap_[parent])) break;
        placeAt(place, heap_[parent]);
        place = parent;
    }
    placeAt(place, moving);
}

void TimerHeap::siftDown(size_t place) {
    const uint32_t moving = heap_[place];
    const size_t count = heap_.size();
    for (;;) {
        size_t child = 2 * place + 1;
        if (child >= count) break;
        if (child + 1 < count && earlier(heap_[child + 1], heap_[child])) ++child;
        if (!earlier(heap_[child], moving)) break;
        placeAt(place, heap_[child]);
        place = child;
    }
    placeAt(place, moving);
}

// After the timer at 'place' changed its due time or order, either way.
void TimerHeap::restore(size_t place) {
    const uint32_t slot = heap_[place];
    siftUp(place);
    if (slots_[slot].place == place) siftDown(place);
}

uint32_t TimerHeap::slotOf(const Timer& timer) const {
    // A slot starts with its timer, so the timer's address is the slot's.
    static_assert(std::is_standard_layout_v<Slot>);
    return static_cast<uint32_t>(reinterpret_cast<const Slot*>(&timer) - slots_.data());
}

void TimerHeap::eraseSlot(uint32_t slot) {
    const Timer& timer = slots_[slot].timer;
    index_.erase({timer.window, timer.id});
    const size_t place = slots_[slot].place;
    const uint32_t last = heap_.back();
    heap_.pop_back();
    freeSlots_.push_back(slot);
    if (last == slot) return;
    placeAt(place, last);
    restore(place);
}

}  // namespace winplat::user
