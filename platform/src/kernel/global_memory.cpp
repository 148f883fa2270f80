// Global memory blocks behind handles.
//
// A block grown by GlobalReAlloc gets room to spare, so that a block grown a little at a time costs
// linear copying in all; GlobalSize still reports the size asked for. Release builds grow and shrink
// within that room in place. Sanitizer builds move a moveable block on every reallocation that
// allows it, so a pointer kept across an unlock fails loudly instead of working by luck, and they
// poison the room beyond the size so that reading past it is caught too. Debug builds fill fresh
// memory with 0xCD and freed memory with 0xDD, and report blocks left at exit.
//
// Storage a block leaves behind (freed, or moved from) is kept for the next block of its size
// class (see StorageCache), so that containers filled and emptied over and over do not make the C
// allocator hand the pages back to the system and fault them in again. The cache is ours rather
// than the allocator told not to trim (mallopt) because this library lives inside three programs:
// tuning the process-wide allocator would change every other allocation of its host and override
// its user's MALLOC_ settings, where the cache touches global memory only and keeps a bounded
// amount. Sanitizer builds take storage from the allocator and give it back, so that a block's old
// storage stays poisoned and a use of a moved or freed block is caught instead of reading the
// block that reused it.
#include <sanitizer/asan_interface.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/call_refusal.h"
#include "kernel/storage_cache.h"
#include "winplat/base.h"
#include "winplat/global_growth.h"
#include "winplat/handles.h"
#include "winplat/host.h"
#include "winplat/memory.h"
#include "winplat/testing.h"
#include "winplat/sanitizer.h"

namespace winplat {
namespace {

#ifdef NDEBUG
constexpr bool kDebugFill = false;
#else
constexpr bool kDebugFill = true;
#endif

#if defined(WINPLAT_ADDRESS_SANITIZER)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

// The largest block a 32-bit program could ever have had.
constexpr SIZE_T kMaxBlockSize = 0x7FFFFFFF;
constexpr UINT kKnownFlags =
    GMEM_MOVEABLE | GMEM_NOCOMPACT | GMEM_NODISCARD | GMEM_ZEROINIT | GMEM_DISCARDABLE | GMEM_SHARE;

// Freed storage kept for reuse, up to this many bytes in all: a few times what the largest string
// list and its neighbours take while they grow, a small part of what a program of ours holds.
constexpr size_t kKeptStorageBudget = size_t{8} << 20;

StorageCache& storageCache() {
    // Never destroyed: blocks may be freed from other libraries' static destructors.
    static StorageCache* cache = new StorageCache(kKeptStorageBudget);
    return *cache;
}

// A block's storage: 'capacity' bytes taken from the cache (from the allocator in sanitizer
// builds), given back when it goes. The cache may hand out more than the capacity; a block never
// uses more, so it grows, moves and is poisoned just as it would in storage of exactly that size.
class Storage {
public:
    Storage() = default;
    // Storage of 'capacity' bytes, or empty when memory cannot be had.
    static Storage take(SIZE_T capacity) {
        Storage storage;
        storage.bytes_ = kSanitized ? new (std::nothrow) std::byte[capacity] : storageCache().take(capacity);
        if (storage.bytes_) storage.capacity_ = capacity;
        return storage;
    }
    ~Storage() { reset(); }
    Storage(Storage&& other) noexcept
        : bytes_(std::exchange(other.bytes_, nullptr)), capacity_(std::exchange(other.capacity_, 0)) {}
    Storage& operator=(Storage&& other) noexcept {
        if (this != &other) {
            reset();
            bytes_ = std::exchange(other.bytes_, nullptr);
            capacity_ = std::exchange(other.capacity_, 0);
        }
        return *this;
    }
    Storage(const Storage&) = delete;
    Storage& operator=(const Storage&) = delete;

    std::byte* data() const { return bytes_; }
    SIZE_T capacity() const { return capacity_; }

    void reset() {
        if (kSanitized) {
            delete[] bytes_;
        } else {
            storageCache().give(bytes_, capacity_);
        }
        bytes_ = nullptr;
        capacity_ = 0;
    }

private:
    std::byte* bytes_ = nullptr;
    SIZE_T capacity_ = 0;
};

struct GlobalBlock final : HandleObject {
    Storage storage;
    SIZE_T size = 0;
    UINT flags = 0;
    unsigned lockCount = 0;
    bool discarded = false;

