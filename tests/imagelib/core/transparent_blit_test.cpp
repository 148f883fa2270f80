#include <array>
#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "../pixmill_fixture.h"

namespace {

using pixmill::Access;
using pixmill::liveImageCount;

using TransparentBlit = PixmillTest;

// Pictures and destinations are drawn with one letter per colour.
using Rows = std::vector<std::string>;
using Rgb = std::array<uint8_t, 3>;  // red, green, blue

const std::map<char, Rgb> kColors = {
    {'.', {9, 9, 9}},     {'A', {255, 0, 0}},   {'B', {0, 255, 0}},   {'C', {0, 0, 255}},
    {'D', {255, 255, 0}}, {'E', {0, 255, 255}}, {'F', {255, 0, 255}},
};

char letterOf(const Rgb& c) {
    for (const auto& [letter, rgb] : kColors)
        if (rgb == c) return letter;
    return '?';
}

uint8_t* rowOf(PxlImageId id, int y) {
    return PXLGetBits(id) + (PXLHeight(id) - 1 - y) * PXLGetScanBytes(id);
}

// A caller's bottom-up 24-bit DIB, sized exactly, so that any write beyond it is caught.
struct Dib {
    BITMAPINFOHEADER header{};
    std::vector<uint8_t> bits;
    int stride = 0;

    Dib(int width, int height, Rgb fill = kColors.at('.')) {
        header.biSize = sizeof header;
        header.biWidth = width;
        header.biHeight = height;
        header.biPlanes = 1;
        header.biBitCount = 24;
        header.biCompression = BI_RGB;
        stride = (width * 3 + 3) / 4 * 4;
        bits.assign(static_cast<size_t>(stride) * height, 0xEE);  // padding stays 0xEE
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) set(x, y, fill);
    }
    uint8_t* pixel(int x, int y) { return bits.data() + (header.biHeight - 1 - y) * stride + 3 * x; }
    void set(int x, int y, const Rgb& c) {
        uint8_t* p = pixel(x, y);
        p[0] = c[2];
        p[1] = c[1];
        p[2] = c[0];
    }
    Rgb at(int x, int y) {
        const uint8_t* p = pixel(x, y);
        return {p[2], p[1], p[0]};
    }
    Rows drawn() {
        Rows rows;
        for (int y = 0; y < header.biHeight; ++y) {
            std::string row;
            for (int x = 0; x < header.biWidth; ++x) row += letterOf(at(x, y));
            rows.push_back(row);
        }
        return rows;
    }
    int16_t blit(int left, int top, int right, int bottom, PxlImageId id, int16_t useTransparencyImage = 1,
                 PxlImageId alpha = 0, PxlImageId mask = 0, int16_t plate = 0, int16_t keep = 0) {
        return PXLStretchBltTransparent(nullptr, &header, bits.data(), left, top, right, bottom, id,
                                        useTransparencyImage, alpha, mask, plate, keep);
    }
};

std::string joined(const Rows& rows) {
    std::string text;
    for (const auto& row : rows) text += row + "\n";
    return text;
}

PxlImageId truecolor(const Rows& rows) {
    const PxlImageId id = PXLCreateImage(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), 24);
    for (size_t y = 0; y < rows.size(); ++y) {
        for (size_t x = 0; x < rows[y].size(); ++x) {
            const Rgb& c = kColors.at(rows[y][x]);
            uint8_t* p = rowOf(id, static_cast<int>(y)) + 3 * x;
            p[0] = c[2];
            p[1] = c[1];
            p[2] = c[0];
        }
    }
    return id;
}

// A 1-bit mask: 'x' transparent.
PxlImageId maskOf(const Rows& rows) {
    const PxlImageId id = PXLCreateImage(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), 1);
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x)
            if (rows[y][x] == 'x')
                rowOf(id, static_cast<int>(y))[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
    return id;
}

PxlImageId masked(const Rows& picture, const Rows& mask) {
    const PxlImageId id = truecolor(picture);
    EXPECT_EQ(PXLSetImageTransparentMask(id, maskOf(mask)), 1);
    return id;
}

