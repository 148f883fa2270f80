#include "effect_test_support.h"
#include "effects/shade_palette.h"

namespace {

using ShadePalette = PixmillTest;

Rgb entryOf(PxlImageId id, int index) {
    const COLORREF c = static_cast<COLORREF>(PXLGetColorFromPalette(id, index));
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

void shade(PxlImageId id, COLORREF colour) {
    pixmill::ImageLock image = pixmill::lockImage(id, pixmill::Access::Write);
    pixmill::effects::makeShadePalette(*image, colour);
}

TEST_F(ShadePalette, RampsFromTheColourLessItsSmallestChannel) {
    struct Case {
        COLORREF colour;
        int index;
        Rgb entry;
    };
    const Case cases[] = {
        {RGB(0, 0, 0), 0, {0, 0, 0}},           {RGB(0, 0, 0), 77, {77, 77, 77}},
        {RGB(0, 0, 0), 255, {255, 255, 255}},    {RGB(200, 100, 50), 0, {150, 50, 0}},
        {RGB(200, 100, 50), 100, {250, 150, 100}}, {RGB(200, 100, 50), 200, {255, 250, 200}},
        {RGB(9, 9, 9), 5, {5, 5, 5}},            {RGB(0, 255, 30), 1, {1, 255, 31}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.colour << std::dec << " entry " << c.index);
        const PxlImageId id = PXLCreateImage(2, 2, 8);
        shade(id, c.colour);
        EXPECT_EQ(entryOf(id, c.index), c.entry);
        PXLDeleteImage(id);
    }
}

TEST_F(ShadePalette, OtherDepthsAreLeftAlone) {
    const PxlImageId four = PXLCreateImage(2, 2, 4);
    const Rgb before = entryOf(four, 9);
    shade(four, RGB(0, 0, 0));
    EXPECT_EQ(entryOf(four, 9), before);
    const PxlImageId trueColour = make24(1, 1, {{1, 2, 3}});
    shade(trueColour, RGB(0, 0, 0));
    EXPECT_EQ(pixelsOf(trueColour), (std::vector<Rgb>{{1, 2, 3}}));
}

}  // namespace
