#include <algorithm>
#include <cstring>
#include <queue>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "../pixmill_fixture.h"

namespace {

using pixmill::Access;
using pixmill::liveImageCount;

using FloodFill = PixmillTest;
using MaskFillByColour = PixmillTest;

// Fixtures are drawn as rows of '.' (the fill colour) and '#' (a wall).
using Picture = std::vector<std::string>;

constexpr RGBQUAD kOpen = {50, 100, 200, 0};  // blue, green, red
constexpr RGBQUAD kWall = {30, 20, 10, 0};
const PxlTransparencyEntry kOpenColor = {200, 100, 50, 0, PXL_TRANSPARENT_REGION, 0, 0};

uint8_t* rowOf(PxlImageId id, int y) {
    return PXLGetBits(id) + (PXLHeight(id) - 1 - y) * PXLGetScanBytes(id);
}

bool maskBit(PxlImageId mask, int x, int y) {
    return (rowOf(mask, y)[x >> 3] >> (7 - (x & 7))) & 1;
}

// The picture at a depth: palette images use index 0 for '.' and 1 for '#', coloured through the
// palette; 24-bit images hold the colours themselves.
PxlImageId paint(const Picture& rows, int bits) {
    const int width = static_cast<int>(rows[0].size());
    const int height = static_cast<int>(rows.size());
    const PxlImageId id = PXLCreateImage(width, height, bits);
    if (bits <= 8) {
        auto image = pixmill::lockImage(id, Access::Write);
        image->colors()[0] = kOpen;
        image->colors()[1] = kWall;
    }
    PXLFillDIBColorTable(id);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = rowOf(id, y);
        for (int x = 0; x < width; ++x) {
            const bool wall = rows[y][x] == '#';
            switch (bits) {
                case 1:
                    row[x >> 3] |= static_cast<uint8_t>(wall ? 0x80 >> (x & 7) : 0);
                    break;
                case 4:
                    row[x >> 1] |= static_cast<uint8_t>(wall ? ((x & 1) ? 0x01 : 0x10) : 0);
                    break;
                case 8:
                    row[x] = wall ? 1 : 0;
                    break;
                default: {
                    const RGBQUAD& c = wall ? kWall : kOpen;
                    row[3 * x] = c.rgbBlue;
                    row[3 * x + 1] = c.rgbGreen;
                    row[3 * x + 2] = c.rgbRed;
                }
            }
        }
    }
    return id;
}

// The mask as rows of 'x' (set) and '.'.
Picture drawMask(PxlImageId mask) {
    Picture rows;
    for (int y = 0; y < PXLHeight(mask); ++y) {
        std::string row;
        for (int x = 0; x < PXLWidth(mask); ++x) row += maskBit(mask, x, y) ? 'x' : '.';
        rows.push_back(row);
    }
    return rows;
}

PxlTransparencyEntry seededAt(int x, int y) {
    PxlTransparencyEntry e = kOpenColor;
    e.seedX = x;
    e.seedY = y;
    return e;
}

std::string joined(const Picture& rows) {
    std::string text;
    for (const auto& row : rows) text += row + "\n";
    return text;
}

