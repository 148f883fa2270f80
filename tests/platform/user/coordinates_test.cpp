#include "window_fixture.h"

namespace window_test {
namespace {

// A framed top-level window at (100, 50), 400 x 300, overlapped style: client at (104, 73).
// Inside it a child with a border at (10, 20) (client at (115, 94)), and in that a grandchild at
// (5, 5) without a frame (client at (120, 99)).
class CoordinatesTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        top = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 50, 400, 300);
        child = make(WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 20, 200, 150, top);
        grandchild = make(WS_CHILD | WS_VISIBLE, 5, 5, 50, 40, child);
    }
    HWND top = nullptr;
    HWND child = nullptr;
    HWND grandchild = nullptr;
};

TEST_F(CoordinatesTest, ClientToScreenAndBackThroughFramesAndNesting) {
    struct Case {
        HWND* window;
        POINT screenOfOrigin;
    };
    for (const Case& c : {Case{&top, {104, 73}}, Case{&child, {115, 94}}, Case{&grandchild, {120, 99}}}) {
        POINT p{3, 4};
        ASSERT_TRUE(ClientToScreen(*c.window, &p));
        EXPECT_EQ(p.x, c.screenOfOrigin.x + 3);
        EXPECT_EQ(p.y, c.screenOfOrigin.y + 4);
        ASSERT_TRUE(ScreenToClient(*c.window, &p));
        EXPECT_EQ(p.x, 3);
        EXPECT_EQ(p.y, 4);
    }
}

TEST_F(CoordinatesTest, WindowRectIsOnTheScreen) {
    RECT r{};
    GetWindowRect(grandchild, &r);
    EXPECT_EQ(r.left, 120);
    EXPECT_EQ(r.top, 99);
    EXPECT_EQ(r.right, 170);
    EXPECT_EQ(r.bottom, 139);
    GetWindowRect(child, &r);
    EXPECT_EQ(r.left, 114);
    EXPECT_EQ(r.top, 93);
}

TEST_F(CoordinatesTest, MapWindowPointsBetweenWindowsAndTheScreen) {
    POINT points[2] = {{0, 0}, {10, 10}};
    const int shift = MapWindowPoints(grandchild, top, points, 2);
    EXPECT_EQ(points[0].x, 16);
    EXPECT_EQ(points[0].y, 26);
    EXPECT_EQ(points[1].x, 26);
    EXPECT_EQ(static_cast<SHORT>(LOWORD(shift)), 16);
    EXPECT_EQ(static_cast<SHORT>(HIWORD(shift)), 26);
    POINT back{16, 26};
    MapWindowPoints(top, grandchild, &back, 1);
    EXPECT_EQ(back.x, 0);
    EXPECT_EQ(back.y, 0);
    POINT screen{0, 0};
    MapWindowPoints(child, HWND_DESKTOP, &screen, 1);
    EXPECT_EQ(screen.x, 115);
    EXPECT_EQ(screen.y, 94);
}

TEST_F(CoordinatesTest, WindowFromPointFindsTheDeepestVisibleEnabledWindow) {
    struct Case {
        POINT point;
        HWND* expected;
        const char* why;
    };
    HWND none = nullptr;
    const Case cases[] = {
        {{121, 100}, &grandchild, "inside the grandchild"},
        {{120, 99}, &grandchild, "its top-left pixel"},
        {{170, 99}, &child, "one past the grandchild's right edge"},
        {{114, 93}, &child, "the child's border"},
        {{104, 73}, &top, "the top window's client corner, outside the child"},
        {{100, 50}, &top, "the top window's frame"},
        {{99, 50}, &none, "left of everything"},
        {{499, 349}, &top, "the last pixel of the top window"},
        {{500, 350}, &none, "just below it"},
    };
    for (const Case& c : cases) EXPECT_EQ(WindowFromPoint(c.point), *c.expected) << c.why;
    ShowWindow(grandchild, SW_HIDE);
    EXPECT_EQ(WindowFromPoint({121, 100}), child) << "hidden windows are passed over";
    ShowWindow(grandchild, SW_SHOW);
    EnableWindow(grandchild, FALSE);
    EXPECT_EQ(WindowFromPoint({121, 100}), child) << "a disabled child leaves the point to its parent";
}

TEST_F(CoordinatesTest, ChildWindowFromPointLooksOneLevelDown) {
    EXPECT_EQ(ChildWindowFromPoint(top, {12, 22}), child);
    EXPECT_EQ(ChildWindowFromPoint(top, {16, 26}), child) << "only immediate children";
    EXPECT_EQ(ChildWindowFromPoint(top, {300, 200}), top);
    EXPECT_EQ(ChildWindowFromPoint(top, {-3, -5}), top) << "the frame is still the window";
    EXPECT_EQ(ChildWindowFromPoint(top, {-5, -24}), nullptr) << "outside the window";
    ShowWindow(child, SW_HIDE);
    EXPECT_EQ(ChildWindowFromPoint(top, {12, 22}), child) << "hidden children count without the flag";
    EXPECT_EQ(ChildWindowFromPointEx(top, {12, 22}, CWP_SKIPINVISIBLE), top);
    ShowWindow(child, SW_SHOW);
    EnableWindow(child, FALSE);
    EXPECT_EQ(ChildWindowFromPointEx(top, {12, 22}, CWP_SKIPDISABLED), top);
    EXPECT_EQ(ChildWindowFromPointEx(top, {12, 22}, CWP_SKIPINVISIBLE), child);
}

TEST_F(CoordinatesTest, MovingTheParentMovesTheChildrenOnScreen) {
    MoveWindow(top, 0, 0, 400, 300, TRUE);
    POINT p{0, 0};
    ClientToScreen(grandchild, &p);
    EXPECT_EQ(p.x, 20);
    EXPECT_EQ(p.y, 49);
}

}  // namespace
}  // namespace window_test
