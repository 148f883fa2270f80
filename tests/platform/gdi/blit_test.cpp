// Blits: the nearest-pixel sampling rule, mirroring, clipping at every edge (destination, clip
// rectangle, source), monochrome and colour conversions, and the masked-icon idiom.
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "canvas.h"
#include "winplat/draw.h"
#include "winplat/drawdib.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"
#include "winplat/testing.h"

namespace {

using namespace drawtest;
using dibtest::kBlack;
using dibtest::kWhite;

// Five distinct colours named by letters, and '.' for the untouched background.
const std::map<char, Rgb> kPaint = {{'A', 0xFF0000}, {'B', 0x00FF00}, {'C', 0x0000FF}, {'D', 0xFFFF00},
                                    {'E', 0x00FFFF}, {'F', 0xFF00FF}, {'.', 0x808080}};
std::map<Rgb, char> legend() {
    std::map<Rgb, char> out;
    for (const auto& [c, rgb] : kPaint) out[rgb] = c;
    return out;
}

struct StretchCase {
    const char* name;
    std::vector<std::string> source;
    int x, y, w, h;                     // destination
    int sx, sy, sw, sh;                 // source
    std::vector<std::string> expected;  // the whole destination afterwards
};

// Expected pixels worked out by hand from the rule: destination pixel i of w takes source pixel
// floor((2i + 1) * sw / (2w)).
const StretchCase kStretchCases[] = {
    {"2x2 doubled", {"AB", "CD"}, 0, 0, 4, 4, 0, 0, 2, 2, {"AABB", "AABB", "CCDD", "CCDD"}},
    {"3 to 7", {"ABC"}, 0, 0, 7, 1, 0, 0, 3, 1, {"AABBBCC"}},
    {"4 to 2 takes the second of each pair", {"ABCD"}, 0, 0, 2, 1, 0, 0, 4, 1, {"BD"}},
    {"5 to 3", {"ABCDE"}, 0, 0, 3, 1, 0, 0, 5, 1, {"ACE"}},
    {"6 to 4", {"ABCDEF"}, 0, 0, 4, 1, 0, 0, 6, 1, {"ACDF"}},
    {"source origin", {"ABCDE"}, 0, 0, 4, 1, 1, 0, 2, 1, {"BBCC"}},
    {"mirrored by the destination", {"ABC"}, 4, 0, -3, 1, 0, 0, 3, 1, {".CBA"}},
    {"mirrored by the source", {"ABC"}, 0, 0, 3, 1, 3, 0, -3, 1, {"CBA."}},
    {"both negative is upright", {"ABC"}, 3, 0, -3, 1, 3, 0, -3, 1, {"ABC."}},
    {"mirrored and enlarged", {"AB"}, 0, 0, 5, 1, 2, 0, -2, 1, {"BBAAA"}},
    {"upside down", {"AB", "CD", "EF"}, 0, 0, 2, 3, 0, 3, 2, -3, {"EF", "CD", "AB"}},
    {"both axes mirrored", {"ABC", "DEF"}, 0, 2, 3, -2, 3, 0, -3, 2, {"FED", "CBA", "..."}},
};

void PrintTo(const StretchCase& c, std::ostream* out) {
    *out << c.name;
}

class Stretch : public ::testing::TestWithParam<StretchCase> {};

TEST_P(Stretch, SamplesByTheRule) {
    const StretchCase& c = GetParam();
    const int sourceWidth = static_cast<int>(c.source[0].size());
    const int sourceHeight = static_cast<int>(c.source.size());
    const int destWidth = static_cast<int>(c.expected[0].size());
    const int destHeight = static_cast<int>(c.expected.size());
    // Top-down and bottom-up surfaces must not make a difference.
    for (bool sourceTopDown : {true, false}) {
        for (bool destTopDown : {true, false}) {
            SCOPED_TRACE(std::string("source ") + (sourceTopDown ? "top-down" : "bottom-up") +
                         ", destination " + (destTopDown ? "top-down" : "bottom-up"));
            Canvas source(sourceWidth, sourceHeight, 24, {}, sourceTopDown);
            Canvas dest(destWidth, destHeight, 24, {}, destTopDown);
            ASSERT_TRUE(source.ok() && dest.ok());
            source.paint(c.source, kPaint);
            dest.fill(kPaint.at('.'));
            ASSERT_TRUE(SetStretchBltMode(dest.dc(), COLORONCOLOR));
            ASSERT_TRUE(
                StretchBlt(dest.dc(), c.x, c.y, c.w, c.h, source.dc(), c.sx, c.sy, c.sw, c.sh, SRCCOPY));
            EXPECT_EQ(dest.art(legend()), c.expected);

            // The same through StretchDIBits, whose source rectangle of a bottom-up DIB is measured
            // from the bottom: rows [sy, sy + sh) counted from the top are rows
            // [H - sy - sh, H - sy) counted from the bottom.
            dest.fill(kPaint.at('.'));
            const int dibY = sourceTopDown ? c.sy : sourceHeight - c.sy - c.sh;
            ASSERT_EQ(StretchDIBits(dest.dc(), c.x, c.y, c.w, c.h, c.sx, dibY, c.sw, c.sh, source.bits(),
                                    source.info().info(), DIB_RGB_COLORS, SRCCOPY),
                      std::abs(c.sh));
            EXPECT_EQ(dest.art(legend()), c.expected) << "StretchDIBits";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Stretch, ::testing::ValuesIn(kStretchCases), [](const auto& info) {
    std::string name;
    for (const char* p = info.param.name; *p; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
});

// Stretching into a clip rectangle draws exactly the pixels the unclipped stretch would there.
TEST(Stretch, ClippingDoesNotMoveSamples) {
    Canvas source(3, 1, 24);
    Canvas dest(7, 1, 24);
    source.paint({"ABC"}, kPaint);
    dest.fill(kPaint.at('.'));
    ASSERT_EQ(IntersectClipRect(dest.dc(), 2, 0, 5, 1), SIMPLEREGION);
    ASSERT_TRUE(StretchBlt(dest.dc(), 0, 0, 7, 1, source.dc(), 0, 0, 3, 1, SRCCOPY));
    EXPECT_EQ(dest.art(legend()), std::vector<std::string>{"..BBB.."});
}

// A large enlargement seen through a small window (as a tiled drawing would ask for it).
TEST(Stretch, FarOutsideTheSurfaceOnlyTheVisiblePartIsDrawn) {
    Canvas source(10, 10, 24);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) source.set(x, y, static_cast<Rgb>(x * 16 + y));
    Canvas dest(6, 4, 24);
    // 10 x 10 -> 5000 x 5000 at (-2497, -1000): destination pixel (x, y) takes source
    // ((x + 2497) / 500, (y + 1000) / 500) = (4 or 5, 2).
    ASSERT_TRUE(StretchBlt(dest.dc(), -2497, -1000, 5000, 5000, source.dc(), 0, 0, 10, 10, SRCCOPY));
    for (int x = 0; x < 6; ++x) {
        EXPECT_EQ(dest.at(x, 0), static_cast<Rgb>((x < 3 ? 4 : 5) * 16 + 2)) << x;
    }
}

// A 1:1 BitBlt at every edge: what lands where, checked against a reference written here.
TEST(BitBlt, ClipsToDestinationClipRectangleAndSource) {
    struct Case {
        const char* name;
        int x, y, w, h, sx, sy;
        RECT clip;  // {0,0,0,0}: none
    };
    const Case cases[] = {
        {"inside", 1, 1, 3, 2, 0, 0, {}},
        {"off the left", -2, 1, 4, 3, 0, 0, {}},
        {"off the top", 1, -3, 4, 5, 0, 0, {}},
        {"off the right", 4, 0, 4, 4, 0, 0, {}},
        {"off the bottom", 0, 3, 5, 5, 0, 0, {}},
        {"over everything", -10, -10, 40, 40, -9, -9, {}},
        {"source off the left", 0, 0, 5, 5, -2, 0, {}},
        {"source off the top", 0, 0, 5, 5, 0, -3, {}},
        {"source off the right", 0, 0, 6, 5, 3, 0, {}},
        {"source off the bottom", 0, 0, 5, 6, 0, 2, {}},
        {"clip rectangle inside", 0, 0, 6, 5, 0, 0, {1, 1, 4, 3}},
        {"clip rectangle across the right edge", 0, 0, 6, 5, 0, 0, {3, 2, 40, 40}},
        {"empty clip rectangle", 0, 0, 6, 5, 0, 0, {2, 2, 2, 4}},
        {"negative extent", 4, 3, -3, -2, 2, 2, {}},
    };
    constexpr int kW = 6, kH = 5;
    constexpr Rgb kUntouched = 0x808080;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas source(4, 4, 24);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                source.set(x, y, static_cast<Rgb>(0x100000 * (x + 1) + 0x10 * (y + 1)));
        Canvas dest(kW, kH, 24);
        dest.fill(kUntouched);
        if (c.clip.right != 0)
            IntersectClipRect(dest.dc(), c.clip.left, c.clip.top, c.clip.right, c.clip.bottom);
        ASSERT_TRUE(BitBlt(dest.dc(), c.x, c.y, c.w, c.h, source.dc(), c.sx, c.sy, SRCCOPY));
        // Reference: normalise the rectangle, then each destination pixel inside it, the clip and
        // the surface takes the source pixel at the same offset, if the source has one.
        const int left = c.w < 0 ? c.x + c.w : c.x, top = c.h < 0 ? c.y + c.h : c.y;
        const int sl = c.w < 0 ? c.sx + c.w : c.sx, st = c.h < 0 ? c.sy + c.h : c.sy;
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x) {
                Rgb want = kUntouched;
                const bool inRect =
                    x >= left && x < left + std::abs(c.w) && y >= top && y < top + std::abs(c.h);
                const bool inClip = c.clip.right == 0 || (x >= c.clip.left && x < c.clip.right &&
                                                          y >= c.clip.top && y < c.clip.bottom);
                const int fx = x - left + sl, fy = y - top + st;
                if (inRect && inClip && fx >= 0 && fx < 4 && fy >= 0 && fy < 4) want = source.at(fx, fy);
                ASSERT_EQ(dest.at(x, y), want) << x << "," << y;
            }
        }
    }
}

