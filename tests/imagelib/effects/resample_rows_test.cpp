// The resampler's vector row loops give the plain loops' bytes, whatever the sizes.
#include <cstring>
#include <random>
#include <vector>

#include "../pixmill_fixture.h"
#include "effects/resize.h"

namespace {

using pixmill::resample::RowLoops;
using VectorResampler = PixmillTest;

struct Case {
    int sw, sh, dw, dh;
};

// Growing, shrinking, 1:1 and single pixels; widths on and off the vector widths (2, 4, 8 and 16
// values), so each row ends in a part the vector loops leave to the plain one and row padding
// of every length follows.
constexpr Case kCases[] = {
    {1, 1, 1, 1},      {1, 1, 9, 5},     {2, 1, 7, 2},      {3, 3, 1, 1},      {5, 4, 5, 4},
    {7, 5, 19, 11},    {33, 9, 17, 5},   {64, 3, 21, 7},    {16, 8, 16, 8},    {101, 13, 37, 29},
    {37, 29, 101, 13}, {8, 8, 3, 40},    {300, 2, 1001, 3}, {1003, 3, 333, 2}, {4097, 2, 1024, 1},
    {9, 2, 2, 9},      {130, 6, 65, 12}, {6, 3, 7, 3},
};

PxlImageId randomImage(int width, int height, int bits, std::mt19937& random) {
    const PxlImageId id = PXLCreateImage(width, height, bits == 16 ? PXL_BITS_565 : bits);
    uint8_t* pixels = PXLGetBits(id);
    for (int32_t i = 0; i < PXLSizeImage(id); ++i) pixels[i] = static_cast<uint8_t>(random());
    return id;
}

// The target's whole buffer, padding included, resampled with the given loops.
std::vector<uint8_t> resampled(PxlImageId source, const Case& c, int mode, RowLoops loops) {
    const int bits = PXLbpp(source);
    const PxlImageId target = PXLCreateImage(c.dw, c.dh, bits == 16 ? PXL_BITS_565 : bits);
    std::vector<uint8_t> bytes;
    {
        pixmill::ImageLock in = pixmill::lockImage(source, pixmill::Access::Read);
        pixmill::ImageLock out = pixmill::lockImage(target, pixmill::Access::Write);
        std::memset(out->bits, 0xA5,
                    static_cast<size_t>(PXLSizeImage(target)));  // padding shows stray writes
        EXPECT_TRUE(pixmill::resample::resampleImage(*in, *out, mode, loops));
        bytes.assign(out->bits, out->bits + PXLSizeImage(target));
    }
    PXLDeleteImage(target);
    return bytes;
}

TEST_F(VectorResampler, GivesThePlainLoopsBytesAtEverySizeModeAndDepth) {
    int compared = 0;
    for (RowLoops loops : {RowLoops::Sse2, RowLoops::Avx2}) {
        if (!pixmill::resample::runs(loops)) continue;  // falls back; the other forms still compare
        std::mt19937 random(2024);
        for (int bits : {24, 32, 16, 1}) {
            for (const Case& c : kCases) {
                const PxlImageId source = randomImage(c.sw, c.sh, bits, random);
                for (int mode : {1, 2, 3}) {
                    SCOPED_TRACE(testing::Message()
                                 << "form " << static_cast<int>(loops) << ", " << bits << " bits, mode "
                                 << mode << ", " << c.sw << "x" << c.sh << " to " << c.dw << "x" << c.dh);
                    EXPECT_EQ(resampled(source, c, mode, loops), resampled(source, c, mode, RowLoops::Plain));
                    ++compared;
                }
                PXLDeleteImage(source);
            }
        }
    }
    if (compared == 0) GTEST_SKIP() << "this CPU runs no vector form of the resampler's loops";
}

// The vector loops must meet values whose sums reach the top of their range: all 255 and all 0
// side by side, where a pack that saturated or a sum that wrapped would show.
// Sums at the top of their range, all 255 beside all 0, where a pack that saturated or a sum that
// wrapped would show.
TEST_F(VectorResampler, KeepsFullScaleValuesExact) {
    const Case c{61, 7, 23, 19};
    const PxlImageId source = PXLCreateImage(c.sw, c.sh, 24);
    uint8_t* pixels = PXLGetBits(source);
    for (int32_t i = 0; i < PXLSizeImage(source); ++i) pixels[i] = (i / 3) % 2 ? 255 : 0;
    for (RowLoops loops : {RowLoops::Sse2, RowLoops::Avx2}) {
        if (!pixmill::resample::runs(loops)) continue;
        for (int mode : {1, 2, 3}) {
            EXPECT_EQ(resampled(source, c, mode, loops), resampled(source, c, mode, RowLoops::Plain))
                << "form " << static_cast<int>(loops) << ", mode " << mode;
        }
    }
    PXLDeleteImage(source);
}

}  // namespace
