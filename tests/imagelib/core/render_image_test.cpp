// PXLRenderImageTo against a pixel-by-pixel model: clipping at every edge, masks, palette sources
// onto true colour and onto palettes, and the refusals.
#include <vector>

#include "../pixmill_fixture.h"

namespace {

using RenderImage = PixmillTest;
using pixmill::Access;
using pixmill::lockImage;
using pixmill::rowFromTop;

// The colour of pixel (x, y) as 0x00RRGGBB, whatever the depth.
uint32_t colourAt(PxlImageId id, int x, int y) {
    pixmill::ImageLock image = lockImage(id, Access::Read);
    const uint8_t* row = rowFromTop(*image, y);
    const int bytes = image->bitCount() / 8;
    if (bytes >= 3)
        return uint32_t{row[bytes * x + 2]} << 16 | uint32_t{row[bytes * x + 1]} << 8 | row[bytes * x];
    const RGBQUAD c = image->colors()[pixmill::indexAt(row, x, image->bitCount())];
    return uint32_t{c.rgbRed} << 16 | uint32_t{c.rgbGreen} << 8 | c.rgbBlue;
}

int indexOf(PxlImageId id, int x, int y) {
    pixmill::ImageLock image = lockImage(id, Access::Read);
    return pixmill::indexAt(rowFromTop(*image, y), x, image->bitCount());
}

std::vector<uint32_t> colours(PxlImageId id) {
    std::vector<uint32_t> out;
    for (int y = 0; y < PXLHeight(id); ++y)
        for (int x = 0; x < PXLWidth(id); ++x) out.push_back(colourAt(id, x, y));
    return out;
}

PxlImageId gradient24(int width, int height, int salt) {
    std::vector<Rgb> p;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            p.push_back({(x * 40 + salt) & 255, (y * 50 + salt) & 255, (x * y + salt) & 255});
    return make24(width, height, p);
}

// A palette image whose entry i is a colour of its own, with index (x + 2y) mod entries.
PxlImageId palette(int width, int height, int bits, int salt = 0) {
    const PxlImageId id = PXLCreateImage(width, height, bits);
    const int entries = 1 << bits;
    std::vector<PALETTEENTRY> table(static_cast<size_t>(entries));
    for (int i = 0; i < entries; ++i)
        table[size_t(i)] = {BYTE(i * 7 + salt), BYTE(255 - i), BYTE(i * 3 + 1), 0};
    PXLSetNewPalette(id, table.data(), entries);
    pixmill::ImageLock image = lockImage(id, Access::Write);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = rowFromTop(*image, y);
        for (int x = 0; x < width; ++x) {
            const int v = (x + 2 * y) % entries;
            if (bits == 8) row[x] = uint8_t(v);
            if (bits == 4) row[x / 2] |= uint8_t(v << (x % 2 ? 0 : 4));
            if (bits == 1 && v) row[x / 8] |= uint8_t(0x80 >> (x % 8));
        }
    }
    return id;
}

PxlImageId maskOf(int width, int height, bool (*set)(int, int)) {
    const PxlImageId id = PXLCreateImage(width, height, 1);
    pixmill::ImageLock image = lockImage(id, Access::Write);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (set(x, y)) pixmill::setMaskBit(rowFromTop(*image, y), x);
    return id;
}

// What the destination must show: each unmasked source pixel inside it at (x + sx, y + sy).
std::vector<uint32_t> model(PxlImageId destination, PxlImageId source, bool (*masked)(int, int), int x,
                            int y) {
    std::vector<uint32_t> want = colours(destination);
    const int w = PXLWidth(destination), h = PXLHeight(destination);
    for (int sy = 0; sy < PXLHeight(source); ++sy)
        for (int sx = 0; sx < PXLWidth(source); ++sx) {
            const int dx = x + sx, dy = y + sy;
            if (dx < 0 || dy < 0 || dx >= w || dy >= h || (masked && masked(sx, sy))) continue;
            want[size_t(dy * w + dx)] = colourAt(source, sx, sy);
        }
    return want;
}

bool checker(int x, int y) {
    return (x + y) % 2 == 0;
}

