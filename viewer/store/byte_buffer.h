// One growable run of bytes in one movable block: a block of a segmented store. While its store
// is parked the block stays locked and its pointer sits in the lock-slot table.
#ifndef LECT32_STORE_BYTE_BUFFER_H
#define LECT32_STORE_BYTE_BUFFER_H

#include <cstdint>

#include "store/lock_slots.h"
#include "winplat/owners.h"

namespace lect32 {

class ByteBuffer {
public:
    ByteBuffer() = default;
    ~ByteBuffer() { Release(); }
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;

    void Init();
    // Frees the block; size and lock slot back to 0.
    void Release();

    uint16_t GetSize() const { return size_; }
    uint8_t GetLockSlot() const { return parked_.slot(); }
    HGLOBAL GetHandle() const { return block_.get(); }

    // A new block of n unwritten bytes for an empty buffer: 1, or 0 without memory.
    int Allocate(uint16_t n);

    // Locks the block (a buffer without one parks null) and parks the pointer at the table's next
    // slot; returns that slot, or 0 when the table is full (nothing is then locked).
    uint8_t ParkLock();
    void UnparkLock();

    // Address of a byte: through the parked pointer when parked, else by locking (pair with
    // Unlock); null without a block or for an offset past the end.
    uint8_t* GetPointer(uint16_t offset);
    // Through the parked pointer only.
    uint8_t* GetParkedPointer(uint16_t offset) const;
    // Unlocks unless parked or without a block.
    void Unlock();

    // Copies all bytes to destination + offset: 1, or 0 without a block or when it cannot be locked.
    int CopyTo(void* destination, uint32_t offset);

    // Opens an unwritten gap of n bytes at position: 1 (at once for n = 0), or 0 at the 64 KB limit
    // or without memory, the buffer unchanged.
    int InsertBytes(uint16_t position, uint16_t n);
    // Removes n bytes at position; removing all frees the block. 1 (at once for n = 0), or 0
    // without memory, the buffer unchanged.
    int DeleteBytes(uint16_t position, uint16_t n);

    // Moves the buffer's tail into a new block and returns it (its size in newSize); null, with
    // the buffer unchanged, when memory cannot be had.
    //  keepHead false: the new block holds the bytes from cut + length on; the buffer keeps its
    //    first cut + room bytes.
    //  keepHead true: the new block starts with room bytes into which the length bytes at cut are
    //    copied, followed by the bytes from cut + length on; the buffer keeps its first cut bytes.
    HGLOBAL SplitOff(uint16_t cut, uint16_t length, uint16_t room, bool keepHead, uint16_t& newSize);

private:
    // After the block was reshaped while parked: lock it where it is now and point the slot at it.
    void repark();

    winplat::GlobalBlock block_;
    ParkedLock parked_;  // given back before the block goes
    uint16_t size_ = 0;
};

}  // namespace lect32

#endif
