// Fonts of the synthetic test face: objects, metrics, widths, extents, justification and the
// requests the layer refuses.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "text_helpers.h"
#include "winplat/base.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/testing.h"
#include "winplat/text.h"

namespace {

using texttest::logFont;
using texttest::SelectedFont;

// A memory DC for questions about fonts; nothing is drawn.
class FontDc : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_NE(dc_, nullptr); }
    void TearDown() override { DeleteDC(dc_); }
    SIZE extent(const std::string& text) {
        SIZE size{-1, -1};
        EXPECT_TRUE(GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size));
        return size;
    }
    HDC dc_ = CreateCompatibleDC(nullptr);
};

struct MetricsCase {
    const char* name;
    LOGFONTA font;
    // tmHeight, tmAscent, tmDescent, tmInternalLeading, tmAveCharWidth, tmMaxCharWidth, tmWeight
    std::vector<LONG> metrics;
    BYTE italic;
    BYTE pitchAndFamily;
    // Widths of 'i', 'a', 'm', space, no-break space, cp1250 í (0xED), č (0xE8), ľ (0xBE), Ľ (0xBC)
    std::vector<int> widths;
    ABC a;  // of 'a'
};

// Worked out by hand from the face's units (1000 per em, ascent 900, descent 300; advances 250,
// 500, 750, fixed 600; italic C = -em/10). Negative heights scale by h / 1000, positive ones by
// h / 1200, halves rounding away from zero.
// clang-format off
const MetricsCase kMetrics[] = {
    {"em 20", logFont(-20), {24, 18, 6, 4, 10, 15, 400}, 0, 0x27, {5, 10, 15, 5, 5, 5, 10, 5, 10}, {0, 9, 1}},
    {"em 13 bold", logFont(-13, FW_BOLD), {16, 12, 4, 3, 7, 10, 700}, 0, 0x27, {3, 7, 10, 3, 3, 3, 7, 3, 7},
     {0, 6, 1}},
    {"semibold is bold", logFont(-13, FW_SEMIBOLD), {16, 12, 4, 3, 7, 10, 700}, 0, 0x27,
     {3, 7, 10, 3, 3, 3, 7, 3, 7}, {0, 6, 1}},
    {"medium is not", logFont(-13, FW_MEDIUM), {16, 12, 4, 3, 7, 10, 400}, 0, 0x27,
     {3, 7, 10, 3, 3, 3, 7, 3, 7}, {0, 6, 1}},
    {"cell 16", logFont(16), {16, 12, 4, 3, 7, 10, 400}, 0, 0x27, {3, 7, 10, 3, 3, 3, 7, 3, 7}, {0, 6, 1}},
    {"cell 10", logFont(10), {10, 8, 2, 2, 4, 6, 400}, 0, 0x27, {2, 4, 6, 2, 2, 2, 4, 2, 4}, {0, 3, 1}},
    {"cell 30 italic", logFont(30, FW_NORMAL, true), {30, 23, 7, 5, 13, 19, 400}, 1, 0x27,
     {6, 13, 19, 6, 6, 6, 13, 6, 13}, {0, 16, -3}},
    {"em 20 italic", logFont(-20, FW_NORMAL, true), {24, 18, 6, 4, 10, 15, 400}, 1, 0x27,
     {5, 10, 15, 5, 5, 5, 10, 5, 10}, {0, 12, -2}},
    {"em 20 fixed pitch", logFont(-20, FW_NORMAL, false, FIXED_PITCH), {24, 18, 6, 4, 12, 12, 400}, 0, 0x36,
     {12, 12, 12, 12, 12, 12, 12, 12, 12}, {0, 11, 1}},
    {"em 20 modern family", logFont(-20, FW_NORMAL, false, FF_MODERN), {24, 18, 6, 4, 12, 12, 400}, 0, 0x36,
     {12, 12, 12, 12, 12, 12, 12, 12, 12}, {0, 11, 1}},
    {"em 20 roman family", logFont(-20, FW_NORMAL, false, VARIABLE_PITCH | FF_ROMAN),
     {24, 18, 6, 4, 10, 15, 400}, 0, 0x17, {5, 10, 15, 5, 5, 5, 10, 5, 10}, {0, 9, 1}},
};
// clang-format on

