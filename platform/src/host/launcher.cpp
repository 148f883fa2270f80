#include <atomic>

#include "winplat/host.h"

namespace winplat::host {
namespace {
std::atomic<Launcher*> installed{nullptr};
}  // namespace

Launcher* setLauncher(Launcher* launcher) { return installed.exchange(launcher); }

Launcher* launcher() { return installed.load(); }

}  // namespace winplat::host
