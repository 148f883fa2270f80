// The table of parked locks: a store that is about to walk all of its blocks locks each once and
// parks the pointer here, so item addresses become plain pointer arithmetic until it unparks.
#ifndef LECT32_STORE_LOCK_SLOTS_H
#define LECT32_STORE_LOCK_SLOTS_H

#include <cstdint>

#include "winplat/owners.h"

namespace lect32 {

class LockSlotTable {
public:
    static constexpr int kSlots = 64;  // slot 0 means "not parked", so 63 carry pointers

    // Called by a store before it parks its blocks; the previous store's slots are reused.
    void Reset() { next_ = 1; }
    // The slot that now holds the pointer, or 0 when all 63 are taken since the last reset.
    uint8_t Park(void* pointer);
    // Points a slot that is in use at a block's new place.
    void Replace(uint8_t slot, void* pointer);
    // The pointer parked in a slot (null for slot 0 or a slot out of range).
    void* Get(uint8_t slot) const;
    uint16_t NextSlot() const { return next_; }

private:
    uint16_t next_ = 1;
    void* slots_[kSlots] = {};
};

// The one table: only one store is parked at a time, all on the user-interface thread.
extern LockSlotTable gLockSlots;

// A container's parked lock: the lock on its block and the table slot that holds the pointer.
class ParkedLock {
public:
    explicit operator bool() const { return slot_ != 0; }
    uint8_t slot() const { return slot_; }
    // The parked pointer (null when not parked, or parked without a block).
    void* data() const { return gLockSlots.Get(slot_); }

    // Locks the block (a missing block parks null) and parks its pointer. A second park is a
    // caller's mistake, reported with 'who' and answered with the slot it already has; a full
    // table leaves the block unlocked. Returns the slot, 0 on failure.
    uint8_t park(HGLOBAL block, const char* who);
    // Gives the lock back and forgets the slot.
    void unpark();

    // Around a reshape that may move the block: suspend() lets go of the lock and keeps the slot;
    // resume() locks the block where it is now and points the slot at it. A block that is gone or
    // cannot be locked leaves the slot pointing at nothing and the owner not parked.
    void suspend() { pin_.reset(); }
    void resume(HGLOBAL block);
    // The block went away while parked: the slot stays taken but points at nothing.
    void emptied();

private:
    winplat::GlobalPin pin_;
    uint8_t slot_ = 0;
};

}  // namespace lect32

#endif