    bool moveable() const { return (flags & GMEM_MOVEABLE) != 0; }
    std::byte* data() const { return storage.data(); }
};

struct FailurePlan {
    bool active = false;
    int first = 0;
    int count = 0;
    int seen = 0;
    int failures = 0;
};

// One lock over every block's fields, the pointer index and the failure plan: blocks are shared
// between threads, and these calls are short. Taking it is one serialising atomic operation, the
// bulk of what a call costs; a spin lock given back by a plain store (one atomic per call instead
// of two) measured no faster, since the second atomic finds nothing left to wait for, so the
// standard mutex stays, with its fair waiting.
std::mutex memoryMutex;
std::unordered_map<const void*, uint32_t> blockByData;
FailurePlan failurePlan;
// Whether a reallocation that may move a block always does; tests may switch it for a while.
bool alwaysMove = kSanitized;

// Every live block by the slot of its handle, beside the handle table: the calls on a block find it
// under the one lock they take anyway, without the table's lock and reference counting. The table
// owns the blocks; GlobalFree takes an entry out before its block dies.
struct Entry {
    uint32_t handle = 0;
    GlobalBlock* block = nullptr;
};
std::vector<Entry> blockBySlot;

bool planRefuses() {
    if (!failurePlan.active) return false;
    ++failurePlan.seen;
    if (failurePlan.seen >= failurePlan.first && failurePlan.seen < failurePlan.first + failurePlan.count) {
        ++failurePlan.failures;
        return true;
    }
    return false;
}

// The bytes of the storage from 'from' on are room, not block: under AddressSanitizer touching
// them is an error until the block grows over them again.
void poisonRoom(const Storage& storage, SIZE_T from) {
    if (storage.data() && from < storage.capacity()) {
        ASAN_POISON_MEMORY_REGION(storage.data() + from, storage.capacity() - from);
    }
}

void unpoison(const Storage& storage, SIZE_T from, SIZE_T to) {
    if (storage.data() && from < to) ASAN_UNPOISON_MEMORY_REGION(storage.data() + from, to - from);
}

// New storage for 'bytes' (at least one byte) with 'capacity' bytes in all, or empty on failure.
Storage allocate(SIZE_T bytes, SIZE_T capacity) {
    capacity = std::max({bytes, capacity, SIZE_T{1}});
    Storage storage = Storage::take(capacity);
    if (!storage.data()) return {};
    if (kDebugFill) std::memset(storage.data(), 0xCD, capacity);
    poisonRoom(storage, std::max(bytes, SIZE_T{1}));
    return storage;
}

// Storage for a new block of exactly 'bytes', unless the failure plan refuses it.
Storage allocate(SIZE_T bytes) {
    if (bytes > kMaxBlockSize || planRefuses()) return {};
    return allocate(bytes, bytes);
}

void release(Storage& storage) {
    unpoison(storage, 0, storage.capacity());
    if (kDebugFill && storage.data()) std::memset(storage.data(), 0xDD, storage.capacity());
    storage.reset();
}

// Storage for a block outgrowing 'capacity': half as much again to spare (within the largest
// block), so a block grown step by step is copied a bounded number of times per byte.
SIZE_T roomFor(SIZE_T bytes, SIZE_T capacity) {
    return std::clamp(capacity + capacity / 2, bytes, kMaxBlockSize);
}

// A block shrunk to under a quarter of its storage gives the rest back.
bool wastesRoom(SIZE_T bytes, SIZE_T capacity) { return bytes < capacity / 4; }

uint32_t slotOf(uint32_t handle) { return handle & (HandleTable::kMaxSlots - 1); }

// The live block a handle names, else null with ERROR_INVALID_HANDLE. Caller holds the lock.
GlobalBlock* lookup(HGLOBAL handle) {
    const uint32_t value = handleValue(handle);
    const uint32_t slot = slotOf(value);
    if (value && slot < blockBySlot.size() && blockBySlot[slot].handle == value) {
        return blockBySlot[slot].block;
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

void enter(uint32_t handle, GlobalBlock* block) {
    const uint32_t slot = slotOf(handle);
    if (slot >= blockBySlot.size()) blockBySlot.resize(slot + 1);
    blockBySlot[slot] = Entry{handle, block};
}

void leave(uint32_t handle) {
    const uint32_t slot = slotOf(handle);
    if (slot < blockBySlot.size() && blockBySlot[slot].handle == handle) blockBySlot[slot] = Entry{};
}

// Gives the block new storage for 'bytes', keeping the contents that fit. Caller holds the lock.
bool moveTo(GlobalBlock& block, uint32_t handle, SIZE_T bytes, bool zeroGrowth) {
    const SIZE_T had = block.storage.capacity();
    const SIZE_T capacity = bytes > had ? roomFor(bytes, had) : wastesRoom(bytes, had) ? bytes : had;
    Storage fresh = allocate(bytes, capacity);
    if (!fresh.data() && capacity > bytes) fresh = allocate(bytes, bytes);
    if (!fresh.data()) return false;
    const SIZE_T kept = block.size < bytes ? block.size : bytes;
    if (kept) std::memcpy(fresh.data(), block.data(), kept);
    if (zeroGrowth && bytes > kept) std::memset(fresh.data() + kept, 0, bytes - kept);
    if (block.data()) blockByData.erase(block.data());
    release(block.storage);
    block.storage = std::move(fresh);
    blockByData[block.data()] = handle;
    return true;
}

// Resizes without moving; only possible within the storage the block already has.
bool resizeInPlace(GlobalBlock& block, SIZE_T bytes, bool zeroGrowth) {
    if (!block.data() || bytes > block.storage.capacity()) return false;
    if (bytes > block.size) {
        unpoison(block.storage, block.size, bytes);
        if (zeroGrowth) {
            std::memset(block.data() + block.size, 0, bytes - block.size);
        } else if (kDebugFill) {
            std::memset(block.data() + block.size, 0xCD, bytes - block.size);
        }
    } else if (bytes < block.size) {
        if (kDebugFill) std::memset(block.data() + bytes, 0xDD, block.size - bytes);
    }
    poisonRoom(block.storage, std::max(bytes, SIZE_T{1}));
    return true;
}

// A reallocation that may move: in place when the storage fits and moves are not forced, else to
// new storage. Refused as an allocation by the failure plan either way, so tests see the same
// refusals in every build.
bool reallocate(GlobalBlock& block, uint32_t handle, SIZE_T bytes, bool zeroGrowth) {
    if (bytes > kMaxBlockSize || planRefuses()) return false;
    const SIZE_T capacity = block.storage.capacity();
    const bool fits = block.data() && bytes <= capacity && !wastesRoom(bytes, capacity);
    if (fits && !alwaysMove) return resizeInPlace(block, bytes, zeroGrowth);
    return moveTo(block, handle, bytes, zeroGrowth);
}

// A new size for a block that keeps one, as GlobalReAlloc gives it: moving when the block is an
// unlocked moveable one or the flags allow it. false with ERROR_NOT_ENOUGH_MEMORY, the block as it
// was, when memory cannot be had. Caller holds the lock.
bool resize(GlobalBlock& block, uint32_t handle, SIZE_T bytes, UINT flags) {
    const bool zeroGrowth = (flags & GMEM_ZEROINIT) != 0;
    const bool mayMove = (block.moveable() && block.lockCount == 0) || (flags & GMEM_MOVEABLE);
    const bool done = mayMove ? reallocate(block, handle, bytes, zeroGrowth) : resizeInPlace(block, bytes, zeroGrowth);
    if (!done) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    block.size = bytes;
    block.discarded = false;
    return true;
}

// One more lock on a moveable block, up to the count the flags can show; fixed blocks keep none.
void lockOnce(GlobalBlock& block) {
    if (block.moveable() && block.lockCount < GMEM_LOCKCOUNT) ++block.lockCount;
}

void discard(GlobalBlock& block) {
    if (block.data()) blockByData.erase(block.data());
    release(block.storage);
    block.size = 0;
    block.discarded = true;
}

struct LeakReport {
    ~LeakReport() {
        if (!kDebugFill) return;
        size_t leaked = 0;
        size_t locked = 0;
        handleTable().forEach(HandleType::GlobalMemory, [&](uint32_t, HandleObject& object) {
            ++leaked;
            locked += static_cast<GlobalBlock&>(object).lockCount ? 1 : 0;
        });
        if (leaked) {
            host::log("winplat: " + std::to_string(leaked) + " global memory blocks not freed at exit (" +
                      std::to_string(locked) + " still locked)\n");
        }
    }
} leakReport;

}  // namespace
}  // namespace winplat

using namespace winplat;

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    if (flags & ~kKnownFlags) {
        constexpr CallRefuser refuse("winplat: GlobalAlloc");
        return refuse.unsupported(nullptr, "flags " + std::to_string(flags));
    }
    auto block = std::make_shared<GlobalBlock>();
    block->flags = flags;
    std::lock_guard lock(memoryMutex);
    if (bytes == 0 && (flags & GMEM_MOVEABLE)) {
        block->discarded = true;  // a moveable block of no bytes starts discarded, as on Windows
    } else {
        block->storage = allocate(bytes);
        if (!block->data()) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        block->size = bytes;
        if (flags & GMEM_ZEROINIT) std::memset(block->data(), 0, block->storage.capacity());
    }
    std::byte* data = block->data();
    GlobalBlock* entered = block.get();
    const uint32_t handle = handleTable().add(HandleType::GlobalMemory, std::move(block));
    if (!handle) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    enter(handle, entered);
    if (data) blockByData[data] = handle;
    return makeHandle<HGLOBAL>(handle);
}

HGLOBAL GlobalReAlloc(HGLOBAL handle, SIZE_T bytes, UINT flags) {
    std::unique_lock lock(memoryMutex);
    GlobalBlock* block = lookup(handle);
    if (!block) return nullptr;
    if (flags & ~(kKnownFlags | GMEM_MODIFY)) {
        lock.unlock();
        constexpr CallRefuser refuse("winplat: GlobalReAlloc");
        return refuse.unsupported(nullptr, "flags " + std::to_string(flags));
    }
    if (flags & GMEM_MODIFY) {
        block->flags = (block->flags & ~GMEM_DISCARDABLE) | (flags & GMEM_DISCARDABLE);
        return handle;
    }
    const bool unlockedMoveable = block->moveable() && block->lockCount == 0;
    if (bytes == 0 && unlockedMoveable) {
        discard(*block);
        return handle;
    }
    return resize(*block, handleValue(handle), bytes, flags) ? handle : nullptr;
}

void* winplat::GlobalReAllocLocked(HGLOBAL handle, SIZE_T bytes) {
    std::lock_guard lock(memoryMutex);
    GlobalBlock* block = lookup(handle);
    if (!block) return nullptr;
    if (bytes == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);  // would discard the block, leaving nothing to lock
        return nullptr;
    }
    if (!resize(*block, handleValue(handle), bytes, GMEM_MOVEABLE)) return nullptr;
    lockOnce(*block);
    return block->data();
}