void PrintTo(const MetricsCase& c, std::ostream* out) {
    *out << c.name;
}

class Metrics : public FontDc, public ::testing::WithParamInterface<MetricsCase> {};

TEST_P(Metrics, AreTheFaceFormulas) {
    const MetricsCase& c = GetParam();
    SelectedFont font(dc_, c.font);
    ASSERT_TRUE(font.ok());
    TEXTMETRICA tm{};
    ASSERT_TRUE(GetTextMetricsA(dc_, &tm));
    EXPECT_EQ((std::vector<LONG>{tm.tmHeight, tm.tmAscent, tm.tmDescent, tm.tmInternalLeading,
                                 tm.tmAveCharWidth, tm.tmMaxCharWidth, tm.tmWeight}),
              c.metrics);
    EXPECT_EQ(tm.tmExternalLeading, 0);
    EXPECT_EQ(tm.tmItalic, c.italic);
    EXPECT_EQ(tm.tmPitchAndFamily, c.pitchAndFamily);
    EXPECT_EQ(tm.tmCharSet, EASTEUROPE_CHARSET);
    EXPECT_EQ(tm.tmBreakChar, ' ');
    EXPECT_EQ(tm.tmLastChar, 0xFF);

    std::vector<int> widths;
    for (unsigned c :
         {unsigned{'i'}, unsigned{'a'}, unsigned{'m'}, unsigned{' '}, 0xA0u, 0xEDu, 0xE8u, 0xBEu, 0xBCu}) {
        int width = -1;
        EXPECT_TRUE(GetCharWidth32A(dc_, c, c, &width));
        widths.push_back(width);
    }
    EXPECT_EQ(widths, c.widths);

    ABC abc{};
    ASSERT_TRUE(GetCharABCWidthsA(dc_, 'a', 'a', &abc));
    EXPECT_EQ(abc.abcA, c.a.abcA);
    EXPECT_EQ(abc.abcB, c.a.abcB);
    EXPECT_EQ(abc.abcC, c.a.abcC);
    EXPECT_EQ(abc.abcA + static_cast<int>(abc.abcB) + abc.abcC, widths[1]) << "A + B + C is the advance";
}

