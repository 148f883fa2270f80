// Device contexts: kinds and their capabilities, state, objects, SaveDC, clipping, palettes on
// 8-bit screens, and the drawing recorder.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "canvas.h"
#include "winplat/base.h"
#include "winplat/draw.h"
#include "winplat/drawdib.h"
#include "winplat/gdi.h"
#include "winplat/testing.h"

namespace {

using namespace drawtest;
namespace wt = winplat::testing;

struct CapsCase {
    const char* name;
    HDC (*make)();
    // TECHNOLOGY, HORZRES, VERTRES, BITSPIXEL, PLANES, LOGPIXELSX, LOGPIXELSY, HORZSIZE, VERTSIZE,
    // NUMCOLORS, SIZEPALETTE, RC_PALETTE set, PHYSICALWIDTH, PHYSICALHEIGHT, PHYSICALOFFSETX, -Y
    std::vector<int> expected;
};

const int kCapsIndices[] = {TECHNOLOGY,    HORZRES,        VERTRES,         BITSPIXEL,
                            PLANES,        LOGPIXELSX,     LOGPIXELSY,      HORZSIZE,
                            VERTSIZE,      NUMCOLORS,      SIZEPALETTE,     RASTERCAPS,
                            PHYSICALWIDTH, PHYSICALHEIGHT, PHYSICALOFFSETX, PHYSICALOFFSETY};

// Millimetres worked out by hand: 1024 px at 96 dpi = 270.9 mm, 2480 px at 300 dpi = 210.0 mm.
const CapsCase kCaps[] = {
    {"the screen",
     [] { return GetDC(nullptr); },
     {DT_RASDISPLAY, 1024, 768, 32, 1, 96, 96, 271, 203, -1, 0, 0, 0, 0, 0, 0}},
    {"an 8-bit display",
     [] { return wt::createDisplayDc(640, 480, 8); },
     {DT_RASDISPLAY, 640, 480, 8, 1, 96, 96, 169, 127, 256, 256, 1, 0, 0, 0, 0}},
    {"a 16-bit display",
     [] { return wt::createDisplayDc(800, 600, 16); },
     {DT_RASDISPLAY, 800, 600, 16, 1, 96, 96, 212, 159, -1, 0, 0, 0, 0, 0, 0}},
    {"an A4 printer page",
     [] { return wt::createPrinterDc(2480, 3508, 300); },
     {DT_RASPRINTER, 2480, 3508, 24, 1, 300, 300, 210, 297, -1, 0, 0, 2480, 3508, 0, 0}},
    {"a memory DC",
     [] { return CreateCompatibleDC(nullptr); },
     {DT_RASDISPLAY, 1024, 768, 32, 1, 96, 96, 271, 203, -1, 0, 0, 0, 0, 0, 0}},
    {"a memory DC of a printer",
     [] {
         HDC printer = wt::createPrinterDc(1200, 600, 600);
         HDC memory = CreateCompatibleDC(printer);
         DeleteDC(printer);
         return memory;
     },
     {DT_RASPRINTER, 1200, 600, 24, 1, 600, 600, 51, 25, -1, 0, 0, 1200, 600, 0, 0}},
    {"a metafile",
     [] { return wt::createMetafileDc(); },
     {DT_METAFILE, 1024, 768, 32, 1, 96, 96, 271, 203, -1, 0, 0, 0, 0, 0, 0}},
};

TEST(DeviceCaps, PerKind) {
    for (const CapsCase& c : kCaps) {
        SCOPED_TRACE(c.name);
        HDC dc = c.make();
        ASSERT_TRUE(dc);
        std::vector<int> got;
        for (int index : kCapsIndices) {
            const int value = GetDeviceCaps(dc, index);
            got.push_back(index == RASTERCAPS ? (value & RC_PALETTE ? 1 : 0) : value);
        }
        EXPECT_EQ(got, c.expected);
        const int raster = GetDeviceCaps(dc, RASTERCAPS);
        EXPECT_EQ(raster & (RC_BITBLT | RC_STRETCHBLT | RC_STRETCHDIB | RC_DIBTODEV),
                  RC_BITBLT | RC_STRETCHBLT | RC_STRETCHDIB | RC_DIBTODEV);
        if (!ReleaseDC(nullptr, dc)) DeleteDC(dc);
    }
    EXPECT_EQ(GetDeviceCaps(nullptr, TECHNOLOGY), 0);
}

TEST(DcKinds, ScreenDcsShareTheScreen) {
    HDC first = GetDC(nullptr);
    HDC second = GetDC(nullptr);
    ASSERT_TRUE(first && second);
    const COLORREF old = GetPixel(first, 5, 7);
    EXPECT_EQ(SetPixel(first, 5, 7, RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(second, 5, 7), RGB(1, 2, 3));
    SetPixel(second, 5, 7, old);
    winplat::testing::ScopedDebugAsserts off(false);  // window DCs are not supported yet
    EXPECT_EQ(GetDC(reinterpret_cast<HWND>(uintptr_t{0x1234})), nullptr) << "windows come later";
    EXPECT_EQ(ReleaseDC(nullptr, first), 1);
    EXPECT_EQ(GetPixel(first, 0, 0), CLR_INVALID) << "released";
    HDC memory = CreateCompatibleDC(nullptr);
    EXPECT_EQ(ReleaseDC(nullptr, memory), 0) << "not from GetDC";
    EXPECT_TRUE(DeleteDC(memory));
    EXPECT_EQ(ReleaseDC(nullptr, second), 1);
}

TEST(DcKinds, DeviceSurfacesBelongToTheirDc) {
    HDC display = wt::createDisplayDc(8, 8, 24);
    ASSERT_TRUE(display);
    HBITMAP surface = wt::surfaceOf(display);
    ASSERT_TRUE(surface);
    EXPECT_FALSE(DeleteObject(surface)) << "the DC owns it";
    HDC memory = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(memory, surface), nullptr) << "a device's surface goes into no other DC";
    Canvas canvas(2, 2, 24);
    EXPECT_EQ(SelectObject(display, canvas.bitmap()), nullptr) << "a display DC takes no bitmap";
    EXPECT_EQ(GetCurrentObject(display, OBJ_BITMAP), surface);

    BITMAP info{};
    ASSERT_EQ(GetObjectA(surface, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 8);
    EXPECT_EQ(info.bmBitsPixel, 24);
    HDC printer = wt::createPrinterDc(3, 2, 150);
    EXPECT_EQ(GetPixel(printer, 2, 1), RGB(255, 255, 255)) << "blank paper";
    EXPECT_TRUE(DeleteDC(display));
    EXPECT_EQ(GetObjectA(surface, sizeof info, &info), 0) << "gone with its DC";
    EXPECT_TRUE(DeleteDC(printer));
    DeleteDC(memory);
    EXPECT_EQ(wt::createDisplayDc(8, 8, 7), nullptr);
    EXPECT_EQ(wt::createPrinterDc(8, 8, 0), nullptr);
}

TEST(Objects, FreshDcsHoldTheStockObjects) {
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL), GetStockObject(DEFAULT_PALETTE));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    EXPECT_EQ(GetStretchBltMode(dc), BLACKONWHITE);
    EXPECT_EQ(GetROP2(dc), R2_COPYPEN);
    DeleteDC(dc);

