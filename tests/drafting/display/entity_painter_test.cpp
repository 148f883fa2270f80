#include "display/entity_painter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "drawing/entity_builders.h"
#include "drawing/angles.h"
#include "drawing/entity_dump.h"
#include "painter_fixture.h"
#include "winplat/testing.h"

namespace linework {
namespace {

using test::Line;
using test::PainterTest;
using Lines = std::vector<std::string>;

EntityRecord Segment(Point a, Point b, HeadFields head = {}, uint8_t lineType = 0) {
    const Point ends[2] = {a, b};
    return MakePolyline(ends, head, 0, lineType);
}

TEST_F(PainterTest, ASolidOnePixelLineDrawsItsLastPixel) {
    painter->DrawEntity(Segment({10, 100}, {20, 100}));
    EXPECT_EQ(Drawn(), Lines{Line(10, 380, 21, 380)});
}

TEST_F(PainterTest, ElevenPixelsForColumnsTenToTwenty) {
    canvas = std::make_unique<winforms::RecordingCanvas>(641, 481);
    Show({}, {641, 481});
    painter->DrawEntity(Segment({10, 100}, {20, 100}, {.colour = 1}));  // red
    const winforms::Bitmap& target = canvas->Target();
    auto red = [&](int column) { return canvas->Pixel(column, 380) == 0x0000FF; };
    int count = 0;
    for (int column = 0; column < target.Width(); ++column) count += red(column) ? 1 : 0;
    EXPECT_EQ(count, 11);
    EXPECT_TRUE(red(10));
    EXPECT_TRUE(red(20));
    EXPECT_FALSE(red(9));
    EXPECT_FALSE(red(21));
}

TEST_F(PainterTest, FarLeftToFarRightSpansTheWholeRow) {
    painter->DrawEntity(Segment({-1e300, 100}, {1e300, 100}));
    painter->DrawEntity(Segment({-1e15, -1e15}, {1e15, 1e15}));
    // The difference of these coordinates overflows a double.
    painter->DrawEntity(Segment({-std::numeric_limits<double>::max(), 100}, {std::numeric_limits<double>::max(), 100}));
    EXPECT_EQ(Drawn(), (Lines{Line(0, 380, view.RightPixel() + 1, 380), Line(0, 480, 481, -1),
                              Line(0, 380, view.RightPixel() + 1, 380)}));
}

TEST_F(PainterTest, CircleSegmentsGrowWithTheRootOfTheRadius) {
    struct Case {
        double radius;
        size_t segments;
    };
    // A paint box large enough to hold the largest circle whole.
    Show({}, {8001, 8001});
    for (Case c : {Case{100, 40}, Case{1, 6}, Case{0.1, 1}, Case{3906.25, 252}, Case{3999, 252}}) {
        canvas->Clear();
        painter->DrawEntity(MakeArc({4000, 4000}, {4000 + c.radius, 4000}, {4000 + c.radius, 4000}));
        EXPECT_EQ(canvas->Count("Polyline"), c.segments) << c.radius;
    }
}

TEST_F(PainterTest, SegmentCountBoundsAndTies) {
    struct Case {
        double radius, pixel;
        int fixed, count;
    };
    const Case cases[] = {
        {62.5 * 62.5, 1, 0, 252},      // the root reaches 62.5
        {62.49 * 62.49, 1, 0, 248},    // just below: 4 * 62
        {0.25, 1, 0, 0},               // root 0.5 rounds to even: one straight segment
        {2.25, 1, 0, 8},               // root 1.5 rounds to 2
        {1, 1, 0, 6},                  // 4 is raised to 6
        {4, 1, 0, 8},
        {200, 2, 0, 40},               // radius in pixels, not world units
        {100, 0, 0, 252},              // a view without scale yet
        {100, 1, 12, 12},              // a fixed count
        {100, 1, 1000, 252},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CircleSegmentCount(c.radius, c.pixel, c.fixed), c.count) << c.radius << " at " << c.pixel;
    }
}

TEST_F(PainterTest, AHalfCircleHasTwentySegments) {
    painter->DrawEntity(MakeArc({320, 240}, {420, 240}, {220, 240}));
    ASSERT_EQ(canvas->Count("Polyline"), 20u);
    EXPECT_EQ(Drawn().front().rfind("Polyline 420,240 ", 0), 0u) << Drawn().front();
    EXPECT_NE(Drawn().back().find(" 220,241 pen"), std::string::npos) << Drawn().back();  // 220,240 and one more
    for (const std::string& line : Drawn()) {
        int x, y;
        ASSERT_EQ(std::sscanf(line.c_str(), "Polyline %d,%d", &x, &y), 2);
        EXPECT_LE(y, 240) << "the upper half only: " << line;
    }
}

TEST_F(PainterTest, AnArcEndingBeforeItsStartRunsTheLongWay) {
    // From 90 degrees to 0: three quarters counter-clockwise through the left and the bottom.
    painter->DrawEntity(MakeArc({320, 240}, {320, 340}, {420, 240}));
    EXPECT_EQ(canvas->Count("Polyline"), 30u);
    bool passesBottom = false;
    for (const std::string& line : Drawn()) passesBottom |= line.find(",340 ") != std::string::npos;
    EXPECT_TRUE(passesBottom);  // world y 140 is row 340
}

TEST_F(PainterTest, DashesOfWidthThreeAreTwentyTwoAndSeventeen) {
    painter->DrawEntity(Segment({0, 100}, {100, 100}, {.width = 3}, 2));
    EXPECT_EQ(Drawn(), (Lines{Line(0, 380, 22, 380, 3), Line(39, 380, 61, 380, 3), Line(78, 380, 100, 380, 3)}));
}

TEST_F(PainterTest, EveryLineTypeAtWidthsOneAndThree) {
    using Pieces = std::vector<std::pair<int, int>>;
    struct Case {
        uint8_t type;
        uint8_t width;
        Pieces pieces;  // columns of row 380
    };
    const Case cases[] = {
        {1, 1, {{0, 61}}},
        {1, 3, {{0, 60}}},
        {2, 1, {{0, 10}, {18, 28}, {36, 46}, {54, 60}}},
        {2, 3, {{0, 22}, {39, 60}}},
        {3, 1, {{0, 2}, {6, 8}, {12, 14}, {18, 20}, {24, 26}, {30, 32}, {36, 38}, {42, 44}, {48, 50}, {54, 56}}},
        {3, 3, {{0, 2}, {11, 13}, {22, 24}, {33, 35}, {44, 46}, {55, 57}}},
        {4, 1, {{0, 10}, {14, 16}, {20, 30}, {34, 36}, {40, 50}, {54, 56}}},
        {4, 3, {{0, 22}, {31, 33}, {42, 60}}},
        {5, 1, {{0, 10}, {14, 16}, {20, 22}, {26, 36}, {40, 42}, {46, 48}, {52, 60}}},
        {5, 3, {{0, 22}, {31, 33}, {42, 44}, {53, 60}}},
        {6, 1, {}},
        {6, 3, {}},
        {7, 1, {{0, 61}}},  // no pattern of its own: solid
        {7, 3, {{0, 60}}},
    };
    for (const Case& c : cases) {
        canvas->Clear();
        painter->DrawEntity(Segment({0, 100}, {60, 100}, {.width = c.width}, c.type));
        Lines expected;
        for (auto [from, to] : c.pieces) expected.push_back(Line(from, 380, to, 380, c.width));
        EXPECT_EQ(Drawn(), expected) << "line type " << int{c.type} << " width " << int{c.width};
    }
}

TEST_F(PainterTest, ThePatternFlowsAroundCorners) {
    const Point corner[] = {{0, 100}, {15, 100}, {15, 80}};
    painter->DrawEntity(MakePolyline(corner, {}, 0, 2));
    // 10 on, 5 of the gap on the first leg, its last 3 pixels on the second, then 10 on.
    EXPECT_EQ(Drawn(), (Lines{Line(0, 380, 10, 380), Line(15, 383, 15, 393)}));
    // A new polyline starts the pattern afresh.
    canvas->Clear();
    painter->DrawEntity(MakePolyline(corner, {}, 0, 2));
    EXPECT_EQ(Drawn().front(), Line(0, 380, 10, 380));
}

TEST_F(PainterTest, ALineTypeOfZeroIsTheLayers) {
    layers.SetWord(3, 0x00020101);  // dashed
    painter->DrawEntity(Segment({0, 100}, {20, 100}, {.layer = 3}));
    EXPECT_EQ(Drawn(), (Lines{Line(0, 380, 10, 380, 1, "000000ff"), Line(18, 380, 20, 380, 1, "000000ff")}));
}

TEST_F(PainterTest, PatternScaleZeroUsesTheSystemStyles) {
    settings.patternScale = 0;
    painter->DrawEntity(Segment({0, 100}, {60, 100}, {}, 2));
    EXPECT_EQ(Drawn(), Lines{"Polyline 0,380 60,380 pen 00ffffff w1 dash copy"});
    EXPECT_EQ(canvas->GetPen().Style(), winforms::PenStyle::Solid);
}

TEST_F(PainterTest, HiddenLayersAndInvisibleLinesAreNotDrawn) {
    layers.SetWord(4, layers.Word(4) | layer_flag::kHidden);
    layers.SetWord(5, layers.Word(5) | layer_flag::kOutOfScaleRange);
    layers.SetWord(6, layers.Word(6) | layer_flag::kLocked);
    EntityRecord erased = Segment({0, 100}, {20, 100});
    erased.SetByte(entity_field::kKindAndFlags, 0x10 | entity_flag::kErased);
    painter->DrawEntity(Segment({0, 100}, {20, 100}, {.layer = 4}));
    painter->DrawEntity(Segment({0, 100}, {20, 100}, {.layer = 5}));
    painter->DrawEntity(Segment({0, 100}, {20, 100}, {}, 6));
    painter->DrawEntity(MakeArc({100, 100}, {110, 100}, {110, 100}, {}, 6));
    painter->DrawEntityIfShown(erased);
    EXPECT_EQ(Drawn(), Lines{});
    painter->DrawEntity(Segment({0, 100}, {20, 100}, {.layer = 6}));  // locked layers are drawn
    EXPECT_EQ(canvas->Count("Polyline"), 1u);
    painter->modes.drawAllLayers = true;
    painter->DrawEntity(Segment({0, 100}, {20, 100}, {.layer = 4}));
    painter->DrawEntity(Segment({0, 100}, {20, 100}, {.layer = 5}));
    EXPECT_EQ(canvas->Count("Polyline"), 3u);
}

TEST_F(PainterTest, PenColourFollowsSelectionModeAndSwitches) {
    EntityRecord selected = Segment({0, 100}, {5, 100}, {.colour = 3});
    selected.SetByte(entity_field::kKindAndFlags, 0x10 | entity_flag::kSelected);
    struct Case {
        const char* what;
        void (*set)(DisplayModes&, DisplaySettings&);
        int mode;
        COLORREF expected;
    };
    const Case cases[] = {
        {"highlighted", [](DisplayModes&, DisplaySettings&) {}, 0, 0x0000FF},
        {"erasing", [](DisplayModes&, DisplaySettings&) {}, 1, 0x808080},
        {"highlight suppressed", [](DisplayModes& m, DisplaySettings&) { m.suppressHighlight = true; }, 0, 0x00FF00},
        {"highlight as background", [](DisplayModes&, DisplaySettings& s) { s.colours.highlight = 0x808080; }, 0,
         0x00FF00},
    };
    for (const Case& c : cases) {
        settings = DisplaySettings{};
        Show({}, {641, 481});
        c.set(painter->modes, settings);
        painter->DrawEntity(selected, c.mode);
        EXPECT_EQ(canvas->GetPen().Color(), c.expected) << c.what;
    }
    canvas->GetPen().SetColor(0x123456);
    painter->modes.keepPen = true;
    painter->DrawEntity(selected);
    EXPECT_EQ(canvas->GetPen().Color(), 0x123456u);
}

TEST_F(PainterTest, WidthsFromTheEntityThePrinterTableOrOne) {
    EntityRecord wide = Segment({0, 100}, {5, 100}, {.colour = 20, .width = 4});
    painter->DrawEntity(wide);
    EXPECT_EQ(painter->CurrentWidth(), 4);
    painter->modes.showWidths = false;
    painter->DrawEntity(wide);
    EXPECT_EQ(painter->CurrentWidth(), 1);
    painter->modes.printing = true;
    settings.printerPens.entries[5] = 0x1007;  // colour 20 repeats colour 5
    painter->DrawEntity(wide);
    EXPECT_EQ(painter->CurrentWidth(), 7);
    EXPECT_EQ(canvas->GetPen().Width(), 7);
}

TEST_F(PainterTest, PrinterPensOfRepeatedColours) {
    ColourTable colours = DefaultColourTable(0xC8D0D4);
    PrinterPenTable pens;
    for (int i = 0; i < PrinterPenTable::kEntries; ++i) pens.entries[static_cast<size_t>(i)] = 0x1000 + i;
    EXPECT_EQ(PrinterPenWidth(0, colours, pens), 0);
    EXPECT_EQ(PrinterPenWidth(15, colours, pens), 15);
    EXPECT_EQ(PrinterPenWidth(16, colours, pens), 1);
    EXPECT_EQ(PrinterPenWidth(29, colours, pens), 14);
    EXPECT_EQ(PrinterPenWidth(30, colours, pens), 16);  // light grey is none of 1..15
    EXPECT_EQ(PrinterPenWidth(31, colours, pens), 1);
    colours.colours[200] = 0x0000FF;
    EXPECT_EQ(PrinterPenWidth(200, colours, pens), 1);
    EXPECT_EQ(PrinterPenTable{}.entries[0], 0);
    EXPECT_EQ(PrinterPenWidth(9, colours, PrinterPenTable{}), 1);
}

TEST_F(PainterTest, DefaultColours) {
    ColourTable colours = DefaultColourTable(0xABCDEF);
    EXPECT_EQ(colours[0], 0x808080u);
    EXPECT_EQ(colours[1], 0x0000FFu);
    EXPECT_EQ(colours[14], 0x800080u);
    EXPECT_EQ(colours[15], 0xABCDEFu);
    EXPECT_EQ(colours[16], colours[1]);
    EXPECT_EQ(colours[29], colours[14]);
    EXPECT_EQ(colours[45], 0xABCDEFu);
    for (int grey : {30, 60, 90, 120, 150, 180, 210, 240}) EXPECT_EQ(colours[static_cast<uint8_t>(grey)], 0xC0C0C0u);
    EXPECT_EQ(colours[255], colours[15]);
    EXPECT_EQ(colours.highlight, 0x0000FFu);
}

TEST_F(PainterTest, PointMarkersByStyleBits) {
    auto point = [](uint8_t style, float size) {
        const Point at[] = {{100, 100}};
        return MakePolyline(at, {}, 0, style, size);
    };
    painter->DrawEntity(point(0x01, 0));
    EXPECT_EQ(Drawn(), Lines{Line(100, 380, 101, 380)});
    canvas->Clear();
    painter->DrawEntity(point(0x02, 0));  // a square one pixel from the point
    EXPECT_EQ(Drawn(), (Lines{Line(99, 381, 102, 381), Line(101, 381, 101, 378), Line(101, 379, 98, 379),
                              Line(99, 379, 99, 382)}));
    canvas->Clear();
    painter->DrawEntity(point(0x08, 4));  // a plus of half-size 4
    EXPECT_EQ(Drawn(), (Lines{Line(96, 380, 105, 380), Line(100, 384, 100, 375)}));
    canvas->Clear();
    painter->DrawEntity(point(0x10 | 0x04, 4));  // a square of half-size 2 and a diagonal cross
    EXPECT_EQ(canvas->Count("Polyline"), 6u);
    canvas->Clear();
    painter->DrawEntity(point(0, 4));
    EXPECT_EQ(Drawn(), Lines{});
}

TEST_F(PainterTest, PointMarkerCharacters) {
    painter->DrawPointMarker('.', 10, 100);
    painter->DrawPointMarker('T', 10, 100);
    painter->DrawPointMarker('^', 10, 100);
    painter->DrawPointMarker('x', 10, 100);
    painter->DrawPointMarker('^', -1, 100);  // outside: nothing
    const char* black = "00000000";  // no entity has set the pen yet
    EXPECT_EQ(Drawn(), (Lines{Line(10, 380, 11, 380, 1, black), Line(10, 378, 10, 383, 1, black),
                              Line(8, 380, 13, 380, 1, black), Line(10, 376, 10, 385, 1, black),
                              Line(6, 380, 15, 380, 1, black), Line(10, 377, 10, 384, 1, black),
                              Line(7, 380, 14, 380, 1, black)}));
}

TEST_F(PainterTest, ExplodeReturnsThePiecesAsEntities) {
    Drawing drawing;
    painter->SetExplodeTarget(&drawing, {.layer = 2, .colour = 3}, 2);
    settings.fixedArcSegments = 4;
    painter->ExplodeToLines(MakeArc({0, 0}, {1, 0}, {-1, 0}));  // half of four segments: two
    const Point zigzag[] = {{0, 0}, {5, 5}, {10, 0}};
    painter->ExplodeToLines(MakePolyline(zigzag));
    EXPECT_EQ(DumpDrawing(drawing),
              "line flags=0x00 layer=2 colour=3 width=0 aux=0 end=0 style=2 vertices=2 (5,5) (10,0)\n"
              "line flags=0x00 layer=2 colour=3 width=0 aux=0 end=0 style=2 vertices=2 (0,0) (5,5)\n"
              "line flags=0x00 layer=2 colour=3 width=0 aux=0 end=0 style=2 vertices=2 (6.123233995736766e-17,1) (-1,0)\n"
              "line flags=0x00 layer=2 colour=3 width=0 aux=0 end=0 style=2 vertices=2 (1,0) (6.123233995736766e-17,1)\n");
    EXPECT_EQ(Drawn(), Lines{});
}

TEST_F(PainterTest, ExplodeStopsAtAMemoryError) {
    Drawing drawing;
    painter->SetExplodeTarget(&drawing, {}, 1);
    drawing.memoryError = true;
    painter->ExplodeToLines(MakeArc({0, 0}, {1, 0}, {1, 0}));
    EXPECT_EQ(drawing.head, 0u);
}

TEST_F(PainterTest, ArcToPolylineKeepsTheHead) {
    EntityRecord arc = MakeArc({0, 0}, {2, 0}, {0, 2}, {.layer = 9, .colour = 4, .width = 2}, 3);
    settings.fixedArcSegments = 8;
    EntityRecord polyline = ArcToPolyline(ArcView(arc), 1, 8);
    Drawing drawing;
    EXPECT_EQ(DumpEntity(drawing, polyline).substr(0, 68),
              "polyline flags=0x00 layer=9 colour=4 width=2 aux=0 end=0 style=3 ver");
    PolylineView view(polyline);
    EXPECT_EQ(view.Vertex(0), (Point{2, 0}));
    EXPECT_EQ(view.Vertex(view.SegmentCount()), (Point{0, 2}));  // copied exactly
}

TEST_F(PainterTest, ExtentsModeWidensTheBoxAndDrawsNothing) {
    painter->modes.noScreenOutput = true;
    painter->modes.collectExtents = true;
    painter->DrawEntityIfShown(MakeArc({1000, 2000}, {1010, 2000}, {1010, 2000}));
    EXPECT_EQ(painter->extents.x1, 990);
    EXPECT_EQ(painter->extents.y2, 2010);
    painter->DrawEntityIfShown(Segment({-5, 3}, {7, -9}, {}, 6));  // extents come before the pen
    EXPECT_EQ(painter->extents.x1, -5);
    EXPECT_EQ(painter->extents.y1, -9);
    EXPECT_EQ(painter->extents.x2, 1010);
    EXPECT_EQ(Drawn(), Lines{});
    painter->ResetExtents();
    settings.fixedArcSegments = 4;
    painter->DrawEntityIfShown(MakeArc({0, 0}, {0, 1}, {1, 0}));  // three quarters in three steps
    EXPECT_EQ(painter->extents.x1, -1);
    EXPECT_EQ(painter->extents.y1, -1);
    EXPECT_EQ(painter->extents.x2, 1);
    EXPECT_EQ(painter->extents.y2, 1);
}

TEST_F(PainterTest, CirclesTouchingTheWindowAreDrawn) {
    painter->DrawEntity(MakeArc({-100, 100}, {-0.5, 100}, {-0.5, 100}));  // half a unit short
    EXPECT_EQ(Drawn(), Lines{});
    painter->DrawEntity(MakeArc({-100, 100}, {0, 100}, {0, 100}));  // just touching
    EXPECT_GT(canvas->Count("Polyline"), 0u);
}

TEST_F(PainterTest, NonFiniteEntitiesAreSkippedAndNamed) {
    winplat::testing::DebugCapture debug;
    painter->DrawEntityIfShown(Segment({0, 100}, {std::nan(""), 100}, {.layer = 3}), 0, 7);
    painter->DrawEntityIfShown(MakeArc({1, 1}, {std::numeric_limits<double>::infinity(), 1}, {2, 1}), 0, 8);
    EXPECT_EQ(Drawn(), Lines{});
    EXPECT_TRUE(debug.contains("entity 7 (kind 0x10, layer 3)")) << debug.text();
    EXPECT_TRUE(debug.contains("entity 8 (kind 0x20, layer 0)")) << debug.text();
}

TEST_F(PainterTest, RotatedViewsShowOnly3DPolylines) {
    ViewTransform side;
    side.angle1 = -kHalfPi;
    Show(side, {641, 481});
    ASSERT_EQ(view.ViewKind(), 1);
    painter->DrawEntityIfShown(Segment({0, 100}, {20, 100}));
    painter->DrawEntityIfShown(MakeReference("A.LKD", {10, 10}));
    EXPECT_EQ(Drawn(), Lines{});
    // Seen from the side, (x, y, z) shows as (x, z).
    const Point3 rising[] = {{10, 50, 100}, {20, 50, 100}};
    painter->DrawEntityIfShown(MakePolyline3D(rising, {}, 0));
    EXPECT_EQ(Drawn(), Lines{Line(10, 380, 21, 380)});
}

TEST_F(PainterTest, ThreeDPolylinesInPlanViewDropTheirHeight) {
    const Point3 vertices[] = {{10, 100, 7}, {20, 100, -7}};
    painter->DrawEntityIfShown(MakePolyline3D(vertices, {}, 0));
    EXPECT_EQ(Drawn(), Lines{Line(10, 380, 21, 380)});
}

TEST_F(PainterTest, TheDisplaySwitchStopsScreenOutputOnly) {
    painter->modes.displayOn = false;
    painter->DrawEntityIfShown(Segment({0, 100}, {20, 100}));
    EXPECT_EQ(Drawn(), Lines{});
    painter->modes.noScreenOutput = true;
    painter->modes.collectExtents = true;
    painter->DrawEntityIfShown(Segment({0, 100}, {20, 100}));
    EXPECT_EQ(painter->extents.x2, 20);
}

TEST_F(PainterTest, ReferencesShowTheirInsertionMark) {
    painter->DrawEntity(MakeReference("A.LKD", {10, 100}));
    EXPECT_EQ(Drawn(), (Lines{Line(10, 376, 10, 385), Line(6, 380, 15, 380)}));
    canvas->Clear();
    painter->modes.showInsertionMarks = false;
    painter->DrawEntity(MakeReference("A.LKD", {10, 100}));
    EXPECT_EQ(Drawn(), Lines{});
}

// Hands each kind routine's call on as a line, to see what the dispatcher passes.
struct LoggingRenderers final : HatchRenderer, EndSymbolRenderer, TextRenderer, DimensionRenderer, InsertRenderer,
                                RasterImageRenderer, ReferenceRenderer {
    Lines calls;
    void DrawHatchedPolyline(EntityPainter&, bool, const PolylineView& p) override {
        calls.push_back("hatch " + std::to_string(p.SegmentCount()));
    }
    void DrawEndSymbolPolyline(EntityPainter&, bool, const PolylineView& p) override {
        calls.push_back("endsymbol " + std::to_string(p.EndSymbol()));
    }
    void DrawVectorText(EntityPainter&, const TextRequest& t) override {
        calls.push_back("text " + std::string(t.text) + " font " + std::to_string(t.font) + " j" +
                        std::to_string(t.justification) + " v" + std::to_string(t.verticalAlignment));
    }
    void DrawDimension(EntityPainter&, bool, const DimensionView& d) override {
        calls.push_back("dimension " + std::string(d.Text()));
    }
    void DrawBlockInsert(EntityPainter&, bool, const InsertView& i, int mode) override {
        calls.push_back("insert " + std::to_string(i.Block()) + " mode " + std::to_string(mode));
    }
    void DrawRasterImage(EntityPainter&, const RasterImageView& i, int) override {
        calls.push_back("image " + std::string(i.FileName()));
    }
    void DrawReferencedDrawing(EntityPainter&, const ReferenceView& r) override {
        calls.push_back("reference " + std::string(r.FileName()));
    }
};

TEST_F(PainterTest, TheDispatcherHandsEachKindOn) {
    LoggingRenderers log;
    EntityPainter dispatcher(canvas.get(), view, layers, settings, {&log, &log, &log, &log, &log, &log, &log});
    const Point square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 0}};
    const Point two[] = {{0, 0}, {10, 0}, {10, 10}};
    const Point dims[5] = {};
    dispatcher.DrawEntityIfShown(MakePolyline(square, {}, 0, 2 << 3));   // hatched: 3 segments
    dispatcher.DrawEntityIfShown(MakePolyline(std::span(square).first(2), {}, 0, 2 << 3));  // one: plain
    dispatcher.DrawEntityIfShown(MakePolyline(two, {}, 5, 1));            // end symbol 5
    dispatcher.DrawEntityIfShown(MakeText("AB", {1, 2}, {}, 1, 1, 0, 0x39));
    dispatcher.DrawEntityIfShown(MakeDimension(dims, 1, 0, "12.5"));
    dispatcher.DrawEntityIfShown(MakeInsert(4, {0, 0}), 1);
    dispatcher.DrawEntityIfShown(MakeRasterImage("P.PCX", {0, 10}, 9, 9, 1, 1, 0x0400));
    dispatcher.DrawEntityIfShown(MakeReference("R.LKD", {0, 0}));
    dispatcher.modes.dragDrawing = true;
    dispatcher.DrawEntityIfShown(MakeRasterImage("HIDDEN.PCX", {0, 10}, 9, 9, 1, 1, 0x0400));
    dispatcher.DrawEntityIfShown(MakeRasterImage("SHOWN.PCX", {0, 10}, 9, 9, 1, 1, 0x0200));
    dispatcher.DrawEntityIfShown(MakeReference("DRAGGED.LKD", {0, 0}));
    dispatcher.modes.dragDrawing = false;
    dispatcher.modes.textOverride = true;
    dispatcher.overrideText = "VALUE";
    dispatcher.DrawEntityIfShown(MakeText("AB", {1, 2}));
    EXPECT_EQ(log.calls, (Lines{"hatch 3", "endsymbol 5", "text AB font 3 j1 v2", "dimension 12.5", "insert 4 mode 1",
                                "image P.PCX", "reference R.LKD", "image SHOWN.PCX", "text VALUE font 0 j0 v0"}));
    // The one-segment patterned polyline, and the marks of both references.
    EXPECT_EQ(canvas->Count("Polyline"), 1u + 2u + 2u);
}

