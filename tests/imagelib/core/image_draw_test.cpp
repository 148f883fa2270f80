// Drawing images on device contexts: routes, tiles, placeholder, printer rules, zoom and plates,
// seen through the calls the layer records and through the pixels.
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "../pixmill_fixture.h"
#include "winplat/drawdib.h"

namespace {

using winplat::testing::DrawingRecorder;

struct DcDeleter {
    void operator()(HDC__* dc) const { DeleteDC(dc); }
};
using Dc = std::unique_ptr<HDC__, DcDeleter>;

Dc display(int bits, int width = 200, int height = 200) {
    return Dc(winplat::testing::createDisplayDc(width, height, bits));
}
Dc printer(int width = 600, int height = 600) { return Dc(winplat::testing::createPrinterDc(width, height, 300)); }

// The calls of one kind, split into their numbers.
std::vector<std::vector<long>> numbersOf(const DrawingRecorder& recorder, const std::string& call) {
    std::vector<std::vector<long>> result;
    for (const std::string& line : recorder.calls()) {
        if (line.rfind(call + " ", 0) != 0) continue;
        std::istringstream words(line.substr(call.size()));
        std::vector<long> numbers;
        std::string word;
        while (words >> word) {
            char* end = nullptr;
            const long value = std::strtol(word.c_str(), &end, 10);
            if (end && *end == '\0') numbers.push_back(value);
        }
        result.push_back(numbers);
    }
    return result;
}

// The colour at (x, y) of what a DC shows.
COLORREF pixelAt(HDC dc, int x, int y) { return GetPixel(dc, x, y); }

class ImageDraw : public PixmillTest {
protected:
    static PxlImageId quadrants() {
        // 2 x 2, 24 bits: top-left red, top-right green, bottom-left blue, bottom-right white.
        const PxlImageId id = PXLCreateImage(2, 2, 24);
        uint8_t* bits = PXLGetBits(id);
        const int stride = PXLGetScanBytes(id);
        const uint8_t bottom[] = {255, 0, 0, 255, 255, 255};
        const uint8_t top[] = {0, 0, 255, 0, 255, 0};
        std::memcpy(bits, bottom, sizeof bottom);
        std::memcpy(bits + stride, top, sizeof top);
        return id;
    }
};

TEST_F(ImageDraw, TwoByTwoStretchedToFourByFourDuplicatesPixels) {
    const PxlImageId id = quadrants();
    Dc dc = display(32, 8, 8);
    ASSERT_EQ(PXLStretchBlt(dc.get(), 0, 0, 4, 4, id, 0, 0, 4, 4, PXL_DRAW_WHOLE, SRCCOPY), 1);
    const COLORREF expected[4][4] = {
        {RGB(255, 0, 0), RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 255, 0)},
        {RGB(255, 0, 0), RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 255, 0)},
        {RGB(0, 0, 255), RGB(0, 0, 255), RGB(255, 255, 255), RGB(255, 255, 255)},
        {RGB(0, 0, 255), RGB(0, 0, 255), RGB(255, 255, 255), RGB(255, 255, 255)},
    };
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(pixelAt(dc.get(), x, y), expected[y][x]) << x << "," << y;
}

TEST_F(ImageDraw, ARotatedImageOnADisplayGetsOnlyThePlaceholder) {
    const PxlImageId id = quadrants();
    pixmill::lockImage(id, pixmill::Access::Write)->rotateAngle = 90;
    Dc dc = display(32);
    DrawingRecorder recorder(dc.get());
    EXPECT_EQ(PXLStretchBlt(dc.get(), 10, 10, 50, 50, id, 0, 0, 200, 200, PXL_DRAW_WHOLE, SRCCOPY), 1);
    EXPECT_EQ(recorder.count("StretchBlt") + recorder.count("StretchDIBits") + recorder.count("DrawDibDraw"), 0u);
    EXPECT_EQ(recorder.count("FillRect"), 1u);
    EXPECT_EQ(recorder.count("Rectangle"), 1u);
    EXPECT_EQ(pixelAt(dc.get(), 10, 30), RGB(0, 0, 0)) << "the black outline";
}

TEST_F(ImageDraw, PrintersDrawSmallPicturesWholeEvenInPlaceholderMode) {
    const PxlImageId small = quadrants();
    Dc page = printer();
    {
        DrawingRecorder recorder(page.get());
        EXPECT_EQ(PXLStretchBlt(page.get(), 0, 0, 20, 20, small, 0, 0, 600, 600, PXL_DRAW_PLACEHOLDER, SRCCOPY), 1);
        EXPECT_EQ(recorder.count("StretchDIBits"), 1u);
        EXPECT_EQ(recorder.count("Rectangle"), 0u);
    }
    {
        DrawingRecorder recorder(page.get());
        // Stretched 16 times: too much for one call, so the caller's mode (the placeholder) stands.
        EXPECT_EQ(PXLStretchBlt(page.get(), 0, 0, 32, 32, small, 0, 0, 600, 600, PXL_DRAW_PLACEHOLDER, SRCCOPY), 1);
        EXPECT_EQ(recorder.count("StretchDIBits"), 0u);
        EXPECT_EQ(recorder.count("Rectangle"), 1u);
    }
}

