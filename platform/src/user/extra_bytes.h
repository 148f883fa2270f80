// The extra bytes of a window or a class, at the width the program declared them.
//
// Programs keep 16- and 32-bit values at fixed offsets and an object pointer in a 4-byte word. On
// 64-bit Linux the pointer does not fit, so a pointer-sized write keeps the full value in a side
// slot for its offset and its low half in the word; a pointer-sized read of that offset gives the
// slot back. Any narrower write that touches the word means the program stored something else
// there, so the slot goes.
#ifndef WINPLAT_SRC_USER_EXTRA_BYTES_H
#define WINPLAT_SRC_USER_EXTRA_BYTES_H

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "winplat/types.h"

namespace winplat::user {

class ExtraBytes {
public:
    explicit ExtraBytes(size_t size = 0) : bytes_(size, 0) {}

    size_t size() const { return bytes_.size(); }
    // Whether a value of 'width' bytes at 'offset' lies inside the bytes.
    bool fits(int offset, size_t width) const;

    // Each read or write expects fits() to hold; the old value comes back from a write.
    WORD readWord(int offset) const;
    WORD writeWord(int offset, WORD value);
    LONG readLong(int offset) const;
    LONG writeLong(int offset, LONG value);
    LONG_PTR readPointer(int offset) const;
    LONG_PTR writePointer(int offset, LONG_PTR value);

    // Whether a pointer-sized value is kept for the offset (for tests and the window dump).
    bool hasPointerSlot(int offset) const { return slots_.count(offset) != 0; }

private:
    void store(int offset, const void* data, size_t width);
    void dropSlotsTouching(int offset, size_t width);

    std::vector<uint8_t> bytes_;
    std::map<int, LONG_PTR> slots_;  // offset of the 4-byte word -> the full pointer
};

}  // namespace winplat::user

#endif
