#include <atomic>

#include "winplat/host.h"

namespace winplat::host {
namespace {
std::atomic<Idle*> installed{nullptr};
}  // namespace

Idle* setIdle(Idle* idle) { return installed.exchange(idle); }

Idle* idle() { return installed.load(); }

}  // namespace winplat::host
