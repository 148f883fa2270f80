// Running the independent programs that cross-check tests compare our results with. A command line
// is made of fixed words and our own quoted paths and runs through the shell, so pipes and
// redirections work; a test that needs a program that is not installed skips, saying which.
#ifndef TESTS_SUPPORT_TOOL_RUNNER_H
#define TESTS_SUPPORT_TOOL_RUNNER_H

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>

namespace tool_runner {

// True when the command exits with 0; what it writes is dropped.
bool run(const std::string& command);

// The command's standard output goes to the file; true when it exits with 0.
bool runTo(const std::string& command, const std::filesystem::path& output);

enum class Errors { Drop, Merge };

struct Outcome {
    int exitCode = -1;  // -1 when the command could not start or did not exit by itself
    std::string output;
    bool ok() const { return exitCode == 0; }
};

// What the command writes on its standard output (its error output too when merged), and how it
// exited.
Outcome capture(const std::string& command, Errors errors = Errors::Drop);

// Just the command's standard output, whatever its exit code.
std::string output(const std::string& command);

// True when the program (a name on the path or a file name) can be run.
bool have(const std::string& program);

// The first program of the list that cannot be run, or nullptr when all can.
const char* firstMissing(std::initializer_list<const char*> programs);

// ImageMagick's convert: Debian's own copy first, since a program of that name earlier on the
// path may be another tool. Empty when missing.
const std::string& imageMagick();

// A path in single quotes. Our temporary paths hold only plain characters; anything else is a
// fault of the test itself and fails it.
std::string quoted(const std::filesystem::path& path);

}  // namespace tool_runner

// Skips the test unless every program named after the Debian package (tools/deps.txt) that
// brings them can be run.
#define REQUIRE_TOOLS(package, ...)                                                            \
    do {                                                                                       \
        if (const char* missing = ::tool_runner::firstMissing({__VA_ARGS__})) {                \
            GTEST_SKIP() << missing << " is not installed (tools/deps.txt lists " << (package) \
                         << "; ./make.sh installs it)";                                        \
        }                                                                                      \
    } while (0)

#define REQUIRE_IMAGEMAGICK()                                                                            \
    do {                                                                                                 \
        if (::tool_runner::imageMagick().empty()) {                                                      \
            GTEST_SKIP() << "ImageMagick's convert is not installed (tools/deps.txt lists imagemagick; " \
                            "./make.sh installs it)";                                                    \
        }                                                                                                \
    } while (0)

#endif
