// Drawing through a clipping region: every drawing family on two canvases alike, one clipped by a
// region with holes and ragged edges; the clipped canvas must equal the unclipped one inside the
// region and keep its old pixels outside. Then the clipping calls themselves, SaveDC/RestoreDC of
// a region, and the system region a window manager sets.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "canvas.h"
#include "gdi/objects.h"
#include "gdi/region.h"
#include "region_model.h"
#include "text_helpers.h"
#include "winplat/drawdib.h"
#include "winplat/owners.h"
#include "winplat/region.h"
#include "winplat/testing.h"

namespace {

using drawtest::Canvas;
using drawtest::Rgb;
using regiontest::PixelSet;
using regiontest::pixelsOf;
using winplat::OwnedRegion;

constexpr int kWidth = 40;
constexpr int kHeight = 30;

// An ellipse with a rectangular hole and a stray polygon beside it: bands of up to four
// rectangles, edges at every slope.
HRGN makeClip() {
    HRGN clip = CreateEllipticRgn(3, 2, 31, 27);
    OwnedRegion hole(CreateRectRgn(12, 10, 22, 17));
    const POINT wedge[] = {{30, 0}, {40, 12}, {28, 30}};
    OwnedRegion side(CreatePolygonRgn(wedge, 3, ALTERNATE));
    CombineRgn(clip, clip, hole.get(), RGN_DIFF);
    CombineRgn(clip, clip, side.get(), RGN_XOR);
    return clip;
}

std::vector<Rgb> tableOf(int bpp) {
    std::vector<Rgb> colors;
    for (uint32_t i = 0; i < (1u << bpp); ++i) colors.push_back((i * 0x9E3779u) & 0xFFFFFF);
    colors.front() = dibtest::kBlack;
    colors.back() = dibtest::kWhite;
    return colors;
}

// A canvas of the depth with a busy background, so that operations reading the destination show.
std::unique_ptr<Canvas> busyCanvas(int bpp) {
    auto canvas = std::make_unique<Canvas>(kWidth, kHeight, bpp, bpp <= 8 ? tableOf(bpp) : std::vector<Rgb>{});
    const uint32_t mask = bpp >= 24 ? 0xFFFFFFu : (1u << bpp) - 1;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            canvas->setRaw(x, y, static_cast<uint32_t>((x * 7 + y * 13) * 0x010305u) & mask);
    return canvas;
}

// A picture to blit from: a 24-bit canvas of stripes and a gradient.
class Source {
  public:
    Source() : canvas(kWidth, kHeight, 24) {
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                canvas.set(x, y, ((x / 3) % 2 ? 0xFF0000u : 0x0000FFu) ^ static_cast<Rgb>(y * 0x000800 + x * 0x040000));
    }
    Canvas canvas;
};

using Draw = std::function<void(HDC dc, HDC source)>;

struct DrawCase {
    const char* name;
    Draw draw;
};

void PrintTo(const DrawCase& c, std::ostream* out) {
    *out << c.name;
}

// Runs the drawing on an unclipped and a clipped canvas of the depth and compares them pixel by
// pixel against the clip's own PtInRegion.
void expectClipped(int bpp, const Draw& draw, const std::function<void(HDC)>& prepare = {}) {
    Source source;
    OwnedRegion clip(makeClip());
    const PixelSet inside = pixelsOf(clip.get(), 0, 0, kWidth, kHeight);
    auto plain = busyCanvas(bpp);
    auto clipped = busyCanvas(bpp);
    const auto before = busyCanvas(bpp);
    ASSERT_EQ(SelectClipRgn(clipped->dc(), clip.get()), COMPLEXREGION);
    for (Canvas* canvas : {plain.get(), clipped.get()}) {
        if (prepare) prepare(canvas->dc());
        draw(canvas->dc(), source.canvas.dc());
    }
    int changed = 0, wrong = 0;
    std::string first;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const uint32_t expected = inside.at(x, y) ? plain->raw(x, y) : before->raw(x, y);
            if (inside.at(x, y) && plain->raw(x, y) != before->raw(x, y)) ++changed;
            if (clipped->raw(x, y) != expected && wrong++ == 0)
                first = std::to_string(x) + "," + std::to_string(y) + (inside.at(x, y) ? " inside" : " outside");
        }
    }
    EXPECT_EQ(wrong, 0) << "first wrong pixel at " << first;
    EXPECT_GT(changed, 0) << "the drawing must change pixels inside the clip for the test to mean anything";
}

HPEN penOf(HDC dc, int style, int width, COLORREF color) {
    return static_cast<HPEN>(SelectObject(dc, CreatePen(style, width, color)));
}

