#include "store/flag_words.h"

#include <cassert>
#include <cstring>

#include "store/block_pool.h"
#include "store/mem_reader.h"
#include "store/mem_writer.h"

namespace lect32 {
namespace {

// Resizes a block to 'bytes', new bytes zeroed (a new block for an empty owner); false leaves it.
bool resizeZeroed(winplat::GlobalBlock& block, uint32_t bytes) {
    if (block) return GlobalReAlloc(block.get(), bytes, GMEM_MOVEABLE | GMEM_ZEROINIT) != nullptr;
    block.reset(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes));
    return static_cast<bool>(block);
}

}  // namespace

void DwordArray::Clear() {
    lock_.reset();
    block_.reset();
    count_ = 0;
}

int DwordArray::Lock() {
    if (!lock_) lock_ = winplat::GlobalPin(block_.get());
    return lock_ ? 1 : 0;
}

int DwordArray::Unlock() {
    lock_.reset();
    return 1;
}

uint32_t DwordArray::GetAt(uint16_t index) {
    assert(index < count_);
    if (index >= count_) return 0;
    const BlockBytes data(block_.get(), lock_.data());
    return data ? data.as<uint32_t>()[index] : 0;
}

void DwordArray::FilterByMask(uint8_t* map, uint16_t n, uint32_t mask) {
    const BlockBytes bytes(block_.get(), lock_.data());
    const auto* data = bytes.as<const uint32_t>();
    const uint16_t known = data ? count_ : 0;
    for (uint16_t i = 0; i < n; ++i) {
        if (i >= known || (data[i] & mask) == 0) map[i] = 0;
    }
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
    winplat::GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes));
    {
        const winplat::GlobalPin pin(block.get());
        if (!pin) return 0;
        for (uint16_t i = 0; i < count; ++i) reader.ReadDword(pin.as<uint32_t>()[i]);
    }
    block_ = std::move(block);
    count_ = count;
    return 1;
}

int DwordArray::SetAt(uint16_t index, uint32_t value) {
    assert(index < count_);
    if (index >= count_) return 0;
    const BlockBytes data(block_.get(), lock_.data());
    if (!data) return 0;
    data.as<uint32_t>()[index] = value;
    return 1;
}

void DwordArray::ApplyMaskFromMap(const uint8_t* map, uint16_t n, uint32_t mask) {
    const BlockBytes bytes(block_.get(), lock_.data());
    auto* data = bytes.as<uint32_t>();
    if (!data) return;
    for (uint16_t i = 0; i < n && i < count_; ++i) data[i] = map[i] ? (data[i] | mask) : (data[i] & ~mask);
}

void DwordArray::MapMask(uint8_t* map, uint16_t n, uint32_t mask) {
    const BlockBytes bytes(block_.get(), lock_.data());
    const auto* data = bytes.as<const uint32_t>();
    const uint16_t known = data ? count_ : 0;
    for (uint16_t i = 0; i < n; ++i) map[i] = (i < known && (data[i] & mask) != 0) ? 1 : 0;
}

uint16_t DwordArray::Append(uint32_t value) {
    if (count_ >= kMaxCount) return kFull;
    const uint32_t bytes = (uint32_t{count_} + 1) * kElementSize;
    const bool wasLocked = static_cast<bool>(lock_);
    Unlock();
    if (!resizeZeroed(block_, bytes)) {
        if (wasLocked) Lock();
        return kNoMemory;
    }
    if (!Lock()) return kLockFailed;
    lock_.as<uint32_t>()[count_] = value;
    const uint16_t index = count_++;
    if (!wasLocked) Unlock();
    return index;
}

int DwordArray::Allocate(uint16_t n) {
    Clear();
    if (n > kMaxCount) return 0;
    if (n == 0) return 1;
    block_.reset(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, uint32_t{n} * kElementSize));
    if (!block_) return 0;
    count_ = n;
    return 1;
}

void DwordArray::RemoveBit(unsigned k) {
    if (k >= 32) return;
    const BlockBytes bytes(block_.get(), lock_.data());
    auto* data = bytes.as<uint32_t>();
    if (!data) return;
    const uint32_t below = (uint32_t{1} << k) - 1;
    for (uint16_t i = 0; i < count_; ++i) {
        const uint32_t above = k == 31 ? 0 : (data[i] >> (k + 1)) << k;
        data[i] = (data[i] & below) | above;
    }
}

int DwordArray::Save(MemWriter& writer) {
    writer.WriteByte(static_cast<uint8_t>(elementSize_));
    writer.WriteWord(count_);
    if (count_) {
        const BlockBytes data(block_.get(), lock_.data());
        if (!data) return 0;
        for (uint16_t i = 0; i < count_; ++i) writer.WriteDword(data.as<const uint32_t>()[i]);
    }
    return writer.error() ? 0 : 1;
}

}  // namespace lect32
