#include <atomic>
#include <chrono>
#include <thread>

#include "winplat/host.h"

namespace winplat::host {
namespace {

class RealClock final : public Clock {
public:
    uint64_t nowMs() override {
        using namespace std::chrono;
        return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    void sleepMs(uint32_t milliseconds) override {
        if (milliseconds == 0) {
            std::this_thread::yield();
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        }
    }
};

// Never destroyed: timing calls may come from other libraries' destructors at exit.
Clock& realClock() {
    static Clock* instance = new RealClock;
    return *instance;
}

std::atomic<Clock*> current{nullptr};  // null: the real clock

}  // namespace

Clock& clock() {
    Clock* installed = current.load();
    return installed ? *installed : realClock();
}

Clock* setClock(Clock* clock) { return current.exchange(clock); }

}  // namespace winplat::host
