#include "host/headless_host.h"

#include "winplat/user.h"

namespace winplat::host {

HeadlessHost::HeadlessHost(const std::vector<ScriptStep>& steps, const std::optional<SnapshotRequest>& snapshot)
    : player_(steps, snapshot, clock_.nowMs()),
      hadSteps_(!player_.finished()),
      previous_(setWaiter(this)),
      previousLauncher_(setLauncher(&launcher_)) {}

HeadlessHost::~HeadlessHost() {
    setLauncher(previousLauncher_);
    setWaiter(previous_);
}

Launched LoggingLauncher::launch(const LaunchRequest& request) {
    log("launch: " + request.commandLine);
    return {};
}

bool HeadlessHost::wait(std::optional<uint64_t> deadlineMs, bool) {
    const auto next = player_.nextDue();
    if (!next) {
        if (!hadSteps_ || quitPosted_) return false;
        quitPosted_ = true;
        PostQuitMessage(0);
        return true;
    }
    const uint64_t now = clock_.nowMs();
    if (deadlineMs && *deadlineMs < *next) {
        // A timer comes first: time moves to it and the queue makes its WM_TIMER.
        if (*deadlineMs > now) clock_.advance(*deadlineMs - now);
        return true;
    }
    if (*next > now) clock_.advance(*next - now);
    player_.playNext();
    return true;
}

void HeadlessHost::finish() { player_.finishSnapshots(); }

}  // namespace winplat::host