TEST_F(RenderImage, ClippedAtEveryEdge) {
    struct Place {
        int x, y;
    };
    const Place places[] = {{0, 0},  {-5, 0}, {0, -3}, {-5, -3}, {4, 2},    {9, 5},
                            {10, 0}, {0, 6},  {-7, 0}, {0, -4},  {-20, -20}};
    for (int sourceBits : {24, 8, 4, 1}) {
        for (const Place p : places) {
            const PxlImageId destination = gradient24(10, 6, 9);
            const PxlImageId source = sourceBits == 24 ? gradient24(7, 4, 100) : palette(7, 4, sourceBits);
            const std::vector<uint32_t> want = model(destination, source, nullptr, p.x, p.y);
            EXPECT_EQ(PXLRenderImageTo(destination, source, 0, p.x, p.y), 1);
            EXPECT_EQ(colours(destination), want) << sourceBits << " bits at " << p.x << "," << p.y;
            PXLDeleteImage(destination);
            PXLDeleteImage(source);
        }
    }
}

TEST_F(RenderImage, MaskedPixelsAreLeft) {
    for (int sourceBits : {24, 8}) {
        const PxlImageId destination = gradient24(9, 7, 3);
        const PxlImageId source = sourceBits == 24 ? gradient24(6, 5, 77) : palette(6, 5, 8);
        const PxlImageId mask = maskOf(6, 5, checker);
        const std::vector<uint32_t> want = model(destination, source, checker, -2, 3);
        EXPECT_EQ(PXLRenderImageTo(destination, source, mask, -2, 3), 1);
        EXPECT_EQ(colours(destination), want) << sourceBits;
    }
}

// Onto a palette image each source entry goes to the destination entry of its colour.
TEST_F(RenderImage, PaletteSourcesOntoAPaletteTakeTheMatchingEntries) {
    const PxlImageId source = palette(5, 3, 4);
    const PxlImageId destination = PXLCreateImage(6, 4, 8);
    std::vector<PALETTEENTRY> table(256, PALETTEENTRY{1, 2, 3, 0});
    for (int i = 0; i < 16; ++i)
        table[size_t(100 + 9 * i)] = {BYTE(i * 7), BYTE(255 - i), BYTE(i * 3 + 1), 0};
    PXLSetNewPalette(destination, table.data(), 256);
    ASSERT_EQ(PXLRenderImageTo(destination, source, 0, 1, 1), 1);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool inside = x >= 1 && y >= 1;
            EXPECT_EQ(indexOf(destination, x, y), inside ? 100 + 9 * indexOf(source, x - 1, y - 1) : 0)
                << x << "," << y;
        }
}

TEST_F(RenderImage, Refusals) {
    const PxlImageId d24 = gradient24(4, 4, 0), d8 = palette(4, 4, 8), s24 = gradient24(4, 4, 50);
    const PxlImageId s8 = palette(4, 4, 8), s16 = PXLCreateImage(4, 4, PXL_BITS_565), d4 = palette(4, 4, 4);
    const PxlImageId d1 = palette(4, 4, 1), d32 = PXLCreateImage(4, 4, 32);
    const PxlImageId smallMask = maskOf(3, 4, checker), byteMask = PXLCreateImage(4, 4, 8);
    struct Case {
        PxlImageId destination, source, mask;
        const char* why;
    };
    const Case cases[] = {{0, s8, 0, "no destination"},
                          {d24, 0, 0, "no source"},
                          {999, s8, 0, "unknown destination"},
                          {d24, 999, 0, "unknown source"},
                          {d4, s8, 0, "4-bit destination"},
                          {d1, s8, 0, "1-bit destination"},
                          {d32, s8, 0, "32-bit destination"},
                          {d24, s16, 0, "16-bit source"},
                          {d8, s24, 0, "true colour onto a palette"},
                          {d24, s8, smallMask, "mask of another size"},
                          {d24, s8, byteMask, "8-bit mask"},
                          {d24, s8, 999, "unknown mask"}};
    for (const Case& c : cases) {
        const std::vector<uint32_t> before =
            c.destination > 0 && c.destination < 999 ? colours(c.destination) : std::vector<uint32_t>{};
        EXPECT_EQ(PXLRenderImageTo(c.destination, c.source, c.mask, 0, 0), 0) << c.why;
        if (!before.empty()) {
            EXPECT_EQ(colours(c.destination), before) << c.why;
        }
    }
}

}  // namespace
