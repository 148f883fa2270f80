// Slots of owned values reached by 32-bit handles, 0 being none. A freed slot is reused by a
// later value.
#ifndef LINEWORK_DRAWING_HANDLE_TABLE_H
#define LINEWORK_DRAWING_HANDLE_TABLE_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace linework {

// Slot 0 is never given out and stays empty, so a handle indexes its slot directly and handle 0
// holds nothing without a test of its own: a walk of a list looks a slot up once per record, and
// the lookup lies on the chain of loads from one record to the next.
template <class T>
class HandleTable {
public:
    // The new value's handle.
    uint32_t Add(T value) {
        if (!free_.empty()) {
            uint32_t handle = free_.back();
            free_.pop_back();
            slots_[handle] = std::move(value);
            return handle;
        }
        if (slots_.empty()) slots_.emplace_back();
        slots_.push_back(std::move(value));
        return static_cast<uint32_t>(slots_.size() - 1);
    }
    bool Holds(uint32_t handle) const { return handle < slots_.size() && slots_[handle]; }
    // A handle that holds nothing is a fault of our own code and stops here.
    T& operator[](uint32_t handle) { return slots_[Checked(handle)]; }
    const T& operator[](uint32_t handle) const { return slots_[Checked(handle)]; }
    void Free(uint32_t handle) {
        slots_[Checked(handle)] = T{};
        free_.push_back(handle);
    }
    // One past the largest handle given out.
    uint32_t End() const { return static_cast<uint32_t>(std::max<size_t>(slots_.size(), 1)); }

private:
    size_t Checked(uint32_t handle) const {
        if (!Holds(handle)) __builtin_trap();
        return handle;
    }

    std::vector<T> slots_;  // slot 0 empty
    std::vector<uint32_t> free_;
};

}  // namespace linework

#endif
