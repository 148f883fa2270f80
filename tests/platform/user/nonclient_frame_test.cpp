// The frame as DefWindowProc draws it: golden images of the frame styles with the test face,
// WM_NCPAINT coming with the paint of a window whose frame was uncovered or changed, and
// WM_NCACTIVATE repainting the caption in the active or inactive colours.
#include <string>
#include <vector>

#include "golden_image.h"
#include "paint_fixture.h"

namespace window_test {
namespace {

using winplat::testing::FontSource;
using winplat::testing::ScopedFontSource;

class FrameTest : public PaintTest {
  protected:
    // Shows the window, lets it paint and returns its rectangle on the screen.
    RECT settle(HWND window) {
        pump();
        RECT r{};
        GetWindowRect(window, &r);
        return r;
    }
    ScopedFontSource face_{FontSource::Test};
};

struct FrameCase {
    const char* name;
    DWORD style;
    DWORD exStyle;
    bool active;
};

class FrameGolden : public FrameTest, public ::testing::WithParamInterface<FrameCase> {};

TEST_P(FrameGolden, MatchesItsGolden) {
    const FrameCase& c = GetParam();
    const char* title = std::string(c.name).find("long") != std::string::npos
                            ? "A title far too long for the caption of so small a window"
                            : "Frame title";
    HWND window = CreateWindowExA(c.exStyle, kPaintClass, title, c.style | WS_VISIBLE, 20, 20, 160, 90,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    fills()[window] = RGB(255, 255, 255);
    if (c.active) {
        SetActiveWindow(window);
    } else {
        SetActiveWindow(nullptr);
        SendMessageA(window, WM_NCACTIVATE, FALSE, 0);
    }
    expectGolden(settle(window), std::string("frame_") + c.name);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, FrameGolden,
    ::testing::Values(FrameCase{"overlapped_active", WS_OVERLAPPEDWINDOW, 0, true},
                      FrameCase{"overlapped_inactive", WS_OVERLAPPEDWINDOW, 0, false},
                      FrameCase{"dialog", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, true},
                      FrameCase{"thick", WS_POPUP | WS_THICKFRAME, 0, true},
                      FrameCase{"border_client_edge", WS_POPUP | WS_BORDER, WS_EX_CLIENTEDGE, true},
                      FrameCase{"long_title_clipped", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, true}),
    [](const ::testing::TestParamInfo<FrameCase>& info) { return std::string(info.param.name); });

struct BarCase {
    const char* name;
    int page;
    int pos;
    bool disableNoScroll;
};

class ScrollBarGolden : public FrameTest, public ::testing::WithParamInterface<BarCase> {};

TEST_P(ScrollBarGolden, MatchesItsGolden) {
    const BarCase& c = GetParam();
    HWND window = painter(WS_POPUP | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL, 20, 20, 120, 100,
                          RGB(255, 255, 255));
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, static_cast<UINT>(c.page), c.pos, 0};
    if (c.disableNoScroll) info.fMask |= SIF_DISABLENOSCROLL;
    SetScrollInfo(window, SB_VERT, &info, TRUE);
    SetScrollInfo(window, SB_HORZ, &info, TRUE);
    expectGolden(settle(window), std::string("scrollbars_") + c.name);
}

INSTANTIATE_TEST_SUITE_P(States, ScrollBarGolden,
                         ::testing::Values(BarCase{"square_thumb_at_top", 0, 0, false},
                                           BarCase{"page_thumb_in_middle", 25, 40, false},
                                           BarCase{"page_thumb_at_end", 50, 99, false},
                                           BarCase{"disabled", 200, 0, true}),
                         [](const ::testing::TestParamInfo<BarCase>& info) { return std::string(info.param.name); });

// A pixel in the middle of the caption bar, away from the title and the buttons.
COLORREF captionPixel(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, r.right - 80, r.top + 6);
    ReleaseDC(nullptr, screen);
    return c;
}

TEST_F(FrameTest, ActivationRepaintsTheCaptionInItsColours) {
    HWND first = CreateWindowExA(0, kPaintClass, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    HWND second = CreateWindowExA(0, kPaintClass, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 10, 200, 100, nullptr,
                                  nullptr, nullptr, nullptr);
    pump();
    SetActiveWindow(first);
    EXPECT_EQ(captionPixel(first), GetSysColor(COLOR_ACTIVECAPTION));
    EXPECT_EQ(captionPixel(second), GetSysColor(COLOR_INACTIVECAPTION));
    SetActiveWindow(second);
    // No paint pumped: WM_NCACTIVATE draws at once.
    EXPECT_EQ(captionPixel(first), GetSysColor(COLOR_INACTIVECAPTION));
    EXPECT_EQ(captionPixel(second), GetSysColor(COLOR_ACTIVECAPTION));
}

std::vector<HWND>& ncPaintLog() {
    static std::vector<HWND> log;
    return log;
}

LRESULT CALLBACK countingNcPaint(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCPAINT) ncPaintLog().push_back(window);
    return paintingProcedure(window, message, wParam, lParam);
}

class NcPaintTest : public FrameTest {
  protected:
    void SetUp() override {
        FrameTest::SetUp();
        ncPaintLog().clear();
        WNDCLASSA wc{};
        wc.lpfnWndProc = countingNcPaint;
        wc.lpszClassName = "NcCounting";
        ASSERT_NE(RegisterClassA(&wc), 0);
    }
    HWND framed(DWORD style) {
        return CreateWindowExA(0, "NcCounting", "", style, 50, 50, 200, 120, nullptr, nullptr, nullptr, nullptr);
    }
    size_t ncPaints(HWND window) {
        size_t n = 0;
        for (HWND w : ncPaintLog()) n += w == window ? 1 : 0;
        return n;
    }
};

TEST_F(NcPaintTest, ComesWhenTheFrameIsShownChangedOrUncovered) {
    HWND window = framed(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    pump();
    EXPECT_EQ(ncPaints(window), 1u) << "shown";
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    pump();
    EXPECT_EQ(ncPaints(window), 2u) << "RDW_FRAME";
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    pump();
    EXPECT_EQ(ncPaints(window), 3u) << "SWP_FRAMECHANGED";
    // A window over the caption only, then gone: the frame is drawn again.
    HWND cover = CreateWindowExA(0, kPaintClass, "", WS_POPUP | WS_VISIBLE, 60, 52, 40, 10, nullptr, nullptr, nullptr,
                                 nullptr);
    pump();
    DestroyWindow(cover);
    pump();
    EXPECT_EQ(ncPaints(window), 4u) << "uncovered";
}

TEST_F(NcPaintTest, NeverComesToAWindowWithoutAFrame) {
    HWND window = framed(WS_POPUP | WS_VISIBLE);
    pump();
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    pump();
    EXPECT_EQ(ncPaints(window), 0u);
}

TEST(EdgeCalls, RefuseWhatTheyCannotDraw) {
    winplat::testing::ScopedDebugAsserts quiet(false);
    winplat::testing::DebugCapture log;
    RECT r{0, 0, 10, 10};
    HDC screen = GetDC(nullptr);
    EXPECT_FALSE(DrawEdge(screen, nullptr, EDGE_RAISED, BF_RECT));
    EXPECT_FALSE(DrawEdge(screen, &r, EDGE_RAISED, BF_RECT | BF_MONO));
    EXPECT_TRUE(log.contains("flags"));
    EXPECT_FALSE(DrawFrameControl(screen, &r, DFC_CAPTION, 4));
    EXPECT_FALSE(DrawFrameControl(screen, &r, 2, 0));
    EXPECT_TRUE(DrawFrameControl(screen, &r, DFC_SCROLL, DFCS_SCROLLUP | DFCS_PUSHED));
    ReleaseDC(nullptr, screen);
}

TEST_F(FrameTest, DrawEdgeDrawsTheRingsInTheirColoursAndAdjusts) {
    HDC screen = GetDC(nullptr);
    RECT r{100, 100, 110, 108};
    ASSERT_TRUE(DrawEdge(screen, &r, EDGE_RAISED, BF_RECT | BF_ADJUST | BF_MIDDLE));
    EXPECT_EQ(r.left, 102);
    EXPECT_EQ(r.top, 102);
    EXPECT_EQ(r.right, 108);
    EXPECT_EQ(r.bottom, 106);
    EXPECT_EQ(GetPixel(screen, 100, 100), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(GetPixel(screen, 109, 107), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(GetPixel(screen, 101, 101), GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(GetPixel(screen, 108, 106), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(GetPixel(screen, 104, 104), GetSysColor(COLOR_BTNFACE));
    ReleaseDC(nullptr, screen);
}

}  // namespace
}  // namespace window_test
