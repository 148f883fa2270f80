#include "display/drag_preview.h"

#include <gtest/gtest.h>

#include "drawing/entity_builders.h"
#include "painter_fixture.h"
#include "support/canvas_image.h"

namespace linework {
namespace {

constexpr int kWidth = 160, kHeight = 120;

struct DragPreviewTest : test::PainterTest {
    Drawing drawing;
    std::unique_ptr<DragPreview> preview;

    void SetUp() override {
        PainterTest::SetUp();
        canvas = std::make_unique<winforms::RecordingCanvas>(kWidth, kHeight);
        Show({}, {kWidth, kHeight});
        canvas->GetBrush().SetColor(RGB(20, 40, 60));
        canvas->FillRect({0, 0, kWidth, kHeight});
        preview = std::make_unique<DragPreview>(view, layers, settings, KindRenderers::AllOf(placeholders));
        for (int i = 0; i < 40; ++i) {
            const Point ends[2] = {{10.0 + i, 10}, {10.0 + i, 50}};
            preview->entities.push_back(PushEntity(drawing, MakePolyline(ends)));
        }
    }
    std::vector<COLORREF> Raster() const { return test::CanvasPixels(*canvas, kWidth, kHeight); }
};

TEST_F(DragPreviewTest, GivesUpWhenInterruptedAndErasesExactlyWhatItDrew) {
    const std::vector<COLORREF> before = Raster();
    int asked = 0;
    const size_t drawn = preview->Draw(*canvas, drawing, 0x0000FF, {5, 5}, [&] {
        ++asked;
        return true;
    });
    EXPECT_EQ(drawn, kPreviewInterruptStride);
    EXPECT_EQ(asked, 1);
    EXPECT_NE(Raster(), before);
    preview->Erase(*canvas, drawing, 0x0000FF);
    EXPECT_EQ(Raster(), before);
    EXPECT_FALSE(preview->Shown());
    // Uninterrupted it draws them all, and erasing still restores the picture.
    EXPECT_EQ(preview->Draw(*canvas, drawing, 0x0000FF, {60, 30}, [] { return false; }), 40u);
    EXPECT_EQ(canvas->Pixel(view.WorldToScreenX(70), view.WorldToScreenY(60)) != before[0], true);
    preview->Erase(*canvas, drawing, 0x0000FF);
    EXPECT_EQ(Raster(), before);
}

TEST_F(DragPreviewTest, RotateAndScaleTurnAboutTheFirstPoint) {
    preview->entities.resize(1);  // the line from (10, 10) to (10, 50)
    preview->base = {10, 10};
    const std::vector<COLORREF> before = Raster();
    auto changed = [&](double x, double y) {
        const int column = view.WorldToScreenX(x), row = view.WorldToScreenY(y);
        return canvas->Pixel(column, row) != before[static_cast<size_t>(row * kWidth + column)];
    };
    preview->kind = PreviewKind::Rotate;
    preview->Draw(*canvas, drawing, 0, {0, -3}, [] { return false; });  // a quarter turn clockwise
    EXPECT_TRUE(changed(40, 10));
    EXPECT_TRUE(changed(50, 10));
    EXPECT_FALSE(changed(10, 40));
    EXPECT_FALSE(changed(55, 10));
    preview->Erase(*canvas, drawing, 0);
    preview->kind = PreviewKind::Scale;
    preview->Draw(*canvas, drawing, 0, {2, 0}, [] { return false; });  // twice as long
    EXPECT_TRUE(changed(10, 85));
    EXPECT_TRUE(changed(10, 90));
    EXPECT_FALSE(changed(10, 95));
    preview->Erase(*canvas, drawing, 0);
    EXPECT_EQ(Raster(), before);
}

}  // namespace
}  // namespace linework
