// Proving that a thread waits, without sleeping and hoping: the thread announces itself just
// before the call that must block, and the test waits until the kernel has put that thread to
// sleep. Only then does the test let the thread go, so what the thread does next happens after
// a wait that surely began.
#ifndef TESTS_SUPPORT_WAIT_PROBE_H
#define TESTS_SUPPORT_WAIT_PROBE_H

#include <sys/types.h>

#include <atomic>
#include <functional>
#include <latch>

namespace wait_probe {

class WaitProbe {
  public:
    // Called by the watched thread right before the call that must block.
    void arrive();

    // Waits until the watched thread has arrived and is asleep in the kernel (true), or until
    // finished() says it went on without blocking (false).
    bool untilAsleep(const std::function<bool()>& finished);

  private:
    std::latch arrived_{1};
    std::atomic<pid_t> thread_{0};
};

}  // namespace wait_probe

#endif
