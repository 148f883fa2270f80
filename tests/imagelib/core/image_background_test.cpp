#include <cstring>
#include <string>
#include <vector>

#include "../pixel_access.h"
#include "../pixmill_fixture.h"

namespace {

using ImageBackground = PixmillTest;

// A palette image drawn with '.' for the background index and '#' for another.
PxlImageId drawn(int bits, int background, const std::vector<std::string>& rows) {
    const int other = background == 1 ? 0 : 1;
    return testpx::indexed(
        static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), bits, [&](int x, int y) {
            return rows[static_cast<size_t>(y)][static_cast<size_t>(x)] == '.' ? background : other;
        });
}

TEST_F(ImageBackground, OptimalRectHoldsEveryOtherPixel) {
    struct Case {
        const char* what;
        std::vector<std::string> rows;
        RECT expected;
    };
    const Case cases[] = {
        {"one pixel", {"..........", "....#.....", ".........."}, {4, 1, 4, 1}},
        {"a spread", {"..#.......", "..........", "......#...", "........#."}, {2, 0, 8, 3}},
        {"the corners", {"#.........", ".........#"}, {0, 0, 9, 1}},
        {"the last column of a wide row", {"..........", "..........", ".........#"}, {9, 2, 9, 2}},
    };
    for (int bits : {1, 4, 8}) {
        for (int background : {0, 1}) {
            for (const Case& c : cases) {
                SCOPED_TRACE(testing::Message()
                             << bits << " bits, background " << background << ", " << c.what);
                const PxlImageId id = drawn(bits, background, c.rows);
                // Padding past the last pixel is no picture, whatever it holds.
                for (int y = 0; y < PXLHeight(id); ++y) testpx::row(id, y)[PXLGetScanBytes(id) - 1] ^= 0x01;
                RECT rect{-1, -1, -1, -1};
                ASSERT_EQ(PXLGetOptimalRect(&rect, id, static_cast<int16_t>(background)), 0);
                EXPECT_EQ(rect.left, c.expected.left);
                EXPECT_EQ(rect.top, c.expected.top);
                EXPECT_EQ(rect.right, c.expected.right);
                EXPECT_EQ(rect.bottom, c.expected.bottom);
                PXLDeleteImage(id);
            }
        }
    }
}

TEST_F(ImageBackground, AllBackgroundAndTrueColourImages) {
    RECT rect{};
    const PxlImageId empty = drawn(8, 3, {"....", "...."});
    EXPECT_EQ(PXLGetOptimalRect(&rect, empty, 3), 1);
    EXPECT_GT(rect.top, rect.bottom);

    const PxlImageId truecolour = PXLCreateImage(6, 4, 24);
    EXPECT_EQ(PXLGetOptimalRect(&rect, truecolour, 0), 0);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 5);
    EXPECT_EQ(rect.bottom, 3);

    rect = RECT{7, 7, 7, 7};
    EXPECT_EQ(PXLGetOptimalRect(&rect, 99, 0), 0);
    EXPECT_EQ(rect.right, 0) << "cleared";
    EXPECT_EQ(PXLGetOptimalRect(nullptr, empty, 3), 0);
}

TEST_F(ImageBackground, BlankMeansEveryPixelByteIsTheFill) {
    const PxlImageId id = PXLCreateImage(5, 3, 24);  // rows of 15 bytes, padded to 16
    std::memset(PXLGetBits(id), 0xEE, static_cast<size_t>(PXLSizeImage(id)));
    for (int y = 0; y < 3; ++y) testpx::row(id, y)[15] = 0x00;
    EXPECT_EQ(PXLIsImageBlank(id, 0xEE), 1) << "the padding does not count";
    EXPECT_EQ(PXLIsImageBlank(id, 0x00), 0);
    testpx::row(id, 2)[14] = 0xED;
    EXPECT_EQ(PXLIsImageBlank(id, 0xEE), 0) << "the last byte of the bottom row";
    EXPECT_EQ(PXLIsImageBlank(PXLCreateImage(2, 2, 8), 0), 0) << "24 bits only";
    EXPECT_EQ(PXLIsImageBlank(99, 0), 0);
}

}  // namespace
