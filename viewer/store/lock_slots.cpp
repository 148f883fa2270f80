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

uint8_t ParkedLock::park(HGLOBAL block, const char* who) {
    if (slot_) {
        ReportContractBreach(who);
        return slot_;
    }
    winplat::GlobalPin pin(block);
    const uint8_t parked = gLockSlots.Park(pin.data());
    if (!parked) return 0;  // the pin gives the lock back
    pin_ = std::move(pin);
    slot_ = parked;
    return parked;
}

void ParkedLock::unpark() {
    pin_.reset();
    slot_ = 0;
}

void ParkedLock::resume(HGLOBAL block) {
    pin_ = winplat::GlobalPin(block);
    gLockSlots.Replace(slot_, pin_.data());
    if (!pin_) slot_ = 0;
}

void ParkedLock::resumeAfterReshape(HGLOBAL block, bool reshaped, const char* who) {
    if (reshaped) ReportContractBreach(who);
    resume(block);
}

void ParkedLock::emptied() {
    pin_.reset();
    gLockSlots.Replace(slot_, nullptr);
}

}  // namespace lect32