// Coordinates beyond 2^27 are refused before anything is drawn, whichever call carries them.
TEST(BitBlt, RefusesCoordinatesBeyondTheRange) {
    Canvas source(2, 2, 24);
    Canvas dest(2, 2, 24);
    dest.fill(0x123456);
    const int huge = 1 << 28;
    EXPECT_FALSE(BitBlt(dest.dc(), huge, 0, 1, 1, source.dc(), 0, 0, SRCCOPY));
    EXPECT_FALSE(StretchBlt(dest.dc(), 0, 0, 2, 2, source.dc(), 0, 0, INT32_MAX, 2, SRCCOPY));
    EXPECT_FALSE(StretchBlt(dest.dc(), 0, 0, INT32_MIN, 2, source.dc(), 0, 0, 2, 2, SRCCOPY));
    EXPECT_FALSE(PatBlt(dest.dc(), -huge, 0, huge, 2, BLACKNESS));
    EXPECT_EQ(StretchDIBits(dest.dc(), 0, 0, 2, 2, 0, 0, 2, huge, source.bits(), source.info().info(),
                            DIB_RGB_COLORS, SRCCOPY),
              0);
    HDRAWDIB dd = DrawDibOpen();
    EXPECT_FALSE(DrawDibDraw(dd, dest.dc(), 0, 0, INT32_MAX, 2,
                             const_cast<BITMAPINFOHEADER*>(&source.info().header), source.bits(), 0, 0, 2, 2,
                             0));
    DrawDibClose(dd);
    EXPECT_EQ(dest.at(0, 0), 0x123456u);

    // The last values allowed on either side, and one past them, as an edge, an extent or the
    // edge an extent reaches.
    const int limit = 1 << 27;
    struct Case {
        const char* what;
        int x, width;
        bool allowed;
    };
    const Case cases[] = {
        {"the largest extent", 0, limit, true},
        {"one more", 0, limit + 1, false},
        {"the lowest edge", -limit, 1, true},
        {"one lower", -limit - 1, 1, false},
        {"an extent reaching one past the largest edge", 1, limit, false},
        {"the largest negative extent", 0, -limit, true},
        {"one more negative", 0, -limit - 1, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StretchBlt(dest.dc(), c.x, 0, c.width, 2, source.dc(), 0, 0, 2, 2, SRCCOPY), c.allowed)
            << c.what;
    }
}

