// The SDL host on a virtual X display shows the pixels the headless host snapshots for the same
// input script.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/tool_runner.h"
#include "support/two_hosts.h"
#include "winplat_harness/harness.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 320;
constexpr int kHeight = 240;

class SdlScreen : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("winplat_sdl_" + std::to_string(getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    fs::path folder_;
};

// Clicks twice and scrolls, writes the screen, then waits long enough for the screenshot.
std::string demoScript(const fs::path& snapshot) {
    return "wait 200\nclick 40 60\nclick 40 60\nwheel -120\nkey down\nsnap " + snapshot.string() + "\nwait 600000\n";
}

TEST_F(SdlScreen, ShowsWhatTheHeadlessSnapshotShows) {
    if (!WINPLAT_SDL_BUILT) GTEST_SKIP() << "the SDL host is not built (libsdl2-dev was missing)";
    REQUIRE_TOOLS("xvfb", "xvfb-run");
    REQUIRE_TOOLS("imagemagick", "import");
    const fs::path demo = WINPLAT_DEMO_PATH;
    const fs::path sdlShot = folder_ / "sdl.png";
    const fs::path headlessShot = folder_ / "headless.png";
    const fs::path screen = folder_ / "screen.png";
    std::ofstream(folder_ / "sdl.txt") << demoScript(sdlShot);
    std::ofstream(folder_ / "headless.txt") << demoScript(headlessShot);
    // On the X display: the demo runs until its snapshot is written (the window presented the
    // same frame before), then the whole display is captured and the demo ended.
    const auto runs = two_hosts::run({.folder = folder_,
                                      .program = demo,
                                      .environment = "WINPLAT_SCREEN=" + std::to_string(kWidth) + "x" +
                                                     std::to_string(kHeight) + " ASAN_OPTIONS=detect_leaks=0 ",
                                      .displaySize = "640x480",
                                      .sdlInput = folder_ / "sdl.txt",
                                      .sdlSnapshot = sdlShot,
                                      .headlessInput = folder_ / "headless.txt",
                                      .screen = screen});
    const auto& shown = runs.display;
    const auto& headless = runs.headless;
    ASSERT_TRUE(shown.ok()) << shown.output;
    ASSERT_TRUE(headless.ok()) << headless.output;
    std::string error;
    const auto expected = winplat::test::readPng(headlessShot.string(), &error);
    ASSERT_TRUE(expected) << error;
    const auto display = winplat::test::readPng(screen.string(), &error);
    ASSERT_TRUE(display) << error << "\n" << shown.output;
    // The window lies at the display's top left corner; X draws the pointer apart from the
    // window, so the capture holds none.
    const winplat::test::Image window = winplat::test::crop(*display, {0, 0, kWidth, kHeight});
    EXPECT_TRUE(window == *expected) << "the SDL window differs from the headless snapshot";
    const auto sdlSnapshot = winplat::test::readPng(sdlShot.string(), &error);
    ASSERT_TRUE(sdlSnapshot) << error;
    EXPECT_TRUE(*sdlSnapshot == *expected) << "the program drew differently on the two hosts";
}

}  // namespace
