// A test drawing regenerated at each step of a zoom in and back out about the paint box's centre,
// with the grid, each step compared with its golden picture pixel for pixel.
#include <gtest/gtest.h>

#include <string>

#include "display/grid.h"
#include "display/regeneration.h"
#include "display/view_zoom.h"
#include "drawing/entity_builders.h"
#include "painter_fixture.h"
#include "support/canvas_image.h"
#include "winplat_harness/harness.h"

namespace linework {
namespace {

constexpr int kWidth = 160, kHeight = 120;

struct ZoomSequenceTest : test::PainterTest {};

TEST_F(ZoomSequenceTest, ZoomStepsKeepTheCentreAndRedrawTheDrawing) {
    winplat::test::Harness::Options options;
    options.goldenFolder = DRAFTING_GOLDEN_DIR;
    winplat::test::Harness harness(options);
    Drawing drawing;
    const Point frame[] = {{0, 0}, {100, 0}, {100, 60}, {0, 60}, {0, 0}};
    PushEntity(drawing, MakePolyline(frame, {.colour = 7}));
    const Point diagonal[] = {{0, 0}, {100, 60}};
    PushEntity(drawing, MakePolyline(diagonal, {.colour = 2}, 0, 2));
    PushEntity(drawing, MakeArc({50, 30}, {70, 30}, {70, 30}, {.colour = 1}));
    PushEntity(drawing, MakeArc({50, 30}, {55, 30}, {45, 30}, {.colour = 3}));
    const Point dot[] = {{50, 30}};
    PushEntity(drawing, MakePolyline(dot, {.colour = 4}, 0, 0x08, 2));
    canvas = std::make_unique<winforms::RecordingCanvas>(kWidth, kHeight);
    Show({}, {kWidth, kHeight});
    const Box extents = ComputeDrawingExtents(drawing, drawing.head, view, layers, settings,
                                              KindRenderers::AllOf(placeholders));
    const std::optional<ViewTransform> start = ExtentsView({}, extents, {kWidth, kHeight});
    ASSERT_TRUE(start);
    Regenerator regenerator(view, layers, settings, KindRenderers::AllOf(placeholders));
    const GridSettings grid{.shown = true, .relative = false, .spacingX = 10, .spacingY = 10, .colour = 0x808080};
    ViewTransform current = *start;
    const double factors[] = {1, 0.5, 0.5, 0.5, 8};
    for (size_t step = 0; step < std::size(factors); ++step) {
        current = ZoomedByFactor(current, factors[step], {kWidth, kHeight});
        Show(current, {kWidth, kHeight});
        regenerator.Regenerate(*canvas, {kWidth, kHeight}, drawing, RGB(0, 0, 0), nullptr, true);
        DrawGrid(*canvas, view, grid, grid.colour, RGB(0, 0, 0));
        EXPECT_TRUE(harness.expectImage(test::CanvasImage(*canvas, kWidth, kHeight),
                                        "zoom_step_" + std::to_string(step)))
            << step;
        // The drawing's centre stays at the paint box's centre.
        EXPECT_NEAR(current.originX + kWidth * current.scale / 2, 50, 1e-9);
        EXPECT_NEAR(current.originY + kHeight * current.scale / 2, 30, 1e-9);
    }
    EXPECT_DOUBLE_EQ(current.scale, start->scale);
}

}  // namespace
}  // namespace linework
