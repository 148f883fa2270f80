// Scratch blocks for one operation at a time, and the block helpers that every container in
// movable memory shares (record arrays, blob lists, store buffers, span arrays).
#ifndef LECT32_STORE_BLOCK_POOL_H
#define LECT32_STORE_BLOCK_POOL_H

#include <cstdint>
#include <initializer_list>

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
// locks). Debug builds say so on the debug output; the container then refuses the call rather than
// touch bytes outside its block.
void ReportContractBreach(const char* what);

// A run of bytes copied from an old block into its replacement.
struct BlockPiece {
    uint32_t from;
    uint32_t to;
    uint32_t bytes;
};

// Builds a new movable block of newSize bytes from pieces of the old one (old may be null when no
// piece is taken from it); bytes no piece covers are left unwritten. The old block is freed on
// success; on failure (no memory, a block that cannot be locked) the result is null and the old
// block is left as it was. Rebuilding rather than growing or shrinking in place means a failure
// can never leave a container half moved. The new block is unlocked.
HGLOBAL RebuildBlock(HGLOBAL old, uint32_t newSize, std::initializer_list<BlockPiece> pieces);

// RebuildBlock with n unwritten bytes opened at 'at' (old may be null when oldSize is 0).
HGLOBAL BlockWithGap(HGLOBAL old, uint32_t oldSize, uint32_t at, uint32_t n);
// The same with the n bytes at 'at' taken out; the result must keep at least one byte.
HGLOBAL BlockWithout(HGLOBAL old, uint32_t oldSize, uint32_t at, uint32_t n);

// Opens n unwritten bytes at 'at' in a block of oldSize bytes, resizing it where it is (the block
// keeps spare room, so growing by small steps copies each byte a bounded number of times); a null
// block gets a new one. false, with the block and its bytes as they were, when memory cannot be
// had or the block cannot be locked. The block may move: pointers into it go stale.
bool GrowBlock(HGLOBAL& block, uint32_t oldSize, uint32_t at, uint32_t n);
// Takes the n bytes at 'at' out of a block of oldSize bytes (the result keeps at least one byte).
// false, with the block and its bytes as they were, when the smaller block cannot be had. The
// block may move: pointers into it go stale.
bool ShrinkBlock(HGLOBAL block, uint32_t oldSize, uint32_t at, uint32_t n);

// Up to 32 blocks that stay locked while they are out; callers give theirs back before they return.
class BlockPool {
public:
    static constexpr int kSlots = 32;

    BlockPool() = default;
    ~BlockPool();
    BlockPool(const BlockPool&) = delete;
    BlockPool& operator=(const BlockPool&) = delete;

    // The size is taken as 16 bits, so -1 asks for 65535 bytes. Null when every slot is out or the
    // first free slot's allocation fails.
    void* Alloc(int size, bool zeroFill);
    // 1 when the pointer came from this pool (its block is freed), else 0.
    int Free(void* pointer);
    int InUse() const;

private:
    void* pointers_[kSlots] = {};
    HGLOBAL handles_[kSlots] = {};
};

// The reader's one pool.
extern BlockPool gBlockPool;

}  // namespace lect32

#endif
