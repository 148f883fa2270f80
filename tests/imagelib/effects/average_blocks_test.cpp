#include <vector>

#include "effect_test_support.h"
#include "effects/average_blocks.h"

namespace {

using AverageBlocks = PixmillTest;

std::vector<Rgb> averaged(int width, int height, const std::vector<Rgb>& pixels, int block, int* rows = nullptr) {
    const PxlImageId id = make24(width, height, pixels);
    int calls = 0;
    {
        pixmill::ImageLock image = pixmill::lockImage(id, pixmill::Access::Write);
        EXPECT_TRUE(pixmill::effects::averageBlocks(*image, block, [&] { ++calls; }));
    }
    if (rows) *rows = calls;
    return pixelsOf(id);
}

const auto g = [](int v) { return Rgb{v, v, v}; };

TEST_F(AverageBlocks, BlocksRunFromTheTopLeftAndTheLastOnesAreCutShort) {
    // 5 x 3 in blocks of 2: columns 0-1, 2-3, 4 and rows 0-1, 2 of the picture from the top.
    const std::vector<Rgb> picture = {g(0),  g(10), g(20), g(30), g(40),
                                      g(1),  g(12), g(23), g(34), g(45),
                                      g(100), g(51), g(7), g(8), g(9)};
    int rows = 0;
    const std::vector<Rgb> result = averaged(5, 3, picture, 2, &rows);
    // (0 + 10 + 1 + 12) / 4 = 5; (20 + 30 + 23 + 34) / 4 = 26; (40 + 45) / 2 = 42;
    // (100 + 51) / 2 = 75; (7 + 8) / 2 = 7; 9 alone.
    EXPECT_EQ(result, (std::vector<Rgb>{g(5), g(5), g(26), g(26), g(42),
                                        g(5), g(5), g(26), g(26), g(42),
                                        g(75), g(75), g(7), g(7), g(9)}));
    EXPECT_EQ(rows, 3) << "progress once per picture row";
}

TEST_F(AverageBlocks, ChannelsAreAveragedApart) {
    const std::vector<Rgb> result = averaged(2, 2, {{255, 0, 1}, {0, 255, 2}, {0, 0, 3}, {0, 0, 4}}, 2);
    EXPECT_EQ(result, filled(4, {63, 63, 2}));
}

TEST_F(AverageBlocks, ABlockTallerThanThePictureTakesItsHeight) {
    // 6 x 2 with blocks of 4: they shrink to 2 x 2, so columns 0-1, 2-3 and 4-5 part.
    const std::vector<Rgb> picture = {g(0), g(0), g(40), g(40), g(80), g(80),
                                      g(4), g(4), g(44), g(44), g(84), g(84)};
    const std::vector<Rgb> result = averaged(6, 2, picture, 4);
    EXPECT_EQ(result, (std::vector<Rgb>{g(2), g(2), g(42), g(42), g(82), g(82),
                                        g(2), g(2), g(42), g(42), g(82), g(82)}));
}

TEST_F(AverageBlocks, BlocksBelowTwoChangeNothing) {
    const std::vector<Rgb> picture = gradient(4, 3);
    for (const int block : {1, 0, -5}) {
        SCOPED_TRACE(block);
        EXPECT_EQ(averaged(4, 3, picture, block), picture);
    }
}

TEST_F(AverageBlocks, OnlyTwentyFourBitImagesAreTaken) {
    const PxlImageId id = PXLCreateImage(4, 4, 8);
    pixmill::ImageLock image = pixmill::lockImage(id, pixmill::Access::Write);
    EXPECT_FALSE(pixmill::effects::averageBlocks(*image, 2, {}));
}

}  // namespace
