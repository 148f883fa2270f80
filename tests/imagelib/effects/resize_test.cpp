#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "../pixel_access.h"
#include "../pixmill_fixture.h"

namespace {

using pixmill::liveImageCount;
using Resampler = PixmillTest;

// Channel c (0 blue, 1 green, 2 red, 3 the fourth byte) of a 24- or 32-bit pixel.
int channel(PxlImageId id, int x, int y, int c) {
    return testpx::row(id, y)[x * (PXLbpp(id) / 8) + c];
}

// A 24- or 32-bit image of smooth and sharp changes alike: every channel different.
PxlImageId ramp(int width, int height, int bits) {
    const PxlImageId id = PXLCreateImage(width, height, bits);
    const int bytes = bits / 8;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = testpx::row(id, y);
        for (int x = 0; x < width; ++x) {
            row[bytes * x] = static_cast<uint8_t>(x * 255 / std::max(1, width - 1));
            row[bytes * x + 1] = static_cast<uint8_t>(y * 255 / std::max(1, height - 1));
            row[bytes * x + 2] = static_cast<uint8_t>((x * 37 + y * 91) % 256);
            if (bytes == 4) row[bytes * x + 3] = static_cast<uint8_t>((x + y) % 2 ? 255 : 0);
        }
    }
    return id;
}

int nearestSource(int i, int from, int to) {
    return static_cast<int>((2 * int64_t{i} + 1) * from / (2 * int64_t{to}));
}

// Linear interpolation between the pixels either side of the output centre mapped onto source
// centres; the edge pixel beyond the outer centres.
struct Linear {
    int x0, x1;
    double f;
};
Linear linear(int i, int from, int to) {
    const double p = std::clamp((i + 0.5) * from / to - 0.5, 0.0, from - 1.0);
    const int x0 = static_cast<int>(std::floor(p));
    return {x0, std::min(x0 + 1, from - 1), p - x0};
}

// How much of source pixel k lies under output pixel i (fractions summing to 1).
double coverage(int i, int k, int from, int to) {
    const double a = double(i) * from / to, b = double(i + 1) * from / to;
    return std::max(0.0, std::min(b, k + 1.0) - std::max(a, double(k))) * to / from;
}

double bilinearReference(PxlImageId src, int x, int y, int c, int dw, int dh) {
    const Linear lx = linear(x, PXLWidth(src), dw), ly = linear(y, PXLHeight(src), dh);
    const auto at = [&](int sx, int sy) { return double(channel(src, sx, sy, c)); };
    const double top = at(lx.x0, ly.x0) * (1 - lx.f) + at(lx.x1, ly.x0) * lx.f;
    const double bottom = at(lx.x0, ly.x1) * (1 - lx.f) + at(lx.x1, ly.x1) * lx.f;
    return top * (1 - ly.f) + bottom * ly.f;
}

double boxReference(PxlImageId src, int x, int y, int c, int dw, int dh) {
    const int sw = PXLWidth(src), sh = PXLHeight(src);
    double sum = 0;
    for (int sy = 0; sy < sh; ++sy)
        for (int sx = 0; sx < sw; ++sx)
            sum += coverage(x, sx, sw, dw) * coverage(y, sy, sh, dh) * channel(src, sx, sy, c);
    return sum;
}

PxlImageId resized(PxlImageId source, int width, int height, int mode) {
    const PxlImageId target =
        PXLCreateImage(width, height, PXLbpp(source) == 16 ? PXL_BITS_565 : PXLbpp(source));
    if (IPLResize(source, target, width, height, mode) != 1) {
        PXLDeleteImage(target);
        return 0;
    }
    return target;
}

struct Size {
    int sw, sh, dw, dh;
};

