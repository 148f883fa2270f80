// Storage for global memory blocks, taken in size classes, with what is freed kept for reuse.
//
// Containers grow their blocks a record at a time, and a block that outgrows its room moves to new
// storage and frees the old. Handed back to the C allocator, freed storage at the top of its heap
// is returned to the system once more than a trim threshold lies free, and the next growth faults
// the same pages in again: a container filled in a loop pays page faults on every pass. Kept here
// in classes of a quarter of a power of two, the freed storage serves the next block of its class
// at once, and the allocator never sees it go.
//
// A class keeps at most kDepth pieces and the cache at most 'budget' bytes in all, so a program
// that frees many blocks at once gives the rest back; storage past the largest class comes and
// goes through the allocator as before. Thread-safe.
#ifndef WINPLAT_KERNEL_STORAGE_CACHE_H
#define WINPLAT_KERNEL_STORAGE_CACHE_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>

namespace winplat {

class StorageCache {
public:
    static constexpr size_t kSmallest = 16;
    static constexpr size_t kLargest = size_t{1} << 20;
    static constexpr size_t kDepth = 64;

    explicit StorageCache(size_t budget) : budget_(budget) {}
    ~StorageCache();
    StorageCache(const StorageCache&) = delete;
    StorageCache& operator=(const StorageCache&) = delete;

    // The bytes that storage for 'bytes' really takes: its class's size, or 'bytes' past the
    // largest class.
    static size_t roundedSize(size_t bytes);

    // Storage of roundedSize(bytes) bytes: the piece of its class freed last, else fresh storage;
    // null when memory cannot be had.
    std::byte* take(size_t bytes);
    // Gives back storage that take(bytes) handed out (null is ignored): kept for reuse while its
    // class and the budget have room for it, else freed.
    void give(std::byte* storage, size_t bytes);

    size_t keptBytes() const;

private:
    // Class 0 is kSmallest; then four classes to each power of two up to kLargest.
    static constexpr size_t kClasses = 65;
    static constexpr size_t classOf(size_t bytes);
    static constexpr size_t classSize(size_t index);

    mutable std::mutex mutex_;
    std::array<std::array<std::byte*, kDepth>, kClasses> kept_{};
    std::array<uint8_t, kClasses> counts_{};
    size_t keptBytes_ = 0;
    const size_t budget_;
};

}  // namespace winplat

#endif