TEST(BitBlt, OverlappingCopyWithinOneSurface) {
    Canvas canvas(6, 1, 8, {0x000000, 0x010101, 0x020202, 0x030303, 0x040404, 0x050505, 0x060606});
    for (int x = 0; x < 6; ++x) canvas.setRaw(x, 0, static_cast<uint32_t>(x + 1));
    ASSERT_TRUE(BitBlt(canvas.dc(), 1, 0, 5, 1, canvas.dc(), 0, 0, SRCCOPY));
    std::vector<uint32_t> got;
    for (int x = 0; x < 6; ++x) got.push_back(canvas.raw(x, 0));
    EXPECT_EQ(got, (std::vector<uint32_t>{1, 1, 2, 3, 4, 5}));
    ASSERT_TRUE(BitBlt(canvas.dc(), 0, 0, 5, 1, canvas.dc(), 1, 0, SRCCOPY));
    got.clear();
    for (int x = 0; x < 6; ++x) got.push_back(canvas.raw(x, 0));
    EXPECT_EQ(got, (std::vector<uint32_t>{1, 2, 3, 4, 5, 5}));
}

// A block moved over itself in any direction shows the pixels as they were before the move, on
// surfaces stored either way, at whole-byte depths, and inside a clipping rectangle or a region
// of several rectangles (drawn piece by piece, so one piece must not read what another wrote).
TEST(BitBlt, OverlappingMovesWithinOneSurfaceReadThePixelsBeforeTheMove) {
    const std::vector<std::string> picture = {"ABCDEF", "BCDEFA", "CDEFAB", "DEFABC", "EFABCD"};
    const int width = 6, height = 5;
    struct Move {
        const char* what;
        int dx, dy;
    };
    const Move moves[] = {{"down", 0, 2},       {"up", 0, -1},        {"right", 2, 0},
                          {"left", -1, 0},      {"down right", 1, 1}, {"up left", -2, -1},
                          {"down left", -1, 2}, {"up right", 1, -2},  {"in place", 0, 0}};
    enum class Clip { None, Rectangle, Region };
    for (const int bpp : {8, 16, 24, 32}) {
        for (const bool topDown : {true, false}) {
            for (const Clip clip : {Clip::None, Clip::Rectangle, Clip::Region}) {
                for (const Move& m : moves) {
                    SCOPED_TRACE(std::string(m.what) + ", " + std::to_string(bpp) + " bits, " +
                                 (topDown ? "top-down" : "bottom-up") + ", clip " +
                                 std::to_string(static_cast<int>(clip)));
                    std::vector<Rgb> table;
                    for (const auto& entry : kPaint) table.push_back(entry.second);
                    Canvas canvas(width, height, bpp, bpp == 8 ? table : std::vector<Rgb>{}, topDown);
                    ASSERT_TRUE(canvas.ok());
                    canvas.paint(picture, kPaint);
                    // The clip: everything, all but the outer ring, or that less its middle.
                    auto inside = [&](int x, int y) {
                        if (clip == Clip::None) return true;
                        const bool ring = x == 0 || y == 0 || x == width - 1 || y == height - 1;
                        return !ring && !(clip == Clip::Region && y == 2 && x >= 2 && x <= 3);
                    };
                    if (clip != Clip::None) {
                        const winplat::OwnedRegion region(CreateRectRgn(1, 1, width - 1, height - 1));
                        if (clip == Clip::Region) {
                            const winplat::OwnedRegion hole(CreateRectRgn(2, 2, 4, 3));
                            CombineRgn(region.get(), region.get(), hole.get(), RGN_DIFF);
                        }
                        ASSERT_NE(SelectClipRgn(canvas.dc(), region.get()), ERROR);
                    }
                    // The whole surface moved by (dx, dy): the part that lands on it is drawn.
                    ASSERT_TRUE(BitBlt(canvas.dc(), m.dx, m.dy, width, height, canvas.dc(), 0, 0, SRCCOPY));
                    std::vector<std::string> expected = picture;
                    for (int y = 0; y < height; ++y) {
                        for (int x = 0; x < width; ++x) {
                            const int sx = x - m.dx, sy = y - m.dy;
                            if (sx >= 0 && sy >= 0 && sx < width && sy < height && inside(x, y))
                                expected[y][x] = picture[sy][sx];
                        }
                    }
                    EXPECT_EQ(canvas.art(legend()), expected);
                }
            }
        }
    }
}

