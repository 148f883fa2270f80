#include "display/view_zoom.h"

#include <gtest/gtest.h>

#include "drawing/entity_builders.h"
#include "painter_fixture.h"

namespace linework {
namespace {

constexpr PixelSize kBox{800, 600};

TEST(ExtentsViewTest, AHundredByTenDrawingFillsTheWidthWithAMargin) {
    const std::optional<ViewTransform> view = ExtentsView({}, {0, 0, 100, 10}, kBox);
    ASSERT_TRUE(view);
    EXPECT_DOUBLE_EQ(view->scale, 0.13125);
    // Centred: (100 - 800 x 0.13125) / 2 and (10 - 600 x 0.13125) / 2.
    EXPECT_DOUBLE_EQ(view->originX, -2.5);
    EXPECT_DOUBLE_EQ(view->originY, -34.375);
}

TEST(ExtentsViewTest, TheTallerSideWinsWhenItNeedsMore) {
    const std::optional<ViewTransform> view = ExtentsView({}, {10, 20, 20, 320}, kBox);
    ASSERT_TRUE(view);
    EXPECT_DOUBLE_EQ(view->scale, 1.05 * 300 / 600);
}

TEST(ExtentsViewTest, ASinglePointGetsScaleOneInTheCentre) {
    const std::optional<ViewTransform> view = ExtentsView({.scale = 7}, {30, 40, 30, 40}, kBox);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->scale, 1);
    EXPECT_DOUBLE_EQ(view->originX, 30 - 400);
    EXPECT_DOUBLE_EQ(view->originY, 40 - 300);
}

TEST(ExtentsViewTest, ASideOfAtLeastTheNoSizeBoundIsMeasured) {
    // 1e-19 is no longer "no size": the scale follows it.
    const std::optional<ViewTransform> view = ExtentsView({}, {0, 0, 1e-19, 0}, kBox);
    ASSERT_TRUE(view);
    EXPECT_DOUBLE_EQ(view->scale, 1.05 * 1e-19 / 800);
    const std::optional<ViewTransform> below = ExtentsView({}, {0, 0, 0.9e-19, 0}, kBox);
    ASSERT_TRUE(below);
    EXPECT_EQ(below->scale, 1);
}

TEST(ExtentsViewTest, AnEmptyBoxGivesNoView) {
    EXPECT_FALSE(ExtentsView({}, {kExtentsStart, kExtentsStart, -kExtentsStart, -kExtentsStart}, kBox));
    EXPECT_FALSE(ExtentsView({}, {1, 0, 0, 5}, kBox));
}

TEST(ZoomTest, ZoomByTwoKeepsTheCentreFixed) {
    const ViewTransform view{.scale = 0.5, .originX = 10, .originY = -20};
    const double cx = 10 + 800 * 0.5 / 2, cy = -20 + 600 * 0.5 / 2;
    for (double factor : {2.0, 0.5, 1.0905077326652577}) {
        const ViewTransform zoomed = ZoomedByFactor(view, factor, kBox);
        EXPECT_DOUBLE_EQ(zoomed.scale, 0.5 * factor);
        EXPECT_DOUBLE_EQ(zoomed.originX + 800 * zoomed.scale / 2, cx) << factor;
        EXPECT_DOUBLE_EQ(zoomed.originY + 600 * zoomed.scale / 2, cy) << factor;
    }
}

TEST(ZoomTest, PanMovesByFractionsOfTheBox) {
    const ViewTransform panned = PannedByScreenFraction({.scale = 2, .originX = 1, .originY = 1}, 0.25, -1, kBox);
    EXPECT_DOUBLE_EQ(panned.originX, 1 + 800 * 2 * 0.25);
    EXPECT_DOUBLE_EQ(panned.originY, 1 - 600 * 2);
    EXPECT_EQ(panned.scale, 2);
}

TEST(ZoomTest, CentredOnPutsThePointInTheMiddle) {
    const ViewTransform centred = CentredOn({.scale = 0.25}, {100, -50}, kBox);
    EXPECT_DOUBLE_EQ(centred.originX + 400 * 0.25, 100);
    EXPECT_DOUBLE_EQ(centred.originY + 300 * 0.25, -50);
}

struct ZoomLimitTest : test::PainterTest {
    void At(double scale) { Show({.scale = scale}, {801, 601}); }
};

TEST_F(ZoomLimitTest, LimitsAreCheckedOnBothSidesWithTheEqualCaseAllowed) {
    At(1);
    const double maxScale = view.MaxScale();  // 2e19 / 800
    const double minScale = view.MinScale();  // 5e-15 at the origin
    struct Case {
        double scale, factor;
        ZoomLimit expected;
    };
    const Case cases[] = {
        {maxScale / 2, 2, ZoomLimit::Allowed},          // lands exactly on the largest scale
        {maxScale / 2, 2.0000001, ZoomLimit::TooLarge},  // just above
        {maxScale * 2, 0.5, ZoomLimit::Allowed},        // shrinking from above is always allowed
        {minScale * 2, 0.5, ZoomLimit::Allowed},        // exactly the smallest
        {minScale * 2, 0.4999999, ZoomLimit::TooSmall},
        {minScale / 2, 2, ZoomLimit::Allowed},          // growing from below is always allowed
        {1, 1, ZoomLimit::Allowed},
        {1, 0, ZoomLimit::TooSmall},                    // no view at all
        {1, -2, ZoomLimit::TooSmall},
        {1, std::numeric_limits<double>::quiet_NaN(), ZoomLimit::TooSmall},
    };
    for (const Case& c : cases) {
        At(c.scale);
        EXPECT_EQ(CheckZoomLimits(view, c.factor), c.expected) << c.scale << " x " << c.factor;
    }
    EXPECT_EQ(ZoomLimitMessage(ZoomLimit::TooSmall), 14);
    EXPECT_EQ(ZoomLimitMessage(ZoomLimit::TooLarge), 17);
    EXPECT_EQ(ZoomLimitMessage(ZoomLimit::Allowed), 0);
}

struct DrawingExtentsTest : test::PainterTest {
    Drawing drawing;
    void Add(EntityRecord record) { ASSERT_NE(PushEntity(drawing, std::move(record)), 0u); }
    Box Extents() {
        return ComputeDrawingExtents(drawing, drawing.head, view, layers, settings, KindRenderers::AllOf(placeholders));
    }
};

TEST_F(DrawingExtentsTest, ShownEntitiesCountAndTheOthersDoNot) {
    const Point line[] = {{-5, 2}, {40, 7}};
    Add(MakePolyline(line));
    const Point far[] = {{1000, 1000}, {2000, 2000}};
    Add(MakePolyline(far, {.layer = 3}));
    layers.SetWord(3, layers.Word(3) | layer_flag::kHidden);
    const Point erased[] = {{-900, -900}};
    Add(MakePolyline(erased));
    drawing[drawing.head].SetByte(entity_field::kKindAndFlags, 0x10 | entity_flag::kErased);
    Add(MakeArc({0, 0}, {3, 0}, {3, 0}));
    const Box box = Extents();
    EXPECT_EQ(box.x1, -5);
    EXPECT_EQ(box.y1, -3);
    EXPECT_EQ(box.x2, 40);
    EXPECT_EQ(box.y2, 7);
    EXPECT_TRUE(AnyEntityOnHiddenLayer(drawing, drawing.head, layers));
}

TEST_F(DrawingExtentsTest, ALayerOutsideItsScaleRangeStillCountsAndKeepsItsFlag) {
    const Point line[] = {{1, 1}, {2, 3}};
    Add(MakePolyline(line, {.layer = 5}));
    const uint32_t word = layers.Word(5) | layer_flag::kOutOfScaleRange;
    layers.SetWord(5, word);
    const Box box = Extents();
    EXPECT_EQ(box.x1, 1);
    EXPECT_EQ(box.y2, 3);
    EXPECT_EQ(layers.Word(5), word);
    EXPECT_TRUE(AnyEntityOnHiddenLayer(drawing, drawing.head, layers));
}

TEST_F(DrawingExtentsTest, AnEmptyDrawingHasMinAboveMax) {
    const Box box = Extents();
    EXPECT_GT(box.x1, box.x2);
    EXPECT_FALSE(ExtentsView({}, box, kBox));
    EXPECT_FALSE(AnyEntityOnHiddenLayer(drawing, drawing.head, layers));
}

}  // namespace
}  // namespace linework
