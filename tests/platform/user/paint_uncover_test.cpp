// Moving, hiding, destroying and restacking a window invalidates exactly what it uncovers in the
// window below, and the window itself where it newly shows.
#include "paint_fixture.h"

namespace window_test {
namespace {

enum class Action { Hide, Destroy, Move, MoveAway, Shrink, Lower, RaiseBelow, MoveNoRedraw };

struct UncoverCase {
    const char* name;
    Action action;
    std::vector<RECT> belowUpdate;  // the window below, client coordinates
    std::vector<RECT> topUpdate;    // the window on top afterwards (when it still exists)
    COLORREF at75;                  // the screen at (75, 75) and (125, 125) once all is painted
    COLORREF at125;
};

constexpr COLORREF R = RGB(255, 0, 0);
constexpr COLORREF B = RGB(0, 0, 255);

class Uncovering : public PaintTest, public ::testing::WithParamInterface<UncoverCase> {};

// The window below covers (0, 0)-(200, 200); the one on top (50, 50)-(150, 150).
TEST_P(Uncovering, InvalidatesExactlyWhatBecomesVisible) {
    const UncoverCase& c = GetParam();
    HWND below = painter(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, RGB(255, 0, 0));
    HWND top = painter(WS_POPUP | WS_VISIBLE, 50, 50, 100, 100, RGB(0, 0, 255));
    pump();
    constexpr UINT kKeep = SWP_NOZORDER | SWP_NOACTIVATE;
    switch (c.action) {
        case Action::Hide: ShowWindow(top, SW_HIDE); break;
        case Action::Destroy: DestroyWindow(top); break;
        case Action::Move: SetWindowPos(top, nullptr, 100, 100, 0, 0, kKeep | SWP_NOSIZE); break;
        case Action::MoveAway: SetWindowPos(top, nullptr, 300, 300, 0, 0, kKeep | SWP_NOSIZE); break;
        case Action::Shrink: SetWindowPos(top, nullptr, 0, 0, 50, 50, kKeep | SWP_NOMOVE); break;
        case Action::Lower:
            SetWindowPos(top, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            break;
        case Action::RaiseBelow:
            SetWindowPos(below, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            break;
        case Action::MoveNoRedraw:
            SetWindowPos(top, nullptr, 100, 100, 0, 0, kKeep | SWP_NOSIZE | SWP_NOREDRAW);
            break;
    }
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(below, update, FALSE);
    HRGN expected = regionOf(c.belowUpdate);
    EXPECT_TRUE(EqualRgn(update, expected)) << "the window below";
    DeleteObject(expected);
    if (IsWindow(top)) {
        GetUpdateRgn(top, update, FALSE);
        expected = regionOf(c.topUpdate);
        EXPECT_TRUE(EqualRgn(update, expected)) << "the window on top";
        DeleteObject(expected);
    }
    DeleteObject(update);
    // What was invalidated is what the screen needs.
    pump();
    EXPECT_EQ(at(75, 75), c.at75);
    EXPECT_EQ(at(125, 125), c.at125);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Uncovering,
    ::testing::Values(
        UncoverCase{"hide", Action::Hide, {{50, 50, 150, 150}}, {}, R, R},
        UncoverCase{"destroy", Action::Destroy, {{50, 50, 150, 150}}, {}, R, R},
        UncoverCase{"move", Action::Move, {{50, 50, 150, 100}, {50, 100, 100, 150}}, {{0, 0, 100, 100}}, R, B},
        UncoverCase{"moveAway", Action::MoveAway, {{50, 50, 150, 150}}, {{0, 0, 100, 100}}, R, R},
        UncoverCase{"shrink", Action::Shrink, {{100, 50, 150, 100}, {50, 100, 150, 150}}, {{0, 0, 50, 50}}, B, R},
        // Lowered under the other window it is covered whole: nothing of it shows to repaint.
        UncoverCase{"lower", Action::Lower, {{50, 50, 150, 150}}, {}, R, R},
        UncoverCase{"raiseBelow", Action::RaiseBelow, {{50, 50, 150, 150}}, {}, R, R},
        // The moved window keeps the pixels it had where it lands (blue at 125, 125).
        UncoverCase{"moveNoRedraw", Action::MoveNoRedraw, {{50, 50, 150, 100}, {50, 100, 100, 150}}, {}, R, B}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PaintTest, ShowingAWindowPaintsItWhole) {
    HWND window = painter(WS_POPUP, 10, 10, 30, 20, RGB(0, 255, 0));
    pump();
    EXPECT_TRUE(paints().empty());
    ShowWindow(window, SW_SHOWNA);
    pump();
    ASSERT_EQ(paints().size(), 1u);
    EXPECT_TRUE(sameRect(paints()[0].rcPaint, RECT{0, 0, 30, 20}));
    EXPECT_EQ(at(39, 29), RGB(0, 255, 0));
}

TEST_F(PaintTest, UncoveringAChildInvalidatesItsParentOnly) {
    HWND parent = painter(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 100, 100, RGB(255, 0, 0));
    HWND child = painter(WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, RGB(0, 0, 255), parent);
    pump();
    ShowWindow(child, SW_HIDE);
    RECT box{};
    ASSERT_TRUE(GetUpdateRect(parent, &box, FALSE));
    EXPECT_TRUE(sameRect(box, RECT{10, 10, 30, 30}));
    pump();
    EXPECT_EQ(at(15, 15), RGB(255, 0, 0));
}

// The reader moves a page window into a popup: the page's old place shows its old parent again,
// and it paints itself whole in the new one.
TEST_F(PaintTest, ReparentingRepaintsWhatItLeavesAndWhereItLands) {
    HWND first = painter(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 100, 100, RGB(255, 0, 0));
    HWND second = painter(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 200, 0, 100, 100, RGB(0, 255, 0));
    HWND page = painter(WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, RGB(0, 0, 255), first);
    pump();
    ASSERT_EQ(at(15, 15), RGB(0, 0, 255));
    paints().clear();
    ASSERT_EQ(SetParent(page, second), first);
    RECT box{};
    ASSERT_TRUE(GetUpdateRect(first, &box, FALSE));
    EXPECT_TRUE(sameRect(box, RECT{10, 10, 30, 30})) << "the old place";
    ASSERT_TRUE(GetUpdateRect(page, &box, FALSE));
    EXPECT_TRUE(sameRect(box, RECT{0, 0, 20, 20})) << "the page at its new place";
    pump();
    EXPECT_EQ(at(15, 15), RGB(255, 0, 0));
    EXPECT_EQ(at(215, 15), RGB(0, 0, 255));
}

}  // namespace
}  // namespace window_test
