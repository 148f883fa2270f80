// Update regions and WM_PAINT: what gets repainted, in which order, with which PAINTSTRUCT.
#include "paint_fixture.h"

namespace window_test {
namespace {

using PaintUpdateTest = PaintTest;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);

TEST_F(PaintUpdateTest, OverlappingWindowsRepaintOnlyTheirUpdateRegions) {
    HWND below = painter(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, kRed);
    HWND above = painter(WS_POPUP | WS_VISIBLE, 50, 50, 100, 100, kBlue);
    pump();
    ASSERT_EQ(at(20, 20), kRed);
    ASSERT_EQ(at(60, 60), kBlue);
    paints().clear();

    fills()[below] = kGreen;
    const RECT part{10, 10, 20, 20};
    InvalidateRect(below, &part, FALSE);
    pump();
    ASSERT_EQ(paints().size(), 1u);
    EXPECT_EQ(paints()[0].window, below);
    EXPECT_TRUE(sameRect(paints()[0].rcPaint, part));
    EXPECT_EQ(at(15, 15), kGreen);
    EXPECT_EQ(at(9, 9), kRed) << "outside the update region nothing is repainted";
    EXPECT_EQ(at(20, 20), kRed);

    // The whole client area is invalid, but the window above keeps its pixels.
    paints().clear();
    InvalidateRect(below, nullptr, FALSE);
    pump();
    ASSERT_EQ(paints().size(), 1u);
    EXPECT_TRUE(sameRect(paints()[0].rcPaint, RECT{0, 0, 100, 100}));
    EXPECT_EQ(at(40, 40), kGreen);
    EXPECT_EQ(at(60, 60), kBlue);
    EXPECT_EQ(paints()[0].window, below);
    (void)above;
}

TEST_F(PaintUpdateTest, InvalidateAndValidateKeepTheUpdateRegion) {
    HWND window = painter(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, kRed);
    pump();
    RECT box{};
    EXPECT_FALSE(GetUpdateRect(window, &box, FALSE));
    const RECT a{10, 10, 30, 30};
    const RECT b{50, 40, 60, 90};
    InvalidateRect(window, &a, FALSE);
    InvalidateRect(window, &b, FALSE);
    ASSERT_TRUE(GetUpdateRect(window, &box, FALSE));
    EXPECT_TRUE(sameRect(box, RECT{10, 10, 60, 90}));
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetUpdateRgn(window, update, FALSE), COMPLEXREGION);
    HRGN expected = regionOf({a, b});
    EXPECT_TRUE(EqualRgn(update, expected));
    // A rectangle beyond the client area is cut to it.
    const RECT beyond{90, 90, 300, 300};
    InvalidateRect(window, &beyond, FALSE);
    GetUpdateRect(window, &box, FALSE);
    EXPECT_EQ(box.right, 100);
    EXPECT_EQ(box.bottom, 100);
    ValidateRect(window, nullptr);
    EXPECT_FALSE(GetUpdateRect(window, &box, FALSE));
    EXPECT_EQ(GetUpdateRgn(window, update, FALSE), NULLREGION);
    DeleteObject(update);
    DeleteObject(expected);
}

TEST_F(PaintUpdateTest, HiddenWindowsTakeNoUpdateAndGetNoPaint) {
    HWND window = painter(WS_POPUP, 0, 0, 50, 50, kRed);
    InvalidateRect(window, nullptr, TRUE);
    RECT box{};
    EXPECT_FALSE(GetUpdateRect(window, &box, FALSE));
    pump();
    EXPECT_TRUE(paints().empty());
}

struct ChildCase {
    const char* name;
    DWORD parentStyle;
    UINT redrawFlags;   // 0: InvalidateRect
    bool childInvalid;
};

class ChildInvalidation : public PaintTest, public ::testing::WithParamInterface<ChildCase> {};

