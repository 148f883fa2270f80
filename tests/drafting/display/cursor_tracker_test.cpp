#include "display/cursor_tracker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "display/display_messages.h"
#include "drawing/angles.h"
#include "drawing/entity_builders.h"
#include "drawing/layer_table.h"
#include "support/canvas_image.h"
#include "winforms/recording_canvas.h"

namespace linework {
namespace {

constexpr int kWidth = 201, kHeight = 151;

using Raster = std::vector<COLORREF>;

Raster RasterOf(const winforms::RecordingCanvas& canvas) {
    return test::CanvasPixels(canvas, kWidth, kHeight);
}

struct RecordingHost : TrackingHost {
    std::vector<int> messages;
    int gridSnapOff = 0;
    std::vector<std::string> readouts;
    int hintLabel = -1;
    bool hintShown = false;
    std::vector<std::pair<Point, Point>> sketch;
    void ShowMessage(int number) override { messages.push_back(number); }
    void GridSnapSwitchedOff() override { ++gridSnapOff; }
    void ShowMarkerHint(int label, bool show) override {
        hintLabel = label;
        hintShown = show;
    }
    void SetReadout(std::string_view text) override { readouts.emplace_back(text); }
    void AddSketchSegment(Point from, Point to) override { sketch.emplace_back(from, to); }
};

// Scale 1 from the origin: world x is the column, world y is 150 minus the row.
struct TrackerTest : ::testing::Test {
    SystemVariableImage image;
    LayerTable layers{image};
    LayerScaleRanges ranges;
    ViewState view{image};
    RecordingHost host;
    winforms::RecordingCanvas canvas{kWidth, kHeight};
    CursorTracker tracker{view, host};

