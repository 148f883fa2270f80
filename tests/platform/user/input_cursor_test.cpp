#include "input_fixture.h"
#include "user/cursor_drawing.h"
#include "user/cursors.h"
#include "user/input_feed.h"
#include "winplat/gdi.h"

namespace window_test {
namespace {

using CursorTest = InputTest;

const LPCSTR kSystemCursors[] = {IDC_ARROW,    IDC_IBEAM,    IDC_WAIT,   IDC_CROSS,  IDC_UPARROW,
                                 IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZEWE, IDC_SIZENS, IDC_SIZEALL,
                                 IDC_NO,       IDC_HAND,     IDC_APPSTARTING};

TEST_F(CursorTest, SystemCursorsHaveTheirHotSpotOnAnOpaquePixelAndBothColours) {
    for (LPCSTR name : kSystemCursors) {
        SCOPED_TRACE(reinterpret_cast<ULONG_PTR>(name));
        const HCURSOR cursor = LoadCursorA(nullptr, name);
        ASSERT_NE(cursor, nullptr);
        EXPECT_EQ(LoadCursorA(nullptr, name), cursor) << "shared: the same handle every time";
        const auto object = winplat::user::findCursor(cursor);
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(object->width, GetSystemMetrics(SM_CXCURSOR));
        EXPECT_EQ(object->height, GetSystemMetrics(SM_CYCURSOR));
        ASSERT_GE(object->hotSpot.x, 0);
        ASSERT_GE(object->hotSpot.y, 0);
        ASSERT_LT(object->hotSpot.x, object->width);
        ASSERT_LT(object->hotSpot.y, object->height);
        const auto hot = static_cast<size_t>(object->hotSpot.y * object->width + object->hotSpot.x);
        EXPECT_EQ(object->andMask[hot], 0) << "the pointing pixel is drawn";
        size_t opaque = 0;
        for (uint8_t bit : object->andMask) opaque += bit == 0 ? 1 : 0;
        EXPECT_GT(opaque, 8u);
        EXPECT_LT(opaque, object->andMask.size() / 2) << "most of the square lets the screen through";
    }
    EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(32517)), nullptr);
}

TEST_F(CursorTest, SystemCursorsAreNotDestroyedAndMadeCursorsAre) {
    winplat::testing::DebugCapture debug;
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    EXPECT_FALSE(DestroyCursor(arrow));
    EXPECT_TRUE(debug.contains("shared"));
    EXPECT_NE(winplat::user::findCursor(arrow), nullptr);
    const BYTE andPlane[32] = {0xFF, 0xFF, 0x00, 0x00};  // 16 x 16: the first row transparent, the rest drawn
    const BYTE xorPlane[32] = {};
    const HCURSOR made = CreateCursor(nullptr, 1, 1, 16, 16, andPlane, xorPlane);
    ASSERT_NE(made, nullptr);
    const auto object = winplat::user::findCursor(made);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->andMask[15], 1);
    EXPECT_EQ(object->andMask[16], 0);
    SetCursor(made);
    EXPECT_TRUE(DestroyCursor(made));
    EXPECT_EQ(GetCursor(), nullptr) << "the destroyed cursor no longer shows";
    EXPECT_FALSE(DestroyCursor(made));
    EXPECT_EQ(CreateCursor(nullptr, 16, 0, 16, 16, andPlane, xorPlane), nullptr) << "hot spot outside";
    debug.clear();
    EXPECT_EQ(LoadCursorA(reinterpret_cast<HINSTANCE>(0x1234), "POINTER"), nullptr) << "no such module";
    EXPECT_TRUE(debug.contains("LoadCursorA: refused: the module has no such resource"));
}

TEST_F(CursorTest, SetCursorReturnsThePreviousAndShowCursorCounts) {
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    const HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
    SetCursor(arrow);
    EXPECT_EQ(SetCursor(wait), arrow);
    EXPECT_EQ(GetCursor(), wait);
    EXPECT_EQ(SetCursor(reinterpret_cast<HCURSOR>(0x7777)), nullptr) << "not a cursor";
    EXPECT_EQ(GetCursor(), wait);
    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_EQ(ShowCursor(FALSE), -2);
    EXPECT_EQ(ShowCursor(TRUE), -1);
    EXPECT_EQ(ShowCursor(TRUE), 0);
    EXPECT_EQ(ShowCursor(TRUE), 1);
}