TEST_F(TransparentBlit, PlacesScalesAndClipsAgainstHandDrawnResults) {
    struct Case {
        const char* what;
        Rows picture, mask;
        int width, height;  // of the destination
        int left, top, right, bottom;
        Rows expected;
    };
    // clang-format off
    const Case cases[] = {
        {"inside, unscaled", {"ABC", "DEF"}, {".x.", "..."}, 6, 4, 2, 1, 5, 3,
         {"......",
          "..A.C.",
          "..DEF.",
          "......"}},
        {"corners given the other way round", {"ABC", "DEF"}, {".x.", "..."}, 6, 4, 5, 3, 2, 1,
         {"......",
          "..A.C.",
          "..DEF.",
          "......"}},
        {"inside, scaled twice", {"AB", "CD"}, {"x.", ".."}, 6, 5, 1, 0, 5, 4,
         {"...BB.",
          "...BB.",
          ".CCDD.",
          ".CCDD.",
          "......"}},
        // Each destination pixel shows the picture pixel under its centre: (1, 1) and (3, 1).
        {"inside, scaled down", {"ABCD", "DEFA"}, {"....", "...."}, 3, 1, 0, 0, 2, 1,
         {"EA."}},
        {"partly off the left and the bottom, unscaled", {"ABC", "DEF"}, {"...", "x.."}, 4, 3, -1, 2, 2, 4,
         {"....",
          "....",
          "BC.."}},
        {"partly off the top and the right, unscaled", {"ABC", "DEF"}, {"...", "x.."}, 4, 3, 2, -1, 5, 1,
         {"...E",
          "....",
          "...."}},
        {"off both sides, unscaled", {"ABCDE"}, {"....."}, 3, 1, -1, 0, 4, 1,
         {"BCD"}},
        // 4 pixels over 6 columns: the visible columns 3..5 have their centres over picture
        // columns 2.33, 3.0 and 3.67, so show C and the masked D twice.
        {"partly off the left, scaled by 1.5", {"ABCD"}, {"...x"}, 3, 1, -3, 0, 3, 1,
         {"C.."}},
        // Each picture pixel covers four columns; the two visible ones lie on the first pixel.
        {"off both sides, scaled", {"AB"}, {".."}, 2, 1, -2, 0, 6, 1,
         {"AA"}},
        // Rows 2..3 of a 2-row picture stretched to 4: the one visible row is half a picture row.
        {"a part thinner than a picture pixel", {"A", "B"}, {".", "."}, 1, 1, 0, -2, 1, 2,
         {"B"}},
        {"a part narrower than a picture pixel", {"AB"}, {".."}, 1, 1, -2, 0, 2, 1,
         {"B"}},
        // Eight pixels into two columns: the visible one rounds to picture columns 5..8, of which
        // 5..7 exist; their middle one is shown.
        {"reduced at the right end of the picture", {"ABCDEFAB"}, {"........"}, 1, 1, -1, 0, 1, 1,
         {"A"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        const PxlImageId picture = masked(c.picture, c.mask);
        const size_t before = liveImageCount();
        Dib dest(c.width, c.height);
        EXPECT_EQ(dest.blit(c.left, c.top, c.right, c.bottom, picture), 1) << c.what;
        EXPECT_EQ(joined(dest.drawn()), joined(c.expected)) << c.what;
        EXPECT_EQ(liveImageCount(), before) << c.what << ": every copy made on the way is gone";
        for (int y = 0; y < c.height; ++y)
            for (int p = 3 * c.width; p < dest.stride; ++p)
                EXPECT_EQ(dest.bits[size_t(y) * dest.stride + p], 0xEE) << c.what << ": padding written";
        PXLDeleteImage(picture);
    }
}

// One picture pixel s over a destination pixel d through alpha a, at every picture depth; a second
// picture pixel is masked and must stay d whatever its alpha.
TEST_F(TransparentBlit, AlphaAtEveryDepth) {
    const Rgb s = {200, 100, 50}, d = {100, 200, 50};
    struct Case {
        int alpha;
        Rgb shifted;  // 1-, 4- and 24-bit pictures: d + ((s - d) * (255 - a) >> 8)
        Rgb divided;  // 8-bit pictures: d + (s - d) * (255 - a) / 255, a = 0 copies s
    };
    const Case cases[] = {
        {255, d, d},
        {128, {149, 150, 50}, {149, 151, 50}},
        {0, {199, 100, 50}, s},  // one short where s is above d, exact where it is below
    };
    for (const int bits : {1, 4, 8, 24}) {
        for (const Case& c : cases) {
            const PxlImageId picture = PXLCreateImage(2, 1, bits);
            if (bits == 24) {
                const uint8_t bgr[] = {s[2], s[1], s[0], s[2], s[1], s[0]};
                std::memcpy(PXLGetBits(picture), bgr, sizeof bgr);
            } else {
                PXLSetColorToPalette(picture, 0, RGB(s[0], s[1], s[2]));  // both pixels hold index 0
            }
            PXLSetImageTransparentMask(picture, maskOf({".x"}));
            const PxlImageId alpha = PXLCreateImage(2, 1, 8);
            PXLGetBits(alpha)[0] = static_cast<uint8_t>(c.alpha);
            PXLGetBits(alpha)[1] = 0;

            Dib dest(2, 1, d);
            ASSERT_EQ(dest.blit(0, 0, 2, 1, picture, 0, alpha), 1) << bits << " bits, alpha " << c.alpha;
            EXPECT_EQ(dest.at(0, 0), bits == 8 ? c.divided : c.shifted) << bits << " bits, alpha " << c.alpha;
            EXPECT_EQ(dest.at(1, 0), d) << "masked";

            Dib plain(2, 1, d);
            ASSERT_EQ(plain.blit(0, 0, 2, 1, picture), 1);
            EXPECT_EQ(plain.at(0, 0), s) << bits << " bits without alpha";
            PXLDeleteImage(alpha);
            PXLDeleteImage(picture);
        }
    }
    EXPECT_EQ(liveImageCount(), 0u);
}

// The caller's buffer may be the picture's own pixels. Rows are drawn from the top down there, as
// they always were: moved down a row, each row is drawn from the row above after that row was
// itself overwritten, so the first row fills the picture; moved up a row, every row is read
// before it is written.
TEST_F(TransparentBlit, APictureDrawnOverItsOwnPixelsGoesFromTheTopDown) {
    struct Case {
        const char* what;
        int top;
        Rows expected;
    };
    const Case cases[] = {
        {"one row down", 1, {"ABC", "ABC", "ABC", "ABC"}},
        {"one row up", -1, {"DEF", "CAB", "FDE", "FDE"}},
    };
    for (const Case& c : cases) {
        for (const bool withAlpha : {false, true}) {
            const PxlImageId picture = masked({"ABC", "DEF", "CAB", "FDE"}, {"...", "...", "...", "..."});
            const PxlImageId alpha = withAlpha ? PXLCreateImage(3, 4, 8) : 0;  // all 0: the picture's colours
            BITMAPINFOHEADER header = PXLGetBitmapInfoHeader(picture)->bmiHeader;
            const int16_t done = PXLStretchBltTransparent(nullptr, &header, PXLGetBits(picture), 0, c.top, 3,
                                                          c.top + 4, picture, 0, alpha, 0, 0, 0);
            // Without alpha the colours are exact; through alpha 0 each blend may end a channel one
            // short, and a row drawn from an overwritten one was blended up to three times.
            if (withAlpha) {
                for (int y = 0; y < 4; ++y) {
                    for (int x = 0; x < 3; ++x) {
                        const uint8_t* got = rowOf(picture, y) + 3 * x;
                        const Rgb& want = kColors.at(c.expected[y][x]);
                        for (int k = 0; k < 3; ++k)
                            EXPECT_NEAR(got[k], want[2 - k], 3) << c.what << " at " << x << "," << y;
                    }
                }
            } else {
                Rows drawn;
                for (int y = 0; y < 4; ++y) {
                    std::string row;
                    for (int x = 0; x < 3; ++x) {
                        const uint8_t* p = rowOf(picture, y) + 3 * x;
                        row += letterOf({p[2], p[1], p[0]});
                    }
                    drawn.push_back(row);
                }
                EXPECT_EQ(joined(drawn), joined(c.expected)) << c.what;
            }
            EXPECT_EQ(done, 1) << c.what;
            if (alpha) PXLDeleteImage(alpha);
            PXLDeleteImage(picture);
        }
    }
}

TEST_F(TransparentBlit, TheImagesOwnTransparencyImageServesAsAlphaWhenAsked) {
    // Entries hide the blue pixel; the 8-bit transparency image half-covers the first.
    const PxlImageId picture = truecolor({"AC"});
    const PxlTransparencyEntry blue = {0, 0, 255, 0, PXL_TRANSPARENT_COLOR, 0, 0};
    PXLSetImageTransparent(picture, &blue, 1);
    const PxlImageId alpha = PXLCreateImage(2, 1, 8);
    PXLGetBits(alpha)[0] = 128;
    ASSERT_EQ(PXLSetImageTransparentEx(picture, alpha), 1);

    Dib used(2, 1, {0, 0, 0});
    ASSERT_EQ(used.blit(0, 0, 2, 1, picture, 1), 1);
    EXPECT_EQ(used.at(0, 0), (Rgb{126, 0, 0})) << "0 + (255 * 127 >> 8)";
    EXPECT_EQ(used.at(1, 0), (Rgb{0, 0, 0}));
    Dib ignored(2, 1, {0, 0, 0});
    ASSERT_EQ(ignored.blit(0, 0, 2, 1, picture, 0), 1);
    EXPECT_EQ(ignored.at(0, 0), (Rgb{255, 0, 0}));

    // A 1-bit transparency image is a mask, never an alpha; the derived mask still applies.
    ASSERT_EQ(PXLSetImageTransparentEx(picture, maskOf({"x."})), 1);
    Dib oneBit(2, 1);
    ASSERT_EQ(oneBit.blit(0, 0, 2, 1, picture, 1), 1);
    EXPECT_EQ(oneBit.drawn(), Rows{"A."});
}

TEST_F(TransparentBlit, AGivenMaskReplacesThePicturesOwn) {
    const PxlImageId picture = masked({"AB"}, {"x."});
    const PxlImageId other = maskOf({".x"});
    Dib dest(2, 1);
    ASSERT_EQ(dest.blit(0, 0, 2, 1, picture, 1, 0, other), 1);
    EXPECT_EQ(dest.drawn(), Rows{"A."});
    EXPECT_EQ(PXLbpp(other), 1) << "the caller keeps its mask";
}

TEST_F(TransparentBlit, SeparationPlates) {
    // Red is all magenta and yellow ink, no cyan, no black.
    const PxlImageId picture = masked({"A"}, {"."});
    struct Case {
        int16_t plate, keep;
        uint8_t grey;
    };
    const Case cases[] = {{2, 1, 0}, {3, 1, 255}, {4, 1, 255}, {5, 1, 0}, {3, 0, 0}, {2, 0, 255}};
    const size_t before = liveImageCount();
    for (const Case& c : cases) {
        Dib dest(1, 1);
        ASSERT_EQ(dest.blit(0, 0, 1, 1, picture, 1, 0, 0, c.plate, c.keep), 1) << c.plate;
        EXPECT_EQ(dest.at(0, 0), (Rgb{c.grey, c.grey, c.grey})) << "plate " << c.plate << " keep " << c.keep;
    }
    Dib itself(1, 1);
    ASSERT_EQ(itself.blit(0, 0, 1, 1, picture, 1, 0, 0, 1, 0), 1);
    EXPECT_EQ(itself.drawn(), Rows{"A"}) << "plate 1 is the picture itself";
    EXPECT_EQ(liveImageCount(), before) << "the plates were deleted";
}

// Threads drawing one picture share it; the first to need the mask builds it and the picture keeps
// exactly one, whoever stored it.
TEST_F(TransparentBlit, ThreadsDrawOnePictureTogether) {
    const PxlImageId picture = truecolor({"ABC", "DEF"});
    const PxlTransparencyEntry green = {0, 255, 0, 0, PXL_TRANSPARENT_COLOR, 0, 0};
    PXLSetImageTransparent(picture, &green, 1);
    std::vector<std::thread> threads;
    std::vector<int> drawn(6, 0);
    std::vector<int> right(6, 0);
    for (int t = 0; t < 6; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 40; ++i) {
                if (t == 0 && i % 8 == 7) PXLSetImageTransparent(picture, &green, 1);  // drops the mask
                Dib dest(3, 2);
                drawn[t] += dest.blit(0, 0, 3, 2, picture);
                right[t] += joined(dest.drawn()) == joined({"A.C", "DEF"});
            }
        });
    }
    for (auto& thread : threads) thread.join();
    for (int t = 0; t < 6; ++t) {
        EXPECT_EQ(drawn[t], 40) << t;
        EXPECT_EQ(right[t], 40) << t;
    }
    EXPECT_EQ(liveImageCount(), 2u) << "the picture and its one mask";
}

