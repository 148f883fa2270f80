#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory_resource>
#include <new>
#include <random>
#include <set>
#include <thread>
#include <vector>

#include "../pixmill_fixture.h"
#include "core/colour/dither_matrix.h"
#include "core/colour/fine_colour_convert.h"
#include "core/colour/fine_colour_converter.h"
#include "core/registry/image_registry.h"
#include "core/rows/pixel_rows.h"

namespace {

using pixmill::Access;
using pixmill::colourDistance;
using pixmill::FineColourConverter;
using pixmill::lockImage;
using pixmill::packColour;
using pixmill::rowFromTop;

using FineColourConvert = PixmillTest;

// An 8-bit target whose first palette entries are given; the rest keep the default palette.
PxlImageId makeTarget(int width, int height, const std::vector<Rgb>& entries = {}) {
    const PxlImageId id = PXLCreateImage(width, height, 8);
    pixmill::ImageLock image = lockImage(id, Access::Write);
    for (size_t i = 0; i < entries.size(); ++i) {
        image->colors()[i] = RGBQUAD{static_cast<uint8_t>(entries[i].b), static_cast<uint8_t>(entries[i].g),
                                     static_cast<uint8_t>(entries[i].r), 0};
    }
    return id;
}

// A 1-bit mask whose bits are given row by row from the top (1 = convert the pixel).
PxlImageId makeMask(int width, int height, const std::vector<int>& bits) {
    const PxlImageId id = PXLCreateImage(width, height, 1);
    pixmill::ImageLock image = lockImage(id, Access::Write);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            if (bits[static_cast<size_t>(y * width + x)]) pixmill::setMaskBit(rowFromTop(*image, y), x);
    }
    return id;
}

int indexAt(PxlImageId id, int x, int y) {
    pixmill::ImageLock image = lockImage(id, Access::Read);
    return rowFromTop(*image, y)[x];
}

Rgb entryOf(PxlImageId id, int index) {
    const RGBQUAD q = PXLGetBitmapInfoHeader(id)->bmiColors[index];
    return Rgb{q.rgbRed, q.rgbGreen, q.rgbBlue};
}

void expectEntry(PxlImageId id, int index, Rgb c) {
    const Rgb e = entryOf(id, index);
    EXPECT_EQ(e.r, c.r) << "entry " << index;
    EXPECT_EQ(e.g, c.g) << "entry " << index;
    EXPECT_EQ(e.b, c.b) << "entry " << index;
}

// Everything of a target a failed conversion must leave alone: pixels, colour table and transparency.
struct Snapshot {
    std::vector<uint8_t> bits;
    std::vector<uint8_t> colours;
    std::vector<int32_t> transparency;

    static Snapshot of(PxlImageId id) {
        Snapshot s;
        pixmill::ImageLock image = lockImage(id, Access::Read);
        const size_t bytes = static_cast<size_t>(PXLCalcScanBytes(image->width(), 8)) * image->height();
        s.bits.assign(image->bits, image->bits + bytes);
        const auto* c = reinterpret_cast<const uint8_t*>(image->colors());
        s.colours.assign(c, c + 256 * sizeof(RGBQUAD));
        for (int i = 0; i < image->entryCount; ++i) {
            const PxlTransparencyEntry& e = image->entries[static_cast<size_t>(i)];
            s.transparency.insert(s.transparency.end(), {e.red, e.green, e.blue, e.tolerance, e.kind});
        }
        return s;
    }
    bool operator==(const Snapshot&) const = default;
};

// A picture with smooth gradients, a few sharp edges and noise, as photographs have.
std::vector<Rgb> photoLike(int width, int height, uint32_t seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, 6.0);
    std::vector<Rgb> pixels;
    pixels.reserve(static_cast<size_t>(width * height));
    auto level = [&](double v) {
        return std::clamp(static_cast<int>(std::lround(v + noise(random))), 0, 255);
    };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double u = static_cast<double>(x) / width, v = static_cast<double>(y) / height;
            const bool inside = (u - 0.6) * (u - 0.6) + (v - 0.4) * (v - 0.4) < 0.05;
            const double r = inside ? 220 - 80 * v : 40 + 150 * u + 30 * std::sin(9 * v);
            const double g = inside ? 90 + 60 * u : 70 + 120 * v * u;
            const double b = inside ? 40 : 200 - 140 * v + 25 * std::cos(7 * u);
            pixels.push_back(Rgb{level(r), level(g), level(b)});
        }
    }
    return pixels;
}

