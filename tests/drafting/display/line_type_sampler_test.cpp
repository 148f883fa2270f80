// The "line types and colours" sampler: every line type at widths 1 and 3, a dashed polyline
// round corners, arcs and circles in the fifteen basic colours, point markers, drawn headless on
// the grey background and compared with the golden picture pixel for pixel.
#include <gtest/gtest.h>

#include <string>

#include "display/entity_painter.h"
#include "drawing/entity_builders.h"
#include "painter_fixture.h"
#include "support/canvas_image.h"
#include "winplat_harness/harness.h"

namespace linework {
namespace {

EntityRecord Segment(Point a, Point b, HeadFields head, uint8_t lineType) {
    const Point ends[2] = {a, b};
    return MakePolyline(ends, head, 0, lineType);
}

struct SamplerTest : test::PainterTest {};

TEST_F(SamplerTest, LineTypesAndColours) {
    constexpr int kWidth = 320, kHeight = 240;
    winplat::test::Harness::Options options;
    options.goldenFolder = DRAFTING_GOLDEN_DIR;
    winplat::test::Harness harness(options);
    canvas = std::make_unique<winforms::RecordingCanvas>(kWidth, kHeight);
    canvas->GetBrush().SetColor(settings.colours.Background());
    canvas->FillRect({0, 0, kWidth, kHeight});
    Show({}, {kWidth, kHeight});
    canvas->GetBrush().SetStyle(winforms::BrushStyle::Clear);
    canvas->GetFont().SetColor(0xFFFFFF);
    // Line types 1..7, each at width 1 (left) and 3 (right), in colours 1..7.
    for (int type = 1; type <= 7; ++type) {
        double y = kHeight - 1 - 14.0 * type;
        canvas->TextOut(2, kHeight - 1 - static_cast<int>(y) - 7, std::to_string(type));
        auto colour = static_cast<uint8_t>(type == 7 ? 8 : type);
        painter->DrawEntity(Segment({14, y}, {150, y}, {.colour = colour, .width = 1}, static_cast<uint8_t>(type)));
        painter->DrawEntity(Segment({160, y}, {310, y}, {.colour = colour, .width = 3}, static_cast<uint8_t>(type)));
    }
    // A dash-dot polyline whose pattern runs on round its corners.
    const Point zigzag[] = {{14, 20}, {60, 80}, {100, 20}, {140, 80}};
    painter->DrawEntity(MakePolyline(zigzag, {.colour = 2}, 0, 4));
    // Circles in the fifteen basic colours, and an arc the long way round.
    for (int colour = 1; colour <= 15; ++colour) {
        double cx = 160 + 10.0 * (colour - 1), cy = 30 + (colour % 2) * 12;
        painter->DrawEntity(MakeArc({cx, cy}, {cx + 5, cy}, {cx + 5, cy}, {.colour = static_cast<uint8_t>(colour)}));
    }
    painter->DrawEntity(MakeArc({230, 80}, {230, 95}, {245, 80}, {.colour = 4, .width = 3}, 2));
    // Point markers: dot, small square, square, plus and diagonal cross.
    const uint8_t markers[] = {0x01, 0x02, 0x04, 0x08, 0x10};
    for (int i = 0; i < 5; ++i) {
        const Point at[] = {{170 + 12.0 * i, 100}};
        painter->DrawEntity(MakePolyline(at, {.colour = 7}, 0, markers[i], 8));
    }
    harness.expectImage(test::CanvasImage(*canvas, kWidth, kHeight), "line_type_sampler");
}

}  // namespace
}  // namespace linework
