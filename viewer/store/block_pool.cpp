#include "store/block_pool.h"

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
