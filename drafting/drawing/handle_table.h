// Slots of owned values reached by 32-bit handles: a handle is the slot number plus one, 0 is
// none. A freed slot is reused by a later value.
#ifndef LINEWORK_DRAWING_HANDLE_TABLE_H
#define LINEWORK_DRAWING_HANDLE_TABLE_H

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace linework {

template <class T>
class HandleTable {
public:
    // The new value's handle.
    uint32_t Add(T value) {
        if (!free_.empty()) {
            uint32_t handle = free_.back();
            free_.pop_back();
            slots_[handle - 1] = std::move(value);
            return handle;
        }
        slots_.push_back(std::move(value));
        return static_cast<uint32_t>(slots_.size());
    }
    bool Holds(uint32_t handle) const { return handle != 0 && handle <= slots_.size() && slots_[handle - 1]; }
    // A handle that holds nothing is a fault of our own code and stops here.
    T& operator[](uint32_t handle) { return slots_[Checked(handle)]; }
    const T& operator[](uint32_t handle) const { return slots_[Checked(handle)]; }
    void Free(uint32_t handle) {
        slots_[Checked(handle)] = T{};
        free_.push_back(handle);
    }
    // One past the largest handle given out.
    uint32_t End() const { return static_cast<uint32_t>(slots_.size()) + 1; }

private:
    size_t Checked(uint32_t handle) const {
        if (!Holds(handle)) __builtin_trap();
        return handle - 1;
    }

    std::vector<T> slots_;
    std::vector<uint32_t> free_;
};

}  // namespace linework

#endif
