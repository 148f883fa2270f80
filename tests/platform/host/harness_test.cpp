#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "winplat/base.h"
#include "winplat/owners.h"
#include "winplat_harness/harness.h"

namespace {

using winplat::host::ModalKind;
using winplat::host::ModalLoop;
using winplat::test::Harness;
using winplat::test::Image;

constexpr const char* kPlainClass = "HarnessPlain";
// What dialogs and message boxes return (their own header comes with them).
constexpr INT_PTR kOk = 1;
constexpr INT_PTR kCancel = 2;
constexpr INT_PTR kYes = 6;

Harness::Options sized(int width, int height) {
    Harness::Options options;
    options.width = width;
    options.height = height;
    return options;
}

LRESULT CALLBACK plainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND makeWindow(int x, int y, int width, int height, const char* title = "plain") {
    WNDCLASSA plain{};
    plain.lpfnWndProc = plainProcedure;
    plain.lpszClassName = kPlainClass;
    plain.style = CS_DBLCLKS;
    RegisterClassA(&plain);
    return CreateWindowExA(0, kPlainClass, title, WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr, nullptr,
                           nullptr, nullptr);
}

std::vector<UINT> only(const std::vector<UINT>& messages, std::initializer_list<UINT> wanted) {
    std::vector<UINT> out;
    for (UINT m : messages) {
        if (std::find(wanted.begin(), wanted.end(), m) != wanted.end()) out.push_back(m);
    }
    return out;
}

TEST(Harness, AdvanceFiresTimersInDueOrderAndOnlyThoseInTheSpan) {
    Harness h;
    HWND window = makeWindow(0, 0, 50, 50);
    h.logMessages(window);
    SetTimer(window, 1, 30, nullptr);
    SetTimer(window, 2, 20, nullptr);
    h.advance(59);  // 2 at 20 and 40, 1 at 30; neither at 60
    std::vector<WPARAM> fired;
    for (const auto& m : h.messages(window)) {
        if (m.message == WM_TIMER) fired.push_back(m.wParam);
    }
    EXPECT_EQ(fired, (std::vector<WPARAM>{2, 1, 2}));
    EXPECT_EQ(h.now(), 1059u);
    h.advance(1);  // 60: both due, the one set first fires first
    fired.clear();
    for (const auto& m : h.messages(window)) {
        if (m.message == WM_TIMER) fired.push_back(m.wParam);
    }
    EXPECT_EQ(fired, (std::vector<WPARAM>{2, 1, 2, 1, 2}));
}

TEST(Harness, AFiftyMillisecondTimerFiresTwentyTimesInASecond) {
    Harness h;
    HWND window = makeWindow(0, 0, 50, 50);
    h.logMessages(window);
    SetTimer(window, 7, 50, nullptr);
    h.advance(1000);
    EXPECT_EQ(only(h.messageNumbers(window), {WM_TIMER}).size(), 20u);
    ASSERT_EQ(h.timers().size(), 1u);
    EXPECT_EQ(h.timers()[0].dueMs, h.now() + 50);
}

TEST(Harness, PumpRunsNothingFromTheFuture) {
    Harness h;
    HWND window = makeWindow(0, 0, 50, 50);
    UpdateWindow(window);  // its first paint is no part of what is counted
    h.logMessages(window);
    SetTimer(window, 1, 10, nullptr);
    PostMessageA(window, WM_USER + 1, 0, 0);
    EXPECT_EQ(h.pump(), 1);
    EXPECT_EQ(h.now(), 1000u) << "the clock stays where it was";
    EXPECT_EQ(h.messageNumbers(window), (std::vector<UINT>{WM_USER + 1}));
    EXPECT_EQ(h.pump(), 0);
    h.advance(9);
    EXPECT_TRUE(only(h.messageNumbers(window), {WM_TIMER}).empty());
    h.advance(1);
    EXPECT_EQ(only(h.messageNumbers(window), {WM_TIMER}).size(), 1u);
}

// A handler that lets messages through on its own (PeekMessageA until the queue is empty) moves
// virtual time on to the next timer each time it runs.
int drainingTicks = 0;
LRESULT CALLBACK drainingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        ++drainingTicks;
        MSG waiting{};
        while (PeekMessageA(&waiting, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&waiting);
        PostMessageA(window, WM_USER + 2, 0, 0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(Harness, ATimerWhoseHandlerLetsMessagesThroughTicksOncePerPeriod) {
    Harness h;
    WNDCLASSA draining{};
    draining.lpfnWndProc = drainingProcedure;
    draining.lpszClassName = "HarnessDraining";
    ASSERT_TRUE(RegisterClassA(&draining));
    HWND window = CreateWindowExA(0, "HarnessDraining", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    h.logMessages(window);
    drainingTicks = 0;
    SetTimer(window, 1, 100, nullptr);
    h.advance(350);  // the ticks at 100, 200 and 300; each drain moves the clock on by a period
    EXPECT_GE(drainingTicks, 3);
    EXPECT_LE(drainingTicks, 4);
    EXPECT_EQ(only(h.messageNumbers(window), {WM_USER + 2}).size(), static_cast<size_t>(drainingTicks))
        << "what a tick posts after its drain moved the clock is still delivered by the same pump";
}

TEST(Harness, MouseHelpersDeliverTheirMessages) {
    Harness h;
    HWND window = makeWindow(100, 100, 200, 100);
    h.logMessages(window);
    const std::initializer_list<UINT> buttons{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
                                              WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MOUSEMOVE};
    h.click(110, 120);
    EXPECT_EQ(only(h.messageNumbers(window), buttons), (std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}));
    h.advance(1000);
    h.clearLog();
    h.doubleClick(150, 150);
    EXPECT_EQ(only(h.messageNumbers(window), buttons),
              (std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
    h.advance(1000);
    h.clearLog();
    h.rightClick(150, 150);
    EXPECT_EQ(only(h.messageNumbers(window), buttons), (std::vector<UINT>{WM_MOUSEMOVE, WM_RBUTTONDOWN, WM_RBUTTONUP}));
    h.clearLog();
    h.drag(110, 110, 250, 180);
    const auto dragged = h.messages(window);
    ASSERT_FALSE(dragged.empty());
    std::vector<UINT> sequence;
    LPARAM releasedAt = 0;
    for (const auto& m : dragged) {
        if (m.message == WM_LBUTTONUP) releasedAt = m.lParam;
    }
    EXPECT_EQ(only(h.messageNumbers(window), buttons),
              (std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP}));
    EXPECT_EQ(releasedAt, MAKELONG(150, 80)) << "client coordinates of the drag's end";
}

TEST(Harness, KeysTypeAndWheelGoToTheFocusWindow) {
    Harness h;
    HWND window = makeWindow(0, 0, 100, 100);
    SetFocus(window);
    h.logMessages(window);
    h.key('S', winplat::test::kCtrl);
    std::vector<std::pair<UINT, WPARAM>> keys;
    for (const auto& m : h.messages(window)) {
        if (m.message == WM_KEYDOWN || m.message == WM_KEYUP || m.message == WM_CHAR) keys.emplace_back(m.message, m.wParam);
    }
    EXPECT_EQ(keys, (std::vector<std::pair<UINT, WPARAM>>{{WM_KEYDOWN, VK_CONTROL},
                                                         {WM_KEYDOWN, 'S'},
                                                         {WM_CHAR, 0x13},
                                                         {WM_KEYUP, 'S'},
                                                         {WM_KEYUP, VK_CONTROL}}));
    h.clearLog();
    h.type(u8"ží");
    h.type(std::string_view("a"));
    std::vector<WPARAM> chars;
    for (const auto& m : h.messages(window)) {
        EXPECT_EQ(m.message, static_cast<UINT>(WM_CHAR)) << "typed text comes as characters only";
        chars.push_back(m.wParam);
    }
    EXPECT_EQ(chars, (std::vector<WPARAM>{0x9E, 0xED, 'a'}));
    h.clearLog();
    h.wheel(-240);
    ASSERT_EQ(only(h.messageNumbers(window), {WM_MOUSEWHEEL}).size(), 1u);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(h.messages(window).back().wParam), -240);
}

TEST(Harness, TypingACharacterCp1250HasNotFails) {
    Harness h;
    EXPECT_NONFATAL_FAILURE(h.type(u8"€☃"), "cp1250 has not");
}

TEST(Harness, InspectionReportsTheWindow) {
    Harness h(sized(640, 480));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);
    HWND back = makeWindow(10, 20, 300, 200, "back");
    HWND front = makeWindow(50, 60, 100, 80, "front");
    EXPECT_EQ(h.findWindow(kPlainClass, "back"), back);
    EXPECT_EQ(h.findWindow(nullptr, "front"), front);
    const auto info = h.windowInfo(back);
    EXPECT_EQ(info.text, "back");
    EXPECT_EQ(info.rect.left, 10);
    EXPECT_EQ(info.rect.bottom, 220);
    EXPECT_EQ(info.client.right, 310) << "a popup without a frame: the client is the whole window";
    EXPECT_TRUE(info.visible);
    EXPECT_TRUE(info.enabled);
    EXPECT_EQ(info.zIndex, 1);
    EXPECT_EQ(h.windowInfo(front).zIndex, 0);
    EXPECT_EQ(info.parent, nullptr);
    EnableWindow(back, FALSE);
    EXPECT_FALSE(h.windowInfo(back).enabled);
    SetCapture(front);
    EXPECT_EQ(h.capture(), front);
    MessageBeep(MB_OK);
    EXPECT_EQ(h.beeps(), 1u);
}

TEST(Harness, TheStateFolderLivesWithTheHarness) {
    std::string folder;
    {
        Harness h;
        folder = h.stateFolder();
        ASSERT_FALSE(folder.empty());
        EXPECT_TRUE(std::filesystem::is_directory(folder));
        ASSERT_NE(std::getenv("WINPLAT_STATE"), nullptr);
        EXPECT_EQ(std::string(std::getenv("WINPLAT_STATE")), folder);
    }
    EXPECT_FALSE(std::filesystem::exists(folder));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024) << "the screen is as it was before";
}

TEST(Harness, AStallFailsTheTestAndDoesNotHang) {
    Harness h;
    UpdateWindow(makeWindow(0, 0, 10, 10, "waiting"));  // nothing left to paint either
    MSG message{};
    BOOL result = TRUE;
    EXPECT_NONFATAL_FAILURE(result = GetMessageA(&message, nullptr, 0, 0), "\"waiting\"");
    EXPECT_EQ(result, FALSE) << "returns as for WM_QUIT";
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(h.stalls(), 1);
}

// A modal loop as the later areas write theirs: dispatch what is queued, ask the answerer when
// idle, wait otherwise.
// 'ended' says after each message whether the loop's window ended it, and with what.
using Ending = std::function<std::optional<INT_PTR>()>;

INT_PTR runModalLoop(const ModalLoop& loop, const Ending& ended = [] { return std::nullopt; }) {
    for (;;) {
        MSG message{};
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
            if (const auto result = ended()) return *result;
        }
        const winplat::host::ModalAnswer answer = winplat::host::modalIdle(loop);
        if (answer.end) return answer.result;
        if (!winplat::host::answerer()) WaitMessage();
    }
}

