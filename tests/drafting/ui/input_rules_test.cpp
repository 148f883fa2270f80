// The key hooks' names, the stored views the keyboard steps through and the wheel's factors.
#include <gtest/gtest.h>

#include <cmath>

#include "ui/key_hooks.h"
#include "ui/view_stepping.h"

namespace linework {
namespace {

TEST(KeyHooks, NamesFollowTheModifiersAndTheKey) {
    struct Case {
        uint16_t key;
        KeyModifiers held;
        const char* name;
    };
    const Case cases[] = {
        {123, {true, true, true}, "ACSF12"},
        {114, {}, "F3"},
        {112, {}, "F1"},
        {'A', {false, false, true}, ""},  // Shift+A types a letter
        {'A', {}, ""},
        {'X', {true, false, false}, "AX"},
        {'X', {false, true, false}, "CX"},
        {'0', {false, true, true}, "CS0"},
        {'9', {true, false, false}, "A9"},
        {'Z', {true, true, false}, "ACZ"},
        {116, {false, true, true}, "CSF5"},
        {111, {true, false, false}, ""},  // below F1 (numeric-pad divide)
        {124, {}, ""},                    // F13
        {'@', {true, false, false}, ""},  // just below A
        {'[', {true, false, false}, ""},  // just above Z
        {'/', {false, true, false}, ""},  // just below 0
        {':', {false, true, false}, ""},  // just above 9
        {37, {false, true, false}, ""},   // Ctrl+Left is navigation
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeyHookName(c.key, c.held), c.name) << "key " << c.key << " " << KeyHookPrefix(c.held);
    }
}

TEST(StoredViews, CtrlArrowsWrapAndSkipUndefinedViews) {
    std::array<double, kStoredViews> all{};
    all.fill(1);
    EXPECT_EQ(StepStoredView(1, -1, all), 10);
    EXPECT_EQ(StepStoredView(10, 1, all), 1);
    EXPECT_EQ(StepStoredView(4, 1, all), 5);
    EXPECT_EQ(StepStoredView(4, -1, all), 3);

    std::array<double, kStoredViews> some{};
    some[2] = 0.5;   // view 3
    some[6] = 2;     // view 7
    some[9] = -1;    // view 10: not a positive scale
    EXPECT_EQ(StepStoredView(1, -1, some), 7) << "10 is not defined, 9 and 8 neither";
    EXPECT_EQ(StepStoredView(7, 1, some), 3);
    EXPECT_EQ(StepStoredView(3, -1, some), 7);
    EXPECT_EQ(StepStoredView(0, 1, some), 3) << "no current view: the first defined one";
    EXPECT_EQ(StepStoredView(0, -1, some), 7);

    std::array<double, kStoredViews> one{};
    one[4] = 1;
    EXPECT_EQ(StepStoredView(5, 1, one), std::nullopt) << "back at the start: no change";
    EXPECT_EQ(StepStoredView(2, 1, one), 5);
    EXPECT_EQ(StepStoredView(0, 1, one), 5);
    std::array<double, kStoredViews> none{};
    EXPECT_EQ(StepStoredView(1, -1, none), std::nullopt);
    EXPECT_EQ(StepStoredView(0, 1, none), std::nullopt);
}

TEST(WheelZoom, FactorsForEachDirectionWithAndWithoutCtrl) {
    EXPECT_DOUBLE_EQ(WheelZoomFactor(120, false, true), 2);
    EXPECT_DOUBLE_EQ(WheelZoomFactor(-120, false, true), 0.5);
    EXPECT_DOUBLE_EQ(WheelZoomFactor(120, true, true), 0.5);
    EXPECT_DOUBLE_EQ(WheelZoomFactor(-120, true, true), 2);
    EXPECT_NEAR(WheelZoomFactor(120, false, false), 1.0905, 1e-4);
    EXPECT_NEAR(WheelZoomFactor(-120, false, false), 0.917, 1e-3);
    EXPECT_DOUBLE_EQ(std::pow(WheelZoomFactor(120, false, false), 8), 2);
    EXPECT_DOUBLE_EQ(WheelZoomFactor(0, false, true), 1);
    EXPECT_DOUBLE_EQ(WheelZoomFactor(1, false, true), 2) << "any positive movement zooms in";
    EXPECT_DOUBLE_EQ(WheelZoomFactor(-1, false, true), 0.5);
}

}  // namespace
}  // namespace linework
