// ScrollWindowEx: the pixels move, exactly the uncovered part is left to repaint, and repainting
// it gives what a full repaint at the new scroll position gives.
#include "paint_fixture.h"

namespace window_test {
namespace {

constexpr int kCell = 8;

// A demo window: 8 x 8 cells of a colour made from the cell's place in the content, drawn from
// the window's scroll position.
POINT& scrollOf(HWND window) {
    static std::map<HWND, POINT> positions;
    return positions[window];
}

COLORREF cellColour(int column, int row) {
    return RGB((column * 37 + row * 11) & 0xFF, (row * 53 + 7) & 0xFF, ((column + row) * 29) & 0xFF);
}

LRESULT CALLBACK demoProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(window, &ps);
    paints().push_back({window, ps.rcPaint, ps.fErase});
    const POINT scroll = scrollOf(window);
    const RECT& r = ps.rcPaint;
    const int firstColumn = (r.left + scroll.x) / kCell - 1;
    const int firstRow = (r.top + scroll.y) / kCell - 1;
    for (int row = firstRow; row * kCell - scroll.y < r.bottom; ++row) {
        for (int column = firstColumn; column * kCell - scroll.x < r.right; ++column) {
            const RECT cell{column * kCell - scroll.x, row * kCell - scroll.y, (column + 1) * kCell - scroll.x,
                            (row + 1) * kCell - scroll.y};
            HBRUSH brush = CreateSolidBrush(cellColour(column + 16, row + 16));
            FillRect(dc, &cell, brush);
            DeleteObject(brush);
        }
    }
    EndPaint(window, &ps);
    return 0;
}

class ScrollTest : public PaintTest {
protected:
    void SetUp() override {
        PaintTest::SetUp();
        WNDCLASSA wc{};
        wc.lpfnWndProc = demoProcedure;
        wc.lpszClassName = "ScrollDemo";
        ASSERT_NE(RegisterClassA(&wc), 0);
        demo_ = CreateWindowExA(0, "ScrollDemo", "", WS_POPUP | WS_VISIBLE, 20, 20, 96, 80, nullptr, nullptr,
                                nullptr, nullptr);
        scrollOf(demo_) = POINT{0, 0};
        pump();
        paints().clear();
    }

    // Scrolls the content by (dx, dy) as a program does; returns the kind and the update box.
    int scrollBy(int dx, int dy, RECT& box, HRGN update) {
        scrollOf(demo_).x += dx;
        scrollOf(demo_).y += dy;
        return ScrollWindowEx(demo_, -dx, -dy, nullptr, nullptr, update, &box, SW_INVALIDATE | SW_ERASE);
    }

    // The demo's pixels after a full repaint at the current position.
    std::vector<COLORREF> fullRepaint() {
        InvalidateRect(demo_, nullptr, TRUE);
        pump();
        return capture(kArea);
    }

    static constexpr RECT kArea{20, 20, 116, 100};
    HWND demo_ = nullptr;
};

struct ScrollCase {
    const char* name;
    int dx, dy;
    int kind;
    std::vector<RECT> strip;
};

class ScrollStrip : public ScrollTest, public ::testing::WithParamInterface<ScrollCase> {};

TEST_P(ScrollStrip, MovesPixelsAndInvalidatesOnlyTheStrip) {
    const ScrollCase& c = GetParam();
    RECT box{};
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(scrollBy(c.dx, c.dy, box, update), c.kind);
    HRGN expected = regionOf(c.strip);
    EXPECT_TRUE(EqualRgn(update, expected)) << "the region given back";
    HRGN invalid = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(demo_, invalid, FALSE);
    EXPECT_TRUE(EqualRgn(invalid, expected)) << "the update region";
    RECT expectedBox{};
    GetRgnBox(expected, &expectedBox);
    EXPECT_TRUE(sameRect(box, expectedBox));
    pump();
    ASSERT_EQ(paints().size(), 1u);
    EXPECT_TRUE(sameRect(paints()[0].rcPaint, expectedBox));
    const std::vector<COLORREF> scrolled = capture(kArea);
    EXPECT_EQ(scrolled, fullRepaint());
    for (HRGN r : {update, expected, invalid}) DeleteObject(r);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScrollStrip,
    ::testing::Values(ScrollCase{"down13", 0, 13, SIMPLEREGION, {{0, 67, 96, 80}}},
                      ScrollCase{"up5", 0, -5, SIMPLEREGION, {{0, 0, 96, 5}}},
                      ScrollCase{"right7", 7, 0, SIMPLEREGION, {{89, 0, 96, 80}}},
                      ScrollCase{"diagonal", -6, 9, COMPLEXREGION, {{0, 0, 6, 80}, {0, 71, 96, 80}}},
                      ScrollCase{"beyondTheWindow", 0, 200, SIMPLEREGION, {{0, 0, 96, 80}}}),
    [](const auto& info) { return std::string(info.param.name); });

// A window over part of the demo: what it covered comes into view when scrolled, and is repainted.
TEST_F(ScrollTest, PartsCoveredBeforeTheScrollAreRepainted) {
    HWND cover = painter(WS_POPUP | WS_VISIBLE, 60, 70, 30, 20, RGB(255, 255, 255));  // demo (40, 50)-(70, 70)
    pump();
    paints().clear();
    RECT box{};
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    scrollBy(0, 16, box, update);
    // The bottom strip, and what the cover hid 16 rows lower, which now shows above the cover.
    HRGN expected = regionOf({{0, 64, 96, 80}, {40, 34, 70, 50}});
    HRGN visibleExpected = CreateRectRgn(0, 0, 0, 0);
    HRGN coverArea = CreateRectRgn(40, 50, 70, 70);
    CombineRgn(visibleExpected, expected, coverArea, RGN_DIFF);
    EXPECT_TRUE(EqualRgn(update, visibleExpected));
    pump();
    const std::vector<COLORREF> scrolled = capture(kArea);
    EXPECT_EQ(scrolled, fullRepaint());
    for (HRGN r : {update, expected, visibleExpected, coverArea}) DeleteObject(r);
    (void)cover;
}

TEST_F(ScrollTest, ScrollWindowMovesChildrenAlong) {
    HWND child = painter(WS_CHILD | WS_VISIBLE, 10, 10, 8, 8, RGB(1, 2, 3), demo_);
    pump();
    ASSERT_TRUE(ScrollWindow(demo_, 0, -4, nullptr, nullptr));
    RECT rect{};
    GetWindowRect(child, &rect);
    EXPECT_EQ(rect.top, 20 + 6);
    const RECT part{0, 0, 96, 40};
    ScrollWindow(demo_, 0, -4, &part, nullptr);
    GetWindowRect(child, &rect);
    EXPECT_EQ(rect.top, 20 + 6) << "with a scroll rectangle children stay";
}

TEST_F(ScrollTest, TheUpdateRegionMovesWithThePixels) {
    const RECT part{10, 10, 20, 20};
    InvalidateRect(demo_, &part, FALSE);
    RECT box{};
    ScrollWindowEx(demo_, 0, -5, nullptr, nullptr, nullptr, &box, 0);
    EXPECT_TRUE(sameRect(box, RECT{0, 75, 96, 80}));
    HRGN invalid = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(demo_, invalid, FALSE);
    HRGN expected = CreateRectRgn(10, 5, 20, 15);
    EXPECT_TRUE(EqualRgn(invalid, expected)) << "without SW_INVALIDATE only the old update region, moved";
    DeleteObject(invalid);
    DeleteObject(expected);
}

}  // namespace
}  // namespace window_test
