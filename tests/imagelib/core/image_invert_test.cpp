#include <cstring>
#include <vector>

#include "../pixmill_fixture.h"

namespace {

using ImageInvert = PixmillTest;

std::vector<uint8_t> bitsOf(PxlImageId id) {
    const uint8_t* bits = PXLGetBits(id);
    return {bits, bits + PXLSizeImage(id)};
}

TEST_F(ImageInvert, TrueColourBytesAreComplemented) {
    for (const int bits : {24, 32, PXL_BITS_565}) {
        SCOPED_TRACE(bits);
        const PxlImageId id = PXLCreateImage(3, 2, bits);
        std::vector<uint8_t> bytes = bitsOf(id);
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 37);
        std::memcpy(PXLGetBits(id), bytes.data(), bytes.size());

        ASSERT_EQ(PXLInvert(id), 1);
        for (uint8_t& b : bytes) b = static_cast<uint8_t>(~b);
        EXPECT_EQ(bitsOf(id), bytes);
    }
}

TEST_F(ImageInvert, OneBitPixelsSwapTheirIndicesAndKeepThePalette) {
    const PxlImageId id = PXLCreateImage(8, 1, 1);
    PXLGetBits(id)[0] = 0b10110001;
    ASSERT_EQ(PXLInvert(id), 1);
    EXPECT_EQ(PXLGetBits(id)[0], 0b01001110);
    EXPECT_EQ(PXLGetColorFromPalette(id, 0), static_cast<int32_t>(RGB(0, 0, 0)));
    EXPECT_EQ(PXLGetColorFromPalette(id, 1), static_cast<int32_t>(RGB(255, 255, 255)));
}

TEST_F(ImageInvert, PaletteImagesComplementTheirPaletteAndKeepTheirPixels) {
    for (const int bits : {4, 8}) {
        SCOPED_TRACE(bits);
        const PxlImageId id = PXLCreateImage(2, 1, bits);
        PXLGetBits(id)[0] = 0x12;
        ASSERT_EQ(PXLSetColorToPalette(id, 1, RGB(10, 200, 255)), 1);
        ASSERT_EQ(PXLInvert(id), 1);
        EXPECT_EQ(PXLGetBits(id)[0], 0x12);
        EXPECT_EQ(PXLGetColorFromPalette(id, 1), static_cast<int32_t>(RGB(245, 55, 0)));
        EXPECT_EQ(PXLGetColorFromPalette(id, 0), static_cast<int32_t>(RGB(255, 255, 255)));
    }
}

TEST_F(ImageInvert, UnknownIdsFail) {
    EXPECT_EQ(PXLInvert(0), 0);
    EXPECT_EQ(PXLInvert(55), 0);
}

}  // namespace
