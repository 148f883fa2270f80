#include <string_view>
#include <utility>
#include <vector>

#include "effect_test_support.h"
#include "effects/dialogs/effect_dialog_controller.h"
#include "effects/effect_compute.h"

namespace {

using namespace pixmill::effects;
using pixmill::liveImageCount;

// One source image; the original preview is a plain copy of it, whatever the view, so that tests
// can compute the expected edited preview from the same picture. Every test ends with the source
// as the only live image: a dialog that closes leaves no preview behind.
class EffectDialog : public PixmillTest {
protected:
    void SetUp() override {
        PixmillTest::SetUp();
        source = make24(9, 7, gradient(9, 7));
    }
    void TearDown() override {
        dialog.reset();
        EXPECT_EQ(liveImageCount(), 1u) << "a preview outlived its dialog";
        PixmillTest::TearDown();
    }

    EffectDialogController& open(int kind, EffectSettings start = {}) {
        settings = start;
        const EffectRequest request{nullptr, source, kind, findEffectKind(kind)->dialogId, false};
        dialog = EffectDialogController::open(request, settings, [this](PxlImageId image, const PreviewView& view) {
            views.push_back(view);
            return PXLCreateImageFrom(image, 0);
        });
        return *dialog;
    }

    // What the effect gives for these settings run directly on the dialog's original preview.
    std::vector<Rgb> direct(int kind, const EffectSettings& chosen) {
        const EffectRequest request{nullptr, dialog->originalPreview(), kind, 0, false};
        const PxlImageId made = computeEffect(request, chosen, nullptr);
        std::vector<Rgb> pixels = pixelsOf(made);
        PXLDeleteImage(made);
        return pixels;
    }