    EXPECT_EQ(GetStockObject(NULL_BRUSH), GetStockObject(HOLLOW_BRUSH));
    winplat::testing::ScopedDebugAsserts off(false);  // an unknown stock object
    EXPECT_EQ(GetStockObject(9), nullptr) << "no stock object there yet";
    EXPECT_EQ(GetPaletteEntries(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), 0, 0, nullptr), 20u);
    PALETTEENTRY last{};
    GetPaletteEntries(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), 19, 1, &last);
    EXPECT_EQ(RGB(last.peRed, last.peGreen, last.peBlue), RGB(255, 255, 255));
}

TEST(Objects, StockBrushColours) {
    Canvas canvas(6, 1, 24);
    const std::pair<int, Rgb> brushes[] = {{WHITE_BRUSH, 0xFFFFFF},
                                           {LTGRAY_BRUSH, 0xC0C0C0},
                                           {GRAY_BRUSH, 0x808080},
                                           {DKGRAY_BRUSH, 0x404040},
                                           {BLACK_BRUSH, 0x000000}};
    for (size_t i = 0; i < std::size(brushes); ++i) {
        const RECT r{static_cast<LONG>(i), 0, static_cast<LONG>(i + 1), 1};
        FillRect(canvas.dc(), &r, static_cast<HBRUSH>(GetStockObject(brushes[i].first)));
        EXPECT_EQ(canvas.at(static_cast<int>(i), 0), brushes[i].second) << i;
    }
    canvas.set(5, 0, 0x123456);
    const RECT last{5, 0, 6, 1};
    FillRect(canvas.dc(), &last, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
    EXPECT_EQ(canvas.at(5, 0), 0x123456u) << "the null brush paints nothing";
}

TEST(Objects, SelectionAndDeletion) {
    HDC dc = CreateCompatibleDC(nullptr);
    HPEN pen = CreatePen(PS_DASH, 1, RGB(1, 2, 3));
    HBRUSH brush = CreateHatchBrush(HS_CROSS, RGB(4, 5, 6));
    EXPECT_EQ(SelectObject(dc, pen), GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(dc, brush), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
    EXPECT_FALSE(DeleteObject(pen)) << "selected";
    EXPECT_FALSE(DeleteObject(brush)) << "selected";
    EXPECT_EQ(SelectObject(dc, GetStockObject(NULL_PEN)), pen);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_FALSE(DeleteObject(pen)) << "already gone";
    EXPECT_EQ(SelectObject(dc, pen), nullptr) << "a deleted pen";
    EXPECT_TRUE(DeleteObject(GetStockObject(NULL_PEN))) << "stock objects ignore DeleteObject";
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(NULL_PEN));

    LOGPALETTE log{0x300, 1, {{1, 2, 3, 0}}};
    HPALETTE palette = CreatePalette(&log);
    EXPECT_EQ(SelectPalette(dc, palette, FALSE), GetStockObject(DEFAULT_PALETTE));
    EXPECT_FALSE(DeleteObject(palette)) << "selected";
    // Held by a saved level, an object stays undeletable until that level is gone.
    const int level = SaveDC(dc);
    SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    EXPECT_FALSE(DeleteObject(palette));
    EXPECT_FALSE(DeleteObject(brush));
    EXPECT_TRUE(RestoreDC(dc, level));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL), palette);
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_TRUE(DeleteObject(palette)) << "free once the DC is gone";
    EXPECT_TRUE(DeleteObject(brush));
    winplat::testing::ScopedDebugAsserts off(false);  // an unknown pen style
    EXPECT_EQ(CreatePen(9, 1, 0), nullptr);
}

