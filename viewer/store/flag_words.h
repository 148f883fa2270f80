// Per-item flag words: an array of u32 values in one zero-filled movable block (at most 65535
// bytes, so 16383 elements). Stored as u8 element size (4), u16 count, the values in index order.
#ifndef LECT32_STORE_FLAG_WORDS_H
#define LECT32_STORE_FLAG_WORDS_H

#include <cstdint>

#include "winplat/owners.h"

namespace lect32 {

class MemReader;
class MemWriter;

class DwordArray {
public:
    static constexpr uint16_t kElementSize = 4;
    static constexpr uint16_t kMaxCount = 0xFFFF / kElementSize;  // 16383
    static constexpr uint16_t kFull = 0xFFFF;
    static constexpr uint16_t kNoMemory = 0xFFFE;
    static constexpr uint16_t kLockFailed = 0xFFFD;

    DwordArray() = default;
    ~DwordArray() { Clear(); }
    DwordArray(const DwordArray&) = delete;
    DwordArray& operator=(const DwordArray&) = delete;

    void Clear();
    int Lock();
    int Unlock();
    bool IsLocked() const { return static_cast<bool>(lock_); }
    uint16_t GetCount() const { return count_; }

    uint32_t GetAt(uint16_t index);
    // map[i] becomes 0 where element i has none of the mask bits, and for every i from count to
    // n - 1; other entries keep their value.
    void FilterByMask(uint8_t* map, uint16_t n, uint32_t mask);
    // Element size 4 only: any other is refused, since the values are read as u32.
    int Load(MemReader& reader);

    // Editing side.
    int SetAt(uint16_t index, uint32_t value);
    // Sets the mask bits of element i where map[i] is non-zero and clears them where it is 0.
    void ApplyMaskFromMap(const uint8_t* map, uint16_t n, uint32_t mask);
    // map[i] = 1 where element i has one of the mask bits, else 0 (0 past count as well).
    void MapMask(uint8_t* map, uint16_t n, uint32_t mask);
    // Returns the new element's index or kFull / kNoMemory / kLockFailed, unchanged on failure.
    uint16_t Append(uint32_t value);
    // Replaces the contents with n zeroed elements.
    int Allocate(uint16_t n);
    // Drops bit k from every element: higher bits move down one place.
    void RemoveBit(unsigned k);
    int Save(MemWriter& writer);

private:
    winplat::GlobalBlock block_;
    winplat::GlobalPin lock_;  // held while the owner has the array locked; given back first
    uint16_t elementSize_ = kElementSize;
    uint16_t count_ = 0;
};

}  // namespace lect32

#endif
