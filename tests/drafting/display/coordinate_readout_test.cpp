#include "display/coordinate_readout.h"

#include <gtest/gtest.h>

namespace linework {
namespace {

struct ReadoutCase {
    const char* what;
    ReadoutSettings settings;
    ReadoutState state;
    const char* expected;
};

ReadoutState At(Point cursor) {
    ReadoutState state;
    state.cursor = cursor;
    return state;
}

ReadoutState Dragging(Point cursor, Point reference) {
    ReadoutState state = At(cursor);
    state.reference = reference;
    state.rubberBandShown = true;
    return state;
}

TEST(CoordinateReadoutTest, EachSwitchCombinationGivesItsText) {
    ReadoutState selecting = At({1, 2});
    selecting.selecting = true;
    selecting.selectionText = "Vybrano: 3";
    ReadoutState scaling = At({1, 2});
    scaling.scaleDrag = true;
    scaling.scaleFactor = 2.5;
    ReadoutState relative = At({12.34, -5.06});
    relative.userOrigin = {2, -1};
    const ReadoutCase cases[] = {
        {"absolute", {}, At({12.34, -5.06}), "G12.3,-5.1,st"},
        {"display off", {.display = false}, At({12.34, -5.06}), ""},
        {"relative", {.relative = true}, relative, "U10.3,-4.1,st"},
        {"polar while dragging", {}, Dragging({13, 14}, {10, 10}), "R5.0<53.130st"},
        {"polar while dragging, no unit names", {.unitNames = false}, Dragging({13, 14}, {10, 10}),
         "R5.0<53.130,st"},
        {"dragging without polar", {.polarWhileDragging = false}, Dragging({13, 14}, {10, 10}), "G13.0,14.0,st"},
        {"always polar, absolute", {.alwaysPolar = true}, At({0, -2}), "G2.0<270.000st"},
        {"always polar, relative", {.relative = true, .alwaysPolar = true}, relative, "U11.1<338.563st"},
        {"flipped and swapped", {.flipX = true, .swap = true}, At({3, 4}), "G4.0,-3.0,st"},
        {"flip y", {.flipY = true}, At({3, 4}), "G3.0,-4.0,st"},
        {"grads", {.angleUnit = 1}, Dragging({0, 1}, {0, 0}), "R1.0<100.000gr"},
        {"radians", {.angleUnit = 2}, Dragging({0, 1}, {0, 0}), "R1.0<1.571rad"},
        {"no prefix", {.absolutePrefix = 31}, At({1, 2}), "1.0,2.0,st"},
        {"decimals", {.lengthDecimals = 3}, At({1, 2}), "G1.000,2.000,st"},
        {"separator", {.polarSeparator = '@'}, Dragging({1, 0}, {0, 0}), "R1.0@0.000st"},
        {"angle format", {.angleFormat = 0x0601}, Dragging({0, 1}, {0, 0}), "R1.0<  90.0st"},
        {"sub-units named", {.subUnits = 100}, At({12.5, -0.25}), "G12m50.0cm,-0m25.0cm,st"},
        {"sub-units plain", {.unitNames = false, .subUnits = 100}, At({12.5, 3}), "G12:50.0,3:0.0,st"},
        {"selection", {}, selecting, "Vybrano: 3"},
        {"selection readout off", {.selectionReadout = false}, selecting, "G1.0,2.0,st"},
        {"scale drag", {}, scaling, "2.5"},
    };
    for (const ReadoutCase& c : cases) EXPECT_EQ(FormatReadout(c.state, c.settings), c.expected) << c.what;
}

TEST(CoordinateReadoutTest, MeasurementFormats) {
    EXPECT_EQ(FormatReadoutNumber(2, 12.345), "12.35");  // two decimals, no padding
    EXPECT_EQ(FormatReadoutNumber(4, 90), "90.0000");
    EXPECT_EQ(FormatReadoutNumber(0x0802, 1.5), "    1.50");
    EXPECT_EQ(FormatReadoutNumber(-1, 0.1), "0.1");
    EXPECT_STREQ(AngleUnitName(0), "st");
    EXPECT_STREQ(AngleUnitName(1), "gr");
    EXPECT_STREQ(AngleUnitName(7), "rad");
}

}  // namespace
}  // namespace linework
