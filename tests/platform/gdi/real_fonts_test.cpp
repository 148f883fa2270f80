// Smoke tests of real fonts: the classic Windows families through their metric-compatible
// Liberation faces and the fallbacks for unknown families, read and drawn through FreeType. They
// check properties (metrics worked out from the files' own tables, ink inside its cell, bi-level
// pixels, additive extents), never FreeType's pixels against pictures. Each test switches to the
// system's fonts for its scope and skips, saying why, when the real face is not there.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "canvas.h"
#include "real_font_helpers.h"
#include "text_helpers.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/testing.h"
#include "winplat/text.h"

namespace {

using dibtest::kWhite;
using dibtest::Rgb;
using drawtest::Canvas;
using realfont::ScopedFont;
using realfont::whyNotReal;
using texttest::logFont;
using winplat::testing::FontSource;
using winplat::testing::ScopedFontSource;

LOGFONTA named(const char* face, LONG height, LONG weight = FW_NORMAL, bool italic = false) {
    return logFont(height, weight, italic, 0, face);
}

// Where the family stands in for a classic Windows one.
std::string liberationFor(const LOGFONTA& font) {
    const std::string face = font.lfFaceName;
    if (face == "Times New Roman") return "Liberation Serif";
    if (face == "Courier New") return "Liberation Mono";
    return "Liberation Sans";
}

// value * numerator / denominator to the nearest whole number (positive values; the table avoids
// halves, where rounding ways could differ).
int scaled(int value, int numerator, int denominator) {
    return (2 * value * numerator + denominator) / (2 * denominator);
}

// ---------------------------------------------------------------------------------------------
// Metrics

struct MetricsCase {
    const char* name;
    LOGFONTA font;
    // Windows' own font: units per em, win ascent, win descent, xAvgCharWidth.
    realfont::Os2 published;
    bool fixedPitch;
};

// clang-format off
const MetricsCase kMetrics[] = {
    {"Arial em 13", named("Arial", -13), {2048, 1854, 434, 904}, false},
    {"Arial em 20", named("Arial", -20), {2048, 1854, 434, 904}, false},
    {"Arial cell 16", named("Arial", 16), {2048, 1854, 434, 904}, false},
    {"Times New Roman em 13", named("Times New Roman", -13), {2048, 1825, 443, 821}, false},
    {"Times New Roman em 16", named("Times New Roman", -16), {2048, 1825, 443, 821}, false},
    {"Times New Roman cell 20", named("Times New Roman", 20), {2048, 1825, 443, 821}, false},
    {"Courier New em 13", named("Courier New", -13), {2048, 1705, 615, 1229}, true},
    {"Courier New em 20", named("Courier New", -20), {2048, 1705, 615, 1229}, true},
};
// clang-format on

void PrintTo(const MetricsCase& c, std::ostream* out) {
    *out << c.name;
}

class RealMetrics : public ::testing::TestWithParam<MetricsCase> {};

// The em and the cell come from the Windows ascent and descent, which the Liberation files share
// with the fonts they stand in for, so Arial's own numbers must come out. So must the average
// width, which layouts measure with: Liberation 2's tables average every glyph of the file (Sans
// 1187, Serif 1124 units), but the width reported is the weighted average of the lowercase
// letters and the space that Arial's 904 and Times New Roman's 821 are, worked out from the
// advances, which a metric-compatible face shares.
TEST_P(RealMetrics, AreTheWindowsMetricsOfTheFile) {
    ScopedFontSource source(FontSource::System);
    const MetricsCase& c = GetParam();
    const std::string family = liberationFor(c.font);
    if (const std::string why = whyNotReal(c.font, family); !why.empty()) GTEST_SKIP() << why;
    const auto os2 = realfont::readOs2(realfont::regularFile(family));
    ASSERT_TRUE(os2) << "FreeType cannot read the OS/2 table of " << family;
    EXPECT_EQ(os2->unitsPerEm, c.published.unitsPerEm);
    EXPECT_EQ(os2->winAscent, c.published.winAscent);
    EXPECT_EQ(os2->winDescent, c.published.winDescent);

    const winplat::MemoryDc dc(CreateCompatibleDC(nullptr));
    const ScopedFont font(dc.get(), c.font);
    ASSERT_TRUE(font.ok());
    TEXTMETRICA tm{};
    ASSERT_TRUE(GetTextMetricsA(dc.get(), &tm));
    char face[LF_FACESIZE] = {};
    EXPECT_GT(GetTextFaceA(dc.get(), LF_FACESIZE, face), 0);
    EXPECT_STREQ(face, c.font.lfFaceName);

    const int cell = os2->winAscent + os2->winDescent;
    if (c.font.lfHeight < 0) {
        const int em = -c.font.lfHeight;
        EXPECT_EQ(tm.tmAscent, scaled(os2->winAscent, em, os2->unitsPerEm));
        EXPECT_EQ(tm.tmDescent, scaled(os2->winDescent, em, os2->unitsPerEm));
        EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
        EXPECT_EQ(tm.tmInternalLeading, tm.tmHeight - em);
        EXPECT_EQ(tm.tmAveCharWidth, scaled(c.published.avgCharWidth, em, c.published.unitsPerEm));
    } else {
        const int height = c.font.lfHeight;
        EXPECT_EQ(tm.tmHeight, height);
        EXPECT_EQ(tm.tmAscent, scaled(os2->winAscent, height, cell));
        EXPECT_EQ(tm.tmDescent, height - tm.tmAscent);
        EXPECT_EQ(tm.tmAveCharWidth, scaled(c.published.avgCharWidth, height, cell));
    }
    EXPECT_EQ(tm.tmCharSet, EASTEUROPE_CHARSET);
    // Set means variable pitch.
    EXPECT_EQ((tm.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0, c.fixedPitch);
}

INSTANTIATE_TEST_SUITE_P(Fonts, RealMetrics, ::testing::ValuesIn(kMetrics));

// ---------------------------------------------------------------------------------------------
// Drawing

struct FontCase {
    const char* name;
    LOGFONTA font;
};

void PrintTo(const FontCase& c, std::ostream* out) {
    *out << c.name;
}

const FontCase kFonts[] = {
    {"Arial em 13", named("Arial", -13)},
    {"Arial em 13 bold", named("Arial", -13, FW_BOLD)},
    {"Arial em 13 italic", named("Arial", -13, FW_NORMAL, true)},
    {"Times New Roman em 20 bold italic", named("Times New Roman", -20, FW_BOLD, true)},
    {"Courier New em 16", named("Courier New", -16)},
    {"Arial em 27", named("Arial", -27)},
};

// The bounds of every pixel that is not white.
struct Ink {
    int left = 1 << 30;
    int top = 1 << 30;
    int right = -(1 << 30);
    int bottom = -(1 << 30);
    int pixels = 0;
};

Ink inkOf(const Canvas& canvas) {
    Ink ink;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            if (canvas.at(x, y) == kWhite) continue;
            ++ink.pixels;
            ink.left = std::min(ink.left, x);
            ink.top = std::min(ink.top, y);
            ink.right = std::max(ink.right, x + 1);
            ink.bottom = std::max(ink.bottom, y + 1);
        }
    return ink;
}

// A white 32-bit canvas with the font selected, black text on a transparent background.
class RealCanvas {
  public:
    RealCanvas(int width, int height, const LOGFONTA& font)
        : canvas(width, height, 32), selected(canvas.dc(), font) {
        canvas.fill(kWhite);
        SetTextColor(canvas.dc(), RGB(0, 0, 0));
        SetBkMode(canvas.dc(), TRANSPARENT);
    }
    bool ok() const { return canvas.ok() && selected.ok(); }
    HDC dc() const { return canvas.dc(); }