// What a host shows: the cursor SetCursor set while the count is 0 or more, nothing below it.
TEST_F(CursorTest, TheHostShowsTheCursorSetWhileItIsShown) {
    const HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
    SetCursor(nullptr);
    EXPECT_EQ(winplat::user::shownCursor(), nullptr) << "none set";
    SetCursor(wait);
    EXPECT_EQ(winplat::user::shownCursor(), wait);
    ASSERT_EQ(ShowCursor(FALSE), -1);
    EXPECT_EQ(winplat::user::shownCursor(), nullptr) << "hidden at -1";
    ASSERT_EQ(ShowCursor(TRUE), 0);
    EXPECT_EQ(winplat::user::shownCursor(), wait) << "shown again at 0";
}

TEST_F(CursorTest, ClipCursorKeepsThePointerIn) {
    winplat::testing::mouseMove(10, 10);
    const RECT clip{100, 100, 200, 150};
    ASSERT_TRUE(ClipCursor(&clip));
    POINT at{};
    GetCursorPos(&at);
    EXPECT_EQ(at.x, 100);
    EXPECT_EQ(at.y, 100) << "the pointer moved inside at once";
    const struct {
        int x, y, expectedX, expectedY;
    } moves[] = {{500, 500, 199, 149}, {150, 120, 150, 120}, {99, 99, 100, 100}, {200, 150, 199, 149}, {199, 149, 199, 149}};
    for (const auto& m : moves) {
        winplat::testing::mouseMove(m.x, m.y);
        GetCursorPos(&at);
        EXPECT_EQ(at.x, m.expectedX) << m.x << "," << m.y;
        EXPECT_EQ(at.y, m.expectedY) << m.x << "," << m.y;
    }
    RECT got{};
    GetClipCursor(&got);
    EXPECT_EQ(got.left, 100);
    EXPECT_EQ(got.bottom, 150);
    SetCursorPos(0, 0);
    GetCursorPos(&at);
    EXPECT_EQ(at.x, 100) << "SetCursorPos is kept in too";
    ClipCursor(nullptr);
    winplat::testing::mouseMove(500, 500);
    GetCursorPos(&at);
    EXPECT_EQ(at.x, 500);
    GetClipCursor(&got);
    EXPECT_EQ(got.right, GetSystemMetrics(SM_CXSCREEN));
}

TEST_F(CursorTest, SetCursorPosMovesThePointerWithAMouseMove) {
    HWND window = make(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    recorder().clear();
    SetCursorPos(40, 30);
    pump();
    const std::vector<Received> got = mouseMessages(window);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(got[0].lParam, at(40, 30));
}

TEST_F(CursorTest, TheCursorDrawsThroughItsMasksAtThePointer) {
    HDC dc = winplat::testing::createDisplayDc(64, 64, 32);
    ASSERT_NE(dc, nullptr);
    const COLORREF grey = RGB(128, 128, 128);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) SetPixel(dc, x, y, grey);
    }
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    winplat::testing::mouseMove(110, 120);
    const POINT origin{100, 100};  // the surface shows the screen from (100, 100)
    ShowCursor(FALSE);
    EXPECT_FALSE(winplat::user::drawPointer(dc, origin)) << "a hidden cursor draws nothing";
    EXPECT_EQ(GetPixel(dc, 10, 20), grey);
    ShowCursor(TRUE);
    ASSERT_TRUE(winplat::user::drawPointer(dc, origin));
    EXPECT_EQ(GetPixel(dc, 10, 20), RGB(0, 0, 0)) << "the arrow's tip at the pointer";
    EXPECT_EQ(GetPixel(dc, 11, 22), RGB(255, 255, 255)) << "its white inside";
    EXPECT_EQ(GetPixel(dc, 20, 20), grey) << "beside it the screen shows through";
    EXPECT_EQ(GetPixel(dc, 9, 20), grey);
    DeleteDC(dc);
}

TEST_F(CursorTest, MessageBeepReachesTheHost) {
    winplat::testing::BeepCounter beeps;
    EXPECT_TRUE(MessageBeep(MB_ICONHAND));
    EXPECT_TRUE(MessageBeep(MB_OK));
    EXPECT_EQ(beeps.types(), (std::vector<UINT>{MB_ICONHAND, MB_OK}));
    EXPECT_EQ(GetSystemMetrics(SM_SWAPBUTTON), 0);
}

}  // namespace
}  // namespace window_test
