#include "support/wait_probe.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <thread>

namespace wait_probe {

namespace {

// The scheduler state of one of our threads (the letter after the name in its stat line), read
// without allocating so that the watched thread cannot block on the allocator because of us.
char stateOf(pid_t thread) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/self/task/%d/stat", static_cast<int>(thread));
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return '?';
    char line[512];
    const ssize_t n = ::read(fd, line, sizeof line - 1);
    ::close(fd);
    if (n <= 0) return '?';
    line[n] = '\0';
    // The name in parentheses may itself hold spaces and parentheses: the state follows the last ')'.
    const char* end = std::strrchr(line, ')');
    return end && end[1] == ' ' ? end[2] : '?';
}

}  // namespace

void WaitProbe::arrive() {
    thread_ = ::gettid();
    arrived_.count_down();
}

bool WaitProbe::untilAsleep(const std::function<bool()>& finished) {
    arrived_.wait();
    for (;;) {
        if (finished()) return false;
        const char state = stateOf(thread_);
        if (state == 'S' || state == 'D') return true;
        std::this_thread::yield();
    }
}

}  // namespace wait_probe
