// The colour dialog and its HSL model on the 0..240 scale.
#include <gtest/gtest.h>

#include <array>

#include "commdlg/colour_space.h"
#include "file_dialog_fixture.h"

namespace {

using winplat::commdlg::Hsl;
using winplat::commdlg::toHsl;
using winplat::commdlg::toRgb;
using winplat::test::Harness;

TEST(ColourSpace, RgbAndHslConvertOnTheScaleOf240) {
    const struct {
        COLORREF rgb;
        Hsl hsl;
    } cases[] = {
        {RGB(255, 0, 0), {0, 240, 120}},     {RGB(255, 255, 0), {40, 240, 120}},  {RGB(0, 255, 0), {80, 240, 120}},
        {RGB(0, 255, 255), {120, 240, 120}}, {RGB(0, 0, 255), {160, 240, 120}},  {RGB(255, 0, 255), {200, 240, 120}},
        {RGB(0, 0, 0), {160, 0, 0}},         {RGB(255, 255, 255), {160, 0, 240}}, {RGB(128, 128, 128), {160, 0, 120}},
        {RGB(128, 0, 0), {0, 240, 60}},      {RGB(255, 128, 128), {0, 240, 180}}, {RGB(0, 128, 64), {100, 240, 60}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.rgb);
        const Hsl hsl = toHsl(c.rgb);
        EXPECT_EQ(hsl.hue, c.hsl.hue);
        EXPECT_EQ(hsl.saturation, c.hsl.saturation);
        EXPECT_EQ(hsl.luminosity, c.hsl.luminosity);
        EXPECT_EQ(toRgb(c.hsl), c.rgb);
    }
}

TEST(ColourSpace, EveryColourComesBackWithinOneStepPerChannel) {
    for (int r = 0; r <= 255; r += 17) {
        for (int g = 0; g <= 255; g += 15) {
            for (int b = 0; b <= 255; b += 51) {
                const COLORREF back = toRgb(toHsl(RGB(r, g, b)));
                ASSERT_LE(std::abs(GetRValue(back) - r), 3) << r << "," << g << "," << b;
                ASSERT_LE(std::abs(GetGValue(back) - g), 3) << r << "," << g << "," << b;
                ASSERT_LE(std::abs(GetBValue(back) - b), 3) << r << "," << g << "," << b;
            }
        }
    }
    // Out of range values are clamped, not wrapped.
    EXPECT_EQ(toRgb({0, 300, 500}), RGB(255, 255, 255));
}

struct ColourRecord {
    std::array<COLORREF, 16> custom{};
    CHOOSECOLORA cc{};
    explicit ColourRecord(DWORD flags = 0, COLORREF initial = 0) {
        cc.lStructSize = CHOOSECOLOR_SIZE_32BIT;
        cc.lpCustColors = custom.data();
        cc.Flags = flags;
        cc.rgbResult = initial;
    }
};

std::string text(HWND dialog, int id) { return commdlg_test::windowText(GetDlgItem(dialog, id)); }

TEST(ChooseColour, TheAnsweredColourIsReturned) {
    Harness h(commdlg_test::screen());
    ColourRecord r;
    h.answerColour(RGB(12, 200, 99));
    ASSERT_TRUE(ChooseColorA(&r.cc));
    EXPECT_EQ(r.cc.rgbResult, RGB(12, 200, 99));
}

TEST(ChooseColour, TheInitialColourFillsTheEditsAndCancelKeepsTheRecord) {
    Harness h(commdlg_test::screen());
    ColourRecord r(CC_RGBINIT | CC_FULLOPEN, RGB(255, 0, 0));
    std::array<std::string, 6> shown;
    h.expectCommonDialog("ChooseColor")
        .call([&](HWND dialog) {
            shown = {text(dialog, COLOR_RED), text(dialog, COLOR_GREEN), text(dialog, COLOR_BLUE),
                     text(dialog, COLOR_HUE), text(dialog, COLOR_SAT),   text(dialog, COLOR_LUM)};
        })
        .type(COLOR_BLUE, "255")
        .press(IDCANCEL);
    EXPECT_FALSE(ChooseColorA(&r.cc));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_EQ(shown, (std::array<std::string, 6>{"255", "0", "0", "0", "240", "120"}));
    EXPECT_EQ(r.cc.rgbResult, RGB(255, 0, 0));
}

TEST(ChooseColour, RgbAndHslEditsFollowEachOther) {
    Harness h(commdlg_test::screen());
    ColourRecord r(CC_FULLOPEN);
    std::array<std::string, 3> hslAfterRgb, rgbAfterHsl;
    h.expectCommonDialog("ChooseColor")
        .type(COLOR_RED, "0")
        .type(COLOR_GREEN, "255")
        .type(COLOR_BLUE, "0")
        .call([&](HWND d) { hslAfterRgb = {text(d, COLOR_HUE), text(d, COLOR_SAT), text(d, COLOR_LUM)}; })
        .type(COLOR_HUE, "160")
        .call([&](HWND d) { rgbAfterHsl = {text(d, COLOR_RED), text(d, COLOR_GREEN), text(d, COLOR_BLUE)}; })
        .press(IDOK);
    ASSERT_TRUE(ChooseColorA(&r.cc));
    EXPECT_EQ(hslAfterRgb, (std::array<std::string, 3>{"80", "240", "120"}));
    EXPECT_EQ(rgbAfterHsl, (std::array<std::string, 3>{"0", "0", "255"}));
    EXPECT_EQ(r.cc.rgbResult, RGB(0, 0, 255));
}

TEST(ChooseColour, ABasicColourClickedIsChosenAndAddedToTheCustomColours) {
    Harness h(commdlg_test::screen());
    ColourRecord r;
    r.custom.fill(RGB(255, 255, 255));
    h.expectCommonDialog("ChooseColor")
        .press(COLOR_BASIC_FIRST + 8)  // the second row starts with pure red
        .press(COLOR_CUSTOM_FIRST + 3)
        .press(COLOR_BASIC_FIRST + 8)
        .press(COLOR_MIX)
        .press(COLOR_ADD)
        .press(IDOK);
    ASSERT_TRUE(ChooseColorA(&r.cc));
    EXPECT_EQ(r.cc.rgbResult, RGB(255, 0, 0));
    EXPECT_EQ(r.custom[3], RGB(255, 0, 0));
    EXPECT_EQ(r.custom[2], RGB(255, 255, 255));
    EXPECT_EQ(r.custom[4], RGB(255, 255, 255));
}

TEST(ChooseColour, TheMixingPartOpensOnRequestUnlessPrevented) {
    const struct {
        DWORD flags;
        bool mixEnabled;
        bool editsEnabled;
    } cases[] = {{0, true, false}, {CC_FULLOPEN, false, true}, {CC_PREVENTFULLOPEN, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags);
        Harness h(commdlg_test::screen());
        ColourRecord r(c.flags);
        bool mix = false, edits = false;
        int width = 0, fullWidth = 0;
        h.expectCommonDialog("ChooseColor")
            .call([&](HWND d) {
                mix = IsWindowEnabled(GetDlgItem(d, COLOR_MIX));
                edits = IsWindowEnabled(GetDlgItem(d, COLOR_RED));
                width = h.windowInfo(d).rect.right - h.windowInfo(d).rect.left;
                RECT full{0, 0, 298, 0};
                MapDialogRect(d, &full);
                fullWidth = full.right;
            })
            .press(IDCANCEL);
        EXPECT_FALSE(ChooseColorA(&r.cc));
        EXPECT_EQ(mix, c.mixEnabled);
        EXPECT_EQ(edits, c.editsEnabled);
        EXPECT_EQ(width > fullWidth, c.editsEnabled);
    }
}

TEST(ChooseColour, RecordsOfAnotherSizeOrWithoutCustomColoursAreRefused) {
    ColourRecord wrongSize;
    wrongSize.cc.lStructSize = 35;
    EXPECT_FALSE(ChooseColorA(&wrongSize.cc));
    EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_STRUCTSIZE));
    ColourRecord noCustom;
    noCustom.cc.lpCustColors = nullptr;
    EXPECT_FALSE(ChooseColorA(&noCustom.cc));
    EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_INITIALIZATION));
}

}  // namespace
