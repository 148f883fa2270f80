#include "store/run_rooms.h"

#include <algorithm>

namespace lect32 {

void RunRooms::clear() {
    count_ = 0;
    total_ = 0;
}

// Rooms in front of the place are those before position, and the one at position unless
// 'atToo'.
RunRooms::Place RunRooms::place(uint32_t position, bool atToo) const {
    const uint32_t bound = atToo ? position : position + 1;
    Place found{0, 0};
    for (; found.index < count_ && at_[found.index] < bound; ++found.index) found.roomBytes += length_[found.index];
    return found;
}

int RunRooms::find(uint32_t at) const {
    const int i = firstFrom(at, true);
    return i < count_ && at_[i] == at ? i : count_;
}

bool RunRooms::mayAdd(uint32_t length, bool newRoom) const {
    if (newRoom && (count_ == kMaxRooms || length > kMaxRoom)) return false;
    return total_ + length <= kMaxTotal;
}

void RunRooms::shiftFrom(int i, int delta) {
    for (; i < count_; ++i) at_[i] = static_cast<uint16_t>(at_[i] + delta);
}

void RunRooms::grow(int i, uint32_t bytes) {
    length_[i] = static_cast<uint16_t>(length_[i] + bytes);
    total_ += bytes;
}

void RunRooms::shrink(int i, uint32_t bytes) {
    length_[i] = static_cast<uint16_t>(length_[i] - bytes);
    total_ -= bytes;
    if (length_[i] == 0) remove(i);
}

void RunRooms::add(uint32_t at, uint32_t length) {
    const int i = firstFrom(at, true);
    if (i < count_ && at_[i] == at) {
        grow(i, length);
        return;
    }
    std::copy_backward(at_.begin() + i, at_.begin() + count_, at_.begin() + count_ + 1);
    std::copy_backward(length_.begin() + i, length_.begin() + count_, length_.begin() + count_ + 1);
    at_[i] = static_cast<uint16_t>(at);
    length_[i] = static_cast<uint16_t>(length);
    ++count_;
    total_ += length;
}

void RunRooms::mergeAt(int i) {
    if (i < 0 || i + 1 >= count_ || at_[i] != at_[i + 1]) return;
    length_[i] = static_cast<uint16_t>(length_[i] + length_[i + 1]);
    remove(i + 1);
}

void RunRooms::remove(int i) {
    std::copy(at_.begin() + i + 1, at_.begin() + count_, at_.begin() + i);
    std::copy(length_.begin() + i + 1, length_.begin() + count_, length_.begin() + i);
    --count_;
}

}  // namespace lect32
