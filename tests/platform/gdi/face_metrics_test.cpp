// GetTextMetricsA's numbers from a face's design metrics: Windows' rules for em and cell heights,
// the external leading, the average width and the classic dialog font.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "text/face_metrics.h"
#include "text_helpers.h"

namespace {

using texttest::logFont;
using winplat::text::cellScale;
using winplat::text::DesignMetrics;
using winplat::text::FaceSource;
using winplat::text::scaledMetrics;

// Arial's own tables: 2048 units per em, win ascent 1854, win descent 434, hhea the same with a
// line gap of 67, xAvgCharWidth 904.
DesignMetrics arial() {
    DesignMetrics d;
    d.unitsPerEm = 2048;
    d.winAscent = 1854;
    d.winDescent = 434;
    d.lineAscent = 1854;
    d.lineDescent = -434;
    d.lineGap = 67;
    d.averageWidth = 904;
    d.maxAdvance = 4096;
    d.underlineCentre = -292;
    d.underlineThickness = 150;
    d.strikeOutTop = 530;
    d.strikeOutThickness = 102;
    return d;
}

// A face whose hhea line gap exceeds what its Windows cell holds beyond the hhea line.
DesignMetrics gapped(int lineGap) {
    DesignMetrics d = arial();
    d.unitsPerEm = 1000;
    d.winAscent = 900;
    d.winDescent = 300;
    d.lineAscent = 800;
    d.lineDescent = -200;
    d.lineGap = lineGap;
    d.averageWidth = 500;
    return d;
}

struct ScaleCase {
    const char* name;
    DesignMetrics design;
    LONG height;
    // tmHeight, tmAscent, tmDescent, tmInternalLeading, tmExternalLeading, tmAveCharWidth, tmMaxCharWidth
    std::vector<LONG> metrics;
};

// Worked out by hand: an em height h scales by h / 2048 (Arial); a cell height c scales by
// c / 2288 with the descent the cell less the ascent, the em round(c * 2048 / 2288).
const ScaleCase kCases[] = {
    {"Arial at em 13", arial(), -13, {15, 12, 3, 2, 0, 6, 26}},
    {"Arial at em 40", arial(), -40, {44, 36, 8, 4, 1, 18, 80}},
    {"Arial at cell 16 (em 14)", arial(), 16, {16, 13, 3, 2, 0, 6, 29}},
    {"Arial at cell 15 (em 13)", arial(), 15, {15, 12, 3, 2, 0, 6, 27}},
    {"the default height is a 16-pixel cell", arial(), 0, {16, 13, 3, 2, 0, 6, 29}},
    {"line gap beyond the cell", gapped(300), -20, {24, 18, 6, 4, 2, 10, 82}},
    {"line gap inside the cell", gapped(200), -20, {24, 18, 6, 4, 0, 10, 82}},
};

TEST(FaceMetrics, ScaleByTheEmOrTheCell) {
    for (const ScaleCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const auto scale = cellScale(c.design, c.height);
        ASSERT_TRUE(scale);
        const TEXTMETRICA tm = scaledMetrics(c.design, *scale, logFont(c.height), FaceSource{}).text;
        EXPECT_EQ((std::vector<LONG>{tm.tmHeight, tm.tmAscent, tm.tmDescent, tm.tmInternalLeading,
                                     tm.tmExternalLeading, tm.tmAveCharWidth, tm.tmMaxCharWidth}),
                  c.metrics);
    }
}

TEST(FaceMetrics, ACellHeightIsTheCellExactlyAtEverySize) {
    const DesignMetrics design = arial();
    for (LONG height = 1; height <= 200; ++height) {
        const auto scale = cellScale(design, height);
        ASSERT_TRUE(scale) << height;
        const TEXTMETRICA tm = scaledMetrics(design, *scale, logFont(height), FaceSource{}).text;
        EXPECT_EQ(tm.tmHeight, height);
        EXPECT_EQ(tm.tmAscent + tm.tmDescent, height);
    }
}

// A face with the synthetic test face's numbers: 1000 units per em in a 1200-unit cell.
DesignMetrics tenTwelfths() {
    DesignMetrics d = gapped(0);
    d.lineAscent = 900;
    d.lineDescent = -300;
    return d;
}

// A cell height c makes the em c * unitsPerEm / cell rounded to the nearest pixel, halves up,
// and the internal leading the rest of the cell: heights where truncating would give a pixel
// less, and heights where both agree.
TEST(FaceMetrics, TheEmOfACellHeightIsRoundedNotTruncated) {
    struct Case {
        const char* what;
        DesignMetrics design;
        LONG cell;
        int em;
        LONG internalLeading;
    };
    const Case cases[] = {
        {"Arial cell 20: 17.90", arial(), 20, 18, 2},
        {"Arial cell 10: 8.95", arial(), 10, 9, 1},
        {"Arial cell 29: 25.96", arial(), 29, 26, 3},
        {"Arial cell 16: 14.32", arial(), 16, 14, 2},
        {"Arial cell 19: 17.007", arial(), 19, 17, 2},
        {"Arial cell 24: 21.48", arial(), 24, 21, 3},
        {"1000 of 1200 at cell 20: 16.67", tenTwelfths(), 20, 17, 3},
        {"1000 of 1200 at cell 9: 7.5, a half rounds up", tenTwelfths(), 9, 8, 1},
        {"1000 of 1200 at cell 21: 17.5, a half rounds up", tenTwelfths(), 21, 18, 3},
        {"1000 of 1200 at cell 12: exactly 10", tenTwelfths(), 12, 10, 2},
        {"1000 of 1200 at cell 16: 13.33", tenTwelfths(), 16, 13, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto scale = cellScale(c.design, c.cell);
        ASSERT_TRUE(scale);
        EXPECT_EQ(scale->em, c.em);
        const TEXTMETRICA tm = scaledMetrics(c.design, *scale, logFont(c.cell), FaceSource{}).text;
        EXPECT_EQ(tm.tmHeight, c.cell);
        EXPECT_EQ(tm.tmInternalLeading, c.internalLeading);
    }
}

TEST(FaceMetrics, FlagsFollowTheFontAndTheSource) {
    const DesignMetrics design = arial();
    LOGFONTA font = logFont(-13, FW_SEMIBOLD, true);
    font.lfUnderline = 1;
    FaceSource source;
    source.charSet = RUSSIAN_CHARSET;
    source.syntheticBold = true;
    const TEXTMETRICA tm = scaledMetrics(design, *cellScale(design, -13), font, source).text;
    EXPECT_EQ(tm.tmWeight, FW_BOLD);
    EXPECT_EQ(tm.tmItalic, 1);
    EXPECT_EQ(tm.tmUnderlined, 1);
    EXPECT_EQ(tm.tmStruckOut, 0);
    EXPECT_EQ(tm.tmCharSet, RUSSIAN_CHARSET);
    EXPECT_EQ(tm.tmAveCharWidth, 7) << "synthetic bold widens the average by a pixel";
    EXPECT_EQ(tm.tmMaxCharWidth, 27);
    EXPECT_EQ(tm.tmFirstChar, 0x1E);
    EXPECT_EQ(tm.tmLastChar, 0xFF);
    EXPECT_EQ(tm.tmDefaultChar, 0x1F);
    EXPECT_EQ(tm.tmBreakChar, ' ');
    EXPECT_EQ(scaledMetrics(design, *cellScale(design, -13), logFont(-13, 599), source).text.tmWeight, FW_NORMAL);
}

TEST(FaceMetrics, PitchAndFamilyComeFromTheFace) {
    struct Case {
        BYTE family;
        bool fixed;
        winplat::text::ByteMap bytes;
        BYTE expected;
    };
    using winplat::text::ByteMap;
    // TMPF_FIXED_PITCH (1) marks a face that is not fixed pitch; TMPF_VECTOR | TMPF_TRUETYPE is 6.
    const Case cases[] = {
        {FF_SWISS, false, ByteMap::Cp1250, FF_SWISS | 7},   {FF_ROMAN, false, ByteMap::Cp1250, FF_ROMAN | 7},
        {FF_MODERN, true, ByteMap::Cp1250, FF_MODERN | 6},  {FF_DECORATIVE, false, ByteMap::Cp1250, FF_DECORATIVE | 7},
        {FF_SWISS, false, ByteMap::Symbol, FF_DECORATIVE | 7}, {FF_SWISS, false, ByteMap::Wingdings, FF_DECORATIVE | 7},
    };
    for (const Case& c : cases) {
        DesignMetrics design = arial();
        design.family = c.family;
        design.fixedPitch = c.fixed;
        FaceSource source;
        source.bytes = c.bytes;
        EXPECT_EQ(scaledMetrics(design, *cellScale(design, -13), logFont(-13), source).text.tmPitchAndFamily,
                  c.expected);
    }
}

TEST(FaceMetrics, LinesLieBelowAndThroughTheBaseline) {
    const DesignMetrics design = arial();
    for (LONG em : {-8, -13, -20, -48, -100}) {
        const auto metrics = scaledMetrics(design, *cellScale(design, em), logFont(em), FaceSource{});
        const TEXTMETRICA& tm = metrics.text;
        SCOPED_TRACE(em);
        EXPECT_GE(metrics.underline.top, 0);
        EXPECT_GE(metrics.underline.thickness, 1);
        EXPECT_LE(metrics.underline.top + metrics.underline.thickness, tm.tmDescent);
        EXPECT_LT(metrics.strikeOut.top, 0);
        EXPECT_GT(metrics.strikeOut.top, -tm.tmAscent);
        EXPECT_GE(metrics.strikeOut.thickness, 1);
    }
    // Em 100: the underline 7 thick (150 units) centred 14 rows down; the strike-out 5 thick from 26 up.
    const auto big = scaledMetrics(design, *cellScale(design, -100), logFont(-100), FaceSource{});
    EXPECT_EQ(big.underline.top, 11);
    EXPECT_EQ(big.underline.thickness, 7);
    EXPECT_EQ(big.strikeOut.top, -26);
    EXPECT_EQ(big.strikeOut.thickness, 5);
}

TEST(FaceMetrics, ClassicDialogMetricsReplaceTheFaceNumbers) {
    const DesignMetrics design = arial();
    FaceSource source;
    source.classicDialogMetrics = true;
    const TEXTMETRICA tm = scaledMetrics(design, *cellScale(design, -11), logFont(-11), source).text;
    EXPECT_EQ((std::vector<LONG>{tm.tmHeight, tm.tmAscent, tm.tmDescent, tm.tmInternalLeading,
                                 tm.tmExternalLeading, tm.tmAveCharWidth, tm.tmMaxCharWidth}),
              (std::vector<LONG>{13, 11, 2, 2, 0, 5, 11}));
}

TEST(FaceMetrics, NoScaleWithoutAnEmOrACell) {
    DesignMetrics noEm = arial();
    noEm.unitsPerEm = 0;
    DesignMetrics noCell = arial();
    noCell.winAscent = 0;
    noCell.winDescent = 0;
    DesignMetrics flat = arial();
    flat.winAscent = 1;
    flat.winDescent = 0;
    EXPECT_FALSE(cellScale(noEm, -13));
    EXPECT_FALSE(cellScale(noCell, 13));
    EXPECT_FALSE(cellScale(flat, 16384)) << "a one-unit cell would need an em of millions of pixels";
    EXPECT_TRUE(cellScale(arial(), 16384));
    EXPECT_TRUE(cellScale(arial(), -16384));
}

}  // namespace
