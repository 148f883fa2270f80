// A lock for critical sections of a few dozen instructions that are entered millions of times a
// second: the global memory calls, which containers make for every record they add.
//
// Taken free it costs one atomic exchange and is given back by one plain store, where a std::mutex
// costs two atomic operations and two calls into the C library (a quarter of the time of a record
// array filled one record at a time went to the mutex). A waiter spins briefly, since a holder
// leaves within nanoseconds, and then yields its core, so that a holder preempted on a busy
// machine gets to run and finish. Meets BasicLockable, for std::lock_guard and std::unique_lock.
#ifndef WINPLAT_KERNEL_SHORT_LOCK_H
#define WINPLAT_KERNEL_SHORT_LOCK_H

#include <atomic>
#include <thread>

namespace winplat {

class ShortLock {
public:
    void lock() noexcept {
        while (held_.exchange(true, std::memory_order_acquire)) waitUntilFree();
    }
    void unlock() noexcept { held_.store(false, std::memory_order_release); }

private:
    // Spins this many reads before each yield: a few hundred nanoseconds.
    static constexpr int kSpins = 64;

    void waitUntilFree() noexcept {
        for (int spins = 0; held_.load(std::memory_order_relaxed); ++spins) {
            if (spins < kSpins) {
                relax();
            } else {
                std::this_thread::yield();
                spins = 0;
            }
        }
    }
    static void relax() noexcept {
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    }

    std::atomic<bool> held_{false};
};

}  // namespace winplat

#endif
