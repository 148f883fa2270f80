#include <cstring>
#include <vector>

#include "../pixmill_fixture.h"
#include "core/colour/colour_replace.h"

namespace {

using ColourReplace = PixmillTest;

uint8_t* rowFromTop(PxlImageId id, int y) { return PXLGetBits(id) + (PXLHeight(id) - 1 - y) * PXLGetScanBytes(id); }

void setRow(PxlImageId id, int y, const std::vector<uint8_t>& bytes) {
    std::memcpy(rowFromTop(id, y), bytes.data(), bytes.size());
}

std::vector<uint8_t> rowBytes(PxlImageId id, int y, size_t count) {
    const uint8_t* row = rowFromTop(id, y);
    return {row, row + count};
}

// In the default 8-bit palette index 0 is black, 3 blue (0, 0, 255), 224 red and 255 white.
constexpr uint8_t kBlack = 0, kBlue = 3, kRed = 224, kWhite = 255;

// A 3 x 2 reference in 8 bits: red at the top-left and bottom-right, white elsewhere.
PxlImageId redCornersReference() {
    const PxlImageId id = PXLCreateImage(3, 2, 8);
    setRow(id, 0, {kRed, kWhite, kWhite});
    setRow(id, 1, {kWhite, kWhite, kRed});
    return id;
}

TEST_F(ColourReplace, TrueColourPixelsUnderTheReferenceColourTakeTheNewColour) {
    const PxlImageId image = PXLCreateImage(3, 2, 24);
    setRow(image, 0, std::vector<uint8_t>(9, 0x40));
    setRow(image, 1, std::vector<uint8_t>(9, 0x40));
    const PxlImageId reference = redCornersReference();
    const size_t before = pixmill::liveImageCount();

    ASSERT_EQ(PXLChangeColorToColorRef(image, reference, RGB(255, 0, 0), RGB(10, 20, 30)), 1);
    EXPECT_EQ(rowBytes(image, 0, 9), (std::vector<uint8_t>{30, 20, 10, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40}));
    EXPECT_EQ(rowBytes(image, 1, 9), (std::vector<uint8_t>{0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 30, 20, 10}));
    EXPECT_EQ(pixmill::liveImageCount(), before) << "the mask is deleted";
}

TEST_F(ColourReplace, PaletteImagesTakeTheFirstPaletteEntryOfTheNewColour) {
    const PxlImageId image = PXLCreateImage(3, 2, 8);
    setRow(image, 0, {7, 7, 7});
    setRow(image, 1, {7, 7, 7});
    const PxlImageId reference = redCornersReference();
    ASSERT_EQ(PXLChangeColorToColorRef(image, reference, RGB(255, 0, 0), RGB(0, 0, 255)), 1);
    EXPECT_EQ(rowBytes(image, 0, 3), (std::vector<uint8_t>{kBlue, 7, 7}));
    EXPECT_EQ(rowBytes(image, 1, 3), (std::vector<uint8_t>{7, 7, kBlue}));

    // Blue now stands at index 2 as well; the lower index wins.
    ASSERT_EQ(PXLSetColorToPalette(image, 2, RGB(0, 0, 255)), 1);
    ASSERT_EQ(PXLChangeColorToColorRef(image, reference, RGB(255, 255, 255), RGB(0, 0, 255)), 1);
    EXPECT_EQ(rowBytes(image, 0, 3), (std::vector<uint8_t>{kBlue, 2, 2}));
    EXPECT_EQ(rowBytes(image, 1, 3), (std::vector<uint8_t>{2, 2, kBlue}));
}

TEST_F(ColourReplace, AColourMissingFromThePaletteChangesNothing) {
    const PxlImageId image = PXLCreateImage(3, 2, 8);
    setRow(image, 0, {kRed, kWhite, kWhite});
    setRow(image, 1, {kWhite, kWhite, kRed});
    const size_t before = pixmill::liveImageCount();
    EXPECT_EQ(PXLChangeColorToColorRef(image, image, RGB(255, 0, 0), RGB(1, 2, 3)), 0);
    EXPECT_EQ(rowBytes(image, 0, 3), (std::vector<uint8_t>{kRed, kWhite, kWhite}));
    EXPECT_EQ(rowBytes(image, 1, 3), (std::vector<uint8_t>{kWhite, kWhite, kRed}));
    EXPECT_EQ(pixmill::liveImageCount(), before);
}

TEST_F(ColourReplace, AReferenceOfAnotherSizeIsRefused) {
    const PxlImageId image = PXLCreateImage(3, 2, 24);
    const PxlImageId wide = PXLCreateImage(4, 2, 24);
    const PxlImageId tall = PXLCreateImage(3, 3, 8);
    const size_t before = pixmill::liveImageCount();
    // Black is everywhere in the blank references, so any accepted mask would paint every pixel.
    EXPECT_EQ(PXLChangeColorToColorRef(image, wide, RGB(0, 0, 0), RGB(9, 9, 9)), 0);
    EXPECT_EQ(PXLChangeColorToColorRef(image, tall, RGB(0, 0, 0), RGB(9, 9, 9)), 0);
    EXPECT_EQ(rowBytes(image, 0, 9), std::vector<uint8_t>(9, 0));
    EXPECT_EQ(rowBytes(image, 1, 9), std::vector<uint8_t>(9, 0));
    EXPECT_EQ(pixmill::liveImageCount(), before);
}

TEST_F(ColourReplace, MissingIdsGiveZero) {
    const PxlImageId image = PXLCreateImage(3, 2, 24);
    EXPECT_EQ(PXLChangeColorToColorRef(0, image, 0, RGB(9, 9, 9)), 0);
    EXPECT_EQ(PXLChangeColorToColorRef(image, 0, 0, RGB(9, 9, 9)), 0);
    EXPECT_EQ(PXLChangeColorToColorRef(999, image, 0, RGB(9, 9, 9)), 0);
    EXPECT_EQ(PXLChangeColorToColorRef(image, 999, 0, RGB(9, 9, 9)), 0);
    EXPECT_EQ(PXLChangeIndexToIndexRef(0, image, 0, 1), 0);
    EXPECT_EQ(PXLChangeIndexToIndexRef(image, 0, 0, 1), 0);
    EXPECT_EQ(PXLChangeIndexToIndexRef(999, image, 0, 1), 0);
    EXPECT_EQ(pixmill::changeColorToColor(0, 0, RGB(9, 9, 9)), 0);
    EXPECT_EQ(pixmill::changeColorToColor(999, 0, RGB(9, 9, 9)), 0);
    EXPECT_EQ(rowBytes(image, 0, 9), std::vector<uint8_t>(9, 0));
    EXPECT_EQ(pixmill::liveImageCount(), 1u);
}

TEST_F(ColourReplace, TheSameImageVariantReplacesTheColourItShows) {
    const PxlImageId image = PXLCreateImage(3, 2, 8);
    setRow(image, 0, {kRed, kWhite, kBlue});
    setRow(image, 1, {kWhite, kBlack, kRed});
    ASSERT_EQ(pixmill::changeColorToColor(image, RGB(255, 255, 255), RGB(255, 0, 0)), 1);
    EXPECT_EQ(rowBytes(image, 0, 3), (std::vector<uint8_t>{kRed, kRed, kBlue}));
    EXPECT_EQ(rowBytes(image, 1, 3), (std::vector<uint8_t>{kRed, kBlack, kRed}));

    const PxlImageId truecolor = PXLCreateImage(2, 1, 24);
    setRow(truecolor, 0, {1, 2, 3, 3, 2, 1});
    ASSERT_EQ(pixmill::changeColorToColor(truecolor, RGB(3, 2, 1), RGB(7, 8, 9)), 1);
    EXPECT_EQ(rowBytes(truecolor, 0, 6), (std::vector<uint8_t>{9, 8, 7, 3, 2, 1}));
}

TEST_F(ColourReplace, IndexReplacementFollowsTheReferenceIndexes) {
    // A 5 x 1 4-bit image of index 1, and a reference with index 5 at pixels 0, 3 and 4.
    const PxlImageId image = PXLCreateImage(5, 1, 4);
    setRow(image, 0, {0x11, 0x11, 0x10});
    const PxlImageId reference = PXLCreateImage(5, 1, 4);
    setRow(reference, 0, {0x52, 0x25, 0x50});
    const size_t before = pixmill::liveImageCount();
    ASSERT_EQ(PXLChangeIndexToIndexRef(image, reference, 5, 9), 1);
    EXPECT_EQ(rowBytes(image, 0, 3), (std::vector<uint8_t>{0x91, 0x19, 0x90}));
    EXPECT_EQ(pixmill::liveImageCount(), before);

    // Only the low bytes count: 0x105 is index 5 and 0x20C index 12.
    ASSERT_EQ(PXLChangeIndexToIndexRef(image, reference, 0x105, 0x20C), 1);
    EXPECT_EQ(rowBytes(image, 0, 3), (std::vector<uint8_t>{0xC1, 0x1C, 0xC0}));

    // An 8-bit reference serves a 1-bit image.
    const PxlImageId bilevel = PXLCreateImage(5, 1, 1);
    const PxlImageId byteReference = PXLCreateImage(5, 1, 8);
    setRow(byteReference, 0, {200, 0, 200, 0, 0});
    ASSERT_EQ(PXLChangeIndexToIndexRef(bilevel, byteReference, 200, 1), 1);
    EXPECT_EQ(rowBytes(bilevel, 0, 1), (std::vector<uint8_t>{0xA0}));
}

TEST_F(ColourReplace, IndexReplacementRefusesIndexesTheImageCannotHold) {
    const PxlImageId image = PXLCreateImage(5, 1, 4);
    setRow(image, 0, {0x11, 0x11, 0x10});
    const PxlImageId reference = PXLCreateImage(5, 1, 4);  // all index 0
    EXPECT_EQ(PXLChangeIndexToIndexRef(image, reference, 0, 16), 0) << "beyond 16 entries";
    EXPECT_EQ(PXLChangeIndexToIndexRef(image, reference, 0, -1), 0) << "low byte 255";
    EXPECT_EQ(rowBytes(image, 0, 3), (std::vector<uint8_t>{0x11, 0x11, 0x10}));

    const PxlImageId truecolor = PXLCreateImage(5, 1, 24);
    const PxlImageId byteReference = PXLCreateImage(5, 1, 8);
    EXPECT_EQ(PXLChangeIndexToIndexRef(truecolor, byteReference, 0, 7), 0) << "no palette";
    EXPECT_EQ(rowBytes(truecolor, 0, 15), std::vector<uint8_t>(15, 0));
}

TEST_F(ColourReplace, IndexReplacementRefusesAReferenceOfAnotherSize) {
    const PxlImageId image = PXLCreateImage(5, 1, 8);
    const PxlImageId wide = PXLCreateImage(6, 1, 8);
    const PxlImageId tall = PXLCreateImage(5, 2, 8);
    const size_t before = pixmill::liveImageCount();
    EXPECT_EQ(PXLChangeIndexToIndexRef(image, wide, 0, 9), 0);
    EXPECT_EQ(PXLChangeIndexToIndexRef(image, tall, 0, 9), 0);
    EXPECT_EQ(rowBytes(image, 0, 5), std::vector<uint8_t>(5, 0));
    EXPECT_EQ(pixmill::liveImageCount(), before);
}

}  // namespace
