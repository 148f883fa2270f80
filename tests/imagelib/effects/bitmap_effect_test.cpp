#include <cstring>
#include <functional>
#include <iterator>
#include <vector>

#include "effect_test_support.h"
#include "effects/effect_settings.h"

namespace {

using namespace pixmill::effects;

// Answers every settings request at once: records it, lets the test choose, then OK or Cancel.
class ScriptedSettings : public EffectSettingsProvider {
public:
    bool askSettings(const EffectRequest& request, EffectSettings& settings) override {
        requests.push_back(request);
        offered.push_back(settings);
        if (choose) choose(settings);
        return answer;
    }
    void beginWait() override { events.push_back("wait"); }
    void endWait() override { events.push_back("done"); }

    bool answer = true;
    std::function<void(EffectSettings&)> choose;
    std::vector<EffectRequest> requests;
    std::vector<EffectSettings> offered;
    std::vector<const char*> events;
};

class BitmapEffect : public PixmillTest {
protected:
    void SetUp() override {
        PixmillTest::SetUp();
        previous_ = setEffectSettingsProvider(&settings);
    }
    void TearDown() override {
        setEffectSettingsProvider(previous_);
        PixmillTest::TearDown();
    }

    // The effect with the settings the test chooses, answered with OK.
    PxlImageId effect(PxlImageId image, int kind, std::function<void(EffectSettings&)> choose = {},
                      PxlProgressFn progress = nullptr, int flag = 0) {
        settings.choose = std::move(choose);
        return PXLBitmapEffect(nullptr, image, static_cast<int16_t>(kind), static_cast<int16_t>(flag), progress);
    }