TEST(Harness, AQueuedAnswerEndsAModalLoopWithItsValue) {
    Harness h;
    HWND window = makeWindow(0, 0, 10, 10);
    const ModalLoop loop{ModalKind::Dialog, "GETVIEWPASSWORD", window, kCancel};
    std::string seen;
    h.answer(ModalKind::Dialog, "GETVIEWPASSWORD", [&seen](const ModalLoop& l) -> std::optional<INT_PTR> {
        seen = l.name;
        return kOk;
    });
    EXPECT_EQ(runModalLoop(loop), kOk);
    EXPECT_EQ(seen, "GETVIEWPASSWORD");
    EXPECT_EQ(h.answersQueued(), 0u);
}

TEST(Harness, AnAnswerMayInjectInputThatTheLoopDispatches) {
    Harness h;
    HWND window = makeWindow(0, 0, 100, 100);
    h.logMessages(window);
    h.answer(ModalKind::MessageBox, [](std::string_view text) { return text.find("Save") != std::string_view::npos; },
             [&](const ModalLoop&) -> std::optional<INT_PTR> {
                 winplat::testing::mouseMove(5, 5);
                 winplat::testing::mouseButton(winplat::host::MouseButton::Left, true);
                 return std::nullopt;
             });
    const ModalLoop loop{ModalKind::MessageBox, "Save changes?", window, kCancel};
    // The press, once dispatched, ends the loop as a button of the box would.
    const Ending pressed = [&h, window]() -> std::optional<INT_PTR> {
        if (only(h.messageNumbers(window), {WM_LBUTTONDOWN}).empty()) return std::nullopt;
        return kYes;
    };
    EXPECT_EQ(runModalLoop(loop, pressed), kYes);
    EXPECT_EQ(only(h.messageNumbers(window), {WM_LBUTTONDOWN}).size(), 1u);
}