// Hands out memory until its allocation number failAt, which throws.
class FailingResource : public std::pmr::memory_resource {
public:
    explicit FailingResource(int failAt) : failAt_(failAt) {}
    int allocations() const { return count_; }

private:
    void* do_allocate(size_t bytes, size_t alignment) override {
        if (++count_ == failAt_) throw std::bad_alloc();
        return std::pmr::new_delete_resource()->allocate(bytes, alignment);
    }
    void do_deallocate(void* p, size_t bytes, size_t alignment) override {
        std::pmr::new_delete_resource()->deallocate(p, bytes, alignment);
    }
    bool do_is_equal(const memory_resource& other) const noexcept override { return this == &other; }

    int failAt_;
    int count_ = 0;
};

// ---- colour distances ----------------------------------------------------------------------

TEST(FineColourDistance, ExactAndRedWeightedFormsOnHandValues) {
    struct Case {
        Rgb a, b;
        int32_t exact, weighted;
    };
    const Case cases[] = {
        // m = 11: (523 * 9) >> 8 = 18, 4 * 16 = 64.
        {{10, 20, 30}, {13, 16, 30}, 25, 82},
        // m = 80: (592 * 1600) >> 8 = 3700, 4 * 900 = 3600, (687 * 400) >> 8 = 1073.
        {{100, 50, 200}, {60, 80, 180}, 2900, 8373},
        // m = 127: (639 * 65025) >> 8 = 162308, 260100, (640 * 65025) >> 8 = 162562.
        {{0, 0, 0}, {255, 255, 255}, 195075, 584970},
        // Reddish pairs weigh red more: m = 227 gives (739 * 400) >> 8 = 1154 for a red step of 20,
        // while m = 10 gives (522 * 400) >> 8 = 815.
        {{237, 0, 0}, {217, 0, 0}, 400, 1154},
        {{20, 0, 0}, {0, 0, 0}, 400, 815},
        // ...and blue less: (767 - 227) * 400 >> 8 = 843 against (767 - 10) * 400 >> 8 = 1182.
        {{237, 0, 20}, {217, 0, 0}, 800, 1154 + 843},
        {{20, 0, 20}, {0, 0, 0}, 800, 815 + 1182},
    };
    for (const Case& c : cases) {
        const auto a = packColour(c.a.r, c.a.g, c.a.b), b = packColour(c.b.r, c.b.g, c.b.b);
        EXPECT_EQ(colourDistance(a, b, true), c.exact) << c.a.r << "," << c.a.g << "," << c.a.b;
        EXPECT_EQ(colourDistance(a, b, false), c.weighted) << c.a.r << "," << c.a.g << "," << c.a.b;
        EXPECT_EQ(colourDistance(b, a, false), c.weighted);
    }
}

// ---- error diffusion -------------------------------------------------------------------------

struct Rows {
    static constexpr int kWidth = 7;
    std::vector<uint8_t> current = std::vector<uint8_t>(3 * kWidth, 128);
    std::vector<uint8_t> next = std::vector<uint8_t>(3 * kWidth, 128);

    int deltaCurrent(int x, int channel) const { return current[static_cast<size_t>(3 * x + channel)] - 128; }
    int deltaNext(int x, int channel) const { return next[static_cast<size_t>(3 * x + channel)] - 128; }
    int total(int channel) const {
        int sum = 0;
        for (int x = 0; x < kWidth; ++x) sum += deltaCurrent(x, channel) + deltaNext(x, channel);
        return sum;
    }
};

TEST(FineColourDiffusion, FloydSteinbergSharesAddUpToTheError) {
    // One pixel's error in the middle of rows of 128: e = 37 gives h = 18, ahead 18 - 2 = 16,
    // below-left 9 - 2 = 7, below 2 + 9 = 11 and the rest 3; e = -50 gives h = -25, ahead
    // -25 + 4 = -21, below-left -13 + 4 = -9, below -4 - 13 = -17, rest -3.
    Rows rows;
    FineColourConverter::diffuseError(2, rows.current.data(), rows.next.data(), 3, Rows::kWidth, 1,
                                     {37, -50, 1});
    const int expected[2][4] = {{16, 7, 11, 3}, {-21, -9, -17, -3}};
    for (int c = 0; c < 2; ++c) {
        EXPECT_EQ(rows.deltaCurrent(4, c), expected[c][0]);
        EXPECT_EQ(rows.deltaNext(2, c), expected[c][1]);
        EXPECT_EQ(rows.deltaNext(3, c), expected[c][2]);
        EXPECT_EQ(rows.deltaNext(4, c), expected[c][3]);
    }
    // A tiny error goes wholly to the pixel below-right.
    EXPECT_EQ(rows.deltaNext(4, 2), 1);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(rows.total(c), (std::array{37, -50, 1})[static_cast<size_t>(c)]);
    EXPECT_EQ(rows.deltaCurrent(2, 0), 0);  // nothing goes back along the row
}

