// The demo window class driven through the harness: painted, clicked and scrolled, compared with
// golden images drawn with the test face.
#include <gtest/gtest.h>

#include "demo_window.h"
#include "winplat/owners.h"
#include "winplat/testing.h"
#include "winplat_harness/harness.h"

namespace {

using winplat::test::Harness;
using winplat::test::Image;

constexpr int kWidth = 160;
constexpr int kHeight = 120;

Harness::Options options() {
    Harness::Options options;
    options.width = 320;
    options.height = 240;
    options.goldenFolder = WINPLAT_GOLDEN_DIR;
    return options;
}

// The demo drawn on a bitmap of its own in a state: the reference for what a window shows.
Image drawnAlone(const winplat_demo::DemoState& state) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const winplat::OwnedBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const winplat::MemoryDc dc(CreateCompatibleDC(nullptr));
    if (!bitmap || !dc || !bits) return {};
    const winplat::Selection selected(dc.get(), bitmap.get());
    winplat_demo::paintDemo(dc.get(), state, {0, 0}, kWidth, kHeight);
    GdiFlush();
    Image image{kWidth, kHeight, {}};
    const auto* pixels = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < static_cast<size_t>(kWidth * kHeight); ++i) image.pixels.push_back(pixels[i] & 0xFFFFFF);
    return image;
}

// A demo window whose client area is kWidth x kHeight at (20, 30) on the screen.
HWND makeDemo() {
    if (!winplat_demo::registerDemoClass()) return nullptr;
    HWND window = winplat_demo::createDemoWindow(0, 0, 2 * kWidth, 2 * kHeight);
    if (!window) return nullptr;
    // The frame around the client area, whatever its size: the client goes to (20, 30).
    RECT outer{};
    RECT client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const int frameWidth = (outer.right - outer.left) - client.right;
    const int frameHeight = (outer.bottom - outer.top) - client.bottom;
    MoveWindow(window, 20 - (origin.x - outer.left), 30 - (origin.y - outer.top), kWidth + frameWidth,
               kHeight + frameHeight, TRUE);
    UpdateWindow(window);  // painted at its new place before anything looks
    return window;
}

TEST(DemoWindow, PaintsItsPatternRowsAndCounter) {
    Harness h(options());
    h.expectImage(drawnAlone({}), "demo_initial");
    h.expectImage(drawnAlone({3, 2}), "demo_clicked_scrolled");
}

TEST(DemoWindow, ClicksCountAndTheWheelAndKeysScroll) {
    Harness h(options());
    HWND window = makeDemo();
    ASSERT_NE(window, nullptr);
    const auto info = h.windowInfo(window);
    ASSERT_EQ(info.client.left, 20);
    ASSERT_EQ(info.client.top, 30);
    EXPECT_EQ(h.windowImage(window, true), drawnAlone({})) << "shown as it was created";
    h.click(60, 100);
    h.advance(600);  // apart: no double click
    h.click(60, 100);
    h.advance(600);
    h.click(60, 100);
    const winplat_demo::DemoState* state = winplat_demo::demoState(window);
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(state->clicks, 3);
    h.wheel(-WHEEL_DELTA);
    h.key(VK_DOWN);
    h.wheel(WHEEL_DELTA);
    h.key(VK_DOWN);
    EXPECT_EQ(state->scroll, 2);
    h.key(VK_UP);
    h.key(VK_UP);
    h.key(VK_UP);
    EXPECT_EQ(state->scroll, 0) << "the strip does not scroll above its first row";
    h.key(VK_DOWN);
    h.key(VK_DOWN);
    const Image client = h.windowImage(window, true);
    EXPECT_EQ(client, drawnAlone({3, 2}));
    h.expectImage(client, "demo_clicked_scrolled");
}

// Whether windows have DCs of their own yet (GetDC of a window, BeginPaint): the painting tests
// below need them.
bool windowDcsBuilt(HWND window) {
    const winplat::testing::ScopedDebugAsserts quiet(false);
    HDC dc = GetDC(window);
    if (!dc) return false;
    ReleaseDC(window, dc);
    return true;
}

TEST(DemoWindow, AnUncoveredPartIsPaintedAgainAsAWholeRepaintWould) {
    Harness h(options());
    HWND window = makeDemo();
    ASSERT_NE(window, nullptr);
    if (!windowDcsBuilt(window)) GTEST_SKIP() << "window DCs and WM_PAINT painting are not built yet";
    h.click(60, 100);
    const Image before = h.windowImage(window, true);
    HWND cover = CreateWindowExA(0, "WinplatDemo", "cover", WS_POPUP | WS_VISIBLE, 40, 50, 60, 40, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(cover, nullptr);
    h.pump();
    DestroyWindow(cover);
    h.pump();
    EXPECT_EQ(h.windowImage(window, true), before);
}

}  // namespace
