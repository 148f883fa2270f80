// Runs a demonstration program on both hosts with the same input: on the SDL host under Xvfb,
// capturing the whole X display once the program has written its own snapshot, and headless. Tests
// then compare the display, the SDL snapshot and the headless one, which must all show the same.
#ifndef TESTS_SUPPORT_TWO_HOSTS_H
#define TESTS_SUPPORT_TWO_HOSTS_H

#include <filesystem>
#include <string>

#include "support/tool_runner.h"

namespace two_hosts {

struct Request {
    std::filesystem::path folder;   // scratch folder for the script that drives Xvfb
    std::filesystem::path program;  // the demonstration program
    std::string environment;        // "NAME=value " words put before the program on both hosts
    std::string displaySize;        // the X screen, "800x600"
    std::filesystem::path sdlInput, sdlSnapshot;  // the input script on the SDL host and what it snaps
    std::filesystem::path headlessInput;
    std::filesystem::path screen;  // where the X display is captured
    // Time left after the snapshot before the capture: the window shows the frame once the
    // program presents it, which may come a little after the snapshot is written.
    double settleSeconds = 0;
};

struct Outcomes {
    tool_runner::Outcome display;   // the run under Xvfb
    tool_runner::Outcome headless;  // the run on the headless host
};

// The SDL run ends the program once the display is captured (its input script should end by
// waiting long), killing it when it has not ended 3 seconds later; it gives up waiting for the
// snapshot after a minute.
Outcomes run(const Request& request);

}  // namespace two_hosts

#endif