TEST(FineColourDiffusion, FloydSteinbergGoesRightEvenWhenScanningLeft) {
    Rows rows;
    FineColourConverter::diffuseError(2, rows.current.data(), rows.next.data(), 3, Rows::kWidth, -1,
                                     {37, 0, 0});
    EXPECT_EQ(rows.deltaCurrent(4, 0), 16);
    EXPECT_EQ(rows.deltaCurrent(2, 0), 0);
}

TEST(FineColourDiffusion, BurkesSharesFollowTheScanDirection) {
    // e = 32: q = 8 ahead, 4 after that; below 2, 4, 8, 4, 2. Scanning left the row shares go left.
    for (int step : {1, -1}) {
        Rows rows;
        FineColourConverter::diffuseError(3, rows.current.data(), rows.next.data(), 3, Rows::kWidth, step,
                                         {32, -48, 16});
        EXPECT_EQ(rows.deltaCurrent(3 + step, 0), 8);
        EXPECT_EQ(rows.deltaCurrent(3 + 2 * step, 0), 4);
        EXPECT_EQ(rows.deltaCurrent(3 - step, 0), 0);
        const int below[5] = {2, 4, 8, 4, 2};
        for (int k = 0; k < 5; ++k) EXPECT_EQ(rows.deltaNext(1 + k, 0), below[k]) << "step " << step;
        // e = -48: q = -12, -6, -3 (arithmetic shifts round toward minus infinity).
        EXPECT_EQ(rows.deltaCurrent(3 + step, 1), -12);
        EXPECT_EQ(rows.deltaNext(1, 1), -3);
        // Errors that are multiples of 16 are spread whole.
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(rows.total(c), (std::array{32, -48, 16})[static_cast<size_t>(c)]);
    }
}

TEST(FineColourDiffusion, BurkesSharesOfSmallErrorsRoundDown) {
    // e = 4: q = 1, and every halved share is 0, so only 2 of the 4 arrive.
    Rows rows;
    FineColourConverter::diffuseError(3, rows.current.data(), rows.next.data(), 3, Rows::kWidth, 1, {4, 0, 0});
    EXPECT_EQ(rows.deltaCurrent(4, 0), 1);
    EXPECT_EQ(rows.deltaNext(3, 0), 1);
    EXPECT_EQ(rows.total(0), 2);
}

TEST(FineColourDiffusion, SharesStayInsideTheRowsAndAreClamped) {
    // Exact-size rows: any share past either end would be caught by the address checker.
    for (int type : {2, 3}) {
        for (int x : {0, Rows::kWidth - 1}) {
            for (int step : {1, -1}) {
                Rows rows;
                rows.current.assign(rows.current.size(), 250);
                FineColourConverter::diffuseError(type, rows.current.data(), rows.next.data(), x, Rows::kWidth,
                                                 step, {200, 200, 100});
                for (uint8_t v : rows.current) EXPECT_TRUE(v == 250 || v == 255) << int{v};
            }
        }
    }
    Rows rows;
    FineColourConverter::diffuseError(2, rows.current.data(), rows.next.data(), 0, Rows::kWidth, 1,
                                     {-255, 0, 0});
    EXPECT_EQ(rows.current[3], 16);  // 128 - 112
    EXPECT_EQ(rows.next[0], 48);     // 128 - 80: below; below-left does not exist
}

// ---- palettes ----------------------------------------------------------------------------------

TEST_F(FineColourConvert, BoxesAreOrderedByPixelCount) {
    // Black x6, white x3, red x1 and three colours: the first cut (green axis, through the mean)
    // takes white off, the second red off black; entries follow the pixel counts.
    std::vector<Rgb> pixels(6, Rgb{0, 0, 0});
    pixels.insert(pixels.end(), 3, Rgb{255, 255, 255});
    pixels.push_back(Rgb{255, 0, 0});
    const PxlImageId source = make24(5, 2, pixels);
    const PxlImageId target = makeTarget(5, 2);
    ASSERT_EQ(PXLFineColorConvert(target, source, 0, 3, 0, 0), 1);
    expectEntry(target, 0, {0, 0, 0});
    expectEntry(target, 1, {255, 255, 255});
    expectEntry(target, 2, {255, 0, 0});
    for (int i = 0; i < 10; ++i) {
        const Rgb p = pixels[static_cast<size_t>(i)];
        EXPECT_EQ(indexAt(target, i % 5, i / 5), p.r == 0 ? 0 : p.g == 255 ? 1 : 2);
    }
}