TEST_F(TransparentBlit, RefusalsWriteNothing) {
    const PxlImageId picture = masked({"AB", "CD"}, {"x.", ".."});
    const PxlImageId plain = truecolor({"AB", "CD"});
    const PxlImageId wide = PXLCreateImage(2, 2, PXL_BITS_565);
    PXLSetImageTransparentMask(wide, maskOf({"x.", ".."}));
    const PxlImageId onlyAlpha = truecolor({"AB", "CD"});
    PXLSetImageTransparentEx(onlyAlpha, PXLCreateImage(2, 2, 8));
    const PxlImageId oneBitAlpha = PXLCreateImage(2, 2, 1);
    const PxlImageId smallAlpha = PXLCreateImage(1, 2, 8);
    const PxlImageId deepMask = PXLCreateImage(2, 2, 8);
    const PxlImageId smallMask = PXLCreateImage(2, 1, 1);

    struct Case {
        const char* what;
        void (*spoil)(BITMAPINFOHEADER&);
        int left, top, right, bottom;
        PxlImageId id, alpha, mask;
        int16_t plate;
    };
    auto keep = [](BITMAPINFOHEADER&) {};
    const Case cases[] = {
        {"a 32-bit destination", [](BITMAPINFOHEADER& h) { h.biBitCount = 32; }, 0, 0, 2, 2, picture, 0, 0,
         0},
        {"an 8-bit destination", [](BITMAPINFOHEADER& h) { h.biBitCount = 8; }, 0, 0, 2, 2, picture, 0, 0, 0},
        {"a top-down destination", [](BITMAPINFOHEADER& h) { h.biHeight = -h.biHeight; }, 0, 0, 2, 2, picture,
         0, 0, 0},
        {"a compressed destination", [](BITMAPINFOHEADER& h) { h.biCompression = BI_RLE8; }, 0, 0, 2, 2,
         picture, 0, 0, 0},
        {"a destination smaller than it says", [](BITMAPINFOHEADER& h) { h.biSizeImage = 10; }, 0, 0, 2, 2,
         picture, 0, 0, 0},
        {"an empty width", keep, 1, 0, 1, 2, picture, 0, 0, 0},
        {"an empty height", keep, 0, 1, 2, 1, picture, 0, 0, 0},
        {"right of the destination", keep, 4, 0, 6, 2, picture, 0, 0, 0},
        {"below the destination", keep, 0, 3, 2, 5, picture, 0, 0, 0},
        {"left of the destination", keep, -2, 0, 0, 2, picture, 0, 0, 0},
        {"above the destination", keep, 0, -5, 2, -1, picture, 0, 0, 0},
        {"no image", keep, 0, 0, 2, 2, 0, 0, 0, 0},
        {"an unknown image", keep, 0, 0, 2, 2, 99, 0, 0, 0},
        {"no transparency", keep, 0, 0, 2, 2, plain, 0, 0, 0},
        {"a 16-bit picture", keep, 0, 0, 2, 2, wide, 0, 0, 0},
        {"only an 8-bit transparency image, which is no mask", keep, 0, 0, 2, 2, onlyAlpha, 0, 0, 0},
        {"a 1-bit alpha", keep, 0, 0, 2, 2, picture, oneBitAlpha, 0, 0},
        {"an alpha of another size", keep, 0, 0, 2, 2, picture, smallAlpha, 0, 0},
        {"an 8-bit mask", keep, 0, 0, 2, 2, picture, 0, deepMask, 0},
        {"a mask of another size", keep, 0, 0, 2, 2, picture, 0, smallMask, 0},
        {"an unknown mask", keep, 0, 0, 2, 2, picture, 0, 99, 0},
        {"no such plate", keep, 0, 0, 2, 2, picture, 0, 0, 6},
        {"a negative plate", keep, 0, 0, 2, 2, picture, 0, 0, -1},
    };
    const size_t before = liveImageCount();
    for (const Case& c : cases) {
        Dib dest(4, 3);
        c.spoil(dest.header);
        const std::vector<uint8_t> untouched = dest.bits;
        EXPECT_EQ(dest.blit(c.left, c.top, c.right, c.bottom, c.id, 1, c.alpha, c.mask, c.plate), 0)
            << c.what;
        EXPECT_EQ(dest.bits, untouched) << c.what;
        EXPECT_EQ(liveImageCount(), before) << c.what;
    }
    Dib dest(4, 3);
    EXPECT_EQ(
        PXLStretchBltTransparent(nullptr, nullptr, dest.bits.data(), 0, 0, 2, 2, picture, 1, 0, 0, 0, 0), 0);
    EXPECT_EQ(PXLStretchBltTransparent(nullptr, &dest.header, nullptr, 0, 0, 2, 2, picture, 1, 0, 0, 0, 0),
              0);
    EXPECT_EQ(dest.blit(0, 0, 2, 2, picture), 1) << "the picture itself draws";
}

}  // namespace
