#include "store/byte_buffer.h"

#include <cstring>

#include "store/block_pool.h"
#include "store/lock_slots.h"

namespace lect32 {

void ByteBuffer::Init() { Release(); }

void ByteBuffer::Release() {
    parked_.unpark();
    block_.reset();
    size_ = 0;
}

int ByteBuffer::Allocate(uint16_t n) {
    if (block_) {
        ReportContractBreach("ByteBuffer::Allocate on a buffer that has a block");
        return 0;
    }
    if (n == 0) return 0;
    block_.reset(GlobalAlloc(GMEM_MOVEABLE, n));
    if (!block_) return 0;
    size_ = n;
    return 1;
}

uint8_t ByteBuffer::ParkLock() { return parked_.park(block_.get(), "ByteBuffer parked twice"); }

void ByteBuffer::UnparkLock() { parked_.unpark(); }

uint8_t* ByteBuffer::GetPointer(uint16_t offset) {
    if (!block_) return nullptr;
    if (offset > size_) {
        ReportContractBreach("ByteBuffer pointer past the end of its block");
        return nullptr;
    }
    if (parked_) return GetParkedPointer(offset);
    auto* data = static_cast<uint8_t*>(LockForCaller(block_.get()));
    return data ? data + offset : nullptr;
}

uint8_t* ByteBuffer::GetParkedPointer(uint16_t offset) const {
    auto* data = static_cast<uint8_t*>(parked_.data());
    if (!data || offset > size_) {
        ReportContractBreach("ByteBuffer parked pointer asked of a buffer that is not parked");
        return nullptr;
    }
    return data + offset;
}

void ByteBuffer::Unlock() {
    if (block_ && !parked_) UnlockForCaller(block_.get());
}

int ByteBuffer::CopyTo(void* destination, uint32_t offset) {
    const winplat::GlobalPin pin(block_.get());
    if (!pin) return 0;
    std::memcpy(static_cast<uint8_t*>(destination) + offset, pin.data(), size_);
    return 1;
}

void ByteBuffer::repark() {
    ReportContractBreach("ByteBuffer reshaped while parked");
    parked_.resume(block_.get());
}

int ByteBuffer::InsertBytes(uint16_t position, uint16_t n) {
    if (n == 0) return 1;
    if (position > size_) {
        ReportContractBreach("ByteBuffer::InsertBytes past the end");
        return 0;
    }
    if (uint32_t{size_} > kMaxBlockBytes - n) return 0;
    const bool parked = static_cast<bool>(parked_);
    parked_.suspend();
    if (!GrowBlock(block_, size_, position, n)) {
        if (parked) parked_.resume(block_.get());
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
    const bool parked = static_cast<bool>(parked_);
    if (n == size_) {
        if (parked) {
            ReportContractBreach("ByteBuffer emptied while parked");
            parked_.emptied();
        }
        block_.reset();
        size_ = 0;
        return 1;
    }
    parked_.suspend();
    if (!ShrinkBlock(block_.get(), size_, position, n)) {
        if (parked) parked_.resume(block_.get());
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
    if (parked_) {
        // The caller must unpark first: the old block goes away under the parked pointer.
        ReportContractBreach("ByteBuffer split while parked");
        return nullptr;
    }
    const uint32_t rest = size_ - tail;
    const uint32_t splitSize = keepHead ? room + rest : rest;
    const uint32_t keptSize = keepHead ? cut : uint32_t{cut} + room;
    if (splitSize == 0 || splitSize > kMaxBlockBytes || keptSize > kMaxBlockBytes) return nullptr;
    winplat::GlobalBlock split(GlobalAlloc(GMEM_MOVEABLE, splitSize));
    {
        const winplat::GlobalPin from(block_.get());
        const winplat::GlobalPin to(split.get());
        if (!from || !to) return nullptr;
        const auto* data = from.as<const uint8_t>();
        if (keepHead) {
            std::memcpy(to.as<uint8_t>(), data + cut, length);
            std::memcpy(to.as<uint8_t>() + room, data + tail, rest);
        } else {
            std::memcpy(to.as<uint8_t>(), data + tail, rest);
        }
    }
    // The buffer keeps its head (a keepHead split at 0 keeps nothing).
    if (keptSize == 0) {
        block_.reset();
    } else {
        const uint32_t copied = keptSize < size_ ? keptSize : size_;
        if (!RebuildBlock(block_, keptSize, {{0, 0, copied}})) return nullptr;
    }
    size_ = static_cast<uint16_t>(keptSize);
    newSize = static_cast<uint16_t>(splitSize);
    return split.release();
}

}  // namespace lect32