TEST_F(FineColourConvert, UpperHalfTakesColoursOnlyUntilItHoldsHalfThePixels) {
    // Black x3 and greys 250, 252, 254, 255: all greys lie above the cut, but the upper half
    // stops at 3 of 7 pixels, so 255 joins black in the lower half (mean 255 / 4 = 63), which
    // has more pixels and comes first. Each colour then takes its nearest box: 255 goes to 252.
    const std::vector<Rgb> pixels = {{0, 0, 0},       {250, 250, 250}, {0, 0, 0},      {252, 252, 252},
                                     {254, 254, 254}, {0, 0, 0},       {255, 255, 255}};
    const PxlImageId source = make24(7, 1, pixels);
    const PxlImageId target = makeTarget(7, 1);
    ASSERT_EQ(PXLFineColorConvert(target, source, 0, 2, 0, 0), 1);
    expectEntry(target, 0, {63, 63, 63});
    expectEntry(target, 1, {252, 252, 252});
    const int expected[7] = {0, 1, 0, 1, 1, 0, 1};
    for (int x = 0; x < 7; ++x) EXPECT_EQ(indexAt(target, x, 0), expected[x]) << "x " << x;
}

TEST_F(FineColourConvert, KeptColourTakesTheNearestBoxsPlace) {
    // The boxes of the case above are grey 63 and grey 252; the kept entry 0 is nearest to the
    // second, which takes its exact colour. Kept colours keep their colour, not their place.
    const std::vector<Rgb> pixels = {{0, 0, 0},       {250, 250, 250}, {0, 0, 0},      {252, 252, 252},
                                     {254, 254, 254}, {0, 0, 0},       {255, 255, 255}};
    const PxlImageId source = make24(7, 1, pixels);
    const PxlImageId target = makeTarget(7, 1, {{240, 250, 240}, {1, 2, 3}});
    ASSERT_EQ(PXLFineColorConvert(target, source, 0, 2, 0, 1), 1);
    expectEntry(target, 0, {63, 63, 63});
    expectEntry(target, 1, {240, 250, 240});
    const int expected[7] = {0, 1, 0, 1, 1, 0, 1};
    for (int x = 0; x < 7; ++x) EXPECT_EQ(indexAt(target, x, 0), expected[x]) << "x " << x;
}

TEST_F(FineColourConvert, TwoColoursGiveExactColoursWithAnyDither) {
    const Rgb a{200, 30, 40}, b{20, 180, 220};
    std::vector<Rgb> pixels;
    for (int i = 0; i < 6 * 5; ++i) pixels.push_back((i * 7) % 3 == 0 ? a : b);
    const PxlImageId source = make24(6, 5, pixels);
    for (int dither = 0; dither <= 3; ++dither) {
        const PxlImageId target = makeTarget(6, 5);
        ASSERT_EQ(PXLFineColorConvert(target, source, 0, 2, dither, 0), 1);
        for (int i = 0; i < 30; ++i) {
            const Rgb shown = entryOf(target, indexAt(target, i % 6, i / 6));
            const Rgb want = pixels[static_cast<size_t>(i)];
            EXPECT_TRUE(shown.r == want.r && shown.g == want.g && shown.b == want.b)
                << "dither " << dither << " pixel " << i;
        }
    }
}

TEST_F(FineColourConvert, OneColourFillsEntryZeroAndLeavesTheRest) {
    const PxlImageId source = make24(4, 3, std::vector<Rgb>(12, Rgb{17, 99, 201}));
    const PxlImageId target = makeTarget(4, 3);
    const Snapshot before = Snapshot::of(target);
    ASSERT_EQ(PXLFineColorConvert(target, source, 0, 16, 2, 0), 1);
    expectEntry(target, 0, {17, 99, 201});
    const Snapshot after = Snapshot::of(target);
    EXPECT_TRUE(std::equal(before.colours.begin() + 4, before.colours.end(), after.colours.begin() + 4));
    for (int i = 0; i < 12; ++i) EXPECT_EQ(indexAt(target, i % 4, i / 4), 0);
}

