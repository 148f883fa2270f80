// Window scroll bars: SetScrollInfo's clamping, the bar shown and hidden with its range,
// ShowScrollBar reshaping the client area, and the mouse on arrows, page areas and the thumb.
#include <vector>

#include "input_fixture.h"
#include "winplat/time.h"

namespace window_test {
namespace {

using winplat::testing::mouseButton;
using winplat::testing::mouseMove;

struct ClampCase {
    int min, max;
    UINT page;
    int pos;
    UINT wantPage;
    int wantPos;
};

class ScrollClamp : public WindowTest, public ::testing::WithParamInterface<ClampCase> {};

TEST_P(ScrollClamp, KeepsPageAndPositionInRange) {
    const ClampCase& c = GetParam();
    HWND window = make(WS_POPUP | WS_VISIBLE | WS_VSCROLL, 0, 0, 100, 100);
    SCROLLINFO set{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, c.min, c.max, c.page, c.pos, 0};
    EXPECT_EQ(SetScrollInfo(window, SB_VERT, &set, FALSE), c.wantPos);
    SCROLLINFO got{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(window, SB_VERT, &got));
    EXPECT_EQ(got.nPage, c.wantPage);
    EXPECT_EQ(got.nPos, c.wantPos);
    EXPECT_EQ(got.nTrackPos, c.wantPos);
}

INSTANTIATE_TEST_SUITE_P(Cases, ScrollClamp,
                         ::testing::Values(ClampCase{0, 100, 0, 100, 0, 100},    // no page: up to max
                                           ClampCase{0, 100, 1, 100, 1, 100},    // page 1: still max
                                           ClampCase{0, 100, 10, 100, 10, 91},   // max - (page - 1)
                                           ClampCase{0, 100, 10, 91, 10, 91},
                                           ClampCase{0, 100, 10, 90, 10, 90},
                                           ClampCase{0, 100, 10, -5, 10, 0},     // below min
                                           ClampCase{10, 20, 50, 15, 11, 10},    // page cut to max - min + 1
                                           ClampCase{-50, 50, 20, 40, 20, 31}));

class ScrollBarTest : public InputTest {
  protected:
    // A top-level window with a vertical bar of range 0..99, page 10, at 'pos'; its scroll
    // messages are recorded.
    HWND scroller(int pos) {
        HWND window = make(WS_POPUP | WS_VISIBLE | WS_VSCROLL, 100, 100, 200, 200);
        SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, pos, 0};
        SetScrollInfo(window, SB_VERT, &info, TRUE);
        pump();
        recorder().clear();
        return window;
    }
    // The codes (and the positions of thumb codes) of WM_VSCROLL, in order.
    static std::vector<int> codes(HWND window) {
        std::vector<int> out;
        for (const Received& r : received(window, [](UINT m) { return m == WM_VSCROLL; })) {
            out.push_back(LOWORD(r.wParam));
            if (LOWORD(r.wParam) == SB_THUMBTRACK || LOWORD(r.wParam) == SB_THUMBPOSITION) out.push_back(HIWORD(r.wParam));
        }
        return out;
    }
    // The bar's screen x middle and the arrows' y: the bar stands at x 284..300 of the window.
    static constexpr int kBarX = 100 + 184 + 8;
};

TEST_F(ScrollBarTest, ArrowClickSendsLineThenEnd) {
    HWND window = scroller(0);
    click(kBarX, 100 + 200 - 8);  // the down arrow
    EXPECT_EQ(codes(window), (std::vector<int>{SB_LINEDOWN, SB_ENDSCROLL}));
    click(kBarX, 100 + 8);  // the up arrow
    EXPECT_EQ(codes(window), (std::vector<int>{SB_LINEDOWN, SB_ENDSCROLL, SB_LINEUP, SB_ENDSCROLL}));
    EXPECT_EQ(GetScrollPos(window, SB_VERT), 0) << "the bar never moves itself";
}

TEST_F(ScrollBarTest, HeldArrowRepeatsAfterTheDelayAtTheRate) {
    HWND window = scroller(0);
    std::vector<DWORD> times;
    recorder().handlers[window] = [&times](HWND, UINT message, WPARAM wParam, LPARAM, bool&) -> LRESULT {
        if (message == WM_VSCROLL && LOWORD(wParam) == SB_LINEDOWN) {
            times.push_back(GetTickCount());
            if (times.size() == 4) mouseButton(MouseButton::Left, false);
        }
        return 0;
    };
    mouseMove(kBarX, 100 + 200 - 8);
    mouseButton(MouseButton::Left, true);
    pump();
    ASSERT_EQ(times.size(), 4u);
    EXPECT_EQ(times[1] - times[0], 200u);
    EXPECT_EQ(times[2] - times[1], 50u);
    EXPECT_EQ(times[3] - times[2], 50u);
    EXPECT_EQ(codes(window).back(), SB_ENDSCROLL);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ScrollBarTest, HeldPageAreaStopsWhenTheThumbReachesThePointer) {
    HWND window = scroller(0);
    // The program moves the position by a page on each SB_PAGEDOWN, as programs do.
    recorder().handlers[window] = [](HWND w, UINT message, WPARAM wParam, LPARAM, bool&) -> LRESULT {
        if (message == WM_VSCROLL && LOWORD(wParam) == SB_PAGEDOWN) SetScrollPos(w, SB_VERT, GetScrollPos(w, SB_VERT) + 10, TRUE);
        return 0;
    };
    // The track runs from y 16 to 184 of the window; press at 60% of it and hold for a long while.
    mouseMove(kBarX, 100 + 16 + 100);
    mouseButton(MouseButton::Left, true);
    // The release comes from a thread timer long after the paging stopped.
    SetTimer(nullptr, 0, 2000, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        mouseButton(MouseButton::Left, false);
    });
    pump();
    const std::vector<int> got = codes(window);
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got.back(), SB_ENDSCROLL);
    const int pos = GetScrollPos(window, SB_VERT);
    // Thumb 16 of 168 pixels at pos 50..60 covers the pointer at 100: the paging stopped there.
    EXPECT_GE(pos, 50);
    EXPECT_LE(pos, 60);
}