TEST_F(Resampler, NearestTakesThePixelUnderEachCentreAtEveryDepth) {
    const Size sizes[] = {{7, 5, 3, 2}, {4, 4, 9, 7}, {13, 3, 13, 6}, {10, 10, 1, 1}, {3, 9, 17, 2}};
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        for (const Size& s : sizes) {
            SCOPED_TRACE(testing::Message()
                         << bits << " bits, " << s.sw << "x" << s.sh << " to " << s.dw << "x" << s.dh);
            const PxlImageId source = PXLCreateImage(s.sw, s.sh, bits == 16 ? PXL_BITS_565 : bits);
            const int bytes = std::max(1, bits / 8);
            for (int y = 0; y < s.sh; ++y) {
                uint8_t* row = testpx::row(source, y);
                for (int x = 0; x < s.sw; ++x) {
                    if (bits < 8) {
                        testpx::setIndex(source, x, y, (x * 7 + y * 3) % (1 << bits));
                    } else {
                        for (int b = 0; b < bytes; ++b)
                            row[bytes * x + b] = static_cast<uint8_t>(x * 16 + y + b * 50);
                    }
                }
            }
            const PxlImageId target = resized(source, s.dw, s.dh, PXL_RESIZE_NEAREST);
            ASSERT_NE(target, 0);
            for (int y = 0; y < s.dh; ++y) {
                for (int x = 0; x < s.dw; ++x) {
                    const int sx = nearestSource(x, s.sw, s.dw), sy = nearestSource(y, s.sh, s.dh);
                    if (bits < 8) {
                        EXPECT_EQ(testpx::index(target, x, y), testpx::index(source, sx, sy))
                            << x << "," << y;
                    } else {
                        EXPECT_EQ(std::memcmp(testpx::row(target, y) + bytes * x,
                                              testpx::row(source, sy) + bytes * sx, bytes),
                                  0)
                            << x << "," << y;
                    }
                }
            }
            PXLDeleteImage(target);
            PXLDeleteImage(source);
        }
    }
}

TEST_F(Resampler, BilinearStaysWithinOneLevelOfTheReference) {
    const Size sizes[] = {{5, 4, 13, 9}, {17, 11, 6, 4}, {8, 3, 5, 7}, {2, 2, 3, 3}, {40, 1, 7, 1}};
    for (int bits : {24, 32}) {
        for (const Size& s : sizes) {
            SCOPED_TRACE(testing::Message()
                         << bits << " bits, " << s.sw << "x" << s.sh << " to " << s.dw << "x" << s.dh);
            const PxlImageId source = ramp(s.sw, s.sh, bits);
            const PxlImageId target = resized(source, s.dw, s.dh, PXL_RESIZE_BILINEAR);
            ASSERT_NE(target, 0);
            for (int y = 0; y < s.dh; ++y)
                for (int x = 0; x < s.dw; ++x)
                    for (int c = 0; c < bits / 8; ++c)
                        EXPECT_NEAR(channel(target, x, y, c), bilinearReference(source, x, y, c, s.dw, s.dh),
                                    1.0)
                            << x << "," << y << " channel " << c;
        }
    }
}

TEST_F(Resampler, BoxAveragesTheCoveredAreaOnReductions) {
    const Size sizes[] = {{12, 8, 4, 2}, {13, 7, 5, 3}, {9, 9, 9, 4}, {30, 2, 7, 1}};
    for (const Size& s : sizes) {
        SCOPED_TRACE(testing::Message() << s.sw << "x" << s.sh << " to " << s.dw << "x" << s.dh);
        const PxlImageId source = ramp(s.sw, s.sh, 24);
        const PxlImageId target = resized(source, s.dw, s.dh, PXL_RESIZE_BOX);
        ASSERT_NE(target, 0);
        for (int y = 0; y < s.dh; ++y)
            for (int x = 0; x < s.dw; ++x)
                for (int c = 0; c < 3; ++c)
                    EXPECT_NEAR(channel(target, x, y, c), boxReference(source, x, y, c, s.dw, s.dh), 1.0)
                        << x << "," << y << " channel " << c;
    }
}

TEST_F(Resampler, TwoByTwoGrowsIntoBlocksOrGradients) {
    // Black and white side by side, both rows alike.
    const PxlImageId source =
        testpx::truecolour(2, 2, [](int x, int) { return x ? RGB(255, 255, 255) : RGB(0, 0, 0); });
    const PxlImageId blocks = resized(source, 4, 4, PXL_RESIZE_NEAREST);
    const PxlImageId smooth = resized(source, 4, 4, PXL_RESIZE_BILINEAR);
    const int nearestRow[] = {0, 0, 255, 255};
    const int linearRow[] = {0, 64, 191, 255};  // centres at -1/4, 1/4, 3/4, 5/4 of the pair
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(channel(blocks, x, y, 1), nearestRow[x]) << x << "," << y;
            EXPECT_EQ(channel(smooth, x, y, 1), linearRow[x]) << x << "," << y;
        }
    }
}

