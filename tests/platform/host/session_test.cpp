// Programs' sessions with the headless host: the environment, the input script and the snapshot.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "winplat/host.h"
#include "winplat/owners.h"
#include "winplat/testing.h"
#include "winplat/time.h"
#include "winplat_harness/harness.h"

namespace {

namespace fs = std::filesystem;

// The host's variables for one test, cleared again after it.
class SessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        winplat::testing::resetWindowManager();
        folder_ = fs::temp_directory_path() / ("winplat_session_" + std::to_string(getpid()));
        fs::create_directories(folder_);
        setenv("WINPLAT_HOST", "headless", 1);
    }
    void TearDown() override {
        for (const char* name : {"WINPLAT_HOST", "WINPLAT_SCREEN", "WINPLAT_INPUT", "WINPLAT_SNAPSHOT"}) unsetenv(name);
        winplat::testing::resetWindowManager();
        winplat::testing::setScreenSize(1024, 768);
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    std::string script(const std::string& text) {
        const fs::path path = folder_ / "input.txt";
        std::ofstream(path) << text;
        return path.string();
    }
    fs::path folder_;
};

void releaseScreenDc(HDC dc) { ReleaseDC(nullptr, dc); }
using ScreenDc = winplat::UniqueHandle<HDC, releaseScreenDc>;

struct Counter {
    static inline int clicks = 0;
    static inline std::string typed;
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_LBUTTONDOWN) {
            ++clicks;
            // What a click leaves on the screen, for the snapshot to show.
            const ScreenDc screen(GetDC(nullptr));
            SetPixel(screen.get(), clicks, 0, RGB(255, 255, 255));
        }
        if (message == WM_CHAR) typed += static_cast<char>(wParam);
        return DefWindowProcA(window, message, wParam, lParam);
    }
};

// The program's message loop, as a program would run it; returns how many messages it took.
int runLoop() {
    WNDCLASSA counting{};
    counting.lpfnWndProc = Counter::procedure;
    counting.lpszClassName = "SessionCounter";
    RegisterClassA(&counting);
    HWND window = CreateWindowExA(0, "SessionCounter", "", WS_POPUP | WS_VISIBLE, 0, 0, 40, 30, nullptr, nullptr,
                                  nullptr, nullptr);
    SetFocus(window);
    SetTimer(window, 1, 500, nullptr);  // a caret's blink: the run still ends
    MSG message{};
    int count = 0;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
        ++count;
    }
    return count;
}

TEST_F(SessionTest, TheHeadlessHostPlaysTheScriptWritesSnapshotsAndEnds) {
    Counter::clicks = 0;
    Counter::typed.clear();
    setenv("WINPLAT_SCREEN", "40x30", 1);
    setenv("WINPLAT_INPUT", script("wait 100\nclick 5 5\ntype \xC5\xBE" "e\nsnap " + (folder_ / "a.png").string() +
                                   "\nwait 1000\nclick 6 6\n").c_str(), 1);
    setenv("WINPLAT_SNAPSHOT", ((folder_ / "b.png").string() + "@5000").c_str(), 1);
    {
        winplat::host::Session host;
        ASSERT_TRUE(host.ok()) << host.error();
        EXPECT_STREQ(host.hostName(), "headless");
        EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 40);
        const uint64_t start = GetTickCount();
        runLoop();
        EXPECT_EQ(GetTickCount() - start, 5000u) << "virtual time ran to the snapshot, then the run ended";
    }
    EXPECT_EQ(Counter::clicks, 2);
    EXPECT_EQ(Counter::typed, "\x9E" "e");
    const auto first = winplat::test::readPng((folder_ / "a.png").string());
    const auto last = winplat::test::readPng((folder_ / "b.png").string());
    ASSERT_TRUE(first);
    ASSERT_TRUE(last);
    EXPECT_EQ(first->width, 40);
    EXPECT_EQ(first->at(1, 0), 0xFFFFFFu);
    const COLORREF desktop = GetSysColor(COLOR_BACKGROUND);
    const uint32_t background = (uint32_t{GetRValue(desktop)} << 16) | (uint32_t{GetGValue(desktop)} << 8) | GetBValue(desktop);
    EXPECT_EQ(first->at(2, 0), background) << "the snapshot came before the second click: the desktop still shows";
    EXPECT_EQ(last->at(2, 0), 0xFFFFFFu);
}

TEST_F(SessionTest, ARefusedEnvironmentSaysWhy) {
    struct Case {
        const char* variable;
        const char* value;
        const char* error;
    };
    const Case cases[] = {
        {"WINPLAT_SCREEN", "800", "WINPLAT_SCREEN: '800' is not WIDTHxHEIGHT with each from 1 to 16384"},
        {"WINPLAT_HOST", "x11", "WINPLAT_HOST: 'x11' is neither sdl nor headless"},
        {"WINPLAT_SNAPSHOT", "a.png@later", "WINPLAT_SNAPSHOT: 'later' after '@' is not a time in ms"},
        {"WINPLAT_INPUT", "/nonexistent/script", "WINPLAT_INPUT: cannot read the input script /nonexistent/script"},
    };
    for (const Case& c : cases) {
        setenv(c.variable, c.value, 1);
        winplat::host::Session host;
        EXPECT_FALSE(host.ok()) << c.variable;
        EXPECT_EQ(host.error(), c.error);
        unsetenv(c.variable);
        if (std::string(c.variable) == "WINPLAT_HOST") setenv("WINPLAT_HOST", "headless", 1);
    }
    setenv("WINPLAT_INPUT", script("wait 10\nclick 1\n").c_str(), 1);
    winplat::host::Session host;
    EXPECT_EQ(host.error(), "WINPLAT_INPUT: line 2: 'click' takes 2 numbers");
}

TEST_F(SessionTest, OneSessionAtATime) {
    winplat::host::Session first;
    ASSERT_TRUE(first.ok()) << first.error();
    winplat::host::Session second;
    EXPECT_EQ(second.error(), "a host session is running already");
}

}  // namespace

namespace {

// The headless host shares no clipboard with a desktop: the layer's store stays the only one.
TEST_F(SessionTest, TheHeadlessHostOffersNoDesktopClipboard) {
    ASSERT_EQ(winplat::host::desktopClipboard(), nullptr);
    {
        winplat::host::Session host;
        ASSERT_TRUE(host.ok()) << host.error();
        ASSERT_STREQ(host.hostName(), "headless");
        EXPECT_EQ(winplat::host::desktopClipboard(), nullptr);
    }
    EXPECT_EQ(winplat::host::desktopClipboard(), nullptr);
}

}  // namespace