TEST_F(FloodFill, ShapesAtEveryDepth) {
    struct Case {
        const char* what;
        Picture picture;
        int seedX, seedY;
        Picture expected;
    };
    // clang-format off
    const Case cases[] = {
        {"a diagonal stops a 4-connected fill",
         {"....#",
          "...#.",
          "..#..",
          ".#...",
          "#...."},
         0, 0,
         {"xxxx.",
          "xxx..",
          "xx...",
          "x....",
          "....."}},
        {"the other side of the diagonal",
         {"....#",
          "...#.",
          "..#..",
          ".#...",
          "#...."},
         4, 4,
         {".....",
          "....x",
          "...xx",
          "..xxx",
          ".xxxx"}},
        {"a ring leaves its hole",
         {".....",
          ".###.",
          ".#.#.",
          ".###.",
          "....."},
         1, 0,
         {"xxxxx",
          "x...x",
          "x...x",
          "x...x",
          "xxxxx"}},
        {"the hole alone",
         {".....",
          ".###.",
          ".#.#.",
          ".###.",
          "....."},
         2, 2,
         {".....",
          ".....",
          "..x..",
          ".....",
          "....."}},
        // Down, across, up, across, down again; (4, 3) and (4, 4) touch the corridor only at a
        // corner.
        {"one-pixel corridors and a corner pocket",
         {".#...",
          ".#.#.",
          ".#..#",
          "...#.",
          "####."},
         0, 0,
         {"x.xxx",
          "x.x.x",
          "x.xx.",
          "xxx..",
          "....."}},
        {"a seed in the middle of a run",
         {"#...#",
          "#.#.#",
          "....."},
         2, 0,
         {".xxx.",
          ".x.x.",
          "xxxxx"}},
    };
    // clang-format on
    for (const int bits : {1, 4, 8, 24}) {
        for (const Case& c : cases) {
            const PxlImageId picture = paint(c.picture, bits);
            const PxlTransparencyEntry entry = seededAt(c.seedX, c.seedY);
            const PxlImageId mask = PXLFloodFillMask(picture, &entry);
            ASSERT_NE(mask, 0) << c.what << " at " << bits << " bits";
            EXPECT_EQ(PXLbpp(mask), 1);
            EXPECT_EQ(joined(drawMask(mask)), joined(c.expected)) << c.what << " at " << bits << " bits";
            PXLDeleteImage(mask);
            PXLDeleteImage(picture);
        }
    }
    EXPECT_EQ(liveImageCount(), 0u);
}

// A black picture whose every palette entry is black, so that any byte a seed off the picture
// read (row padding, or the neighbouring row where there is none) would match a black seed.
PxlImageId allBlack(int width, int height, int bits) {
    const PxlImageId id = PXLCreateImage(width, height, bits);
    if (bits <= 8) {
        auto image = pixmill::lockImage(id, Access::Write);
        std::fill_n(image->colors(), 1 << bits, RGBQUAD{0, 0, 0, 0});
    }
    PXLFillDIBColorTable(id);
    return id;
}

PxlTransparencyEntry blackSeededAt(int x, int y) {
    return {0, 0, 0, 0, PXL_TRANSPARENT_REGION, x, y};
}

TEST_F(FloodFill, SeedsOffThePictureAreRefusedEvenWhereTheBytesBeyondMatch) {
    // 24 bits, 3 wide: three bytes of zero padding end each row. 8 bits, 4 wide: no padding, so
    // one pixel past a row's end is the first pixel of the row above it.
    const PxlImageId padded = allBlack(3, 2, 24);
    const PxlImageId unpadded = allBlack(4, 2, 8);
    ASSERT_EQ(PXLGetScanBytes(unpadded), 4);
    struct Case {
        const char* what;
        PxlImageId id;
        int x, y;
    };
    // Rows are stored bottom first: x = -1 on the top row and x = width on the bottom row read
    // inside the pixels.
    const Case cases[] = {
        {"x = -1, padded", padded, -1, 0},     {"x = width, padded", padded, 3, 1},
        {"y = -1, padded", padded, 0, -1},     {"y = height, padded", padded, 0, 2},
        {"x = -1, unpadded", unpadded, -1, 0}, {"x = width, unpadded", unpadded, 4, 1},
        {"y = -1, unpadded", unpadded, 0, -1}, {"y = height, unpadded", unpadded, 0, 2},
    };
    const size_t before = liveImageCount();
    for (const Case& c : cases) {
        const PxlTransparencyEntry entry = blackSeededAt(c.x, c.y);
        EXPECT_EQ(PXLFloodFillMask(c.id, &entry), 0) << c.what;
    }
    EXPECT_EQ(liveImageCount(), before);

    // The corners just inside are seeds, and fill the whole picture.
    for (const PxlImageId id : {padded, unpadded}) {
        const int width = PXLWidth(id), height = PXLHeight(id);
        for (const auto& [x, y] : {std::pair{0, 0}, std::pair{width - 1, height - 1}}) {
            const PxlTransparencyEntry entry = blackSeededAt(x, y);
            const PxlImageId mask = PXLFloodFillMask(id, &entry);
            ASSERT_NE(mask, 0) << PXLbpp(id) << " bits, seed " << x << ", " << y;
            EXPECT_EQ(joined(drawMask(mask)), joined(Picture(height, std::string(width, 'x'))));
            PXLDeleteImage(mask);
        }
    }
}

