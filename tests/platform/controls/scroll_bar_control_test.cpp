// The SCROLLBAR control: its numbers through SBM_ messages, WM_HSCROLL/WM_VSCROLL to the parent
// from the mouse and the keys, and its drawing.
#include <string>
#include <vector>

#include "controls_fixture.h"

namespace controls_test {
namespace {

TEST(ScrollBarControl, StartsEmptyAndKeepsItsNumbersInRange) {
    Harness h(smallScreen());
    HWND parent = makeParent(h);
    HWND bar = makeChild(parent, "SCROLLBAR", SBS_VERT, 10, 10, 16, 100);
    ASSERT_NE(bar, nullptr);
    int min = -1;
    int max = -1;
    SendMessageA(bar, SBM_GETRANGE, reinterpret_cast<WPARAM>(&min), reinterpret_cast<LPARAM>(&max));
    EXPECT_EQ(min, 0);
    EXPECT_EQ(max, 0);
    EXPECT_EQ(SendMessageA(bar, SBM_SETPOS, 5, TRUE), 0) << "the previous position";
    EXPECT_EQ(SendMessageA(bar, SBM_GETPOS, 0, 0), 0) << "an empty range holds only 0";
    EXPECT_EQ(SendMessageA(bar, SBM_SETRANGE, 10, 60), 0);
    EXPECT_EQ(SendMessageA(bar, SBM_GETPOS, 0, 0), 10) << "moved into the new range";
    EXPECT_EQ(SendMessageA(bar, SBM_SETPOS, 61, FALSE), 10);
    EXPECT_EQ(SendMessageA(bar, SBM_GETPOS, 0, 0), 60);
    SCROLLINFO set{sizeof(SCROLLINFO), SIF_PAGE | SIF_POS, 0, 0, 11, 60, 0};
    EXPECT_EQ(SendMessageA(bar, SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&set)), 50)
        << "max - (page - 1)";
    SCROLLINFO got{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(SendMessageA(bar, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&got)));
    EXPECT_EQ(got.nMin, 10);
    EXPECT_EQ(got.nMax, 60);
    EXPECT_EQ(got.nPage, 11u);
    EXPECT_EQ(got.nPos, 50);
    EXPECT_EQ(SendMessageA(bar, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);

    const winplat::testing::DebugCapture debug;
    SCROLLINFO wrong{sizeof(SCROLLINFO) + 1, SIF_POS, 0, 0, 0, 20, 0};
    EXPECT_EQ(SendMessageA(bar, SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&wrong)), 0);
    EXPECT_EQ(SendMessageA(bar, SBM_GETPOS, 0, 0), 50);
    EXPECT_TRUE(debug.contains("cbSize")) << debug.text();
}

// A vertical bar at (10, 10), 16 x 100: arrows 16 high, a track of 68, range 0 .. 100 at 0 with
// no page, so the square thumb (16) travels 52 pixels.
TEST(ScrollBarControl, TheMouseAndTheKeysTellTheParent) {
    const struct {
        const char* name;
        std::vector<std::pair<POINT, POINT>> drags;  // a press and its release point
        std::vector<UINT> keys;
        std::vector<std::string> told;
    } cases[] = {
        {"the down arrow", {{{18, 100}, {18, 100}}}, {}, {"1", "8"}},
        {"the up arrow", {{{18, 15}, {18, 15}}}, {}, {"0", "8"}},
        {"the page below the thumb", {{{18, 60}, {18, 60}}}, {}, {"3", "8"}},
        {"the thumb dragged half way", {{{18, 34}, {18, 60}}}, {}, {"5 50", "4 50", "8"}},
        {"the thumb dragged past the end", {{{18, 34}, {18, 200}}}, {}, {"5 100", "4 100", "8"}},
        {"keys", {}, {VK_DOWN, VK_PRIOR, VK_END}, {"1", "8", "2", "8", "7", "8"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h(smallScreen());
        HWND parent = makeParent(h);
        HWND bar = makeChild(parent, "SCROLLBAR", SBS_VERT | WS_TABSTOP, 10, 10, 16, 100);
        SendMessageA(bar, SBM_SETRANGE, 0, 100);
        h.pump();
        for (const auto& [from, to] : c.drags) dragNow(h, from, to);
        if (!c.keys.empty()) SetFocus(bar);
        for (UINT key : c.keys) h.key(key);
        EXPECT_EQ(scrollsFrom(h, parent, bar), c.told);
        EXPECT_EQ(h.capture(), nullptr);
    }
}

TEST(ScrollBarControl, SetScrollInfoReachesTheControlThroughSbCtl) {
    Harness h(smallScreen());
    HWND parent = makeParent(h);
    HWND bar = makeChild(parent, "SCROLLBAR", SBS_HORZ, 10, 10, 100, 16);
    SCROLLINFO set{sizeof(SCROLLINFO), SIF_RANGE | SIF_POS, 0, 20, 0, 7, 0};
    EXPECT_EQ(SetScrollInfo(bar, SB_CTL, &set, TRUE), 7);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 7);
    EXPECT_EQ(SetScrollPos(bar, SB_CTL, 30, TRUE), 7);
    EXPECT_EQ(SendMessageA(bar, SBM_GETPOS, 0, 0), 20);
    int min = -1;
    int max = -1;
    ASSERT_TRUE(GetScrollRange(bar, SB_CTL, &min, &max));
    EXPECT_EQ(max, 20);
}

TEST(ScrollBarControl, DrawnAsAWindowBar) {
    Harness h(smallScreen());
    HWND parent = makeParent(h);
    HWND vertical = makeChild(parent, "SCROLLBAR", SBS_VERT, 10, 10, 16, 100);
    HWND horizontal = makeChild(parent, "SCROLLBAR", SBS_HORZ, 40, 10, 120, 16);
    HWND disabled = makeChild(parent, "SCROLLBAR", SBS_HORZ | WS_DISABLED, 40, 40, 120, 16);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 25, 40, 0};
    for (HWND bar : {vertical, horizontal, disabled})
        SendMessageA(bar, SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&info));
    h.pump();
    h.expectImage(winplat::test::crop(h.screenshot(), {0, 0, 170, 120}), "scroll_bar_control");
}

}  // namespace
}  // namespace controls_test