// The pen or brush a case selected goes when the DC does not need it any more.
void dropSelected(HDC dc, HGDIOBJ previous) {
    DeleteObject(SelectObject(dc, previous));
}

const DrawCase kFamilies[] = {
    {"FillRect with a hatch brush",
     [](HDC dc, HDC) {
         HBRUSH brush = CreateHatchBrush(HS_DIAGCROSS, RGB(200, 0, 0));
         const RECT r{-5, 1, 38, 29};
         FillRect(dc, &r, brush);
         DeleteObject(brush);
     }},
    {"PatBlt inverting",
     [](HDC dc, HDC) { PatBlt(dc, 2, 0, 36, 30, DSTINVERT); }},
    {"Rectangle with a wide pen and a brush",
     [](HDC dc, HDC) {
         HGDIOBJ pen = penOf(dc, PS_SOLID, 3, RGB(0, 200, 0));
         HGDIOBJ brush = SelectObject(dc, CreateSolidBrush(RGB(10, 20, 250)));
         SetROP2(dc, R2_XORPEN);
         Rectangle(dc, 1, 1, 37, 28);
         dropSelected(dc, brush);
         dropSelected(dc, pen);
     }},
    {"one-pixel lines, solid and dashed",
     [](HDC dc, HDC) {
         for (int style : {PS_SOLID, PS_DASHDOT}) {
             HGDIOBJ pen = penOf(dc, style, 1, RGB(255, 255, 0));
             for (int i = 0; i < 12; ++i) {
                 MoveToEx(dc, 20, 14, nullptr);
                 LineTo(dc, (i * 37) % 45 - 2, (i * 23) % 34 - 2);
             }
             dropSelected(dc, pen);
         }
     }},
    {"wide lines",
     [](HDC dc, HDC) {
         HGDIOBJ pen = penOf(dc, PS_SOLID, 5, RGB(0, 255, 255));
         MoveToEx(dc, 0, 3, nullptr);
         LineTo(dc, 39, 26);
         LineTo(dc, 4, 28);
         dropSelected(dc, pen);
     }},
    {"SetPixel everywhere",
     [](HDC dc, HDC) {
         for (int y = 0; y < kHeight; ++y)
             for (int x = 0; x < kWidth; ++x) SetPixel(dc, x, y, RGB(x * 6, y * 8, 77));
     }},
    {"BitBlt copying", [](HDC dc, HDC source) { BitBlt(dc, 3, -2, 34, 30, source, 0, 0, SRCCOPY); }},
    {"BitBlt with an operation reading the destination",
     [](HDC dc, HDC source) { BitBlt(dc, -1, 1, 40, 30, source, 2, 0, NOTSRCERASE); }},
    {"StretchBlt enlarging and mirroring",
     [](HDC dc, HDC source) { StretchBlt(dc, 38, 0, -36, 29, source, 4, 3, 11, 9, SRCCOPY); }},
    {"StretchBlt shrinking in HALFTONE",
     [](HDC dc, HDC source) {
         SetStretchBltMode(dc, HALFTONE);
         StretchBlt(dc, 0, 0, 40, 30, source, 0, 0, 40, 30, SRCCOPY);
         StretchBlt(dc, 5, 5, 15, 12, source, 0, 0, 40, 30, MERGEPAINT);
     }},
    {"BitBlt within one surface",
     [](HDC dc, HDC) { BitBlt(dc, 4, 3, 36, 27, dc, 0, 0, SRCCOPY); }},
    {"StretchDIBits",
     [](HDC dc, HDC) {
         BITMAPINFO info{};
         info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 5, 3, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
         const uint32_t bits[15] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0x808080, 0x123456, 0x654321,
                                    0xABCDEF, 0xFEDCBA, 0x0F0F0F, 0xF0F0F0, 0x777777, 0x333333, 0xCCCCCC};
         StretchDIBits(dc, 1, 2, 37, 26, 0, 0, 5, 3, bits, &info, DIB_RGB_COLORS, SRCCOPY);
     }},
    {"DrawDibDraw",
     [](HDC dc, HDC) {
         BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), 4, -2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
         const uint8_t bits[2][12] = {{0, 0, 255, 0, 255, 0, 255, 0, 0, 9, 9, 9},
                                      {255, 255, 255, 30, 60, 90, 0, 0, 0, 200, 100, 50}};
         winplat::DrawDibSession session(DrawDibOpen());
         DrawDibDraw(session.get(), dc, 0, 0, 40, 30, &header, const_cast<uint8_t*>(&bits[0][0]), 0, 0, 4, 2, 0);
     }},
    {"FillRgn, PaintRgn, InvertRgn and FrameRgn",
     [](HDC dc, HDC) {
         OwnedRegion shape(CreateRoundRectRgn(0, 4, 40, 26, 12, 10));
         HBRUSH brush = CreateSolidBrush(RGB(90, 180, 30));
         FillRgn(dc, shape.get(), brush);
         OffsetRgn(shape.get(), 3, -2);
         InvertRgn(dc, shape.get());
         FrameRgn(dc, shape.get(), static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), 3, 2);
         SetROP2(dc, R2_NOTXORPEN);
         PaintRgn(dc, shape.get());
         DeleteObject(brush);
     }},
};

