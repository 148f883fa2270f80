// A stretched transparent blit composes row by row from the picture's layers, resampling them as
// it goes; it must give exactly the pixels of resized copies of the layers made first (the way
// such blits were drawn before), and take the copies where rows could not give them.
#include <random>
#include <string>
#include <vector>

#include "../pixmill_fixture.h"
#include "core/transparency/transparent_blit.h"

namespace {

using pixmill::StretchRoute;

using StretchedTransparentBlit = PixmillTest;

// A picture of noise at the depth given with a noisy mask, and an 8-bit alpha of noise.
struct Scene {
    PxlImageId picture = 0;
    PxlImageId alpha = 0;

    Scene(int width, int height, int bits, uint32_t seed) {
        std::mt19937 random(seed);
        picture = PXLCreateImage(width, height, bits);
        for (int32_t i = 0; i < PXLSizeImage(picture); ++i) PXLGetBits(picture)[i] = static_cast<uint8_t>(random());
        const PxlImageId mask = PXLCreateImage(width, height, 1);
        for (int32_t i = 0; i < PXLSizeImage(mask); ++i)
            PXLGetBits(mask)[i] = static_cast<uint8_t>(random() & random());  // a quarter hidden
        EXPECT_EQ(PXLSetImageTransparentMask(picture, mask), 1);
        alpha = PXLCreateImage(width, height, 8);
        for (int32_t i = 0; i < PXLSizeImage(alpha); ++i) PXLGetBits(alpha)[i] = static_cast<uint8_t>(random());
    }
};

// A caller's 24-bit DIB of noise, rows padded to 4 bytes.
struct Target {
    BITMAPINFOHEADER header{};
    std::vector<uint8_t> bits;