TEST_F(ImageDraw, AnEmptyDestinationOnAPrinterDrawsNothingAndLeavesTheImageFree) {
    const PxlImageId id = quadrants();
    Dc page = printer();
    EXPECT_EQ(PXLStretchBlt(page.get(), 5, 5, 5, 40, id, 0, 0, 600, 600, PXL_DRAW_WHOLE, SRCCOPY), 0);
    EXPECT_TRUE(pixmill::lockImage(id, pixmill::Access::Write));
    EXPECT_EQ(PXLStretchBlt(page.get(), 0, 0, 10, 10, 0, 0, 0, 600, 600, PXL_DRAW_WHOLE, SRCCOPY), 0);
    EXPECT_EQ(PXLStretchBlt(page.get(), 0, 0, 10, 10, 77, 0, 0, 600, 600, PXL_DRAW_WHOLE, SRCCOPY), 0);
}

TEST_F(ImageDraw, TilesAreDrawnOnlyWhereTheClipNeedsThem) {
    const PxlImageId id = PXLCreateImage(10, 10, 24);
    Dc screen = display(32, 2000, 2000);
    {
        DrawingRecorder recorder(screen.get());
        EXPECT_EQ(PXLStretchBlt(screen.get(), 0, 0, 5000, 5000, id, 0, 0, 1000, 1000, PXL_DRAW_TILED, SRCCOPY), 1);
        EXPECT_EQ(recorder.count("StretchBlt"), 9u) << "tiles of 500: 3 x 3 meet the clip, edges included";
    }
    Dc page = printer(2000, 2000);
    {
        DrawingRecorder recorder(page.get());
        // A 10 x 10 picture stretched 500 times is beyond whole drawing on a printer: tiles of 1000.
        EXPECT_EQ(PXLStretchBlt(page.get(), 0, 0, 5000, 5000, id, 0, 0, 1000, 1000, PXL_DRAW_TILED, SRCCOPY), 1);
        EXPECT_EQ(recorder.count("StretchDIBits"), 4u);
    }
}

TEST_F(ImageDraw, AMetafileAlwaysGetsOneWholeCall) {
    const PxlImageId id = PXLCreateImage(10, 10, 24);
    Dc metafile(winplat::testing::createMetafileDc());
    DrawingRecorder recorder(metafile.get());
    PXLStretchBlt(metafile.get(), 0, 0, 5000, 5000, id, 0, 0, 1000, 1000, PXL_DRAW_TILED, SRCCOPY);
    EXPECT_EQ(recorder.count("StretchDIBits"), 1u);
    EXPECT_EQ(recorder.count("StretchBlt"), 0u);
}

TEST_F(ImageDraw, TheVideoRouteOnlyOnEightBitDisplaysWithSourceCopy) {
    ASSERT_EQ(PXLUseVFW(), 1);
    const PxlImageId id = quadrants();
    const struct {
        int bits;
        DWORD rop;
        int16_t mode;
        bool videoRoute;
    } cases[] = {
        {8, SRCCOPY, PXL_DRAW_WHOLE, true},
        {8, SRCAND, PXL_DRAW_WHOLE, false},
        {8, SRCCOPY, PXL_DRAW_TILED_GDI, false},
        {32, SRCCOPY, PXL_DRAW_WHOLE, false},
        {24, SRCCOPY, PXL_DRAW_WHOLE, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bits);
        Dc dc = display(c.bits);
        DrawingRecorder recorder(dc.get());
        EXPECT_EQ(PXLStretchBlt(dc.get(), 0, 0, 40, 40, id, 0, 0, 200, 200, c.mode, c.rop), 1);
        EXPECT_EQ(recorder.count("DrawDibDraw") > 0, c.videoRoute);
        EXPECT_EQ(recorder.count("StretchBlt") > 0, !c.videoRoute);
    }
}

