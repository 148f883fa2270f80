#include "store/block_pool.h"

#include <algorithm>
#include <cstring>

#include "winplat/global_growth.h"
#include "winplat/memory.h"
#include "winplat/refusal.h"

namespace lect32 {

BlockPool gBlockPool;

namespace {

constexpr winplat::Refuser refuse("lect32: container");

// The block resized and locked in one platform call, the lock held by the pin: an empty pin, the
// block as it was, on failure.
winplat::GlobalPin resizedPin(HGLOBAL block, uint32_t bytes) {
    void* data = winplat::GlobalReAllocLocked(block, bytes);
    return data ? winplat::GlobalPin::adopt(block, data) : winplat::GlobalPin();
}

}  // namespace

void ReportContractBreach(const char* what, winplat::CodePlace where) { refuse.log(what, where); }

bool RebuildBlock(winplat::GlobalBlock& block, uint32_t newSize, std::initializer_list<BlockPiece> pieces) {
    if (newSize == 0 || newSize > kMaxBlockBytes) return false;
    winplat::GlobalBlock fresh(GlobalAlloc(GMEM_MOVEABLE, newSize));
    if (!fresh) return false;
    {
        const winplat::GlobalPin to(fresh.get());
        const winplat::GlobalPin from(block.get());
        const uint32_t oldSize = block ? static_cast<uint32_t>(GlobalSize(block.get())) : 0;
        if (!to || (block && !from)) return false;
        for (const BlockPiece& piece : pieces) {
            if (piece.bytes && (!from || piece.from + piece.bytes > oldSize || piece.to + piece.bytes > newSize)) {
                return false;
            }
        }
        for (const BlockPiece& piece : pieces) {
            if (!piece.bytes) continue;
            std::memcpy(to.as<uint8_t>() + piece.to, from.as<const uint8_t>() + piece.from, piece.bytes);
        }
    }
    block = std::move(fresh);
    return true;
}

bool BlockWithGap(winplat::GlobalBlock& block, uint32_t oldSize, uint32_t at, uint32_t n) {
    if (at > oldSize) return false;
    return RebuildBlock(block, oldSize + n, {{0, 0, at}, {at, at + n, oldSize - at}});
}

bool BlockWithout(winplat::GlobalBlock& block, uint32_t oldSize, uint32_t at, uint32_t n) {
    if (n >= oldSize || at > oldSize - n) return false;
    return RebuildBlock(block, oldSize - n, {{0, 0, at}, {at + n, at, oldSize - at - n}});
}

bool GrowBlock(winplat::GlobalBlock& block, uint32_t oldSize, uint32_t at, uint32_t n, uint32_t limit) {
    const uint64_t newSize = uint64_t{oldSize} + n;
    if (at > oldSize || newSize > limit) return false;
    if (!block) {
        block.reset(GlobalAlloc(GMEM_MOVEABLE, newSize));
        return static_cast<bool>(block);
    }
    // Bytes added at the end move nothing, so the resize alone does: one platform call per record
    // appended. Opening bytes inside needs the data as well, which the combined call gives.
    if (at == oldSize) return GlobalReAlloc(block.get(), newSize, GMEM_MOVEABLE) != nullptr;
    return static_cast<bool>(GrowBlockLocked(block, oldSize, at, n, limit));
}

winplat::GlobalPin GrowBlockLocked(winplat::GlobalBlock& block, uint32_t oldSize, uint32_t at, uint32_t n,
                                   uint32_t limit) {
    const uint64_t newSize = uint64_t{oldSize} + n;
    if (at > oldSize || newSize > limit) return {};
    if (!block) {
        winplat::GlobalBlock fresh(GlobalAlloc(GMEM_MOVEABLE, newSize));
        winplat::GlobalPin pin(fresh.get());
        if (!pin) return {};  // a fresh block that cannot be locked goes again
        block = std::move(fresh);
        return pin;
    }
    // The resize and the lock are one step, so there is no state between them to undo.
    winplat::GlobalPin pin = resizedPin(block.get(), static_cast<uint32_t>(newSize));
    if (!pin) return {};
    auto* data = pin.as<uint8_t>();
    std::memmove(data + at + n, data + at, oldSize - at);
    return pin;
}

// The bytes to drop are kept aside (few of them) or rotated to the end (many), so that a refused
// shrink can put them back.
bool ShrinkBlock(HGLOBAL block, uint32_t oldSize, uint32_t at, uint32_t n) {
    if (!block || n >= oldSize || at > oldSize - n) return false;
    const uint32_t tail = oldSize - at - n;
    uint8_t aside[256];
    const bool small = n <= sizeof aside;
    {
        const winplat::GlobalPin pin(block);
        if (!pin) return false;
        auto* data = pin.as<uint8_t>();
        if (small) {
            std::memcpy(aside, data + at, n);
            std::memmove(data + at, data + at + n, tail);
        } else {
            std::rotate(data + at, data + at + n, data + oldSize);
        }
    }
    if (GlobalReAlloc(block, oldSize - n, GMEM_MOVEABLE)) return true;
    const winplat::GlobalPin pin(block);
    if (auto* data = pin.as<uint8_t>(); data && small) {
        std::memmove(data + at + n, data + at, tail);
        std::memcpy(data + at, aside, n);
    } else if (data) {
        std::rotate(data + at, data + at + tail, data + oldSize);
    }
    return false;
}

void* BlockPool::Alloc(int size, bool zeroFill) {
    const auto bytes = static_cast<uint16_t>(size);
    for (int i = 0; i < kSlots; ++i) {
        if (blocks_[i]) continue;
        // Only the first free slot is tried: a failure there is a failure of memory, not of slots.
        const UINT flags = zeroFill ? (GMEM_MOVEABLE | GMEM_ZEROINIT) : GMEM_MOVEABLE;
        winplat::GlobalBlock block(GlobalAlloc(flags, bytes));
        winplat::GlobalPin pin(block.get());
        if (!pin) return nullptr;
        pins_[i] = std::move(pin);
        blocks_[i] = std::move(block);
        return pins_[i].data();
    }
    return nullptr;
}

int BlockPool::Free(void* pointer) {
    if (!pointer) return 0;
    for (int i = 0; i < kSlots; ++i) {
        if (!blocks_[i] || pins_[i].data() != pointer) continue;
        pins_[i].reset();
        blocks_[i].reset();
        return 1;
    }
    return 0;
}

int BlockPool::InUse() const {
    const auto held = [](const winplat::GlobalBlock& block) { return static_cast<bool>(block); };
    return static_cast<int>(std::count_if(std::begin(blocks_), std::end(blocks_), held));
}

}  // namespace lect32