TEST_F(FloodFill, RefusalsLeaveNoImageBehind) {
    const Picture open = {"...", "..."};
    const PxlImageId picture = paint(open, 24);
    const PxlImageId wide = PXLCreateImage(3, 2, PXL_BITS_565);
    const PxlImageId deep = PXLCreateImage(3, 2, 32);
    PxlTransparencyEntry otherColour = seededAt(0, 0);
    otherColour.green = 110;  // 10 away from the pixels
    otherColour.tolerance = 9;
    PxlTransparencyEntry negative = seededAt(0, 0);
    negative.tolerance = -1;
    const PxlTransparencyEntry black = {0, 0, 0, 0, PXL_TRANSPARENT_REGION, 0, 0};
    struct Case {
        const char* what;
        PxlImageId id;
        PxlTransparencyEntry entry;
    };
    const Case cases[] = {
        {"a seed colour beyond the tolerance", picture, otherColour},
        {"a negative tolerance", picture, negative},
        {"no image", 0, seededAt(0, 0)},
        {"an unknown image", 99, seededAt(0, 0)},
        {"16 bits", wide, black},
        {"32 bits", deep, black},
    };
    const size_t before = liveImageCount();
    for (const Case& c : cases) EXPECT_EQ(PXLFloodFillMask(c.id, &c.entry), 0) << c.what;
    EXPECT_EQ(PXLFloodFillMask(picture, nullptr), 0) << "no entry";
    EXPECT_EQ(liveImageCount(), before);

    otherColour.tolerance = 10;
    const PxlImageId mask = PXLFloodFillMask(picture, &otherColour);
    EXPECT_NE(mask, 0) << "a difference equal to the tolerance matches";
}

TEST_F(FloodFill, OneColourFillsEveryBitAndNoPadding) {
    const int width = 37, height = 23;  // 37 bits leave 27 bits of padding in each mask row
    const PxlImageId picture = PXLCreateImage(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) std::memcpy(rowOf(picture, y) + 3 * x, "\x32\x64\xC8", 3);
    PxlTransparencyEntry entry = seededAt(17, 11);
    const PxlImageId mask = PXLFloodFillMask(picture, &entry);
    ASSERT_NE(mask, 0);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = rowOf(mask, y);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(row), 4), std::string(4, '\xFF')) << y;
        EXPECT_EQ(row[4], 0xF8) << "bits 32-36 set, the padding clear, row " << y;
        EXPECT_EQ(row[5] | row[6] | row[7], 0) << y;
    }
}

TEST_F(FloodFill, ToleranceIsPerChannel) {
    // 100/100/100, 103/100/100, 100/100/104, 97/97/97 (red, green, blue)
    const PxlImageId picture = PXLCreateImage(4, 1, 24);
    const uint8_t bgr[] = {100, 100, 100, 100, 100, 103, 104, 100, 100, 97, 97, 97};
    std::memcpy(PXLGetBits(picture), bgr, sizeof bgr);
    const PxlTransparencyEntry entry = {100, 100, 100, 3, PXL_TRANSPARENT_REGION, 0, 0};
    const PxlImageId mask = PXLFloodFillMask(picture, &entry);
    ASSERT_NE(mask, 0);
    EXPECT_EQ(drawMask(mask)[0], "xx..") << "blue 4 away stops the run; the fourth is cut off";
}