class DrawingFamilies : public ::testing::TestWithParam<DrawCase> {};

TEST_P(DrawingFamilies, DrawOnlyInsideTheClippingRegion) {
    expectClipped(24, GetParam().draw);
}

INSTANTIATE_TEST_SUITE_P(Families, DrawingFamilies, ::testing::ValuesIn(kFamilies));

// The row writers of every depth, through a fill, a copying blit and one reading the destination.
class Depths : public ::testing::TestWithParam<int> {};

TEST_P(Depths, FillsAndBlitsStayInsideTheClip) {
    const int bpp = GetParam();
    for (const DrawCase& c : {kFamilies[0], kFamilies[1], kFamilies[6], kFamilies[7], kFamilies[10]}) {
        SCOPED_TRACE(c.name);
        expectClipped(bpp, c.draw);
    }
}

INSTANTIATE_TEST_SUITE_P(Bits, Depths, ::testing::Values(1, 4, 8, 16, 32));

TEST(Text, GlyphsAndCellsStayInsideTheClip) {
    const auto font = texttest::logFont(-20);
    auto select = [&](HDC dc) {
        SelectObject(dc, CreateFontIndirectA(&font));
        SetBkColor(dc, RGB(255, 0, 0));
        SetTextColor(dc, RGB(0, 0, 0));
    };
    expectClipped(24,
                  [](HDC dc, HDC) {
                      SetBkMode(dc, OPAQUE);
                      TextOutA(dc, -3, 2, "Mm iW", 5);
                      SetBkMode(dc, TRANSPARENT);
                      const RECT r{5, 12, 36, 29};
                      ExtTextOutA(dc, 0, 11, ETO_CLIPPED | ETO_OPAQUE, &r, "wide@", 5, nullptr);
                      DeleteObject(SelectObject(dc, GetStockObject(SYSTEM_FONT)));
                  },
                  select);
    expectClipped(8,
                  [](HDC dc, HDC) {
                      TextOutA(dc, 0, 6, "Mm @W", 5);
                      DeleteObject(SelectObject(dc, GetStockObject(SYSTEM_FONT)));
                  },
                  select);
}

