#include <algorithm>
#include <vector>

#include "../pixel_access.h"
#include "../pixmill_fixture.h"

namespace {

using UniqueColour = PixmillTest;

std::vector<int32_t> paletteOf(PxlImageId id) {
    std::vector<int32_t> colours;
    for (int i = 0; i < 256; ++i) colours.push_back(PXLGetColorFromPalette(id, i));
    return colours;
}

// 3 x 2 of indexes 0 1 2 / 0 1 3 on an all-black palette but for entries 1 to 3.
PxlImageId smallPicture() {
    const int indexes[] = {0, 1, 2, 0, 1, 3};
    const PxlImageId id = testpx::indexed(3, 2, 8, [&](int x, int y) { return indexes[3 * y + x]; });
    for (int i = 0; i < 256; ++i) PXLSetColorToPalette(id, i, RGB(0, 0, 0));
    PXLSetColorToPalette(id, 1, RGB(230, 230, 230));
    PXLSetColorToPalette(id, 2, RGB(10, 200, 10));
    PXLSetColorToPalette(id, 3, RGB(50, 60, 70));
    return id;
}

// A 5 x 4 reference whose part from (2, 1) shows: black, (230,230,230), (11,200,10) / red,
// (230,230,230), (50,60,70); everything else white.
PxlImageId reference24() {
    return testpx::truecolour(5, 4, [](int x, int y) {
        const COLORREF part[] = {RGB(0, 0, 0),   RGB(230, 230, 230), RGB(11, 200, 10),
                                 RGB(255, 0, 0), RGB(230, 230, 230), RGB(50, 60, 70)};
        const int px = x - 2, py = y - 1;
        return px >= 0 && px < 3 && py >= 0 && py < 2 ? part[3 * py + px] : RGB(255, 255, 255);
    });
}

TEST_F(UniqueColour, TakesTheFirstUnusedIndexAndAColourNoEntryIsNear) {
    const PxlImageId id = smallPicture();
    ASSERT_EQ(PXLCompareImagesAndFillByUniqueColor(id, reference24(), 2, 1), 4);
    EXPECT_EQ(testpx::pixels(id), (std::vector<uint32_t>{4, 4, 2, 0, 4, 4}))
        << "pixels equal to the reference";
    // Grid cells of 32: black and (230,230,230) take cells 0 and 511, so the highest free cell
    // is 510.
    EXPECT_EQ(PXLGetColorFromPalette(id, 4), RGB(224, 224, 192));
}

TEST_F(UniqueColour, AnEightBitReferenceComparesPaletteColours) {
    const PxlImageId id = smallPicture();
    const PxlImageId reference = PXLCreateImage(3, 2, 8);
    for (int i = 0; i < 256; ++i) PXLSetColorToPalette(reference, i, RGB(0, 0, 0));
    PXLSetColorToPalette(reference, 9, RGB(50, 60, 70));
    PXLSetColorToPalette(reference, 8, RGB(10, 200, 11));
    const int under[] = {5, 6, 8, 7, 1, 9};  // black, black, near entry 2, black, black, entry 3
    for (int k = 0; k < 6; ++k) testpx::setIndex(reference, k % 3, k / 3, under[k]);
    ASSERT_EQ(PXLCompareImagesAndFillByUniqueColor(id, reference, 0, 0), 4);
    EXPECT_EQ(testpx::pixels(id), (std::vector<uint32_t>{4, 1, 2, 4, 1, 4}));
}

TEST_F(UniqueColour, ASinglePaletteIndexEntryNamesTheIndexAndKeepsThePalette) {
    const PxlImageId id = smallPicture();
    const PxlTransparencyEntry entry = {0, 0, 200, 0, PXL_TRANSPARENT_INDEX, 0, 0};
    PXLSetImageTransparent(id, &entry, 1);
    const std::vector<int32_t> palette = paletteOf(id);
    ASSERT_EQ(PXLCompareImagesAndFillByUniqueColor(id, reference24(), 2, 1), 200);
    EXPECT_EQ(testpx::pixels(id), (std::vector<uint32_t>{200, 200, 2, 0, 200, 200}));
    EXPECT_EQ(paletteOf(id), palette);
}

TEST_F(UniqueColour, WithEveryIndexUsedTheEntriesClosestByDroppedBitsMerge) {
    // Entries differ in green everywhere; 10 and 11 differ only in green's lowest bit, 20 and 21
    // only in red's. Red loses its bit first, so 20 merges into 21.
    const PxlImageId id = testpx::indexed(16, 16, 8, [](int x, int y) { return 16 * y + x; });
    for (int i = 0; i < 256; ++i) PXLSetColorToPalette(id, i, RGB(i, 255 - i, (7 * i) % 256));
    PXLSetColorToPalette(id, 10, RGB(100, 50, 51));
    PXLSetColorToPalette(id, 11, RGB(100, 51, 51));
    PXLSetColorToPalette(id, 20, RGB(120, 90, 90));
    PXLSetColorToPalette(id, 21, RGB(121, 90, 90));
    const PxlImageId reference =
        testpx::truecolour(16, 16, [](int, int) { return RGB(1, 2, 3); });  // in no entry
    ASSERT_EQ(PXLCompareImagesAndFillByUniqueColor(id, reference, 0, 0), 20);
    const std::vector<uint32_t> pixels = testpx::pixels(id);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 20u), 0);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 21u), 2);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 10u), 1) << "the green pair stays";
    const COLORREF free = static_cast<COLORREF>(PXLGetColorFromPalette(id, 20));
    EXPECT_EQ(GetRValue(free) % 32 + GetGValue(free) % 32 + GetBValue(free) % 32, 0) << "a grid colour";
}

TEST_F(UniqueColour, Refusals) {
    const PxlImageId image = smallPicture();
    const PxlImageId reference = reference24();
    const std::vector<uint32_t> before = testpx::pixels(image);
    struct Case {
        const char* what;
        PxlImageId id, reference;
        int x, y;
    };
    const Case cases[] = {
        {"past the right edge", image, reference, 3, 0},
        {"past the bottom", image, reference, 0, 3},
        {"left of the reference", image, reference, -1, 0},
        {"a 24-bit image", reference, reference, 0, 0},
        {"a 4-bit reference", image, PXLCreateImage(5, 5, 4), 0, 0},
        {"no image", 0, reference, 0, 0},
        {"no reference", image, 0, 0, 0},
        {"an unknown reference", image, 99, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PXLCompareImagesAndFillByUniqueColor(c.id, c.reference, c.x, c.y), -1) << c.what;
        EXPECT_EQ(testpx::pixels(image), before) << c.what;
    }
}

}  // namespace
