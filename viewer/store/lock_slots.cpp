#include "store/lock_slots.h"

#include "store/block_pool.h"
#include "winplat/memory.h"

namespace lect32 {

LockSlotTable gLockSlots;

uint8_t LockSlotTable::Park(void* pointer) {
    if (next_ == 0 || next_ >= kSlots) {
        ReportContractBreach("more locks parked than the lock-slot table holds");
        return 0;
    }
    const auto slot = static_cast<uint8_t>(next_++);
    slots_[slot] = pointer;
    return slot;
}

void LockSlotTable::Replace(uint8_t slot, void* pointer) {
    if (slot == 0 || slot >= next_ || slot >= kSlots) {
        ReportContractBreach("a lock slot replaced that is not in use");
        return;
    }
    slots_[slot] = pointer;
}

void* LockSlotTable::Get(uint8_t slot) const {
    if (slot == 0 || slot >= kSlots) return nullptr;
    return slots_[slot];
}

uint8_t parkBlockLock(void* block, uint8_t& slot, const char* who) {
    if (slot) {
        ReportContractBreach(who);
        return slot;
    }
    HGLOBAL handle = static_cast<HGLOBAL>(block);
    void* data = handle ? GlobalLock(handle) : nullptr;
    const uint8_t parked = gLockSlots.Park(data);
    if (!parked) {
        if (data) GlobalUnlock(handle);
        return 0;
    }
    slot = parked;
    return parked;
}

void unparkBlockLock(void* block, uint8_t& slot) {
    if (!slot) return;  // nothing was locked for it
    if (block) GlobalUnlock(static_cast<HGLOBAL>(block));
    slot = 0;
}

}  // namespace lect32
