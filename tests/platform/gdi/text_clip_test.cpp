// Text cut by the clip. Glyphs of real faces are many boxes of ink each, and text output writes a
// glyph the clip's rectangle holds whole without cutting it box by box: whatever the clip, every
// pixel drawn must be the pixel the same text drawn without a clip has there, and nothing outside
// the clip may change. A clip with a one-pixel hole in a corner the text never reaches draws the
// whole line box by box through the region, which the unclipped drawing must match exactly.
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "canvas.h"
#include "real_font_helpers.h"
#include "text_helpers.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"
#include "winplat/region.h"
#include "winplat/testing.h"
#include "winplat/text.h"

namespace {

using drawtest::Canvas;
using winplat::OwnedRegion;
using winplat::testing::FontSource;
using winplat::testing::ScopedFontSource;

constexpr int kWidth = 150;
constexpr int kHeight = 30;
// Where the line is drawn (top left of its cell): an italic's overhang stays on the canvas.
constexpr int kX = 4;
constexpr int kY = 3;
// Accented capitals and letters with descenders, round and straight shapes, wide and narrow.
const std::string kLine = "\x8E\xDAP\xF8\xEDli\x9A \x9Elu\x9Do\xE8k\xFD k\xF9\xF2 jW@%Qg";

struct ClipCase {
    const char* name;
    FontSource source;
    LOGFONTA font;
    int bitsPerPixel;
    bool topDown;
};

// clang-format off
const ClipCase kCases[] = {
    {"test face 32 top-down", FontSource::Test, texttest::logFont(-13), 32, true},
    {"test face 24 bottom-up", FontSource::Test, texttest::logFont(-13, FW_NORMAL, true), 24, false},
    {"Arial 13 32 top-down", FontSource::System, texttest::logFont(-13), 32, true},
    {"Arial 13 32 bottom-up", FontSource::System, texttest::logFont(-13), 32, false},
    {"Arial 13 24 top-down", FontSource::System, texttest::logFont(-13), 24, true},
    {"Arial 13 24 bottom-up", FontSource::System, texttest::logFont(-13), 24, false},
    {"Arial 13 16 bottom-up", FontSource::System, texttest::logFont(-13), 16, false},
    {"Arial 20 bold italic 32 bottom-up", FontSource::System, texttest::logFont(-20, FW_BOLD, true), 32, false},
};
// clang-format on

void PrintTo(const ClipCase& c, std::ostream* out) {
    *out << c.name;
}

struct Rect {
    int left, top, right, bottom;
    bool holds(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// The canvas's stored pixels, row by row.
using Pixels = std::vector<uint32_t>;

class TextClip : public ::testing::TestWithParam<ClipCase> {
  protected:
    void SetUp() override {
        const ClipCase& c = GetParam();
        if (c.source == FontSource::System) {
            if (const std::string why = realfont::whyNotReal(c.font, "Liberation Sans"); !why.empty())
                GTEST_SKIP() << why;
        }
        ASSERT_TRUE(canvas_.ok());
        ASSERT_TRUE(font_.ok());
        SetTextColor(canvas_.dc(), RGB(0, 0, 0));
        SetBkMode(canvas_.dc(), TRANSPARENT);
    }

    // The line drawn on a white canvas through the clip (none for null); the clip is let go after.
    Pixels draw(HRGN clip) {
        std::memset(canvas_.bits(), 0xFF, dibtest::imageSizeOf(canvas_.info()));
        EXPECT_NE(SelectClipRgn(canvas_.dc(), clip), ERROR);
        EXPECT_TRUE(TextOutA(canvas_.dc(), kX, kY, kLine.data(), static_cast<int>(kLine.size())));
        SelectClipRgn(canvas_.dc(), nullptr);
        Pixels pixels;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) pixels.push_back(canvas_.raw(x, y));
        return pixels;
    }

    Pixels drawIn(const Rect& r) {
        const OwnedRegion region(CreateRectRgn(r.left, r.top, r.right, r.bottom));
        return draw(region.get());
    }

    // What the clip must leave: the unclipped line where 'inside' says, white elsewhere.
    template <class Inside>
    Pixels cut(const Pixels& whole, const Pixels& white, Inside inside) const {
        Pixels expected = white;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const size_t at = static_cast<size_t>(y) * kWidth + static_cast<size_t>(x);
                if (inside(x, y)) expected[at] = whole[at];
            }
        return expected;
    }

    Pixels white() {
        const OwnedRegion nothing(CreateRectRgn(0, 0, 0, 0));
        return draw(nothing.get());
    }

    Canvas canvas_{kWidth, kHeight, GetParam().bitsPerPixel, {}, GetParam().topDown};
    ScopedFontSource source_{GetParam().source};
    realfont::ScopedFont font_{canvas_.dc(), GetParam().font};
};

TEST_P(TextClip, ARegionDrawsWhatNoClipDraws) {
    const Pixels whole = draw(nullptr);
    EXPECT_NE(whole, white()) << "the line left no ink";
    const OwnedRegion region(CreateRectRgn(0, 0, kWidth, kHeight));
    const OwnedRegion corner(CreateRectRgn(kWidth - 1, kHeight - 1, kWidth, kHeight));
    ASSERT_EQ(CombineRgn(region.get(), region.get(), corner.get(), RGN_DIFF), COMPLEXREGION);
    EXPECT_EQ(draw(region.get()), whole);
}

// Every edge of the clip at every column and row, so that each glyph is cut at each of its
// boxes' edges and held whole with its bounds exactly on the clip's edge.
TEST_P(TextClip, EveryEdgeCutsExactlyThere) {
    const Pixels whole = draw(nullptr);
    const Pixels blank = white();
    for (int column = 0; column <= kWidth; ++column) {
        for (const Rect r : {Rect{0, 0, column, kHeight}, Rect{column, 0, kWidth, kHeight}}) {
            ASSERT_EQ(drawIn(r), cut(whole, blank, [&](int x, int y) { return r.holds(x, y); }))
                << "clip " << r.left << ".." << r.right << " across";
        }
    }
    for (int row = 0; row <= kHeight; ++row) {
        for (const Rect r : {Rect{0, 0, kWidth, row}, Rect{0, row, kWidth, kHeight}}) {
            ASSERT_EQ(drawIn(r), cut(whole, blank, [&](int x, int y) { return r.holds(x, y); }))
                << "clip " << r.top << ".." << r.bottom << " down";
        }
    }
}

// Stripes of a region: every glyph is cut into the pieces each stripe holds.
TEST_P(TextClip, RegionStripesCutEachGlyph) {
    const Pixels whole = draw(nullptr);
    const Pixels blank = white();
    const OwnedRegion stripes(CreateRectRgn(0, 0, 0, 0));
    for (int left = 0; left < kWidth; left += 5) {
        const OwnedRegion stripe(CreateRectRgn(left, 0, left + 3, kHeight));
        ASSERT_NE(CombineRgn(stripes.get(), stripes.get(), stripe.get(), RGN_OR), ERROR);
    }
    EXPECT_EQ(draw(stripes.get()), cut(whole, blank, [](int x, int) { return x % 5 < 3; }));
}

INSTANTIATE_TEST_SUITE_P(Cases, TextClip, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string name = info.param.name;
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return name;
});

}  // namespace