// Whole rows of a large surface moved over themselves, a row or many at a time: surfaces whose
// rows have no padding are moved as one run of bytes, in pieces of a fraction of a megabyte, so
// the pieces must go in the order that reads every byte before it is overwritten.
TEST(BitBlt, LongMovesOfWholeRowsWithinOneSurface) {
    const int width = 512, height = 700;  // 32 bits: 2048-byte rows, 1.4 MB
    auto valueAt = [](int x, int y) {
        return static_cast<uint32_t>(x * 40503u + y * 2654435761u) & 0xFFFFFF;
    };
    for (const bool topDown : {true, false}) {
        for (const int dy : {1, -1, 300, -300, 699}) {
            SCOPED_TRACE(std::string(topDown ? "top-down" : "bottom-up") + ", moved by " +
                         std::to_string(dy));
            Canvas canvas(width, height, 32, {}, topDown);
            ASSERT_TRUE(canvas.ok());
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) canvas.setRaw(x, y, valueAt(x, y));
            ASSERT_TRUE(BitBlt(canvas.dc(), 0, dy, width, height, canvas.dc(), 0, 0, SRCCOPY));
            int wrong = 0;
            for (int y = 0; y < height; ++y) {
                const int from = y - dy >= 0 && y - dy < height ? y - dy : y;  // rows not drawn keep theirs
                for (int x = 0; x < width; ++x) {
                    if ((canvas.raw(x, y) & 0xFFFFFF) != valueAt(x, from) && wrong++ < 3)
                        ADD_FAILURE() << "pixel " << x << "," << y << " is not that of row " << from;
                }
            }
            EXPECT_EQ(wrong, 0);
        }
    }
}