TEST(Harness, AnUnexpectedModalLoopFailsWithADumpAndIsCancelled) {
    Harness h;
    HWND window = makeWindow(0, 0, 10, 10, "owner window");
    const ModalLoop loop{ModalKind::Dialog, "ABOUT", window, kCancel};
    INT_PTR result = 0;
    EXPECT_NONFATAL_FAILURE(result = runModalLoop(loop), "unexpected dialog \"ABOUT\"");
    EXPECT_EQ(result, kCancel);
    EXPECT_EQ(h.unexpectedModalLoops(), 1);
    EXPECT_NONFATAL_FAILURE(runModalLoop(loop), "\"owner window\"");
}

TEST(Harness, AnAnswerOfAnotherKindOrNameDoesNotMatchAndUnusedAnswersFail) {
    ::testing::TestPartResultArray failures;
    {
        const ::testing::ScopedFakeTestPartResultReporter collect(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
        Harness h;
        h.answer(ModalKind::MessageBox, "ABOUT", [](const ModalLoop&) -> std::optional<INT_PTR> { return 1; });
        h.answer(ModalKind::Dialog, "ABOUTX", [](const ModalLoop&) -> std::optional<INT_PTR> { return 1; });
        EXPECT_EQ(runModalLoop({ModalKind::Dialog, "ABOUT", nullptr, 2}), 2) << "cancelled";
    }
    ASSERT_EQ(failures.size(), 3);
    EXPECT_NE(std::string(failures.GetTestPartResult(0).message()).find("unexpected dialog \"ABOUT\""), std::string::npos) << failures.GetTestPartResult(0).message();
    EXPECT_NE(std::string(failures.GetTestPartResult(1).message()).find("an answer for a message box \"ABOUT\" was queued but no such modal loop came"), std::string::npos) << failures.GetTestPartResult(1).message();
    EXPECT_NE(std::string(failures.GetTestPartResult(2).message()).find("an answer for a dialog \"ABOUTX\" was queued"), std::string::npos) << failures.GetTestPartResult(2).message();
}

// --- pictures

void releaseScreenDc(HDC dc) { ReleaseDC(nullptr, dc); }
using ScreenDc = winplat::UniqueHandle<HDC, releaseScreenDc>;

Image filled(int width, int height, uint32_t colour) {
    return Image{width, height, std::vector<uint32_t>(static_cast<size_t>(width * height), colour)};
}

class GoldenTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::error_code ignored;
        folder_ = std::filesystem::temp_directory_path() / ("winplat_golden_" + std::to_string(getpid()));
        std::filesystem::remove_all(folder_, ignored);
        std::filesystem::create_directories(folder_ / "golden");
        unsetenv("WINPLAT_UPDATE_GOLDEN");
    }
    void TearDown() override {
        unsetenv("WINPLAT_UPDATE_GOLDEN");
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    Harness::Options options() const {
        Harness::Options options = sized(64, 48);
        options.goldenFolder = (folder_ / "golden").string();
        options.diffFolder = (folder_ / "diffs").string();
        return options;
    }
    std::filesystem::path folder_;
};

