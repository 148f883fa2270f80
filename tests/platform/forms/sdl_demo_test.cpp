// The demonstration form on the SDL host under a virtual X display shows the pixels the headless
// host snapshots for the same input, and those are the pixels the form draws in-process.
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "demo_form.h"
#include "forms_fixture.h"
#include "support/tool_runner.h"
#include "support/two_hosts.h"

namespace {

namespace fs = std::filesystem;
using formstest::FormsTest;

constexpr int kWidth = 640;
constexpr int kHeight = 480;

class SdlDemo : public FormsTest {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("winforms_sdl_" + std::to_string(getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    // Clicks the second speed button (its number goes to the status bar), writes the screen,
    // then waits long enough for the screenshot.
    static std::string script(POINT button, const fs::path& snapshot) {
        return "wait 200\nclick " + std::to_string(button.x) + " " + std::to_string(button.y) + "\nwait 100\nsnap " +
               snapshot.string() + "\nwait 600000\n";
    }
    fs::path folder_;
};

TEST_F(SdlDemo, TheScreenShowsWhatTheHeadlessSnapshotShows) {
    if (!WINPLAT_SDL_BUILT) GTEST_SKIP() << "the SDL host is not built (libsdl2-dev was missing)";
    REQUIRE_TOOLS("xvfb", "xvfb-run");
    REQUIRE_TOOLS("imagemagick", "import");
    // The same form in-process: where its second speed button lies, and what it shows once clicked.
    forms_demo::DemoForm demo = forms_demo::buildDemoForm(*app);
    demo.form->ShowForm();
    h.pump();
    const POINT button = demo.speeds[1]->ClientToScreen({11, 11});
    h.click(button.x, button.y);
    ASSERT_EQ(demo.status->Panels(0).text, "Tlacitko 2");
    const winplat::test::Image drawn = h.windowImage(demo.form->Handle(), false);

    const fs::path demoProgram = FORMS_DEMO_PATH;
    const fs::path sdlShot = folder_ / "sdl.png";
    const fs::path headlessShot = folder_ / "headless.png";
    const fs::path screen = folder_ / "screen.png";
    std::ofstream(folder_ / "sdl.txt") << script(button, sdlShot);
    std::ofstream(folder_ / "headless.txt") << script(button, headlessShot);
    const std::string environment = "WINPLAT_FONTS=test WINPLAT_SCREEN=" + std::to_string(kWidth) + "x" +
                                    std::to_string(kHeight) + " ASAN_OPTIONS=detect_leaks=0 ";
    const auto runs = two_hosts::run({.folder = folder_,
                                      .program = demoProgram,
                                      .environment = environment,
                                      .displaySize = "800x600",
                                      .sdlInput = folder_ / "sdl.txt",
                                      .sdlSnapshot = sdlShot,
                                      .headlessInput = folder_ / "headless.txt",
                                      .screen = screen,
                                      .settleSeconds = 0.2});
    const auto& shown = runs.display;
    const auto& headless = runs.headless;
    ASSERT_TRUE(shown.ok()) << shown.output;
    ASSERT_TRUE(headless.ok()) << headless.output;
    std::string error;
    const auto expected = winplat::test::readPng(headlessShot.string(), &error);
    ASSERT_TRUE(expected) << error;
    const auto display = winplat::test::readPng(screen.string(), &error);
    ASSERT_TRUE(display) << error << "\n" << shown.output;
    const winplat::test::Image window = winplat::test::crop(*display, {0, 0, kWidth, kHeight});
    if (const char* keep = std::getenv("WINFORMS_KEEP_SCREENS")) {
        winplat::test::writePng(window, std::string(keep) + "/forms_demo_sdl.png");
        winplat::test::writePng(*expected, std::string(keep) + "/forms_demo_headless.png");
    }
    EXPECT_TRUE(window == *expected) << "the SDL window differs from the headless snapshot";
    const RECT formArea{0, 0, drawn.width, drawn.height};
    EXPECT_TRUE(winplat::test::crop(*expected, formArea) == drawn)
        << "the program's snapshot differs from the form drawn in-process";
}

}  // namespace