TEST(BitBlt, RefusesMissingSourceOnlyWhenTheOperationNeedsOne) {
    Canvas dest(2, 2, 24);
    dest.fill(0x123456);
    EXPECT_FALSE(BitBlt(dest.dc(), 0, 0, 2, 2, nullptr, 0, 0, SRCCOPY));
    EXPECT_EQ(dest.at(0, 0), 0x123456u);
    EXPECT_TRUE(BitBlt(dest.dc(), 0, 0, 2, 2, nullptr, 0, 0, DSTINVERT));
    EXPECT_EQ(dest.at(1, 1), 0xEDCBA9u);
    winplat::testing::ScopedDebugAsserts off(false);  // a metafile source is unsupported
    HDC metafile = winplat::testing::createMetafileDc();
    EXPECT_FALSE(BitBlt(dest.dc(), 0, 0, 2, 2, metafile, 0, 0, SRCCOPY))
        << "a metafile has no pixels to read";
    DeleteDC(metafile);
}

// SetDIBitsToDevice: scan lines are numbered from the bottom of a bottom-up DIB (from the top of
// a top-down one), the bits may hold only a band of them, and the source y counts as the scan
// lines do.
TEST(SetDIBitsToDevice, BandsAndSourceOrigins) {
    const std::vector<std::string> picture = {"AB", "CD", "EF", "BA"};  // rows from the top
    Canvas bottomUp(2, 4, 24, {}, false);
    Canvas topDown(2, 4, 24, {}, true);
    bottomUp.paint(picture, kPaint);
    topDown.paint(picture, kPaint);
    const size_t stride = dibtest::strideOf(2, 24);
    struct Case {
        const char* name;
        const Canvas* dib;
        int width, height, sy;
        UINT startScan, scanLines;
        const uint8_t* bits;
        int returned;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"whole, bottom-up", &bottomUp, 2, 4, 0, 0, 4, bottomUp.bits(), 4, {"AB", "CD", "EF", "BA"}},
        {"whole, top-down", &topDown, 2, 4, 0, 0, 4, topDown.bits(), 4, {"AB", "CD", "EF", "BA"}},
        // Scan lines 1 and 2 of a bottom-up DIB are the rows "EF" and "CD", stored in that order.
        {"a band of two lines",
         &bottomUp,
         2,
         4,
         0,
         1,
         2,
         bottomUp.bits() + stride,
         2,
         {"..", "CD", "EF", ".."}},
        {"the bottom two lines", &bottomUp, 2, 2, 0, 0, 4, bottomUp.bits(), 4, {"EF", "BA", "..", ".."}},
        {"the top two rows of a top-down DIB",
         &topDown,
         2,
         2,
         0,
         0,
         4,
         topDown.bits(),
         4,
         {"AB", "CD", "..", ".."}},
        {"a band past the end",
         &bottomUp,
         2,
         4,
         0,
         3,
         9,
         bottomUp.bits() + 3 * stride,
         1,
         {"AB", "..", "..", ".."}},
        {"a band beyond the picture", &bottomUp, 2, 4, 0, 4, 1, bottomUp.bits(), 0, {"..", "..", "..", ".."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas dest(2, 4, 24);
        dest.fill(kPaint.at('.'));
        EXPECT_EQ(
            SetDIBitsToDevice(dest.dc(), 0, 0, static_cast<DWORD>(c.width), static_cast<DWORD>(c.height), 0,
                              c.sy, c.startScan, c.scanLines, c.bits, c.dib->info().info(), DIB_RGB_COLORS),
            c.returned);
        EXPECT_EQ(dest.art(legend()), c.expected);
    }
}

// Monochrome to colour: 0 is the destination DC's text colour, 1 its background colour.
TEST(MonochromeConversion, MonochromeBitmapTakesTheDestinationColours) {
    const uint8_t rows[4] = {0xA0, 0, 0x50, 0};  // "1010", "0101" (rows of two bytes)
    HBITMAP mono = CreateBitmap(4, 2, 1, 1, rows);
    HDC monoDc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(monoDc, mono);
    SetTextColor(monoDc, RGB(0, 255, 0));  // the source DC's colours play no part
    SetBkColor(monoDc, RGB(255, 255, 0));
    for (int bpp : {8, 16, 24, 32}) {
        SCOPED_TRACE(bpp);
        std::vector<Rgb> table;
        if (bpp == 8) table = {0x000000, 0xFF0000, 0x0000FF, 0xFFFFFF};
        Canvas dest(4, 2, bpp, table);
        SetTextColor(dest.dc(), RGB(255, 0, 0));
        SetBkColor(dest.dc(), RGB(0, 0, 255));
        ASSERT_TRUE(BitBlt(dest.dc(), 0, 0, 4, 2, monoDc, 0, 0, SRCCOPY));
        EXPECT_EQ(dest.art({{0xFF0000, 'T'}, {0x0000FF, 'B'}}), (std::vector<std::string>{"BTBT", "TBTB"}));
    }
    SelectObject(monoDc, old);
    DeleteDC(monoDc);
    DeleteObject(mono);
}

// Colour to monochrome: the source DC's background colour becomes 1 (white), all else 0.
TEST(MonochromeConversion, SourceBackgroundColourBecomesWhite) {
    for (int bpp : {4, 8, 16, 24, 32}) {
        SCOPED_TRACE(bpp);
        std::vector<Rgb> table;
        if (bpp <= 8) table = {0x000000, 0x336699, 0x336698, 0xFFFFFF};
        Canvas source(4, 1, bpp, table);
        // 0x336699 holds exactly at 16 bits only in its 5-bit channels: pick a 5-5-5 colour.
        const Rgb background = bpp == 16 ? 0x31639C : 0x336699;
        const Rgb near = bpp == 16 ? 0x29639C : 0x336698;
        auto put = [&](int x, Rgb c) {
            if (bpp <= 8) {
                source.setRaw(x, 0, c == background ? 1 : c == near ? 2 : c == kWhite ? 3 : 0);
            } else {
                source.set(x, 0, c);
            }
        };
        put(0, background);
        put(1, near);
        put(2, background);
        put(3, kWhite);
        SetBkColor(source.dc(), ref(background));
        HBITMAP mono = CreateBitmap(4, 1, 1, 1, nullptr);
        HDC monoDc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(monoDc, mono);
        SetBkColor(monoDc, RGB(255, 255, 255));  // the destination's background plays no part
        ASSERT_TRUE(BitBlt(monoDc, 0, 0, 4, 1, source.dc(), 0, 0, SRCCOPY));
        std::string bits;
        for (int x = 0; x < 4; ++x) bits += GetPixel(monoDc, x, 0) == RGB(255, 255, 255) ? '1' : '0';
        EXPECT_EQ(bits, "1010") << "only exact background pixels; white itself is not the background";
        SelectObject(monoDc, old);
        DeleteDC(monoDc);
        DeleteObject(mono);
    }
}

TEST(MonochromeConversion, MonochromeToMonochromeCopiesBits) {
    Canvas source(8, 1, 1, {0xFF0000, 0x0000FF});  // a 1-bit DIB whose colours are not black and white
    source.bits()[0] = 0xB4;
    HBITMAP mono = CreateBitmap(8, 1, 1, 1, nullptr);
    HDC monoDc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(monoDc, mono);
    ASSERT_TRUE(BitBlt(monoDc, 0, 0, 8, 1, source.dc(), 0, 0, SRCCOPY));
    std::string bits;
    for (int x = 0; x < 8; ++x) bits += GetPixel(monoDc, x, 0) == RGB(255, 255, 255) ? '1' : '0';
    EXPECT_EQ(bits, "10110100");
    SelectObject(monoDc, old);
    DeleteDC(monoDc);
    DeleteObject(mono);
}

// Pixels of less than a byte copied onto the same format (one colour table, so the values stay):
// runs starting and ending at every place inside a byte, copied, enlarged, reduced and mirrored,
// onto surfaces stored either way. Each drawn pixel holds the source pixel the sampling rule
// names; every other pixel, including those sharing a byte with the run, keeps its value.
TEST(SubBytePixels, CopiesKeepTheValuesAndTheNeighbours) {
    struct Case {
        const char* what;
        int x, w, sx, sw;  // across; down the same extents from rows 1 and 2
    };
    const Case cases[] = {
        {"one pixel", 3, 1, 5, 1},     {"inside one byte", 1, 5, 2, 5},    {"across bytes", 3, 13, 6, 13},
        {"whole bytes", 8, 16, 0, 16}, {"ending on a byte", 5, 11, 1, 11}, {"enlarged", 2, 17, 4, 7},
        {"reduced", 7, 9, 1, 20},      {"mirrored", 20, -11, 3, 11},       {"to the right edge", 27, 5, 0, 5},
    };
    for (const int bpp : {1, 4}) {
        const int values = 1 << bpp;
        std::vector<Rgb> table;
        for (int i = 0; i < values; ++i) table.push_back(static_cast<Rgb>(0x010203 * (i + 1)));
        for (const bool sourceTopDown : {true, false}) {
            for (const bool destTopDown : {true, false}) {
                for (const Case& c : cases) {
                    SCOPED_TRACE(std::string(c.what) + ", " + std::to_string(bpp) + " bits" +
                                 (sourceTopDown ? ", source top-down" : ", source bottom-up") +
                                 (destTopDown ? ", destination top-down" : ", destination bottom-up"));
                    Canvas source(32, 24, bpp, table, sourceTopDown);
                    Canvas dest(32, 24, bpp, table, destTopDown);
                    ASSERT_TRUE(source.ok() && dest.ok());
                    for (int y = 0; y < 24; ++y) {
                        for (int x = 0; x < 32; ++x) {
                            source.setRaw(x, y, static_cast<uint32_t>((x * 7 + y * 3) % values));
                            dest.setRaw(x, y, static_cast<uint32_t>((x + 2 * y + 1) % values));
                        }
                    }
                    std::vector<uint32_t> before;
                    for (int y = 0; y < 24; ++y)
                        for (int x = 0; x < 32; ++x) before.push_back(dest.raw(x, y));
                    ASSERT_TRUE(SetStretchBltMode(dest.dc(), COLORONCOLOR));
                    const int span = std::abs(c.w);
                    const int top = c.w < 0 ? 1 + span : 1;  // a negative extent runs upwards from there
                    ASSERT_TRUE(
                        StretchBlt(dest.dc(), c.x, top, c.w, c.w, source.dc(), c.sx, 2, c.sw, c.sw, SRCCOPY));
                    // Destination pixel i of |w| along an axis takes floor((2i + 1) * sw / (2|w|)),
                    // counted from the far end when mirrored.
                    const int left = c.w < 0 ? c.x + c.w : c.x;
                    auto sample = [&](int i, bool mirror) {
                        const int near = (2 * i + 1) * c.sw / (2 * span);
                        return mirror ? c.sw - 1 - near : near;
                    };
                    int wrong = 0;
                    for (int y = 0; y < 24; ++y) {
                        for (int x = 0; x < 32; ++x) {
                            const int i = x - left, j = y - 1;
                            const bool drawn = i >= 0 && i < span && j >= 0 && j < span;
                            const uint32_t want =
                                drawn ? source.raw(c.sx + sample(i, c.w < 0), 2 + sample(j, c.w < 0))
                                      : before[static_cast<size_t>(y) * 32 + x];
                            if (dest.raw(x, y) != want && wrong++ < 3)
                                ADD_FAILURE() << "pixel " << x << "," << y << ": " << dest.raw(x, y)
                                              << " not " << want << (drawn ? " (drawn)" : " (outside)");
                        }
                    }
                    EXPECT_EQ(wrong, 0);
                }
            }
        }
    }
}

// A DIB's own colour table gives its colours, even at 1 bit; indexed destinations take the
// nearest entry of their table.
TEST(DibColours, ComeFromTheDibsTable) {
    Canvas picture(4, 1, 1, {0xFF0000, 0x0000FF});
    picture.bits()[0] = 0x50;  // 0101
    Canvas dest(4, 1, 8, {0x000000, 0xFE0101, 0x0000F0, 0xFFFFFF});
    ASSERT_EQ(StretchDIBits(dest.dc(), 0, 0, 4, 1, 0, 0, 4, 1, picture.bits(), picture.info().info(),
                            DIB_RGB_COLORS, SRCCOPY),
              1);
    std::vector<uint32_t> got;
    for (int x = 0; x < 4; ++x) got.push_back(dest.raw(x, 0));
    EXPECT_EQ(got, (std::vector<uint32_t>{1, 2, 1, 2}));
}

TEST(DibColours, BitFieldsAndSixteenBitSources) {
    const DWORD masks565[3] = {0xF800, 0x07E0, 0x001F};
    Canvas picture(2, 1, 16, {}, true, BI_BITFIELDS, masks565);
    picture.setRaw(0, 0, 0xF800);  // full red
    picture.setRaw(1, 0, 0x07E0);  // full green
    Canvas dest(2, 1, 24);
    ASSERT_EQ(StretchDIBits(dest.dc(), 0, 0, 2, 1, 0, 0, 2, 1, picture.bits(), picture.info().info(),
                            DIB_RGB_COLORS, SRCCOPY),
              1);
    EXPECT_EQ(dest.at(0, 0), 0xFF0000u);
    EXPECT_EQ(dest.at(1, 0), 0x00FF00u);
}

// The masked-icon idiom: AND the mask with black text and a white background (1 keeps what is
// there, 0 clears it), then OR the picture (black where transparent). The result must be the
// picture over the old contents, exactly, on colour and palette screens alike.
TEST(MaskedIcon, AndThenOrIsExact) {
    const std::vector<std::string> mask = {"1001", "0000", "1111", "0110"};
    const std::vector<std::string> picture = {"kABk", "CDEF", "kkkk", "AkkB"};
    const std::vector<std::string> expected = {".AB.", "CDEF", "....", "A..B"};
    std::map<char, Rgb> colours = kPaint;
    colours['k'] = kBlack;
    uint8_t maskRows[8] = {};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            if (mask[y][x] == '1') maskRows[y * 2] = static_cast<uint8_t>(maskRows[y * 2] | (0x80 >> x));
    HBITMAP maskBitmap = CreateBitmap(4, 4, 1, 1, maskRows);
    HDC maskDc = CreateCompatibleDC(nullptr);
    HGDIOBJ oldMask = SelectObject(maskDc, maskBitmap);
    Canvas image(4, 4, 24);
    image.paint(picture, colours);

    for (int bpp : {4, 8, 16, 24, 32}) {
        SCOPED_TRACE(bpp);
        HDC screen = winplat::testing::createDisplayDc(6, 6, bpp);
        ASSERT_TRUE(screen);
        // Old contents: '.' (grey) everywhere, drawn with a brush, then the icon at (1, 1).
        HBRUSH grey = CreateSolidBrush(ref(kPaint.at('.')));
        RECT all{0, 0, 6, 6};
        FillRect(screen, &all, grey);
        DeleteObject(grey);
        SetTextColor(screen, RGB(0, 0, 0));
        SetBkColor(screen, RGB(255, 255, 255));
        ASSERT_TRUE(BitBlt(screen, 1, 1, 4, 4, maskDc, 0, 0, SRCAND));
        ASSERT_TRUE(BitBlt(screen, 1, 1, 4, 4, image.dc(), 0, 0, SRCPAINT));
        const COLORREF before = GetPixel(screen, 0, 0);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 4; ++x) {
                const COLORREF want = expected[y][x] == '.' ? before : ref(colours.at(expected[y][x]));
                EXPECT_EQ(GetPixel(screen, x + 1, y + 1), want) << x << "," << y;
            }
        }
        DeleteDC(screen);
    }
    SelectObject(maskDc, oldMask);
    DeleteDC(maskDc);
    DeleteObject(maskBitmap);
}

}  // namespace