    void SetUp() override {
        view.UpdateViewTransform({1024, 768}, {kWidth, kHeight}, layers, ranges);
        // A scene of a few colours for the overlay to invert.
        canvas.GetBrush().SetColor(RGB(0, 0, 0));
        canvas.FillRect({0, 0, kWidth, kHeight});
        canvas.GetBrush().SetColor(RGB(200, 30, 90));
        canvas.FillRect({20, 20, 120, 90});
        canvas.GetPen().SetColor(RGB(10, 220, 40));
        const POINT line[2] = {{0, 140}, {200, 10}};
        canvas.Polyline(line);
        tracker.SetCanvas(&canvas, {kWidth, kHeight});
    }
    POINT PixelOf(Point world) const { return {view.WorldToScreenX(world.x), view.WorldToScreenY(world.y)}; }
};

TEST_F(TrackerTest, OverlayFiguresDrawnTwiceLeaveThePictureAsItWas) {
    const Raster before = RasterOf(canvas);
    auto figures = [&] {
        BeginOverlay(canvas, 0x0000FF);
        DrawCrossHair(canvas, {60, 50}, kWidth, kHeight);
        DrawSquareAround(canvas, {60, 50}, 5);
        DrawBandRectangle(canvas, {10, 10}, {150, 120});
        DrawBandLine(canvas, {5, 145}, {190, 3});
        DrawMarkerFigure(canvas, {100, 70});
        canvas.GetPen().SetStyle(winforms::PenStyle::Dot);
        DrawBandLine(canvas, {0, 0}, {200, 150});
        RestoreNormalPen(canvas);
    };
    figures();
    const Raster shown = RasterOf(canvas);
    EXPECT_NE(shown, before);
    EXPECT_EQ(canvas.GetPen().Mode(), winforms::PenMode::Copy);
    figures();
    EXPECT_EQ(RasterOf(canvas), before);
}

TEST_F(TrackerTest, TrackingAndHidingLeavesThePictureAsItWas) {
    const Raster before = RasterOf(canvas);
    tracker.step.waitingForSecondPoint = true;
    tracker.step.rectangle = true;
    tracker.step.pickSelection = true;
    tracker.SetObjectSnapMode(3);
    tracker.step.reference = {30, 30};
    tracker.AddSnapMarker(1, 1, {100, 100});
    for (POINT at : {POINT{40, 40}, POINT{41, 40}, POINT{150, 20}, POINT{30, 120}}) tracker.HandleMouseMove(at);
    EXPECT_TRUE(tracker.Shown().cursor);
    EXPECT_TRUE(tracker.Shown().rubberBand);
    EXPECT_TRUE(tracker.Shown().markers);
    EXPECT_TRUE(tracker.Shown().pickBox);
    EXPECT_TRUE(tracker.Shown().aperture);
    EXPECT_NE(RasterOf(canvas), before);
    tracker.AddSnapMarker(2, 1, {10, 10});  // drawn at once
    tracker.AddSnapMarker(0, 1, {100, 100}, true);  // erased at once
    tracker.HideAll();
    EXPECT_EQ(RasterOf(canvas), before);
    EXPECT_FALSE(tracker.Shown().cursor || tracker.Shown().rubberBand || tracker.Shown().markers);
}

TEST_F(TrackerTest, TheRubberBandRunsFromTheReferencePointToTheCursor) {
    tracker.step.waitingForSecondPoint = true;
    tracker.step.reference = {20, 130};
    tracker.step.first = {10, 100};
    canvas.Clear();
    tracker.HandleMouseMove({80, 60});
    EXPECT_EQ(tracker.step.rubberBandEnd, (Point{80, 90}));
    EXPECT_EQ(tracker.step.fromFirst, (Point{70, -10}));
    EXPECT_EQ(tracker.step.fromReference, (Point{60, -40}));
    bool band = false;
    for (const std::string& line : canvas.Lines()) band |= line.rfind("Polyline 20,20 80,60 ", 0) == 0;
    EXPECT_TRUE(band);
    EXPECT_EQ(host.readouts.back(), "R72.1<326.310st");
}

TEST_F(TrackerTest, OrthoAndAngleSnapApplyOnlyWhileASecondPointIsAwaited) {
    tracker.modes.ortho = true;
    tracker.HandleMouseMove(PixelOf({10, 3}));
    EXPECT_EQ(tracker.World(), (Point{10, 3}));
    tracker.step.waitingForSecondPoint = true;
    tracker.HandleMouseMove(PixelOf({10, 3}), true);
    EXPECT_EQ(tracker.World(), (Point{10, 0}));
    EXPECT_EQ(tracker.Pixel().y, PixelOf({10, 0}).y);
    tracker.modes.ortho = false;
    tracker.modes.angleSnap = true;
    tracker.modes.angleStep = 0;  // off: the point stays
    tracker.HandleMouseMove(PixelOf({10, 3}));
    EXPECT_EQ(tracker.World(), (Point{10, 3}));
    tracker.modes.angleStep = kHalfPi;
    tracker.HandleMouseMove(PixelOf({30, 4}));
    EXPECT_NEAR(tracker.World().y, 0, 1e-12);
    EXPECT_NEAR(tracker.World().x, std::hypot(30, 4), 1e-12);
}

TEST_F(TrackerTest, AGridTooFineTurnsGridSnapOffWithItsMessage) {
    tracker.modes.gridSnap = true;
    tracker.grid.spacingX = tracker.grid.spacingY = 4;
    tracker.HandleMouseMove({33, 77});
    EXPECT_EQ(host.messages, std::vector<int>{kGridTooFineMessage});
    EXPECT_EQ(host.gridSnapOff, 1);
    EXPECT_FALSE(tracker.modes.gridSnap);
    EXPECT_EQ(tracker.World(), (Point{33, 73}));
    // Once off, no more messages.
    tracker.HandleMouseMove({34, 77});
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(TrackerTest, AGridOfPitchAtTheMinimumSnapsAndASpacingOfZeroIsOff) {
    tracker.modes.gridSnap = true;
    tracker.grid.spacingX = tracker.grid.spacingY = 5;
    tracker.HandleMouseMove({33, 77});
    EXPECT_EQ(tracker.World(), (Point{35, 75}));
    EXPECT_EQ(tracker.Pixel().x, 35);
    tracker.grid.spacingX = 0;
    tracker.HandleMouseMove({41, 77});
    EXPECT_EQ(tracker.World(), (Point{41, 73}));
    EXPECT_TRUE(tracker.modes.gridSnap);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(TrackerTest, ANearMarkerTakesTheCursorAndShowsItsLabel) {
    tracker.overlay.snapApertureHalf = 5;  // 10 world units at scale 1
    tracker.AddSnapMarker(172, 1, {50, 50});
    tracker.AddSnapMarker(173, 1, {70, 50});
    tracker.HandleMouseMove(PixelOf({58, 55}));
    EXPECT_EQ(tracker.World(), (Point{50, 50}));
    EXPECT_TRUE(host.hintShown);
    EXPECT_EQ(host.hintLabel, 172);
    tracker.HandleMouseMove(PixelOf({61, 50}));
    EXPECT_EQ(tracker.World(), (Point{70, 50}));
    EXPECT_EQ(host.hintLabel, 173);
    tracker.HandleMouseMove(PixelOf({50, 61}));
    EXPECT_EQ(tracker.World(), (Point{50, 61}));
    EXPECT_FALSE(host.hintShown);
    tracker.markerSnapSuspended = true;
    tracker.HandleMouseMove(PixelOf({51, 51}));
    EXPECT_EQ(tracker.World(), (Point{51, 51}));
}

TEST_F(TrackerTest, AMarkerBeatsOrthoAndTheSamePixelDoesNothing) {
    tracker.modes.ortho = true;
    tracker.step.waitingForSecondPoint = true;
    tracker.AddSnapMarker(1, 1, {40, 33});
    tracker.HandleMouseMove(PixelOf({42, 35}));
    EXPECT_EQ(tracker.World(), (Point{40, 33}));
    const size_t readouts = host.readouts.size();
    tracker.HandleMouseMove(PixelOf({41, 34}));  // snaps to the same marker: the same pixel
    EXPECT_EQ(host.readouts.size(), readouts);
    tracker.HandleMouseMove(PixelOf({41, 34}), true);
    EXPECT_EQ(host.readouts.size(), readouts + 1);
}

TEST_F(TrackerTest, SketchingAddsASegmentFromThePreviousPoint) {
    tracker.HandleMouseMove(PixelOf({10, 10}));
    tracker.sketching = true;
    tracker.HandleMouseMove(PixelOf({20, 15}));
    ASSERT_EQ(host.sketch.size(), 1u);
    EXPECT_EQ(host.sketch[0].first, (Point{10, 10}));
    EXPECT_EQ(host.sketch[0].second, (Point{20, 15}));
}

TEST_F(TrackerTest, ConstructionCrossingsBecomeTemporaryMarkers) {
    tracker.step.waitingForSecondPoint = true;
    using C = CursorTracker::Construction;
    const std::vector<C> list = {
        {false, {0, 0}, {10, 10}},    // crosses the current line at (5, 5)
        {false, {0, 20}, {1, 20}},    // misses it within the segments
        {true, {5, 0}, {5, 3}},       // a circle of radius 3 round (5, 0)
        {false, {7, 7}, {7, 7}},      // no line at all
    };
    tracker.AddSnapMarkersOfList(list, {false, {0, 10}, {10, 0}});
    ASSERT_EQ(tracker.Markers().Markers().size(), 1u);
    EXPECT_EQ(tracker.Markers().Markers()[0].label, CursorTracker::kLineLineLabel);
    EXPECT_EQ(tracker.Markers().Markers()[0].count, -1);
    EXPECT_NEAR(tracker.Markers().Markers()[0].at.x, 5, 1e-12);
    tracker.PurgeSnapMarkers();
    // The current element a circle of radius 5 round (0, 0): the line from (0,0) to (10,10)
    // meets it once within the segment, the circle round (5, 0) twice.
    tracker.AddSnapMarkersOfList(list, {true, {0, 0}, {5, 0}});
    int lineCircle = 0, circleCircle = 0;
    for (const SnapMarker& m : tracker.Markers().Markers()) {
        lineCircle += m.label == CursorTracker::kLineCircleLabel;
        circleCircle += m.label == CursorTracker::kCircleCircleLabel;
        EXPECT_NEAR(std::hypot(m.at.x, m.at.y), 5, 1e-9);
    }
    EXPECT_EQ(lineCircle, 1);
    EXPECT_EQ(circleCircle, 2);
    EXPECT_EQ(tracker.Markers().TemporaryCount(), 3);
    tracker.PurgeSnapMarkers();
    EXPECT_TRUE(tracker.Markers().Markers().empty());
    // Without a waiting step nothing is added.
    tracker.step.waitingForSecondPoint = false;
    tracker.AddSnapMarkersOfList(list, {false, {0, 10}, {10, 0}});
    EXPECT_TRUE(tracker.Markers().Markers().empty());
}

// A line from (20, 20) to (60, 20) and a point entity at (100, 100), for the object snaps.
struct ObjectSnapTrackerTest : TrackerTest {
    Drawing drawing;
    void SetUp() override {
        TrackerTest::SetUp();
        layers.Reset();
        const Point line[] = {{20, 20}, {60, 20}};
        PushEntity(drawing, MakePolyline(line));
        const Point point[] = {{100, 100}};
        PushEntity(drawing, MakePolyline(point));
        tracker.drawing = &drawing;
        tracker.layers = &layers;
        tracker.overlay.pickBoxHalf = 3;  // 3 world units at scale 1
    }
};

TEST_F(ObjectSnapTrackerTest, TheSnapModeMovesTheCursorOntoTheEntityUnderThePickBox) {
    struct Case {
        int mode;
        Point cursor;
        Point expected;
    };
    const Case cases[] = {
        {0, {57, 22}, {57, 22}},     // off
        {3, {57, 22}, {60, 20}},     // the nearer end
        {3, {23, 17}, {20, 20}},
        {3, {57, 24}, {57, 24}},     // the pick box ends at y 21: the line is not under it
        {3, {57, 23}, {60, 20}},     // ... and at y 20 it is, bounds included
        {5, {30, 21}, {40, 20}},     // the middle
        {7, {102, 98}, {100, 100}},  // the point entity
        {7, {30, 21}, {30, 21}},     // a line is no point entity
        {6, {57, 22}, {57, 22}},     // a mode left open snaps nowhere
        {9, {57, 22}, {57, 22}},
    };
    for (const Case& c : cases) {
        tracker.SetObjectSnapMode(c.mode);
        tracker.HandleMouseMove(PixelOf(c.cursor), true);
        EXPECT_EQ(tracker.World(), c.expected) << "mode " << c.mode << " at " << c.cursor.x << "," << c.cursor.y;
    }
}

TEST_F(ObjectSnapTrackerTest, AnObjectSnapWinsOverOrthoAndIsOffForTheViewCommands) {
    tracker.SetObjectSnapMode(3);
    tracker.modes.ortho = true;
    tracker.step.waitingForSecondPoint = true;
    tracker.step.reference = {0, 0};
    tracker.HandleMouseMove(PixelOf({58, 22}), true);
    EXPECT_EQ(tracker.World(), (Point{60, 20}));
    tracker.step.viewCommand = true;
    tracker.HandleMouseMove(PixelOf({58, 22}), true);
    EXPECT_EQ(tracker.World(), (Point{58, 0})) << "ortho alone";
}

TEST_F(ObjectSnapTrackerTest, ModeTwelveGathersMarkersThatTheCursorSnapsToUntilTheModeIsLeft) {
    tracker.SetObjectSnapMode(12);
    tracker.HandleMouseMove(PixelOf({40, 21}), true);  // over the line: its ends become markers
    EXPECT_EQ(tracker.World(), (Point{40, 21})) << "mode 12 never moves the cursor itself";
    ASSERT_EQ(tracker.Markers().Markers().size(), 2u);
    EXPECT_EQ(tracker.Markers().TemporaryCount(), 2);
    tracker.HandleMouseMove(PixelOf({65, 25}), true);  // off the line, within the snap aperture of its end
    EXPECT_EQ(tracker.World(), (Point{60, 20}));
    tracker.SetObjectSnapMode(3);
    EXPECT_TRUE(tracker.Markers().Markers().empty());
    tracker.SetObjectSnapMode(0);
    tracker.HandleMouseMove(PixelOf({65, 25}), true);
    EXPECT_EQ(tracker.World(), (Point{65, 25}));
}

TEST_F(TrackerTest, SketchingStartsAtTheCursorWhereItWasSwitchedOn) {
    tracker.HandleMouseMove(PixelOf({10, 10}));
    tracker.HandleMouseMove(PixelOf({12, 12}));
    tracker.SetSketching(true);
    tracker.HandleMouseMove(PixelOf({20, 15}));
    tracker.HandleMouseMove(PixelOf({25, 15}));
    tracker.SetSketching(false);
    tracker.HandleMouseMove(PixelOf({30, 15}));
    ASSERT_EQ(host.sketch.size(), 2u);
    EXPECT_EQ(host.sketch[0].first, (Point{12, 12}));
    EXPECT_EQ(host.sketch[0].second, (Point{20, 15}));
    EXPECT_EQ(host.sketch[1].first, (Point{20, 15}));
    EXPECT_EQ(host.sketch[1].second, (Point{25, 15}));
}

TEST_F(TrackerTest, TheLimitsFrameIsDrawnDottedWithTheCursorAndRemovedWithIt) {
    const Raster before = RasterOf(canvas);
    tracker.SetDrawingLimits({true, {10, 10}, {180, 140}, RGB(255, 255, 0)});
    tracker.HandleMouseMove({100, 70});
    const Raster shown = RasterOf(canvas);
    // Along the frame's bottom edge (row 140) the dots alternate with what lay there.
    int changed = 0, kept = 0;
    for (int x = 40; x < 80; ++x) {
        const size_t at = static_cast<size_t>(140 * kWidth + x);
        (shown[at] != before[at] ? changed : kept) += 1;
    }
    EXPECT_GT(changed, 10);
    EXPECT_GT(kept, 10);
    // A frame of two corners on one line is a line (row 120); changing the limits moves it.
    tracker.SetDrawingLimits({true, {10, 30}, {180, 30}, RGB(255, 255, 0)});
    const Raster moved = RasterOf(canvas);
    int bottomChanged = 0, lineChanged = 0;
    for (int x = 40; x < 80; ++x) {
        bottomChanged += moved[static_cast<size_t>(140 * kWidth + x)] != before[static_cast<size_t>(140 * kWidth + x)];
        lineChanged += moved[static_cast<size_t>(120 * kWidth + x)] != before[static_cast<size_t>(120 * kWidth + x)];
    }
    EXPECT_EQ(bottomChanged, 0);
    EXPECT_GT(lineChanged, 10);
    EXPECT_EQ(moved[static_cast<size_t>(60 * kWidth + 10)], before[static_cast<size_t>(60 * kWidth + 10)])
        << "no left side";
    tracker.HideAll();
    EXPECT_EQ(RasterOf(canvas), before);
    // Switched off, the frame stays away.
    tracker.SetDrawingLimits({false, {10, 10}, {180, 140}, RGB(255, 255, 0)});
    tracker.HandleMouseMove({101, 70});
    tracker.DrawCursor(false);
    EXPECT_EQ(RasterOf(canvas), before);
}

}  // namespace
}  // namespace linework