TEST(State, SaveAndRestoreLevels) {
    Canvas canvas(10, 10, 24);
    HDC dc = canvas.dc();
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(9, 9, 9));
    SetTextColor(dc, RGB(1, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    MoveToEx(dc, 3, 4, nullptr);
    const int first = SaveDC(dc);
    EXPECT_EQ(first, 1);
    SetTextColor(dc, RGB(2, 0, 0));
    SetBkColor(dc, RGB(0, 2, 0));
    SetBkMode(dc, OPAQUE);
    SetStretchBltMode(dc, HALFTONE);
    SetROP2(dc, R2_XORPEN);
    SelectObject(dc, pen);
    IntersectClipRect(dc, 1, 1, 5, 5);
    MoveToEx(dc, 7, 8, nullptr);
    EXPECT_EQ(SaveDC(dc), 2);
    SetTextColor(dc, RGB(3, 0, 0));
    EXPECT_EQ(SaveDC(dc), 3);
    SetTextColor(dc, RGB(4, 0, 0));

    EXPECT_TRUE(RestoreDC(dc, -1));
    EXPECT_EQ(GetTextColor(dc), RGB(3, 0, 0));
    EXPECT_FALSE(RestoreDC(dc, 3)) << "level 3 is gone";
    EXPECT_FALSE(RestoreDC(dc, 0));
    EXPECT_TRUE(RestoreDC(dc, 2));
    EXPECT_EQ(GetTextColor(dc), RGB(2, 0, 0));
    RECT box{};
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 1);
    EXPECT_EQ(box.right, 5);
    EXPECT_TRUE(RestoreDC(dc, first));
    EXPECT_EQ(GetTextColor(dc), RGB(1, 0, 0));
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    EXPECT_EQ(GetStretchBltMode(dc), BLACKONWHITE);
    EXPECT_EQ(GetROP2(dc), R2_COPYPEN);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 10) << "the clip rectangle went with the level";
    POINT at{};
    MoveToEx(dc, 0, 0, &at);
    EXPECT_EQ(at.x, 3);
    EXPECT_EQ(at.y, 4);
    EXPECT_FALSE(RestoreDC(dc, -1)) << "nothing saved any more";
    EXPECT_TRUE(DeleteObject(pen));
}

