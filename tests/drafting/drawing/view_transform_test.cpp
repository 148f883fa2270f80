#include "drawing/view_transform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "drawing/angles.h"

namespace linework {
namespace {

struct ViewTest : ::testing::Test {
    SystemVariableImage image;
    LayerTable layers{image};
    LayerScaleRanges ranges;
    ViewState state{image};

    void Show(const ViewTransform& view, PixelSize paintBox = {641, 481}) {
        ASSERT_TRUE(state.SetViewTransform(view));
        state.UpdateViewTransform({1024, 768}, paintBox, layers, ranges);
    }
};

TEST_F(ViewTest, MapsThePaintBox) {
    Show({});
    EXPECT_EQ(state.ScreenToWorldX(0), 0);
    EXPECT_EQ(state.ScreenToWorldY(480), 0);
    EXPECT_EQ(state.WorldToScreenX(640), 640);
    EXPECT_EQ(state.WorldToScreenY(480), 0);
    EXPECT_EQ(state.WorldToScreenY(0), 480);
    EXPECT_EQ(state.WorldRight(), 640);
    EXPECT_EQ(state.WorldTop(), 480);
    EXPECT_EQ(state.ScreenYOffset(), 480);
    EXPECT_EQ(state.MaxScale(), 1e19 / 640 * 2);
    EXPECT_EQ(state.MinScale(), 5e-15);
    Show({.scale = 0.5, .originX = 10, .originY = -20});
    EXPECT_EQ(state.ScreenToWorldX(4), 12);
    EXPECT_EQ(state.ScreenToWorldY(480), -20);
    EXPECT_EQ(state.WorldToScreenY(-19), 478);
    EXPECT_DOUBLE_EQ(state.MinScale(), 1e-14) << "5e-16 x the larger origin";
}

TEST_F(ViewTest, HalfPixelsRoundToEven) {
    Show({});
    const struct {
        double x;
        int32_t column;
    } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.5000001, 3}, {3.4999, 3}};
    for (auto c : cases) EXPECT_EQ(state.WorldToScreenX(c.x), c.column) << c.x;
    EXPECT_EQ(state.WorldToScreenY(0.5), 480) << "480 - 0.5 = 479.5 goes to the even 480";
}

TEST_F(ViewTest, HugeValuesSaturate) {
    Show({});
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(state.WorldToScreenX(1e30), kMax);
    EXPECT_EQ(state.WorldToScreenX(-1e30), kMin);
    EXPECT_EQ(state.WorldToScreenY(-1e30), kMax);
    EXPECT_EQ(state.WorldToScreenX(2147483647.0), kMax);
    EXPECT_EQ(state.WorldToScreenX(2147483646.4), kMax - 1);
    EXPECT_EQ(state.WorldToScreenX(std::numeric_limits<double>::infinity()), kMax);
    EXPECT_EQ(state.WorldToScreenX(std::nan("")), 0);
}

TEST_F(ViewTest, NonPositiveScalesAreRefused) {
    Show({.scale = 2});
    for (double scale : {0.0, -1.0, std::nan(""), std::numeric_limits<double>::infinity()}) {
        EXPECT_FALSE(state.SetViewTransform({.scale = scale})) << scale;
    }
    EXPECT_EQ(state.GetViewTransform().scale, 2);
    EXPECT_EQ(image.Double(kCurrentViewDouble), 2);
    // A drawing file or a script left a scale of 0 in the image: the view stays as it was.
    WriteView(image, kCurrentViewDouble, {.scale = 0, .originX = 5});
    state.UpdateViewTransform({800, 600}, {641, 481}, layers, ranges);
    EXPECT_EQ(state.GetViewTransform().scale, 2);
    EXPECT_EQ(image.Double(kCurrentViewDouble), 2);
    EXPECT_EQ(image.Double(kCurrentViewDouble + 1), 0);
    EXPECT_TRUE(std::isfinite(state.ScreenYOffset()));
    WriteView(image, kCurrentViewDouble + 10, {.scale = 3, .originX = 5, .eyeZ = 7});
    auto view = ReadView(image, kCurrentViewDouble + 10);
    ASSERT_TRUE(view.has_value());
    EXPECT_EQ(view->originX, 5);
    EXPECT_EQ(view->eyeZ, 7);
    EXPECT_EQ(image.Double(kCurrentViewDouble + 19), 7) << "the tenth double";
    // A view written into the image is taken by the next update.
    WriteView(image, kCurrentViewDouble, {.scale = 4, .originX = -8});
    state.UpdateViewTransform({800, 600}, {641, 481}, layers, ranges);
    EXPECT_EQ(state.WorldToScreenX(0), 2);
}

TEST_F(ViewTest, ATinyPaintBoxDividesByNothing) {
    for (int32_t width : {1, 0}) {
        Show({}, {width, 1});
        EXPECT_TRUE(std::isfinite(state.MaxScale())) << width;
        EXPECT_EQ(state.MaxScale(), 2e19);
    }
}

TEST_F(ViewTest, ZoomLimits) {
    Show({.scale = 1e-14});
    EXPECT_FALSE(state.ZoomAllowed(0.25));
    EXPECT_TRUE(state.ZoomAllowed(0.5));
    EXPECT_TRUE(state.ZoomAllowed(4));
    Show({.scale = 2e16});
    EXPECT_FALSE(state.ZoomAllowed(2));
    EXPECT_TRUE(state.ZoomAllowed(1.5));
    EXPECT_TRUE(state.ZoomAllowed(0.001));
}