TEST_F(FineColourConvert, KeepingAsManyColoursAsWantedMapsOntoTheOldPalette) {
    // fixed == colours, and fixed above colours counts as colours: the palette stays to the last
    // byte and each pixel takes the nearest entry under the red-weighted distance.
    const std::vector<Rgb> entries = {{0, 0, 0},     {255, 255, 255}, {200, 40, 40},  {40, 160, 60},
                                      {50, 60, 210}, {230, 210, 60},  {120, 120, 120}, {90, 30, 140}};
    const std::vector<Rgb> pixels = photoLike(24, 16, 7);
    const PxlImageId source = make24(24, 16, pixels);
    for (int fixed : {8, 12}) {
        const PxlImageId target = makeTarget(24, 16, entries);
        {
            pixmill::ImageLock image = lockImage(target, Access::Write);
            image->colors()[3].rgbReserved = 9;
        }
        const Snapshot before = Snapshot::of(target);
        ASSERT_EQ(PXLFineColorConvert(target, source, 0, 8, 0, fixed), 1);
        EXPECT_EQ(Snapshot::of(target).colours, before.colours) << "fixed " << fixed;
        for (int i = 0; i < 24 * 16; ++i) {
            const Rgb p = pixels[static_cast<size_t>(i)];
            int best = 0;
            for (int j = 1; j < 8; ++j) {
                const auto c = packColour(p.r, p.g, p.b);
                const auto e = [&](int k) { return packColour(entries[k].r, entries[k].g, entries[k].b); };
                if (colourDistance(c, e(j), false) < colourDistance(c, e(best), false)) best = j;
            }
            EXPECT_EQ(indexAt(target, i % 24, i / 24), best) << "pixel " << i;
        }
    }
}