    ScriptedSettings settings;

private:
    EffectSettingsProvider* previous_ = nullptr;
};

const auto g = [](int v) { return Rgb{v, v, v}; };

constexpr int kDialogKinds[] = {0, 1, 10, 11, 12, 13, 20, 21, 22, 23, 24};

TEST_F(BitmapEffect, UnknownKindsAndImagesGiveNothingAndAskNothing) {
    const PxlImageId image = make24(2, 2, gradient(2, 2));
    struct Case {
        PxlImageId image;
        int kind;
    };
    const Case cases[] = {{image, 3}, {image, 9}, {image, 14}, {image, 19}, {image, 25},
                          {image, -1}, {image, 255}, {0, 10}, {0, 2}, {77, 10}, {77, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "image " << c.image << " kind " << c.kind);
        EXPECT_EQ(effect(c.image, c.kind), 0);
    }
    EXPECT_TRUE(settings.requests.empty());
    EXPECT_EQ(pixmill::liveImageCount(), 1u);
}

TEST_F(BitmapEffect, InvertAsksNothingEvenWithoutAProvider) {
    setEffectSettingsProvider(nullptr);
    const PxlImageId source = make24(2, 1, {{0, 100, 255}, {10, 20, 30}});
    const PxlImageId result = effect(source, PXL_EFFECT_INVERT);
    ASSERT_NE(result, 0);
    EXPECT_EQ(pixelsOf(result), (std::vector<Rgb>{{255, 155, 0}, {245, 235, 225}}));
    EXPECT_EQ(pixelsOf(source), (std::vector<Rgb>{{0, 100, 255}, {10, 20, 30}}));
    EXPECT_TRUE(settings.requests.empty());
}

TEST_F(BitmapEffect, CancelGivesNothingAndMakesNothing) {
    const PxlImageId source = make24(3, 3, gradient(3, 3));
    settings.answer = false;
    for (const int kind : kDialogKinds) {
        SCOPED_TRACE(kind);
        EXPECT_EQ(effect(source, kind, [](EffectSettings& s) { s.degree = 3; }), 0);
    }
    EXPECT_EQ(settings.requests.size(), std::size(kDialogKinds));
    EXPECT_TRUE(settings.events.empty()) << "no wait without work";
    EXPECT_EQ(pixmill::liveImageCount(), 1u);
}

TEST_F(BitmapEffect, EachKindOpensItsDialogWithItsStartSettings) {
    const PxlImageId source = make24(2, 2, gradient(2, 2));
    settings.answer = false;
    struct Case {
        int kind;
        int dialogId;
        int degree;
    };
    const Case cases[] = {{0, 8096, 0},  {1, 8097, 0},  {10, 8095, 0}, {11, 8095, 0}, {12, 8103, 0}, {13, 8101, 0},
                          {20, 8100, 0}, {21, 8104, 0}, {22, 8099, 0}, {23, 8098, 0}, {24, 8102, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        settings.requests.clear();
        settings.offered.clear();
        effect(source, c.kind, {}, nullptr, 1);
        ASSERT_EQ(settings.requests.size(), 1u);
        EXPECT_EQ(settings.requests[0].kind, c.kind);
        EXPECT_EQ(settings.requests[0].dialogId, c.dialogId);
        EXPECT_EQ(settings.requests[0].source, source);
        EXPECT_TRUE(settings.requests[0].alreadyShaded);
        const EffectSettings& s = settings.offered[0];
        EXPECT_EQ(s.degree, c.degree);
        EXPECT_EQ(s.brightness, 0);
        EXPECT_EQ(s.contrast, 0);
        EXPECT_EQ(s.hue, 0);
        EXPECT_EQ(s.method, 0);
        EXPECT_EQ(s.firstColour, RGB(0, 0, 0));
        EXPECT_EQ(s.secondColour, RGB(255, 255, 255));
        EXPECT_EQ(s.shadeColour, RGB(0, 0, 0));
        EXPECT_EQ(s.lightSource, kLightTop);
        EXPECT_EQ(s.coating, RGB(128, 128, 128));
        EXPECT_FALSE(s.inversion);
    }
}

TEST_F(BitmapEffect, SettingsThatAskForNoChangeGiveNothing) {
    const PxlImageId source = make24(3, 3, gradient(3, 3));
    struct Case {
        int kind;
        int degree;
    };
    const Case cases[] = {{PXL_EFFECT_FOCUS, 0},      {PXL_EFFECT_FOCUS, -2},    {PXL_EFFECT_SOFTEN, 0},
                          {PXL_EFFECT_SOFTEN, -1},    {PXL_EFFECT_POSTERIZE, 1}, {PXL_EFFECT_POSTERIZE, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " degree " << c.degree);
        EXPECT_EQ(effect(source, c.kind, [&](EffectSettings& s) { s.degree = c.degree; }), 0);
    }
    EXPECT_TRUE(settings.events.empty());
    EXPECT_EQ(pixmill::liveImageCount(), 1u);
}

TEST_F(BitmapEffect, TheWaitStateSurroundsTheWork) {
    const PxlImageId source = make24(2, 2, gradient(2, 2));
    ASSERT_NE(effect(source, PXL_EFFECT_RGB, [](EffectSettings& s) { s.red = 5; }), 0);
    EXPECT_EQ(settings.events, (std::vector<const char*>{"wait", "done"}));
}

TEST_F(BitmapEffect, ColourKindsApplyTheirFunctionToACopy) {
    const std::vector<Rgb> picture = {{200, 100, 30}, {0, 128, 255}};
    struct Case {
        int kind;
        std::function<void(EffectSettings&)> choose;
        std::vector<Rgb> want;
    };
    const Case cases[] = {
        {PXL_EFFECT_BRIGHTNESS, [](EffectSettings& s) { s.brightness = 20; }, {{220, 120, 50}, {20, 148, 255}}},
        {PXL_EFFECT_CONTRAST, [](EffectSettings& s) { s.contrast = -127; }, {{128, 128, 128}, {127, 128, 128}}},
        {PXL_EFFECT_RGB, [](EffectSettings& s) { s.red = -10, s.green = 10, s.blue = 127; },
         {{190, 110, 157}, {0, 138, 255}}},
        {PXL_EFFECT_HSV, [](EffectSettings& s) { s.hue = 120; }, {{100, 30, 200}, {128, 255, 0}}},
        {PXL_EFFECT_HSV, [](EffectSettings& s) { s.saturation = -127, s.value = 1; }, {g(111), g(128)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        const PxlImageId source = make24(2, 1, picture);
        const PxlImageId result = effect(source, c.kind, c.choose);
        ASSERT_NE(result, 0);
        EXPECT_EQ(pixelsOf(result), c.want);
        EXPECT_EQ(pixelsOf(source), picture);
    }
}

TEST_F(BitmapEffect, FocusOfDegreeNSharpensNTimes) {
    const std::vector<Rgb> picture = gradient(6, 5);
    const PxlImageId source = make24(6, 5, picture);
    const auto degree = [](int n) { return [n](EffectSettings& s) { s.degree = n; }; };
    const PxlImageId once = effect(source, PXL_EFFECT_FOCUS, degree(1));
    const PxlImageId twice = effect(once, PXL_EFFECT_FOCUS, degree(1));
    const PxlImageId thrice = effect(twice, PXL_EFFECT_FOCUS, degree(1));
    ASSERT_NE(thrice, 0);
    EXPECT_NE(pixelsOf(once), picture);
    EXPECT_NE(pixelsOf(twice), pixelsOf(once));
    EXPECT_EQ(pixelsOf(effect(source, PXL_EFFECT_FOCUS, degree(2))), pixelsOf(twice));
    EXPECT_EQ(pixelsOf(effect(source, PXL_EFFECT_FOCUS, degree(3))), pixelsOf(thrice));
    EXPECT_EQ(pixelsOf(source), picture);
}

TEST_F(BitmapEffect, SoftenBlursACheckerboard) {
    const PxlImageId source = make24(6, 6, checkerboard(6, 6));
    for (int degree = 1; degree <= 5; ++degree) {
        SCOPED_TRACE(degree);
        const PxlImageId result = effect(source, PXL_EFFECT_SOFTEN, [&](EffectSettings& s) { s.degree = degree; });
        ASSERT_NE(result, 0);
        EXPECT_EQ(PXLbpp(result), 24);
        for (const Rgb& p : pixelsOf(result)) {
            EXPECT_GT(p.r, 0);
            EXPECT_LT(p.r, 255);
        }
    }
    EXPECT_EQ(pixelsOf(source), checkerboard(6, 6));
    EXPECT_EQ(effect(source, PXL_EFFECT_SOFTEN, [](EffectSettings& s) { s.degree = 6; }), 0)
        << "beyond the strongest blur";
    EXPECT_EQ(pixmill::liveImageCount(), 6u);
}

TEST_F(BitmapEffect, EmbossUsesTheChosenLightAndCoating) {
    // Dark above, light below: lit from below the edge rises, lit from above it sinks.
    const PxlImageId source = make24(1, 3, {g(0), g(0), g(90)});
    const auto lit = [](int light) {
        return [light](EffectSettings& s) {
            s.lightSource = light;
            s.coating = RGB(100, 110, 120);
        };
    };
    EXPECT_EQ(pixelsOf(effect(source, PXL_EFFECT_EMBOSS, lit(kLightBottom)))[1], (Rgb{190, 200, 210}));
    EXPECT_EQ(pixelsOf(effect(source, PXL_EFFECT_EMBOSS, lit(kLightTop)))[1], (Rgb{10, 20, 30}));
    EXPECT_EQ(pixelsOf(effect(source, PXL_EFFECT_EMBOSS, lit(kLightLeft)))[1], (Rgb{100, 110, 120}));
    const size_t live = pixmill::liveImageCount();
    EXPECT_EQ(effect(source, PXL_EFFECT_EMBOSS, lit(8064)), 0) << "no such light source";
    EXPECT_EQ(pixmill::liveImageCount(), live);
}

TEST_F(BitmapEffect, ContourOfAUniformImageIsBlackOrWhenInvertedWhite) {
    const PxlImageId source = make24(4, 3, filled(12, {50, 60, 70}));
    EXPECT_EQ(pixelsOf(effect(source, PXL_EFFECT_CONTOUR)), filled(12, g(0)));
    EXPECT_EQ(pixelsOf(effect(source, PXL_EFFECT_CONTOUR, [](EffectSettings& s) { s.inversion = true; })),
              filled(12, g(255)));
}

TEST_F(BitmapEffect, PosterizeAveragesBlocks) {
    const PxlImageId source = make24(3, 2, {g(0), g(10), g(20), g(30), g(40), g(50)});
    const PxlImageId result = effect(source, PXL_EFFECT_POSTERIZE, [](EffectSettings& s) { s.degree = 2; });
    EXPECT_EQ(pixelsOf(result), (std::vector<Rgb>{g(20), g(20), g(35), g(20), g(20), g(35)}));
}

TEST_F(BitmapEffect, ShadeMakesAGreyCopyOnTheShadeRampWithBrightnessAndContrast) {
    // Grey levels 30 R + 59 G + 11 B over 100: white 255, red 76, black 0.
    const PxlImageId source = make24(3, 1, {{255, 255, 255}, {255, 0, 0}, {0, 0, 0}});
    const PxlImageId result = effect(source, PXL_EFFECT_SHADE, [](EffectSettings& s) {
        s.shadeColour = RGB(200, 100, 50);
        s.brightness = 10;
    });
    ASSERT_NE(result, 0);
    EXPECT_EQ(PXLbpp(result), 8);
    EXPECT_EQ(std::vector<uint8_t>(PXLGetBits(result), PXLGetBits(result) + 3), (std::vector<uint8_t>{255, 76, 0}));
    EXPECT_EQ(PXLGetColorFromPalette(result, 0), static_cast<int32_t>(RGB(160, 60, 10)));
    EXPECT_EQ(PXLGetColorFromPalette(result, 100), static_cast<int32_t>(RGB(255, 160, 110)));
    EXPECT_EQ(pixmill::liveImageCount(), 2u) << "no intermediate image is left";
}

TEST_F(BitmapEffect, AnImageAlreadyShadedKeepsItsIndices) {
    // Index 224 of the default 8-bit palette is red: converting would make it grey level 76.
    const PxlImageId source = PXLCreateImage(1, 1, 8);
    PXLGetBits(source)[0] = 224;
    const PxlImageId kept = effect(source, PXL_EFFECT_SHADE, {}, nullptr, 1);
    const PxlImageId converted = effect(source, PXL_EFFECT_SHADE, {}, nullptr, 0);
    ASSERT_NE(kept, 0);
    ASSERT_NE(converted, 0);
    EXPECT_EQ(PXLGetBits(kept)[0], 224);
    EXPECT_EQ(PXLGetBits(converted)[0], 76);
    EXPECT_EQ(PXLGetColorFromPalette(kept, 224), static_cast<int32_t>(RGB(224, 224, 224)));
}

TEST_F(BitmapEffect, BicolourTakesTheChosenColoursAsItsTwoEntries) {
    const PxlImageId source = make24(4, 1, {g(0), g(250), g(20), g(230)});
    const PxlImageId result = effect(source, PXL_EFFECT_BICOLOR, [](EffectSettings& s) {
        s.firstColour = RGB(0, 0, 128);
        s.secondColour = RGB(255, 255, 0);
    });
    ASSERT_NE(result, 0);
    EXPECT_EQ(PXLbpp(result), 1);
    EXPECT_EQ(PXLGetColorFromPalette(result, 0), static_cast<int32_t>(RGB(0, 0, 128)));
    EXPECT_EQ(PXLGetColorFromPalette(result, 1), static_cast<int32_t>(RGB(255, 255, 0)));
    EXPECT_EQ(PXLGetBits(result)[0] >> 4, 0b0101);
}

TEST_F(BitmapEffect, BicolourOfAOneBitImageCopiesItsPixels) {
    const PxlImageId source = PXLCreateImage(8, 1, 1);
    PXLGetBits(source)[0] = 0b10011010;
    const PxlImageId result = effect(source, PXL_EFFECT_BICOLOR, [](EffectSettings& s) { s.method = 2; });
    ASSERT_NE(result, 0);
    EXPECT_EQ(PXLGetBits(result)[0], 0b10011010);
}

TEST_F(BitmapEffect, SixteenAndThirtyTwoBitSourcesBecomeTwentyFourBitResults) {
    for (const int bits : {PXL_BITS_565, 32}) {
        const PxlImageId source = PXLCreateImage(3, 3, bits);
        std::memset(PXLGetBits(source), 0x9C, static_cast<size_t>(PXLSizeImage(source)));
        for (const int kind : {10, 11, 12, 13, 20, 21, 22, 23, 24}) {
            SCOPED_TRACE(testing::Message() << bits << " bits, kind " << kind);
            const PxlImageId result = effect(source, kind, [](EffectSettings& s) { s.degree = 2; });
            ASSERT_NE(result, 0);
            EXPECT_EQ(PXLbpp(result), 24);
            // A flat picture: the colour kinds with nothing asked and the focus keep it as it was.
            if (kind <= 13 || kind == 20 || kind == 21 || kind == 24) {
                EXPECT_EQ(pixelsOf(result), pixelsOf(source));
            }
        }
    }
}

TEST_F(BitmapEffect, AnImageThatCannotBeCopiedGivesNothing) {
    // A 16-bit 5-5-5 section: plain copies keep only 5-6-5, so the inversion's copy fails.
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = 2;
    info.biHeight = 2;
    info.biPlanes = 1;
    info.biBitCount = 16;
    info.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    const PxlImageId source = PXLCreateImageAttach(section);
    ASSERT_NE(source, 0);
    EXPECT_EQ(effect(source, PXL_EFFECT_INVERT), 0);
    EXPECT_EQ(pixmill::liveImageCount(), 1u);
    // The pixel kinds go through a 24-bit conversion, which reads 5-5-5 as it is.
    const PxlImageId brighter = effect(source, PXL_EFFECT_BRIGHTNESS, [](EffectSettings& s) { s.brightness = 1; });
    ASSERT_NE(brighter, 0);
    EXPECT_EQ(PXLbpp(brighter), 24);
}

TEST_F(BitmapEffect, ProgressComesOncePerPictureRow) {
    static int calls;
    const auto count = [] { ++calls; };
    const PxlImageId trueColour = make24(4, 5, gradient(4, 5));
    const PxlImageId palette = PXLCreateImage(4, 5, 8);
    struct Case {
        const char* what;
        PxlImageId source;
        int kind;
        int degree;
        int calls;
    };
    const Case cases[] = {
        {"brightness", trueColour, 10, 0, 5},
        {"brightness on a palette", palette, 10, 0, 0},
        {"HSV", trueColour, 13, 0, 5},
        {"focus over three passes", trueColour, 20, 3, 5},
        {"focus over five passes", trueColour, 20, 5, 5},
        {"emboss", trueColour, 22, 0, 5},
        {"contour", trueColour, 23, 0, 5},
        {"posterize", trueColour, 24, 2, 5},
        {"bicolour conversion", trueColour, 1, 0, 5},
        {"shade conversion", trueColour, 0, 0, 5},
        {"soften", trueColour, 21, 2, 0},
        {"invert", trueColour, 2, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        calls = 0;
        ASSERT_NE(effect(c.source, c.kind, [&](EffectSettings& s) { s.degree = c.degree; }, count), 0);
        EXPECT_EQ(calls, c.calls);
    }
}

TEST_F(BitmapEffect, BrightAppliesBrightnessAloneAndAsksNothing) {
    const PxlImageId source = make24(3, 1, {{0, 100, 250}, {128, 128, 128}, {10, 20, 30}});
    struct Case {
        int brightness;
        std::vector<Rgb> want;
    };
    const Case cases[] = {
        {0, {{0, 100, 250}, {128, 128, 128}, {10, 20, 30}}},
        {50, {{50, 150, 255}, {178, 178, 178}, {60, 70, 80}}},
        {-127, {{0, 0, 123}, {1, 1, 1}, {0, 0, 0}}},
        {300, {{127, 227, 255}, {255, 255, 255}, {137, 147, 157}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.brightness);
        const PxlImageId result = PXLBitmapEffect_Bright(source, static_cast<int16_t>(c.brightness));
        ASSERT_NE(result, 0);
        EXPECT_EQ(pixelsOf(result), c.want);
    }
    EXPECT_TRUE(settings.requests.empty());
    EXPECT_EQ(PXLBitmapEffect_Bright(0, 10), 0);
    EXPECT_EQ(PXLBitmapEffect_Bright(99, 10), 0);
}

}  // namespace
