#include <vector>

#include "../pixel_access.h"
#include "../pixmill_fixture.h"

namespace {

using ChangeIndex = PixmillTest;

// The colour every pixel shows.
std::vector<COLORREF> look(PxlImageId id) {
    std::vector<COLORREF> colours;
    for (uint32_t index : testpx::pixels(id))
        colours.push_back(static_cast<COLORREF>(PXLGetColorFromPalette(id, static_cast<int>(index))));
    return colours;
}

TEST_F(ChangeIndex, MovesPixelsOffAnIndexAtEveryDepth) {
    struct Case {
        int bits, a, b;
    };
    const Case cases[] = {{8, 3, 7}, {4, 3, 7}, {4, 15, 0}, {1, 0, 1}, {1, 1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bits << " bits, " << c.a << " to " << c.b);
        const int colours = 1 << c.bits;
        const auto f = [&](int x, int y) { return (x + 2 * y) % colours; };
        // Without swap: no pixel of a is left, b's pixels stay, and entry a takes b's colour.
        PxlImageId id = testpx::indexed(7, 3, c.bits, f);
        PXLSetColorToPalette(id, c.a, RGB(1, 2, 3));
        PXLSetColorToPalette(id, c.b, RGB(4, 5, 6));
        const std::vector<uint32_t> before = testpx::pixels(id);
        ASSERT_EQ(PXLChangeIndexToIndex(id, static_cast<int16_t>(c.a), static_cast<int16_t>(c.b), 0), 1);
        const std::vector<uint32_t> after = testpx::pixels(id);
        for (size_t k = 0; k < before.size(); ++k)
            EXPECT_EQ(after[k],
                      before[k] == static_cast<uint32_t>(c.a) ? static_cast<uint32_t>(c.b) : before[k])
                << k;
        EXPECT_EQ(PXLGetColorFromPalette(id, c.a), RGB(4, 5, 6));
        EXPECT_EQ(PXLGetColorFromPalette(id, c.b), RGB(4, 5, 6));
        PXLDeleteImage(id);

        // With swap: the two indexes change places in pixels and palette, and the picture looks the same.
        id = testpx::indexed(7, 3, c.bits, f);
        PXLSetColorToPalette(id, c.a, RGB(1, 2, 3));
        PXLSetColorToPalette(id, c.b, RGB(4, 5, 6));
        const std::vector<COLORREF> seen = look(id);
        ASSERT_EQ(PXLChangeIndexToIndex(id, static_cast<int16_t>(c.a), static_cast<int16_t>(c.b), 1), 1);
        EXPECT_EQ(look(id), seen);
        EXPECT_EQ(PXLGetColorFromPalette(id, c.a), RGB(4, 5, 6));
        EXPECT_EQ(PXLGetColorFromPalette(id, c.b), RGB(1, 2, 3));
        const std::vector<uint32_t> swapped = testpx::pixels(id);
        for (size_t k = 0; k < before.size(); ++k) {
            const uint32_t a = static_cast<uint32_t>(c.a), b = static_cast<uint32_t>(c.b);
            const uint32_t expected = before[k] == a ? b : before[k] == b ? a : before[k];
            EXPECT_EQ(swapped[k], expected) << k;
        }
        PXLDeleteImage(id);
    }
}

TEST_F(ChangeIndex, TheDrawnColourTableFollows) {
    // Drawn through its DIB section, the picture shows the new entries at once.
    const PxlImageId id = testpx::indexed(2, 1, 8, [](int x, int) { return x ? 7 : 3; });
    PXLSetColorToPalette(id, 3, RGB(255, 0, 0));
    PXLSetColorToPalette(id, 7, RGB(0, 0, 255));
    PXLFillDIBColorTable(id);
    ASSERT_EQ(PXLChangeIndexToIndex(id, 3, 7, 1), 1);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, PXLGetBitmap(id));
    RGBQUAD table[8] = {};
    ASSERT_EQ(GetDIBColorTable(dc, 0, 8, table), 8u);
    SelectObject(dc, previous);
    DeleteDC(dc);
    EXPECT_EQ(table[3].rgbBlue, 255);
    EXPECT_EQ(table[7].rgbRed, 255);
}

TEST_F(ChangeIndex, Refusals) {
    const PxlImageId bytes = PXLCreateImage(2, 2, 8);
    const PxlImageId nibbles = PXLCreateImage(2, 2, 4);
    const PxlImageId bits = PXLCreateImage(2, 2, 1);
    EXPECT_EQ(PXLChangeIndexToIndex(bytes, 5, 5, 0), 0) << "the same index";
    // Each index one step outside the palette, on either side of the call.
    for (const PxlImageId id : {bytes, nibbles, bits}) {
        const auto colours = static_cast<int16_t>(1 << PXLbpp(id));
        for (const int16_t outside : {colours, int16_t{-1}}) {
            SCOPED_TRACE(testing::Message() << PXLbpp(id) << " bits, index " << outside);
            EXPECT_EQ(PXLChangeIndexToIndex(id, outside, 0, 0), 0);
            EXPECT_EQ(PXLChangeIndexToIndex(id, 0, outside, 1), 0);
        }
    }
    EXPECT_EQ(PXLChangeIndexToIndex(PXLCreateImage(2, 2, 24), 0, 1, 0), 0) << "no palette";
    EXPECT_EQ(PXLChangeIndexToIndex(0, 0, 1, 0), 0);
    EXPECT_EQ(PXLChangeIndexToIndex(99, 0, 1, 0), 0);
}

}  // namespace
