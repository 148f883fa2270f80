// A drawing made by a script, as the adders draw it while the script runs: compared pixel for
// pixel with its golden picture (headless, on the test face's canvas). A temporary line (switch
// 55) is in the picture but not in the drawing.
#include <gtest/gtest.h>

#include "commands_fixture.h"
#include "display/entity_painter.h"
#include "display/painter_draw_hook.h"
#include "drawing/layer_table.h"
#include "drawing/view_transform.h"
#include "support/canvas_image.h"
#include "winforms/recording_canvas.h"
#include "winplat_harness/harness.h"

namespace linework::test {
namespace {

TEST_F(CommandsFixture, AScriptsDrawingLooksAsItsGolden) {
    constexpr int kWidth = 200, kHeight = 150;
    LayerTable layers(engine_->image);
    LayerScaleRanges ranges;
    ViewState view(engine_->image);
    DisplaySettings settings;
    PlaceholderRenderers placeholders;
    winforms::RecordingCanvas canvas(kWidth, kHeight);
    canvas.GetBrush().SetColor(settings.colours.Background());
    canvas.FillRect({0, 0, kWidth, kHeight});
    ASSERT_TRUE(view.SetViewTransform({}));
    view.UpdateViewTransform({1024, 768}, {kWidth, kHeight}, layers, ranges);
    EntityPainter painter(&canvas, view, layers, settings, KindRenderers::AllOf(placeholders));
    PainterDrawHook hook(painter);
    commands_->SetDrawHook(hook);

    ASSERT_EQ(Run({"sv 703 1; line 10 10 190 10; sv 703 2; circle 50 70 30; sv 703 3; arc 140 70 170 70 140 100",
                   "sv 703 4; pline 10 140 60 120 110 140 160 120; sv 703 5; point 100 40",
                   "sv 703 6; hatch 120 20 180 20 180 50 120 50",
                   "sv 55 1; sv 703 7; line 10 130 190 20; stop"}),
              "");
    EXPECT_EQ(Entities().size(), 6u);  // the temporary line is not kept
    winplat::test::Harness::Options options;
    options.goldenFolder = DRAFTING_GOLDEN_DIR;
    winplat::test::Harness harness(options);
    harness.expectImage(CanvasImage(canvas, kWidth, kHeight), "script_drawing");
}

}  // namespace
}  // namespace linework::test