// Against a plain breadth-first fill on random mazes, at a true-colour and a palette depth.
TEST_F(FloodFill, AgreesWithABreadthFirstFill) {
    std::mt19937 random(20240607);
    for (const int bits : {24, 4}) {
        for (int round = 0; round < 6; ++round) {
            const int width = 40 + round * 13, height = 30 + round * 7;
            Picture rows(height, std::string(width, '.'));
            std::bernoulli_distribution wall(0.42);
            for (auto& row : rows)
                for (char& c : row) c = wall(random) ? '#' : '.';
            const int sx = static_cast<int>(random() % width), sy = static_cast<int>(random() % height);
            rows[sy][sx] = '.';

            Picture expected(height, std::string(width, '.'));
            std::queue<std::pair<int, int>> queue;
            queue.push({sx, sy});
            expected[sy][sx] = 'x';
            while (!queue.empty()) {
                const auto [x, y] = queue.front();
                queue.pop();
                const int dx[] = {1, -1, 0, 0}, dy[] = {0, 0, 1, -1};
                for (int k = 0; k < 4; ++k) {
                    const int nx = x + dx[k], ny = y + dy[k];
                    if (nx < 0 || ny < 0 || nx >= width || ny >= height) continue;
                    if (rows[ny][nx] == '#' || expected[ny][nx] == 'x') continue;
                    expected[ny][nx] = 'x';
                    queue.push({nx, ny});
                }
            }

            const PxlImageId picture = paint(rows, bits);
            const PxlTransparencyEntry entry = seededAt(sx, sy);
            const PxlImageId mask = PXLFloodFillMask(picture, &entry);
            ASSERT_NE(mask, 0);
            EXPECT_EQ(joined(drawMask(mask)), joined(expected)) << bits << " bits, round " << round;
            PXLDeleteImage(mask);
            PXLDeleteImage(picture);
        }
    }
}

TEST_F(FloodFill, ThousandsOfPendingRunsDoNotOverflow) {
    // A comb: an open top row over 9000 one-pixel teeth, each pushed while the top row is filled.
    const int teeth = 9000;
    Picture rows = {std::string(2 * teeth, '.'), std::string(), std::string()};
    for (int i = 0; i < teeth; ++i) {
        rows[1] += ".#";
        rows[2] += ".#";
    }
    const PxlImageId picture = paint(rows, 8);
    const PxlTransparencyEntry entry = seededAt(0, 0);
    const PxlImageId mask = PXLFloodFillMask(picture, &entry);
    ASSERT_NE(mask, 0);
    const Picture filled = drawMask(mask);
    EXPECT_EQ(filled[0], std::string(2 * teeth, 'x'));
    for (int x = 0; x < 2 * teeth; ++x) ASSERT_EQ(filled[2][x], x % 2 ? '.' : 'x') << x;
}

TEST_F(FloodFill, RegionEntriesAddUpWithOtherEntriesInMasks) {
    // The region around (0, 0) and, by colour, every wall pixel.
    const Picture rows = {"..#..", "..#..", "..#.."};
    const PxlImageId picture = paint(rows, 24);
    const PxlTransparencyEntry entries[] = {
        seededAt(0, 0),
        {10, 20, 30, 0, PXL_TRANSPARENT_COLOR, 0, 0},
        seededAt(2, 0),  // a wall: matches nothing, adds nothing
    };
    const size_t before = liveImageCount();
    const PxlImageId mask = PXLCreateMaskImageFrom(picture, entries, 3);
    ASSERT_NE(mask, 0);
    EXPECT_EQ(joined(drawMask(mask)), joined({"xxx..", "xxx..", "xxx.."}));
    EXPECT_EQ(liveImageCount(), before + 1) << "the fill's own masks were deleted";
}