TEST(State, RestoreBringsBackTheSavedBitmap) {
    Canvas a(2, 2, 24);
    HBITMAP b = CreateCompatibleBitmap(a.dc(), 3, 3);
    const int level = SaveDC(a.dc());
    HGDIOBJ previous = SelectObject(a.dc(), b);
    EXPECT_EQ(previous, a.bitmap());
    EXPECT_TRUE(RestoreDC(a.dc(), level));
    EXPECT_EQ(GetCurrentObject(a.dc(), OBJ_BITMAP), a.bitmap());
    EXPECT_TRUE(DeleteObject(b)) << "no longer selected";
}

TEST(State, ModesRefuseUnknownValues) {
    winplat::testing::ScopedDebugAsserts off(false);  // probes unknown modes
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SetBkMode(dc, 3), 0);
    EXPECT_EQ(SetStretchBltMode(dc, 5), 0);
    EXPECT_EQ(SetStretchBltMode(dc, COLORONCOLOR), BLACKONWHITE);
    EXPECT_EQ(SetStretchBltMode(dc, STRETCH_HALFTONE), COLORONCOLOR);
    EXPECT_EQ(SetTextColor(nullptr, 0), CLR_INVALID);
    DeleteDC(dc);
}

TEST(Clipping, IntersectAndBox) {
    Canvas canvas(20, 10, 24);
    HDC dc = canvas.dc();
    RECT box{};
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    EXPECT_EQ((std::vector<LONG>{box.left, box.top, box.right, box.bottom}),
              (std::vector<LONG>{0, 0, 20, 10}));
    EXPECT_EQ(IntersectClipRect(dc, -5, 2, 12, 40), SIMPLEREGION);
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    EXPECT_EQ((std::vector<LONG>{box.left, box.top, box.right, box.bottom}),
              (std::vector<LONG>{0, 2, 12, 10}));
    EXPECT_EQ(IntersectClipRect(dc, 4, 0, 30, 5), SIMPLEREGION);
    GetClipBox(dc, &box);
    EXPECT_EQ((std::vector<LONG>{box.left, box.top, box.right, box.bottom}),
              (std::vector<LONG>{4, 2, 12, 5}));
    EXPECT_EQ(IntersectClipRect(dc, 13, 0, 20, 10), NULLREGION);
    EXPECT_EQ(GetClipBox(dc, &box), NULLREGION);
    canvas.fill(0x123456);
    PatBlt(dc, 0, 0, 20, 10, BLACKNESS);
    EXPECT_EQ(canvas.at(5, 3), 0x123456u) << "nothing is drawn through an empty clip";
    EXPECT_EQ(GetClipBox(dc, nullptr), ERROR);
}

