#include <atomic>

#include "winplat/host.h"

namespace winplat::host {
namespace {
std::atomic<Beeper*> installed{nullptr};
}  // namespace

Beeper* setBeeper(Beeper* beeper) { return installed.exchange(beeper); }

Beeper* beeper() { return installed.load(); }

}  // namespace winplat::host
