// The headless host of a program run (not of a test harness): a virtual clock, the input script
// and the snapshot played as the program's queue empties, and the end of the run once they are
// played (WM_QUIT), so a program with a blinking caret still ends. Programs it is asked to start
// are only written to the debug output ("launch: <command line>"), as started and ended.
#ifndef WINPLAT_SRC_HOST_HEADLESS_HOST_H
#define WINPLAT_SRC_HOST_HEADLESS_HOST_H

#include <memory>

#include "host/script_player.h"
#include "winplat/host.h"
#include "winplat/testing.h"

namespace winplat::host {

// Writes the command line of each program to start to the debug output instead of starting it.
class LoggingLauncher final : public Launcher {
public:
    Launched launch(const LaunchRequest& request) override;
};

class HeadlessHost final : public Waiter {
public:
    HeadlessHost(const std::vector<ScriptStep>& steps, const std::optional<SnapshotRequest>& snapshot);
    ~HeadlessHost() override;
    HeadlessHost(const HeadlessHost&) = delete;
    HeadlessHost& operator=(const HeadlessHost&) = delete;

    bool wait(std::optional<uint64_t> deadlineMs, bool mayBlock) override;
    // The program ends: a snapshot still to come shows the screen as it is left.
    void finish();

private:
    testing::VirtualClock clock_;
    ScriptPlayer player_;
    bool hadSteps_;
    bool quitPosted_ = false;
    Waiter* previous_;
    LoggingLauncher launcher_;
    Launcher* previousLauncher_;
};

}  // namespace winplat::host

#endif
