// The trackbar: its numbers and ticks through TBM_ messages, what the keys and the mouse tell
// the parent, and its drawing in each style.
#include <string>
#include <vector>

#include "controls_fixture.h"

namespace controls_test {
namespace {

using winplat::host::MouseButton;

HWND makeTrackbar(HWND parent, DWORD style, int x = 10, int y = 10, int width = 200, int height = 30) {
    return makeChild(parent, TRACKBAR_CLASSA, style, x, y, width, height);
}

LRESULT send(HWND bar, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(bar, message, wParam, lParam);
}

TEST(Trackbar, KeepsPositionAndSelectionInItsRange) {
    Harness h(smallScreen());
    HWND bar = makeTrackbar(makeParent(h), 0);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(send(bar, TBM_GETRANGEMIN), 0);
    EXPECT_EQ(send(bar, TBM_GETRANGEMAX), 100);
    EXPECT_EQ(send(bar, TBM_GETPAGESIZE), 20) << "a fifth of the range";
    EXPECT_EQ(send(bar, TBM_GETLINESIZE), 1);
    send(bar, TBM_SETPOS, TRUE, 101);
    EXPECT_EQ(send(bar, TBM_GETPOS), 100);
    send(bar, TBM_SETRANGE, TRUE, MAKELONG(static_cast<WORD>(-50), 40));
    EXPECT_EQ(send(bar, TBM_GETRANGEMIN), -50) << "the halves are signed";
    EXPECT_EQ(send(bar, TBM_GETPOS), 40) << "moved into the new range";
    EXPECT_EQ(send(bar, TBM_GETPAGESIZE), 18) << "the default page follows the range";
    send(bar, TBM_SETRANGEMAX, FALSE, -60);
    EXPECT_EQ(send(bar, TBM_GETRANGEMAX), -50) << "a maximum below the minimum is the minimum";
    EXPECT_EQ(send(bar, TBM_GETPOS), -50);
    send(bar, TBM_SETRANGEMAX, FALSE, 1000);
    send(bar, TBM_SETRANGEMIN, FALSE, 0);
    EXPECT_EQ(send(bar, TBM_SETPAGESIZE, 0, 7), 200);
    EXPECT_EQ(send(bar, TBM_GETPAGESIZE), 7);
    EXPECT_EQ(send(bar, TBM_SETLINESIZE, 0, 3), 1);
    EXPECT_EQ(send(bar, TBM_GETLINESIZE), 3);
    send(bar, TBM_SETSEL, FALSE, MAKELONG(100, 2000));
    EXPECT_EQ(send(bar, TBM_GETSELSTART), 100);
    EXPECT_EQ(send(bar, TBM_GETSELEND), 1000);
    send(bar, TBM_CLEARSEL, FALSE);
    EXPECT_EQ(send(bar, TBM_GETSELEND), 0);
    EXPECT_EQ(send(bar, WM_GETDLGCODE), DLGC_WANTARROWS);
}

TEST(Trackbar, CountsTheTicksOfEachStyle) {
    const struct {
        const char* name;
        DWORD style;
        int frequency;             // TBM_SETTICFREQ, 0 for none sent
        std::vector<int> setTics;  // TBM_SETTIC each
        bool clear;                // TBM_CLEARTICS at the end
        int count;
        std::vector<int> inner;  // TBM_GETTIC 0, 1, ... until -1
    } cases[] = {
        {"no tick style: the first and the last", 0, 0, {}, false, 2, {}},
        {"TBS_NOTICKS: none", TBS_NOTICKS, 0, {}, false, 0, {}},
        {"a frequency without TBS_AUTOTICKS does nothing", 0, 10, {}, false, 2, {}},
        {"automatic every 25", TBS_AUTOTICKS, 25, {}, false, 5, {25, 50, 75}},
        {"automatic every 30 stops before the last", TBS_AUTOTICKS, 30, {}, false, 5, {30, 60, 90}},
        {"set ticks, one twice, sorted", 0, 0, {70, 10, 70}, false, 4, {10, 70}},
        {"set and automatic ticks merge", TBS_AUTOTICKS, 50, {50, 20}, false, 4, {20, 50}},
        {"cleared", TBS_AUTOTICKS, 25, {10}, true, 2, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h(smallScreen());
        HWND bar = makeTrackbar(makeParent(h), c.style);
        if (c.frequency) send(bar, TBM_SETTICFREQ, static_cast<WPARAM>(c.frequency));
        for (int tic : c.setTics) EXPECT_TRUE(send(bar, TBM_SETTIC, 0, tic));
        if (c.clear) send(bar, TBM_CLEARTICS, TRUE);
        EXPECT_EQ(send(bar, TBM_GETNUMTICS), c.count);
        std::vector<int> inner;
        for (WPARAM i = 0; i < 200; ++i) {
            const LRESULT tic = send(bar, TBM_GETTIC, i);
            if (tic == -1) break;
            inner.push_back(static_cast<int>(tic));
        }
        EXPECT_EQ(inner, c.inner);
    }
    Harness h(smallScreen());
    HWND bar = makeTrackbar(makeParent(h), 0);
    EXPECT_FALSE(send(bar, TBM_SETTIC, 0, 101)) << "outside the range";
    EXPECT_FALSE(send(bar, TBM_SETTIC, 0, -1));
    EXPECT_TRUE(send(bar, TBM_SETTIC, 0, 100)) << "the last position is inside";
}

// A 200 x 30 trackbar at (10, 10) of range 0 .. 100 at 50: the channel runs from client x 8 to
// 191 (183 pixels), so 50 stands at x 8 + 91 = 99, screen x 109; the thumb is 11 wide and 21
// high from client y 2 (screen 12 .. 33).
constexpr POINT kThumb{109, 22};

struct Press {
    POINT from;
    POINT to;
    uint64_t holdMs;  // held this long before the release
};

TEST(Trackbar, KeysAndTheMouseTellTheParent) {
    const struct {
        const char* name;
        DWORD style;
        std::vector<UINT> keys;
        std::vector<Press> presses;
        std::vector<std::string> told;
        int pos;
    } cases[] = {
        {"Right", 0, {VK_RIGHT}, {}, {"1", "8"}, 51},
        {"Left", 0, {VK_LEFT}, {}, {"0", "8"}, 49},
        {"Up on a horizontal bar goes down", 0, {VK_UP}, {}, {"0", "8"}, 49},
        {"Page Down", 0, {VK_NEXT}, {}, {"3", "8"}, 70},
        {"Page Up twice", 0, {VK_PRIOR, VK_PRIOR}, {}, {"2", "8", "2", "8"}, 10},
        {"Page Up past the start", 0, {VK_PRIOR, VK_PRIOR, VK_PRIOR}, {}, {"2", "8", "2", "8", "2", "8"}, 0},
        {"Home", 0, {VK_HOME}, {}, {"6", "8"}, 0},
        {"End", 0, {VK_END}, {}, {"7", "8"}, 100},
        {"a letter does nothing", 0, {'A'}, {}, {}, 50},
        {"the thumb dragged", 0, {}, {{kThumb, {kThumb.x + 46, kThumb.y}, 0}}, {"5 75", "4 75", "8"}, 75},
        {"the thumb dragged off the end", 0, {}, {{kThumb, {400, 60}, 0}}, {"5 100", "4 100", "8"}, 100},
        {"the thumb pressed and let go", 0, {}, {{kThumb, kThumb, 0}}, {"4 50", "8"}, 50},
        {"a press right of the thumb pages once", 0, {}, {{{150, 22}, {150, 22}, 0}}, {"3", "8"}, 70},
        {"held, it pages until the thumb reaches the pointer",
         0,
         {},
         {{{30, 22}, {30, 22}, 1000}},
         {"2", "2", "2", "8"},
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h(smallScreen());
        HWND parent = makeParent(h);
        HWND bar = makeTrackbar(parent, c.style);
        send(bar, TBM_SETPOS, TRUE, 50);
        h.pump();
        if (!c.keys.empty()) SetFocus(bar);
        for (UINT key : c.keys) h.key(key);
        for (const Press& p : c.presses) {
            winplat::testing::mouseMove(p.from.x, p.from.y);
            winplat::testing::mouseButton(MouseButton::Left, true);
            h.pump();
            if (p.holdMs) h.advance(p.holdMs);
            winplat::testing::mouseMove(p.to.x, p.to.y);
            winplat::testing::mouseButton(MouseButton::Left, false);
            h.pump();
        }
        EXPECT_EQ(scrollsFrom(h, parent, bar), c.told);
        EXPECT_EQ(send(bar, TBM_GETPOS), c.pos);
        EXPECT_EQ(h.capture(), nullptr);
        EXPECT_TRUE(h.timers().empty()) << "no paging timer is left";
    }
}

TEST(Trackbar, AVerticalBarTellsWithVScroll) {
    Harness h(smallScreen());
    HWND parent = makeParent(h);
    HWND bar = makeTrackbar(parent, TBS_VERT, 10, 10, 30, 200);
    SetFocus(bar);
    h.key(VK_DOWN);
    std::vector<UINT> kinds;
    for (const auto& m : h.messages(parent)) {
        if (m.message == WM_HSCROLL || m.message == WM_VSCROLL) kinds.push_back(m.message);
    }
    EXPECT_EQ(kinds, (std::vector<UINT>{WM_VSCROLL, WM_VSCROLL}));
    EXPECT_EQ(send(bar, TBM_GETPOS), 1);
    RECT thumb{};
    send(bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    EXPECT_EQ(thumb.top, 8 + 183 / 100 - 5) << "the minimum at the top, one position down";
    EXPECT_EQ(thumb.right - thumb.left, 21);
}

TEST(Trackbar, DrawnInEachStyle) {
    Harness h(smallScreen());
    HWND parent = makeParent(h);
    const struct {
        DWORD style;
        RECT at;
    } bars[] = {
        {TBS_AUTOTICKS, {10, 10, 150, 40}},
        {TBS_AUTOTICKS | TBS_TOP, {10, 45, 150, 75}},
        {TBS_AUTOTICKS | TBS_BOTH, {10, 80, 150, 120}},
        {TBS_NOTICKS | TBS_ENABLESELRANGE, {10, 125, 150, 155}},
        {TBS_VERT | TBS_AUTOTICKS, {160, 10, 190, 150}},
        {TBS_VERT | TBS_LEFT | TBS_AUTOTICKS, {195, 10, 225, 150}},
    };
    for (const auto& b : bars) {
        HWND bar = makeTrackbar(parent, b.style, b.at.left, b.at.top, b.at.right - b.at.left,
                                b.at.bottom - b.at.top);
        send(bar, TBM_SETTICFREQ, 10);
        send(bar, TBM_SETPOS, TRUE, 30);
        send(bar, TBM_SETSEL, TRUE, MAKELONG(20, 60));
    }
    SetFocus(GetWindow(parent, GW_CHILD));  // the first, with its focus rectangle
    h.pump();
    h.expectImage(winplat::test::crop(h.screenshot(), {0, 0, 235, 165}), "trackbar_styles");
}

}  // namespace
}  // namespace controls_test
