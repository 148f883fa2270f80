#include <string>
#include <vector>

#include "../pixel_access.h"
#include "../pixmill_fixture.h"

namespace {

using ClearByAlpha = PixmillTest;

// Rows of an 8-bit alpha image: '#' fully transparent (255), '-' half (128), '.' opaque (0).
PxlImageId alphaOf(const std::vector<std::string>& rows) {
    return testpx::indexed(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), 8,
                           [&](int x, int y) {
                               const char c = rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
                               return c == '#' ? 255 : c == '-' ? 128 : 0;
                           });
}

// Which pixels of a 24-bit image were cleared ('c') and which kept ('.').
std::vector<std::string> cleared(PxlImageId id, COLORREF colour) {
    std::vector<std::string> rows;
    for (int y = 0; y < PXLHeight(id); ++y) {
        std::string row;
        for (int x = 0; x < PXLWidth(id); ++x) row += testpx::colour(id, x, y) == colour ? 'c' : '.';
        rows.push_back(row);
    }
    return rows;
}

TEST_F(ClearByAlpha, ClearsAroundTheAlphaAndWhereItIsFullyTransparent) {
    const std::vector<std::string> alpha = {
        "........", ".#-.....", "........", "...#....", "........", "......#.", ".....-..", "........",
    };
    struct Case {
        const char* what;
        int x, y;
        std::vector<std::string> expected;  // a 5 x 4 picture
    };
    const Case cases[] = {
        // Alpha columns and rows 5..7 lie over image columns and rows 0..2; right of and below
        // them everything is cleared.
        {"off the top-left by 5", -5, -5, {".c.cc", "...cc", "...cc", "ccccc"}},
        {"at the corner", 0, 0, {".....", ".c...", ".....", "...c."}},
        {"inside, moved", 2, 1, {"ccccc", "cc...", "cc.c.", "cc..."}},
        {"off the bottom-right", 3, 2, {"ccccc", "ccccc", "ccc..", "ccc.c"}},
        {"wholly outside", 9, 9, {"ccccc", "ccccc", "ccccc", "ccccc"}},
    };
    const COLORREF colour = RGB(7, 8, 9);
    for (const Case& c : cases) {
        const PxlImageId image = testpx::truecolour(5, 4, [](int, int) { return RGB(100, 100, 100); });
        const PxlImageId a = alphaOf(alpha);
        ASSERT_EQ(PXLImageClearByAlpha(image, a, c.x, c.y, colour), 1) << c.what;
        EXPECT_EQ(cleared(image, colour), c.expected) << c.what;
    }
}

TEST_F(ClearByAlpha, EightBitImagesTakeTheLowByte) {
    const PxlImageId image = testpx::indexed(3, 1, 8, [](int, int) { return 5; });
    ASSERT_EQ(PXLImageClearByAlpha(image, alphaOf({"#.."}), 1, 0, 0x123456), 1);
    EXPECT_EQ(testpx::pixels(image), (std::vector<uint32_t>{0x56, 0x56, 5}));
}

TEST_F(ClearByAlpha, AnImageMayBeItsOwnAlpha) {
    // Pixels of 255 are cleared; being read before they are written, the change does not spread.
    const PxlImageId image = testpx::indexed(4, 2, 8, [](int x, int y) { return x == y ? 255 : 9; });
    ASSERT_EQ(PXLImageClearByAlpha(image, image, 0, 0, 0), 1);
    EXPECT_EQ(testpx::pixels(image), (std::vector<uint32_t>{0, 9, 9, 9, 9, 0, 9, 9}));
}

TEST_F(ClearByAlpha, RefusesOtherDepths) {
    const PxlImageId alpha = alphaOf({"#"});
    EXPECT_EQ(PXLImageClearByAlpha(PXLCreateImage(2, 2, 4), alpha, 0, 0, 0), 0);
    EXPECT_EQ(PXLImageClearByAlpha(PXLCreateImage(2, 2, 32), alpha, 0, 0, 0), 0);
    EXPECT_EQ(PXLImageClearByAlpha(PXLCreateImage(2, 2, 24), PXLCreateImage(1, 1, 1), 0, 0, 0), 0);
    EXPECT_EQ(PXLImageClearByAlpha(0, alpha, 0, 0, 0), 0);
    EXPECT_EQ(PXLImageClearByAlpha(PXLCreateImage(2, 2, 24), 0, 0, 0, 0), 0);
    EXPECT_EQ(PXLImageClearByAlpha(99, alpha, 0, 0, 0), 0);
}

}  // namespace