TEST_F(ScrollBarTest, ThumbDragTracksThenSetsThePosition) {
    HWND window = scroller(0);
    SCROLLINFO track{sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0};
    std::vector<int> seen;
    recorder().handlers[window] = [&](HWND w, UINT message, WPARAM wParam, LPARAM, bool&) -> LRESULT {
        if (message == WM_VSCROLL && LOWORD(wParam) == SB_THUMBTRACK) {
            GetScrollInfo(w, SB_VERT, &track);
            seen.push_back(track.nTrackPos);
            // Moves queued together are merged into one: the next comes once this one is seen.
            if (seen.size() == 1) mouseMove(kBarX, 100 + 16 + 4 + 500);  // far below: the end
            if (seen.size() == 2) mouseButton(MouseButton::Left, false);
        }
        return 0;
    };
    // The thumb (16 pixels for a page of 10 of 100 in a 168-pixel track) starts at the track's top.
    mouseMove(kBarX, 100 + 16 + 4);
    mouseButton(MouseButton::Left, true);
    mouseMove(kBarX, 100 + 16 + 4 + 76);  // half of the 152 pixels the thumb travels
    pump();
    EXPECT_EQ(codes(window), (std::vector<int>{SB_THUMBTRACK, 45, SB_THUMBTRACK, 90, SB_THUMBPOSITION, 90, SB_ENDSCROLL}));
    EXPECT_EQ(seen, (std::vector<int>{45, 90}));
    EXPECT_EQ(GetScrollPos(window, SB_VERT), 0) << "the program sets the position";
    track.fMask = SIF_TRACKPOS;
    GetScrollInfo(window, SB_VERT, &track);
    EXPECT_EQ(track.nTrackPos, 0) << "after the drag the track position is the position";
}

TEST_F(ScrollBarTest, RangeShowsAndHidesTheBar) {
    HWND window = make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 80);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 99, 10, 0, 0};
    SetScrollInfo(window, SB_HORZ, &info, TRUE);
    EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_HSCROLL);
    info.nPage = 100;  // one page holds all: nothing to scroll
    SetScrollInfo(window, SB_HORZ, &info, TRUE);
    EXPECT_FALSE(GetWindowLongA(window, GWL_STYLE) & WS_HSCROLL);
    info.fMask |= SIF_DISABLENOSCROLL;
    SetScrollInfo(window, SB_HORZ, &info, TRUE);
    EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_HSCROLL) << "kept, disabled";
    EXPECT_FALSE(EnableScrollBar(window, SB_HORZ, ESB_DISABLE_BOTH)) << "already disabled";
    EXPECT_TRUE(SetScrollRange(window, SB_HORZ, 5, 5, TRUE));
    EXPECT_FALSE(GetWindowLongA(window, GWL_STYLE) & WS_HSCROLL) << "an empty range hides";
}

TEST_F(ScrollBarTest, ShowScrollBarReshapesTheClientAndSendsSize) {
    HWND window = make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 80);
    recorder().clear();
    ASSERT_TRUE(ShowScrollBar(window, SB_BOTH, TRUE));
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 100 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(client.bottom, 80 - GetSystemMetrics(SM_CYHSCROLL));
    const auto sizes = received(window, [](UINT m) { return m == WM_SIZE || m == WM_NCCALCSIZE; });
    ASSERT_EQ(sizes.size(), 2u);
    EXPECT_EQ(sizes[0].message, static_cast<UINT>(WM_NCCALCSIZE));
    EXPECT_EQ(sizes[1].lParam, MAKELONG(84, 64));
    recorder().clear();
    ASSERT_TRUE(ShowScrollBar(window, SB_BOTH, TRUE));
    EXPECT_TRUE(received(window, [](UINT m) { return m == WM_SIZE; }).empty()) << "no change, no WM_SIZE";
}

TEST_F(ScrollBarTest, RefusalsSayWhy) {
    winplat::testing::ScopedDebugAsserts quiet(false);
    winplat::testing::DebugCapture log;
    HWND window = make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 80);
    SCROLLINFO info{0, SIF_POS, 0, 0, 0, 0, 0};
    EXPECT_EQ(SetScrollInfo(window, SB_VERT, &info, FALSE), 0);
    EXPECT_TRUE(log.contains("cbSize"));
    info.cbSize = sizeof(info);
    HWND stale = make(WS_POPUP, 0, 0, 10, 10);
    DestroyWindow(stale);
    EXPECT_EQ(SetScrollInfo(stale, SB_CTL, &info, FALSE), 0) << "SB_CTL asks a live control";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_EQ(SetScrollInfo(window, 7, &info, FALSE), 0);
    EXPECT_TRUE(log.contains("neither SB_HORZ nor SB_VERT"));
    EXPECT_FALSE(SetScrollRange(window, SB_VERT, -2, 0x7FFFFFFF, FALSE));
    EXPECT_TRUE(log.contains("MAXLONG"));
    EXPECT_TRUE(SetScrollRange(window, SB_VERT, -1, 0x7FFFFFFE, FALSE)) << "exactly MAXLONG wide is allowed";
}

}  // namespace
}  // namespace window_test