LPVOID GlobalLock(HGLOBAL handle) {
    std::lock_guard lock(memoryMutex);
    GlobalBlock* block = lookup(handle);
    if (!block) return nullptr;
    if (block->discarded) return nullptr;
    lockOnce(*block);
    return block->data();
}

BOOL GlobalUnlock(HGLOBAL handle) {
    std::lock_guard lock(memoryMutex);
    GlobalBlock* block = lookup(handle);
    if (!block) return FALSE;
    if (!block->moveable()) {
        SetLastError(NO_ERROR);  // fixed blocks have no lock count
        return FALSE;
    }
    if (block->lockCount == 0) {
        SetLastError(ERROR_NOT_LOCKED);
        return FALSE;
    }
    if (--block->lockCount) return TRUE;
    SetLastError(NO_ERROR);
    return FALSE;
}

HGLOBAL GlobalFree(HGLOBAL handle) {
    auto object = handleTable().remove(handleValue(handle), HandleType::GlobalMemory);
    if (!object) return handle;
    auto& block = static_cast<GlobalBlock&>(*object);
    std::lock_guard lock(memoryMutex);
    leave(handleValue(handle));
    if (kDebugFill && block.lockCount) host::log("winplat: GlobalFree of a block that is still locked\n");
    if (block.data()) blockByData.erase(block.data());
    release(block.storage);
    return nullptr;
}

