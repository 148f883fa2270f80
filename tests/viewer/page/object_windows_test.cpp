// Child windows of media objects kept on their objects' content boxes, on the headless desktop.
#include <gtest/gtest.h>

#include "page/object_window_hooks.h"
#include "page/page.h"
#include "page/page_style.h"
#include "page_test_support.h"
#include "winplat/controls.h"
#include "winplat/owners.h"
#include "winplat/region.h"
#include "winplat/user.h"
#include "winplat_harness/harness.h"

namespace {

using page_test::object;

RECT inOwner(HWND window, HWND owner) {
    RECT rect{};
    GetWindowRect(window, &rect);
    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    MapWindowPoints(nullptr, owner, corners, 2);
    return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class ObjectWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(owner, nullptr);
        child = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, owner, nullptr, nullptr, nullptr);
        ASSERT_NE(child, nullptr);
        lect32::PageStyle style;
        style.margins = {5, 5, 7, 7};  // left 5, right 5, top 7, bottom 7
        t.page.SetLayoutArea(style);
        t.page.SetOwner(owner, 0);
        lect32::PageObject video = object(50, 60, 40, 30, lect32::ObjectKind::Video);
        video.borderWidth = 2;
        video.SetWindow(child);
        t.page.InsertObject(video);
        t.page.InsertObject(object(0, 0, 10, 10));  // no window
        harness.pump();
    }

    void validateAll() {
        ValidateRect(owner, nullptr);
        ValidateRect(child, nullptr);
    }

    bool ownerNeedsPaint() {
        RECT dirty{};
        return GetUpdateRect(owner, &dirty, FALSE) != FALSE;
    }

    winplat::test::Harness harness;
    page_test::TestPage t;
    HWND owner = nullptr;
    HWND child = nullptr;
};

TEST_F(ObjectWindowsTest, AWindowFollowsItsObjectAndWhatItUncoversRepaints) {
    validateAll();
    t.page.MoveObjectWindows();
    // The content box: (5 + 50 + 2, 7 + 60 + 2) to (5 + 90 - 2, 7 + 90 - 2).
    EXPECT_TRUE(sameRect(inOwner(child, owner), RECT{57, 69, 93, 95}));
    EXPECT_TRUE(sameRect(t.page.ContentBox(1), inOwner(child, owner)));
    winplat::OwnedRegion dirty(CreateRectRgn(0, 0, 0, 0));
    GetUpdateRgn(owner, dirty.get(), FALSE);
    EXPECT_TRUE(PtInRegion(dirty.get(), 3, 3)) << "where the window stood before";
    EXPECT_TRUE(PtInRegion(dirty.get(), 60, 70)) << "under the window's new place";
    EXPECT_FALSE(PtInRegion(dirty.get(), 200, 200));

    validateAll();
    t.page.MoveObjectWindows();
    EXPECT_FALSE(ownerNeedsPaint()) << "a window that did not move is left alone";
}

TEST_F(ObjectWindowsTest, ScrollingTheOriginMovesTheWindows) {
    t.page.MoveObjectWindows();
    t.page.SetOrigin(10, 20);
    EXPECT_TRUE(sameRect(inOwner(child, owner), RECT{47, 49, 83, 75}));
}

TEST_F(ObjectWindowsTest, OneObjectsWindowIsMovedAndRepainted) {
    validateAll();
    t.page.MoveObjectWindow(1);
    EXPECT_TRUE(sameRect(inOwner(child, owner), RECT{57, 69, 93, 95}));
    RECT dirty{};
    EXPECT_TRUE(GetUpdateRect(child, &dirty, FALSE));
    validateAll();
    t.page.MoveObjectWindow(0);  // the object without a window
    EXPECT_FALSE(ownerNeedsPaint());
}

// The parent records what reaches it.
std::vector<std::pair<UINT, LPARAM>> received;

LRESULT CALLBACK recordingParent(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN || message == WM_MOUSEMOVE || message == WM_RBUTTONUP ||
        message == lect32::kMediaClickMessage)
        received.emplace_back(message, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

class ObjectWindowHooksTest : public ::testing::Test {
protected:
    void SetUp() override {
        received.clear();
        WNDCLASSA type{};
        type.lpfnWndProc = recordingParent;
        type.lpszClassName = "PageHookParent";
        RegisterClassA(&type);
        parent = CreateWindowExA(0, "PageHookParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
        child = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 30, 40, 50, 50, parent, nullptr, nullptr, nullptr);
        ASSERT_NE(child, nullptr);
    }
    void TearDown() override { UnregisterClassA("PageHookParent", nullptr); }

    winplat::test::Harness harness;
    HWND parent = nullptr;
    HWND child = nullptr;
};

TEST_F(ObjectWindowHooksTest, TheMouseReachesTheParentInItsOwnCoordinates) {
    ASSERT_TRUE(lect32::HookObjectWindow(child, lect32::ObjectWindowHook::ForwardMouse));
    EXPECT_FALSE(lect32::HookObjectWindow(child, lect32::ObjectWindowHook::ReportClick)) << "one hook a window";
    SendMessageA(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 3));
    SendMessageA(child, WM_MOUSEMOVE, 0, MAKELPARAM(10, 0));
    SendMessageA(child, WM_KEYDOWN, 'A', 0);
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0], std::make_pair(UINT{WM_LBUTTONDOWN}, LPARAM{MAKELPARAM(32, 43)}));
    EXPECT_EQ(received[1], std::make_pair(UINT{WM_MOUSEMOVE}, LPARAM{MAKELPARAM(40, 40)}));
    // The replaced procedure still runs: the static control keeps its text.
    SetWindowTextA(child, "film");
    char text[8] = {};
    GetWindowTextA(child, text, sizeof text);
    EXPECT_STREQ(text, "film");
    EXPECT_TRUE(DestroyWindow(child));
}

TEST_F(ObjectWindowHooksTest, AClickEndIsReportedToTheParent) {
    ASSERT_TRUE(lect32::HookObjectWindow(child, lect32::ObjectWindowHook::ReportClick));
    SendMessageA(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 3));
    SendMessageA(child, WM_LBUTTONUP, 0, MAKELPARAM(2, 3));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].first, lect32::kMediaClickMessage);
    EXPECT_TRUE(DestroyWindow(child));
    EXPECT_FALSE(lect32::HookObjectWindow(child, lect32::ObjectWindowHook::ReportClick)) << "the window is gone";
}

}  // namespace
