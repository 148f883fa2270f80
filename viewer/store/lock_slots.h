// The table of parked locks: a store that is about to walk all of its blocks locks each once and
// parks the pointer here, so item addresses become plain pointer arithmetic until it unparks.
#ifndef LECT32_STORE_LOCK_SLOTS_H
#define LECT32_STORE_LOCK_SLOTS_H

#include <cstdint>

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

// Locks a block and parks its pointer for an owner whose parked slot is 'slot' (0: not parked).
// A second park of the same owner is a caller's mistake, reported with 'who' and answered with
// the slot it already has; a full table leaves the block unlocked. Returns the slot, 0 on failure.
uint8_t parkBlockLock(void* block, uint8_t& slot, const char* who);
// Unlocks a parked block and forgets its slot.
void unparkBlockLock(void* block, uint8_t& slot);

}  // namespace lect32

#endif