    Canvas canvas;
    ScopedFont selected;
};

// Czech letters in cp1250 beside their base letters: the accent puts ink above the base letter's.
struct Letter {
    unsigned char accented;
    char base;
    const char* name;
};
const Letter kLetters[] = {
    {0xF8, 'r', "r caron"}, {0xF9, 'u', "u ring"},  {0x9A, 's', "s caron"}, {0x8E, 'Z', "Z caron"},
    {0xE8, 'c', "c caron"}, {0xEC, 'e', "e caron"}, {0xE1, 'a', "a acute"}, {0xE9, 'e', "e acute"},
    {0xFD, 'y', "y acute"}, {0xD8, 'R', "R caron"}, {0x8A, 'S', "S caron"}, {0xC8, 'C', "C caron"},
    {0xD9, 'U', "U ring"},  {0xF2, 'n', "n caron"}, {0xDA, 'U', "U acute"}, {0xC1, 'A', "A acute"},
};

class RealGlyphs : public ::testing::TestWithParam<FontCase> {};

// The glyph drawn alone at (x, y) with its ink's bounds; the advance and ABC widths from the DC.
struct DrawnGlyph {
    Ink ink;
    int advance = 0;
    ABC abc{};
};

DrawnGlyph drawAlone(const LOGFONTA& font, unsigned char byte, int x, int y) {
    RealCanvas canvas(96, 64, font);
    EXPECT_TRUE(canvas.ok());
    DrawnGlyph glyph;
    const char text[] = {static_cast<char>(byte), 0};
    EXPECT_TRUE(GetCharWidth32A(canvas.dc(), byte, byte, &glyph.advance));
    EXPECT_TRUE(GetCharABCWidthsA(canvas.dc(), byte, byte, &glyph.abc));
    EXPECT_TRUE(TextOutA(canvas.dc(), x, y, text, 1));
    glyph.ink = inkOf(canvas.canvas);
    return glyph;
}

// Windows clips whatever of a glyph lies above the win ascent or below the win descent; hinting
// lifts the accents of capitals (and of 'ů' in Liberation Mono) one or two pixels past the ascent
// at these sizes, and they must lose those rows rather than reach into the line above.
TEST_P(RealGlyphs, CzechLettersHaveTheirAccentsAndStayInTheirCells) {
    ScopedFontSource source(FontSource::System);
    const LOGFONTA& font = GetParam().font;
    if (const std::string why = whyNotReal(font, liberationFor(font)); !why.empty()) GTEST_SKIP() << why;
    TEXTMETRICA tm{};
    {
        const winplat::MemoryDc dc(CreateCompatibleDC(nullptr));
        const ScopedFont selected(dc.get(), font);
        ASSERT_TRUE(selected.ok());
        ASSERT_TRUE(GetTextMetricsA(dc.get(), &tm));
    }
    constexpr int x = 30;
    constexpr int y = 10;
    for (const Letter& letter : kLetters) {
        SCOPED_TRACE(letter.name);
        const DrawnGlyph glyph = drawAlone(font, letter.accented, x, y);
        ASSERT_GT(glyph.ink.pixels, 0) << "no ink";
        EXPECT_EQ(glyph.abc.abcA + static_cast<int>(glyph.abc.abcB) + glyph.abc.abcC, glyph.advance);
        EXPECT_GE(glyph.ink.left, x + std::min(0, glyph.abc.abcA));
        EXPECT_LE(glyph.ink.right, x + glyph.advance + std::max(0, -glyph.abc.abcC));
        EXPECT_GE(glyph.ink.top, y);
        EXPECT_LE(glyph.ink.bottom, y + tm.tmHeight);
        const DrawnGlyph base = drawAlone(font, static_cast<unsigned char>(letter.base), x, y);
        EXPECT_LT(glyph.ink.top, base.ink.top) << "no accent above the base letter";
    }
}

// A line of mixed text, every cp1250 letter of Czech and some wide, narrow and round shapes.
const std::string kMixedLine =
    "P\xF8\xEDli\x9A \x9El u\x9Do u\xE8k\xFD k\xF9\xF2 \xFAp\xECl \xEF\xE1\x62\x65lsk\xE9 \xF3\x64y "
    "\x8E\x8A\xC8\xD8\xCF\x8D\xD2 AWQ@ 0123 %&?!";

TEST_P(RealGlyphs, AreBiLevel) {
    ScopedFontSource source(FontSource::System);
    const LOGFONTA& font = GetParam().font;
    if (const std::string why = whyNotReal(font, liberationFor(font)); !why.empty()) GTEST_SKIP() << why;
    // Colours no blend of the two could be, so that any grey step shows.
    constexpr Rgb kPaper = 0x0A78E6;
    constexpr Rgb kText = 0xC81E28;
    RealCanvas canvas(1400, 48, font);
    ASSERT_TRUE(canvas.ok());
    canvas.canvas.fill(kPaper);
    SetTextColor(canvas.dc(), drawtest::ref(kText));
    ASSERT_TRUE(TextOutA(canvas.dc(), 2, 4, kMixedLine.data(), static_cast<int>(kMixedLine.size())));
    std::map<Rgb, int> colours;
    for (int y = 0; y < canvas.canvas.height(); ++y)
        for (int x = 0; x < canvas.canvas.width(); ++x) ++colours[canvas.canvas.at(x, y)];
    EXPECT_GT(colours[kText], static_cast<int>(kMixedLine.size()));
    colours.erase(kText);
    colours.erase(kPaper);
    EXPECT_TRUE(colours.empty()) << colours.size() << " other colours, e.g. " << std::hex
                                 << colours.begin()->first;
}

INSTANTIATE_TEST_SUITE_P(Fonts, RealGlyphs, ::testing::ValuesIn(kFonts));

// ---------------------------------------------------------------------------------------------
// Extents

class RealExtents : public ::testing::TestWithParam<FontCase> {
  protected:
    SIZE extent(const std::string& text) const {
        SIZE size{-1, -1};
        EXPECT_TRUE(GetTextExtentPoint32A(dc_.get(), text.data(), static_cast<int>(text.size()), &size));
        return size;
    }
    int widthSum(const std::string& text) const {
        int sum = 0;
        for (const char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            int width = 0;
            EXPECT_TRUE(GetCharWidth32A(dc_.get(), byte, byte, &width));
            sum += width;
        }
        return sum;
    }
    HDC dc() const { return dc_.get(); }

