#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "effect_test_support.h"
#include "effects/effect_kernels.h"
#include "effects/kernel_5x5.h"

namespace {

using pixmill::effects::EffectKernel;

using Kernel5x5 = PixmillTest;

// Applies the kernel to a 24-bit copy of the pixels; returns the result's pixels and the number
// of progress calls through `rows`.
std::vector<Rgb> convolve(int width, int height, const std::vector<Rgb>& pixels, const EffectKernel& kernel,
                          int* rows = nullptr) {
    const PxlImageId id = make24(width, height, pixels);
    pixmill::ImageLock image = pixmill::lockImage(id, pixmill::Access::Write);
    int calls = 0;
    EXPECT_TRUE(pixmill::effects::applyKernel5x5(*image, kernel, [&] { ++calls; }));
    image.release();
    if (rows) *rows = calls;
    std::vector<Rgb> result = pixelsOf(id);
    PXLDeleteImage(id);
    return result;
}

// A kernel with one weight: row and column counted as the weights are stored.
EffectKernel single(int row, int column, int weight) {
    EffectKernel kernel;
    kernel.weights[row * 5 + column] = static_cast<int16_t>(weight);
    return kernel;
}

// The picture's pixels from the top, numbered so each value tells its place: 10 * row + column.
std::vector<Rgb> numbered(int width, int height) {
    std::vector<Rgb> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) pixels.push_back({10 * y + x, 10 * y + x, 10 * y + x});
    }
    return pixels;
}

std::vector<int> reds(const std::vector<Rgb>& pixels) {
    std::vector<int> values;
    for (const Rgb& p : pixels) values.push_back(p.r);
    return values;
}

