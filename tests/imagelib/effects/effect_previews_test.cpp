#include <vector>

#include "effect_test_support.h"
#include "effects/dialogs/effect_previews.h"

namespace {

using pixmill::effects::buildOriginalPreview;
using pixmill::effects::PreviewView;

using EffectPreview = PixmillTest;

constexpr Rgb K{0, 0, 0}, R{255, 0, 0}, G{0, 255, 0}, B{0, 0, 255}, W{255, 255, 255};

TEST_F(EffectPreview, FittedStretchesTheWholeSource) {
    const PxlImageId source = make24(2, 2, {R, G, B, W});
    const PxlImageId preview = buildOriginalPreview(source, 4, 2, {});
    ASSERT_NE(preview, 0);
    EXPECT_EQ(PXLbpp(preview), 24);
    EXPECT_EQ(pixelsOf(preview), (std::vector<Rgb>{R, R, G, G, B, B, W, W}));
    const PxlImageId smaller = buildOriginalPreview(make24(4, 2, {R, R, G, G, B, B, W, W}), 2, 1, {});
    EXPECT_EQ(PXLWidth(smaller), 2);
    EXPECT_EQ(PXLHeight(smaller), 1);
    EXPECT_EQ(pixelsOf(source), (std::vector<Rgb>{R, G, B, W})) << "the source stays";
}

// The source at its own size, the clicked spot (scaled to the source) at the centre, black round.
TEST_F(EffectPreview, DetailCentresTheClickedSpot) {
    const PxlImageId source = make24(4, 1, {R, G, B, W});
    struct Case {
        int clickX;
        std::vector<Rgb> row;
    };
    // Preview 4 x 1: centre x 2; click x scales by 4/4.
    for (const Case& c : {Case{0, {K, K, R, G}}, Case{1, {K, R, G, B}}, Case{2, {R, G, B, W}},
                          Case{3, {G, B, W, K}}, Case{9, {G, B, W, K}} /* limited to width - 1 */, Case{-5, {K, K, R, G}}}) {
        SCOPED_TRACE(c.clickX);
        const PxlImageId preview = buildOriginalPreview(source, 4, 1, {true, c.clickX, 0});
        ASSERT_NE(preview, 0);
        EXPECT_EQ(pixelsOf(preview), c.row);
        PXLDeleteImage(preview);
    }
}

TEST_F(EffectPreview, DetailScalesTheClickToTheSource) {
    // 8 x 1 source in a 4 x 1 preview: click 1 is source x 2, drawn at 4/2 - 2 = 0.
    const PxlImageId source = make24(8, 1, {R, G, B, W, R, G, B, W});
    const PxlImageId preview = buildOriginalPreview(source, 4, 1, {true, 1, 0});
    EXPECT_EQ(pixelsOf(preview), (std::vector<Rgb>{R, G, B, W}));
}

TEST_F(EffectPreview, PaletteImagesKeepEightBitsOthersShowInTrueColour) {
    const PxlImageId grey = PXLColorConvert(make24(2, 1, {R, W}), 8, 0, 0, 1, nullptr, nullptr);
    ASSERT_EQ(PXLbpp(grey), 8);
    const PxlImageId preview8 = buildOriginalPreview(grey, 4, 1, {});
    EXPECT_EQ(PXLbpp(preview8), 8);
    const std::vector<Rgb> shades = pixelsOf(grey);
    EXPECT_EQ(pixelsOf(preview8), (std::vector<Rgb>{shades[0], shades[0], shades[1], shades[1]}));

    const PxlImageId oneBit = PXLColorConvert(make24(2, 1, {K, W}), 1, 0, 0, 0, nullptr, nullptr);
    ASSERT_EQ(PXLbpp(oneBit), 1);
    // Click 1 of 4 is source x 1 of 2: the white pixel at the centre.
    const PxlImageId detail = buildOriginalPreview(oneBit, 4, 1, {true, 1, 0});
    EXPECT_EQ(PXLbpp(detail), 24);
    EXPECT_EQ(pixelsOf(detail), (std::vector<Rgb>{K, K, W, K}));
}

TEST_F(EffectPreview, NothingWithoutSourceOrSize) {
    winplat::testing::DebugCapture quiet;
    EXPECT_EQ(buildOriginalPreview(0, 4, 4, {}), 0);
    const PxlImageId source = make24(1, 1, {R});
    EXPECT_EQ(buildOriginalPreview(source, 0, 4, {}), 0);
    EXPECT_EQ(buildOriginalPreview(source, 4, -1, {true, 0, 0}), 0);
    EXPECT_EQ(pixmill::liveImageCount(), 1u) << "a refused preview leaves nothing behind";
}

}  // namespace