TEST_F(ImageDraw, TheSourceOriginIsHonoured) {
    const PxlImageId id = quadrants();
    Dc dc = display(32, 8, 8);
    ASSERT_EQ(PXLBitmapDrawVFW(id, PXLGetBitmapInfoHeader(id), PXLGetBits(id), dc.get(), 0, 0, 2, 2, 1, 1, 2, 2, 0,
                               0, 8, 8, PXL_DRAW_WHOLE, SRCCOPY, PXLGetBitmap(id)),
              1);
    EXPECT_EQ(pixelAt(dc.get(), 0, 0), RGB(255, 255, 255)) << "source (1, 1) is the bottom-right pixel";
    EXPECT_EQ(pixelAt(dc.get(), 1, 1), RGB(255, 255, 255));
    ASSERT_EQ(PXLBitmapDrawVFW(id, PXLGetBitmapInfoHeader(id), PXLGetBits(id), dc.get(), 4, 4, 6, 6, 1, 0, 2, 1, 0,
                               0, 8, 8, PXL_DRAW_WHOLE, SRCCOPY, nullptr),
              1) << "the DIB route too";
    EXPECT_EQ(pixelAt(dc.get(), 4, 4), RGB(0, 255, 0)) << "source (1, 0) is the top-right pixel";
}

TEST_F(ImageDraw, WholeDrawingAlignsButNeverReadsBeforeThePixels) {
    const PxlImageId id = PXLCreateImage(64, 16, 8);
    Dc dc = display(8, 100, 100);
    HDC source = CreateCompatibleDC(dc.get());
    SelectObject(source, PXLGetBitmap(id));
    {
        DrawingRecorder recorder(dc.get());
        ASSERT_EQ(PXLBitmapDrawVFWWhole(PXLGetBitmapInfoHeader(id), PXLGetBits(id), dc.get(), 13, 0, 40, 8, 10, 0,
                                        source),
                  1);
        const auto draws = numbersOf(recorder, "DrawDibDraw");
        ASSERT_EQ(draws.size(), 1u);
        EXPECT_EQ(draws[0][0], 8) << "the destination starts at the 8-pixel boundary";
        EXPECT_EQ(draws[0][4], 5) << "with the source moved 5 pixels left";
    }
    {
        DrawingRecorder recorder(dc.get());
        ASSERT_EQ(PXLBitmapDrawVFWWhole(PXLGetBitmapInfoHeader(id), PXLGetBits(id), dc.get(), 13, 0, 40, 8, 0, 0,
                                        source),
                  1);
        const auto draws = numbersOf(recorder, "DrawDibDraw");
        ASSERT_EQ(draws.size(), 1u);
        EXPECT_EQ(draws[0][0], 13) << "nothing left of the first pixel: the destination moves instead";
        EXPECT_EQ(draws[0][4], 0);
    }
    DeleteDC(source);
}

TEST_F(ImageDraw, ZoomBlitsFromTheFirstVisibleSourcePixel) {
    const PxlImageId id = PXLCreateImage(600, 100, 24);
    Dc dc = display(32, 400, 400);
    DrawingRecorder recorder(dc.get());
    EXPECT_EQ(PXLStretchBltZoom(dc.get(), -1000, 0, 400, 400, id, 0, 0, 400, 400, PXL_DRAW_WHOLE, SRCCOPY, 0, 400),
              1);
    const auto blits = numbersOf(recorder, "StretchBlt");
    ASSERT_FALSE(blits.empty());
    EXPECT_EQ(blits.back()[4], 250) << "400 %: destination -1000 is source column 250";
}

TEST_F(ImageDraw, ColourPlatesDrawTheSeparationAndLeaveNoImage) {
    const PxlImageId id = quadrants();
    Dc dc = display(32, 8, 8);
    const size_t live = pixmill::liveImageCount();
    ASSERT_EQ(PXLStretchBltSeparate(dc.get(), 0, 0, 2, 2, id, 0, 0, 8, 8, PXL_DRAW_WHOLE, SRCCOPY, PXL_PLATE_BLACK,
                                    1),
              1);
    EXPECT_EQ(pixmill::liveImageCount(), live);
    EXPECT_EQ(pixelAt(dc.get(), 1, 1), RGB(0, 0, 0)) << "white has no black ink";
    EXPECT_EQ(PXLStretchBltSeparate(dc.get(), 0, 0, 2, 2, id, 0, 0, 8, 8, PXL_DRAW_WHOLE, SRCCOPY, 9, 1), 0);
}

TEST_F(ImageDraw, PaletteRealisationAndPrintedWhite) {
    Dc true24 = display(24);
    EXPECT_EQ(PXLSet256PaletteToDC(true24.get(), 0), 0);
    Dc screen = display(32);
    EXPECT_EQ(PXLIsPrintedColorWhite(screen.get()), 0) << "displays are not printers";
    Dc page = printer();
    EXPECT_EQ(PXLIsPrintedColorWhite(page.get()), 1);
}

}  // namespace
