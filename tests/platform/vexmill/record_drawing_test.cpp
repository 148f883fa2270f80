// Each record kind and mapping drawn onto a white 32-bit surface and checked by pixels.
//
// Every picture is placeable, its box and window (0, 0)-(100, 100), with a red solid brush in
// slot 0 and a null pen in slot 1 selected before the case's own records; drawn into (0, 0, 100,
// 100) unless the case says otherwise, so a logical unit is a pixel.
#include <algorithm>
#include <cctype>
#include <functional>
#include <vector>

#include "vexmill_fixture.h"
#include "winplat/region.h"

namespace vxtest {
namespace {

struct Probe {
    int x, y;
    COLORREF colour;
};

struct Case {
    const char* name;
    std::function<void(Metafile&)> records;
    std::vector<Probe> probes;
    int x = 0, y = 0, width = 100, height = 100, canvas = 100;
};

Metafile base() {
    Metafile m;
    m.placeable(0, 0, 100, 100, 96);
    m.window(0, 0, 100, 100);
    m.brush(0, kRed).select(0);
    m.pen(5, 0, 0).select(1);
    return m;
}

// A 80 x 80 square with a 40 x 40 square inside, both clockwise on the screen unless the inner
// one is reversed.
Bytes twoRings(bool reverseInner) {
    Bytes p;
    put16(p, 2), put16(p, 4), put16(p, 4);
    for (auto [x, y] : {std::pair{10, 10}, {90, 10}, {90, 90}, {10, 90}}) put16(p, uint32_t(x)), put16(p, uint32_t(y));
    std::vector<std::pair<int, int>> inner = {{30, 30}, {70, 30}, {70, 70}, {30, 70}};
    if (reverseInner) std::reverse(inner.begin(), inner.end());
    for (auto [x, y] : inner) put16(p, uint32_t(x)), put16(p, uint32_t(y));
    return p;
}

Bytes dib2x2() { return packedDib24(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0x000000}); }

Bytes blitParams(std::initializer_list<int> words, const Bytes& dib, bool usage = false) {
    Bytes p;
    put32(p, 0x00CC0020u);  // SRCCOPY
    if (usage) put16(p, 0);
    for (int w : words) put16(p, uint32_t(w));
    p.insert(p.end(), dib.begin(), dib.end());
    return p;
}

const Case kCases[] = {
    {"rectangle",
     [](Metafile& m) { m.rect(kRectangle, 20, 20, 80, 80); },
     // With the null pen the fill stops one pixel short of the right and bottom.
     {{50, 50, kRed}, {20, 20, kRed}, {78, 78, kRed}, {79, 79, kWhite}, {19, 50, kWhite}, {10, 10, kWhite}}},
    {"ellipse",
     [](Metafile& m) { m.rect(kEllipse, 0, 0, 100, 100); },
     {{50, 50, kRed}, {50, 3, kRed}, {95, 50, kRed}, {3, 3, kWhite}, {96, 96, kWhite}}},
    {"round rectangle",
     [](Metafile& m) { m.record(kRoundRect, {40, 40, 100, 100, 0, 0}); },
     {{50, 50, kRed}, {50, 2, kRed}, {2, 50, kRed}, {2, 2, kWhite}, {97, 97, kWhite}}},
    {"polygon",
     [](Metafile& m) { m.points(kPolygon, {{10, 10}, {90, 10}, {10, 90}}); },
     {{20, 20, kRed}, {40, 40, kRed}, {80, 80, kWhite}, {60, 60, kWhite}}},
    {"poly-polygon with a hole",
     [](Metafile& m) {
         Bytes p;
         put16(p, 2), put16(p, 4), put16(p, 4);
         for (auto [x, y] : {std::pair{10, 10}, {90, 10}, {90, 90}, {10, 90}, {30, 30}, {70, 30}, {70, 70}, {30, 70}})
             put16(p, uint32_t(x)), put16(p, uint32_t(y));
         m.raw(kPolyPolygon, p);
     },
     {{20, 20, kRed}, {80, 50, kRed}, {50, 50, kWhite}, {5, 5, kWhite}}},
    // Under the winding rule the rings' winding numbers add: an inner ring running against the
    // outer one cancels it (a hole), one running with it doubles it (filled).
    {"winding poly-polygon, the inner ring against the outer",
     [](Metafile& m) { m.record(kSetPolyFillMode, {2}).raw(kPolyPolygon, twoRings(true)); },
     {{20, 20, kRed}, {80, 50, kRed}, {50, 50, kWhite}, {35, 35, kWhite}, {5, 5, kWhite}}},
    {"winding poly-polygon, the inner ring with the outer",
     [](Metafile& m) { m.record(kSetPolyFillMode, {2}).raw(kPolyPolygon, twoRings(false)); },
     {{20, 20, kRed}, {50, 50, kRed}, {35, 35, kRed}, {5, 5, kWhite}}},
    {"alternate poly-polygon, the inner ring against the outer",
     [](Metafile& m) { m.raw(kPolyPolygon, twoRings(true)); },
     {{20, 20, kRed}, {50, 50, kWhite}, {5, 5, kWhite}}},
    {"a fill mode saved and restored",
     [](Metafile& m) {
         m.record(kSaveDc, {}).record(kSetPolyFillMode, {2}).record(kRestoreDc, {-1});
         m.raw(kPolyPolygon, twoRings(false));
     },
     {{20, 20, kRed}, {50, 50, kWhite}}},
    {"winding poly-polygon stretched twice and flipped",
     [](Metafile& m) { m.window(0, 100, 100, -100).record(kSetPolyFillMode, {2}).raw(kPolyPolygon, twoRings(true)); },
     // Logical (20, 20) lands at device (40, 160); the hole's middle (50, 50) at (100, 100).
     {{40, 160, kRed}, {40, 40, kRed}, {100, 100, kWhite}, {10, 10, kWhite}, {185, 185, kWhite}},
     0, 0, 200, 200, 200},
    {"polyline",
     [](Metafile& m) { m.pen(0, 1, kBlue).select(2).points(kPolyline, {{10, 50}, {90, 50}, {90, 90}}); },
     {{50, 50, kBlue}, {90, 70, kBlue}, {50, 52, kWhite}, {50, 70, kWhite}}},
    {"move and line",
     [](Metafile& m) { m.pen(0, 1, kBlue).select(2).record(kMoveTo, {20, 10}).record(kLineTo, {20, 90}); },
     {{10, 20, kBlue}, {50, 20, kBlue}, {89, 20, kBlue}, {90, 20, kWhite}, {50, 22, kWhite}}},
    {"pie from the right radial to the top one",
     [](Metafile& m) { m.record(kPie, {0, 50, 50, 100, 100, 100, 0, 0}); },
     {{70, 30, kRed}, {30, 30, kWhite}, {30, 70, kWhite}, {70, 70, kWhite}}},
    {"chord",
     [](Metafile& m) { m.record(kChord, {0, 50, 50, 100, 100, 100, 0, 0}); },
     {{80, 20, kRed}, {55, 45, kWhite}, {30, 70, kWhite}}},
    {"stretched bitmap",
     [](Metafile& m) { m.raw(kStretchDib, blitParams({2, 2, 0, 0, 100, 100, 0, 0}, dib2x2(), true)); },
     {{25, 25, kRed}, {75, 25, kGreen}, {25, 75, kBlue}, {75, 75, kBlack}}},
    {"bitmap stretch-blit",
     [](Metafile& m) { m.raw(kDibStretchBlt, blitParams({2, 2, 0, 0, 50, 50, 10, 10}, dib2x2())); },
     {{20, 20, kRed}, {45, 20, kGreen}, {20, 45, kBlue}, {59, 59, kBlack}, {60, 60, kWhite}, {9, 9, kWhite}}},
    {"bitmap blit",
     [](Metafile& m) { m.raw(kDibBitBlt, blitParams({0, 0, 2, 2, 10, 10}, dib2x2())); },
     {{10, 10, kRed}, {11, 10, kGreen}, {10, 11, kBlue}, {11, 11, kBlack}, {12, 12, kWhite}}},
    {"set pixel",
     [](Metafile& m) { m.record(kSetPixel, {int(kBlue & 0xFFFF), int(kBlue >> 16), 40, 30}); },
     {{30, 40, kBlue}, {31, 40, kWhite}, {30, 41, kWhite}}},
    {"pattern blit with the brush",
     [](Metafile& m) {
         Bytes p;
         put32(p, 0x00F00021u);  // PATCOPY
         for (int w : {10, 10, 10, 10}) put16(p, uint32_t(w));
         m.raw(kPatBlt, p);
     },
     {{10, 10, kRed}, {19, 19, kRed}, {20, 20, kWhite}, {9, 15, kWhite}}},
    {"opaque text rectangle",
     [](Metafile& m) {
         m.record(kSetBkColor, {int(kGreen & 0xFFFF), int(kGreen >> 16)});
         m.record(kExtTextOut, {10, 10, 0, 2, 10, 10, 60, 30});
     },
     {{10, 10, kGreen}, {59, 29, kGreen}, {60, 29, kWhite}, {30, 30, kWhite}}},
    {"a brush saved and restored",
     [](Metafile& m) { m.record(kSaveDc, {}).brush(0, kBlue).select(2).record(kRestoreDc, {-1}).rect(kRectangle, 0, 0, 50, 50); },
     {{25, 25, kRed}}},
    {"a restore to a named save",
     [](Metafile& m) {
         m.record(kSaveDc, {}).brush(0, kBlue).select(2).record(kSaveDc, {}).brush(0, kGreen).select(3);
         m.record(kRestoreDc, {1}).rect(kRectangle, 0, 0, 50, 50);
     },
     {{25, 25, kRed}}},
    {"a clip rectangle",
     [](Metafile& m) { m.rect(kIntersectClipRect, 0, 0, 50, 100).rect(kRectangle, 0, 0, 101, 101); },
     {{25, 50, kRed}, {49, 50, kRed}, {50, 50, kWhite}, {75, 50, kWhite}}},
    {"a deleted object's slot taken by the next",
     [](Metafile& m) { m.record(kDeleteObject, {0}).brush(0, kGreen).select(0).rect(kRectangle, 0, 0, 50, 50); },
     {{25, 25, kGreen}}},
    {"mix mode NOT over a fill",
     [](Metafile& m) {
         m.rect(kRectangle, 0, 0, 100, 100).pen(0, 1, kBlack).select(2).record(kSetRop2, {6});
         m.record(kMoveTo, {50, 0}).record(kLineTo, {50, 100});
     },
     {{50, 50, RGB(0, 255, 255)}, {50, 52, kRed}}},
    {"a window flipped upside down",
     [](Metafile& m) { m.window(0, 100, 100, -100).rect(kRectangle, 0, 0, 50, 50); },
     {{25, 75, kRed}, {25, 25, kWhite}, {75, 75, kWhite}}},
    {"a window flipped left to right",
     [](Metafile& m) { m.window(100, 0, -100, 100).rect(kRectangle, 0, 0, 50, 50); },
     {{75, 25, kRed}, {25, 25, kWhite}, {75, 75, kWhite}}},
    {"a window flipped both ways",
     [](Metafile& m) { m.window(100, 100, -100, -100).rect(kRectangle, 0, 0, 50, 50); },
     {{75, 75, kRed}, {25, 25, kWhite}, {75, 25, kWhite}}},
    {"a window of other units",
     [](Metafile& m) { m.window(0, 0, 1000, 1000).rect(kRectangle, 0, 0, 500, 500); },
     {{25, 25, kRed}, {75, 75, kWhite}}},
    {"a viewport that scales and one moved within it",
     [](Metafile& m) {
         m.viewport(0, 0, 200, 200).rect(kRectangle, 0, 0, 50, 50);
         m.record(kSetViewportOrg, {100, 100}).rect(kRectangle, 0, 0, 50, 50);
     },
     {{25, 25, kRed}, {75, 75, kRed}, {75, 25, kWhite}, {25, 75, kWhite}}},
    {"a window origin moved",
     [](Metafile& m) { m.record(kOffsetWindowOrg, {50, 50}).rect(kRectangle, 50, 50, 100, 100); },
     {{25, 25, kRed}, {75, 75, kWhite}}},
    {"a map mode of tenths of millimetres, y upwards",
     [](Metafile& m) {
         m = Metafile();  // plain: the box of what it draws is its frame
         m.brush(0, kRed).select(0).pen(5, 0, 0).select(1);
         m.record(kSetMapMode, {2}).rect(kRectangle, 0, 0, 500, -500);
         m.rect(kRectangle, 0, -999, 1000, -1000);  // reaches the box's bottom corner
     },
     {{25, 25, kRed}, {75, 75, kWhite}, {75, 25, kWhite}}},
    {"a destination twice the size",
     [](Metafile& m) { m.rect(kRectangle, 20, 20, 80, 80); },
     {{45, 45, kRed}, {35, 35, kWhite}, {155, 155, kRed}, {165, 165, kWhite}},
     0, 0, 200, 200, 200},
    {"a destination moved and shrunk",
     [](Metafile& m) { m.rect(kRectangle, 20, 20, 80, 80); },
     {{75, 75, kRed}, {55, 55, kWhite}, {25, 25, kWhite}},
     50, 50, 50, 50, 100},
    {"a mirrored destination",
     [](Metafile& m) { m.rect(kRectangle, 0, 0, 50, 50); },
     {{75, 25, kRed}, {25, 25, kWhite}},
     100, 0, -100, 100, 100},
    {"drawing outside the destination is clipped",
     [](Metafile& m) { m.rect(kRectangle, -50, -50, 150, 150); },
     {{30, 30, kRed}, {69, 69, kRed}, {29, 29, kWhite}, {70, 70, kWhite}},
     30, 30, 40, 40, 100},
};

class RecordDrawing : public VexmillTest, public ::testing::WithParamInterface<Case> {};

TEST_P(RecordDrawing, DrawsThePixelsOfItsRecords) {
    const Case& c = GetParam();
    Metafile m = base();
    c.records(m);
    Canvas canvas(c.canvas, c.canvas);
    draw(m.bytes(), canvas, c.x, c.y, c.width, c.height);
    for (const Probe& p : c.probes) {
        EXPECT_EQ(canvas.at(p.x, p.y), p.colour) << "at (" << p.x << ", " << p.y << ")";
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, RecordDrawing, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string name;
    for (const char* c = info.param.name; *c; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
});

// Curves and text whose pixels depend on sampling or on the face are checked by where ink lies.
TEST_F(VexmillTest, AnArcInksItsQuarterOnly) {
    Metafile m = base();
    m.pen(0, 1, kBlue).select(2).record(kArc, {0, 50, 50, 100, 100, 100, 0, 0});
    Canvas canvas(100, 100);
    draw(m.bytes(), canvas, 0, 0, 100, 100);
    EXPECT_GT(canvas.inked(55, 0, 100, 45), 40);  // upper right, on the curve
    EXPECT_EQ(canvas.inked(0, 0, 45, 100), 0);
    EXPECT_EQ(canvas.inked(0, 55, 100, 100), 0);
    EXPECT_EQ(canvas.inked(55, 25, 75, 45), 0);  // inside the curve: an arc is not filled
}

TEST_F(VexmillTest, AHatchedBrushLeavesGapsInTransparentMode) {
    Metafile m = base();
    m.record(kSetBkMode, {1}).brush(2, kBlue, 0).select(2).rect(kRectangle, 0, 0, 100, 100);
    Canvas canvas(100, 100);
    draw(m.bytes(), canvas, 0, 0, 100, 100);
    int blue = 0, white = 0;
    for (int y = 10; y < 90; ++y) {
        blue += canvas.at(50, y) == kBlue;
        white += canvas.at(50, y) == kWhite;
    }
    EXPECT_EQ(blue + white, 80);  // nothing else: the gaps stay white in transparent mode
    EXPECT_GT(blue, 5);
    EXPECT_GT(white, 30);
}

TEST_F(VexmillTest, ABitmapPatternBrushRepeatsItsColours) {
    Metafile m = base();
    Bytes p;
    put16(p, 5), put16(p, 0);
    const Bytes dib = packedDib24(2, 2, {0x00FF00, 0x0000FF, 0x0000FF, 0x00FF00});
    p.insert(p.end(), dib.begin(), dib.end());
    m.raw(kDibCreatePatternBrush, p).select(2).rect(kRectangle, 0, 0, 100, 100);
    Canvas canvas(100, 100);
    draw(m.bytes(), canvas, 0, 0, 100, 100);
    EXPECT_EQ(canvas.at(40, 40), canvas.at(42, 40));
    EXPECT_NE(canvas.at(40, 40), canvas.at(41, 40));
    for (int x = 40; x < 42; ++x) {
        const COLORREF c = canvas.at(x, 40);
        EXPECT_TRUE(c == kGreen || c == kBlue) << std::hex << c;
    }
}

TEST_F(VexmillTest, TextLandsAtItsPositionAndScalesWithThePicture) {
    for (int scale : {1, 2}) {
        Metafile m = base();
        m.font(-20, "Arial").select(2).record(kSetTextAlign, {0}).textOut(10, 10, "HHH");
        Canvas canvas(100 * scale, 100 * scale);
        draw(m.bytes(), canvas, 0, 0, 100 * scale, 100 * scale);
        EXPECT_GT(canvas.inked(10 * scale, 10 * scale, 60 * scale, 30 * scale), 50 * scale * scale) << scale;
        EXPECT_EQ(canvas.inked(0, 35 * scale, 100 * scale, 100 * scale), 0) << scale;
        EXPECT_EQ(canvas.inked(0, 0, 100 * scale, 9 * scale), 0) << scale;
    }
}

// The fills of every shape go through the mix mode: NOT-XOR with the brush twice gives back
// every pixel, and once gives NOT(destination XOR brush) inside, not the brush.
TEST_F(VexmillTest, ANotXorShapeDrawnTwiceRestoresEveryPixel) {
    struct Shape {
        const char* name;
        std::function<void(Metafile&)> record;
        POINT inside;
    } const shapes[] = {
        {"polygon", [](Metafile& m) { m.points(kPolygon, {{10, 10}, {90, 20}, {50, 90}}); }, {50, 40}},
        {"winding poly-polygon", [](Metafile& m) { m.record(kSetPolyFillMode, {2}).raw(kPolyPolygon, twoRings(false)); },
         {50, 50}},
        {"rectangle", [](Metafile& m) { m.rect(kRectangle, 10, 10, 90, 90); }, {50, 50}},
        {"round rectangle", [](Metafile& m) { m.record(kRoundRect, {20, 20, 90, 90, 10, 10}); }, {50, 50}},
        {"ellipse", [](Metafile& m) { m.rect(kEllipse, 5, 10, 95, 90); }, {50, 50}},
        {"pie", [](Metafile& m) { m.record(kPie, {0, 50, 50, 100, 100, 100, 0, 0}); }, {70, 30}},
        {"chord", [](Metafile& m) { m.record(kChord, {0, 50, 50, 100, 100, 100, 0, 0}); }, {80, 20}},
    };
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.name);
        Metafile m = base();
        m.pen(0, 1, kBlue).select(2).record(kSetRop2, {10});
        shape.record(m);
        const Bytes bytes = m.bytes();
        Canvas canvas(100, 100);
        HBRUSH green = CreateSolidBrush(RGB(0x20, 0xC0, 0x40));
        const RECT band{0, 30, 100, 70};
        FillRect(canvas.dc(), &band, green);
        DeleteObject(green);
        std::vector<COLORREF> before;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) before.push_back(canvas.at(x, y));
        draw(bytes, canvas, 0, 0, 100, 100);
        const COLORREF under = before[size_t(shape.inside.y * 100 + shape.inside.x)];
        EXPECT_EQ(canvas.at(shape.inside.x, shape.inside.y), ~(under ^ kRed) & 0xFFFFFF);
        draw(bytes, canvas, 0, 0, 100, 100);
        int changed = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) changed += canvas.at(x, y) != before[size_t(y * 100 + x)];
        EXPECT_EQ(changed, 0);
    }
}