INSTANTIATE_TEST_SUITE_P(Cases, Metrics, ::testing::ValuesIn(kMetrics), [](const auto& info) {
    std::string name;
    for (const char* p = info.param.name; *p; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
});

TEST_F(FontDc, WidthsOfARangeMatchSingleQueriesAndBothCalls) {
    SelectedFont font(dc_, logFont(-20));
    int range[256] = {};
    int range32[256] = {};
    ASSERT_TRUE(GetCharWidthA(dc_, 0, 255, range));
    ASSERT_TRUE(GetCharWidth32A(dc_, 0, 255, range32));
    ABC abc[3] = {};
    ASSERT_TRUE(GetCharABCWidthsA(dc_, 'k', 'm', abc));
    EXPECT_EQ(range[int{'|'}], 5);
    EXPECT_EQ(range[int{'@'}], 15);
    EXPECT_EQ(range[int{'%'}], 15);
    EXPECT_EQ(range[int{'W'}], 15);
    EXPECT_EQ(range[int{'x'}], 10);
    EXPECT_EQ(range[0xCD], 5) << "cp1250 Í is an I";
    EXPECT_EQ(range[0xA3], 10) << "cp1250 Ł counts as its base L";
    for (int c = 0; c < 256; ++c) EXPECT_EQ(range[c], range32[c]) << c;
    EXPECT_EQ(abc[0].abcB, 9u);
    EXPECT_EQ(abc[1].abcB, 4u);
    EXPECT_EQ(abc[2].abcB, 14u);
}

TEST_F(FontDc, ARussianFontKnowsNoCp1250Letters) {
    LOGFONTA russian = logFont(-20);
    russian.lfCharSet = RUSSIAN_CHARSET;
    SelectedFont font(dc_, russian);
    int widths[2] = {};
    ASSERT_TRUE(GetCharWidthA(dc_, 0xEC, 0xED, widths));
    EXPECT_EQ(widths[1], 10) << "0xED is no í in cp1251";
    TEXTMETRICA tm{};
    GetTextMetricsA(dc_, &tm);
    EXPECT_EQ(tm.tmCharSet, RUSSIAN_CHARSET);
}

TEST_F(FontDc, ExtentsAreSumsOfAdvancesAndAdditive) {
    SelectedFont font(dc_, logFont(-20));
    const SIZE whole = extent("Will i am");
    EXPECT_EQ(whole.cx, 15 + 5 + 5 + 5 + 5 + 5 + 5 + 10 + 15);
    EXPECT_EQ(whole.cy, 24);
    const std::vector<std::string> pieces = {"Ahoj", " ", "m\xEDl\xE1", "\xA0", "|%@", "", "Tady \xBE"};
    std::string joined;
    LONG sum = 0;
    for (const std::string& piece : pieces) {
        joined += piece;
        sum += extent(piece).cx;
        EXPECT_EQ(extent(joined).cx, sum) << joined;
    }
    EXPECT_EQ(extent("").cx, 0);
    EXPECT_EQ(extent("").cy, 24);
}

struct JustifyCase {
    const char* name;
    const char* text;
    int extra;
    int breaks;
    LONG width;
};

// "a b c d" at em 20: letters 10, spaces 5, so 55 unjustified.
const JustifyCase kJustify[] = {
    {"seven over three", "a b c d", 7, 3, 62},
    // The reader's formatter counts the no-break space among a justified line's breaks, so
    // output widens it as it widens the space: measured and painted lines agree.
    {"the no-break space is widened with the spaces",
     "a\xA0"
     "b c",
     4, 1, 40 + 4 + 4},
    {"the no-break space alone", "a\xA0" "b", 6, 1, 25 + 6},
    {"more breaks than counted get the share", "a b c d", 4, 2, 55 + 2 + 2 + 2},
    {"fewer breaks than counted", "a b", 7, 3, 25 + 3},
    {"squeezed", "a b c", -5, 2, 40 - 5},
    {"zero extra ends it", "a b c d", 0, 3, 55},
};

void PrintTo(const JustifyCase& c, std::ostream* out) {
    *out << c.name;
}

class Justify : public FontDc, public ::testing::WithParamInterface<JustifyCase> {};

TEST_P(Justify, SpreadsExtrasOverBreaksInExtents) {
    const JustifyCase& c = GetParam();
    SelectedFont font(dc_, logFont(-20));
    ASSERT_TRUE(SetTextJustification(dc_, c.extra, c.breaks));
    EXPECT_EQ(extent(c.text).cx, c.width);
    EXPECT_EQ(extent(c.text).cx, c.width) << "measuring uses no breaks up";
}

INSTANTIATE_TEST_SUITE_P(Cases, Justify, ::testing::ValuesIn(kJustify), [](const auto& info) {
    std::string name;
    for (const char* p = info.param.name; *p; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
});

TEST_F(FontDc, RunsOfOneLineShareTheRemainderUntilReset) {
    SelectedFont font(dc_, logFont(-20));
    ASSERT_TRUE(SetTextJustification(dc_, 3, 2));
    EXPECT_EQ(extent("a b").cx, 25 + 2) << "the first break takes the remainder";
    ASSERT_TRUE(TextOutA(dc_, 0, 0, "a b", 3));
    EXPECT_EQ(extent("c d").cx, 25 + 1) << "the second break has the share only";
    ASSERT_TRUE(SetTextJustification(dc_, 0, 0));
    EXPECT_EQ(extent("c d").cx, 25);
}

TEST_F(FontDc, ADcStartsWithTheSystemFontAndSelectingReturnsThePrevious) {
    const HGDIOBJ system = GetStockObject(SYSTEM_FONT);
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(GetCurrentObject(dc_, OBJ_FONT), system);
    char face[LF_FACESIZE] = {};
    EXPECT_EQ(GetTextFaceA(dc_, LF_FACESIZE, face), 7);
    EXPECT_STREQ(face, "System");
    TEXTMETRICA tm{};
    ASSERT_TRUE(GetTextMetricsA(dc_, &tm));
    EXPECT_EQ(tm.tmHeight, 16);
    EXPECT_EQ(tm.tmWeight, FW_BOLD);

    HFONT first = CreateFontA(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, EASTEUROPE_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, "Arial CE");
    HFONT second = texttest::makeFont(logFont(-13));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(SelectObject(dc_, first), system);
    EXPECT_EQ(SelectObject(dc_, second), first);
    EXPECT_EQ(GetCurrentObject(dc_, OBJ_FONT), second);
    EXPECT_EQ(SelectObject(dc_, system), second);
    EXPECT_TRUE(DeleteObject(first));
    EXPECT_TRUE(DeleteObject(second));
    EXPECT_EQ(SelectObject(dc_, first), nullptr) << "a deleted font is gone";
    EXPECT_TRUE(DeleteObject(system)) << "stock objects survive DeleteObject";
    EXPECT_EQ(GetCurrentObject(dc_, OBJ_FONT), system);
}

TEST_F(FontDc, ASelectedFontIsNotDeleted) {
    HFONT font = texttest::makeFont(logFont(-20));
    const HGDIOBJ previous = SelectObject(dc_, font);
    EXPECT_FALSE(DeleteObject(font));
    EXPECT_EQ(GetCurrentObject(dc_, OBJ_FONT), font) << "still selected and alive";
    ASSERT_EQ(SaveDC(dc_), 1);
    SelectObject(dc_, previous);
    EXPECT_FALSE(DeleteObject(font)) << "a saved level still holds it";
    ASSERT_TRUE(RestoreDC(dc_, 1));
    SelectObject(dc_, previous);
    EXPECT_TRUE(DeleteObject(font));
}

TEST_F(FontDc, GetObjectGivesTheLogicalFontBack) {
    LOGFONTA made = logFont(-17, FW_BOLD, true, FIXED_PITCH | FF_MODERN, "Courier New CE");
    made.lfUnderline = 1;
    made.lfStrikeOut = 1;
    HFONT font = CreateFontIndirectA(&made);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(GetObjectA(font, 0, nullptr), static_cast<int>(sizeof(LOGFONTA)));
    LOGFONTA back{};
    ASSERT_EQ(GetObjectA(font, sizeof back, &back), static_cast<int>(sizeof(LOGFONTA)));
    EXPECT_EQ(std::memcmp(&back, &made, sizeof back), 0);
    EXPECT_EQ(GetObjectA(font, sizeof back - 1, &back), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    DeleteObject(font);
}

TEST_F(FontDc, TheFaceNameIsCutToTheBuffer) {
    SelectedFont font(dc_, logFont(-20, FW_NORMAL, false, 0, "Times New Roman"));
    EXPECT_EQ(GetTextFaceA(dc_, 0, nullptr), 16);
    char name[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(GetTextFaceA(dc_, 4, name), 4);
    EXPECT_STREQ(name, "Tim");
}

TEST_F(FontDc, AnEmptyFaceNameIsNamedByPitchAndFamily) {
    const std::pair<BYTE, const char*> cases[] = {{0, "Arial"},
                                                  {FF_ROMAN, "Times New Roman"},
                                                  {FIXED_PITCH, "Courier New"},
                                                  {FF_MODERN, "Courier New"}};
    for (const auto& [pitch, expected] : cases) {
        SelectedFont font(dc_, logFont(-20, FW_NORMAL, false, pitch, ""));
        char name[LF_FACESIZE] = {};
        GetTextFaceA(dc_, LF_FACESIZE, name);
        EXPECT_STREQ(name, expected);
    }
}

TEST_F(FontDc, DefaultCharsetIsAnsi) {
    LOGFONTA font = logFont(-20);
    font.lfCharSet = DEFAULT_CHARSET;
    SelectedFont selected(dc_, font);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc_, &tm);
    EXPECT_EQ(tm.tmCharSet, ANSI_CHARSET);
}

struct RefusedFont {
    const char* name;
    LOGFONTA font;
    const char* why;
};

LOGFONTA with(LOGFONTA font, void (*change)(LOGFONTA&)) {
    change(font);
    return font;
}

const RefusedFont kRefusedFonts[] = {
    {"escapement", with(logFont(-20), [](LOGFONTA& f) { f.lfEscapement = 900; }), "rotated text"},
    {"orientation", with(logFont(-20), [](LOGFONTA& f) { f.lfOrientation = 1; }), "rotated text"},
    {"width", with(logFont(-20), [](LOGFONTA& f) { f.lfWidth = 5; }), "character width"},
    {"greek", with(logFont(-20), [](LOGFONTA& f) { f.lfCharSet = 161; }), "character set 161"},
    {"oem", with(logFont(-20), [](LOGFONTA& f) { f.lfCharSet = 255; }), "character set 255"},
    {"too tall", logFont(16385), "height"},
    {"too tall an em", logFont(-16385), "height"},
    {"unterminated name",
     with(logFont(-20), [](LOGFONTA& f) { std::memset(f.lfFaceName, 'A', LF_FACESIZE); }),
     "terminating zero"},
};

class RefusedFonts : public ::testing::TestWithParam<RefusedFont> {};

void PrintTo(const RefusedFont& c, std::ostream* out) {
    *out << c.name;
}

TEST_P(RefusedFonts, AreNotMade) {
    winplat::testing::ScopedDebugAsserts off(false);  // probes unsupported requests
    winplat::testing::DebugCapture capture;
    const RefusedFont& c = GetParam();
    EXPECT_EQ(CreateFontIndirectA(&c.font), nullptr);
    EXPECT_TRUE(capture.contains(c.why)) << capture.text();
}

INSTANTIATE_TEST_SUITE_P(Cases, RefusedFonts, ::testing::ValuesIn(kRefusedFonts), [](const auto& info) {
    std::string name;
    for (const char* p = info.param.name; *p; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
});

// The edges of what is accepted, next to the refused values above.
TEST(Fonts, TheLimitsThemselvesAreAccepted) {
    for (LONG height : {16384, -16384}) {
        HFONT font = texttest::makeFont(logFont(height));
        EXPECT_NE(font, nullptr) << height;
        DeleteObject(font);
    }
    LOGFONTA longest = logFont(-20);
    std::memset(longest.lfFaceName, 'A', LF_FACESIZE - 1);
    HFONT font = CreateFontIndirectA(&longest);
    EXPECT_NE(font, nullptr);
    DeleteObject(font);
    const std::string tooLong(LF_FACESIZE, 'A');
    EXPECT_EQ(CreateFontA(-20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, tooLong.c_str()), nullptr);
    EXPECT_NE(font = CreateFontA(-20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, tooLong.substr(1).c_str()),
              nullptr);
    DeleteObject(font);
}

TEST_F(FontDc, UnsupportedQuestionsAreRefused) {
    winplat::testing::ScopedDebugAsserts off(false);  // probes unsupported requests
    SelectedFont font(dc_, logFont(-20));
    int widths[2] = {};
    EXPECT_TRUE(GetCharWidthA(dc_, 254, 255, widths));
    EXPECT_FALSE(GetCharWidthA(dc_, 255, 256, widths)) << "single-byte fonts end at 255";
    EXPECT_FALSE(GetCharWidthA(dc_, 'b', 'a', widths));
    ABC abc[2];
    EXPECT_FALSE(GetCharABCWidthsA(dc_, 255, 256, abc));
    EXPECT_FALSE(SetTextJustification(dc_, 5, -1));
    EXPECT_EQ(SetTextAlign(dc_, TA_UPDATECP | TA_CENTER), UINT{GDI_ERROR});
    EXPECT_EQ(SetTextAlign(dc_, TA_UPDATECP | TA_RIGHT), UINT{GDI_ERROR});
    EXPECT_EQ(SetTextAlign(dc_, 4), UINT{GDI_ERROR});
    EXPECT_EQ(SetTextAlign(dc_, 16), UINT{GDI_ERROR});
    EXPECT_EQ(GetTextAlign(dc_), UINT{TA_TOP | TA_LEFT}) << "refusals change nothing";
    EXPECT_EQ(SetTextAlign(dc_, TA_BASELINE | TA_CENTER), UINT{TA_TOP | TA_LEFT});
    EXPECT_EQ(SetTextAlign(dc_, TA_UPDATECP), UINT{TA_BASELINE | TA_CENTER});
    const RECT r{0, 0, 10, 10};
    EXPECT_FALSE(ExtTextOutA(dc_, 0, 0, 0x10 /* ETO_GLYPH_INDEX */, &r, "a", 1, nullptr));
    EXPECT_FALSE(ExtTextOutA(dc_, 0, 0, 0x80 /* ETO_RTLREADING */, &r, "a", 1, nullptr));
}

}  // namespace