// An 8-bit screen: realising a palette makes it the surface's colour table, and what is on the
// screen changes colour with it.
TEST(Palettes, RealisedOnAnEightBitDisplay) {
    HDC screen = wt::createDisplayDc(4, 2, 8);
    ASSERT_TRUE(screen);
    EXPECT_EQ(SetPixel(screen, 0, 0, RGB(0, 0, 0)), RGB(0, 0, 0));
    EXPECT_EQ(SetPixel(screen, 1, 0, RGB(255, 255, 255)), RGB(255, 255, 255));
    dibtest::DibInfo info = dibtest::makeInfo(4, 2, 8);
    std::vector<uint8_t> bits(8 * 2);
    ASSERT_EQ(GetDIBits(screen, wt::surfaceOf(screen), 0, 2, bits.data(), info.info(), DIB_RGB_COLORS), 2);
    EXPECT_EQ(bits[4], 0) << "black is index 0";
    EXPECT_EQ(bits[5], 255) << "white is index 255";
    EXPECT_EQ(dibtest::rgbOf(info.colors[9]), 0xA6CAF0u) << "the tenth system colour";

    struct {
        LOGPALETTE head;
        PALETTEENTRY more[2];
    } log{{0x300, 3, {{10, 20, 30, 0}}}, {{40, 50, 60, 0}, {255, 0, 0, 0}}};
    HPALETTE palette = CreatePalette(&log.head);
    EXPECT_EQ(SelectPalette(screen, palette, FALSE), GetStockObject(DEFAULT_PALETTE));
    EXPECT_EQ(RealizePalette(screen), 3u);
    ASSERT_EQ(GetDIBits(screen, wt::surfaceOf(screen), 0, 2, bits.data(), info.info(), DIB_RGB_COLORS), 2);
    EXPECT_EQ(dibtest::rgbOf(info.colors[0]), 0x0A141Eu);
    EXPECT_EQ(dibtest::rgbOf(info.colors[1]), 0x28323Cu);
    EXPECT_EQ(dibtest::rgbOf(info.colors[2]), 0xFF0000u);
    EXPECT_EQ(dibtest::rgbOf(info.colors[3]), 0x808000u) << "entries past the palette stay";
    EXPECT_EQ(GetPixel(screen, 0, 0), RGB(10, 20, 30)) << "index 0 now shows the palette's first colour";
    EXPECT_EQ(SetPixel(screen, 2, 0, RGB(41, 49, 60)), RGB(40, 50, 60));
    EXPECT_TRUE(UnrealizeObject(palette));
    EXPECT_FALSE(UnrealizeObject(GetStockObject(BLACK_PEN)));
    EXPECT_FALSE(DeleteObject(palette)) << "selected";
    SelectPalette(screen, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
    EXPECT_TRUE(DeleteObject(palette));
    DeleteDC(screen);
}

TEST(Palettes, OtherDevicesRealiseNothing) {
    LOGPALETTE log{0x300, 1, {{1, 2, 3, 0}}};
    HPALETTE palette = CreatePalette(&log);
    Canvas eightBitBitmap(2, 2, 8, {0x000000, 0xFFFFFF});
    HDC screen = GetDC(nullptr);
    HDC printer = wt::createPrinterDc(2, 2, 300);
    for (HDC dc : {screen, printer, eightBitBitmap.dc()}) {
        HPALETTE old = SelectPalette(dc, palette, TRUE);
        EXPECT_EQ(RealizePalette(dc), 0u);
        SelectPalette(dc, old, TRUE);
    }
    RGBQUAD table[2]{};
    EXPECT_EQ(GetDIBColorTable(eightBitBitmap.dc(), 0, 2, table), 2u);
    EXPECT_EQ(dibtest::rgbOf(table[1]), 0xFFFFFFu) << "a DIB section's table is its own";
    ReleaseDC(nullptr, screen);
    DeleteDC(printer);
    EXPECT_TRUE(DeleteObject(palette));
}

TEST(Metafiles, DrawNothingAndRecordEverything) {
    HDC metafile = wt::createMetafileDc();
    ASSERT_TRUE(metafile);
    Canvas source(4, 4, 24);
    dibtest::DibInfo info = dibtest::makeInfo(4, 4, 24);
    std::vector<uint8_t> bits(dibtest::imageSizeOf(info));
    wt::DrawingRecorder recorder(metafile);
    EXPECT_TRUE(BitBlt(metafile, 1, 2, 3, 4, source.dc(), 0, 1, SRCCOPY));
    EXPECT_TRUE(StretchBlt(metafile, 0, 0, 100, 100, source.dc(), 0, 0, 10, 10, SRCCOPY));
    EXPECT_TRUE(PatBlt(metafile, 0, 0, 5, 6, PATINVERT));
    EXPECT_EQ(
        StretchDIBits(metafile, 0, 0, 8, 8, 0, 0, 4, 4, bits.data(), info.info(), DIB_RGB_COLORS, SRCAND), 4);
    EXPECT_EQ(
        StretchDIBits(metafile, 0, 0, 8, 8, 0, 0, 4, 4, bits.data(), info.info(), DIB_RGB_COLORS, 0x00E20746),
        4);
    EXPECT_TRUE(Rectangle(metafile, 1, 1, 5, 5));
    const RECT r{0, 0, 2, 2};
    EXPECT_TRUE(FillRect(metafile, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
    HDRAWDIB drawDib = DrawDibOpen();
    EXPECT_TRUE(DrawDibDraw(drawDib, metafile, 0, 0, 50, 50, &info.header, bits.data(), 0, 0, 30, 30, 0));
    DrawDibClose(drawDib);
    EXPECT_EQ(recorder.calls(), (std::vector<std::string>{
                                    "BitBlt 1 2 3 4 <- 0 1 SRCCOPY",
                                    "StretchBlt 0 0 100 100 <- 0 0 10 10 SRCCOPY",
                                    "PatBlt 0 0 5 6 PATINVERT",
                                    "StretchDIBits 0 0 8 8 <- 0 0 4 4 SRCAND",
                                    "StretchDIBits 0 0 8 8 <- 0 0 4 4 0x00E20746",
                                    "Rectangle 1 1 5 5",
                                    "FillRect 0 0 2 2",
                                    "DrawDibDraw 0 0 50 50 <- 0 0 30 30",
                                }));
    EXPECT_EQ(recorder.count("StretchDIBits"), 2u);
    EXPECT_EQ(recorder.count("Stretch"), 0u) << "whole names only";
    EXPECT_EQ(wt::surfaceOf(metafile), nullptr);
    EXPECT_EQ(GetPixel(metafile, 0, 0), CLR_INVALID);
    EXPECT_EQ(GetCurrentObject(metafile, OBJ_BITMAP), nullptr);
    EXPECT_FALSE(BitBlt(metafile, 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY)) << "refused calls are not recorded";
    EXPECT_EQ(recorder.calls().size(), 8u);
    DeleteDC(metafile);
    EXPECT_EQ(recorder.calls().size(), 8u) << "still readable after the DC is gone";
}

TEST(Recorder, WatchesOneDcWhileItLives) {
    Canvas canvas(4, 4, 24);
    Canvas other(4, 4, 24);
    {
        wt::DrawingRecorder recorder(canvas.dc());
        PatBlt(other.dc(), 0, 0, 1, 1, BLACKNESS);
        PatBlt(canvas.dc(), 0, 0, 4, 4, BLACKNESS);
        EXPECT_EQ(canvas.at(3, 3), 0u) << "a recorded DC still draws";
        EXPECT_EQ(recorder.calls(), std::vector<std::string>{"PatBlt 0 0 4 4 BLACKNESS"});
    }
    wt::DrawingRecorder fresh(canvas.dc());
    EXPECT_TRUE(fresh.calls().empty()) << "a new recorder starts empty";
    PatBlt(canvas.dc(), -1, -2, -3, -4, DSTINVERT);
    EXPECT_EQ(fresh.calls(), std::vector<std::string>{"PatBlt -1 -2 -3 -4 DSTINVERT"}) << "calls as made";
}

}  // namespace
