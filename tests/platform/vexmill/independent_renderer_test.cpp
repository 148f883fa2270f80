// The same small metafiles drawn by the player and by independent renderers (libwmf's wmf2gd and
// wmf2svg), compared coarsely, never by exact pixels:
// - by grid: wmf2gd's picture and ours split into a 4 x 4 grid, the colour at each cell's centre
//   sorted into white, red, green, blue or other; the shapes keep their edges away from cell
//   centres, so rounding and smoothing of either renderer do not change a cell;
// - by box: for what wmf2gd draws wrongly or not at all (filled ellipses, windows with negative
//   extents), the box of the last shape wmf2svg writes against the box of our red pixels, within
//   two pixels.
#include <array>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <functional>
#include <string>
#include <vector>

#include "support/tool_runner.h"
#include "vexmill_fixture.h"
#include "winplat_harness/harness.h"

namespace vxtest {
namespace {

enum Tone : char { W = 'w', R = 'r', G = 'g', B = 'b', O = '?' };

Tone toneOf(int red, int green, int blue) {
    auto high = [](int v) { return v > 180; };
    auto low = [](int v) { return v < 90; };
    if (high(red) && high(green) && high(blue)) return W;
    if (high(red) && low(green) && low(blue)) return R;
    if (low(red) && high(green) && low(blue)) return G;
    if (low(red) && low(green) && high(blue)) return B;
    return O;
}

// The 16 cells' tones, row by row, of a picture 'width' x 'height' read through 'at'.
template <class At>
std::string grid(int width, int height, At at) {
    std::string cells;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) cells += char(at((2 * column + 1) * width / 8, (2 * row + 1) * height / 8));
    return cells;
}

struct Case {
    const char* name;
    std::function<void(Metafile&)> records;
    bool byBox = false;
};

// The box (left, top, right, bottom) of the last rectangle or ellipse of an SVG file of wmf2svg;
// a negative width or height counts from the other side.
std::optional<std::array<double, 4>> lastShapeBox(const std::string& svg) {
    const size_t rect = svg.rfind("<rect"), ellipse = svg.rfind("<ellipse");
    const bool isEllipse = ellipse != std::string::npos && (rect == std::string::npos || ellipse > rect);
    const size_t at = isEllipse ? ellipse : rect;
    if (at == std::string::npos) return std::nullopt;
    auto number = [&](const char* name) {
        const size_t p = svg.find(std::string(" ") + name + "=\"", at);
        return p == std::string::npos ? NAN : std::strtod(svg.c_str() + p + std::strlen(name) + 3, nullptr);
    };
    if (isEllipse) {
        const double cx = number("cx"), cy = number("cy"), rx = std::fabs(number("rx")), ry = std::fabs(number("ry"));
        return std::array<double, 4>{cx - rx, cy - ry, cx + rx, cy + ry};
    }
    const double x = number("x"), y = number("y"), w = number("width"), h = number("height");
    return std::array<double, 4>{std::min(x, x + w), std::min(y, y + h), std::max(x, x + w), std::max(y, y + h)};
}

Metafile frame() {
    Metafile m;
    m.placeable(0, 0, 400, 400, 96).window(0, 0, 400, 400);
    // A white ground over the whole box first: the other renderer sizes its image by what is drawn.
    m.pen(5, 0, 0).select(0).brush(0, kWhite).select(1).rect(kRectangle, 0, 0, 401, 401);
    m.record(kDeleteObject, {1}).brush(0, kRed).select(1);
    return m;
}

const Case kCases[] = {
    {"rectangle", [](Metafile& m) { m.rect(kRectangle, 0, 0, 200, 200); }},
    {"ellipse", [](Metafile& m) { m.rect(kEllipse, 40, 20, 360, 300); }, true},
    {"triangle", [](Metafile& m) { m.points(kPolygon, {{0, 0}, {400, 0}, {0, 400}}); }},
    {"flipped window", [](Metafile& m) { m.window(0, 400, 400, -400).rect(kRectangle, 0, 0, 200, 100); }, true},
    {"mirrored window", [](Metafile& m) { m.window(400, 0, -400, 400).rect(kRectangle, 0, 0, 100, 300); }, true},
    {"flipped both ways", [](Metafile& m) { m.window(400, 400, -400, -400).rect(kEllipse, 20, 40, 120, 300); }, true},
    {"pie", [](Metafile& m) { m.record(kPie, {0, 200, 200, 400, 400, 400, 0, 0}); }},
    {"colours", [](Metafile& m) {
         m.rect(kRectangle, 0, 0, 200, 400).brush(0, kGreen).select(2).rect(kRectangle, 200, 0, 400, 200);
         m.brush(0, kBlue).select(3).rect(kRectangle, 200, 200, 400, 400);
     }},
    {"bitmap", [](Metafile& m) {
         Bytes p;
         put32(p, 0x00CC0020u);
         put16(p, 0);
         // Quarters of 8 x 8 pixels: the other renderer smooths, which blends only near the seams.
         std::vector<uint32_t> pixels;
         for (int y = 0; y < 16; ++y)
             for (int x = 0; x < 16; ++x) pixels.push_back(y < 8 ? (x < 8 ? 0xFF0000 : 0x00FF00) : (x < 8 ? 0x0000FF : 0xFFFFFF));
         for (int w : {16, 16, 0, 0, 400, 400, 0, 0}) put16(p, uint32_t(w));
         const Bytes dib = packedDib24(16, 16, pixels);
         p.insert(p.end(), dib.begin(), dib.end());
         m.raw(kStretchDib, p);
     }},
};

class IndependentRenderer : public VexmillTest, public ::testing::WithParamInterface<Case> {};

TEST_P(IndependentRenderer, AgreesCoarsely) {
    REQUIRE_TOOLS("libwmf-bin", "wmf2gd", "wmf2svg");
    Metafile m = frame();
    GetParam().records(m);
    const Bytes bytes = m.bytes();
    file("case.wmf", bytes);
    const std::string input = tool_runner::quoted(hostPath("case.wmf"));
    if (GetParam().byBox) {
        const auto svg = tool_runner::capture("wmf2svg -o " + tool_runner::quoted(hostPath("case.svg")) + " " + input +
                                              " && cat " + tool_runner::quoted(hostPath("case.svg")));
        ASSERT_TRUE(svg.ok()) << "wmf2svg failed";
        const auto theirs = lastShapeBox(svg.output);
        ASSERT_TRUE(theirs) << svg.output;
        Canvas canvas(400, 400);
        draw(bytes, canvas, 0, 0, 400, 400);
        int box[4] = {400, 400, -1, -1};
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 400; ++x)
                if (canvas.at(x, y) == kRed) box[0] = std::min(box[0], x), box[1] = std::min(box[1], y),
                                              box[2] = std::max(box[2], x + 1), box[3] = std::max(box[3], y + 1);
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(box[i], (*theirs)[i], 2.0) << "side " << i;
        return;
    }
    const auto png = hostPath("case.png");
    const auto made = tool_runner::capture("wmf2gd -t png -o " + tool_runner::quoted(png) + " " + input,
                                           tool_runner::Errors::Merge);
    ASSERT_TRUE(made.ok()) << made.output;
    std::string error;
    const auto theirs = winplat::test::readPng(png.string(), &error);
    ASSERT_TRUE(theirs) << error;
    const std::string expected = grid(theirs->width, theirs->height, [&](int x, int y) {
        const uint32_t c = theirs->at(x, y);
        return toneOf(int(c >> 16 & 0xFF), int(c >> 8 & 0xFF), int(c & 0xFF));
    });
    Canvas canvas(theirs->width, theirs->height);
    draw(bytes, canvas, 0, 0, theirs->width, theirs->height);
    const std::string ours = grid(theirs->width, theirs->height, [&](int x, int y) {
        const COLORREF c = canvas.at(x, y);
        return toneOf(GetRValue(c), GetGValue(c), GetBValue(c));
    });
    EXPECT_EQ(ours, expected);
    EXPECT_NE(expected, std::string(16, W)) << "the other renderer drew nothing";
}

INSTANTIATE_TEST_SUITE_P(Pictures, IndependentRenderer, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string name;
    for (const char* c = info.param.name; *c; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
});

}  // namespace
}  // namespace vxtest