    PxlImageId source = 0;
    EffectSettings settings;
    std::unique_ptr<EffectDialogController> dialog;
    std::vector<PreviewView> views;
};

TEST(EffectDialogLayout, SlidersHaveTheirRangesTicksAndPages) {
    struct Case {
        int dialogId, sliderId, editId, spinId, minimum, maximum, ticks, page;
    };
    for (const Case& c : {Case{8095, 8069, 8034, 8084, -127, 127, 10, 5}, Case{8096, 8071, 8036, 8086, -127, 127, 10, 5},
                          Case{8100, 8070, 8035, 8085, 0, 5, 1, 1}, Case{8101, 8074, 8039, 8089, -359, 359, 15, 5},
                          Case{8101, 8079, 8044, 8094, -127, 127, 10, 5}, Case{8102, 8075, 8040, 8090, 1, 50, 1, 5},
                          Case{8103, 8067, 8032, 8082, -127, 127, 10, 5}, Case{8104, 8078, 8043, 8093, 0, 5, 1, 1}}) {
        SCOPED_TRACE(c.sliderId);
        const EffectDialogLayout* layout = findDialogLayout(c.dialogId);
        ASSERT_NE(layout, nullptr);
        for (const int control : {c.sliderId, c.editId, c.spinId}) {
            const SliderSetting* s = findSliderSetting(*layout, control);
            ASSERT_NE(s, nullptr);
            EXPECT_EQ(s->sliderId, c.sliderId);
            EXPECT_EQ(s->editId, c.editId);
            EXPECT_EQ(s->spinId, c.spinId);
            EXPECT_EQ(s->minimum, c.minimum);
            EXPECT_EQ(s->maximum, c.maximum);
            EXPECT_EQ(s->tickFrequency, c.ticks);
            EXPECT_EQ(s->pageSize, c.page);
        }
    }
}

TEST(EffectDialogLayout, TenDialogsOnlyTwoWithoutRestore) {
    ASSERT_EQ(dialogLayouts().size(), 10u);
    for (const EffectDialogLayout& layout : dialogLayouts()) {
        EXPECT_EQ(layout.hasRestore, layout.dialogId != 8097 && layout.dialogId != 8098) << layout.dialogId;
    }
    EXPECT_EQ(findDialogLayout(8094), nullptr);
    EXPECT_EQ(findDialogLayout(8105), nullptr);
    EXPECT_EQ(findSliderSetting(*findDialogLayout(8095), 8071), nullptr) << "a control of the shade dialog";
}

TEST_F(EffectDialog, UnknownDialogIsRefused) {
    winplat::testing::DebugCapture quiet;
    const EffectRequest request{nullptr, source, PXL_EFFECT_INVERT, 0, false};
    EXPECT_EQ(EffectDialogController::open(request, settings, {}), nullptr);
}

// Sliders and edits moved, then OK: the preview is the effect with those values, and the caller's
// settings keep them.
TEST_F(EffectDialog, OkGivesTheEffectOfTheChosenValues) {
    struct Case {
        int kind, sliderId, sliderPosition, editId;
        std::string_view typed;
    };
    for (const Case& c : {Case{PXL_EFFECT_BRIGHTNESS, 8068, 40, 8034, "-30"}, Case{PXL_EFFECT_SHADE, 8071, -20, 8037, "15"},
                          Case{PXL_EFFECT_HSV, 8074, 120, 8042, "-60"}, Case{PXL_EFFECT_RGB, 8076, 90, 8032, "-127"},
                          Case{PXL_EFFECT_FOCUS, 8070, 5, 8035, "2"}, Case{PXL_EFFECT_POSTERIZE, 8075, 50, 8040, "3"},
                          Case{PXL_EFFECT_SOFTEN, 8078, 1, 8043, "4"}}) {
        SCOPED_TRACE(c.kind);
        EffectDialogController& d = open(c.kind, startSettings(c.kind));
        ASSERT_TRUE(d.sliderMoved(c.sliderId, c.sliderPosition));
        EXPECT_EQ(d.editChanged(c.editId, c.typed), std::nullopt);
        d.markReady();
        ASSERT_TRUE(d.recompute());
        EXPECT_EQ(pixelsOf(d.editedPreview()), direct(c.kind, settings));
        // The edit typed last wins where it belongs to the slider moved first.
        const bool sameSetting = findSliderSetting(d.layout(), c.editId)->sliderId == c.sliderId;
        EXPECT_EQ(d.sliderValue(c.sliderId), sameSetting ? std::stoi(std::string(c.typed)) : c.sliderPosition);
        EXPECT_EQ(d.sliderValue(c.editId), std::stoi(std::string(c.typed)));
        EXPECT_EQ(d.accept(), 1);
        EXPECT_EQ(d.originalPreview(), 0u);
        EXPECT_EQ(d.editedPreview(), 0u);
        EXPECT_EQ(liveImageCount(), 1u);
    }
}

TEST_F(EffectDialog, CancelRestoresTheStartValues) {
    EffectSettings start;
    start.red = 7;
    EffectDialogController& d = open(PXL_EFFECT_RGB, start);
    d.sliderMoved(8076, 100);
    d.editChanged(8038, "-50");
    d.markReady();
    d.recompute();
    EXPECT_EQ(d.cancel(), 0);
    EXPECT_EQ(settings, start);
    EXPECT_EQ(liveImageCount(), 1u);
}

TEST_F(EffectDialog, RestoreResetsWithoutClosing) {
    EffectDialogController& d = open(PXL_EFFECT_CONTRAST);
    d.markReady();
    d.sliderMoved(8069, 60);
    ASSERT_TRUE(d.recompute());
    d.restore();
    EXPECT_EQ(d.sliderValue(8034), 0);
    EXPECT_NE(d.originalPreview(), 0u);
    ASSERT_TRUE(d.recompute()) << "the start values differ from those last used";
    EXPECT_EQ(pixelsOf(d.editedPreview()), direct(PXL_EFFECT_CONTRAST, EffectSettings{}));
}

TEST_F(EffectDialog, RecomputesOnlyWhenReadyAndChanged) {
    EffectDialogController& d = open(PXL_EFFECT_BRIGHTNESS);
    EXPECT_FALSE(d.recompute()) << "before the dialog is ready";
    d.markReady();
    EXPECT_TRUE(d.recompute());
    EXPECT_FALSE(d.recompute()) << "nothing changed";
    d.sliderMoved(8068, 1);
    EXPECT_TRUE(d.recompute());
}

TEST_F(EffectDialog, TwoClicksComeBackToTheFittedView) {
    EffectDialogController& d = open(PXL_EFFECT_HSV);
    d.markReady();
    d.recompute();
    d.previewClicked(3, 4);
    EXPECT_TRUE(d.detailMode());
    EXPECT_EQ(d.editedPreview(), 0u) << "the old edited preview goes with the old original";
    EXPECT_TRUE(d.recompute()) << "a click forgets the values last used";
    d.previewClicked(5, 1);
    EXPECT_FALSE(d.detailMode());
    ASSERT_EQ(views.size(), 3u);
    EXPECT_FALSE(views[0].detail);
    EXPECT_TRUE(views[1].detail);
    EXPECT_EQ(views[1].clickX, 3);
    EXPECT_EQ(views[1].clickY, 4);
    EXPECT_FALSE(views[2].detail);
}

// Text the spin cannot read within the range gives back the last valid value.
TEST_F(EffectDialog, InvalidEditGoesBackToTheLastValidValue) {
    struct Case {
        int kind, editId;
        std::string_view text;
        std::optional<int> shown;
    };
    for (const Case& c : {Case{PXL_EFFECT_BRIGHTNESS, 8033, "abc", 25}, Case{PXL_EFFECT_BRIGHTNESS, 8033, "", 25},
                          Case{PXL_EFFECT_BRIGHTNESS, 8033, "12x", 25}, Case{PXL_EFFECT_BRIGHTNESS, 8033, "128", 25},
                          Case{PXL_EFFECT_BRIGHTNESS, 8033, "-128", 25}, Case{PXL_EFFECT_BRIGHTNESS, 8033, "-127", {}},
                          Case{PXL_EFFECT_BRIGHTNESS, 8033, "127", {}}, Case{PXL_EFFECT_HSV, 8039, "-360", 25},
                          Case{PXL_EFFECT_HSV, 8039, "-359", {}}, Case{PXL_EFFECT_POSTERIZE, 8040, "0", 25},
                          Case{PXL_EFFECT_POSTERIZE, 8040, "51", 25}, Case{PXL_EFFECT_POSTERIZE, 8040, "1", {}}}) {
        SCOPED_TRACE(c.text);
        EffectDialogController& d = open(c.kind);
        const SliderSetting* s = findSliderSetting(d.layout(), c.editId);
        ASSERT_TRUE(d.sliderMoved(s->sliderId, 25));
        EXPECT_EQ(d.editChanged(c.editId, c.text), c.shown);
        if (!c.shown) EXPECT_EQ(d.sliderValue(c.editId), std::stoi(std::string(c.text)));
        else EXPECT_EQ(d.sliderValue(c.editId), 25);
    }
}

TEST_F(EffectDialog, SliderPositionsAreKeptInRange) {
    EffectDialogController& d = open(PXL_EFFECT_FOCUS);
    d.sliderMoved(8070, 6);
    EXPECT_EQ(d.sliderValue(8085), 5);
    d.sliderMoved(8070, -1);
    EXPECT_EQ(d.sliderValue(8035), 0);
    EXPECT_FALSE(d.sliderMoved(8035, 3)) << "an edit is no slider";
}

// Hues a whole turn apart give the same preview, at the ends of the range as well.
TEST_F(EffectDialog, HueMinus359ActsAsOne) {
    // Full colours, where a turn of ten degrees shows.
    PXLDeleteImage(source);
    source = make24(3, 1, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}});
    EffectDialogController& d = open(PXL_EFFECT_HSV);
    d.markReady();
    for (const auto& [low, high] : {std::pair{"-359", "1"}, std::pair{"-350", "10"}}) {
        SCOPED_TRACE(low);
        d.editChanged(8039, low);
        ASSERT_TRUE(d.recompute());
        const std::vector<Rgb> turnedBack = pixelsOf(d.editedPreview());
        d.editChanged(8039, high);
        ASSERT_TRUE(d.recompute());
        EXPECT_EQ(pixelsOf(d.editedPreview()), turnedBack);
    }
    EXPECT_NE(pixelsOf(d.editedPreview()), pixelsOf(source)) << "a turn of ten degrees must show";
}