TEST_F(GoldenTest, EqualPassesOnePixelOffFailsAndWritesADiff) {
    Harness h(options());
    Image image = filled(5, 4, 0x336699);
    ASSERT_TRUE(winplat::test::writePng(image, (folder_ / "golden" / "tile.png").string()));
    EXPECT_TRUE(h.expectImage(image, "tile"));
    EXPECT_FALSE(std::filesystem::exists(folder_ / "diffs" / "tile.diff.png"));
    image.at(4, 3) = 0x336698;
    bool equal = true;
    EXPECT_NONFATAL_FAILURE(equal = h.expectImage(image, "tile"), "1 pixels differ, first at (4, 3)");
    EXPECT_FALSE(equal);
    const auto diff = winplat::test::readPng((folder_ / "diffs" / "tile.diff.png").string());
    ASSERT_TRUE(diff);
    EXPECT_EQ(diff->width, 15);
    EXPECT_EQ(diff->at(10 + 4, 3), 0xFF0000u) << "the differing pixel in red";
    EXPECT_EQ(diff->at(10 + 3, 3), 0xFFFFFFu);
    EXPECT_EQ(diff->at(4, 3), 0x336699u) << "the golden on the left";
    EXPECT_EQ(diff->at(5 + 4, 3), 0x336698u) << "the image in the middle";
}

