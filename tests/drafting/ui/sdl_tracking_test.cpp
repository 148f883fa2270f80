// The drafting program on the SDL host under a virtual X display, driven by a scripted mouse (a
// move, a drag over the drawing, a wheel notch), shows the pixels the headless host snapshots for
// the same input: the cursor, the zoomed view and the readout follow the mouse alike on both.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "support/tool_runner.h"
#include "support/two_hosts.h"
#include "winplat_harness/harness.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 800;
constexpr int kHeight = 600;

std::string Script(const fs::path& snapshot) {
    return "wait 1500\nmove 400 300\nmove 420 310\ndrag 300 250 420 330\nwheel 120\nmove 410 320\nwait 300\nsnap " +
           snapshot.string() + "\nwait 600000\n";
}

TEST(LineworkOnSdl, AScriptedDragShowsWhatTheHeadlessSnapshotShows) {
    if (!LINEWORK_SDL_BUILT) GTEST_SKIP() << "the SDL host is not built (libsdl2-dev was missing)";
    REQUIRE_TOOLS("xvfb", "xvfb-run");
    REQUIRE_TOOLS("imagemagick", "import");
    const fs::path folder = fs::temp_directory_path() / ("linework_sdl_" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder / "sdl");
    fs::create_directories(folder / "headless");
    const fs::path sdlShot = folder / "sdl.png", headlessShot = folder / "headless.png", screen = folder / "screen.png";
    std::ofstream(folder / "sdl.txt") << Script(sdlShot);
    std::ofstream(folder / "headless.txt") << Script(headlessShot);
    // Each host gets a program folder and a state of its own, filled from the same kit.
    const std::string environment = "WINPLAT_FONTS=test WINPLAT_SCREEN=" + std::to_string(kWidth) + "x" +
                                    std::to_string(kHeight) + " ASAN_OPTIONS=detect_leaks=0 LINEWORK_HOME=" +
                                    (folder / "home").string() + " WINPLAT_STATE=" + (folder / "state").string() + " ";
    const auto runs = two_hosts::run({.folder = folder,
                                      .program = LINEWORK_PATH,
                                      .environment = environment,
                                      .displaySize = "1024x768",
                                      .sdlInput = folder / "sdl.txt",
                                      .sdlSnapshot = sdlShot,
                                      .headlessInput = folder / "headless.txt",
                                      .screen = screen,
                                      .settleSeconds = 0.3});
    ASSERT_TRUE(runs.display.ok()) << runs.display.output;
    ASSERT_TRUE(runs.headless.ok()) << runs.headless.output;
    std::string error;
    const auto expected = winplat::test::readPng(headlessShot.string(), &error);
    ASSERT_TRUE(expected) << error;
    const auto display = winplat::test::readPng(screen.string(), &error);
    ASSERT_TRUE(display) << error << "\n" << runs.display.output;
    const winplat::test::Image window = winplat::test::crop(*display, {0, 0, kWidth, kHeight});
    if (const char* keep = std::getenv("LINEWORK_KEEP_SCREENS")) {
        winplat::test::writePng(window, std::string(keep) + "/linework_drag_sdl.png");
        winplat::test::writePng(*expected, std::string(keep) + "/linework_drag_headless.png");
    }
    EXPECT_TRUE(window == *expected) << "the SDL window differs from the headless snapshot";
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

}  // namespace