TEST_F(MaskFillByColour, SetsAndClearsTheBitsOfAColourRange) {
    // red, green, blue per pixel
    const uint8_t pixels[][3] = {
        {255, 255, 255}, {239, 250, 250}, {240, 240, 255}, {250, 250, 250}, {0, 0, 0}};
    const PxlImageId picture = PXLCreateImage(5, 1, 24);
    for (int x = 0; x < 5; ++x)
        for (int c = 0; c < 3; ++c) PXLGetBits(picture)[3 * x + c] = pixels[x][2 - c];
    struct Case {
        const char* what;
        COLORREF color, tolerance;
        const char* set;  // clearing from a full mask clears exactly these
    };
    const Case cases[] = {
        {"bounds clamped at 255", RGB(250, 250, 250), RGB(10, 10, 10), "x.xx."},
        {"no tolerance", RGB(250, 250, 250), 0, "...x."},
        {"tolerance per channel", RGB(0, 0, 0), RGB(255, 0, 0), "....x"},
        {"bounds clamped at 0", RGB(5, 5, 5), RGB(10, 10, 10), "....x"},
    };
    for (const Case& c : cases) {
        const PxlImageId mask = PXLCreateImage(5, 1, 1);
        ASSERT_EQ(PXLMaskFillByColor(picture, mask, c.color, c.tolerance, 1), 1) << c.what;
        EXPECT_EQ(drawMask(mask)[0], c.set) << c.what;
        std::memset(PXLGetBits(mask), 0xFF, 4);
        ASSERT_EQ(PXLMaskFillByColor(picture, mask, c.color, c.tolerance, 0), 1) << c.what;
        const std::string cleared = drawMask(mask)[0];
        for (int x = 0; x < 5; ++x) EXPECT_EQ(cleared[x], c.set[x] == 'x' ? '.' : 'x') << c.what << " " << x;
        PXLDeleteImage(mask);
    }
}

TEST_F(MaskFillByColour, EveryDepthMatchesByTheColourShown) {
    const Picture rows = {".#..#", "#...."};
    for (const int bits : {1, 4, 8, 24}) {
        const PxlImageId picture = paint(rows, bits);
        const PxlImageId mask = PXLCreateImage(5, 2, 1);
        ASSERT_EQ(PXLMaskFillByColor(picture, mask, RGB(10, 20, 30), RGB(1, 1, 1), 1), 1);
        EXPECT_EQ(joined(drawMask(mask)), joined({".x..x", "x...."})) << bits << " bits";
    }
    const PxlImageId wide = PXLCreateImage(2, 1, PXL_BITS_565);
    PXLGetBits(wide)[2] = 0xFF;  // the second pixel white
    PXLGetBits(wide)[3] = 0xFF;
    const PxlImageId mask = PXLCreateImage(2, 1, 1);
    ASSERT_EQ(PXLMaskFillByColor(wide, mask, RGB(255, 255, 255), 0, 1), 1);
    EXPECT_EQ(drawMask(mask)[0], ".x") << "16-bit pixels widen to full white";
}

TEST_F(MaskFillByColour, RefusesAMaskThatDoesNotFit) {
    const PxlImageId picture = PXLCreateImage(5, 2, 24);
    struct Case {
        const char* what;
        PxlImageId mask;
    };
    const Case cases[] = {
        {"8 bits", PXLCreateImage(5, 2, 8)},
        {"narrower", PXLCreateImage(4, 2, 1)},
        {"taller", PXLCreateImage(5, 3, 1)},
        {"none", 0},
        {"unknown", 99},
    };
    for (const Case& c : cases) EXPECT_EQ(PXLMaskFillByColor(picture, c.mask, 0, 0, 1), 0) << c.what;
    EXPECT_EQ(PXLMaskFillByColor(0, PXLCreateImage(5, 2, 1), 0, 0, 1), 0);
}

}  // namespace
