// Scratch blocks for one operation at a time, and the block helpers that every container in
// movable memory shares (record arrays, blob lists, store buffers, span arrays).
#ifndef LECT32_STORE_BLOCK_POOL_H
#define LECT32_STORE_BLOCK_POOL_H

#include <cstdint>
#include <initializer_list>

#include "winplat/owners.h"
#include "winplat/refusal.h"
#include "winplat/types.h"

namespace lect32 {

// A container block never passes this many bytes, so sizes and offsets fit 16 bits.
constexpr uint32_t kMaxBlockBytes = 0xFFFF;
// Index or result meaning none, and the failure results of the containers' adds.
constexpr uint16_t kNoIndex = 0xFFFF;
constexpr uint16_t kAddLimit = 0xFFFF;
constexpr uint16_t kAddNoMemory = 0xFFFE;
constexpr uint16_t kAddCannotLock = 0xFFFD;

// A caller broke a container's contract (a bad index, a parked block edited, too many parked
// locks). Said on the debug output with the place that noticed; the container then refuses the
// call rather than touch bytes outside its block.
void ReportContractBreach(const char* what, winplat::CodePlace where = winplat::CodePlace::here());

// A lock handed to a caller, who gives it back through the container's Unlock: the block's
// bytes, or null (nothing locked) when it cannot be locked.
inline void* LockForCaller(HGLOBAL block) { return winplat::GlobalPin(block).release(); }
// Gives back one lock that LockForCaller handed out.
inline void UnlockForCaller(HGLOBAL block) { winplat::GlobalPin::adopt(block).reset(); }

// A container's bytes for one operation: through the pointer of a lock its owner already holds
// (held or parked across calls) or, without one, through a lock for the scope. Null without a
// block or when it cannot be locked.
class BlockBytes {
public:
    BlockBytes(HGLOBAL block, void* held)
        : pin_(held ? winplat::GlobalPin() : winplat::GlobalPin(block)),
          data_(static_cast<uint8_t*>(held ? held : pin_.data())) {}

    explicit operator bool() const { return data_ != nullptr; }
    uint8_t* get() const { return data_; }
    template <class T>
    T* as() const {
        return reinterpret_cast<T*>(data_);
    }

private:
    winplat::GlobalPin pin_;
    uint8_t* data_;
};

// A run of bytes copied from an old block into its replacement.
struct BlockPiece {
    uint32_t from;
    uint32_t to;
    uint32_t bytes;
};

// Replaces a block by a new movable one of newSize bytes built from pieces of the old one (which
// may be empty when no piece is taken from it); bytes no piece covers are left unwritten. The old
// block is freed on success; on failure (no memory, a block that cannot be locked) the result is
// false and the block is left as it was. Rebuilding rather than growing or shrinking in place
// means a failure can never leave a container half moved. The new block is unlocked.
bool RebuildBlock(winplat::GlobalBlock& block, uint32_t newSize, std::initializer_list<BlockPiece> pieces);

// RebuildBlock with n unwritten bytes opened at 'at' (the block may be empty when oldSize is 0).
bool BlockWithGap(winplat::GlobalBlock& block, uint32_t oldSize, uint32_t at, uint32_t n);
// The same with the n bytes at 'at' taken out; the result must keep at least one byte.
bool BlockWithout(winplat::GlobalBlock& block, uint32_t oldSize, uint32_t at, uint32_t n);

// Opens n unwritten bytes at 'at' in a block of oldSize bytes, resizing it where it is (the block
// keeps spare room, so growing by small steps copies each byte a bounded number of times); an
// empty owner gets a new block. false, with the block and its bytes as they were, when memory
// cannot be had or the block cannot be locked. The block may move: pointers into it go stale.
// The result stays within 'limit' bytes.
bool GrowBlock(winplat::GlobalBlock& block, uint32_t oldSize, uint32_t at, uint32_t n,
               uint32_t limit = kMaxBlockBytes);
// GrowBlock for a caller that writes the opened bytes at once: the block comes back locked, its
// data in the pin, at the cost of one platform call for the resize and the lock together. An empty
// pin, with the block and its bytes as they were, on failure.
winplat::GlobalPin GrowBlockLocked(winplat::GlobalBlock& block, uint32_t oldSize, uint32_t at, uint32_t n,
                                   uint32_t limit = kMaxBlockBytes);
// Takes the n bytes at 'at' out of a block of oldSize bytes (the result keeps at least one byte).
// false, with the block and its bytes as they were, when the smaller block cannot be had. The
// block may move: pointers into it go stale.
bool ShrinkBlock(HGLOBAL block, uint32_t oldSize, uint32_t at, uint32_t n);

// Up to 32 blocks that stay locked while they are out; callers give theirs back before they return.
class BlockPool {
public:
    static constexpr int kSlots = 32;

    BlockPool() = default;
    BlockPool(const BlockPool&) = delete;
    BlockPool& operator=(const BlockPool&) = delete;

    // The size is taken as 16 bits, so -1 asks for 65535 bytes. Null when every slot is out or the
    // first free slot's allocation fails.
    void* Alloc(int size, bool zeroFill);
    // 1 when the pointer came from this pool (its block is freed), else 0.
    int Free(void* pointer);
    int InUse() const;

private:
    // Each slot's block and the lock that keeps it in place while it is out (given back first).
    winplat::GlobalBlock blocks_[kSlots];
    winplat::GlobalPin pins_[kSlots];
};

// The reader's one pool.
extern BlockPool gBlockPool;

}  // namespace lect32

#endif
