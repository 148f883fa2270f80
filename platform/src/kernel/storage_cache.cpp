#include "kernel/storage_cache.h"

#include <bit>
#include <new>

namespace winplat {
namespace {

constexpr unsigned kSmallestShift = 4;
static_assert(StorageCache::kSmallest == size_t{1} << kSmallestShift);
static_assert(StorageCache::kDepth <= UINT8_MAX, "counts are bytes");

std::byte* fresh(size_t bytes) { return new (std::nothrow) std::byte[bytes]; }

}  // namespace

StorageCache::~StorageCache() {
    for (size_t index = 0; index < kClasses; ++index) {
        for (size_t k = 0; k < counts_[index]; ++k) delete[] kept_[index][k];
    }
}

// Sizes above 2^k up to 2^(k+1) fall in four classes, each a quarter of 2^k above the last.
constexpr size_t StorageCache::classOf(size_t bytes) {
    if (bytes <= kSmallest) return 0;
    const unsigned shift = static_cast<unsigned>(std::bit_width(bytes - 1)) - 1;  // 2^shift < bytes
    const size_t quarter = size_t{1} << (shift - 2);
    const size_t quarters = (bytes - (size_t{1} << shift) + quarter - 1) / quarter;  // 1 .. 4
    return 4 * (shift - kSmallestShift) + quarters;
}

constexpr size_t StorageCache::classSize(size_t index) {
    if (index == 0) return kSmallest;
    const unsigned shift = kSmallestShift + static_cast<unsigned>((index - 1) / 4);
    return (size_t{1} << shift) + ((index - 1) % 4 + 1) * (size_t{1} << (shift - 2));
}

size_t StorageCache::roundedSize(size_t bytes) {
    static_assert(classOf(kLargest) == kClasses - 1 && classSize(kClasses - 1) == kLargest);
    return bytes > kLargest ? bytes : classSize(classOf(bytes));
}

std::byte* StorageCache::take(size_t bytes) {
    if (bytes > kLargest) return fresh(bytes);
    const size_t index = classOf(bytes);
    {
        const std::lock_guard lock(mutex_);
        if (counts_[index]) {
            keptBytes_ -= classSize(index);
            return kept_[index][--counts_[index]];
        }
    }
    return fresh(classSize(index));
}

void StorageCache::give(std::byte* storage, size_t bytes) {
    if (!storage) return;
    if (bytes <= kLargest) {
        const size_t index = classOf(bytes);
        const size_t size = classSize(index);
        const std::lock_guard lock(mutex_);
        if (counts_[index] < kDepth && keptBytes_ + size <= budget_) {
            kept_[index][counts_[index]++] = storage;
            keptBytes_ += size;
            return;
        }
    }
    delete[] storage;
}

size_t StorageCache::keptBytes() const {
    const std::lock_guard lock(mutex_);
    return keptBytes_;
}

}  // namespace winplat
