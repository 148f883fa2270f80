#include "store/flag_words.h"

#include <cassert>
#include <cstring>

#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "winplat/memory.h"

namespace lect32 {

void DwordArray::Clear() {
    if (block_) {
        if (data_) GlobalUnlock(block_);
        GlobalFree(block_);
    }
    block_ = nullptr;
    data_ = nullptr;
    count_ = 0;
}

int DwordArray::Lock() {
    if (data_) return 1;
    if (!block_) return 0;
    data_ = static_cast<uint32_t*>(GlobalLock(block_));
    return data_ ? 1 : 0;
}

int DwordArray::Unlock() {
    if (data_) GlobalUnlock(block_);
    data_ = nullptr;
    return 1;
}

// Locks for one operation when the owner has not locked the array already.
uint32_t* DwordArray::Pin(bool& pinned) {
    pinned = false;
    if (data_) return data_;
    if (!block_) return nullptr;
    auto* data = static_cast<uint32_t*>(GlobalLock(block_));
    pinned = data != nullptr;
    return data;
}

void DwordArray::Unpin(bool pinned) {
    if (pinned) GlobalUnlock(block_);
}

uint32_t DwordArray::GetAt(uint16_t index) {
    assert(index < count_);
    if (index >= count_) return 0;
    bool pinned;
    const uint32_t* data = Pin(pinned);
    const uint32_t value = data ? data[index] : 0;
    Unpin(pinned);
    return value;
}

void DwordArray::FilterByMask(uint8_t* map, uint16_t n, uint32_t mask) {
    bool pinned;
    const uint32_t* data = Pin(pinned);
    const uint16_t known = data ? count_ : 0;
    for (uint16_t i = 0; i < n; ++i) {
        if (i >= known || (data[i] & mask) == 0) map[i] = 0;
    }
    Unpin(pinned);
}

int DwordArray::Load(MemReader& reader) {
    Clear();
    uint8_t elementSize = 0;
    uint16_t count = 0;
    if (!reader.ReadByte(elementSize) || !reader.ReadWord(count)) return 0;
    if (elementSize != kElementSize || count > kMaxCount) return 0;
    const uint32_t bytes = uint32_t{count} * kElementSize;
    if (bytes > reader.remaining()) return 0;
    if (count == 0) return 1;
    block_ = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (!block_) return 0;
    auto* data = static_cast<uint32_t*>(GlobalLock(block_));
    if (!data) {
        Clear();
        return 0;
    }
    for (uint16_t i = 0; i < count; ++i) reader.ReadDword(data[i]);
    GlobalUnlock(block_);
    count_ = count;
    return 1;
}

int DwordArray::SetAt(uint16_t index, uint32_t value) {
    assert(index < count_);
    bool pinned;
    uint32_t* data = index < count_ ? Pin(pinned) : nullptr;
    if (!data) return 0;
    data[index] = value;
    Unpin(pinned);
    return 1;
}

void DwordArray::ApplyMaskFromMap(const uint8_t* map, uint16_t n, uint32_t mask) {
    bool pinned;
    uint32_t* data = Pin(pinned);
    if (!data) return;
    for (uint16_t i = 0; i < n && i < count_; ++i) data[i] = map[i] ? (data[i] | mask) : (data[i] & ~mask);
    Unpin(pinned);
}

void DwordArray::MapMask(uint8_t* map, uint16_t n, uint32_t mask) {
    bool pinned;
    const uint32_t* data = Pin(pinned);
    const uint16_t known = data ? count_ : 0;
    for (uint16_t i = 0; i < n; ++i) map[i] = (i < known && (data[i] & mask) != 0) ? 1 : 0;
    Unpin(pinned);
}

uint16_t DwordArray::Append(uint32_t value) {
    if (count_ >= kMaxCount) return kFull;
    const uint32_t bytes = (uint32_t{count_} + 1) * kElementSize;
    const bool wasLocked = data_ != nullptr;
    Unlock();
    HGLOBAL next = block_ ? GlobalReAlloc(block_, bytes, GMEM_MOVEABLE | GMEM_ZEROINIT)
                          : GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (!next) {
        if (wasLocked) Lock();
        return kNoMemory;
    }
    block_ = next;
    if (!Lock()) return kLockFailed;
    data_[count_] = value;
    const uint16_t index = count_++;
    if (!wasLocked) Unlock();
    return index;
}

int DwordArray::Allocate(uint16_t n) {
    Clear();
    if (n > kMaxCount) return 0;
    if (n == 0) return 1;
    block_ = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, uint32_t{n} * kElementSize);
    if (!block_) return 0;
    count_ = n;
    return 1;
}

void DwordArray::RemoveBit(unsigned k) {
    if (k >= 32) return;
    bool pinned;
    uint32_t* data = Pin(pinned);
    if (!data) return;
    const uint32_t below = (uint32_t{1} << k) - 1;
    for (uint16_t i = 0; i < count_; ++i) {
        const uint32_t above = k == 31 ? 0 : (data[i] >> (k + 1)) << k;
        data[i] = (data[i] & below) | above;
    }
    Unpin(pinned);
}

int DwordArray::Save(MemWriter& writer) {
    writer.WriteByte(static_cast<uint8_t>(elementSize_));
    writer.WriteWord(count_);
    if (count_) {
        bool pinned;
        const uint32_t* data = Pin(pinned);
        if (!data) return 0;
        for (uint16_t i = 0; i < count_; ++i) writer.WriteDword(data[i]);
        Unpin(pinned);
    }
    return writer.error() ? 0 : 1;
}

}  // namespace lect32