TEST_P(ChildInvalidation, ReachesChildrenAsTheStyleAndFlagsSay) {
    const ChildCase& c = GetParam();
    HWND parent = painter(WS_POPUP | WS_VISIBLE | c.parentStyle, 0, 0, 100, 100, kRed);
    HWND child = painter(WS_CHILD | WS_VISIBLE, 10, 10, 30, 30, kBlue, parent);
    pump();
    if (c.redrawFlags) {
        RedrawWindow(parent, nullptr, nullptr, c.redrawFlags);
    } else {
        InvalidateRect(parent, nullptr, TRUE);
    }
    RECT box{};
    EXPECT_EQ(GetUpdateRect(child, &box, FALSE) != FALSE, c.childInvalid);
    if (c.childInvalid) {
        EXPECT_TRUE(sameRect(box, RECT{0, 0, 30, 30}));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ChildInvalidation,
                         ::testing::Values(ChildCase{"plainParent", 0, 0, true},
                                           ChildCase{"clipChildren", WS_CLIPCHILDREN, 0, false},
                                           ChildCase{"allChildren", WS_CLIPCHILDREN, RDW_INVALIDATE | RDW_ALLCHILDREN, true},
                                           ChildCase{"noChildren", 0, RDW_INVALIDATE | RDW_NOCHILDREN, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PaintUpdateTest, ClipChildrenKeepsTheParentsPaintOffItsChildren) {
    for (const DWORD style : {DWORD{WS_CLIPCHILDREN}, DWORD{0}}) {
        HWND parent = painter(WS_POPUP | WS_VISIBLE | style, 0, 0, 100, 100, kRed);
        HWND child = painter(WS_CHILD | WS_VISIBLE, 10, 10, 30, 30, kBlue, parent);
        pump();
        paints().clear();
        fills()[parent] = kGreen;
        InvalidateRect(parent, nullptr, FALSE);
        pump();
        EXPECT_EQ(at(50, 50), kGreen);
        // With clip-children only the parent repaints and the child keeps its pixels; without it
        // the child repaints after its parent, over it.
        EXPECT_EQ(at(20, 20), kBlue) << "style " << style;
        std::vector<HWND> order;
        for (const PaintRecord& p : paints()) order.push_back(p.window);
        const std::vector<HWND> expected = style ? std::vector<HWND>{parent} : std::vector<HWND>{parent, child};
        EXPECT_EQ(order, expected) << "style " << style;
        DestroyWindow(parent);
    }
}

TEST_F(PaintUpdateTest, PaintComesAfterPostedMessagesAndBeforeTimers) {
    HWND window = painter(WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, kRed);
    pump();
    SetTimer(window, 1, 10, nullptr);
    clock_.advance(20);
    InvalidateRect(window, nullptr, FALSE);
    PostMessageA(window, WM_USER + 1, 0, 0);
    std::vector<UINT> order;
    MSG msg{};
    for (int i = 0; i < 3 && GetMessageA(&msg, nullptr, 0, 0); ++i) {
        order.push_back(msg.message);
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER + 1, WM_PAINT, WM_TIMER}));
}

TEST_F(PaintUpdateTest, AWindowThatNeverValidatesDoesNotMakeTheLoopSpin) {
    HWND window = make(WS_POPUP | WS_VISIBLE, 0, 0, 40, 40);
    int painted = 0;
    recorder().handlers[window] = [&](HWND, UINT message, WPARAM, LPARAM, bool& handled) -> LRESULT {
        if (message != WM_PAINT) return 0;
        ++painted;
        handled = true;  // and no BeginPaint
        return 0;
    };
    InvalidateRect(window, nullptr, TRUE);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_PAINT);
    DispatchMessageA(&msg);
    EXPECT_EQ(painted, 1);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "the window was validated after its WM_PAINT";
    RECT box{};
    EXPECT_FALSE(GetUpdateRect(window, &box, FALSE));
}