TEST_F(GoldenTest, ASizeMismatchOrAMissingGoldenFails) {
    Harness h(options());
    ASSERT_TRUE(winplat::test::writePng(filled(5, 4, 0), (folder_ / "golden" / "tile.png").string()));
    EXPECT_NONFATAL_FAILURE(h.expectImage(filled(5, 5, 0), "tile"), "the golden is 5x4, the image 5x5");
    EXPECT_NONFATAL_FAILURE(h.expectImage(filled(1, 1, 0), "absent"), "WINPLAT_UPDATE_GOLDEN=1 writes it");
}

TEST_F(GoldenTest, UpdateGoldenRewritesIt) {
    Harness h(options());
    ASSERT_TRUE(winplat::test::writePng(filled(2, 2, 0x000000), (folder_ / "golden" / "tile.png").string()));
    setenv("WINPLAT_UPDATE_GOLDEN", "1", 1);
    EXPECT_TRUE(h.expectImage(filled(3, 2, 0x00FF00), "tile"));
    unsetenv("WINPLAT_UPDATE_GOLDEN");
    const auto rewritten = winplat::test::readPng((folder_ / "golden" / "tile.png").string());
    ASSERT_TRUE(rewritten);
    EXPECT_EQ(*rewritten, filled(3, 2, 0x00FF00));
    EXPECT_TRUE(h.expectImage(filled(3, 2, 0x00FF00), "tile"));
}

TEST(HarnessPictures, ScreenshotReadsTheFramebufferAndCanDrawThePointer) {
    Harness h(sized(64, 48));
    h.pump();  // the desktop's background first, so nothing paints over the square later
    {
        const ScreenDc screen(GetDC(nullptr));
        ASSERT_TRUE(screen);
        const RECT square{10, 10, 20, 20};
        const winplat::GdiObject<HBRUSH> red(CreateSolidBrush(RGB(255, 0, 0)));
        FillRect(screen.get(), &square, red.get());
    }
    const Image shot = h.screenshot();
    ASSERT_EQ(shot.width, 64);
    ASSERT_EQ(shot.height, 48);
    EXPECT_EQ(shot.at(10, 10), 0xFF0000u);
    EXPECT_EQ(shot.at(19, 19), 0xFF0000u);
    const COLORREF desktop = GetSysColor(COLOR_BACKGROUND);
    EXPECT_EQ(shot.at(20, 20), (uint32_t{GetRValue(desktop)} << 16) | (uint32_t{GetGValue(desktop)} << 8) | GetBValue(desktop))
        << "the desktop's background around the square";
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    h.mouseMove(30, 30);
    const Image withPointer = h.screenshot(true);
    EXPECT_EQ(h.screenshot(false), shot) << "the pointer is no part of the framebuffer";
    EXPECT_NE(withPointer, shot);
    HWND window = makeWindow(5, 8, 20, 10);
    const Image part = h.windowImage(window, true);
    ASSERT_EQ(part.width, 20);
    ASSERT_EQ(part.height, 10);
    EXPECT_EQ(part.at(5, 2), shot.at(10, 10));
}

}  // namespace