TEST_F(FineColourConvert, CountsAreClampedToTheirRanges) {
    // colours 1 acts as 2, 300 as 256, fixed -3 as 0: each gives the same target as the bound.
    const std::vector<Rgb> pixels = photoLike(40, 30, 3);
    const PxlImageId source = make24(40, 30, pixels);
    struct Case {
        int colours, fixed, boundColours, boundFixed;
    };
    for (const Case& c :
         {Case{1, 0, 2, 0}, Case{300, 0, 256, 0}, Case{16, -3, 16, 0}, Case{300, 400, 256, 256}}) {
        const PxlImageId asked = makeTarget(40, 30, {{1, 2, 3}, {4, 5, 6}});
        const PxlImageId bound = makeTarget(40, 30, {{1, 2, 3}, {4, 5, 6}});
        ASSERT_EQ(PXLFineColorConvert(asked, source, 0, c.colours, 2, c.fixed), 1);
        ASSERT_EQ(PXLFineColorConvert(bound, source, 0, c.boundColours, 2, c.boundFixed), 1);
        EXPECT_EQ(Snapshot::of(asked), Snapshot::of(bound))
            << "colours " << c.colours << " fixed " << c.fixed;
        PXLDeleteImage(asked);
        PXLDeleteImage(bound);
    }
    // Two colours asked as 1: only indices 0 and 1, and entry 2 keeps its old colour.
    const PxlImageId target = makeTarget(40, 30, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
    ASSERT_EQ(PXLFineColorConvert(target, source, 0, 1, 0, 0), 1);
    expectEntry(target, 2, {7, 8, 9});
    for (int i = 0; i < 40 * 30; ++i) EXPECT_LE(indexAt(target, i % 40, i / 40), 1);
}

// ---- masks ---------------------------------------------------------------------------------------

TEST_F(FineColourConvert, MaskedOutPixelsGetTheLastEntryAsTransparency) {
    // Bit 1 converts; the red pixels are masked out and count for nothing, so the one converted
    // colour is entry 0.
    const Rgb blue{10, 20, 230}, red{250, 0, 0};
    const std::vector<Rgb> pixels = {blue, red, blue, red, red, blue};
    const std::vector<int> bits = {1, 0, 1, 0, 0, 1};
    const PxlImageId source = make24(3, 2, pixels);
    const PxlImageId mask = makeMask(3, 2, bits);
    const PxlImageId target = makeTarget(3, 2, {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {3, 3, 3}});
    ASSERT_EQ(PXLFineColorConvert(target, source, mask, 4, 1, 0), 1);
    expectEntry(target, 0, blue);
    expectEntry(target, 1, {1, 1, 1});
    expectEntry(target, 3, {128, 128, 128});
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(indexAt(target, i % 3, i / 3), bits[static_cast<size_t>(i)] ? 0 : 3);
    int32_t count = 0;
    const PxlTransparencyEntry* entries = PXLGetImageTransparentData(target, &count);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(entries[0].kind, PXL_TRANSPARENT_INDEX);
    EXPECT_EQ(entries[0].blue, 3);
}

TEST_F(FineColourConvert, MaskRewritesOnlyTheFirstTransparencyEntry) {
    const PxlImageId source = make24(2, 2, std::vector<Rgb>(4, Rgb{90, 90, 90}));
    const PxlImageId mask = makeMask(2, 2, {1, 1, 1, 0});
    const PxlImageId target = makeTarget(2, 2);
    PxlTransparencyEntry old[2]{};
    old[0].kind = PXL_TRANSPARENT_COLOR;
    old[0].red = 5;
    old[1].kind = PXL_TRANSPARENT_COLOR;
    old[1].green = 77;
    ASSERT_EQ(PXLSetImageTransparent(target, old, 2), 1);
    ASSERT_EQ(PXLFineColorConvert(target, source, mask, 256, 0, 0), 1);
    int32_t count = 0;
    const PxlTransparencyEntry* entries = PXLGetImageTransparentData(target, &count);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(entries[0].kind, PXL_TRANSPARENT_INDEX);
    EXPECT_EQ(entries[0].blue, 255);
    EXPECT_EQ(entries[0].red, 0);
    EXPECT_EQ(entries[1].green, 77);
    expectEntry(target, 255, {128, 128, 128});
    EXPECT_EQ(indexAt(target, 1, 1), 255);
    EXPECT_EQ(indexAt(target, 0, 0), 0);
}

TEST_F(FineColourConvert, KeptPaletteWithMaskGivesUpItsLastEntry) {
    const PxlImageId source = make24(2, 1, {{250, 250, 250}, {5, 5, 5}});
    const PxlImageId mask = makeMask(2, 1, {1, 0});
    const PxlImageId target = makeTarget(2, 1, {{0, 0, 0}, {255, 255, 255}, {9, 9, 9}});
    ASSERT_EQ(PXLFineColorConvert(target, source, mask, 3, 0, 3), 1);
    expectEntry(target, 0, {0, 0, 0});
    expectEntry(target, 1, {255, 255, 255});
    expectEntry(target, 2, {128, 128, 128});
    EXPECT_EQ(indexAt(target, 0, 0), 1);
    EXPECT_EQ(indexAt(target, 1, 0), 2);
}

// ---- pixel pass ----------------------------------------------------------------------------------

TEST_F(FineColourConvert, OddRowsAreScannedRightToLeft) {
    // Black and white kept; the bottom row (stored first) is black, the top row grey 100. The
    // top row is stored second, so it runs right to left: Burkes error piles up to the left and
    // turns the leftmost pixel white (100 -> black, 125 -> black, 143 -> white). Floyd-Steinberg
    // sends its share rightwards only, which in this row lands on pixels already done.
    const std::vector<Rgb> pixels = {{100, 100, 100}, {100, 100, 100}, {100, 100, 100},
                                     {0, 0, 0},       {0, 0, 0},       {0, 0, 0}};
    const PxlImageId source = make24(3, 2, pixels);
    struct Case {
        int dither;
        std::array<int, 3> top;
    };
    for (const Case& c : {Case{3, {1, 0, 0}}, Case{2, {0, 0, 0}}, Case{0, {0, 0, 0}}}) {
        const PxlImageId target = makeTarget(3, 2, {{0, 0, 0}, {255, 255, 255}});
        ASSERT_EQ(PXLFineColorConvert(target, source, 0, 2, c.dither, 2), 1);
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(indexAt(target, x, 0), c.top[static_cast<size_t>(x)])
                << "dither " << c.dither << " x " << x;
            EXPECT_EQ(indexAt(target, x, 1), 0);
        }
        PXLDeleteImage(target);
    }
    // The same grey row stored first runs left to right: the white pixel ends up on the right.
    const PxlImageId flat = make24(3, 1, {{100, 100, 100}, {100, 100, 100}, {100, 100, 100}});
    const PxlImageId target = makeTarget(3, 1, {{0, 0, 0}, {255, 255, 255}});
    ASSERT_EQ(PXLFineColorConvert(target, flat, 0, 2, 3, 2), 1);
    EXPECT_EQ(indexAt(target, 0, 0), 0);
    EXPECT_EQ(indexAt(target, 2, 0), 1);
}

TEST_F(FineColourConvert, FloydSteinbergAlongOneRow) {
    // 100 -> black (+44 ahead), 144 -> white (-49 ahead), 51 -> black (+22 ahead), 122 -> black.
    const PxlImageId source = make24(4, 1, std::vector<Rgb>(4, Rgb{100, 100, 100}));
    const PxlImageId target = makeTarget(4, 1, {{0, 0, 0}, {255, 255, 255}});
    ASSERT_EQ(PXLFineColorConvert(target, source, 0, 2, 2, 2), 1);
    const int expected[4] = {0, 1, 0, 0};
    for (int x = 0; x < 4; ++x) EXPECT_EQ(indexAt(target, x, 0), expected[x]) << "x " << x;
}

