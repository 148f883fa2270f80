#include "store/block_pool.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "winplat/debug.h"
#include "winplat/memory.h"

namespace lect32 {

BlockPool gBlockPool;

void ReportContractBreach(const char* what) {
#ifndef NDEBUG
    OutputDebugStringA((std::string("lect32: container misuse: ") + what + "\n").c_str());
#else
    (void)what;
#endif
}

HGLOBAL RebuildBlock(HGLOBAL old, uint32_t newSize, std::initializer_list<BlockPiece> pieces) {
    if (newSize == 0 || newSize > kMaxBlockBytes) return nullptr;
    HGLOBAL fresh = GlobalAlloc(GMEM_MOVEABLE, newSize);
    if (!fresh) return nullptr;
    auto* to = static_cast<uint8_t*>(GlobalLock(fresh));
    const auto* from = old ? static_cast<const uint8_t*>(GlobalLock(old)) : nullptr;
    const uint32_t oldSize = old ? static_cast<uint32_t>(GlobalSize(old)) : 0;
    bool fits = to && (from || !old);
    for (const BlockPiece& piece : pieces) {
        if (piece.bytes && (!from || piece.from + piece.bytes > oldSize || piece.to + piece.bytes > newSize)) fits = false;
    }
    if (fits) {
        for (const BlockPiece& piece : pieces) {
            if (piece.bytes) std::memcpy(to + piece.to, from + piece.from, piece.bytes);
        }
    }
    if (from) GlobalUnlock(old);
    if (to) GlobalUnlock(fresh);
    if (!fits) {
        GlobalFree(fresh);
        return nullptr;
    }
    if (old) GlobalFree(old);
    return fresh;
}

HGLOBAL BlockWithGap(HGLOBAL old, uint32_t oldSize, uint32_t at, uint32_t n) {
    if (at > oldSize) return nullptr;
    return RebuildBlock(old, oldSize + n, {{0, 0, at}, {at, at + n, oldSize - at}});
}

HGLOBAL BlockWithout(HGLOBAL old, uint32_t oldSize, uint32_t at, uint32_t n) {
    if (n >= oldSize || at > oldSize - n) return nullptr;
    return RebuildBlock(old, oldSize - n, {{0, 0, at}, {at + n, at, oldSize - at - n}});
}

bool GrowBlock(HGLOBAL& block, uint32_t oldSize, uint32_t at, uint32_t n) {
    const uint32_t newSize = oldSize + n;
    if (at > oldSize || newSize > kMaxBlockBytes) return false;
    if (!block) {
        block = GlobalAlloc(GMEM_MOVEABLE, newSize);
        return block != nullptr;
    }
    if (!GlobalReAlloc(block, newSize, GMEM_MOVEABLE)) return false;
    if (at == oldSize) return true;  // nothing to move up
    auto* data = static_cast<uint8_t*>(GlobalLock(block));
    if (!data) {
        GlobalReAlloc(block, oldSize, GMEM_MOVEABLE);  // a locked-out block was never written
        return false;
    }
    std::memmove(data + at + n, data + at, oldSize - at);
    GlobalUnlock(block);
    return true;
}

// The bytes to drop are kept aside (few of them) or rotated to the end (many), so that a refused
// shrink can put them back.
bool ShrinkBlock(HGLOBAL block, uint32_t oldSize, uint32_t at, uint32_t n) {
    if (!block || n >= oldSize || at > oldSize - n) return false;
    auto* data = static_cast<uint8_t*>(GlobalLock(block));
    if (!data) return false;
    const uint32_t tail = oldSize - at - n;
    uint8_t aside[256];
    const bool small = n <= sizeof aside;
    if (small) {
        std::memcpy(aside, data + at, n);
        std::memmove(data + at, data + at + n, tail);
    } else {
        std::rotate(data + at, data + at + n, data + oldSize);
    }
    GlobalUnlock(block);
    if (GlobalReAlloc(block, oldSize - n, GMEM_MOVEABLE)) return true;
    data = static_cast<uint8_t*>(GlobalLock(block));
    if (data && small) {
        std::memmove(data + at + n, data + at, tail);
        std::memcpy(data + at, aside, n);
    } else if (data) {
        std::rotate(data + at, data + at + tail, data + oldSize);
    }
    if (data) GlobalUnlock(block);
    return false;
}

BlockPool::~BlockPool() {
    for (int i = 0; i < kSlots; ++i) {
        if (!handles_[i]) continue;
        GlobalUnlock(handles_[i]);
        GlobalFree(handles_[i]);
        handles_[i] = nullptr;
        pointers_[i] = nullptr;
    }
}

void* BlockPool::Alloc(int size, bool zeroFill) {
    const auto bytes = static_cast<uint16_t>(size);
    for (int i = 0; i < kSlots; ++i) {
        if (handles_[i]) continue;
        // Only the first free slot is tried: a failure there is a failure of memory, not of slots.
        HGLOBAL block = GlobalAlloc(zeroFill ? (GMEM_MOVEABLE | GMEM_ZEROINIT) : GMEM_MOVEABLE, bytes);
        if (!block) return nullptr;
        void* data = GlobalLock(block);
        if (!data) {
            GlobalFree(block);
            return nullptr;
        }
        handles_[i] = block;
        pointers_[i] = data;
        return data;
    }
    return nullptr;
}

int BlockPool::Free(void* pointer) {
    if (!pointer) return 0;
    for (int i = 0; i < kSlots; ++i) {
        if (!handles_[i] || pointers_[i] != pointer) continue;
        GlobalUnlock(handles_[i]);
        GlobalFree(handles_[i]);
        handles_[i] = nullptr;
        pointers_[i] = nullptr;
        return 1;
    }
    return 0;
}

int BlockPool::InUse() const {
    int used = 0;
    for (HGLOBAL handle : handles_) used += handle ? 1 : 0;
    return used;
}

}  // namespace lect32