TEST_F(PaintUpdateTest, UpdateWindowPaintsAtOnceOnlyWhenInvalid) {
    HWND window = painter(WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, kRed);
    UpdateWindow(window);
    ASSERT_EQ(paints().size(), 1u);
    EXPECT_EQ(at(5, 5), kRed);
    UpdateWindow(window);
    EXPECT_EQ(paints().size(), 1u) << "a valid window gets no WM_PAINT";
    MSG msg{};
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

TEST_F(PaintUpdateTest, RedrawWindowInternalPaintAndUpdateNow) {
    HWND window = painter(WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, kRed);
    pump();
    paints().clear();
    RedrawWindow(window, nullptr, nullptr, RDW_INTERNALPAINT);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_PAINT);
    pump();
    ASSERT_EQ(paints().size(), 1u);
    EXPECT_TRUE(sameRect(paints()[0].rcPaint, RECT{0, 0, 0, 0})) << "nothing invalid, a paint all the same";
    const RECT part{0, 0, 5, 5};
    RedrawWindow(window, &part, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_EQ(paints().size(), 2u) << "RDW_UPDATENOW paints before returning";
    EXPECT_TRUE(sameRect(paints()[1].rcPaint, part));
}

// WM_ERASEBKGND: DefWindowProc fills with the class brush, a brush or a system colour + 1.
TEST_F(PaintUpdateTest, EraseFillsWithTheClassBrush) {
    HBRUSH solid = CreateSolidBrush(RGB(12, 34, 56));
    const struct {
        const char* name;
        HBRUSH brush;
        COLORREF expected;
    } cases[] = {{"SysBtnFace", reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), GetSysColor(COLOR_BTNFACE)},
                 {"SysWindow", reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), RGB(255, 255, 255)},
                 {"Solid", solid, RGB(12, 34, 56)}};
    int x = 0;
    for (const auto& c : cases) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = paintingProcedure;
        wc.lpszClassName = c.name;
        wc.hbrBackground = c.brush;
        ASSERT_NE(RegisterClassA(&wc), 0);
        HWND window = CreateWindowExA(0, c.name, "", WS_POPUP | WS_VISIBLE, x, 0, 20, 20, nullptr, nullptr, nullptr,
                                      nullptr);
        pump();
        EXPECT_EQ(at(x + 5, 5), c.expected) << c.name;
        ASSERT_FALSE(paints().empty());
        EXPECT_FALSE(paints().back().fErase) << c.name << ": the background was erased";
        EXPECT_EQ(paints().back().window, window);
        x += 30;
    }
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(192, 192, 192));
    EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), RGB(0, 128, 128));
    DeleteObject(solid);
}

TEST_F(PaintUpdateTest, WithoutAClassBrushTheCallerMustErase) {
    HWND window = painter(WS_POPUP | WS_VISIBLE, 0, 0, 20, 20, kRed);
    pump();
    ASSERT_EQ(paints().size(), 1u);
    EXPECT_TRUE(paints()[0].fErase);
    paints().clear();
    InvalidateRect(window, nullptr, FALSE);
    pump();
    ASSERT_EQ(paints().size(), 1u);
    EXPECT_FALSE(paints()[0].fErase) << "no erase was asked for";
}

TEST_F(PaintUpdateTest, TheDesktopShowsTheBackgroundColour) {
    EXPECT_EQ(at(500, 400), GetSysColor(COLOR_BACKGROUND));
    HWND window = painter(WS_POPUP | WS_VISIBLE, 490, 390, 20, 20, kRed);
    pump();
    EXPECT_EQ(at(500, 400), kRed);
    DestroyWindow(window);
    pump();
    EXPECT_EQ(at(500, 400), GetSysColor(COLOR_BACKGROUND));
}

TEST_F(PaintUpdateTest, SystemColourBrushesSurviveDeleteObject) {
    HBRUSH brush = GetSysColorBrush(COLOR_WINDOW);
    ASSERT_NE(brush, nullptr);
    DeleteObject(brush);
    EXPECT_EQ(GetSysColorBrush(COLOR_WINDOW), brush);
    EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(GetSysColor(25), 0u) << "25 is not a colour";
    EXPECT_EQ(GetSysColorBrush(COLOR_GRADIENTINACTIVECAPTION + 1), nullptr);
}

}  // namespace
}  // namespace window_test