TEST_F(FineColourConvert, OrderedDitherPushesPixelsPastTheirThreshold) {
    // Grey 30 is nearest black; where the threshold is below 30 it becomes 60, nearest grey 80.
    const PxlImageId source = make24(8, 8, std::vector<Rgb>(64, Rgb{30, 30, 30}));
    const PxlImageId target = makeTarget(8, 8, {{0, 0, 0}, {80, 80, 80}});
    ASSERT_EQ(PXLFineColorConvert(target, source, 0, 2, 1, 2), 1);
    for (int stored = 0; stored < 8; ++stored) {
        for (int x = 0; x < 8; ++x) {
            const int expected = pixmill::kOrderedDither[x * 8 + stored] < 30 ? 1 : 0;
            EXPECT_EQ(indexAt(target, x, 7 - stored), expected) << "x " << x << " stored row " << stored;
        }
    }
}

TEST_F(FineColourConvert, NeverMoreColoursThanAsked) {
    const int sizes[][2] = {{37, 23}, {64, 48}};
    uint32_t seed = 11;
    for (const auto& size : sizes) {
        const int w = size[0], h = size[1];
        const std::vector<Rgb> pixels = photoLike(w, h, seed++);
        const PxlImageId source = make24(w, h, pixels);
        std::vector<int> bits(static_cast<size_t>(w * h));
        std::mt19937 random(seed);
        for (int& b : bits) b = random() % 5 != 0;
        const PxlImageId mask = makeMask(w, h, bits);
        for (int colours : {2, 16, 256}) {
            for (int dither = 0; dither <= 3; ++dither) {
                for (PxlImageId m : {PxlImageId{0}, mask}) {
                    const PxlImageId target = makeTarget(w, h);
                    ASSERT_EQ(PXLFineColorConvert(target, source, m, colours, dither, 0), 1);
                    std::set<int> used;
                    for (int i = 0; i < w * h; ++i) {
                        const int index = indexAt(target, i % w, i / w);
                        used.insert(index);
                        if (m) {
                            EXPECT_EQ(index == colours - 1, bits[static_cast<size_t>(i)] == 0);
                        }
                    }
                    EXPECT_LT(*used.rbegin(), colours) << colours << " colours, dither " << dither;
                    PXLDeleteImage(target);
                }
            }
        }
    }
}

TEST_F(FineColourConvert, ManyBluesOfOneRedAndGreenFindTheirNearestEntry) {
    // All 256 blues share red and green 90, so they fill one cell; with the red and green equal
    // the nearest entry is the one nearest in blue.
    std::vector<Rgb> pixels;
    for (int i = 0; i < 64 * 8; ++i) pixels.push_back(Rgb{90, 90, (i * 37) & 0xFF});
    const PxlImageId source = make24(64, 8, pixels);
    for (int dither : {0, 2}) {
        const PxlImageId target = makeTarget(64, 8);
        ASSERT_EQ(PXLFineColorConvert(target, source, 0, 16, dither, 0), 1);
        for (int i = 0; i < 16; ++i) {
            EXPECT_EQ(entryOf(target, i).r, 90);
            EXPECT_EQ(entryOf(target, i).g, 90);
        }
        if (dither != 0) continue;
        for (int i = 0; i < 64 * 8; ++i) {
            const int blue = pixels[static_cast<size_t>(i)].b;
            int nearest = 255;
            for (int e = 0; e < 16; ++e) nearest = std::min(nearest, std::abs(entryOf(target, e).b - blue));
            EXPECT_EQ(std::abs(entryOf(target, indexAt(target, i % 64, i / 64)).b - blue), nearest)
                << "blue " << blue;
        }
        PXLDeleteImage(target);
    }
}