TEST(Pixels, OutsideTheClipThereIsNoPixelToSetOrGet) {
    Canvas canvas(10, 10, 24);
    OwnedRegion ring(CreateRectRgn(0, 0, 10, 10));
    OwnedRegion hole(CreateRectRgn(3, 3, 7, 7));
    CombineRgn(ring.get(), ring.get(), hole.get(), RGN_DIFF);
    SelectClipRgn(canvas.dc(), ring.get());
    EXPECT_EQ(SetPixel(canvas.dc(), 2, 5, RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(SetPixel(canvas.dc(), 3, 5, RGB(1, 2, 3)), CLR_INVALID);
    EXPECT_EQ(GetPixel(canvas.dc(), 6, 6), CLR_INVALID);
    EXPECT_EQ(GetPixel(canvas.dc(), 7, 6), RGB(0, 0, 0));
}

// --- The clipping calls ---------------------------------------------------------------------------

// The DC's effective clip as pixels, read back through drawing: a white canvas filled black.
PixelSet drawnPixels(Canvas& canvas) {
    canvas.fill(dibtest::kWhite);
    PatBlt(canvas.dc(), 0, 0, canvas.width(), canvas.height(), BLACKNESS);
    return PixelSet::of(0, 0, canvas.width(), canvas.height(),
                        [&](int x, int y) { return canvas.at(x, y) == dibtest::kBlack; });
}

struct ModeCase {
    const char* name;
    int mode;
    bool (*keeps)(bool clip, bool region);
};

const ModeCase kModes[] = {
    {"and", RGN_AND, [](bool c, bool r) { return c && r; }},
    {"or", RGN_OR, [](bool c, bool r) { return c || r; }},
    {"xor", RGN_XOR, [](bool c, bool r) { return c != r; }},
    {"diff", RGN_DIFF, [](bool c, bool r) { return c && !r; }},
    {"copy", RGN_COPY, [](bool, bool r) { return r; }},
};

TEST(ExtSelectClipRgn, CombinesWithTheClipOrTheWholeDevice) {
    OwnedRegion region(CreateEllipticRgn(-4, 2, 14, 13));
    for (const ModeCase& m : kModes) {
        for (bool hadClip : {false, true}) {
            SCOPED_TRACE(std::string(m.name) + (hadClip ? " with a clip" : " without a clip"));
            Canvas canvas(12, 10, 24);
            if (hadClip) IntersectClipRect(canvas.dc(), 5, 0, 12, 7);
            const int kind = ExtSelectClipRgn(canvas.dc(), region.get(), m.mode);
            const PixelSet expected = PixelSet::of(0, 0, 12, 10, [&](int x, int y) {
                const bool inClip = !hadClip || (x >= 5 && y < 7);
                return m.keeps(inClip, PtInRegion(region.get(), x, y) != FALSE);
            });
            EXPECT_EQ(drawnPixels(canvas), expected) << expected.picture();
            RECT box{};
            EXPECT_EQ(GetClipBox(canvas.dc(), &box), kind) << "both report the effective clip's kind";
        }
    }
}

TEST(SelectClipRgn, KeepsACopyAndNullRemovesTheClip) {
    Canvas canvas(12, 10, 24);
    HRGN region = CreateRectRgn(2, 2, 6, 6);
    EXPECT_EQ(SelectClipRgn(canvas.dc(), region), SIMPLEREGION);
    SetRectRgn(region, 0, 0, 12, 10);
    EXPECT_EQ(drawnPixels(canvas), PixelSet::of(0, 0, 12, 10, [](int x, int y) {
                  return x >= 2 && x < 6 && y >= 2 && y < 6;
              })) << "changing the region afterwards leaves the DC's copy alone";
    EXPECT_TRUE(DeleteObject(region)) << "a selected clipping region may be deleted";
    RECT box{};
    EXPECT_EQ(GetClipBox(canvas.dc(), &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 2);
    EXPECT_EQ(SelectClipRgn(canvas.dc(), nullptr), SIMPLEREGION);
    EXPECT_EQ(GetClipBox(canvas.dc(), &box), SIMPLEREGION);
    EXPECT_EQ((std::vector<LONG>{box.left, box.top, box.right, box.bottom}), (std::vector<LONG>{0, 0, 12, 10}));
}

TEST(GetClipRgn, CopiesTheProgramsClipOnly) {
    Canvas canvas(12, 10, 24);
    OwnedRegion out(CreateRectRgn(0, 0, 1, 1));
    EXPECT_EQ(GetClipRgn(canvas.dc(), out.get()), 0) << "no clipping region";
    RECT box{};
    GetRgnBox(out.get(), &box);
    EXPECT_EQ(box.right, 1) << "the region is left as it was";
    OwnedRegion ellipse(CreateEllipticRgn(-20, -20, 40, 40));
    SelectClipRgn(canvas.dc(), ellipse.get());
    EXPECT_EQ(GetClipRgn(canvas.dc(), out.get()), 1);
    EXPECT_TRUE(EqualRgn(out.get(), ellipse.get())) << "not cut to the device";
    EXPECT_EQ(GetClipRgn(canvas.dc(), nullptr), -1);
    EXPECT_EQ(GetClipRgn(nullptr, out.get()), -1);
}

TEST(ClipRects, ExcludeMakesHolesAndOffsetMovesThem) {
    Canvas canvas(10, 8, 24);
    EXPECT_EQ(ExcludeClipRect(canvas.dc(), 2, 2, 5, 4), COMPLEXREGION) << "the device without the hole";
    EXPECT_EQ(drawnPixels(canvas), PixelSet::of(0, 0, 10, 8, [](int x, int y) {
                  return !(x >= 2 && x < 5 && y >= 2 && y < 4);
              }));
    EXPECT_EQ(IntersectClipRect(canvas.dc(), 0, 0, 10, 2), SIMPLEREGION);
    EXPECT_EQ(OffsetClipRgn(canvas.dc(), 1, 3), SIMPLEREGION);
    EXPECT_EQ(drawnPixels(canvas), PixelSet::of(0, 0, 10, 8, [](int x, int y) { return x >= 1 && y >= 3 && y < 5; }));
    EXPECT_EQ(ExcludeClipRect(canvas.dc(), 0, 0, 10, 8), NULLREGION);
    EXPECT_EQ(IntersectClipRect(canvas.dc(), 4, 4, 2, 2), NULLREGION) << "an inverted rectangle is empty";
}

TEST(ClipRects, RefusalsSayWhy) {
    winplat::testing::DebugCapture capture;
    winplat::testing::ScopedDebugAsserts off(false);  // probes an unknown mode
    Canvas canvas(10, 8, 24);
    OwnedRegion region(CreateRectRgn(0, 0, 3, 3));
    EXPECT_EQ(ExtSelectClipRgn(canvas.dc(), nullptr, RGN_AND), ERROR);
    EXPECT_TRUE(capture.contains("no region to combine with"));
    EXPECT_EQ(ExtSelectClipRgn(canvas.dc(), region.get(), 9), ERROR);
    EXPECT_EQ(IntersectClipRect(canvas.dc(), 0, 0, (1 << 27) + 1, 4), ERROR);
    EXPECT_EQ(IntersectClipRect(canvas.dc(), 0, 0, 1 << 27, 4), SIMPLEREGION);
    HRGN stale = CreateRectRgn(0, 0, 2, 2);
    DeleteObject(stale);
    EXPECT_EQ(SelectClipRgn(canvas.dc(), stale), ERROR);
    EXPECT_TRUE(capture.contains("not a live region handle"));
    RECT box{};
    EXPECT_EQ(GetClipBox(canvas.dc(), &box), SIMPLEREGION) << "a refused selection keeps the clip";
    EXPECT_EQ(box.right, 10);
    SelectClipRgn(canvas.dc(), region.get());
    EXPECT_EQ(OffsetClipRgn(canvas.dc(), (1 << 27) - 2, 0), ERROR);
    EXPECT_EQ(OffsetClipRgn(canvas.dc(), (1 << 27) - 3, 0), NULLREGION) << "moved off the device";
    EXPECT_TRUE(capture.contains("beyond 2^27"));
}

TEST(SaveAndRestore, TheClippingRegionGoesWithItsLevel) {
    Canvas canvas(12, 10, 24);
    OwnedRegion ellipse(CreateEllipticRgn(0, 0, 12, 10));
    SelectClipRgn(canvas.dc(), ellipse.get());
    const PixelSet round = drawnPixels(canvas);
    const int level = SaveDC(canvas.dc());
    ExcludeClipRect(canvas.dc(), 0, 0, 6, 10);
    const int inner = SaveDC(canvas.dc());
    SelectClipRgn(canvas.dc(), nullptr);
    EXPECT_TRUE(RestoreDC(canvas.dc(), inner));
    EXPECT_EQ(drawnPixels(canvas), PixelSet::of(0, 0, 12, 10, [&](int x, int y) { return x >= 6 && round.at(x, y); }));
    EXPECT_TRUE(RestoreDC(canvas.dc(), level));
    EXPECT_EQ(drawnPixels(canvas), round);
    OwnedRegion out(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetClipRgn(canvas.dc(), out.get()), 1);
    EXPECT_TRUE(EqualRgn(out.get(), ellipse.get()));
}

// The window manager cuts a window's DC to its visible region; the program's clip comes on top.
TEST(SystemRegion, CutsDrawingAndTheClipBoxButNotTheProgramsClip) {
    Canvas canvas(12, 10, 24);
    {
        std::lock_guard lock(winplat::gdi::gdiMutex());
        auto dc = winplat::gdi::findDc(winplat::handleValue(canvas.dc()));
        ASSERT_TRUE(dc);
        dc->systemRegion = std::make_shared<const winplat::gdi::Region>(winplat::gdi::Region::combine(
            winplat::gdi::Region(winplat::gdi::DeviceRect{0, 0, 8, 10}),
            winplat::gdi::Region(winplat::gdi::DeviceRect{2, 3, 4, 5}), winplat::gdi::RegionOp::Diff));
    }
    RECT box{};
    EXPECT_EQ(GetClipBox(canvas.dc(), &box), COMPLEXREGION);
    EXPECT_EQ(box.right, 8);
    EXPECT_EQ(IntersectClipRect(canvas.dc(), 3, 0, 12, 10), COMPLEXREGION);
    EXPECT_EQ(drawnPixels(canvas), PixelSet::of(0, 0, 12, 10, [](int x, int y) {
                  return x >= 3 && x < 8 && !(x < 4 && y >= 3 && y < 5);
              }));
    OwnedRegion out(CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(GetClipRgn(canvas.dc(), out.get()), 1);
    OwnedRegion programs(CreateRectRgn(3, 0, 12, 10));
    EXPECT_TRUE(EqualRgn(out.get(), programs.get()));
}

}  // namespace
