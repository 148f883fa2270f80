#include <cstring>
#include <vector>

#include "../pixel_access.h"
#include "../pixmill_fixture.h"

namespace {

using ImageInvert = PixmillTest;

TEST_F(ImageInvert, PaletteImagesInvertTheirPaletteOthersTheirBits) {
    // 4 and 8 bits: the indexes stay and every entry's colour turns over (its fourth byte stays).
    for (int bits : {4, 8}) {
        const PxlImageId id = testpx::indexed(3, 2, bits, [](int x, int y) { return x + 3 * y; });
        PXLSetColorToPalette(id, 5, RGB(10, 200, 33));
        const auto indexes = testpx::pixels(id);
        PXLGetBitmapInfoHeader(id)->bmiColors[5].rgbReserved = 7;
        ASSERT_EQ(PXLInvert(id), 1);
        EXPECT_EQ(testpx::pixels(id), indexes) << bits;
        EXPECT_EQ(PXLGetColorFromPalette(id, 5), RGB(245, 55, 222)) << bits;
        EXPECT_EQ(PXLGetBitmapInfoHeader(id)->bmiColors[5].rgbReserved, 7) << bits;
    }
    // 1 bit: the pixels swap indexes, the palette stays.
    const PxlImageId bilevel = testpx::indexed(9, 1, 1, [](int x, int) { return x % 3 == 0; });
    ASSERT_EQ(PXLInvert(bilevel), 1);
    EXPECT_EQ(testpx::pixels(bilevel), (std::vector<uint32_t>{0, 1, 1, 0, 1, 1, 0, 1, 1}));
    EXPECT_EQ(PXLGetColorFromPalette(bilevel, 0), RGB(0, 0, 0));
    // 16, 24 and 32 bits: every byte.
    for (int bits : {PXL_BITS_565, 24, 32}) {
        const PxlImageId id = PXLCreateImage(3, 2, bits);
        std::memset(PXLGetBits(id), 0x35, static_cast<size_t>(PXLSizeImage(id)));
        ASSERT_EQ(PXLInvert(id), 1);
        for (int32_t k = 0; k < PXLSizeImage(id); ++k) ASSERT_EQ(PXLGetBits(id)[k], 0xCA) << bits;
    }
    EXPECT_EQ(PXLInvert(0), 0);
    EXPECT_EQ(PXLInvert(99), 0);
}

}  // namespace