  private:
    winplat::MemoryDc dc_{CreateCompatibleDC(nullptr)};
};

// Pairs whose joins would kern in a shaping engine ("AV", "To", "Wa", "r.") and cp1250 letters.
const std::vector<std::pair<std::string, std::string>> kJoins = {
    {"WA", "VA"},        {"T", "o"},         {"W", "a"},    {"r", ".,"}, {"P\xF8\xED", "li\x9A"},
    {"\x9El", "u\x9Do"}, {"k\xF9", "\xF2 "}, {" ", "\xA0"}, {"", "abc"},
};

TEST_P(RealExtents, AreAdditiveAndTheSumsOfTheCharacterWidths) {
    ScopedFontSource source(FontSource::System);
    const LOGFONTA& font = GetParam().font;
    if (const std::string why = whyNotReal(font, liberationFor(font)); !why.empty()) GTEST_SKIP() << why;
    const ScopedFont selected(dc(), font);
    ASSERT_TRUE(selected.ok());
    TEXTMETRICA tm{};
    ASSERT_TRUE(GetTextMetricsA(dc(), &tm));
    for (const auto& [first, second] : kJoins) {
        SCOPED_TRACE(first + "|" + second);
        const SIZE whole = extent(first + second);
        EXPECT_EQ(whole.cx, extent(first).cx + extent(second).cx);
        EXPECT_EQ(whole.cx, widthSum(first + second));
        EXPECT_EQ(whole.cy, tm.tmHeight);
    }
    EXPECT_EQ(extent(kMixedLine).cx, widthSum(kMixedLine));
}

struct JustifyCase {
    std::string text;
    int extra;
    int breaks;  // the spaces of the text
};

// The no-break space (0xA0) is widened with the spaces: it counts among the breaks.
const JustifyCase kJustify[] = {
    {"a b c d", 7, 3},    {"P\xF8\xEDli\x9A \x9Elu\x9Do", 1, 1},
    {"x  y", 5, 2},       {"k\xF9\xF2\xA0\xFAp\xECl \xEF\xE1\x62", 4, 2},
    {"W W W W W", 13, 4},
};

TEST_P(RealExtents, JustificationAddsExactlyItsExtra) {
    ScopedFontSource source(FontSource::System);
    const LOGFONTA& font = GetParam().font;
    if (const std::string why = whyNotReal(font, liberationFor(font)); !why.empty()) GTEST_SKIP() << why;
    const ScopedFont selected(dc(), font);
    ASSERT_TRUE(selected.ok());
    for (const JustifyCase& c : kJustify) {
        SCOPED_TRACE(c.text);
        const LONG plain = extent(c.text).cx;
        ASSERT_TRUE(SetTextJustification(dc(), c.extra, c.breaks));
        EXPECT_EQ(extent(c.text).cx, plain + c.extra);
        ASSERT_TRUE(SetTextJustification(dc(), 0, 0));
        EXPECT_EQ(extent(c.text).cx, plain);
    }
}

INSTANTIATE_TEST_SUITE_P(Fonts, RealExtents, ::testing::ValuesIn(kFonts));

// ---------------------------------------------------------------------------------------------
// Unknown families

// What a fallback face looks like: serif or sans with variable pitch, or fixed pitch (whose 'I'
// has its bars whatever the face).
enum class Look { Serif, Sans, Fixed };

struct FallbackCase {
    const char* name;
    BYTE pitchAndFamily;
    Look look;
};

const FallbackCase kFallbacks[] = {
    {"roman", FF_ROMAN, Look::Serif},
    {"variable roman", VARIABLE_PITCH | FF_ROMAN, Look::Serif},
    {"modern", FF_MODERN, Look::Fixed},
    {"fixed pitch", FIXED_PITCH, Look::Fixed},
    {"fixed pitch roman", FIXED_PITCH | FF_ROMAN, Look::Fixed},
    {"swiss", FF_SWISS, Look::Sans},
    {"don't care", FF_DONTCARE, Look::Sans},
};

void PrintTo(const FallbackCase& c, std::ostream* out) {
    *out << c.name;
}

class UnknownFamily : public ::testing::TestWithParam<FallbackCase> {};

// Whether the glyph has serifs: its widest row of ink at least twice its narrowest. A sans 'I' is
// a bar, every row the same; a serif 'I' spreads at both ends.
bool hasSerifs(const Canvas& canvas) {
    int narrowest = canvas.width();
    int widest = 0;
    for (int y = 0; y < canvas.height(); ++y) {
        int row = 0;
        for (int x = 0; x < canvas.width(); ++x) row += canvas.at(x, y) != kWhite ? 1 : 0;
        if (row == 0) continue;
        narrowest = std::min(narrowest, row);
        widest = std::max(widest, row);
    }
    return widest > 0 && widest >= 2 * narrowest;
}

TEST_P(UnknownFamily, ResolvesByPitchAndFamily) {
    ScopedFontSource source(FontSource::System);
    const FallbackCase& c = GetParam();
    const LOGFONTA font = logFont(-48, FW_NORMAL, false, c.pitchAndFamily, "No Such Family 123");
    if (const std::string why = whyNotReal(font); !why.empty()) GTEST_SKIP() << why;
    RealCanvas canvas(64, 72, font);
    ASSERT_TRUE(canvas.ok()) << "the fallback never fails";
    char face[LF_FACESIZE] = {};
    ASSERT_GT(GetTextFaceA(canvas.dc(), LF_FACESIZE, face), 0);
    SCOPED_TRACE(face);
    TEXTMETRICA tm{};
    ASSERT_TRUE(GetTextMetricsA(canvas.dc(), &tm));
    EXPECT_GT(tm.tmHeight, 0);
    const bool fixedPitch = c.look == Look::Fixed;
    // Clear means fixed pitch.
    EXPECT_EQ((tm.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0, fixedPitch);
    int narrow = 0;
    int wide = 0;
    ASSERT_TRUE(GetCharWidth32A(canvas.dc(), 'i', 'i', &narrow));
    ASSERT_TRUE(GetCharWidth32A(canvas.dc(), 'W', 'W', &wide));
    EXPECT_EQ(narrow == wide, fixedPitch) << "i " << narrow << ", W " << wide;
    if (fixedPitch) return;
    ASSERT_TRUE(TextOutA(canvas.dc(), 8, 4, "I", 1));
    EXPECT_EQ(hasSerifs(canvas.canvas), c.look == Look::Serif);
}

INSTANTIATE_TEST_SUITE_P(Fallbacks, UnknownFamily, ::testing::ValuesIn(kFallbacks));

}  // namespace
