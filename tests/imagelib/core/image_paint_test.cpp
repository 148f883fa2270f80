#include <cstring>
#include <vector>

#include "../pixel_access.h"
#include "../pixmill_fixture.h"

namespace {

using ImagePaint = PixmillTest;

constexpr COLORREF kOne = RGB(200, 10, 10), kTwo = RGB(10, 10, 200);

int floorDiv(int a, int b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

TEST_F(ImagePaint, ChessBoardCellsFollowThePhase) {
    struct Case {
        int cellWidth, cellHeight, phaseX, phaseY;
        COLORREF topLeft;
    };
    const Case cases[] = {
        {8, 8, 0, 0, kOne},    {8, 8, 8, 0, kTwo}, {8, 8, 0, 8, kTwo}, {8, 8, 16, 8, kTwo},
        {8, 8, 8, 8, kOne},    {8, 8, 3, 2, kOne}, {5, 3, 7, 1, kTwo}, {8, 8, -3, 0, kTwo},
        {4, 6, -4, -13, kOne}, {1, 1, 0, 0, kOne},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.cellWidth << "x" << c.cellHeight << " phase " << c.phaseX << "," << c.phaseY);
        const PxlImageId id = PXLCreateImage(21, 13, 24);
        ASSERT_EQ(PXLFillImageByChessBoard(id, c.cellWidth, c.cellHeight, c.phaseX, c.phaseY, kOne, kTwo), 1);
        EXPECT_EQ(testpx::colour(id, 0, 0), c.topLeft);
        // The board as if it started phaseX, phaseY pixels before the picture's corner.
        for (int y = 0; y < 13; ++y) {
            for (int x = 0; x < 21; ++x) {
                const bool odd =
                    (floorDiv(x + c.phaseX, c.cellWidth) + floorDiv(y + c.phaseY, c.cellHeight)) & 1;
                ASSERT_EQ(testpx::colour(id, x, y), odd ? kTwo : kOne) << x << "," << y;
            }
        }
        PXLDeleteImage(id);
    }
}

TEST_F(ImagePaint, ChessBoardWithoutCellsPaintsOneColour) {
    struct Case {
        int cellWidth, cellHeight;
        COLORREF all;
    };
    const Case cases[] = {{0, 8, kTwo}, {0, 0, kTwo}, {8, 0, kOne}};
    for (const Case& c : cases) {
        const PxlImageId id = PXLCreateImage(5, 3, 24);
        ASSERT_EQ(PXLFillImageByChessBoard(id, c.cellWidth, c.cellHeight, 3, 3, kOne, kTwo), 1);
        for (uint32_t p : testpx::pixels(id)) EXPECT_EQ(p, c.all) << c.cellWidth << "x" << c.cellHeight;
    }
    EXPECT_EQ(PXLFillImageByChessBoard(PXLCreateImage(4, 4, 8), 2, 2, 0, 0, kOne, kTwo), 0) << "24 bits only";
    EXPECT_EQ(PXLFillImageByChessBoard(PXLCreateImage(4, 4, 32), 2, 2, 0, 0, kOne, kTwo), 0);
    EXPECT_EQ(PXLFillImageByChessBoard(99, 2, 2, 0, 0, kOne, kTwo), 0);
}

TEST_F(ImagePaint, IndexFillSetsEveryPixel) {
    struct Case {
        int bits;
        int16_t index;
        uint8_t byte;
    };
    const Case cases[] = {{1, 1, 0xFF}, {1, 0, 0x00}, {1, 5, 0x00}, {4, 0x1C, 0xCC}, {8, 300, 44}, {8, 7, 7}};
    for (const Case& c : cases) {
        const PxlImageId id = PXLCreateImage(13, 3, c.bits);
        std::memset(PXLGetBits(id), 0x5A, static_cast<size_t>(PXLSizeImage(id)));
        ASSERT_EQ(PXLFillImageByIndexColor(id, c.index), 1) << c.bits;
        for (int32_t k = 0; k < PXLSizeImage(id); ++k)
            ASSERT_EQ(PXLGetBits(id)[k], c.byte) << c.bits << " " << c.index;
    }
    EXPECT_EQ(PXLFillImageByIndexColor(PXLCreateImage(2, 2, 24), 1), 0);
    EXPECT_EQ(PXLFillImageByIndexColor(99, 1), 0);
}

TEST_F(ImagePaint, ColourFillIsFlatOrTheNearestIndex) {
    // 24 bits: one colour, over more than one 50-pixel cell.
    const PxlImageId truecolour = PXLCreateImage(120, 60, 24);
    ASSERT_EQ(PXLFillImageByRGBColor(truecolour, RGB(1, 2, 3)), 1);
    for (uint32_t p : testpx::pixels(truecolour)) ASSERT_EQ(p, RGB(1, 2, 3));
    // 8 bits: the index the library's nearest-colour rule gives.
    const PxlImageId palette = PXLCreateImage(7, 3, 8);
    PXLSetColorToPalette(palette, 77, RGB(90, 91, 92));
    ASSERT_EQ(PXLGetNearestColorIndex(palette, RGB(90, 91, 92)), 77);
    ASSERT_EQ(PXLFillImageByRGBColor(palette, RGB(90, 91, 92)), 1);
    for (uint32_t p : testpx::pixels(palette)) ASSERT_EQ(p, 77u);
    EXPECT_EQ(PXLFillImageByRGBColor(PXLCreateImage(2, 2, PXL_BITS_565), RGB(1, 2, 3)), 0);
    EXPECT_EQ(PXLFillImageByRGBColor(99, RGB(1, 2, 3)), 0);
}

TEST_F(ImagePaint, RectangleFillPaintsOnlyItsPartOfThePicture) {
    struct Case {
        const char* what;
        int left, top, right, bottom;
        std::vector<std::vector<int>> painted;  // 4 x 3, 1 where painted
    };
    const Case cases[] = {
        {"inclusive corners", 1, 0, 2, 1, {{0, 1, 1, 0}, {0, 1, 1, 0}, {0, 0, 0, 0}}},
        {"partly off the picture", -5, 2, 9, 40, {{0, 0, 0, 0}, {0, 0, 0, 0}, {1, 1, 1, 1}}},
        {"reversed corners paint nothing", 2, 1, 1, 0, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
        {"wholly off the picture", 5, 0, 9, 2, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
    };
    for (const Case& c : cases) {
        const PxlImageId bytes = PXLCreateImage(4, 3, 8);
        PXLSetColorToPalette(bytes, 9, RGB(9, 9, 9));
        const PxlImageId truecolour = PXLCreateImage(4, 3, 24);
        ASSERT_EQ(PXLFillImageByRGBColor2(bytes, RGB(9, 9, 9), c.left, c.top, c.right, c.bottom), 1)
            << c.what;
        ASSERT_EQ(PXLFillImageByRGBColor2(truecolour, RGB(9, 9, 9), c.left, c.top, c.right, c.bottom), 1)
            << c.what;
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 4; ++x) {
                const bool on = c.painted[static_cast<size_t>(y)][static_cast<size_t>(x)] != 0;
                EXPECT_EQ(testpx::index(bytes, x, y), on ? 9 : 0) << c.what << " " << x << "," << y;
                EXPECT_EQ(testpx::colour(truecolour, x, y), on ? RGB(9, 9, 9) : RGB(0, 0, 0)) << c.what;
            }
        }
    }
    EXPECT_EQ(PXLFillImageByRGBColor2(PXLCreateImage(4, 3, 4), 0, 0, 0, 1, 1), 0) << "8 and 24 bits only";
    EXPECT_EQ(PXLFillImageByRGBColor2(99, 0, 0, 0, 1, 1), 0);
}

TEST_F(ImagePaint, RectangleOneStepOffAnEdgePaintsNothing) {
    // 16 x 4 pictures: unpadded rows, so a pixel past either end of a row is a pixel of the next
    // one, and whole 64-byte blocks of pixels, so a row above or below lies outside them.
    struct Case {
        const char* what;
        int left, top, right, bottom;
    };
    const Case cases[] = {
        {"the column left of the picture", -1, 0, -1, 3},
        {"the column right of the picture", 16, 0, 16, 3},
        {"the row above the picture", 0, -1, 15, -1},
        {"the row below the picture", 0, 4, 15, 4},
    };
    for (const Case& c : cases) {
        const PxlImageId bytes = PXLCreateImage(16, 4, 8);
        ASSERT_EQ(PXLGetScanBytes(bytes) * 4, 64);
        PXLSetColorToPalette(bytes, 9, RGB(9, 9, 9));
        const PxlImageId truecolour = PXLCreateImage(16, 4, 24);
        ASSERT_EQ(PXLGetScanBytes(truecolour) * 4, 192);
        ASSERT_EQ(PXLFillImageByRGBColor2(bytes, RGB(9, 9, 9), c.left, c.top, c.right, c.bottom), 1)
            << c.what;
        ASSERT_EQ(PXLFillImageByRGBColor2(truecolour, RGB(9, 9, 9), c.left, c.top, c.right, c.bottom), 1)
            << c.what;
        EXPECT_EQ(testpx::pixels(bytes), std::vector<uint32_t>(64, 0)) << c.what;
        EXPECT_EQ(testpx::pixels(truecolour), std::vector<uint32_t>(64, RGB(0, 0, 0))) << c.what;
        PXLDeleteImage(bytes);
        PXLDeleteImage(truecolour);
    }
}

}  // namespace
