#include "display/regeneration.h"

#include <gtest/gtest.h>

#include "display/cursor_tracker.h"
#include "drawing/entity_builders.h"
#include "painter_fixture.h"
#include "support/canvas_image.h"

namespace linework {
namespace {

constexpr int kWidth = 120, kHeight = 90;

struct RegenerationTest : test::PainterTest {
    Drawing drawing;
    std::unique_ptr<Regenerator> regenerator;
    std::unique_ptr<winforms::RecordingCanvas> screen = std::make_unique<winforms::RecordingCanvas>(kWidth, kHeight);

    void SetUp() override {
        PainterTest::SetUp();
        Show({}, {kWidth, kHeight});
        regenerator = std::make_unique<Regenerator>(view, layers, settings, KindRenderers::AllOf(placeholders));
    }
    EntityHandle Line(Point a, Point b, uint8_t colour) {
        const Point ends[2] = {a, b};
        return PushEntity(drawing, MakePolyline(ends, {.colour = colour}));
    }
    EntityHandle Mark(std::string name = std::string(kForegroundMarkName)) {
        return PushEntity(drawing, MakeInsert(AddBlockDef(drawing, std::move(name), {}), {0, 0}));
    }
    RegenerationResult Regenerate(bool viewChanged = false) {
        return regenerator->Regenerate(*screen, {kWidth, kHeight}, drawing, RGB(0, 0, 0), nullptr, viewChanged);
    }
    std::vector<COLORREF> Raster() const { return test::CanvasPixels(*screen, kWidth, kHeight); }
};

TEST_F(RegenerationTest, TheForegroundMarkIsAnInsertOfAnEmptyBlockOfThatName) {
    Line({1, 1}, {2, 2}, 1);
    EXPECT_EQ(FindForegroundMark(drawing), 0u);
    const EntityHandle other = Mark("$LK_BG");
    EXPECT_EQ(FindForegroundMark(drawing), 0u);
    // A block of the name that holds entities is no mark.
    const BlockHandle full = AddBlockDef(drawing, std::string(kForegroundMarkName), {});
    const Point ends[2] = {{0, 0}, {1, 1}};
    AppendToBlock(drawing, full, MakePolyline(ends));
    PushEntity(drawing, MakeInsert(full, {0, 0}));
    EXPECT_EQ(FindForegroundMark(drawing), 0u);
    const EntityHandle mark = Mark();
    EXPECT_EQ(FindForegroundMark(drawing), mark);
    drawing[mark].SetByte(entity_field::kKindAndFlags, 0xA0 | entity_flag::kErased);
    EXPECT_EQ(FindForegroundMark(drawing), 0u);
    EXPECT_NE(other, 0u);
}

TEST_F(RegenerationTest, TheCachedBackgroundKeepsEveryEntity) {
    Line({10, 10}, {100, 10}, 1);  // older: behind the mark
    Line({10, 20}, {100, 20}, 2);
    Mark();
    Line({10, 40}, {100, 70}, 3);  // newer: in front of it
    regenerator->options.foregroundCache = false;
    RegenerationResult full = Regenerate();
    EXPECT_EQ(full.entities, 4u);
    const std::vector<COLORREF> expected = Raster();
    EXPECT_EQ(screen->Pixel(50, view.WorldToScreenY(10)), 0x0000FFu);
    EXPECT_EQ(screen->Pixel(50, view.WorldToScreenY(20)), 0x00FFFFu);

    regenerator->options.foregroundCache = true;
    const RegenerationResult first = Regenerate(true);
    EXPECT_FALSE(first.fromCache);
    EXPECT_EQ(Raster(), expected);
    const RegenerationResult second = Regenerate();
    EXPECT_TRUE(second.fromCache);
    EXPECT_EQ(second.entities, 1u);  // only the one in front of the mark
    EXPECT_EQ(Raster(), expected);
    // A changed view draws everything again.
    EXPECT_FALSE(Regenerate(true).fromCache);
}

TEST_F(RegenerationTest, AnEditBehindTheMarkShowsAtTheNextRegeneration) {
    const EntityHandle old = Line({10, 10}, {100, 10}, 1);
    Mark();
    Line({10, 40}, {100, 70}, 3);
    regenerator->options.foregroundCache = true;
    Regenerate(true);
    EXPECT_TRUE(Regenerate().fromCache);
    drawing[old].SetDouble(entity_field::kVertices + 8, 30.0);  // the first vertex moves up
    drawing[old].SetDouble(entity_field::kVertices + 24, 30.0);
    const RegenerationResult after = Regenerate();
    EXPECT_FALSE(after.fromCache);
    EXPECT_EQ(screen->Pixel(50, view.WorldToScreenY(30)), 0x0000FFu);
    EXPECT_EQ(screen->Pixel(50, view.WorldToScreenY(10)), 0u);
    // Erasing it, and a layer hidden, count as changes too.
    drawing[old].SetByte(entity_field::kKindAndFlags, 0x10 | entity_flag::kErased);
    EXPECT_FALSE(Regenerate().fromCache);
    EXPECT_TRUE(Regenerate().fromCache);
    layers.SetWord(0, layers.Word(0) | layer_flag::kHidden);
    EXPECT_FALSE(Regenerate().fromCache);
}

TEST_F(RegenerationTest, DoubleBufferedAndDirectDrawTheSame) {
    Line({5, 5}, {110, 80}, 4);
    Line({5, 80}, {110, 5}, 5);
    regenerator->options.doubleBuffer = false;
    Regenerate();
    const std::vector<COLORREF> direct = Raster();
    screen = std::make_unique<winforms::RecordingCanvas>(kWidth, kHeight);
    regenerator->options.doubleBuffer = true;
    Regenerate();
    EXPECT_EQ(Raster(), direct);
    // Through the buffer the screen gets one copy and no line of its own.
    EXPECT_EQ(screen->Count("Polyline"), 0u);
    EXPECT_EQ(screen->Count("CopyRect"), 1u);
}

TEST_F(RegenerationTest, WhileSuspendedARegenerationIsOnlyPending) {
    Line({5, 5}, {110, 80}, 4);
    regenerator->suspended = true;
    const RegenerationResult result = Regenerate();
    EXPECT_FALSE(result.drawn);
    EXPECT_TRUE(regenerator->pending);
    EXPECT_TRUE(screen->Lines().empty());
    regenerator->suspended = false;
    EXPECT_TRUE(Regenerate().drawn);
    EXPECT_FALSE(regenerator->pending);
}

TEST_F(RegenerationTest, APaintOfPartOfTheBoxKeepsTheOverlayWhole) {
    Line({5, 5}, {110, 80}, 4);
    Line({5, 80}, {110, 5}, 5);
    Regenerate();
    const std::vector<COLORREF> clean = Raster();
    TrackingHost host;
    CursorTracker tracker(view, host);
    tracker.SetCanvas(screen.get(), {kWidth, kHeight});
    tracker.step.waitingForSecondPoint = true;
    tracker.step.reference = {20, 20};
    tracker.AddSnapMarker(1, 1, {60, 60});
    tracker.HandleMouseMove({30, 30});
    // A paint of the top left quarter only: the overlay outside it stays on the screen.
    screen->SetClipRect({0, 0, kWidth / 2, kHeight / 2});
    regenerator->Regenerate(*screen, {kWidth, kHeight}, drawing, RGB(0, 0, 0), nullptr, false,
                            [&](winforms::Canvas& picture) { tracker.ReplayShown(picture); });
    screen->SetClipRect({0, 0, 0, 0});
    tracker.HandleMouseMove({90, 70});
    tracker.HideAll();
    EXPECT_EQ(Raster(), clean);
}

TEST_F(RegenerationTest, DrawingOffPaintsTheBackgroundOnly) {
    Line({5, 5}, {110, 80}, 4);
    regenerator->options.drawingOn = false;
    EXPECT_EQ(Regenerate().entities, 0u);
    for (COLORREF pixel : Raster()) ASSERT_EQ(pixel, 0u);
}

}  // namespace
}  // namespace linework