SIZE_T GlobalSize(HGLOBAL handle) {
    std::lock_guard lock(memoryMutex);
    GlobalBlock* block = lookup(handle);
    if (!block) return 0;
    return block->size;
}

UINT GlobalFlags(HGLOBAL handle) {
    std::lock_guard lock(memoryMutex);
    GlobalBlock* block = lookup(handle);
    if (!block) return GMEM_INVALID_HANDLE;
    return (block->lockCount & GMEM_LOCKCOUNT) | (block->discarded ? GMEM_DISCARDED : 0u) |
           (block->flags & GMEM_DISCARDABLE);
}

HGLOBAL GlobalHandle(LPCVOID data) {
    std::lock_guard lock(memoryMutex);
    auto found = blockByData.find(data);
    if (found == blockByData.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return makeHandle<HGLOBAL>(found->second);
}

namespace winplat::testing {

GlobalAllocFailure::GlobalAllocFailure(int first, int count) {
    std::lock_guard lock(memoryMutex);
    failurePlan = FailurePlan{true, first, count, 0, 0};
}

GlobalAllocFailure::~GlobalAllocFailure() {
    std::lock_guard lock(memoryMutex);
    failurePlan = FailurePlan{};
}

int GlobalAllocFailure::failures() const {
    std::lock_guard lock(memoryMutex);
    return failurePlan.failures;
}

size_t liveGlobalBlocks() { return handleTable().count(HandleType::GlobalMemory); }

GlobalReallocMoves::GlobalReallocMoves(bool always) {
    std::lock_guard lock(memoryMutex);
    previous_ = alwaysMove;
    alwaysMove = always;
}

GlobalReallocMoves::~GlobalReallocMoves() {
    std::lock_guard lock(memoryMutex);
    alwaysMove = previous_;
}

bool GlobalReallocMoves::sanitizerDefault() { return kSanitized; }

}  // namespace winplat::testing
