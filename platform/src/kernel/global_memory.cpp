// Global memory blocks behind handles.
//
// A moveable block really moves when it is reallocated unlocked, so a pointer kept across an unlock
// fails loudly under the sanitizers instead of working by luck. Debug builds fill fresh memory with
// 0xCD and freed memory with 0xDD, and report blocks left at exit.
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <unordered_map>

#include "winplat/base.h"
#include "winplat/handles.h"
#include "winplat/host.h"
#include "winplat/memory.h"
#include "winplat/testing.h"

namespace winplat {
namespace {

#ifdef NDEBUG
constexpr bool kDebugFill = false;
#else
constexpr bool kDebugFill = true;
#endif

// The largest block a 32-bit program could ever have had.
constexpr SIZE_T kMaxBlockSize = 0x7FFFFFFF;
constexpr UINT kKnownFlags =
    GMEM_MOVEABLE | GMEM_NOCOMPACT | GMEM_NODISCARD | GMEM_ZEROINIT | GMEM_DISCARDABLE | GMEM_SHARE;

struct Storage {
    std::unique_ptr<std::byte[]> bytes;
    SIZE_T capacity = 0;
};

struct GlobalBlock final : HandleObject {
    Storage storage;
    SIZE_T size = 0;
    UINT flags = 0;
    unsigned lockCount = 0;
    bool discarded = false;

    bool moveable() const { return (flags & GMEM_MOVEABLE) != 0; }
    std::byte* data() const { return storage.bytes.get(); }
};

struct FailurePlan {
    bool active = false;
    int first = 0;
    int count = 0;
    int seen = 0;
    int failures = 0;
};

// One lock over every block's fields, the pointer index and the failure plan: blocks are shared
// between threads, and these calls are short.
std::mutex memoryMutex;
std::unordered_map<const void*, uint32_t> blockByData;
FailurePlan failurePlan;

bool planRefuses() {
    if (!failurePlan.active) return false;
    ++failurePlan.seen;
    if (failurePlan.seen >= failurePlan.first && failurePlan.seen < failurePlan.first + failurePlan.count) {
        ++failurePlan.failures;
        return true;
    }
    return false;
}

// New storage of at least one byte, or empty on failure.
Storage allocate(SIZE_T bytes) {
    if (bytes > kMaxBlockSize || planRefuses()) return {};
    const SIZE_T capacity = bytes ? bytes : 1;
    Storage storage{std::unique_ptr<std::byte[]>(new (std::nothrow) std::byte[capacity]), capacity};
    if (!storage.bytes) return {};
    if (kDebugFill) std::memset(storage.bytes.get(), 0xCD, capacity);
    return storage;
}

void release(Storage& storage) {
    if (kDebugFill && storage.bytes) std::memset(storage.bytes.get(), 0xDD, storage.capacity);
    storage = {};
}

std::shared_ptr<GlobalBlock> lookup(HGLOBAL handle) {
    return handleTable().getAs<GlobalBlock>(handleValue(handle), HandleType::GlobalMemory);
}

void logUnsupported(const char* call, UINT flags) {
    host::log("winplat: " + std::string(call) + " refuses unsupported flags " + std::to_string(flags) + "\n");
}

// Gives the block new storage of 'bytes', keeping the contents that fit. Caller holds the lock.
bool moveTo(GlobalBlock& block, uint32_t handle, SIZE_T bytes, bool zeroGrowth) {
    Storage fresh = allocate(bytes);
    if (!fresh.bytes) return false;
    const SIZE_T kept = block.size < bytes ? block.size : bytes;
    if (kept) std::memcpy(fresh.bytes.get(), block.data(), kept);
    if (zeroGrowth && bytes > kept) std::memset(fresh.bytes.get() + kept, 0, bytes - kept);
    if (block.data()) blockByData.erase(block.data());
    release(block.storage);
    block.storage = std::move(fresh);
    blockByData[block.data()] = handle;
    return true;
}

// Resizes without moving; only possible within the storage the block already has.
bool resizeInPlace(GlobalBlock& block, SIZE_T bytes, bool zeroGrowth) {
    if (!block.data() || bytes > block.storage.capacity) return false;
    if (zeroGrowth && bytes > block.size) std::memset(block.data() + block.size, 0, bytes - block.size);
    return true;
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
        logUnsupported("GlobalAlloc", flags);
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
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
        if (flags & GMEM_ZEROINIT) std::memset(block->data(), 0, block->storage.capacity);
    }
    std::byte* data = block->data();
    const uint32_t handle = handleTable().add(HandleType::GlobalMemory, std::move(block));
    if (!handle) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (data) blockByData[data] = handle;
    return makeHandle<HGLOBAL>(handle);
}

HGLOBAL GlobalReAlloc(HGLOBAL handle, SIZE_T bytes, UINT flags) {
    auto block = lookup(handle);
    if (!block) return nullptr;
    if (flags & ~(kKnownFlags | GMEM_MODIFY)) {
        logUnsupported("GlobalReAlloc", flags);
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::lock_guard lock(memoryMutex);
    if (flags & GMEM_MODIFY) {
        block->flags = (block->flags & ~GMEM_DISCARDABLE) | (flags & GMEM_DISCARDABLE);
        return handle;
    }
    const bool unlockedMoveable = block->moveable() && block->lockCount == 0;
    if (bytes == 0 && unlockedMoveable) {
        discard(*block);
        return handle;
    }
    const bool zeroGrowth = (flags & GMEM_ZEROINIT) != 0;
    const bool mayMove = unlockedMoveable || (flags & GMEM_MOVEABLE);
    const bool done = mayMove ? moveTo(*block, handleValue(handle), bytes, zeroGrowth)
                              : resizeInPlace(*block, bytes, zeroGrowth);
    if (!done) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    block->size = bytes;
    block->discarded = false;
    return handle;
}

LPVOID GlobalLock(HGLOBAL handle) {
    auto block = lookup(handle);
    if (!block) return nullptr;
    std::lock_guard lock(memoryMutex);
    if (block->discarded) return nullptr;
    if (block->moveable() && block->lockCount < GMEM_LOCKCOUNT) ++block->lockCount;
    return block->data();
}

BOOL GlobalUnlock(HGLOBAL handle) {
    auto block = lookup(handle);
    if (!block) return FALSE;
    std::lock_guard lock(memoryMutex);
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
    if (kDebugFill && block.lockCount) host::log("winplat: GlobalFree of a block that is still locked\n");
    if (block.data()) blockByData.erase(block.data());
    release(block.storage);
    return nullptr;
}

SIZE_T GlobalSize(HGLOBAL handle) {
    auto block = lookup(handle);
    if (!block) return 0;
    std::lock_guard lock(memoryMutex);
    return block->size;
}

UINT GlobalFlags(HGLOBAL handle) {
    auto block = lookup(handle);
    if (!block) return GMEM_INVALID_HANDLE;
    std::lock_guard lock(memoryMutex);
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

}  // namespace winplat::testing