TEST_F(Kernel5x5, WeightRowsRunBottomUpAndEdgesRepeat) {
    struct Case {
        const char* what;
        int row, column;
        std::vector<int> want;  // 3 x 3 picture, top row first
    };
    // The picture: 0 1 2 / 10 11 12 / 20 21 22.
    const Case cases[] = {
        {"weight row 3 reads the row above", 3, 2, {0, 1, 2, 0, 1, 2, 10, 11, 12}},
        {"weight row 1 reads the row below", 1, 2, {10, 11, 12, 20, 21, 22, 20, 21, 22}},
        {"column 3 reads the pixel to the right", 2, 3, {1, 2, 2, 11, 12, 12, 21, 22, 22}},
        {"column 0 reads two pixels to the left", 2, 0, {0, 0, 0, 10, 10, 10, 20, 20, 20}},
        {"corner 4, 4 reads two up and two right", 4, 4, {2, 2, 2, 2, 2, 2, 2, 2, 2}},
        {"corner 0, 0 reads two down and two left", 0, 0, {20, 20, 20, 20, 20, 20, 20, 20, 20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(reds(convolve(3, 3, numbered(3, 3), single(c.row, c.column, 1))), c.want);
    }
}

TEST_F(Kernel5x5, SumsAreDividedTowardsZeroThenOffsetAndClamped) {
    struct Case {
        const char* what;
        EffectKernel kernel;
        Rgb in, out;
    };
    EffectKernel negativeHalf = single(2, 2, -1);
    negativeHalf.divisor = 2;
    negativeHalf.red = 100;
    negativeHalf.green = 100;
    negativeHalf.blue = 100;
    EffectKernel doubled = single(2, 2, 2);
    doubled.red = 10;
    EffectKernel grey = single(2, 2, 1);
    grey.grey = true;
    grey.blue = 1;
    EffectKernel zeroDivisor = single(2, 2, 1);
    zeroDivisor.divisor = 0;
    const Case cases[] = {
        // -3 / 2 is -1 towards zero (a floor would give -2).
        {"negative sums", negativeHalf, {3, 4, 250}, {99, 98, 0}},
        {"clamped above", doubled, {120, 130, 7}, {250, 255, 14}},
        {"grey takes the mean before the offsets", grey, {10, 20, 40}, {23, 23, 24}},
        {"divisor 0 acts as 1", zeroDivisor, {1, 2, 3}, {1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(convolve(1, 1, {c.in}, c.kernel), (std::vector<Rgb>{c.out}));
    }
}

TEST_F(Kernel5x5, AUniformImageHasNoContourAnywhere) {
    const std::vector<Rgb> uniform = filled(5 * 4, {90, 140, 200});
    EXPECT_EQ(convolve(5, 4, uniform, pixmill::effects::contourKernel()), filled(5 * 4, {0, 0, 0}));
    EXPECT_EQ(convolve(5, 4, uniform, pixmill::effects::sharpenKernel()), uniform) << "sharpening keeps flat areas";
}

TEST_F(Kernel5x5, ContourMarksWhereTheColourChanges) {
    // A bright pixel in the middle of black: eight times itself there, nothing left around it.
    std::vector<Rgb> dot = filled(9, {0, 0, 0});
    dot[4] = {20, 30, 40};
    const std::vector<Rgb> want = {{0, 0, 0}, {0, 0, 0},    {0, 0, 0}, {0, 0, 0}, {160, 240, 255},
                                   {0, 0, 0}, {0, 0, 0},    {0, 0, 0}, {0, 0, 0}};
    EXPECT_EQ(convolve(3, 3, dot, pixmill::effects::contourKernel()), want);
}

TEST_F(Kernel5x5, SharpeningWeighsTheDiagonalsAgainstTheCentre) {
    // 3 x 3 grey picture: corners 30, edges 99, centre 60. Centre: (7 * 60 - 4 * 30) / 3 = 100.
    // Top edge pixel: its upper diagonals repeat the corners beside it, the lower ones are edges:
    // (7 * 99 - 30 - 30 - 99 - 99) / 3 = 145. Top-left corner: (7 * 30 - 30 - 99 - 99 - 60) / 3
    // is below 0.
    const auto g = [](int v) { return Rgb{v, v, v}; };
    const std::vector<Rgb> picture = {g(30), g(99), g(30), g(99), g(60), g(99), g(30), g(99), g(30)};
    const std::vector<Rgb> result = convolve(3, 3, picture, pixmill::effects::sharpenKernel());
    EXPECT_EQ(result[4], g(100));
    EXPECT_EQ(result[1], g(145));
    EXPECT_EQ(result[0], g(0));
}

// A plain convolution written the direct way: every weight, columns and rows clamped.
std::vector<Rgb> directConvolution(int width, int height, const std::vector<Rgb>& in, const EffectKernel& k) {
    std::vector<Rgb> out;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int sum[3] = {0, 0, 0};
            for (int r = 0; r < 5; ++r) {
                for (int c = 0; c < 5; ++c) {
                    // Weight row r is r - 2 rows up the stored (bottom-up) order: up the picture.
                    const int py = std::clamp(y - (r - 2), 0, height - 1);
                    const int px = std::clamp(x + c - 2, 0, width - 1);
                    const Rgb& p = in[static_cast<size_t>(py * width + px)];
                    sum[0] += k.weights[r * 5 + c] * p.r;
                    sum[1] += k.weights[r * 5 + c] * p.g;
                    sum[2] += k.weights[r * 5 + c] * p.b;
                }
            }
            const int offsets[3] = {k.red, k.green, k.blue};
            int v[3];
            for (int i = 0; i < 3; ++i) v[i] = std::clamp(sum[i] / k.divisor + offsets[i], 0, 255);
            out.push_back({v[0], v[1], v[2]});
        }
    }
    return out;
}

TEST_F(Kernel5x5, AgreesWithADirectConvolutionOnEverySize) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> weight(-4, 4);
    for (const auto& [width, height] : {std::pair{1, 1}, {1, 6}, {6, 1}, {2, 2}, {7, 5}, {4, 9}}) {
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        EffectKernel kernel;
        for (int16_t& w : kernel.weights) w = static_cast<int16_t>(weight(random));
        kernel.divisor = 3;
        kernel.red = 40;
        kernel.blue = 90;
        const std::vector<Rgb> picture = gradient(width, height);
        int rows = 0;
        EXPECT_EQ(convolve(width, height, picture, kernel, &rows), directConvolution(width, height, picture, kernel));
        EXPECT_EQ(rows, height) << "progress once per row";
    }
}

TEST_F(Kernel5x5, OnlyTwentyFourBitImagesAreTaken) {
    for (const int bits : {8, 32, PXL_BITS_565}) {
        SCOPED_TRACE(bits);
        const PxlImageId id = PXLCreateImage(2, 2, bits);
        std::memset(PXLGetBits(id), 0x55, static_cast<size_t>(PXLSizeImage(id)));
        pixmill::ImageLock image = pixmill::lockImage(id, pixmill::Access::Write);
        EXPECT_FALSE(pixmill::effects::applyKernel5x5(*image, pixmill::effects::contourKernel(), {}));
        image.release();
        EXPECT_EQ(PXLGetBits(id)[0], 0x55);
    }
}

}  // namespace