TEST_F(EffectDialog, NoChangeShowsThePictureUnchanged) {
    for (const int kind : {PXL_EFFECT_POSTERIZE, PXL_EFFECT_FOCUS, PXL_EFFECT_SOFTEN}) {
        SCOPED_TRACE(kind);
        EffectDialogController& d = open(kind, startSettings(kind));
        d.markReady();
        ASSERT_TRUE(d.recompute());
        EXPECT_EQ(pixelsOf(d.editedPreview()), pixelsOf(source));
        EXPECT_EQ(d.accept(), 1);
        const EffectRequest request{nullptr, source, kind, 0, false};
        EXPECT_EQ(computeEffect(request, settings, nullptr), 0u) << "the effect itself makes no image";
    }
}

TEST_F(EffectDialog, ShadeColourResetsBrightnessAndContrast) {
    EffectDialogController& d = open(PXL_EFFECT_SHADE);
    d.sliderMoved(8071, 30);
    d.sliderMoved(8072, -40);
    ASSERT_TRUE(d.colourChosen(8024, RGB(10, 20, 30)));
    EXPECT_EQ(settings.shadeColour, RGB(10, 20, 30));
    EXPECT_EQ(d.sliderValue(8086), 0);
    EXPECT_EQ(d.sliderValue(8087), 0);
    EXPECT_FALSE(d.colourChosen(8025, RGB(1, 1, 1)));
}

