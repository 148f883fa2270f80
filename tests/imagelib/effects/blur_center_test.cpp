#include <cstring>
#include <vector>

#include "effect_test_support.h"

namespace {

using BlurCenter = PixmillTest;

const auto g = [](int v) { return Rgb{v, v, v}; };

TEST_F(BlurCenter, DegreeOneSpreadsAPixelOverItsNeighbours) {
    // One row: the tent 1-2-1 across (edges repeated), and the single row repeated down: 64 = 1020 / 16
    // rounded, 128 = 2040 / 16 rounded.
    const PxlImageId id = make24(3, 1, {g(0), g(255), g(0)});
    ASSERT_EQ(IPLBlurCenter(id, id, 1), 1);
    EXPECT_EQ(pixelsOf(id), (std::vector<Rgb>{g(64), g(128), g(64)}));
}

TEST_F(BlurCenter, ADotSpreadsEvenlyAndStrongerWithTheDegree) {
    std::vector<Rgb> dot = filled(11 * 11, g(0));
    dot[5 * 11 + 5] = {255, 0, 0};
    int previousCentre = 256;
    for (int degree = 1; degree <= 5; ++degree) {
        SCOPED_TRACE(degree);
        const PxlImageId id = make24(11, 11, dot);
        ASSERT_EQ(IPLBlurCenter(id, id, degree), 1);
        const std::vector<Rgb> result = pixelsOf(id);
        const auto at = [&](int x, int y) { return result[static_cast<size_t>(y * 11 + x)]; };
        EXPECT_LT(at(5, 5).r, previousCentre) << "a wider blur leaves less at the centre";
        previousCentre = at(5, 5).r;
        EXPECT_EQ(at(5, 5).g, 0);
        for (int d = 1; d <= 5; ++d) {
            // Symmetric about the centre, falling off with distance, nothing past the degree.
            EXPECT_EQ(at(5 - d, 5), at(5 + d, 5));
            EXPECT_EQ(at(5, 5 - d), at(5 + d, 5));
            EXPECT_EQ(at(5 - d, 5 - d), at(5 + d, 5 + d));
            if (d <= degree) EXPECT_LT(at(5 + d, 5).r, at(5 + d - 1, 5).r);
            else EXPECT_EQ(at(5 + d, 5).r, 0);
        }
    }
}

TEST_F(BlurCenter, FlatAreasStayAndACheckerboardTurnsGrey) {
    const PxlImageId flat = make24(6, 4, filled(24, {10, 200, 33}));
    ASSERT_EQ(IPLBlurCenter(flat, flat, 5), 1);
    EXPECT_EQ(pixelsOf(flat), filled(24, {10, 200, 33}));

    const PxlImageId board = make24(8, 8, checkerboard(8, 8));
    ASSERT_EQ(IPLBlurCenter(board, board, 2), 1);
    for (const Rgb& p : pixelsOf(board)) {
        EXPECT_GT(p.r, 64);
        EXPECT_LT(p.r, 192);
    }
}

TEST_F(BlurCenter, ASeparateTargetGetsWhatTheBlurInPlaceGives) {
    const std::vector<Rgb> picture = gradient(9, 7);
    const PxlImageId inPlace = make24(9, 7, picture);
    const PxlImageId source = make24(9, 7, picture);
    const PxlImageId target = PXLCreateImage(9, 7, 24);
    ASSERT_EQ(IPLBlurCenter(inPlace, inPlace, 3), 1);
    ASSERT_EQ(IPLBlurCenter(source, target, 3), 1);
    EXPECT_EQ(pixelsOf(target), pixelsOf(inPlace));
    EXPECT_EQ(pixelsOf(source), picture) << "the source stays as it was";
    EXPECT_NE(pixelsOf(target), picture);
}

TEST_F(BlurCenter, ThirtyTwoBitPixelsBlurEveryByte) {
    const PxlImageId id = PXLCreateImage(3, 1, 32);
    const uint8_t pixels[12] = {0, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 0};
    std::memcpy(PXLGetBits(id), pixels, sizeof pixels);
    ASSERT_EQ(IPLBlurCenter(id, id, 1), 1);
    const std::vector<uint8_t> want = {64, 64, 64, 64, 128, 128, 128, 128, 64, 64, 64, 64};
    EXPECT_EQ(std::vector<uint8_t>(PXLGetBits(id), PXLGetBits(id) + 12), want);
}

TEST_F(BlurCenter, WhatCannotBeBlurredIsRefusedUntouched) {
    const std::vector<Rgb> board = checkerboard(4, 4);
    const PxlImageId image = make24(4, 4, board);
    const PxlImageId palette = PXLCreateImage(4, 4, 8);
    const PxlImageId wider = PXLCreateImage(5, 4, 24);
    const PxlImageId deeper = PXLCreateImage(4, 4, 32);
    struct Case {
        const char* what;
        short source, target;
        int degree;
    };
    const Case cases[] = {
        {"degree 0", image, image, 0},       {"degree 6", image, image, 6},
        {"negative degree", image, image, -1}, {"palette image", palette, palette, 1},
        {"target of another size", image, wider, 1}, {"target of another depth", image, deeper, 1},
        {"unknown source", 99, image, 1},    {"id 0", 0, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(IPLBlurCenter(c.source, c.target, c.degree), 0);
        EXPECT_EQ(pixelsOf(image), board);
    }
}

}  // namespace
