// The largest single block the process asks the allocator for while a watch is open, so a test
// can show that a reader sizes its buffers by what a file holds rather than by what it claims.
// The count comes from the address sanitizer's allocator hooks; a build without that sanitizer
// cannot count, and a test then skips (ALLOCATION_WATCH_OR_SKIP).
#ifndef TESTS_SUPPORT_ALLOCATION_WATCH_H
#define TESTS_SUPPORT_ALLOCATION_WATCH_H

#include <atomic>
#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
#define ALLOCATION_WATCH_AVAILABLE 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ALLOCATION_WATCH_AVAILABLE 1
#endif
#endif
#ifndef ALLOCATION_WATCH_AVAILABLE
#define ALLOCATION_WATCH_AVAILABLE 0
#endif

#if ALLOCATION_WATCH_AVAILABLE
// The sanitizer runtime's hook entry; declared here because not every compiler ships the header
// that declares it (g++ 12 does not).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*onAllocate)(const volatile void*, size_t),
                                                         void (*onFree)(const volatile void*));
#endif

namespace allocation_watch {

namespace detail {
inline std::atomic<bool> watching{false};
inline std::atomic<size_t> largest{0};

// Called by the allocator inside every allocation: it must not allocate itself.
inline void onAllocate(const volatile void*, size_t size) {
    if (!watching.load(std::memory_order_relaxed)) return;
    size_t seen = largest.load(std::memory_order_relaxed);
    while (size > seen && !largest.compare_exchange_weak(seen, size, std::memory_order_relaxed)) {
    }
}
inline void onFree(const volatile void*) {}

// The hooks cannot be taken out again, so they are put in once and switched by 'watching'.
inline bool installed() {
#if ALLOCATION_WATCH_AVAILABLE
    static const bool done = __sanitizer_install_malloc_and_free_hooks(onAllocate, onFree) != 0;
    return done;
#else
    return false;
#endif
}
}  // namespace detail

// Whether this build can count allocations at all.
inline bool available() { return detail::installed(); }

// Counts from construction to destruction; one watch at a time.
class Watch {
  public:
    Watch() {
        detail::installed();
        detail::largest = 0;
        detail::watching = true;
    }
    ~Watch() { detail::watching = false; }
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

    size_t largestBlock() const { return detail::largest.load(); }
};

}  // namespace allocation_watch

#define ALLOCATION_WATCH_OR_SKIP()                                                                     \
    do {                                                                                               \
        if (!::allocation_watch::available()) {                                                        \
            GTEST_SKIP() << "this build has no address sanitizer, whose allocator hooks count the bytes " \
                            "asked (build with -DSANITIZE=ON)";                                        \
        }                                                                                              \
    } while (0)

#endif
