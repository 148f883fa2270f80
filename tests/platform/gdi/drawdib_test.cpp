// The software video drawing service, the HALFTONE stretch mode and the fault hook.
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "canvas.h"
#include "winplat/draw.h"
#include "winplat/drawdib.h"
#include "winplat/gdi.h"
#include "winplat/testing.h"

namespace {

using namespace drawtest;
namespace wt = winplat::testing;

// A bottom-up 4 x 2 true-colour DIB, as pictures usually come.
struct Picture {
    dibtest::DibInfo info = dibtest::makeInfo(4, 2, 24);
    std::vector<uint8_t> bits = std::vector<uint8_t>(dibtest::imageSizeOf(info));
    explicit Picture(const std::vector<std::vector<Rgb>>& rows) {
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x) dibtest::writePixel(info, bits.data(), x, y, rows[y][x]);
    }
    LPBITMAPINFOHEADER header() { return &info.header; }
};

std::vector<Rgb> row(const Canvas& canvas, int y) {
    std::vector<Rgb> out;
    for (int x = 0; x < canvas.width(); ++x) out.push_back(canvas.at(x, y));
    return out;
}

const std::vector<std::vector<Rgb>> kBoxes = {
    {0x000000, 0x640000, 0x00C800, 0x000000},
    {0x320000, 0x1E0000, 0x000009, 0x000002},
};

TEST(DrawDib, DrawsLikeStretchDIBitsWithRowsFromTheTop) {
    Picture picture({{0x010101, 0x020202, 0x030303, 0x040404}, {0x050505, 0x060606, 0x070707, 0x080808}});
    Canvas canvas(8, 4, 24);
    canvas.fill(0xFFFFFF);
    HDRAWDIB dd = DrawDibOpen();
    ASSERT_TRUE(dd);
    EXPECT_TRUE(DrawDibBegin(dd, nullptr, 8, 4, picture.header(), 4, 2, DDF_HALFTONE | DDF_SAME_HDC));
    ASSERT_TRUE(DrawDibDraw(dd, canvas.dc(), 0, 0, 8, 4, picture.header(), picture.bits.data(), 0, 0, 4, 2,
                            DDF_SAME_HDC));
    EXPECT_EQ(row(canvas, 0), (std::vector<Rgb>{0x010101, 0x010101, 0x020202, 0x020202, 0x030303, 0x030303,
                                                0x040404, 0x040404}));
    EXPECT_EQ(row(canvas, 3), (std::vector<Rgb>{0x050505, 0x050505, 0x060606, 0x060606, 0x070707, 0x070707,
                                                0x080808, 0x080808}));

    // (1, 1) is the second row from the top, whatever the storage order.
    canvas.fill(0xFFFFFF);
    ASSERT_TRUE(
        DrawDibDraw(dd, canvas.dc(), 0, 0, 2, 1, picture.header(), picture.bits.data(), 1, 1, 2, 1, 0));
    EXPECT_EQ(canvas.at(0, 0), 0x060606u);
    EXPECT_EQ(canvas.at(1, 0), 0x070707u);
    EXPECT_EQ(canvas.at(2, 0), 0xFFFFFFu);

    // -1: the whole picture, at its own size.
    canvas.fill(0xFFFFFF);
    ASSERT_TRUE(
        DrawDibDraw(dd, canvas.dc(), 4, 2, -1, -1, picture.header(), picture.bits.data(), 0, 0, -1, -1, 0));
    EXPECT_EQ(canvas.at(4, 2), 0x010101u);
    EXPECT_EQ(canvas.at(7, 3), 0x080808u);
    EXPECT_EQ(canvas.at(3, 2), 0xFFFFFFu);

    // A source rectangle reaching past the picture draws only what the picture has.
    canvas.fill(0xFFFFFF);
    ASSERT_TRUE(
        DrawDibDraw(dd, canvas.dc(), 0, 0, 4, 2, picture.header(), picture.bits.data(), -2, 1, 4, 2, 0));
    EXPECT_EQ(row(canvas, 0), (std::vector<Rgb>{0xFFFFFF, 0xFFFFFF, 0x050505, 0x060606, 0xFFFFFF, 0xFFFFFF,
                                                0xFFFFFF, 0xFFFFFF}));
    EXPECT_EQ(canvas.at(2, 1), 0xFFFFFFu);
    EXPECT_TRUE(DrawDibEnd(dd));
    EXPECT_TRUE(DrawDibClose(dd));
    EXPECT_FALSE(DrawDibClose(dd));
    EXPECT_FALSE(
        DrawDibDraw(dd, canvas.dc(), 0, 0, 1, 1, picture.header(), picture.bits.data(), 0, 0, 1, 1, 0));
}