TEST_F(VexmillTest, APictureStartsInTheAlternateFillModeAndLeavesTheDcsOwn) {
    Metafile m = base();
    m.raw(kPolyPolygon, twoRings(false));
    Canvas canvas(100, 100);
    SetPolyFillMode(canvas.dc(), WINDING);
    draw(m.bytes(), canvas, 0, 0, 100, 100);
    EXPECT_EQ(canvas.at(50, 50), kWhite);
    EXPECT_EQ(canvas.at(20, 20), kRed);
    EXPECT_EQ(GetPolyFillMode(canvas.dc()), WINDING);
}

TEST_F(VexmillTest, TheDcIsAsBeforeAfterADraw) {
    Metafile m = base();
    m.record(kSetRop2, {7}).record(kSetBkMode, {1}).record(kSaveDc, {}).rect(kIntersectClipRect, 0, 0, 10, 10);
    m.pen(0, 3, kBlue).select(2).rect(kRectangle, 0, 0, 50, 50);
    Canvas canvas(100, 100);
    const HGDIOBJ pen = GetCurrentObject(canvas.dc(), OBJ_PEN);
    const HGDIOBJ brush = GetCurrentObject(canvas.dc(), OBJ_BRUSH);
    const int rop = GetROP2(canvas.dc());
    const int mode = GetBkMode(canvas.dc());
    draw(m.bytes(), canvas, 0, 0, 100, 100);
    EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_BRUSH), brush);
    EXPECT_EQ(GetROP2(canvas.dc()), rop);
    EXPECT_EQ(GetBkMode(canvas.dc()), mode);
    RECT clip{};
    GetClipBox(canvas.dc(), &clip);
    EXPECT_EQ(clip.right, 100);
    EXPECT_EQ(clip.bottom, 100);
}

}  // namespace
}  // namespace vxtest
