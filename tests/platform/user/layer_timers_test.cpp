// The layer's own timers (the caret's blink, a held scroll arrow's repeat) and a program's timers
// on the same window: a program may number its timers as it likes, the layer's ids included, and
// neither kind replaces, swallows or stops the other.
#include <vector>

#include "input_fixture.h"
#include "paint_fixture.h"
#include "user/timers.h"

namespace window_test {
namespace {

using winplat::testing::mouseButton;
using winplat::testing::mouseMove;

// The ids the caret's blink and the scroll repeat used on their window when they shared the
// program's numbering.
constexpr UINT_PTR kCaretId = 0xFFF0;
constexpr UINT_PTR kScrollId = 0xFFFA;

// When, in ms from the start, the window's procedure got the program's WM_TIMER, and when the
// layer's timer showed (the caret's pixel changed, a held arrow sent SB_LINEDOWN).
struct Timeline {
    std::vector<uint64_t> program;
    std::vector<uint64_t> layer;
};

class CaretTimerTest : public PaintTest {
  protected:
    static constexpr int kCaretX = 5;
    static constexpr int kCaretY = 6;

    HWND window() {
        HWND w = make(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
        recorder().handlers[w] = [this](HWND, UINT message, WPARAM wParam, LPARAM, bool&) -> LRESULT {
            if (message == WM_TIMER && wParam == kCaretId) seen_.program.push_back(clock_.nowMs() - start_);
            return 0;
        };
        return w;
    }

    // The program's loop for 'milliseconds' from now.
    Timeline run(uint64_t milliseconds) {
        seen_ = Timeline{};
        start_ = clock_.nowMs();
        MSG msg{};
        while (GetMessageA(&msg, nullptr, 0, 0)) {
            if (clock_.nowMs() - start_ > milliseconds) break;
            const COLORREF before = at(kCaretX, kCaretY);
            DispatchMessageA(&msg);
            if (at(kCaretX, kCaretY) != before) seen_.layer.push_back(clock_.nowMs() - start_);
        }
        return seen_;
    }

    static void showCaret(HWND w) {
        ASSERT_TRUE(CreateCaret(w, nullptr, 2, 10));
        ASSERT_TRUE(SetCaretPos(kCaretX, kCaretY));
        ASSERT_TRUE(ShowCaret(w));
    }

    Timeline seen_;
    uint64_t start_ = 0;
};

TEST_F(CaretTimerTest, AProgramTimerOfTheCaretsIdSetFirstKeepsFiringBesideTheBlink) {
    HWND w = window();
    ASSERT_EQ(SetTimer(w, kCaretId, 300, nullptr), kCaretId);
    showCaret(w);
    const Timeline both = run(1000);
    EXPECT_EQ(both.program, (std::vector<uint64_t>{300, 600, 900}));
    EXPECT_EQ(both.layer, (std::vector<uint64_t>{500, 1000}));
    // The loop stopped on the program's timer at 1200; the caret's next changes are at 1500 and 2000.
    ASSERT_TRUE(KillTimer(w, kCaretId));
    const Timeline caretAlone = run(1000);
    EXPECT_TRUE(caretAlone.program.empty());
    EXPECT_EQ(caretAlone.layer, (std::vector<uint64_t>{300, 800})) << "killing the program's timer leaves the blink";
}

TEST_F(CaretTimerTest, ACaretShownFirstKeepsBlinkingBesideAProgramTimerOfItsId) {
    HWND w = window();
    showCaret(w);
    ASSERT_EQ(SetTimer(w, kCaretId, 300, nullptr), kCaretId);
    const Timeline both = run(1000);
    EXPECT_EQ(both.program, (std::vector<uint64_t>{300, 600, 900}));
    EXPECT_EQ(both.layer, (std::vector<uint64_t>{500, 1000}));
    EXPECT_TRUE(recorder().messagesOf(w, true, {winplat::user::kLayerTimerMessage}).empty())
        << "the layer's timers never reach the window's procedure";
    ASSERT_TRUE(DestroyCaret());
    const Timeline programAlone = run(1000);
    EXPECT_EQ(programAlone.program, (std::vector<uint64_t>{300, 600, 900})) << "the caret's going leaves the program's timer";
    EXPECT_TRUE(programAlone.layer.empty());
    EXPECT_FALSE(KillTimer(w, kCaretId + 1)) << "a program timer the program never set";
    EXPECT_TRUE(KillTimer(w, kCaretId));
}

TEST_F(CaretTimerTest, ALoopThatTakesOnlyWmTimerGetsOnlyTheProgramsTimers) {
    HWND w = window();
    showCaret(w);
    ASSERT_EQ(SetTimer(w, kCaretId, 300, nullptr), kCaretId);
    start_ = clock_.nowMs();
    std::vector<std::pair<UINT, uint64_t>> taken;
    MSG msg{};
    while (taken.size() < 3 && GetMessageA(&msg, nullptr, WM_TIMER, WM_TIMER)) {
        taken.emplace_back(msg.message, clock_.nowMs() - start_);
        DispatchMessageA(&msg);
    }
    const std::vector<std::pair<UINT, uint64_t>> expected{{WM_TIMER, 300}, {WM_TIMER, 600}, {WM_TIMER, 900}};
    EXPECT_EQ(taken, expected);
}

class ScrollTimerTest : public InputTest {
  protected:
    // A window with a vertical bar of range 0..99, page 10; its down arrow is at (kBarX, kDownY).
    HWND scroller() {
        HWND w = make(WS_POPUP | WS_VISIBLE | WS_VSCROLL, 100, 100, 200, 200);
        SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 0, 0};
        SetScrollInfo(w, SB_VERT, &info, TRUE);
        pump();
        recorder().clear();
        return w;
    }
    static constexpr int kBarX = 100 + 184 + 8;
    static constexpr int kDownY = 100 + 200 - 8;

