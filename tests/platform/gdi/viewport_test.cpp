// The viewport origin of MM_TEXT: drawing, text and clipping of a DC whose logical (0, 0) was
// moved, on a memory DC and on a window DC, and its save and restore with the DC's state.
#include <gtest/gtest.h>

#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"
#include "winplat/testing.h"
#include "winplat/user.h"
#include "winplat_harness/harness.h"

namespace {

constexpr COLORREF kInk = RGB(200, 10, 30);

// A 40 x 30 32-bit display surface, white.
HDC whiteDisplay() {
    HDC dc = winplat::testing::createDisplayDc(40, 30, 32);
    PatBlt(dc, 0, 0, 40, 30, WHITENESS);
    return dc;
}

TEST(ViewportOrigin, MovesWhereDrawingLandsAndIsKeptWithTheDcState) {
    HDC dc = whiteDisplay();
    POINT previous{-1, -1};
    ASSERT_TRUE(SetViewportOrgEx(dc, 10, 5, &previous));
    EXPECT_EQ(previous.x, 0);
    EXPECT_EQ(previous.y, 0);
    SetPixel(dc, 0, 0, kInk);
    EXPECT_EQ(GetPixel(dc, 0, 0), kInk) << "read back through the same origin";
    ASSERT_TRUE(SetViewportOrgEx(dc, 0, 0, &previous));
    EXPECT_EQ(previous.x, 10);
    EXPECT_EQ(previous.y, 5);
    EXPECT_EQ(GetPixel(dc, 10, 5), kInk);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));

    // SaveDC keeps the origin; RestoreDC brings it back after a change.
    SetViewportOrgEx(dc, 3, 4, nullptr);
    const int saved = SaveDC(dc);
    SetViewportOrgEx(dc, 20, 20, nullptr);
    ASSERT_TRUE(RestoreDC(dc, saved));
    POINT now{};
    ASSERT_TRUE(GetViewportOrgEx(dc, &now));
    EXPECT_EQ(now.x, 3);
    EXPECT_EQ(now.y, 4);
    SetPixel(dc, 1, 1, kInk);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    EXPECT_EQ(GetPixel(dc, 4, 5), kInk);
    DeleteDC(dc);
}

TEST(ViewportOrigin, ClippingRectanglesAreGivenInMovedCoordinates) {
    HDC dc = whiteDisplay();
    SetViewportOrgEx(dc, 10, 10, nullptr);
    IntersectClipRect(dc, 0, 0, 5, 5);  // device 10..14
    const winplat::GdiObject<HBRUSH> ink(CreateSolidBrush(kInk));
    const RECT everything{-10, -10, 30, 20};
    FillRect(dc, &everything, ink.get());
    SetViewportOrgEx(dc, 0, 0, nullptr);
    SelectClipRgn(dc, nullptr);
    // Inside on both edges, outside one pixel beyond each.
    EXPECT_EQ(GetPixel(dc, 10, 10), kInk);
    EXPECT_EQ(GetPixel(dc, 14, 14), kInk);
    EXPECT_EQ(GetPixel(dc, 9, 10), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 15, 14), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 14, 15), RGB(255, 255, 255));
    DeleteDC(dc);
}

LRESULT CALLBACK plainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(ViewportOrigin, AddsToAWindowDcsClientCorner) {
    winplat::test::Harness h({.width = 200, .height = 150});
    WNDCLASSA plain{};
    plain.lpfnWndProc = plainProcedure;
    plain.lpszClassName = "ViewportPlain";
    plain.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    ASSERT_TRUE(RegisterClassA(&plain));
    HWND window = CreateWindowExA(0, "ViewportPlain", "", WS_POPUP | WS_VISIBLE, 30, 20, 100, 80, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    UpdateWindow(window);
    {
        const winplat::BorrowedDc dc(window);
        SetViewportOrgEx(dc.get(), 7, 9, nullptr);
        SetPixel(dc.get(), 0, 0, kInk);
        POINT device{};
        GetDCOrgEx(dc.get(), &device);
        EXPECT_EQ(device.x, 30) << "the device origin stays the client corner";
        EXPECT_EQ(device.y, 20);
    }
    const auto screen = h.screenshot();
    EXPECT_EQ(screen.at(37, 29), 0xC80A1Eu);
    EXPECT_EQ(screen.at(36, 29), 0xFFFFFFu);
    EXPECT_EQ(screen.at(37, 28), 0xFFFFFFu);
    DestroyWindow(window);
}

}  // namespace