// Shrinking with DDF_HALFTONE averages each box of source pixels (rounded); without it the
// nearest rule picks one pixel of each box.
TEST(DrawDib, HalftoneAveragesBoxesWhenShrinking) {
    Picture picture(kBoxes);
    Canvas canvas(2, 1, 24);
    HDRAWDIB dd = DrawDibOpen();
    ASSERT_TRUE(DrawDibDraw(dd, canvas.dc(), 0, 0, 2, 1, picture.header(), picture.bits.data(), 0, 0, 4, 2,
                            DDF_HALFTONE));
    // (0 + 100 + 50 + 30) / 4 = 45 red; (200 + 0 + 0 + 0) / 4 = 50 green, (0 + 0 + 9 + 2) / 4 = 2.75 -> 3
    // blue.
    EXPECT_EQ(row(canvas, 0), (std::vector<Rgb>{0x2D0000, 0x003203}));
    ASSERT_TRUE(
        DrawDibDraw(dd, canvas.dc(), 0, 0, 2, 1, picture.header(), picture.bits.data(), 0, 0, 4, 2, 0));
    EXPECT_EQ(row(canvas, 0), (std::vector<Rgb>{0x1E0000, 0x000002}));
    // Enlarging samples the nearest pixel with or without it.
    Canvas large(8, 4, 24);
    ASSERT_TRUE(DrawDibDraw(dd, large.dc(), 0, 0, 8, 4, picture.header(), picture.bits.data(), 0, 0, 4, 2,
                            DDF_HALFTONE));
    EXPECT_EQ(large.at(3, 3), 0x1E0000u);
    EXPECT_EQ(large.at(4, 0), 0x00C800u);
    DrawDibClose(dd);
}

TEST(HalftoneMode, StretchBltAveragesTheSameBoxes) {
    Canvas source(4, 2, 24);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) source.set(x, y, kBoxes[y][x]);
    Canvas dest(2, 1, 24);
    SetStretchBltMode(dest.dc(), HALFTONE);
    ASSERT_TRUE(StretchBlt(dest.dc(), 0, 0, 2, 1, source.dc(), 0, 0, 4, 2, SRCCOPY));
    EXPECT_EQ(row(dest, 0), (std::vector<Rgb>{0x2D0000, 0x003203}));
    // Mirrored: the boxes swap places.
    ASSERT_TRUE(StretchBlt(dest.dc(), 2, 0, -2, 1, source.dc(), 0, 0, 4, 2, SRCCOPY));
    EXPECT_EQ(row(dest, 0), (std::vector<Rgb>{0x003203, 0x2D0000}));
    SetStretchBltMode(dest.dc(), COLORONCOLOR);
    ASSERT_TRUE(StretchBlt(dest.dc(), 0, 0, 2, 1, source.dc(), 0, 0, 4, 2, SRCCOPY));
    EXPECT_EQ(row(dest, 0), (std::vector<Rgb>{0x1E0000, 0x000002}));
}

// The start-up probe of the image library: a true-colour picture into an 8-bit bitmap.
TEST(DrawDib, TrueColourIntoAPaletteBitmapTakesNearestEntries) {
    Picture picture({{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}, {0x000000, 0xF00000, 0x00F000, 0x0000F0}});
    Canvas target(4, 2, 8, {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF});
    HDRAWDIB dd = DrawDibOpen();
    EXPECT_TRUE(DrawDibBegin(dd, nullptr, 4, 2, picture.header(), 4, 2, DDF_HALFTONE | DDF_SAME_HDC));
    ASSERT_TRUE(DrawDibDraw(dd, target.dc(), 0, 0, 4, 2, picture.header(), picture.bits.data(), 0, 0, 4, 2,
                            DDF_HALFTONE | DDF_SAME_HDC));
    std::vector<uint32_t> got;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) got.push_back(target.raw(x, y));
    EXPECT_EQ(got, (std::vector<uint32_t>{1, 2, 3, 4, 0, 1, 2, 3}));
    DrawDibClose(dd);
}