    // Holds the down arrow until the window has had 'lines' SB_LINEDOWN; the times (ms from the
    // press) of those and of the program's WM_TIMER kScrollId, which 'onTimer' sees first.
    Timeline hold(HWND w, size_t lines, std::function<void(size_t fired)> onTimer) {
        Timeline seen;
        const uint64_t start = clock_.nowMs();
        recorder().handlers[w] = [&](HWND, UINT message, WPARAM wParam, LPARAM, bool&) -> LRESULT {
            if (message == WM_TIMER && wParam == kScrollId) {
                seen.program.push_back(clock_.nowMs() - start);
                onTimer(seen.program.size());
            }
            if (message == WM_VSCROLL && LOWORD(wParam) == SB_LINEDOWN) {
                seen.layer.push_back(clock_.nowMs() - start);
                if (seen.layer.size() == lines) mouseButton(MouseButton::Left, false);
            }
            return 0;
        };
        mouseMove(kBarX, kDownY);
        mouseButton(MouseButton::Left, true);
        pump();
        recorder().handlers.erase(w);
        return seen;
    }
};

TEST_F(ScrollTimerTest, AProgramTimerOfTheRepeatsIdFiresThroughAHeldArrowAndOutlivesIt) {
    HWND w = scroller();
    ASSERT_EQ(SetTimer(w, kScrollId, 70, nullptr), kScrollId);
    const Timeline seen = hold(w, 4, [](size_t) {});
    EXPECT_EQ(seen.layer, (std::vector<uint64_t>{0, 200, 250, 300})) << "the repeat keeps its own timing";
    EXPECT_EQ(seen.program, (std::vector<uint64_t>{70, 140, 210, 280}));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_TRUE(KillTimer(w, kScrollId)) << "the end of the press left the program's timer";
}

TEST_F(ScrollTimerTest, KillingTheProgramsTimerLeavesTheRepeat) {
    HWND w = scroller();
    ASSERT_EQ(SetTimer(w, kScrollId, 30, nullptr), kScrollId);
    BOOL killed = FALSE;
    const Timeline seen = hold(w, 5, [&](size_t fired) {
        if (fired == 3) killed = KillTimer(w, kScrollId);
    });
    EXPECT_TRUE(killed);
    EXPECT_EQ(seen.program, (std::vector<uint64_t>{30, 60, 90}));
    EXPECT_EQ(seen.layer, (std::vector<uint64_t>{0, 200, 250, 300, 350}));
    EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
}  // namespace window_test
