// The drafting program started with its kit: on the SDL host under a virtual X display the screen
// shows exactly what the headless host snapshots for the same input, and that is the started
// program's golden drawn in-process.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "support/tool_runner.h"
#include "support/two_hosts.h"
#include "ui/main_form_fixture.h"

namespace linework::test {
namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// Waits for the first tick and the start-up script (on the SDL host in real time, which a
// sanitizer build on a busy machine stretches), writes the screen, then waits long enough for the
// display to be captured.
std::string StartAndSnap(const fs::path& snapshot) { return "wait 4000\nsnap " + snapshot.string() + "\nwait 600000\n"; }

// The caret blinks, in real time on the SDL host and in virtual time headless, and the snapshots
// are taken at different moments: the command line's box is left out of the comparisons
// (painted over alike in both).
winplat::test::Image WithoutBox(winplat::test::Image image, RECT box) {
    for (int y = std::max(0, static_cast<int>(box.top)); y < std::min(static_cast<int>(box.bottom), image.height); ++y) {
        for (int x = std::max(0, static_cast<int>(box.left)); x < std::min(static_cast<int>(box.right), image.width); ++x) {
            image.at(x, y) = 0xFF00FF;
        }
    }
    return image;
}

// The program's surroundings on a host: the test face, the screen's size, and a program folder and
// state of its own in `folder`, filled from the kit.
std::string ProgramEnvironment(const fs::path& folder) {
    return "WINPLAT_FONTS=test WINPLAT_SCREEN=" + std::to_string(kWidth) + "x" + std::to_string(kHeight) +
           " WINPLAT_STATE=" + (folder / "state").string() + " LINEWORK_HOME=" + (folder / "home").string() +
           " LINEWORK_KIT=" LINEWORK_KIT_DIR " ASAN_OPTIONS=detect_leaks=0 ";
}

// What the X display showed, cut to the screen, and what the headless host snapshotted.
struct BothScreens {
    winplat::test::Image shown;
    winplat::test::Image expected;
};

// Runs the program on both hosts with the input `script` writes for a snapshot's path, in `folder`.
// With LINEWORK_KEEP_SCREENS set the two screens are kept there as <keepName>_sdl.png and
// <keepName>_headless.png, for looking at a difference.
void RunOnBothHosts(const fs::path& folder, const std::function<std::string(const fs::path&)>& script,
                    const std::string& keepName, BothScreens* screens) {
    const fs::path sdlShot = folder / "sdl.png";
    const fs::path headlessShot = folder / "headless.png";
    const fs::path screen = folder / "screen.png";
    std::ofstream(folder / "sdl.txt") << script(sdlShot);
    std::ofstream(folder / "headless.txt") << script(headlessShot);
    const auto runs = two_hosts::run({.folder = folder,
                                      .program = LINEWORK_PATH,
                                      .environment = ProgramEnvironment(folder),
                                      .displaySize = std::to_string(kWidth) + "x" + std::to_string(kHeight),
                                      .sdlInput = folder / "sdl.txt",
                                      .sdlSnapshot = sdlShot,
                                      .headlessInput = folder / "headless.txt",
                                      .screen = screen,
                                      .settleSeconds = 0.3});
    ASSERT_TRUE(runs.display.ok()) << runs.display.output;
    ASSERT_TRUE(runs.headless.ok()) << runs.headless.output;
    std::string error;
    const auto expected = winplat::test::readPng(headlessShot.string(), &error);
    ASSERT_TRUE(expected) << error << "\n" << runs.headless.output;
    const auto display = winplat::test::readPng(screen.string(), &error);
    ASSERT_TRUE(display) << error << "\n" << runs.display.output;
    screens->shown = winplat::test::crop(*display, {0, 0, kWidth, kHeight});
    screens->expected = *expected;
    if (const char* keep = std::getenv("LINEWORK_KEEP_SCREENS")) {
        winplat::test::writePng(screens->shown, std::string(keep) + "/" + keepName + "_sdl.png");
        winplat::test::writePng(screens->expected, std::string(keep) + "/" + keepName + "_headless.png");
    }
}

class LineworkScreen : public MainFormTest {
protected:
    // The program started in-process with its kit: what it shows, and where its command line
    // lies (left out of comparisons, as the caret blinks).
    void StartWithKit(winplat::test::Image* shown, RECT* commandLine) {
        ASSERT_NO_FATAL_FAILURE(CopyKit());
        Start();
        h.pump();
        *shown = h.screenshot();
        ASSERT_TRUE(GetWindowRect(form->Edit1().Handle(), commandLine));
    }
};

TEST_F(LineworkScreen, TheStartedProgramShowsOnTheScreenWhatTheHeadlessHostSnapshots) {
    if (!WINPLAT_SDL_BUILT) GTEST_SKIP() << "the SDL host is not built (libsdl2-dev was missing)";
    REQUIRE_TOOLS("xvfb", "xvfb-run");
    REQUIRE_TOOLS("imagemagick", "import");
    winplat::test::Image inProcess;
    RECT box{};
    ASSERT_NO_FATAL_FAILURE(StartWithKit(&inProcess, &box));
    // The paint box shows the cross-hair where the pointer rests and the status bar its
    // coordinates, and the X server's pointer rests where no input put it: both are compared by
    // the headless snapshot tests instead.
    const RECT paintBox = ScreenRect(form->PaintBox1());
    const RECT statusBar = ScreenRect(form->StatusBar1());
    const auto pointerFree = [&](const winplat::test::Image& image) {
        return WithoutBox(WithoutBox(WithoutBox(image, box), paintBox), statusBar);
    };

    TempFolder scratch{"linework_screen"};
    BothScreens screens;
    ASSERT_NO_FATAL_FAILURE(RunOnBothHosts(scratch.path(), StartAndSnap, "linework", &screens));
    const winplat::test::Image& shown = screens.shown;
    const winplat::test::Image& expected = screens.expected;
    EXPECT_TRUE(pointerFree(shown) == pointerFree(expected))
        << "the SDL screen differs from the headless snapshot";
    EXPECT_TRUE(WithoutBox(expected, box) == WithoutBox(inProcess, box))
        << "the program's snapshot differs from the form started in-process";
}

// The line tool driven by the X pointer: its button, a drag from the first point (the rubber band
// follows), a click at the second point. The SDL screen shows exactly what the headless host
// snapshots for the same input, and the line is there.
TEST_F(LineworkScreen, ALineDrawnWithAMouseDragShowsAsTheHeadlessHostDrawsIt) {
    if (!WINPLAT_SDL_BUILT) GTEST_SKIP() << "the SDL host is not built (libsdl2-dev was missing)";
    REQUIRE_TOOLS("xvfb", "xvfb-run");
    REQUIRE_TOOLS("imagemagick", "import");
    winplat::test::Image before;
    RECT box{};
    ASSERT_NO_FATAL_FAILURE(StartWithKit(&before, &box));
    winforms::SpeedButton& lineButton = form->SpeedButton(56);
    const POINT button = lineButton.ClientToScreen({lineButton.Width() / 2, lineButton.Height() / 2});
    const POINT a = form->PaintBox1().ClientToScreen({120, 90});
    const POINT b = form->PaintBox1().ClientToScreen({360, 270});
    const POINT middle{(a.x + b.x) / 2, (a.y + b.y) / 2};

    TempFolder scratch{"linework_drag"};
    // The first step waits for the start-up script, which the SDL host runs in real time.
    auto input = [&](const fs::path& snapshot) {
        std::ostringstream script;
        script << "wait 8000\nclick " << button.x << " " << button.y << "\nwait 300\n"
               << "drag " << a.x << " " << a.y << " " << b.x << " " << b.y << "\nwait 800\n"
               << "click " << b.x << " " << b.y << "\nwait 600\n"
               << "snap " << snapshot.string() << "\nwait 600000\n";
        return script.str();
    };
    BothScreens screens;
    ASSERT_NO_FATAL_FAILURE(RunOnBothHosts(scratch.path(), input, "linework_drag", &screens));
    const winplat::test::Image& shown = screens.shown;
    const winplat::test::Image& expected = screens.expected;
    EXPECT_TRUE(WithoutBox(shown, box) == WithoutBox(expected, box))
        << "the SDL screen differs from the headless snapshot";
    // The line runs through the middle of the drag, where nothing was before.
    EXPECT_NE(expected.at(middle.x, middle.y), before.at(middle.x, middle.y));
    EXPECT_NE(shown.at(middle.x, middle.y), before.at(middle.x, middle.y));
}

// The built program, not the form in-process: a command typed into the command line and Enter
// run through the kit's COMMAND hook and draw into the paint box.
TEST_F(LineworkScreen, TheBuiltProgramRunsATypedCommand) {
    CopyKit();
    Start();
    h.pump();
    const RECT paintBox = ScreenRect(form->PaintBox1());
    TempFolder scratch{"linework_typed"};
    const fs::path folder = scratch.path();
    const fs::path before = folder / "before.png", after = folder / "after.png";
    std::ofstream(folder / "input.txt") << "wait 4000\nsnap " << before.string()
                                        << "\ntype line 0 0 10 10\nkey enter\nwait 3000\nsnap " << after.string()
                                        << "\nwait 1000\n";
    const std::string command = ProgramEnvironment(folder) + "WINPLAT_HOST=headless WINPLAT_INPUT=" +
                                tool_runner::quoted(folder / "input.txt") + " " +
                                tool_runner::quoted(LINEWORK_PATH);
    const tool_runner::Outcome run = tool_runner::capture(command, tool_runner::Errors::Merge);
    ASSERT_TRUE(run.ok()) << run.output;
    std::string error;
    const auto shotBefore = winplat::test::readPng(before.string(), &error);
    ASSERT_TRUE(shotBefore) << error << "\n" << run.output;
    const auto shotAfter = winplat::test::readPng(after.string(), &error);
    ASSERT_TRUE(shotAfter) << error << "\n" << run.output;
    if (const char* keep = std::getenv("LINEWORK_KEEP_SCREENS")) {
        winplat::test::writePng(*shotAfter, std::string(keep) + "/linework_typed.png");
    }
    const winplat::test::Image drawnBefore = winplat::test::crop(*shotBefore, paintBox);
    const winplat::test::Image drawnAfter = winplat::test::crop(*shotAfter, paintBox);
    int changed = 0;
    for (size_t k = 0; k < drawnBefore.pixels.size(); ++k) changed += drawnBefore.pixels[k] != drawnAfter.pixels[k];
    EXPECT_GE(changed, 5) << "the typed line shows in the paint box";
}

}  // namespace
}  // namespace linework::test