TEST_F(EffectDialog, ColourButtonsSetTheirColours) {
    EffectDialogController& bicolour = open(PXL_EFFECT_BICOLOR);
    EXPECT_TRUE(bicolour.colourChosen(8025, RGB(1, 2, 3)));
    EXPECT_TRUE(bicolour.colourChosen(8026, RGB(4, 5, 6)));
    EXPECT_FALSE(bicolour.colourChosen(8024, RGB(7, 8, 9)));
    EXPECT_EQ(settings.firstColour, RGB(1, 2, 3));
    EXPECT_EQ(settings.secondColour, RGB(4, 5, 6));
    EffectDialogController& emboss = open(PXL_EFFECT_EMBOSS);
    EXPECT_TRUE(emboss.colourChosen(8024, RGB(9, 9, 9)));
    EXPECT_EQ(settings.coating, RGB(9, 9, 9));
}

TEST_F(EffectDialog, OptionsSetTheirSettings) {
    EffectDialogController& bicolour = open(PXL_EFFECT_BICOLOR);
    EXPECT_TRUE(bicolour.optionChecked(8055));
    EXPECT_TRUE(bicolour.optionClicked(8053));
    EXPECT_EQ(settings.method, 2);
    EXPECT_TRUE(bicolour.optionChecked(8053));
    EXPECT_FALSE(bicolour.optionChecked(8055));
    EXPECT_FALSE(bicolour.optionClicked(8029));

    EffectDialogController& contour = open(PXL_EFFECT_CONTOUR);
    EXPECT_TRUE(contour.optionClicked(8029));
    EXPECT_TRUE(settings.inversion);
    EXPECT_TRUE(contour.optionClicked(8029));
    EXPECT_FALSE(settings.inversion) << "the check box toggles";

    EffectDialogController& emboss = open(PXL_EFFECT_EMBOSS);
    for (const int light : {8056, 8063}) {
        EXPECT_TRUE(emboss.optionClicked(light));
        EXPECT_EQ(settings.lightSource, light);
    }
    EXPECT_FALSE(emboss.optionClicked(8055));
    EXPECT_FALSE(emboss.optionClicked(8064));
}

// A failed recomputation keeps the last good preview, leaks nothing and leaves the dialog usable.
TEST_F(EffectDialog, FailedRecomputationKeepsTheLastPreview) {
    winplat::testing::DebugCapture quiet;
    EffectSettings broken;
    broken.lightSource = 1234;  // no kernel: the computation fails
    EffectDialogController& d = open(PXL_EFFECT_EMBOSS, broken);
    d.markReady();
    EXPECT_FALSE(d.recompute());
    EXPECT_EQ(d.editedPreview(), 0u);
    d.optionClicked(kLightLeft);
    ASSERT_TRUE(d.recompute());
    const PxlImageId good = d.editedPreview();
    d.restore();
    EXPECT_FALSE(d.recompute());
    EXPECT_EQ(d.editedPreview(), good);
    EXPECT_EQ(liveImageCount(), 3u);
    d.optionClicked(kLightTop);
    EXPECT_TRUE(d.recompute()) << "a failure is not remembered as the values last used";
}

TEST(ShadeRamp, BandsStartFromTheColourLessItsSmallestChannel) {
    const COLORREF colour = RGB(100, 150, 120);
    EXPECT_EQ(shadeRampBand(colour, 0), RGB(0, 50, 20));
    EXPECT_EQ(shadeRampBand(colour, 10), RGB(20, 70, 40));
    EXPECT_EQ(shadeRampBand(colour, 102), RGB(204, 254, 224));
    EXPECT_EQ(shadeRampBand(colour, 127), RGB(254, 255, 255));
}

}  // namespace