TEST_F(FineColourConvert, ConcurrentConversionsMatchConversionsAlone) {
    // Threads share the source and the mask (read) and each writes its own target; one more pair
    // of threads writes the same target, which they take in turn.
    const int w = 48, h = 32;
    const PxlImageId source = make24(w, h, photoLike(w, h, 21));
    std::vector<int> bits(static_cast<size_t>(w * h), 1);
    for (size_t i = 0; i < bits.size(); i += 7) bits[i] = 0;
    const PxlImageId mask = makeMask(w, h, bits);
    const int dithers[] = {0, 1, 2, 3};
    std::vector<Snapshot> alone;
    for (int dither : dithers) {
        const PxlImageId target = makeTarget(w, h);
        ASSERT_EQ(PXLFineColorConvert(target, source, mask, 32, dither, 0), 1);
        alone.push_back(Snapshot::of(target));
        PXLDeleteImage(target);
    }
    std::vector<PxlImageId> targets;
    for (size_t i = 0; i < std::size(dithers); ++i) targets.push_back(makeTarget(w, h));
    const PxlImageId shared = makeTarget(w, h);
    std::vector<int> mismatches(std::size(dithers) + 2, 0);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < std::size(dithers); ++i) {
        threads.emplace_back([&, i] {
            for (int round = 0; round < 4; ++round) {
                if (PXLFineColorConvert(targets[i], source, mask, 32, dithers[i], 0) != 1 ||
                    !(Snapshot::of(targets[i]) == alone[i]))
                    ++mismatches[i];
            }
        });
    }
    for (size_t k = 0; k < 2; ++k) {
        threads.emplace_back([&, k] {
            for (int round = 0; round < 4; ++round)
                if (PXLFineColorConvert(shared, source, mask, 32, 2, 0) != 1)
                    ++mismatches[std::size(dithers) + k];
        });
    }
    for (std::thread& t : threads) t.join();
    for (size_t i = 0; i < mismatches.size(); ++i) EXPECT_EQ(mismatches[i], 0) << "thread " << i;
    EXPECT_EQ(Snapshot::of(shared), alone[2]);
}

// ---- failures ------------------------------------------------------------------------------------

TEST_F(FineColourConvert, BadIdsDepthsAndSizesChangeNothing) {
    const PxlImageId source = make24(4, 4, photoLike(4, 4, 1));
    const PxlImageId target = makeTarget(4, 4);
    const PxlImageId source8 = PXLCreateImage(4, 4, 8);
    const PxlImageId source32 = PXLCreateImage(4, 4, 32);
    const PxlImageId target24 = PXLCreateImage(4, 4, 24);
    const PxlImageId target4 = PXLCreateImage(4, 4, 4);
    const PxlImageId wide = make24(5, 4, photoLike(5, 4, 2));
    const PxlImageId tall = make24(4, 5, photoLike(4, 5, 2));
    const PxlImageId mask8 = PXLCreateImage(4, 4, 8);
    const PxlImageId maskWide = makeMask(5, 4, std::vector<int>(20, 1));
    const PxlImageId maskShort = makeMask(4, 3, std::vector<int>(12, 1));
    const PxlImageId allMasked = makeMask(4, 4, std::vector<int>(16, 0));
    struct Case {
        const char* what;
        PxlImageId target, source, mask;
    };
    const Case cases[] = {
        {"no target", 0, source, 0},
        {"no source", target, 0, 0},
        {"unknown source", target, 99, 0},
        {"unknown mask", target, source, 99},
        {"8-bit source", target, source8, 0},
        {"32-bit source", target, source32, 0},
        {"24-bit target", target24, source, 0},
        {"4-bit target", target4, source, 0},
        {"source wider", target, wide, 0},
        {"source taller", target, tall, 0},
        {"8-bit mask", target, source, mask8},
        {"mask wider", target, source, maskWide},
        {"mask shorter", target, source, maskShort},
        {"everything masked out", target, source, allMasked},
    };
    const Snapshot before = Snapshot::of(target);
    for (const Case& c : cases) {
        EXPECT_EQ(PXLFineColorConvert(c.target, c.source, c.mask, 16, 2, 0), 0) << c.what;
        EXPECT_EQ(Snapshot::of(target), before) << c.what;
    }
    EXPECT_EQ(PXLFineColorConvert(target, source, 0, 16, 2, 0), 1);
}

TEST_F(FineColourConvert, EveryFailedAllocationLeavesTheTargetAsItWas) {
    // Fails each allocation of the run in turn (cells, colour list, box halves, neighbour tables,
    // row buffers, the cells growing under dithering): each gives 0 with the target untouched.
    const int w = 12, h = 9;
    const PxlImageId source = make24(w, h, photoLike(w, h, 5));
    std::vector<int> bits(static_cast<size_t>(w * h), 1);
    bits[5] = bits[40] = 0;
    const PxlImageId mask = makeMask(w, h, bits);
    const PxlImageId target = makeTarget(w, h);
    const Snapshot before = Snapshot::of(target);
    int failAt = 1;
    for (;; ++failAt) {
        FailingResource memory(failAt);
        const int32_t result = pixmill::fineColorConvert(target, source, mask, 8, 2, 1, &memory);
        if (memory.allocations() < failAt) {
            ASSERT_EQ(result, 1);
            break;
        }
        ASSERT_EQ(result, 0) << "allocation " << failAt;
        ASSERT_EQ(Snapshot::of(target), before) << "allocation " << failAt;
    }
    EXPECT_GT(failAt, 20);  // the run allocates in every step, cells included
    EXPECT_NE(Snapshot::of(target), before);
}

}  // namespace
