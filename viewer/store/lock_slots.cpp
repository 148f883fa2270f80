#include "store/lock_slots.h"

#include "store/block_pool.h"

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

}  // namespace lect32