TEST(DrawDib, FailureHookMakesDrawThrow) {
    Picture picture(kBoxes);
    Canvas canvas(4, 2, 24);
    canvas.fill(0xFFFFFF);
    HDRAWDIB dd = DrawDibOpen();
    {
        wt::DrawDibFailure failure;
        EXPECT_THROW(
            DrawDibDraw(dd, canvas.dc(), 0, 0, 4, 2, picture.header(), picture.bits.data(), 0, 0, 4, 2, 0),
            std::runtime_error);
        EXPECT_EQ(canvas.at(1, 0), 0xFFFFFFu) << "nothing drawn";
        EXPECT_TRUE(DrawDibBegin(dd, nullptr, 4, 2, picture.header(), 4, 2, 0)) << "only drawing faults";
    }
    EXPECT_TRUE(
        DrawDibDraw(dd, canvas.dc(), 0, 0, 4, 2, picture.header(), picture.bits.data(), 0, 0, 4, 2, 0));
    EXPECT_EQ(canvas.at(1, 0), 0x640000u);
    DrawDibClose(dd);
}

TEST(DrawDib, BeginChecksItsArguments) {
    winplat::testing::ScopedDebugAsserts off(false);  // a compressed DIB is unsupported
    Picture picture(kBoxes);
    HDRAWDIB dd = DrawDibOpen();
    EXPECT_TRUE(DrawDibBegin(dd, nullptr, 4, 2, nullptr, 4, 2, 0));
    dibtest::DibInfo damaged = dibtest::makeInfo(4, 2, 7);
    EXPECT_FALSE(DrawDibBegin(dd, nullptr, 4, 2, &damaged.header, 4, 2, 0));
    dibtest::DibInfo rle = dibtest::makeInfo(4, 2, 8, BI_RLE8);
    EXPECT_FALSE(DrawDibBegin(dd, nullptr, 4, 2, &rle.header, 4, 2, 0));
    EXPECT_FALSE(DrawDibBegin(dd, reinterpret_cast<HDC>(uintptr_t{0x42}), 4, 2, picture.header(), 4, 2, 0));
    DrawDibClose(dd);
    EXPECT_FALSE(DrawDibBegin(dd, nullptr, 4, 2, picture.header(), 4, 2, 0));
    EXPECT_FALSE(DrawDibEnd(dd));
}

TEST(DrawDib, RealizeSelectsAndRealisesItsPalette) {
    struct {
        LOGPALETTE head;
        PALETTEENTRY more[1];
    } log{{0x300, 2, {{1, 2, 3, 0}}}, {{4, 5, 6, 0}}};
    HPALETTE palette = CreatePalette(&log.head);
    HDRAWDIB dd = DrawDibOpen();
    HDC screen8 = wt::createDisplayDc(2, 2, 8);
    HDC screen32 = wt::createDisplayDc(2, 2, 32);
    EXPECT_EQ(DrawDibRealize(dd, screen8, FALSE), 0u) << "no palette set";
    EXPECT_TRUE(DrawDibSetPalette(dd, palette));
    EXPECT_EQ(DrawDibRealize(dd, screen8, FALSE), 2u);
    EXPECT_EQ(GetCurrentObject(screen8, OBJ_PAL), palette);
    EXPECT_EQ(DrawDibRealize(dd, screen32, FALSE), 0u);
    EXPECT_FALSE(DrawDibSetPalette(dd, reinterpret_cast<HPALETTE>(uintptr_t{0x99})));
    DeleteDC(screen8);
    DeleteDC(screen32);
    DrawDibClose(dd);
    EXPECT_TRUE(DeleteObject(palette));
}

}  // namespace
