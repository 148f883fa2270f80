// The work area windows are centred in (the whole screen, whatever its size) and the menus'
// show delay.
#include <gtest/gtest.h>

#include "winplat/testing.h"
#include "winplat/user.h"

namespace {

TEST(SystemParameters, TheWorkAreaIsTheWholeScreen) {
    RECT area{-1, -1, -1, -1};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
    EXPECT_EQ(area.left, 0);
    EXPECT_EQ(area.top, 0);
    EXPECT_EQ(area.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(area.bottom, GetSystemMetrics(SM_CYSCREEN));

    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_TRUE(winplat::testing::setScreenSize(800, 600));
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
    EXPECT_EQ(area.right, 800);
    EXPECT_EQ(area.bottom, 600);
    ASSERT_TRUE(winplat::testing::setScreenSize(width, height));
}

TEST(SystemParameters, OtherSettingsAndAMissingRectAreRefused) {
    const winplat::testing::ScopedDebugAsserts quiet(false);
    const winplat::testing::DebugCapture debug;
    EXPECT_FALSE(SystemParametersInfoA(SPI_GETWORKAREA, 0, nullptr, 0));
    EXPECT_TRUE(debug.contains("no place for the answer")) << debug.text();
    RECT area{};
    EXPECT_FALSE(SystemParametersInfoA(SPI_GETWORKAREA + 1, 0, &area, 0));
    EXPECT_TRUE(debug.contains("setting 49")) << debug.text();
}

TEST(SystemParameters, MenusShowSubMenusAfterTheClassicDelay) {
    DWORD delay = 0;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETMENUSHOWDELAY, 0, &delay, 0));
    EXPECT_EQ(delay, 400u);
}

}  // namespace
