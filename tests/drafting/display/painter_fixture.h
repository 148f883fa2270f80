// A painter over a recording canvas on a 641 x 481 paint box at scale 1 from the origin (world x
// 0..640 and y 0..480; world y 100 is row 380), with the default layers and settings.
#ifndef TESTS_DRAFTING_DISPLAY_PAINTER_FIXTURE_H
#define TESTS_DRAFTING_DISPLAY_PAINTER_FIXTURE_H

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "display/entity_painter.h"
#include "drawing/layer_table.h"
#include "drawing/view_transform.h"
#include "winforms/recording_canvas.h"

namespace linework::test {

struct PainterTest : ::testing::Test {
    SystemVariableImage image;
    LayerTable layers{image};
    LayerScaleRanges ranges;
    ViewState view{image};
    DisplaySettings settings;
    PlaceholderRenderers placeholders;
    std::unique_ptr<winforms::RecordingCanvas> canvas = std::make_unique<winforms::RecordingCanvas>();
    std::unique_ptr<EntityPainter> painter;

    void SetUp() override {
        ResetDrawingSettings(image);
        Show({}, {641, 481});
    }

    void Show(const ViewTransform& transform, PixelSize paintBox) {
        ASSERT_TRUE(view.SetViewTransform(transform));
        view.UpdateViewTransform({1024, 768}, paintBox, layers, ranges);
        painter = std::make_unique<EntityPainter>(canvas.get(), view, layers, settings,
                                                  KindRenderers::AllOf(placeholders));
    }

    const std::vector<std::string>& Drawn() const { return canvas->Lines(); }
};

// A recorded two-point polyline with the pen the painter sets for colour 7 (white) at 'width'.
inline std::string Line(int x1, int y1, int x2, int y2, int width = 1, const char* colour = "00ffffff") {
    return "Polyline " + std::to_string(x1) + "," + std::to_string(y1) + " " + std::to_string(x2) + "," +
           std::to_string(y2) + " pen " + colour + " w" + std::to_string(width) + " solid copy";
}

}  // namespace linework::test

#endif
