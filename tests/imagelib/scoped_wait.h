// Sets one of the library's time limits for a scope and puts the previous one back however the
// test leaves the scope (a failed assertion returns early), so that no later test inherits it.
#ifndef PIXMILL_TESTS_SCOPED_WAIT_H
#define PIXMILL_TESTS_SCOPED_WAIT_H

#include <chrono>

#include "core/registry/image_registry.h"
#include "formats/image_load.h"

namespace pixmill_test {

template <std::chrono::milliseconds (*set)(std::chrono::milliseconds)>
class ScopedWait {
  public:
    explicit ScopedWait(std::chrono::milliseconds limit) : previous_(set(limit)) {}
    ~ScopedWait() { set(previous_); }
    ScopedWait(const ScopedWait&) = delete;
    ScopedWait& operator=(const ScopedWait&) = delete;

  private:
    std::chrono::milliseconds previous_;
};

// How long a lock of an image record waits before it fails.
using ScopedLockTimeout = ScopedWait<pixmill::setLockTimeout>;
// How long a file load waits for the one before it to finish.
using ScopedGateWait = ScopedWait<pixmill::setGateWait>;

}  // namespace pixmill_test

#endif
