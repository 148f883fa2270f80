#include <atomic>

#include "winplat/host.h"

namespace winplat::host {
namespace {
std::atomic<Waiter*> installed{nullptr};
}  // namespace

Waiter* setWaiter(Waiter* waiter) { return installed.exchange(waiter); }

Waiter* waiter() { return installed.load(); }

}  // namespace winplat::host