    Target(int width, int height) {
        header.biSize = sizeof header;
        header.biWidth = width;
        header.biHeight = height;
        header.biPlanes = 1;
        header.biBitCount = 24;
        header.biCompression = BI_RGB;
        bits.resize(static_cast<size_t>((width * 3 + 3) / 4 * 4) * static_cast<size_t>(height));
        std::mt19937 random(7);
        for (uint8_t& b : bits) b = static_cast<uint8_t>(random());
    }
};

struct Blit {
    int left, top, right, bottom;
};

struct Drawn {
    int16_t result = -1;
    std::vector<uint8_t> bits;
    StretchRoute taken = StretchRoute::ResizedCopies;
};

Drawn draw(int destWidth, int destHeight, const Blit& b, PxlImageId picture, PxlImageId alpha, StretchRoute route) {
    Target target(destWidth, destHeight);
    Drawn d;
    d.taken = route == StretchRoute::Rows ? StretchRoute::ResizedCopies : StretchRoute::Rows;  // must be set
    d.result = pixmill::stretchBltTransparent(&target.header, target.bits.data(), b.left, b.top, b.right, b.bottom,
                                              picture, 0, alpha, 0, 0, 0, route, &d.taken);
    d.bits = std::move(target.bits);
    return d;
}

std::string describe(const char* what, int bits, bool withAlpha) {
    return std::string(what) + ", " + std::to_string(bits) + " bits" + (withAlpha ? ", alpha" : "");
}

TEST_F(StretchedTransparentBlit, RowsGiveThePixelsOfResizedCopies) {
    struct Case {
        const char* what;
        int pictureWidth, pictureHeight;
        int destWidth, destHeight;
        Blit blit;
    };
    // clang-format off
    const Case cases[] = {
        {"enlarged inside",                    11, 7, 37, 29, {3, 2, 34, 27}},
        {"reduced inside",                     11, 7, 37, 29, {1, 1, 6, 5}},
        {"corners given the other way round",  11, 7, 37, 29, {34, 27, 3, 2}},
        {"enlarged, cut on the left and top",  11, 7, 37, 29, {-13, -9, 30, 20}},
        {"enlarged, cut right and bottom",     11, 7, 37, 29, {20, 15, 61, 50}},
        {"enlarged, cut on every side",        11, 7, 37, 29, {-20, -15, 60, 45}},
        {"reduced, cut on the left and top",   11, 7, 37, 29, {-3, -2, 8, 4}},
        {"one column and every row",           11, 7, 37, 29, {5, 0, 6, 29}},
        {"a part narrower than a pixel",       3, 2, 5, 4, {-40, -1, 6, 3}},
        // Past a thousand destination pixels a source pixel, some tiles of the resize round
        // to no source pixels and stay blank.
        {"beyond the largest tile",            1, 2, 2501, 3, {0, 0, 2501, 3}},
        {"beyond the largest tile, cut",       2, 1, 1500, 2, {-1300, 0, 2700, 2}},
        {"many tiles each way",                203, 97, 611, 409, {-5, 3, 608, 402}},
    };
    // clang-format on
    uint32_t seed = 1;
    for (const Case& c : cases) {
        for (const int bits : {1, 4, 8, 24}) {
            const Scene scene(c.pictureWidth, c.pictureHeight, bits, seed++);
            for (const bool withAlpha : {false, true}) {
                const PxlImageId alpha = withAlpha ? scene.alpha : 0;
                const std::string what = describe(c.what, bits, withAlpha);
                const Drawn copies =
                    draw(c.destWidth, c.destHeight, c.blit, scene.picture, alpha, StretchRoute::ResizedCopies);
                const size_t before = pixmill::liveImageCount();
                const Drawn rows = draw(c.destWidth, c.destHeight, c.blit, scene.picture, alpha, StretchRoute::Rows);
                EXPECT_EQ(pixmill::liveImageCount(), before) << what << ": rows make no images";
                ASSERT_EQ(copies.result, 1) << what;
                EXPECT_EQ(rows.result, 1) << what;
                EXPECT_EQ(rows.taken, StretchRoute::Rows) << what;
                EXPECT_EQ(copies.taken, StretchRoute::ResizedCopies) << what;
                EXPECT_TRUE(rows.bits == copies.bits) << what;
            }
        }
    }
}

// Where rows could not give the copies' pixels the copies are made: a destination that is the
// picture's own pixels (the copies were read whole before anything was written), a picture whose
// copy would get default colours for the entries it does not use, and an alpha whose bitmap's
// colour table is not its own (a copy drawn straight from it takes values through colours). A
// cropped alpha is copied through a crop, which keeps its values whatever its bitmap holds.
TEST_F(StretchedTransparentBlit, CopiesAreMadeWhereRowsWouldDiffer) {
    const Scene truecolour(9, 6, 24, 11);
    const Scene indexed(9, 6, 8, 12);
    {
        pixmill::ImageLock image = pixmill::lockImage(indexed.picture, pixmill::Access::Write);
        image->infoHeader().biClrUsed = 16;
    }
    const Scene shaded(9, 6, 24, 13);
    {
        pixmill::ImageLock alpha = pixmill::lockImage(shaded.alpha, pixmill::Access::Write);
        alpha->colors()[200] = RGBQUAD{1, 2, 3, 0};  // the header's table only, not the bitmap's
        alpha->colors()[201] = RGBQUAD{1, 2, 3, 0};
    }
    const Scene repainted(9, 6, 8, 15);
    {
        pixmill::ImageLock image = pixmill::lockImage(repainted.picture, pixmill::Access::Write);
        for (int i = 0; i < 256; ++i) {  // the header's table only, not the bitmap's
            RGBQUAD& c = image->colors()[i];
            c = RGBQUAD{uint8_t(255 - c.rgbBlue), uint8_t(c.rgbRed / 2), uint8_t(c.rgbGreen ^ 0x55), 0};
        }
    }
    struct Case {
        const char* what;
        const Scene& scene;
        bool withAlpha;
        Blit blit;
        StretchRoute expected;
    };
    const Case cases[] = {
        {"a picture using every colour", indexed, false, {0, 0, 20, 13}, StretchRoute::ResizedCopies},
        {"an alpha whose bitmap differs", shaded, true, {0, 0, 20, 13}, StretchRoute::ResizedCopies},
        {"the same alpha, cropped", shaded, true, {-3, 0, 20, 13}, StretchRoute::Rows},
        {"the same picture without it", shaded, false, {0, 0, 20, 13}, StretchRoute::Rows},
        {"a picture using every colour, reduced", truecolour, true, {2, 1, 7, 5}, StretchRoute::Rows},
        {"a picture whose bitmap differs", repainted, true, {0, 0, 20, 13}, StretchRoute::ResizedCopies},
        {"the same picture, cropped", repainted, true, {0, -2, 20, 13}, StretchRoute::Rows},
    };
    for (const Case& c : cases) {
        const PxlImageId alpha = c.withAlpha ? c.scene.alpha : 0;
        const Drawn rows = draw(30, 20, c.blit, c.scene.picture, alpha, StretchRoute::Rows);
        const Drawn copies = draw(30, 20, c.blit, c.scene.picture, alpha, StretchRoute::ResizedCopies);
        EXPECT_EQ(rows.result, 1) << c.what;
        EXPECT_EQ(rows.taken, c.expected) << c.what;
        EXPECT_TRUE(rows.bits == copies.bits) << c.what;
    }

    // The picture drawn enlarged over its own pixels, from its top-left corner: two pictures made
    // alike, one drawn by each route.
    std::vector<uint8_t> results[2];
    for (const StretchRoute route : {StretchRoute::Rows, StretchRoute::ResizedCopies}) {
        const Scene own(8, 8, 24, 14);
        BITMAPINFOHEADER header = PXLGetBitmapInfoHeader(own.picture)->bmiHeader;
        StretchRoute taken = StretchRoute::Rows;
        ASSERT_EQ(pixmill::stretchBltTransparent(&header, PXLGetBits(own.picture), 0, 0, 16, 16, own.picture, 0,
                                                 own.alpha, 0, 0, 0, route, &taken),
                  1);
        EXPECT_EQ(taken, StretchRoute::ResizedCopies) << "over its own pixels";
        results[route == StretchRoute::Rows ? 0 : 1].assign(PXLGetBits(own.picture),
                                                            PXLGetBits(own.picture) + PXLSizeImage(own.picture));
    }
    EXPECT_TRUE(results[0] == results[1]);
}

}  // namespace
