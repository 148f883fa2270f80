#include "store/byte_buffer.h"

#include <cstring>

#include "store/block_pool.h"
#include "store/lock_slots.h"
#include "winplat/memory.h"

namespace lect32 {

void ByteBuffer::Init() {
    block_ = nullptr;
    size_ = 0;
    slot_ = 0;
}

void ByteBuffer::Release() {
    if (block_) {
        if (slot_) GlobalUnlock(block_);
        GlobalFree(block_);
    }
    Init();
}

int ByteBuffer::Allocate(uint16_t n) {
    if (block_) {
        ReportContractBreach("ByteBuffer::Allocate on a buffer that has a block");
        return 0;
    }
    if (n == 0) return 0;
    block_ = GlobalAlloc(GMEM_MOVEABLE, n);
    if (!block_) return 0;
    size_ = n;
    return 1;
}

uint8_t ByteBuffer::ParkLock() { return parkBlockLock(block_, slot_, "ByteBuffer parked twice"); }

void ByteBuffer::UnparkLock() { unparkBlockLock(block_, slot_); }

uint8_t* ByteBuffer::GetPointer(uint16_t offset) {
    if (!block_) return nullptr;
    if (offset > size_) {
        ReportContractBreach("ByteBuffer pointer past the end of its block");
        return nullptr;
    }
    if (slot_) return GetParkedPointer(offset);
    auto* data = static_cast<uint8_t*>(GlobalLock(block_));
    return data ? data + offset : nullptr;
}

uint8_t* ByteBuffer::GetParkedPointer(uint16_t offset) const {
    auto* data = static_cast<uint8_t*>(gLockSlots.Get(slot_));
    if (!data || offset > size_) {
        ReportContractBreach("ByteBuffer parked pointer asked of a buffer that is not parked");
        return nullptr;
    }
    return data + offset;
}

void ByteBuffer::Unlock() {
    if (block_ && !slot_) GlobalUnlock(block_);
}

int ByteBuffer::CopyTo(void* destination, uint32_t offset) {
    if (!block_) return 0;
    const void* data = GlobalLock(block_);
    if (!data) return 0;
    std::memcpy(static_cast<uint8_t*>(destination) + offset, data, size_);
    GlobalUnlock(block_);
    return 1;
}

void ByteBuffer::repark() {
    ReportContractBreach("ByteBuffer reshaped while parked");
    void* data = block_ ? GlobalLock(block_) : nullptr;
    if (!data) {
        slot_ = 0;
        return;
    }
    gLockSlots.Replace(slot_, data);
}

int ByteBuffer::InsertBytes(uint16_t position, uint16_t n) {
    if (n == 0) return 1;
    if (position > size_) {
        ReportContractBreach("ByteBuffer::InsertBytes past the end");
        return 0;
    }
    if (uint32_t{size_} > kMaxBlockBytes - n) return 0;
    const bool parked = slot_ != 0;
    if (parked && block_) GlobalUnlock(block_);
    if (!GrowBlock(block_, size_, position, n)) {
        if (parked && block_) GlobalLock(block_);
        return 0;
    }
    size_ = static_cast<uint16_t>(size_ + n);
    if (parked) repark();
    return 1;
}

int ByteBuffer::DeleteBytes(uint16_t position, uint16_t n) {
    if (n == 0) return 1;
    if (uint32_t{position} + n > size_) {
        ReportContractBreach("ByteBuffer::DeleteBytes past the end");
        return 0;
    }
    const bool parked = slot_ != 0;
    if (n == size_) {
        if (parked) {
            ReportContractBreach("ByteBuffer emptied while parked");
            GlobalUnlock(block_);
            gLockSlots.Replace(slot_, nullptr);
        }
        GlobalFree(block_);
        block_ = nullptr;
        size_ = 0;
        return 1;
    }
    if (parked) GlobalUnlock(block_);
    if (!ShrinkBlock(block_, size_, position, n)) {
        if (parked) GlobalLock(block_);
        return 0;
    }
    size_ = static_cast<uint16_t>(size_ - n);
    if (parked) repark();
    return 1;
}

HGLOBAL ByteBuffer::SplitOff(uint16_t cut, uint16_t length, uint16_t room, bool keepHead, uint16_t& newSize) {
    newSize = 0;
    const uint32_t tail = uint32_t{cut} + length;
    if (!block_ || tail > size_ || (keepHead && length > room)) {
        ReportContractBreach("ByteBuffer::SplitOff outside the buffer");
        return nullptr;
    }
    if (slot_) {
        // The caller must unpark first: the old block goes away under the parked pointer.
        ReportContractBreach("ByteBuffer split while parked");
        return nullptr;
    }
    const uint32_t rest = size_ - tail;
    const uint32_t splitSize = keepHead ? room + rest : rest;
    const uint32_t keptSize = keepHead ? cut : uint32_t{cut} + room;
    if (splitSize == 0 || splitSize > kMaxBlockBytes || keptSize > kMaxBlockBytes) return nullptr;
    const auto* data = static_cast<const uint8_t*>(GlobalLock(block_));
    if (!data) return nullptr;
    HGLOBAL split = GlobalAlloc(GMEM_MOVEABLE, splitSize);
    auto* to = split ? static_cast<uint8_t*>(GlobalLock(split)) : nullptr;
    if (to) {
        if (keepHead) {
            std::memcpy(to, data + cut, length);
            std::memcpy(to + room, data + tail, rest);
        } else {
            std::memcpy(to, data + tail, rest);
        }
        GlobalUnlock(split);
    }
    GlobalUnlock(block_);
    if (!to) {
        if (split) GlobalFree(split);
        return nullptr;
    }
    // The buffer keeps its head (a keepHead split at 0 keeps nothing).
    if (keptSize == 0) {
        GlobalFree(block_);
        block_ = nullptr;
    } else {
        const uint32_t copied = keptSize < size_ ? keptSize : size_;
        HGLOBAL kept = RebuildBlock(block_, keptSize, {{0, 0, copied}});
        if (!kept) {
            GlobalFree(split);
            return nullptr;
        }
        block_ = kept;
    }
    size_ = static_cast<uint16_t>(keptSize);
    newSize = static_cast<uint16_t>(splitSize);
    return split;
}

}  // namespace lect32
