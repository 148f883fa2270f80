#include "display/grid.h"

#include <gtest/gtest.h>

#include "display/backdrop.h"
#include "painter_fixture.h"

namespace linework {
namespace {

struct GridTest : test::PainterTest {
    GridSettings grid{.shown = true, .relative = false, .spacingX = 1, .spacingY = 1, .colour = RGB(255, 255, 255)};
    int Dots(double scale, COLORREF colour = RGB(255, 255, 255)) {
        Show({.scale = scale, .originX = 0.5, .originY = 0.25}, {101, 81});
        canvas->Clear();
        return DrawGrid(*canvas, view, grid, colour, RGB(0, 0, 0));
    }
};

TEST_F(GridTest, AGridOfFivePixelsIsNotDrawnAndTenPixelsIs) {
    EXPECT_EQ(Dots(0.2), 0);  // spacing 1 at scale 0.2: 5 pixels
    EXPECT_EQ(canvas->Count("SetPixel"), 0u);
    EXPECT_EQ(Dots(0.1000001), 0);
    // 10 pixels: columns 0..100 hold x 0.5..10.5, grid lines at x 1..10; rows y 0.25..8.25: 1..8.
    EXPECT_EQ(Dots(0.1), 10 * 8);
    ASSERT_EQ(canvas->Count("SetPixel"), 80u);
    EXPECT_EQ(canvas->Lines().front().rfind("SetPixel 5,", 0), 0u) << canvas->Lines().front();
}

TEST_F(GridTest, OffItDrawsOnlyToEraseAndAZeroSpacingNever) {
    grid.shown = false;
    EXPECT_EQ(Dots(0.1), 0);
    EXPECT_EQ(Dots(0.1, RGB(0, 0, 0)), 80);  // the background colour erases
    grid.shown = true;
    grid.spacingY = 0;
    EXPECT_EQ(Dots(0.1), 0);
    EXPECT_FALSE(GridVisible(grid, 0.1));
}

TEST_F(GridTest, ARelativeGridStartsAtTheViewsEdges) {
    grid.relative = true;
    EXPECT_EQ(Dots(0.1), 11 * 9);  // x 0.5, 1.5 .. 10.5 and y 0.25 .. 8.25
}

TEST_F(GridTest, FarFromTheOriginTheDotsAreCountedNotStepped) {
    // A double near 1e12 moves in steps of about 1e-4: stepping by 2e-3 would be ragged.
    grid.spacingX = grid.spacingY = 2e-3;
    Show({.scale = 1e-4, .originX = 1e12, .originY = -1e12}, {101, 81});
    const int dots = DrawGrid(*canvas, view, grid, grid.colour, 0);
    EXPECT_GT(dots, 0);
    EXPECT_LE(dots, 7 * 6);
}

TEST(BackdropPlaceTest, ModesPlaceThePicture) {
    const SIZE box{100, 80}, picture{20, 10};
    struct Case {
        int mode;
        RECT expected;
    };
    const Case cases[] = {
        {0, {0, 0, 100, 80}},  {1, {0, 0, 20, 10}},   {2, {40, 0, 60, 10}},  {3, {80, 0, 100, 10}},
        {4, {0, 35, 20, 45}},  {5, {40, 35, 60, 45}}, {6, {80, 35, 100, 45}}, {7, {0, 70, 20, 80}},
        {8, {40, 70, 60, 80}}, {9, {80, 70, 100, 80}},
    };
    for (const Case& c : cases) {
        const std::optional<RECT> place = BackdropPlace(c.mode, box, picture);
        ASSERT_TRUE(place) << c.mode;
        EXPECT_EQ(place->left, c.expected.left) << c.mode;
        EXPECT_EQ(place->top, c.expected.top) << c.mode;
        EXPECT_EQ(place->right, c.expected.right) << c.mode;
        EXPECT_EQ(place->bottom, c.expected.bottom) << c.mode;
    }
    EXPECT_FALSE(BackdropPlace(-1, box, picture));
    EXPECT_FALSE(BackdropPlace(10, box, picture));
}

TEST(BackdropTest, PaintsTheBackgroundAndThePicture) {
    winforms::RecordingCanvas canvas(40, 30);
    winforms::Bitmap picture(4, 2);
    picture.GetCanvas().GetBrush().SetColor(RGB(255, 0, 0));
    picture.GetCanvas().FillRect({0, 0, 4, 2});
    PaintBackdrop(canvas, {40, 30}, RGB(0, 0, 128), &picture, 9);
    EXPECT_EQ(canvas.Pixel(0, 0), RGB(0, 0, 128));
    EXPECT_EQ(canvas.Pixel(39, 29), RGB(255, 0, 0));
    EXPECT_EQ(canvas.Pixel(35, 27), RGB(0, 0, 128));
    PaintBackdrop(canvas, {40, 30}, RGB(0, 128, 0), &picture, -1);
    EXPECT_EQ(canvas.Pixel(39, 29), RGB(0, 128, 0));
}

}  // namespace
}  // namespace linework