TEST_F(Resampler, SixteenBitPixelsResampleTheirChannels) {
    // 5-6-5 red ramp across; widened, resampled and rounded back within one step of each field.
    const PxlImageId source = PXLCreateImage(6, 2, PXL_BITS_565);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 6; ++x) {
            const uint16_t v = static_cast<uint16_t>((x * 6) << 11 | (63 - 10 * x) << 5 | 31 * y);
            std::memcpy(testpx::row(source, y) + 2 * x, &v, 2);
        }
    const PxlImageId target = resized(source, 3, 2, PXL_RESIZE_BOX);
    ASSERT_NE(target, 0);
    for (int x = 0; x < 3; ++x) {
        uint16_t v;
        std::memcpy(&v, testpx::row(target, 0) + 2 * x, 2);
        // The pair 2x, 2x + 1 averaged: red fields 12x and 12x + 6, green 63 - 20x and 53 - 20x.
        EXPECT_NEAR(v >> 11, 12 * x + 3, 1) << x;
        EXPECT_NEAR((v >> 5) & 63, 58 - 20 * x, 1) << x;
        EXPECT_EQ(v & 31, 0) << x;
        std::memcpy(&v, testpx::row(target, 1) + 2 * x, 2);
        EXPECT_EQ(v & 31, 31) << x;
    }
}

TEST_F(Resampler, OneBitPixelsTakeTheNearerIndex) {
    // 0 0 1 1 doubled: the centres fall at -1/4 .. 13/4, the values 0 0 0 1/4 3/4 1 1 1.
    const PxlImageId source = testpx::indexed(4, 1, 1, [](int x, int) { return x >= 2; });
    const PxlImageId smooth = resized(source, 8, 1, PXL_RESIZE_BILINEAR);
    ASSERT_NE(smooth, 0);
    EXPECT_EQ(testpx::pixels(smooth), (std::vector<uint32_t>{0, 0, 0, 0, 1, 1, 1, 1}));
    // A checkerboard averaged in 2 x 2 boxes is half and half: it ties to set; a box 3 / 4 set is set.
    const PxlImageId dots =
        testpx::indexed(4, 2, 1, [](int x, int y) { return x < 2 ? (x + y) % 2 : x != 3 || y != 1; });
    const PxlImageId box = resized(dots, 2, 1, PXL_RESIZE_BOX);
    EXPECT_EQ(testpx::pixels(box), (std::vector<uint32_t>{1, 1}));
}

TEST_F(Resampler, RefusesWhatItCannotFillAndLeavesTheTarget) {
    const PxlImageId truecolour = ramp(4, 4, 24);
    const PxlImageId palette = PXLCreateImage(4, 4, 8);
    const PxlImageId nibbles = PXLCreateImage(4, 4, 4);
    const PxlImageId target = PXLCreateImage(2, 2, 24);
    std::memset(PXLGetBits(target), 0x5A, static_cast<size_t>(PXLSizeImage(target)));
    const PxlImageId paletteTarget = PXLCreateImage(2, 2, 8);
    const PxlImageId nibbleTarget = PXLCreateImage(2, 2, 4);
    struct Case {
        const char* what;
        PxlImageId source, target;
        int width, height, mode;
    };
    const Case cases[] = {
        {"mode 0", truecolour, target, 2, 2, 0},
        {"mode 4", truecolour, target, 2, 2, 4},
        {"a negative mode", truecolour, target, 2, 2, -1},
        {"a size the target does not have", truecolour, target, 2, 3, 1},
        {"a target of another depth", truecolour, paletteTarget, 2, 2, 1},
        {"bilinear palette indexes", palette, paletteTarget, 2, 2, 2},
        {"averaged nibbles", nibbles, nibbleTarget, 2, 2, 3},
        {"the source as its own target", truecolour, truecolour, 4, 4, 1},
        {"no source", 0, target, 2, 2, 1},
        {"an unknown target", truecolour, 99, 2, 2, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IPLResize(c.source, c.target, c.width, c.height, c.mode), 0) << c.what;
        EXPECT_EQ(testpx::row(target, 0)[0], 0x5A) << c.what;
    }
    EXPECT_EQ(IPLResize(palette, paletteTarget, 2, 2, PXL_RESIZE_NEAREST), 1)
        << "indexes are picked, not blended";
}

}  // namespace