TEST_F(PainterTest, PlaceholdersDrawNothingAndSaySoOnce) {
    winplat::testing::DebugCapture debug;
    const Point dims[5] = {};
    for (int i = 0; i < 3; ++i) {
        painter->DrawEntityIfShown(MakeText("AB", {1, 2}));
        painter->DrawEntityIfShown(MakeDimension(dims, 1, 0, "1"));
    }
    EXPECT_EQ(Drawn(), Lines{});
    std::vector<std::string> messages = debug.messages();
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "Linework: texts are not drawn yet\n"), 1);
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "Linework: dimensions are not drawn yet\n"), 1);
}

}  // namespace
}  // namespace linework

namespace linework {
namespace {

using test::PainterTest;

TEST_F(PainterTest, PointMarkersOnTheWindowEdgesAreDrawn) {
    struct Case {
        double x, y;
        bool drawn;
    };
    const Case cases[] = {{640, 100, true}, {640.25, 100, false}, {0, 480, true},   {-0.25, 100, false},
                          {10, 480.25, false}, {10, 0, true},     {10, -0.25, false}};
    for (const Case& c : cases) {
        canvas->Clear();
        painter->DrawPointMarker('.', c.x, c.y);
        EXPECT_EQ(canvas->Count("Polyline"), c.drawn ? 1u : 0u) << c.x << "," << c.y;
    }
}

}  // namespace
}  // namespace linework
