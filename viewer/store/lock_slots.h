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
    // resume() after a reshape; one that was done while parked is a caller's mistake, said with
    // 'who' (the block moved under the parked pointer).
    void resumeAfterReshape(HGLOBAL block, bool reshaped, const char* who);

private:
    winplat::GlobalPin pin_;
    uint8_t slot_ = 0;
};

// A container's own lock on its block, kept across calls once its owner asks for it, so that
// the container's addresses cost no lock call. The container lets go around every reshape that
// may move the block and takes the lock again on the block it then has.
class HeldLock {
public:
    // From now on the block is kept locked (the one there is now and every later one).
    void keep(HGLOBAL block) {
        wanted_ = true;
        resume(block);
    }
    explicit operator bool() const { return static_cast<bool>(pin_); }
    void* data() const { return pin_.data(); }

    void suspend() { pin_.reset(); }
    void resume(HGLOBAL block) {
        if (wanted_ && block && !pin_) pin_ = winplat::GlobalPin(block);
    }

private:
    winplat::GlobalPin pin_;
    bool wanted_ = false;
};

// Runs a reshape that may move or replace a container's block, letting go of the locks the
// container keeps around it and taking them again on the block it then has.
template <class Reshape>
bool ReshapeKeptBlock(ParkedLock& parked, HeldLock& held, const winplat::GlobalBlock& block, const char* who,
                      Reshape change) {
    const bool wasParked = static_cast<bool>(parked);
    parked.suspend();
    held.suspend();
    const bool done = change();
    held.resume(block.get());
    if (wasParked) parked.resumeAfterReshape(block.get(), done, who);
    return done;
}

}  // namespace lect32

#endif
