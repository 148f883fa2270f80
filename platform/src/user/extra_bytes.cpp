#include "user/extra_bytes.h"

#include <cstring>

namespace winplat::user {

bool ExtraBytes::fits(int offset, size_t width) const {
    return offset >= 0 && static_cast<size_t>(offset) <= bytes_.size() && width <= bytes_.size() - offset;
}

WORD ExtraBytes::readWord(int offset) const {
    WORD value = 0;
    std::memcpy(&value, bytes_.data() + offset, sizeof value);
    return value;
}

LONG ExtraBytes::readLong(int offset) const {
    LONG value = 0;
    std::memcpy(&value, bytes_.data() + offset, sizeof value);
    return value;
}

LONG_PTR ExtraBytes::readPointer(int offset) const {
    const auto slot = slots_.find(offset);
    return slot != slots_.end() ? slot->second : LONG_PTR{readLong(offset)};
}

WORD ExtraBytes::writeWord(int offset, WORD value) {
    const WORD old = readWord(offset);
    dropSlotsTouching(offset, sizeof value);
    store(offset, &value, sizeof value);
    return old;
}

LONG ExtraBytes::writeLong(int offset, LONG value) {
    const LONG old = readLong(offset);
    dropSlotsTouching(offset, sizeof value);
    store(offset, &value, sizeof value);
    return old;
}

LONG_PTR ExtraBytes::writePointer(int offset, LONG_PTR value) {
    const LONG_PTR old = readPointer(offset);
    dropSlotsTouching(offset, sizeof(LONG));
    const LONG lowHalf = static_cast<LONG>(static_cast<uint32_t>(value));
    store(offset, &lowHalf, sizeof lowHalf);
    slots_[offset] = value;
    return old;
}

void ExtraBytes::store(int offset, const void* data, size_t width) {
    std::memcpy(bytes_.data() + offset, data, width);
}

void ExtraBytes::dropSlotsTouching(int offset, size_t width) {
    // A slot covers the 4-byte word at its offset; a write overlapping any byte of it ends it.
    for (auto slot = slots_.begin(); slot != slots_.end();) {
        const bool overlaps = slot->first < offset + static_cast<int>(width) &&
                              offset < slot->first + static_cast<int>(sizeof(LONG));
        slot = overlaps ? slots_.erase(slot) : std::next(slot);
    }
}

}  // namespace winplat::user