TEST_F(ViewTest, HistoryDropsRepeatsAndTheOldest) {
    state.PushViewHistory();
    EXPECT_EQ(state.HistoryCount(), 0) << "the first view is already entry 0";
    for (int i = 1; i <= 63; ++i) {
        ASSERT_TRUE(state.SetViewTransform({.scale = 1.0 * (i + 1)}));
        state.PushViewHistory();
        state.PushViewHistory();
    }
    EXPECT_EQ(state.HistoryCount(), 63);
    EXPECT_EQ(state.HistoryEntry(0).scale, 64);
    EXPECT_EQ(state.HistoryEntry(63).scale, 1) << "64 views: none dropped yet";
    ASSERT_TRUE(state.SetViewTransform({.scale = 3}));  // still in the history
    state.PushViewHistory();
    EXPECT_EQ(state.HistoryEntry(0).scale, 64);
    ASSERT_TRUE(state.SetViewTransform({.scale = 65}));
    state.PushViewHistory();
    EXPECT_EQ(state.HistoryCount(), 63);
    EXPECT_EQ(state.HistoryEntry(0).scale, 65);
    EXPECT_EQ(state.HistoryEntry(63).scale, 2) << "the 65th view dropped the oldest";
}

TEST_F(ViewTest, SteppingThroughTheHistory) {
    for (double scale : {2.0, 3.0}) {
        ASSERT_TRUE(state.SetViewTransform({.scale = scale}));
        state.PushViewHistory();
    }
    ASSERT_EQ(state.HistoryCount(), 2);
    EXPECT_FALSE(state.StepViewHistory(-1));
    EXPECT_FALSE(state.StepViewHistory(3)) << "beyond the oldest entry";
    EXPECT_EQ(state.historyPosition, 0);
    ASSERT_TRUE(state.StepViewHistory(2));
    EXPECT_EQ(state.GetViewTransform().scale, 1);
    EXPECT_TRUE(state.viewChanged);
    ASSERT_TRUE(state.StepViewHistory(-1));
    EXPECT_EQ(state.GetViewTransform().scale, 2);
    EXPECT_EQ(image.Double(kCurrentViewDouble), 2);
}

TEST_F(ViewTest, RememberOnceDuringAWheelZoom) {
    state.historyPosition = 5;
    ASSERT_TRUE(state.SetViewTransform({.scale = 2}));
    state.suppressRemember = true;
    state.RememberCurrentView();
    EXPECT_EQ(state.savedView.scale, 2);
    EXPECT_EQ(state.historyPosition, 0);
    ASSERT_TRUE(state.SetViewTransform({.scale = 3}));
    state.RememberCurrentView();
    EXPECT_EQ(state.savedView.scale, 2) << "the latch holds during the run";
    EXPECT_EQ(state.HistoryCount(), 1);
    state.suppressRemember = false;
    state.RememberCurrentView();
    EXPECT_EQ(state.savedView.scale, 3);
    EXPECT_EQ(state.HistoryCount(), 2);
}

TEST_F(ViewTest, ViewKinds) {
    const struct {
        double a1, a2, a3;
        int kind;
    } cases[] = {{0, 0, 0, 0}, {-kHalfPi, 0, 0, 1}, {-kHalfPi, -kHalfPi, 0, 2}, {0, 0, 0.1, 3}, {0.1, 0, 0, 3},
                 {-kHalfPi, 0.1, 0, 3}};
    for (auto c : cases) {
        Show({.angle1 = c.a1, .angle2 = c.a2, .angle3 = c.a3});
        EXPECT_EQ(state.ViewKind(), c.kind) << c.a1 << " " << c.a2 << " " << c.a3;
    }
}

TEST_F(ViewTest, ProjectPoint3D) {
    Show({});
    Point out;
    ASSERT_TRUE(state.ProjectPoint3D(3.25, -7, 100, out));
    EXPECT_EQ(out, (Point{3.25, -7})) << "plan view without perspective is the identity";
    Show({.angle3 = kHalfPi});
    ASSERT_TRUE(state.ProjectPoint3D(1, 0, 0, out));
    EXPECT_NEAR(out.x, 0, 1e-15);
    EXPECT_NEAR(out.y, 1, 1e-15);
    // Perspective from distance 10: the near limit is depth 5; in plan view the depth is z.
    Show({.distance = 10});
    EXPECT_TRUE(state.Perspective());
    EXPECT_EQ(state.NearLimit(), 5);
    EXPECT_FALSE(state.ProjectPoint3D(1, 1, 5, out)) << "exactly at the near limit";
    ASSERT_TRUE(state.ProjectPoint3D(2, 4, std::nextafter(5.0, 0.0), out));
    ASSERT_TRUE(state.ProjectPoint3D(2, 4, -10, out));
    EXPECT_EQ(out, (Point{1, 2})) << "twice the distance away: half the size";
    Show({.distance = 10, .eyeX = 1, .eyeY = 1, .eyeZ = 5});
    ASSERT_TRUE(state.ProjectPoint3D(3, 5, -5, out));
    EXPECT_EQ(out, (Point{1, 2})) << "the eye is subtracted first";
}

TEST_F(ViewTest, UpdateSetsTheLayerScaleFlags) {
    ranges.enabled = true;
    ranges.ranges[9] = {0, 5};
    Show({.scale = 4});
    EXPECT_TRUE(layers.Has(9, layer_flag::kOutOfScaleRange));
    Show({.scale = 5});
    EXPECT_FALSE(layers.Has(9, layer_flag::kOutOfScaleRange));
}

}  // namespace
}  // namespace linework
