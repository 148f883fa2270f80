// Fixture programs for the process tests: small shell scripts written into a temporary drive T:,
// which the layer runs as the host programs they are (the kernel reads their first line; the
// layer itself never runs a shell).
#ifndef TESTS_PLATFORM_SHELL_PROCESS_FIXTURE_H
#define TESTS_PLATFORM_SHELL_PROCESS_FIXTURE_H

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../files/temp_drive.h"

namespace processtest {

// Writes each argument on a line of the file its first argument names, then its working folder
// and what it has of the command-line variable.
constexpr const char* kRecordScript =
    "#!/bin/sh\n"
    "out=\"$1\"; shift\n"
    ": > \"$out\"\n"
    "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$out\"; done\n"
    "printf 'folder=%s\\n' \"$(pwd)\" >> \"$out\"\n"
    "printf 'variable=%s\\n' \"${WINPLAT_COMMAND_LINE-none}\" >> \"$out\"\n";

// Waits until the file its first argument names exists, then ends with exit code 3; gives up with
// exit code 9 after a minute, so that a fault cannot hang the tests.
constexpr const char* kWaitScript =
    "#!/bin/sh\n"
    "n=0\n"
    "while [ ! -e \"$1\" ]; do n=$((n + 1)); [ $n -gt 6000 ] && exit 9; sleep 0.01; done\n"
    "exit 3\n";

class ProcessTest : public ::testing::Test {
protected:
    filetest::TempDrive drive;

    // A script at a path below T: (made executable unless told otherwise).
    void script(const std::string& relative, const char* text, bool executable = true) const {
        drive.file(relative, text);
        ::chmod(drive.host(relative).c_str(), executable ? 0755 : 0644);
    }

    // The lines of a file.
    std::vector<std::string> lines(const std::string& relative) const {
        std::vector<std::string> result;
        std::ifstream in(drive.host(relative));
        for (std::string line; std::getline(in, line);) result.push_back(line);
        return result;
    }
};

}  // namespace processtest

#endif
