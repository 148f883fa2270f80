#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "effect_test_support.h"
#include "effects/apply_colour_function.h"
#include "effects/colour_functions.h"

namespace {

using pixmill::effects::applyColourFunction;
using pixmill::effects::BrightnessContrast;
using pixmill::effects::ColourFunction;
using pixmill::effects::HsvMixing;
using pixmill::effects::RgbOffsets;

template <typename Function>
Rgb mapped(const Function& function, Rgb c) {
    function(c.r, c.g, c.b);
    return c;
}

// The row form must agree with the colour form.
Rgb mappedAsRow(const ColourFunction& function, Rgb c) {
    std::array<uint8_t, 3> bgr{uint8_t(c.b), uint8_t(c.g), uint8_t(c.r)};
    function.mapBgr(bgr.data(), 1);
    return {bgr[2], bgr[1], bgr[0]};
}

TEST(BrightnessContrastFunction, ZeroSettingsChangeNoValue) {
    const BrightnessContrast function(0, 0);
    for (int v = 0; v < 256; ++v) EXPECT_EQ(mapped(function, {v, v, v}), (Rgb{v, v, v})) << v;
}

TEST(BrightnessContrastFunction, Table) {
    struct Case {
        int brightness, contrast;
        Rgb in, out;
    };
    const Case cases[] = {
        // Lowest contrast squeezes everything to one step around 128 + brightness; the division
        // truncates towards zero, so values below 128 land one lower.
        {0, -127, {0, 127, 255}, {127, 128, 128}},
        {30, -127, {0, 128, 255}, {157, 158, 158}},
        // Highest contrast nearly doubles the distance from 128; -3 * 255 / 128 truncates to -5.
        {0, 127, {0, 125, 200}, {0, 123, 255}},
        {0, 127, {64, 131, 192}, {1, 133, 255}},
        {127, 0, {0, 100, 200}, {127, 227, 255}},
        {-127, 0, {0, 100, 200}, {0, 0, 73}},
        {-20, 64, {100, 128, 160}, {66, 108, 156}},
        // Settings past the dialogs' range act as the range's end.
        {1000, 0, {10, 10, 10}, {137, 137, 137}},
        {0, -100000, {0, 127, 255}, {127, 128, 128}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.brightness << " / " << c.contrast << " on " << c.in);
        const BrightnessContrast function(c.brightness, c.contrast);
        EXPECT_EQ(mapped(function, c.in), c.out);
        EXPECT_EQ(mappedAsRow(function, c.in), c.out);
    }
}

TEST(RgbOffsetsFunction, EachChannelMovesByItsOwnOffsetAndStopsAtTheEnds) {
    struct Case {
        int red, green, blue;
        Rgb in, out;
    };
    const Case cases[] = {
        {0, 0, 0, {1, 2, 3}, {1, 2, 3}},
        {10, -20, 30, {100, 100, 100}, {110, 80, 130}},
        {127, -127, 0, {200, 50, 9}, {255, 0, 9}},
        {-127, 127, 127, {100, 200, 128}, {0, 255, 255}},
        {500, -500, 0, {0, 255, 7}, {127, 128, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.red << "," << c.green << "," << c.blue << " on " << c.in);
        const RgbOffsets function(c.red, c.green, c.blue);
        EXPECT_EQ(mapped(function, c.in), c.out);
        EXPECT_EQ(mappedAsRow(function, c.in), c.out);
    }
}

TEST(HsvMixingFunction, WholeThirdsOfTheCircleRotateTheChannels) {
    const Rgb in{200, 100, 30};
    const Rgb greenToRed{100, 30, 200};  // red takes green's value, green blue's, blue red's
    const Rgb blueToRed{30, 200, 100};
    struct Case {
        int hue;
        Rgb out;
    };
    const Case cases[] = {
        {0, in},           {120, greenToRed}, {-240, greenToRed}, {480, greenToRed}, {240, blueToRed},
        {-120, blueToRed}, {360, in},         {-360, in},         {720, in},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hue);
        const HsvMixing function(c.hue, 0, 0);
        EXPECT_EQ(mapped(function, in), c.out);
        EXPECT_EQ(mappedAsRow(function, in), c.out);
    }
}

TEST(HsvMixingFunction, Table) {
    struct Case {
        int hue, saturation, value;
        Rgb in, out;
    };
    const Case cases[] = {
        // Lowest saturation leaves the mean of the channels, plus the value.
        {0, -127, 0, {200, 100, 30}, {110, 110, 110}},
        {0, -127, 40, {200, 100, 30}, {150, 150, 150}},
        {0, -127, -127, {10, 20, 30}, {0, 0, 0}},
        // A sixth of the circle mixes each channel half with the next: (150, 50, 100).
        {60, 0, 0, {200, 100, 0}, {150, 50, 100}},
        // Saturation 64 doubles each distance from the mean 100.
        {60, 64, 0, {200, 100, 0}, {200, 0, 100}},
        // Nothing asked changes nothing, channels below the mean included.
        {0, 0, 0, {200, 100, 30}, {200, 100, 30}},
        // Factor (-64 + 127) / 128 on the distances 100, -20, -80 from the mean 120, rounded.
        {0, -64, 0, {220, 100, 40}, {169, 110, 81}},
        {0, 0, 127, {200, 100, 30}, {255, 227, 157}},
        // Factor 127 / 64 + 1 on the distances 90, -10, -80 from the mean 110.
        {0, 127, 0, {200, 100, 30}, {255, 80, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.hue << " / " << c.saturation << " / " << c.value << " on " << c.in);
        const HsvMixing function(c.hue, c.saturation, c.value);
        EXPECT_EQ(mapped(function, c.in), c.out);
        EXPECT_EQ(mappedAsRow(function, c.in), c.out);
    }
}

using ApplyColourFunction = PixmillTest;

TEST_F(ApplyColourFunction, PaletteImagesChangeTheirPaletteNotTheirPixels) {
    const PxlImageId source = PXLCreateImage(4, 1, 8);
    std::memcpy(PXLGetBits(source), "\x00\x07\xE0\xFF", 4);
    const std::vector<Rgb> before = pixelsOf(source);

    const PxlImageId result = applyColourFunction(source, RgbOffsets(20, 0, -20), {});
    ASSERT_NE(result, 0);
    EXPECT_EQ(PXLbpp(result), 8);
    EXPECT_EQ(std::memcmp(PXLGetBits(result), "\x00\x07\xE0\xFF", 4), 0);
    for (int i = 0; i < 256; ++i) {
        const COLORREF was = static_cast<COLORREF>(PXLGetColorFromPalette(source, i));
        const Rgb want{std::min(255, GetRValue(was) + 20), GetGValue(was), std::max(0, GetBValue(was) - 20)};
        const COLORREF is = static_cast<COLORREF>(PXLGetColorFromPalette(result, i));
        ASSERT_EQ((Rgb{GetRValue(is), GetGValue(is), GetBValue(is)}), want) << "entry " << i;
    }
    EXPECT_EQ(pixelsOf(source), before) << "the source keeps its colours";
}

TEST_F(ApplyColourFunction, TrueColourPixelsChangeRowByRowWithProgress) {
    const PxlImageId source = make24(3, 2, {{0, 10, 20}, {30, 40, 50}, {60, 70, 80},
                                            {90, 100, 110}, {120, 130, 140}, {250, 251, 252}});
    int rows = 0;
    const PxlImageId result = applyColourFunction(source, RgbOffsets(5, -5, 5), [&] { ++rows; });
    ASSERT_NE(result, 0);
    EXPECT_EQ(pixelsOf(result), (std::vector<Rgb>{{5, 5, 25}, {35, 35, 55}, {65, 65, 85},
                                                  {95, 95, 115}, {125, 125, 145}, {255, 246, 255}}));
    EXPECT_EQ(rows, 2);
}

TEST_F(ApplyColourFunction, SixteenAndThirtyTwoBitImagesAreMappedAsTwentyFourBitCopies) {
    for (const int bits : {PXL_BITS_565, 32}) {
        SCOPED_TRACE(bits);
        const PxlImageId source = PXLCreateImage(2, 2, bits);
        std::memset(PXLGetBits(source), 0x42, static_cast<size_t>(PXLSizeImage(source)));
        const PxlImageId result = applyColourFunction(source, RgbOffsets(100, 50, 25), {});
        ASSERT_NE(result, 0);
        EXPECT_EQ(PXLbpp(result), 24);
        std::vector<Rgb> want = pixelsOf(source);
        for (Rgb& c : want) c = {c.r + 100, c.g + 50, c.b + 25};
        EXPECT_EQ(pixelsOf(result), want);
    }
}

TEST_F(ApplyColourFunction, AnUnknownImageGivesNoImage) {
    EXPECT_EQ(applyColourFunction(0, RgbOffsets(1, 1, 1), {}), 0);
    EXPECT_EQ(applyColourFunction(77, RgbOffsets(1, 1, 1), {}), 0);
    EXPECT_EQ(pixmill::liveImageCount(), 0u);
}

}  // namespace
